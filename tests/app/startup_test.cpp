// Start-up, settings, the idle report of the pending error, the target model change, files from the
// command line and from a second start.

#include "windowtestsupport.h"

#include "app/filedoc.h"
#include "app/fileframe.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/resource.h"
#include "app/selecttargetdlg.h"
#include "app/textoutbox.h"
#include "midi/midienvironment.h"
#include "model/appstate.h"
#include "model/convert.h"
#include "platform/qtsettings.h"
#include "textout/textout.h"

#include <QMdiArea>
#include <QMimeData>
#include <QProcess>
#include <QRadioButton>
#include <QtTest>

namespace {

const QString kOption = QStringLiteral("Option");

QString Corpus(const char* name) { return QStringLiteral(QZ_CORPUS_DIR "/") + QString::fromLatin1(name); }

std::vector<CFileDoc*> Libraries(CApp& app) { return app.GetLibraries(); }


} // namespace

class CStartupTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void firstStartTakesTheDefaults();
  void storedQz5StartsInQz5WithoutQuestion();
  void aStoredNumberThatIsNoModelIsRefused();
  void settingsAreSavedAtExitAndLoadedBack();
  void noIdleReportWhileACommandPumpsEvents();
  void targetModelChangeWithYesConvertsEverything();
  void targetModelChangeWithNoOnlySwitches();
  void choosingTheCurrentModelAsksNothing();
  void commandLineImportsForeignFilesAndOpensLibraries();
  void droppedFilesOpenEachInTurn();
  void fontChangeReachesEveryList();
  void badCommandLineFileEndsTheStart();
  void secondStartHandsOverItsFiles();
};

void CStartupTest::firstStartTakesTheDefaults() {
  CTestUi ui;
  CStartedApp app;
  QVERIFY(app.Started());
  CMainFrame* frame = app->GetMainFrame();
  QVERIFY(frame->isVisible());
  QVERIFY(!frame->isMaximized()); // its place is the first-start test's
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZMAX);
  QCOMPARE(QZML::CAppState::Instance().GetGridSwitch(), 0);
  for (int i = 0; i < CONFIRM_KIND_COUNT; ++i)
    QCOMPARE(app->GetFlag(i), 0);
  QVERIFY(app->GetListFont().HasFont());
  QCOMPARE(app->GetListFont().GetColorRef(), quint32(0));

  // The Main window: 200 default patches, the full menu. (That it cannot close, and which commands it
  // has, the library window test checks.)
  CImageDoc* main = app->GetMainDocument();
  QVERIFY(main);
  QCOMPARE(main->GetPatches().size(), size_t(200));
  QCOMPARE(Name(main->GetPatches(), 199), QString::fromStdString(QZML::CPatch().GetName()).trimmed());
  QVERIFY(frame->IsChildMenuShown());
  QVERIFY(frame->windowTitle().startsWith(QStringLiteral("QZ-MAX Librarian")));

  // The environment: the message boxes in slot 0, the pending errors in slot 1, the unit's ports.
  CMidiEnvironment& environment = CMidiEnvironment::Instance();
  QCOMPARE(environment.GetTextOut(MIDI_TEXTOUT_MESSAGE_BOX), static_cast<CZelTextOut*>(app->GetTextOutBox()));
  QCOMPARE(environment.GetTextOut(MIDI_TEXTOUT_ERROR_BUFFER), static_cast<CZelTextOut*>(app->GetErrorBuffer()));
  QVERIFY(environment.GetProgress() != nullptr);
  QCOMPARE(environment.Inputs().size(), size_t(2));
  QCOMPARE(environment.Inputs()[0].m_name, std::string("QZMLibrarian"));
  QCOMPARE(environment.Inputs()[0].m_modelId, ModelIdBytes(QZML::MODEL_QZMAX));
  // Nothing stored, so nothing bound and no message.
  QVERIFY(!environment.IsSetupComplete());
  QVERIFY(ui.m_texts.isEmpty());

  // Every command's rule holds at idle: the app's commands are on.
  RunEventLoop(30);
  QVERIFY(frame->GetCommandAction(ID_SETUP_TARGET_MODEL)->isEnabled());
  QVERIFY(frame->GetCommandAction(ID_SETUP_GRID)->isEnabled());
  QVERIFY(frame->GetCommandAction(ID_FILE_NEW)->isEnabled());
}

void CStartupTest::storedQz5StartsInQz5WithoutQuestion() {
  QZP::CQtSettings().SetInt(kOption, QStringLiteral("TargetModel"), 1);
  CTestUi ui;
  CStartedApp app;
  QVERIFY(app.Started());
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZ5);
  QVERIFY(ui.m_texts.isEmpty());
  QCOMPARE(app->GetMainDocument()->GetPatches().size(), size_t(140));
  QCOMPARE(Caption(app->GetMainDocument()), QStringLiteral("QZ-5 : Main"));
  QCOMPARE(CMidiEnvironment::Instance().Outputs()[0].m_modelId, ModelIdBytes(QZML::MODEL_QZ5));
}

void CStartupTest::aStoredNumberThatIsNoModelIsRefused() {
  QZP::CQtSettings().SetInt(kOption, QStringLiteral("TargetModel"), 7);
  CTestUi ui;
  CStartedApp app;
  QVERIFY(app.Started());
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZMAX);
  QVERIFY(ui.m_texts.isEmpty());
  QCOMPARE(app->GetMainDocument()->GetPatches().size(), size_t(200));
}

void CStartupTest::settingsAreSavedAtExitAndLoadedBack() {
  GP::CFontEx::SLogFont saved;
  {
    CTestUi ui;
    CStartedApp app;
    QZML::CAppState::Instance().SetGridSwitch(1);
    app->SetFlag(CONFIRM_WRITE_TEMP_CLICK, 1);
    app->SetFlag(CONFIRM_IMPORT_SMF, 1);
    GP::CFontEx::SLogFont font = app->GetListFont().GetLogFont();
    font.height = -17;
    font.weight = 700;
    font.italic = 1;
    font.faceName = QStringLiteral("DejaVu Serif");
    app->GetListFont().CreateFontIndirect(font);
    app->GetListFont().SetColorRef(255);
    saved = app->GetListFont().GetLogFont();
  }
  QCOMPARE(QZP::CQtSettings().Int(kOption, QStringLiteral("GridSw")), 1);
  QCOMPARE(QZP::CQtSettings().Int(kOption, QStringLiteral("WriteTempClick")), 1);
  QCOMPARE(QZP::CQtSettings().Int(kOption, QStringLiteral("ReadUser"), -1), 0);
  QCOMPARE(QZP::CQtSettings().Int(kOption, QStringLiteral("TargetModel"), -1), 0);
  QCOMPARE(QZP::CQtSettings().Int(kOption, QStringLiteral("FontColor")), 255);
  QCOMPARE(QZP::CQtSettings().String(kOption, QStringLiteral("FontFaceName")), QStringLiteral("DejaVu Serif"));
  QCOMPARE(QZP::CQtSettings().String(kOption, QStringLiteral("FontAttribute")).split(QLatin1Char(',')).size(), 13);

  QZML::CAppState::Instance().SetGridSwitch(0);
  CTestUi ui;
  CStartedApp app;
  QCOMPARE(QZML::CAppState::Instance().GetGridSwitch(), 1);
  QCOMPARE(app->GetFlag(CONFIRM_WRITE_TEMP_CLICK), 1);
  QCOMPARE(app->GetFlag(CONFIRM_IMPORT_SMF), 1);
  QCOMPARE(app->GetFlag(CONFIRM_READ_USER), 0);
  QCOMPARE(app->GetListFont().GetLogFont().Numbers(), saved.Numbers());
  QCOMPARE(app->GetListFont().GetLogFont().faceName, saved.faceName);
  QCOMPARE(app->GetListFont().GetColorRef(), quint32(255));
}

void CStartupTest::noIdleReportWhileACommandPumpsEvents() {
  CTestUi ui;
  CStartedApp app;
  // A command that leaves a code and pumps events (as a transfer waiting for the unit does) sees no
  // message until it has returned to the event loop.
  int shownDuringCommand = -1;
  ui.Answer(QMessageBox::No);
  QTimer::singleShot(0, app.App().GetMainFrame(), [&]() {
    app->GetErrorBuffer()->Error(TEXTOUT_ERR_NO_ANSWER);
    for (int i = 0; i < 5; ++i)
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents, 5);
    shownDuringCommand = ui.m_texts.size();
  });
  QVERIFY(RunEventLoopUntil([&]() { return shownDuringCommand >= 0 && !ui.m_texts.isEmpty(); }, 2000));
  QCOMPARE(shownDuringCommand, 0);
  QCOMPARE(ui.m_texts.size(), 1);
}

void CStartupTest::targetModelChangeWithYesConvertsEverything() {
  CTestUi ui;
  CStartedApp app;
  QZML::CPatchArray patches;
  patches.Resize(3);
  CFileDoc* library = app->NewLibraryWith(patches);
  QVERIFY(library);
  library->SetModifiedFlag(false);
  QCOMPARE(Caption(library), QStringLiteral("QZ-MAX : Untitled1 "));
  std::uint8_t expected[QZML::kPatchImageSize];
  std::uint8_t before[QZML::kPatchImageSize];
  library->GetPatches().Get(0)->GetData(before);
  QZML::ConvertPatchToQZ5(before, expected);

  ui.Answer(QMessageBox::Yes);
  ui.OnModal([](QDialog& dialog) {
    auto& select = static_cast<CSelectTargetDlg&>(dialog);
    if (select.GetModel() != QZML::MODEL_QZMAX)
      return int(QDialog::Rejected); // opens on the current model
    select.Button(QZML::MODEL_QZ5)->setChecked(true);
    return Accept(dialog);
  });
  QVERIFY(app->GetMainFrame()->RouteCommand(ID_SETUP_TARGET_MODEL));

  QCOMPARE(ui.m_texts, QStringList{QStringLiteral("Are you sure you want to convert this QZ-MAX data to QZ-5 data?")});
  QCOMPARE(ui.m_buttons.value(0), QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZ5);
  QCOMPARE(app->GetMainDocument()->GetPatches().size(), size_t(140));
  QCOMPARE(Caption(app->GetMainDocument()), QStringLiteral("QZ-5 : Main"));
  QVERIFY(library->IsModified());
  QCOMPARE(Caption(library), QStringLiteral("QZ-5 : Untitled1 *"));
  std::uint8_t after[QZML::kPatchImageSize];
  library->GetPatches().Get(0)->GetData(after);
  QVERIFY(std::equal(after, after + sizeof after, expected));
  QCOMPARE(CMidiEnvironment::Instance().Inputs()[0].m_modelId, ModelIdBytes(QZML::MODEL_QZ5));
}

void CStartupTest::targetModelChangeWithNoOnlySwitches() {
  CTestUi ui;
  CStartedApp app;
  QZML::CPatchArray patches;
  patches.Resize(2);
  CFileDoc* library = app->NewLibraryWith(patches);
  library->SetModifiedFlag(false);
  std::uint8_t before[QZML::kPatchImageSize];
  library->GetPatches().Get(0)->GetData(before);
  NameMain(app.App());
  QZML::CPatchArray& main = app->GetMainDocument()->GetPatches();

  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZ5);
  QCOMPARE(ui.m_texts.size(), 1);
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZ5);
  // The Main window keeps the rows the unit has.
  QCOMPARE(main.size(), size_t(140));
  QCOMPARE(app->GetMainView()->GetList()->GetItemCount(), 140);
  QCOMPARE(Name(main, 139), QStringLiteral("M139"));
  QVERIFY(!library->IsModified());
  QCOMPARE(Caption(library), QStringLiteral("QZ-5 : Untitled1 "));
  std::uint8_t after[QZML::kPatchImageSize];
  library->GetPatches().Get(0)->GetData(after);
  QVERIFY(std::equal(after, after + sizeof after, before));

  // And back: the Main window gets 60 default patches again.
  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZMAX);
  QCOMPARE(main.size(), size_t(200));
  QCOMPARE(app->GetMainView()->GetList()->GetItemCount(), 200);
  QCOMPARE(Name(main, 139), QStringLiteral("M139"));
  QCOMPARE(Name(main, 140), QString::fromStdString(QZML::CPatch().GetName()).trimmed());
  QCOMPARE(ui.m_texts.value(1), QStringLiteral("Are you sure you want to convert this QZ-5 data to QZ-MAX data?"));
}

void CStartupTest::choosingTheCurrentModelAsksNothing() {
  CTestUi ui;
  CStartedApp app;
  ui.OnModal(Accept);
  app->OnSelectTargetModel();
  QCOMPARE(ui.m_modalCount, 1);
  QVERIFY(ui.m_texts.isEmpty());
  QCOMPARE(QZML::CAppState::Instance().GetTargetModel(), QZML::MODEL_QZMAX);
}

void CStartupTest::commandLineImportsForeignFilesAndOpensLibraries() {
  CTestUi ui;
  CAppOptions options = TestOptions();
  options.files = QStringList{Corpus("zkl/valid/three-patches.zkl")};
  CStartedApp app(options);
  QVERIFY(app.Started());
  std::vector<CFileDoc*> libraries = Libraries(app.App());
  QCOMPARE(libraries.size(), size_t(1));
  auto* imported = static_cast<CFileDoc*>(libraries[0]);
  QCOMPARE(imported->GetPatches().size(), size_t(3));
  QVERIFY(imported->IsModified());
  QVERIFY(imported->GetPathName().isEmpty());
  QCOMPARE(Caption(imported), QStringLiteral("QZ-MAX : Untitled1 *"));

  // A QZ-3 dump likewise; a library file opens as itself; a bad one says why and opens nothing.
  QVERIFY(app->OpenAnyFile(Corpus("qz3/valid/two-patches.mid")));
  QVERIFY(app->OpenAnyFile(Corpus("qzl/valid_qzmax_3.qzl")));
  libraries = Libraries(app.App());
  QCOMPARE(libraries.size(), size_t(3));
  QCOMPARE(static_cast<CFileDoc*>(libraries[1])->GetPatches().size(), size_t(2));
  QCOMPARE(libraries[2]->GetTitle(), QStringLiteral("valid_qzmax_3.qzl"));
  QVERIFY(!libraries[2]->IsModified());
  QVERIFY(ui.m_texts.isEmpty());
  QVERIFY(!app->OpenAnyFile(Corpus("qzl/invalid_signature.qzl")));
  QCOMPARE(ui.m_texts, QStringList{QStringLiteral("Cannot read files of this type.")});
  QCOMPARE(Libraries(app.App()).size(), size_t(3));
  QVERIFY(CFileDoc::GetReportLoadErrors());

  // The same file again brings its window forward instead of a second one.
  QVERIFY(app->OpenAnyFile(Corpus("qzl/valid_qzmax_3.qzl")));
  QCOMPARE(Libraries(app.App()).size(), size_t(3));
}

void CStartupTest::droppedFilesOpenEachInTurn() {
  CTestUi ui;
  CStartedApp app;
  auto* mime = new QMimeData;
  mime->setUrls({QUrl::fromLocalFile(Corpus("zkl/valid/three-patches.zkl")),
                 QUrl::fromLocalFile(Corpus("zkl/invalid/bad-signature.zkl")),
                 QUrl::fromLocalFile(Corpus("qzl/valid_qzmax_3.qzl"))});
  CMainFrame* frame = app->GetMainFrame();
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(frame, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(frame, &drop);
  delete mime;
  // The bad one says why; the others open all the same.
  QCOMPARE(Libraries(app.App()).size(), size_t(2));
  QCOMPARE(ui.m_texts.size(), 1);
  QVERIFY(QApplication::overrideCursor() == nullptr);
}

void CStartupTest::fontChangeReachesEveryList() {
  CTestUi ui;
  CStartedApp app;
  QZML::CPatchArray patches;
  CFileDoc* library = app->NewLibraryWith(patches);
  GP::CFontEx::SLogFont font = app->GetListFont().GetLogFont();
  font.height = -21;
  app->GetListFont().CreateFontIndirect(font);
  app->GetListFont().SetColorRef(0x0000FF);
  app->NotifyFontChanged();
  for (CViewBase* view : {static_cast<CViewBase*>(app->GetMainView()), library->GetView()}) {
    QFrame* list = static_cast<CListFormView*>(view)->GetListArea();
    QCOMPARE(list->font(), app->GetListFont().GetFont());
    QCOMPARE(list->palette().color(QPalette::Text), QColor(Qt::red));
  }
}

void CStartupTest::badCommandLineFileEndsTheStart() {
  CTestUi ui;
  CAppOptions options = TestOptions();
  options.files = QStringList{Corpus("no-such-file.qzl")};
  CStartedApp app(options);
  QVERIFY(!app.Started());
  QCOMPARE(ui.m_texts, QStringList{QStringLiteral("This file could not be loaded.")});
}

void CStartupTest::secondStartHandsOverItsFiles() {
  CTestUi ui;
  CAppOptions options = TestOptions();
  CStartedApp app(options);
  QVERIFY(app.Started());
  QSignalSpy handed(&app.App(), &CApp::HandOverDone);

  // A real second program with settings of its own, so we can see it stores nothing.
  QTemporaryDir secondConfig;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QZMAX_LIBRARIAN_INSTANCE"), options.instanceKey);
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), secondConfig.path());
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  QProcess second;
  second.setProcessEnvironment(environment);
  second.start(QStringLiteral(QZ_APP_BINARY), {Corpus("qzl/valid_qz5_2.qzl"), Corpus("qzl/valid_qzmax_3.qzl")});
  QVERIFY(second.waitForStarted(30000));
  QVERIFY(RunEventLoopUntil([&]() { return second.state() == QProcess::NotRunning; }, 120000));
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QVERIFY(RunEventLoopUntil([&]() { return handed.count() > 1; }, 10000));

  // The first program opened both (a QZ-5 library while the target is the QZ-MAX: asked, answered Yes).
  std::vector<CFileDoc*> libraries = Libraries(app.App());
  QCOMPARE(libraries.size(), size_t(2));
  QCOMPARE(libraries[0]->GetTitle(), QStringLiteral("valid_qz5_2.qzl"));
  QCOMPARE(libraries[1]->GetTitle(), QStringLiteral("valid_qzmax_3.qzl"));
  QVERIFY(app->GetMainFrame()->isVisible());
  // The second one wrote no settings at all.
  QCOMPARE(QDir(secondConfig.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
           QStringList());
}

QZ_APP_TEST_MAIN(CStartupTest)
#include "startup_test.moc"
