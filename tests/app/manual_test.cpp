// The user manual: it names every command of the menus and of qzml, its links and pictures lead
// somewhere, F1 shows it in the help window, and it is found beside the program or in the installation.

#include "apptestsupport.h"
#include "windowtestsupport.h"

#include "app/helpwindow.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/programfiles.h"
#include "app/resource.h"
#include "cli/cliargs.h"
#include "model/appstate.h"
#include "platform/qtsettings.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString kFirstPage = QStringLiteral("QZ-MAXLibrarianManual_E.htm");

QString ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList ManualPages() {
  return QDir(QStringLiteral(QZ_MANUAL_DIR)).entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
}

// All the manual's words as a reader sees them: tags gone, entities decoded, white space made single.
QString ManualText() {
  QString text;
  for (const QString& page : ManualPages()) {
    QTextDocument document;
    document.setHtml(ReadFile(QDir(QStringLiteral(QZ_MANUAL_DIR)).filePath(page)));
    text += document.toPlainText() + QLatin1Char('\n');
  }
  return text.simplified();
}

// A menu text as the manual writes it: no mnemonic marks, no "...".
QString Plain(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
  text.remove(QStringLiteral("..."));
  return text.section(QLatin1Char('\t'), 0, 0).trimmed();
}

void CollectMenuTexts(const QMenu* menu, const QMenu* skip, QStringList& texts) {
  for (QAction* action : menu->actions()) {
    if (action->isSeparator())
      continue;
    if (QMenu* sub = action->menu()) {
      texts.append(Plain(sub->title()));
      if (sub != skip) // the list of open windows changes with them
        CollectMenuTexts(sub, skip, texts);
      continue;
    }
    const QString text = Plain(action->text());
    if (!text.isEmpty())
      texts.append(text);
  }
}

QString Missing(const QStringList& wanted, const QString& text) {
  QStringList missing;
  for (const QString& item : wanted)
    if (!text.contains(item))
      missing.append(item);
  missing.removeDuplicates();
  return missing.join(QStringLiteral(", "));
}

} // namespace

class CManualTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(m_settings.IsValid()); }
  void init() { CTestSettings::Clear(); }

  void everyMenuCommandIsInTheManual();
  void everyQzmlCommandAndOptionIsInTheManual();
  void everyLinkAndPictureOfTheManualResolves();
  void f1OpensTheManualInTheHelpWindow();
  void theHelpWindowFollowsLinksGoesBackAndFinds();
  void aMissingManualIsSaid();
  void programFilesAreFoundBesideTheProgramOrInTheInstallation();
  void theSampleFilesImportFromTheFirstSmfFolder();
  void theInstalledManualOpensInTheHelpWindow();

private:
  CTestSettings m_settings;
};

void CManualTest::everyMenuCommandIsInTheManual() {
  CStartedApp app;
  QVERIFY(app.Started());
  CMainFrame* frame = app->GetMainFrame();
  QStringList texts;
  // Both menu bars: the frame's own and the one of the Main and library windows.
  for (QAction* action : frame->menuBar()->actions())
    if (QMenu* menu = action->menu()) {
      texts.append(Plain(menu->title()));
      CollectMenuTexts(menu, frame->GetWindowListMenu(), texts);
    }
  QVERIFY(texts.contains(QStringLiteral("Read Selected Data")));
  QVERIFY(texts.contains(QStringLiteral("QZ-MAX Librarian Manual")));
  QVERIFY(texts.size() > 40);
  const QString missing = Missing(texts, ManualText());
  QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the manual: ") + missing));
}

void CManualTest::everyQzmlCommandAndOptionIsInTheManual() {
  QStringList wanted = {QStringLiteral("--model"), QStringLiteral("--device-id"), QStringLiteral("--yes"),
                        QStringLiteral("--midi-api"), QStringLiteral("--help"),
                        QStringLiteral("--version")};
  for (const QZCli::CCommandSpec& command : QZCli::Commands()) {
    wanted.append(QStringLiteral("qzml ") + QString::fromLatin1(command.name));
    for (const QZCli::COptionSpec& option : command.options)
      wanted.append(QString::fromLatin1(option.name));
  }
  const QString qzml = ReadFile(QStringLiteral(QZ_MANUAL_DIR "/qzml.htm"));
  QTextDocument page;
  page.setHtml(qzml);
  const QString missing = Missing(wanted, page.toPlainText().simplified());
  QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in qzml.htm: ") + missing));
}

void CManualTest::everyLinkAndPictureOfTheManualResolves() {
  const QDir manual(QStringLiteral(QZ_MANUAL_DIR));
  const QStringList pages = ManualPages();
  QVERIFY(pages.contains(kFirstPage));
  const QRegularExpression reference(QStringLiteral("(href|src)=\"([^\"]*)\""));
  const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
  QStringList broken;
  QSet<QString> pictures;
  QSet<QString> reached;
  for (const QString& page : pages) {
    const QString html = ReadFile(manual.filePath(page));
    if (!title.match(html).hasMatch())
      broken.append(page + QStringLiteral(": no title"));
    for (auto it = reference.globalMatch(html); it.hasNext();) {
      const QRegularExpressionMatch match = it.next();
      const QString target = match.captured(2);
      const QUrl url(target);
      if (!url.scheme().isEmpty()) {
        // The manual is read where there may be no network.
        broken.append(page + QStringLiteral(": leaves the manual: ") + target);
        continue;
      }
      const QString file = url.path().isEmpty() ? page : url.path();
      const QString path = QDir::cleanPath(manual.filePath(file));
      if (!QFileInfo(path).isFile()) {
        broken.append(page + QStringLiteral(": ") + target);
        continue;
      }
      if (match.captured(1) == QStringLiteral("src"))
        pictures.insert(QFileInfo(path).canonicalFilePath());
      else
        reached.insert(QFileInfo(path).fileName());
      if (url.hasFragment()) {
        const QString anchors = ReadFile(path);
        const QString fragment = url.fragment();
        if (!anchors.contains(QStringLiteral("name=\"%1\"").arg(fragment)) &&
            !anchors.contains(QStringLiteral("id=\"%1\"").arg(fragment)))
          broken.append(page + QStringLiteral(": ") + target);
      }
    }
  }
  QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("\n"))));
  // Every page can be reached, and no picture lies there unused (a left-over of an older manual).
  for (const QString& page : pages)
    QVERIFY2(page == kFirstPage || reached.contains(page), qPrintable(page));
  QDirIterator images(manual.filePath(QStringLiteral("images")), {QStringLiteral("*.png")}, QDir::Files);
  int count = 0;
  while (images.hasNext()) {
    const QString image = QFileInfo(images.next()).canonicalFilePath();
    QVERIFY2(pictures.contains(image), qPrintable(QStringLiteral("unused: ") + image));
    ++count;
  }
  QVERIFY(count >= 5);
}

void CManualTest::f1OpensTheManualInTheHelpWindow() {
  CTestUi ui;
  CStartedApp app;
  QVERIFY(app.Started());
  CMainFrame* frame = app->GetMainFrame();
  // The manual lies beside the program in the build tree, as it does beside the tests.
  QCOMPARE(app->GetManualPath(), QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kManualPath)));
  QVERIFY(QFileInfo(app->GetManualPath()).isFile());
  QCOMPARE(frame->GetCommandAction(ID_HELP_MANUAL)->shortcut(), QKeySequence(Qt::Key_F1));
  frame->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(frame));
  QTest::keyClick(frame, Qt::Key_F1);
  CHelpWindow* help = CHelpWindow::Instance();
  QVERIFY(help);
  QVERIFY(help->isVisible());
  QVERIFY(ui.m_texts.isEmpty());
  QCOMPARE(help->windowTitle(), QStringLiteral("QZ-MAX Librarian Manual"));
  QCOMPARE(help->GetBrowser()->documentTitle(), QStringLiteral("QZ-MAX Librarian Manual"));
  QCOMPARE(help->GetBrowser()->source(), QUrl::fromLocalFile(app->GetManualPath()));
  // The contents: one entry per chapter, each with its sections.
  QTreeWidget* contents = help->GetContents();
  QCOMPARE(contents->topLevelItemCount(), 8);
  QCOMPARE(contents->topLevelItem(0)->text(0), QStringLiteral("Getting started"));
  QVERIFY(contents->topLevelItem(0)->childCount() >= 5);
  // F1 again brings the same window forward.
  QTest::keyClick(frame, Qt::Key_F1);
  QCOMPARE(CHelpWindow::Instance(), help);
  help->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!CHelpWindow::Instance());
}

void CManualTest::theHelpWindowFollowsLinksGoesBackAndFinds() {
  CTestUi ui;
  CStartedApp app;
  QVERIFY(app.Started());
  QVERIFY(CHelpWindow::Open(app->GetManualPath(), app->GetMainFrame()));
  CHelpWindow* help = CHelpWindow::Instance();
  QTreeWidget* contents = help->GetContents();
  QTreeWidgetItem* library = nullptr;
  for (int i = 0; i < contents->topLevelItemCount(); ++i)
    if (contents->topLevelItem(i)->text(0) == QStringLiteral("Library windows"))
      library = contents->topLevelItem(i);
  QVERIFY(library);
  emit contents->itemActivated(library, 0);
  QCOMPARE(help->windowTitle(), QStringLiteral("Library windows - QZ-MAX Librarian Manual"));
  QCOMPARE(contents->currentItem(), library);
  QVERIFY(help->GetBackAction()->isEnabled());

  // Find goes round the end of the page and says when the page lacks the text.
  QVERIFY(help->Find(QStringLiteral("End of Line")));
  QCOMPARE(help->GetBrowser()->textCursor().selectedText(), QStringLiteral("End of Line"));
  const int first = help->GetBrowser()->textCursor().position();
  QVERIFY(help->Find(QStringLiteral("End of Line")));
  QVERIFY(help->GetBrowser()->textCursor().position() > first);
  QVERIFY(help->Find(QStringLiteral("End of Line"), true));
  QVERIFY(!help->Find(QStringLiteral("no such words anywhere")));

  help->GetBackAction()->trigger();
  QCOMPARE(help->windowTitle(), QStringLiteral("QZ-MAX Librarian Manual"));
  QVERIFY(help->GetForwardAction()->isEnabled());
  help->GetForwardAction()->trigger();
  QCOMPARE(help->windowTitle(), QStringLiteral("Library windows - QZ-MAX Librarian Manual"));
  // A section of another page: its page opens, scrolled to it.
  QTreeWidgetItem* undo = nullptr;
  for (int i = 0; i < library->childCount(); ++i)
    if (library->child(i)->text(0) == QStringLiteral("Undo"))
      undo = library->child(i);
  QVERIFY(undo);
  help->ShowFirstPage();
  emit contents->itemActivated(undo, 0);
  QCOMPARE(help->GetBrowser()->source().fragment(), QStringLiteral("undo"));
  QCOMPARE(contents->currentItem(), undo);
  help->close();
  QVERIFY(ui.m_texts.isEmpty());
}

void CManualTest::aMissingManualIsSaid() {
  CTestUi ui;
  QTemporaryDir empty;
  const QString path = QDir(empty.path()).filePath(kFirstPage);
  QVERIFY(!CHelpWindow::Open(path, nullptr));
  QVERIFY(!CHelpWindow::Instance());
  QCOMPARE(ui.m_texts.size(), 1);
  QVERIFY(ui.m_texts.front().startsWith(QStringLiteral("The manual was not found.")));
  QVERIFY(ui.m_texts.front().contains(QDir::toNativeSeparators(path)));
}

void CManualTest::programFilesAreFoundBesideTheProgramOrInTheInstallation() {
  QTemporaryDir prefix;
  const QDir root(prefix.path());
  const QString bin = root.filePath(QStringLiteral("bin"));
  QVERIFY(QDir().mkpath(bin));
  const QString beside = QDir(bin).filePath(QString::fromLatin1(kManualPath));
  const QString installed = root.filePath(QStringLiteral("share/qzmax-librarian/manual/") + kFirstPage);
  QCOMPARE(ProgramFileCandidates(CProgramFile::Manual, bin), QStringList({beside, installed}));
  // Nothing there: the place beside the program, which a message can name.
  QCOMPARE(ProgramFilePath(CProgramFile::Manual, bin), beside);
  auto touch = [](const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
  };
  QVERIFY(touch(installed));
  QCOMPARE(ProgramFilePath(CProgramFile::Manual, bin), installed);
  QVERIFY(touch(beside));
  QCOMPARE(ProgramFilePath(CProgramFile::Manual, bin), beside);
  // The sample folder the same way.
  QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("share/qzmax-librarian/SampleSMF"))));
  QCOMPARE(ProgramFilePath(CProgramFile::SampleSmf, bin), root.filePath(QStringLiteral("share/qzmax-librarian/SampleSMF")));
}

void CManualTest::theSampleFilesImportFromTheFirstSmfFolder() {
  const QString folder = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SampleSMF"));
  const struct {
    int model;
    const char* file;
    int rows;
  } samples[] = {{QZML::MODEL_QZMAX, "QZ-MAX Sample Patches.mid", 200}, {QZML::MODEL_QZ5, "QZ-5 Sample Patches.mid", 140}};
  for (const auto& sample : samples) {
    CTestSettings::Clear();
    QZP::CQtSettings().SetInt(QStringLiteral("Option"), QStringLiteral("TargetModel"), sample.model);
    CTestUi ui;
    CDialogAnswers answers(ui);
    // The simulated unit's device ID, 17, is the one the samples carry.
    CStartedApp app(TestOptions(true));
    QVERIFY(app.Started());
    const QString path = QDir(folder).filePath(QString::fromLatin1(sample.file));
    QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    answers.File(path);
    app->GetMainView()->OnCommand(ID_FILE_IMPORT_SMF);
    QCOMPARE(answers.m_folders.value(0), folder);
    const QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();
    QCOMPARE(int(patches.size()), sample.rows);
    for (int i = 0; i < 5; ++i)
      QCOMPARE(Name(patches, i), QStringLiteral("Sample Patch %1").arg(i + 1));
    QCOMPARE(Name(patches, 5), QStringLiteral("INIT PATCH"));
    QVERIFY(ui.m_texts.isEmpty());
  }
  QZML::CAppState::Instance().SetTargetModelQuiet(QZML::MODEL_QZMAX);
}

void CManualTest::theInstalledManualOpensInTheHelpWindow() {
  // Run by the installation check with the folder of the installed program.
  const QString bin = qEnvironmentVariable("QZ_INSTALLED_BIN");
  if (bin.isEmpty())
    QSKIP("QZ_INSTALLED_BIN names no installed program");
  const QString manual = ProgramFilePath(CProgramFile::Manual, bin);
  QVERIFY2(QFileInfo(manual).isFile(), qPrintable(manual));
  QVERIFY(!manual.startsWith(QDir(bin).absolutePath() + QLatin1Char('/')));
  CTestUi ui;
  QVERIFY(CHelpWindow::Open(manual, nullptr));
  CHelpWindow* help = CHelpWindow::Instance();
  QCOMPARE(help->windowTitle(), QStringLiteral("QZ-MAX Librarian Manual"));
  QCOMPARE(help->GetContents()->topLevelItemCount(), 8);
  // The pictures are installed with the pages.
  QVERIFY(QFileInfo(QFileInfo(manual).dir().filePath(QStringLiteral("images/main-window.png"))).isFile());
  help->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!CHelpWindow::Instance());
}

QZ_APP_TEST_MAIN(CManualTest)
#include "manual_test.moc"
