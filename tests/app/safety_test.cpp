// The paths where a failure must never pass for success, driven through the windows: an SMF made for
// another device ID or model, data whose conversion the user declined, a port that fails during a write,
// a read that does not finish, and the Main window's rows after a model switch.

#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "midi/patchstream.h"
#include "model/appstate.h"

#include <QFile>
#include <QTimer>
#include <QtTest>

namespace {

QByteArray Signature(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(32) : QByteArray();
}

} // namespace

class CSafetyTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void smfOfAnotherDeviceIdLeavesMainUntouchedUnlessTheUserAgrees();
  void declinedConversionKeepsTheLibrarysModel();
  void aPortFailingDuringWriteAllGivesOneMessage();
  void aCancelledReadLeavesACleanUndo();
  void undoAfterAModelSwitchKeepsTheUnitsRowCount();
};

void CSafetyTest::smfOfAnotherDeviceIdLeavesMainUntouchedUnlessTheUserAgrees() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app;
  QTemporaryDir dir;
  CImageView* view = app->GetMainView();
  CMidiEnvironment& environment = app->GetMidi()->Environment();
  const std::uint8_t inUse = environment.Outputs()[0].m_deviceId;
  NameMain(app.App(), "S");
  const QString file = dir.filePath(QStringLiteral("id17.mid"));
  // Exported for device ID 17, imported while the program uses another.
  environment.Outputs()[0].m_deviceId = 0x10;
  answers.File(file);
  app->GetMainFrame()->RouteCommand(ID_FILE_EXPORT_SMF_ALL);
  environment.Outputs()[0].m_deviceId = inUse == 0x10 ? 0 : inUse;
  const QString expected = QStringLiteral("This file holds patches for device ID 17 (QZ-MAX); the device ID in use is %1.")
                               .arg(environment.Outputs()[0].m_deviceId + 1);

  NameMain(app.App(), "X");
  ui.Answer(QMessageBox::No);
  answers.File(file);
  view->OnCommand(ID_FILE_IMPORT_SMF);
  QCOMPARE(ui.m_texts.size(), 1);
  QCOMPARE(ui.m_texts.last(), expected + QStringLiteral("\n\nImport them anyway?"));
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), Names(NamedPatches(200, "X")));

  ui.Answer(QMessageBox::Yes);
  answers.File(file);
  view->OnCommand(ID_FILE_IMPORT_SMF);
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), Names(NamedPatches(200, "S")));
  QCOMPARE(ui.m_texts.size(), 2);
  environment.Outputs()[0].m_deviceId = inUse;
}

void CSafetyTest::declinedConversionKeepsTheLibrarysModel() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("five.qzl"));
  QVERIFY(QFile::copy(QStringLiteral(QZ_CORPUS_DIR "/qzl/valid_qz5_2.qzl"), copy));
  QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);

  // Opened under the QZ-MAX with No: saved again, it stays a QZ-5 library.
  ui.Answer(QMessageBox::No);
  QVERIFY(app->OpenAnyFile(copy));
  QCOMPARE(ui.m_texts.last(), QStringLiteral("Are you sure you want to convert this QZ-5 data to QZ-MAX data?"));
  auto* library = qobject_cast<CFileDoc*>(app->FindLibrary(copy));
  QVERIFY(library);
  QCOMPARE(library->GetData().m_current.Model(), QZML::MODEL_QZ5);
  QVERIFY(library->OnSaveDocument(copy));
  QCOMPARE(Signature(copy), QByteArray("QZMLibrarianFile0000QZ5         "));

  // Sent to the unit: the question again, and No sends nothing.
  CSimPort* simulator = app->GetMidi()->Simulator();
  int sent = 0;
  simulator->SetMonitor([&sent](const std::uint8_t*, std::size_t) { ++sent; });
  const int texts = ui.m_texts.size();
  ui.Answer(QMessageBox::No);
  emit ViewOf(library)->GetList()->patchDoubleClicked(0);
  QCOMPARE(ui.m_texts.size(), texts + 1);
  QCOMPARE(ui.m_texts.last(), QStringLiteral("Are you sure you want to convert this QZ-5 data to QZ-MAX data?"));
  QCOMPARE(sent, 0);
  ui.Answer(QMessageBox::Yes);
  emit ViewOf(library)->GetList()->patchDoubleClicked(0);
  QVERIFY(sent > 0);
  simulator->SetMonitor(nullptr);

  // Pasted into Main: asked, No pastes nothing, Yes pastes the converted patches.
  CPatchListCtrl* libraryList = ViewOf(library)->GetList();
  libraryList->SelectRows(0, 0);
  ViewOf(library)->OnCommand(ID_EDIT_COPY);
  QCOMPARE(QZML::CAppState::Instance().GetClipboard().Model(), QZML::MODEL_QZ5);
  CImageView* main = app->GetMainView();
  NameMain(app.App(), "M");
  main->GetList()->SelectRows(4, 4);
  ui.Answer(QMessageBox::No);
  main->OnCommand(ID_EDIT_REPLACE);
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 4), QStringLiteral("M4"));
  ui.Answer(QMessageBox::Yes);
  main->OnCommand(ID_EDIT_REPLACE);
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 4), Name(library->GetPatches(), 0));
  // The clipboard still holds the QZ-5 data it was given.
  QCOMPARE(QZML::CAppState::Instance().GetClipboard().Model(), QZML::MODEL_QZ5);
}

void CSafetyTest::aPortFailingDuringWriteAllGivesOneMessage() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  NameMain(app.App(), "W");
  CSimPort* simulator = app->GetMidi()->Simulator();
  QZP::CVirtualMidiBackend& backend = app->GetMidi()->Virtual();
  int dataSets = 0;
  simulator->SetMonitor([&](const std::uint8_t* bytes, std::size_t count) {
    if (count > 6 && bytes[1] == 0x41 && bytes[6] == 0x12 && ++dataSets == 100)
      backend.SetFailing(QZP::CVirtualMidiBackend::kSimulatorName, true);
  });
  app->GetMainView()->GetList()->SelectRows(3, 4);
  app->GetMainView()->OnCommand(ID_EDIT_DELETE);
  QVERIFY(app->GetMainDocument()->GetData().CanUndo(1));
  const QStringList before = Names(app->GetMainDocument()->GetPatches());

  app->GetMainView()->WriteUser(true);
  QCOMPARE(ui.m_texts.size(), 1);
  QVERIFY2(ui.m_texts[0].contains(QStringLiteral("The last patch written completely is patch 2; patch 3 and those "
                                                   "after it were not written.")),
           qPrintable(ui.m_texts[0]));
  QCOMPARE(dataSets, 100);
  // A write changes nothing in the window, and the edit before it can still be undone.
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), before);
  QVERIFY(app->GetMainDocument()->GetData().CanUndo(1));
  backend.SetFailing(QZP::CVirtualMidiBackend::kSimulatorName, false);
  simulator->SetMonitor(nullptr);
}

void CSafetyTest::aCancelledReadLeavesACleanUndo() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  QVERIFY(LoadUnit(app.App(), NamedPatches(200, "U")));
  NameMain(app.App(), "M");
  // Cancelled once some patches are in.
  QTimer timer;
  CProgressBar* progress = app->GetProgressBar();
  QObject::connect(&timer, &QTimer::timeout, [&]() {
    if (progress->GetDialog() && progress->GetDialog()->isVisible() &&
        Name(app->GetMainDocument()->GetPatches(), 2) == QStringLiteral("U2"))
      progress->Cancel();
  });
  timer.start(0);
  app->GetMainView()->ReadUser(true);
  timer.stop();
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), Names(NamedPatches(200, "M")));
  QVERIFY(!app->GetMainDocument()->GetData().CanUndo(1));
  app->GetMainView()->OnCommand(ID_EDIT_UNDO);
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), Names(NamedPatches(200, "M")));
}

void CSafetyTest::undoAfterAModelSwitchKeepsTheUnitsRowCount() {
  CTestUi ui;
  CStartedApp app;
  NameMain(app.App(), "M");
  CImageView* view = app->GetMainView();
  view->GetList()->SelectRows(0, 0);
  view->OnCommand(ID_EDIT_DELETE);
  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZ5);
  view->OnCommand(ID_EDIT_UNDO);
  QCOMPARE(app->GetMainDocument()->GetPatches().size(), size_t(140));
  QCOMPARE(view->GetList()->GetItemCount(), 140);
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 0), QStringLiteral("M0"));
  // The data kept its model: writing it to the QZ-5 asks first.
  QCOMPARE(app->GetMainDocument()->GetData().m_current.Model(), QZML::MODEL_QZMAX);
}

QZ_APP_TEST_MAIN(CSafetyTest)
#include "safety_test.moc"
