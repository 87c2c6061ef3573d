// What a new user meets first, on a screen of 1280x900: where the windows open, files named on the command
// line, list text under a dark desktop theme, and the built-in simulated unit's memory.

#include "apptestsupport.h"
#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/filedoc.h"
#include "app/imagedoc.h"
#include "app/imageframe.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/resource.h"
#include "platform/qtsettings.h"
#include "model/appstate.h"
#include "model/filedocument.h"
#include "sim/demopatches.h"
#include "sim/port/simport.h"

#include <QHeaderView>
#include <QMdiArea>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString Corpus(const char* name) { return QStringLiteral(QZ_CORPUS_DIR "/") + QString::fromLatin1(name); }

std::vector<CFileDoc*> Libraries(CApp& app) { return app.GetLibraries(); }

QString UnitName(CSimUnit& unit, int number) {
  QZML::CPatch patch;
  unit.GetUserPatch(number, patch);
  return QString::fromStdString(patch.GetName()).trimmed();
}

} // namespace

class CFirstStartTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void firstStartFillsMostOfTheScreenAndShowsTwentyRows();
  void storedPositionsWinOnceSaved();
  void commandLineFilesOpenEachAndAFailureLeavesTheOthers();
  void listTextIsReadableUnderADarkPalette();
  void simulatedUnitStartsWithDemoPatchesAndKeepsWhatWasWritten();
};

void CFirstStartTest::firstStartFillsMostOfTheScreenAndShowsTwentyRows() {
  CTestUi ui;
  CStartedApp app;
  CMainFrame* frame = app->GetMainFrame();
  const QRect available = frame->screen()->availableGeometry();
  QCOMPARE(available.size(), QSize(1280, 900));
  // About three quarters of the area, centred.
  QCOMPARE(QRect(frame->pos(), frame->size()), CMainFrame::FirstStartRect(available));
  const double share = double(frame->width()) * frame->height() / (1280.0 * 900.0);
  QVERIFY2(share > 0.7 && share < 0.8, qPrintable(QString::number(share)));

  // The Main window stands at the top left and fills the area's height (less the strip of minimised
  // windows), so the list shows at least twenty of the unit's patches.
  CImageView* view = app->GetMainView();
  QMdiSubWindow* main = view->GetParentFrame();
  const QRect area = frame->GetMdiArea()->viewport()->rect();
  QCOMPARE(main->geometry().topLeft(), QPoint(0, 0));
  QCOMPARE(main->geometry().bottom(), area.bottom() - GP::CMDIChildWndEx::MinimizedHeight(main));
  QVERIFY2(view->GetList()->GetCountPerPage() >= 20, qPrintable(QString::number(view->GetList()->GetCountPerPage())));
  // Every column in view, as the area has the room.
  QVERIFY(view->GetList()->horizontalHeader()->length() <= view->GetList()->viewport()->width());
  QVERIFY(main->geometry().right() <= area.right());
  // A library opened now comes in front of it, within the area.
  CFileDoc* library = app->NewLibraryWith(NamedPatches(3));
  const QRect libraryRect = ViewOf(library)->GetParentFrame()->geometry();
  QVERIFY(area.contains(libraryRect));
}

void CFirstStartTest::storedPositionsWinOnceSaved() {
  {
    CTestUi ui;
    CStartedApp app;
    CMainFrame* frame = app->GetMainFrame();
    frame->move(40, 50);
    frame->resize(900, 700);
    QTRY_COMPARE(frame->pos(), QPoint(40, 50));
    QMdiSubWindow* main = app->GetMainView()->GetParentFrame();
    main->setGeometry(20, 10, 500, 300);
    app->GetMainFrame()->GetMdiArea()->setActiveSubWindow(main);
    frame->GetSavePositionAction()->trigger();
  }
  CTestUi ui;
  CStartedApp app;
  CMainFrame* frame = app->GetMainFrame();
  QCOMPARE(frame->size(), QSize(900, 700));
  QCOMPARE(frame->pos(), QPoint(40, 50));
  RunEventLoop(50);
  QCOMPARE(app->GetMainView()->GetParentFrame()->geometry(), QRect(20, 10, 500, 300));
}

void CFirstStartTest::commandLineFilesOpenEachAndAFailureLeavesTheOthers() {
  // Every argument that is no option names a file.
  CAppOptions parsed;
  QString error;
  QVERIFY(ParseCommandLine({QStringLiteral("a.qzl"), QStringLiteral("--simulator"), QStringLiteral("b.zkl")}, parsed,
                           error));
  QCOMPARE(parsed.files, QStringList({QStringLiteral("a.qzl"), QStringLiteral("b.zkl")}));
  QVERIFY(parsed.simulator);

  {
    // One that fails is said; the others open all the same.
    CTestUi ui;
    CAppOptions options = TestOptions();
    options.files = {Corpus("zkl/valid/three-patches.zkl"), Corpus("no-such-file.qzl"),
                     Corpus("qzl/valid_qzmax_3.qzl")};
    CStartedApp app(options);
    QVERIFY(app.Started());
    const std::vector<CFileDoc*> libraries = Libraries(app.App());
    QCOMPARE(libraries.size(), size_t(2));
    QCOMPARE(libraries[0]->GetPatches().size(), size_t(3)); // in the order given
    QCOMPARE(libraries[1]->GetTitle(), QStringLiteral("valid_qzmax_3.qzl"));
    QCOMPARE(ui.m_texts, QStringList{QStringLiteral("This file could not be loaded.")});
  }
  {
    // A path with a blank that arrived in two pieces is the one file.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("live set.qzl"));
    QVERIFY(SaveLibraryFile(path, NamedPatches(2)));
    CTestUi ui;
    CAppOptions options = TestOptions();
    options.files = {dir.filePath(QStringLiteral("live")), QStringLiteral("set.qzl")};
    CStartedApp app(options);
    QVERIFY(app.Started());
    QCOMPARE(Libraries(app.App()).size(), size_t(1));
    QCOMPARE(Libraries(app.App())[0]->GetTitle(), QStringLiteral("live set.qzl"));
  }
}

void CFirstStartTest::listTextIsReadableUnderADarkPalette() {
  const QPalette light = QApplication::palette();
  const QPalette dark = DarkPalette();
  QApplication::setPalette(dark);
  {
    CTestUi ui;
    CStartedApp app;
    CFileDoc* library = app->NewLibraryWith(NamedPatches(3));
    // The stored colour is the default: the lists take the palette's text colour, not black.
    QCOMPARE(app->GetListFont().GetColorRef(), quint32(0));
    for (CListFormView* view : {static_cast<CListFormView*>(app->GetMainView()),
                                static_cast<CListFormView*>(ViewOf(library))}) {
      CPatchListCtrl* list = view->GetList();
      QCOMPARE(list->GetTextColor(), dark.color(QPalette::Text));
      QVERIFY(list->GetTextColor() != list->GetBkColor());
      QCOMPARE(view->GetListArea()->palette().color(QPalette::Text), dark.color(QPalette::Text));
    }

    // A stored dark blue is unreadable on the dark background and gives way; red stays what it is.
    app->GetListFont().SetColorRef(0x800000);
    app->NotifyFontChanged();
    QCOMPARE(ViewOf(library)->GetList()->GetTextColor(), dark.color(QPalette::Text));
    app->GetListFont().SetColorRef(0x0000FF);
    app->NotifyFontChanged();
    QCOMPARE(ViewOf(library)->GetList()->GetTextColor(), QColor(Qt::red));

    // The desktop turns light again: a default colour follows it at once.
    app->GetListFont().SetColorRef(0);
    app->NotifyFontChanged();
    QApplication::setPalette(light);
    RunEventLoop(50);
    QCOMPARE(ViewOf(library)->GetList()->GetTextColor(), light.color(QPalette::Text));
  }
  // Yellow on white is no better than dark blue on black.
  QCOMPARE(CListFormView::ListTextColor(0x00FFFF, Qt::white, Qt::black), QColor(Qt::black));
  QCOMPARE(CListFormView::ListTextColor(0x008000, Qt::white, Qt::black), QColor(0, 128, 0));
}

void CFirstStartTest::simulatedUnitStartsWithDemoPatchesAndKeepsWhatWasWritten() {
  const QString memory = CAppMidi::SimulatorMemoryPath(QZML::MODEL_QZMAX);
  QVERIFY(!QFile::exists(memory));
  {
    CTestUi ui;
    CDialogAnswers answers(ui);
    CStartedApp app(TestOptions(true));
    CFastTransfers fast;
    CSimUnit& unit = app->GetMidi()->Simulator()->Unit();
    // The demonstration patches in every one of the 200 user patches (their names are apart, as the
    // simulator's own test checks).
    QCOMPARE(Names(UnitPatches(app.App())), Names(DemoUserPatches(200)));

    // A Read Selected shows them; a renamed patch written back is the unit's.
    CImageView* view = app->GetMainView();
    view->GetList()->SelectRows(0, 2);
    app->GetMainFrame()->RouteCommand(ID_MIDI_READ_SELECTED);
    QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 0), UnitName(unit, 0));
    app->GetMainDocument()->GetPatches().Get(1)->SetName("My Own Sound");
    view->GetList()->SelectRows(1, 1);
    app->GetMainFrame()->RouteCommand(ID_MIDI_WRITE_SELECTED);
    QCOMPARE(UnitName(unit, 1), QStringLiteral("My Own Sound"));
  }
  // The next day it is still there.
  QVERIFY(QFile::exists(memory));
  CTestUi ui;
  CStartedApp app(TestOptions(true));
  CSimUnit& unit = app->GetMidi()->Simulator()->Unit();
  QCOMPARE(UnitName(unit, 1), QStringLiteral("My Own Sound"));
  QVERIFY(UnitName(unit, 2) != QStringLiteral("INIT PATCH"));

  // A run that writes nothing leaves the file as it is; a damaged file gives the demonstration patches.
  app.Exit();
  const QDateTime written = QFileInfo(memory).lastModified();
  {
    CTestUi again;
    CStartedApp unchanged(TestOptions(true));
  }
  QCOMPARE(QFileInfo(memory).lastModified(), written);
  QFile damaged(memory);
  QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
  damaged.write("QZMLibrarianFile0000QZM         and then nothing");
  damaged.close();
  CTestUi quiet;
  CStartedApp demo(TestOptions(true));
  QVERIFY(quiet.m_texts.isEmpty());
  QCOMPARE(UnitName(demo->GetMidi()->Simulator()->Unit(), 1),
           QString::fromStdString(DemoUserPatches(2).Get(1)->GetName()).trimmed());
}

// The offscreen screen of a 1280x900 desktop, as the first-start rules are stated for it.
int main(int argc, char** argv) {
  QTemporaryDir screens;
  const QString config = screens.filePath(QStringLiteral("screens.json"));
  QFile file(config);
  if (!file.open(QIODevice::WriteOnly))
    return 1;
  file.write(R"({"screens": [{"name": "Screen0", "x": 0, "y": 0, "width": 1280, "height": 900,
                              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  file.close();
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.toLocal8Bit());
  CGuiApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  CFirstStartTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "firststart_test.moc"
