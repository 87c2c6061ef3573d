// The data tools of the windows: Compare (two selected rows, or the current rows of two windows),
// Select Duplicates with its choice and its count in the status bar, Import and Export SysEx in the Main
// window, and the offer to run Find Unit when the unit does not answer.

#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/comparedlg.h"
#include "app/duplicatesdlg.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/midisetupdialog.h"
#include "app/profiledfiledialog.h"
#include "app/resource.h"
#include "app/textoutbox.h"
#include "midi/midienvironment.h"
#include "midi/patchstream.h"
#include "model/appstate.h"
#include "model/blocktable.h"
#include "model/convert.h"
#include "platform/qtsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class CDataToolsTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void compareTwoSelectedRows();
  void compareTheCurrentRowsOfTwoWindows();
  void compareOfTwoModelsOnlyConverted();
  void selectDuplicatesWithAndWithoutTheName();
  void sysExExportAndImportRoundTrip();
  void sysExImportOfMalformedFiles();
  void noAnswerOffersFindUnit();
};

namespace {

std::uint8_t& Fx1(QZML::CPatchArray& patches, int index, int offset) {
  return patches.Get(static_cast<std::size_t>(index))->GetBlock(QZML::BLOCK_FX1, 0).data[offset];
}

void Activate(CApp& app, CViewBase* view) {
  CMainFrame* frame = app.GetMainFrame();
  frame->GetMdiArea()->setActiveSubWindow(view->GetParentFrame());
  QVERIFY(RunEventLoopUntil([&]() { return frame->GetActiveChildFrame() == view->GetParentFrame(); }, 2000));
}

// The command's state as the menu shows it: it follows the selection, the current row and the active window
// by itself.
bool Enabled(CApp& app, int id) { return app.GetMainFrame()->GetCommandAction(id)->isEnabled(); }

// What the Compare dialogs showed; every other modal dialog is cancelled.
struct CShownComparison {
  explicit CShownComparison(CTestUi& ui) {
    ui.OnModal([this](QDialog& dialog) {
      auto* compare = qobject_cast<CCompareDialog*>(&dialog);
      if (!compare)
        return Reject(dialog);
      ++count;
      first = compare->FirstLabel()->text();
      second = compare->SecondLabel()->text();
      summary = compare->SummaryLabel()->text();
      text = compare->GetText();
      listShown = !compare->DifferenceList()->isHidden();
      return Reject(dialog);
    });
  }
  int count = 0;
  QString first, second, summary, text;
  bool listShown = false;
};

} // namespace

void CDataToolsTest::compareTwoSelectedRows() {
  CTestUi ui;
  CShownComparison shown(ui);
  CStartedApp app;
  QZML::CPatchArray patches = NamedPatches(4);
  Fx1(patches, 2, 12) = static_cast<std::uint8_t>(Fx1(patches, 0, 12) ^ 0x05);
  CFileDoc* doc = Library(app.App(), patches);
  CFileView* view = ViewOf(doc);
  Activate(app.App(), view);
  // No current rows anywhere: only two selected patch rows are something to compare.
  app->GetMainView()->GetList()->selectionModel()->clearCurrentIndex();
  view->GetList()->selectionModel()->clearCurrentIndex();
  view->GetList()->SelectRows(0, 0);
  QVERIFY(!Enabled(app.App(), ID_EDIT_COMPARE));

  view->GetList()->SetRowSelected(2, true);
  QVERIFY(Enabled(app.App(), ID_EDIT_COMPARE));
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_COMPARE));
  QCOMPARE(shown.count, 1);
  QVERIFY2(shown.first.endsWith(QStringLiteral("patch 1 \"P0\"")), qPrintable(shown.first));
  QVERIFY2(shown.second.endsWith(QStringLiteral("patch 3 \"P2\"")), qPrintable(shown.second));
  QCOMPARE(shown.summary, QStringLiteral("Differences: PATCH FX1, Name"));
  const int a = Fx1(patches, 0, 12);
  QCOMPARE(shown.text, QStringLiteral("PATCH FX1: 1 of 130 bytes differs\n  offset 12: %1 / %2\nName: \"P0\" / \"P2\"")
                           .arg(a)
                           .arg(a ^ 0x05));
  QVERIFY(shown.listShown);

  // A patch and End of Line are no pair; neither are three patches.
  view->GetList()->SelectRows(3, 4);
  QVERIFY(!Enabled(app.App(), ID_EDIT_COMPARE));
  view->GetList()->SelectRows(0, 2);
  QVERIFY(!Enabled(app.App(), ID_EDIT_COMPARE));
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_COMPARE));
  QCOMPARE(shown.count, 1);
}

void CDataToolsTest::compareTheCurrentRowsOfTwoWindows() {
  CTestUi ui;
  CShownComparison shown(ui);
  CStartedApp app;
  QZML::CPatchArray patches = NamedPatches(3, "L");
  CFileDoc* first = Library(app.App(), patches);
  CFileDoc* second = Library(app.App(), patches);
  CFileView* firstView = ViewOf(first);
  CFileView* secondView = ViewOf(second);
  firstView->GetList()->SetFocusRow(1);
  secondView->GetList()->SetFocusRow(1);
  Activate(app.App(), firstView);
  Activate(app.App(), secondView);
  QVERIFY(Enabled(app.App(), ID_EDIT_COMPARE));
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_COMPARE));
  QCOMPARE(shown.count, 1);
  // The active window's patch first, then that of the window active before it.
  QVERIFY2(shown.first.startsWith(Caption(second).trimmed()), qPrintable(shown.first));
  QVERIFY2(shown.second.startsWith(Caption(first).trimmed()), qPrintable(shown.second));
  QCOMPARE(shown.summary, QStringLiteral("The patches are identical."));
  QVERIFY(!shown.listShown);

  // The Main window, active last, is the other window now; its current row is a default patch.
  CImageView* main = app->GetMainView();
  main->GetList()->SetFocusRow(5);
  Activate(app.App(), main);
  Activate(app.App(), firstView);
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_COMPARE));
  QCOMPARE(shown.count, 2);
  QVERIFY2(shown.second.contains(QStringLiteral("patch 1- 6")), qPrintable(shown.second));
  QVERIFY(shown.text.contains(QStringLiteral("Name: \"L1\" / ")));
  // The other window's current row on End of Line: nothing to compare.
  Activate(app.App(), secondView);
  secondView->GetList()->SetFocusRow(3);
  Activate(app.App(), firstView);
  QVERIFY(!Enabled(app.App(), ID_EDIT_COMPARE));
}

void CDataToolsTest::compareOfTwoModelsOnlyConverted() {
  CTestUi ui;
  CShownComparison shown(ui);
  CStartedApp app;
  // A library kept as QZ-5 data beside one of the target model (QZ-MAX) holding the same patches brought
  // back from the QZ-5.
  QZML::CPatchArray qz5 = NamedPatches(2, "C");
  QZML::ConvertArray(qz5, QZML::ConversionTo(QZML::MODEL_QZ5));
  QZML::CPatchArray qzmax = qz5;
  QZML::ConvertArray(qzmax, QZML::ConversionTo(QZML::MODEL_QZMAX));
  CFileDoc* converted = Library(app.App(), qz5, QZML::MODEL_QZ5);
  CFileDoc* own = Library(app.App(), qzmax);
  ViewOf(converted)->GetList()->SetFocusRow(0);
  ViewOf(own)->GetList()->SetFocusRow(0);
  Activate(app.App(), ViewOf(converted));
  Activate(app.App(), ViewOf(own));
  ui.Answer(QMessageBox::No);
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_COMPARE));
  QCOMPARE(shown.count, 0); // never compared raw
  QCOMPARE(ui.m_texts, QStringList{QString::fromLatin1(TextOutQuestionMessage(QUESTION_CONVERT_TO_QZMAX))});
  ui.Answer(QMessageBox::Yes);
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_COMPARE));
  QCOMPARE(shown.count, 1);
  QCOMPARE(shown.summary, QStringLiteral("The patches are identical."));
  // The windows keep their own data.
  QCOMPARE(converted->GetData().m_current.Model(), QZML::MODEL_QZ5);
}

void CDataToolsTest::selectDuplicatesWithAndWithoutTheName() {
  CTestUi ui;
  CStartedApp app;
  // Rows 0, 3 and 5 the same sound (3 named like 0), rows 2 and 4 another one, rows 1 and 6 alone.
  QZML::CPatchArray patches = NamedPatches(7, "D");
  for (int i : {2, 4})
    Fx1(patches, i, 3) = static_cast<std::uint8_t>(Fx1(patches, i, 3) ^ 0x11);
  Fx1(patches, 1, 4) = static_cast<std::uint8_t>(Fx1(patches, 1, 4) ^ 0x22);
  Fx1(patches, 6, 5) = static_cast<std::uint8_t>(Fx1(patches, 6, 5) ^ 0x33);
  patches.Get(3)->SetName("D0");
  patches.Get(5)->SetMemo(0, "other memo");
  CFileDoc* doc = Library(app.App(), patches);
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  Activate(app.App(), view);
  QVERIFY(Enabled(app.App(), ID_EDIT_SELECT_DUPLICATES));

  bool includeName = false;
  bool startedOff = false;
  ui.OnModal([&](QDialog& dialog) {
    auto& choice = static_cast<CSelectDuplicatesDlg&>(dialog);
    startedOff = !choice.NameCheckBox()->isChecked();
    choice.NameCheckBox()->setChecked(includeName);
    return Accept(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_EDIT_SELECT_DUPLICATES));
  QVERIFY(startedOff);
  QCOMPARE(list->GetSelectedIndices(), (std::vector<int>{3, 4, 5}));
  QCOMPARE(app->GetMainFrame()->statusBar()->currentMessage(), QStringLiteral("3 duplicates selected."));

  includeName = true;
  view->OnEditSelectDuplicates();
  QCOMPARE(list->GetSelectedIndices(), (std::vector<int>{3}));
  QCOMPARE(app->GetMainFrame()->statusBar()->currentMessage(), QStringLiteral("1 duplicate selected."));

  // Sorted by name, last first: of each group the row shown first stays unselected.
  includeName = false;
  list->Sort(CParameterListCtrl::COLUMN_NAME);
  list->Sort(CParameterListCtrl::COLUMN_NAME);
  QVERIFY(!list->IsSortAscending());
  view->OnEditSelectDuplicates();
  std::vector<int> selected = list->GetSelectedIndices();
  std::sort(selected.begin(), selected.end());
  QCOMPARE(selected, (std::vector<int>{0, 2, 3}));

  // Cancel changes nothing; a list without duplicates says so. (Which patches are duplicates the core
  // test decides.)
  ui.OnModal(Reject);
  view->OnEditSelectDuplicates();
  QCOMPARE(list->GetSelectedCount(), 3);
  CFileDoc* plain = Library(app.App(), NamedPatches(3));
  Fx1(plain->GetPatches(), 1, 0) = static_cast<std::uint8_t>(Fx1(plain->GetPatches(), 1, 0) ^ 1);
  Fx1(plain->GetPatches(), 2, 0) = static_cast<std::uint8_t>(Fx1(plain->GetPatches(), 2, 0) ^ 2);
  ui.OnModal(Accept);
  ViewOf(plain)->GetList()->SelectRows(0, 0);
  ViewOf(plain)->OnEditSelectDuplicates();
  QCOMPARE(ViewOf(plain)->GetList()->GetSelectedCount(), 0);
  QCOMPARE(app->GetMainFrame()->statusBar()->currentMessage(), QStringLiteral("No duplicates found."));
}

void CDataToolsTest::sysExExportAndImportRoundTrip() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app;
  QTemporaryDir dir;
  QTemporaryDir other;
  CImageDoc* mainDoc = app->GetMainDocument();
  mainDoc->GetPatches() = NamedPatches(static_cast<int>(mainDoc->GetPatches().size()), "S");
  mainDoc->UpdateAllViews();
  CImageView* view = app->GetMainView();
  Activate(app.App(), view);
  QVERIFY(Enabled(app.App(), ID_FILE_IMPORT_SYSEX));
  QVERIFY(Enabled(app.App(), ID_FILE_EXPORT_SYSEX_ALL));
  QVERIFY(!Enabled(app.App(), ID_FILE_EXPORT_SYSEX_SELECTED));

  // Beside the SMF commands in the File menu.
  QStringList fileMenu;
  for (QAction* top : app->GetMainFrame()->menuBar()->actions())
    if (top->menu() && top->menu()->actions().contains(app->GetMainFrame()->GetCommandAction(ID_FILE_IMPORT_SMF)))
      for (QAction* item : top->menu()->actions())
        fileMenu << (item->menu() ? item->menu()->title() : item->text());
  const qsizetype smf = fileMenu.indexOf(QStringLiteral("&Import SMF..."));
  QCOMPARE(fileMenu.mid(smf, 4), (QStringList{QStringLiteral("&Import SMF..."), QStringLiteral("&Export SMF"),
                                              QStringLiteral("Import S&ysEx..."), QStringLiteral("Expor&t SysEx")}));

  // All patches: the data sets of the SMF export, back to back.
  const QString all = dir.filePath(QStringLiteral("all.syx"));
  answers.File(all);
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_FILE_EXPORT_SYSEX_ALL));
  QFile syx(all);
  QVERIFY(syx.open(QIODevice::ReadOnly));
  const QByteArray bytes = syx.readAll();
  QVERIFY(bytes.size() > 200 * 800);
  QCOMPARE(bytes.front(), char(0xF0));
  QCOMPARE(bytes.back(), char(0xF7));

  mainDoc->GetPatches() = NamedPatches(static_cast<int>(mainDoc->GetPatches().size()), "X");
  answers.File(all);
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_FILE_IMPORT_SYSEX));
  QCOMPARE(Names(mainDoc->GetPatches()), Names(NamedPatches(200, "S")));
  QCOMPARE(answers.m_kinds, QList<int>({CONFIRM_IMPORT_SYSEX}));
  QVERIFY(ui.m_texts.isEmpty());
  view->OnCommand(ID_EDIT_UNDO); // the import can be undone
  QCOMPARE(Name(mainDoc->GetPatches(), 150), QStringLiteral("X150"));

  // Selected rows: only they are in the file, at their own places.
  const QString some = other.filePath(QStringLiteral("some.syx"));
  view->GetList()->SelectRows(7, 8);
  QVERIFY(Enabled(app.App(), ID_FILE_EXPORT_SYSEX_SELECTED));
  answers.File(some);
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_FILE_EXPORT_SYSEX_SELECTED));
  QCOMPARE(QFile(some).size() * 100, bytes.size());
  mainDoc->GetPatches() = NamedPatches(200, "Y");
  answers.File(some);
  view->OnImportSysEx();
  QCOMPARE(Names(mainDoc->GetPatches()).mid(6, 4), (QStringList{"Y6", "X7", "X8", "Y9"}));

  // The SysEx dialogs remember their own folder, apart from the SMF dialogs'.
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("SYX"), QStringLiteral("InitialDirectory")), other.path());
  QVERIFY(QZP::CQtSettings().String(QStringLiteral("SMF"), QStringLiteral("InitialDirectory")).isEmpty());
  QCOMPARE(answers.m_folders.last(), other.path());

  // A library window has no SysEx commands.
  CFileDoc* library = Library(app.App(), NamedPatches(2));
  Activate(app.App(), ViewOf(library));
  for (int id : {ID_FILE_IMPORT_SYSEX, ID_FILE_EXPORT_SYSEX_ALL, ID_FILE_EXPORT_SYSEX_SELECTED})
    QVERIFY(!Enabled(app.App(), id));
}

void CDataToolsTest::sysExImportOfMalformedFiles() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app;
  QTemporaryDir dir;
  CImageDoc* mainDoc = app->GetMainDocument();
  mainDoc->GetPatches() = NamedPatches(200, "S");
  CImageView* view = app->GetMainView();
  const QString path = dir.filePath(QStringLiteral("two.syx"));
  view->GetList()->SelectRows(0, 1);
  answers.File(path);
  view->OnExportSysEx(false);
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadOnly));
  const QByteArray whole = file.readAll();
  file.close();
  auto write = [&path](const QByteArray& bytes) {
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(bytes);
  };

  // The last message cut short, and stray bytes in front: the complete patch comes in, the two pieces
  // are counted.
  const int firstPatch = static_cast<int>(whole.size() / 2);
  const int cut = static_cast<int>(whole.indexOf('\xF7', firstPatch)) - firstPatch; // without its F7
  write(QByteArray("\x01\x02", 2) + whole.left(firstPatch) + whole.mid(firstPatch, cut));
  mainDoc->GetPatches() = NamedPatches(200, "X");
  answers.File(path);
  view->OnImportSysEx();
  QCOMPARE(Name(mainDoc->GetPatches(), 0), QStringLiteral("S0"));
  QCOMPARE(ui.m_texts, QStringList{QStringLiteral("2 malformed messages were skipped.")});

  // Nothing usable: the message says what the file holds, with the count.
  ui.m_texts.clear();
  write(QByteArray("\xF0\x43\x10", 3) + QByteArray(10, '\x7F'));
  answers.File(path);
  view->OnImportSysEx();
  QCOMPARE(ui.m_texts, QStringList{QStringLiteral(
                           "This file holds no patches for the QZ-MAX or the QZ-5.\n\n1 malformed message was skipped.")});
  QCOMPARE(Name(mainDoc->GetPatches(), 1), QStringLiteral("X1"));
}

void CDataToolsTest::noAnswerOffersFindUnit() {
  CTestUi ui;
  CStartedApp app(TestOptions(true));
  // The built-in unit is a QZ-MAX; while the program expects a QZ-5 it does not answer.
  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZ5);
  ui.m_texts.clear();
  QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();
  const QString noAnswer = CTextOutBox::ErrorText(TEXTOUT_ERR_NO_ANSWER);

  // No: the message is all.
  ui.Answer(QMessageBox::No);
  QTimer::singleShot(0, [&]() { DeviceReader()->ReadPatches(QZML::AREA_USER, {0}, &patches); });
  QVERIFY(RunEventLoopUntil([&]() { return !ui.m_texts.isEmpty(); }, 30000));
  QCOMPARE(ui.m_texts, QStringList{noAnswer + QStringLiteral("\n\n") + QString::fromLatin1(CApp::kFindUnitQuestion)});
  QCOMPARE(ui.m_buttons.last(), QMessageBox::Yes | QMessageBox::No);
  QCOMPARE(ui.m_modalCount, 0);

  // Yes: Set Up MIDI Devices opens with what Find Unit found; OK takes it, switching the target model.
  ui.m_texts.clear();
  QString status;
  QString inPort;
  ui.OnModal([&](QDialog& dialog) {
    auto& setup = static_cast<CMidiSetupDialog&>(dialog);
    status = setup.FindUnitStatus()->text();
    inPort = setup.Combo(IDC_MIDI_IN_DEVICE)->currentText();
    return Accept(dialog);
  });
  ui.Answer(QMessageBox::Yes); // run Find Unit
  ui.Answer(QMessageBox::Yes); // use the QZ-MAX that answered
  ui.Answer(QMessageBox::No);  // the Main window is not converted
  QTimer::singleShot(0, [&]() { DeviceReader()->ReadPatches(QZML::AREA_USER, {0}, &patches); });
  QVERIFY(RunEventLoopUntil([&]() { return ui.m_modalCount > 0; }, 30000));
  QCOMPARE(ui.m_texts.size(), 3);
  QVERIFY(ui.m_texts[1].contains(QStringLiteral("the target model will be switched to QZ-MAX")));
  QCOMPARE(ui.m_texts[2], QString::fromLatin1(TextOutQuestionMessage(QUESTION_CONVERT_TO_QZMAX)));
  QCOMPARE(status, QStringLiteral("Found: QZ-MAX, device ID 17, on QZ-MAX Simulator / QZ-MAX Simulator. "
                                  "OK switches the target model to QZ-MAX."));
  QCOMPARE(inPort, QStringLiteral("QZ-MAX Simulator"));
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZMAX);
  // Now the unit answers.
  QVERIFY(DeviceReader()->ReadPatches(QZML::AREA_USER, {0}, &patches));
}

QZ_APP_TEST_MAIN(CDataToolsTest)
#include "datatools_test.moc"
