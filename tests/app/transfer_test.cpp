// The device reader and writer as the windows use them: what they say when they fail, and what their
// progress display tells, against the built-in simulated unit of --simulator.

#include "apptestsupport.h"

#include "app/appmidi.h"
#include "app/imagedoc.h"
#include "app/mainframe.h"
#include "app/progressbar.h"
#include "app/textoutbox.h"
#include "midi/midienvironment.h"
#include "midi/patchstream.h"
#include "model/appstate.h"
#include "model/blocktable.h"
#include "textout/textout.h"

#include <QLabel>
#include <QtTest>

#include <map>

class CTransferTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void withoutPortsTheTransferSaysSoAtOnce();
  void silentUnitIsReportedOnceAtIdle();
  void progressTellsThePatchOfHowManyAndTheTimeLeft();
};

void CTransferTest::withoutPortsTheTransferSaysSoAtOnce() {
  CTestUi ui;
  CStartedApp app;
  QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();
  QVERIFY(!DeviceReader()->ReadPatches(QZML::AREA_USER, {0}, &patches));
  QCOMPARE(ui.m_texts, QStringList{QStringLiteral(
                           "MIDI devices aren't set up.\nMake sure the settings in the \"Set Up MIDI Devices\" "
                           "dialog box.")});
  QVERIFY(!DeviceWriter()->WritePatches(QZML::AREA_USER, {0}, &patches));
  QCOMPARE(ui.m_texts.size(), 2);
  QCOMPARE(app->GetProgressBar()->GetDepth(), 0);
}

void CTransferTest::silentUnitIsReportedOnceAtIdle() {
  CTestUi ui;
  CStartedApp app(TestOptions(true));
  // The unit answers as a QZ-MAX; the program now expects a QZ-5, so the identity check fails.
  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZ5);
  ui.m_texts.clear();
  ui.Answer(QMessageBox::No); // no search for the unit
  QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();
  bool failed = false;
  // As a menu command would: from the event loop, which shows the pending error once it is back.
  QTimer::singleShot(0, [&]() { failed = !DeviceReader()->ReadPatches(QZML::AREA_USER, {0}, &patches); });
  QVERIFY(RunEventLoopUntil([&]() { return !ui.m_texts.isEmpty(); }, 30000));
  QVERIFY(failed);
  QCOMPARE(ui.m_texts, QStringList{QStringLiteral("It appears that the QZ-5 is unconnected or connected "
                                                  "incorrectly. Please check the connections.\nCheck that the MIDI "
                                                  "input and output ports lead to the unit, that the device ID is "
                                                  "the one set on the unit, and that the target model is the unit's "
                                                  "model.\n\nRun Find Unit to look for the unit on every MIDI "
                                                  "port?")});
  QCOMPARE(ui.m_icons.last(), QMessageBox::Warning);
  QCOMPARE(app->GetErrorBuffer()->m_pendingError, TEXTOUT_ERR_NONE);
  RunEventLoop(30);
  QCOMPARE(ui.m_texts.size(), 1);
}

namespace {

// Lets each block read take 50 ms on the progress display's clock, and notes what the count line said
// when a given block arrived.
struct CBlockTicker : IZelMidiMessageHandler {
  bool OnDataSet(const CZelOrvaneMessage&) override {
    clock.Advance(50);
    ++blocks;
    if (progress->GetDialog())
      seen[blocks] = progress->GetDialog()->Count()->text();
    return true;
  }
  QZP::CFakeClock clock;
  CProgressBar* progress = nullptr;
  int blocks = 0;
  std::map<int, QString> seen;
};

} // namespace

void CTransferTest::progressTellsThePatchOfHowManyAndTheTimeLeft() {
  CTestUi ui;
  CStartedApp app(TestOptions(true));
  CBlockTicker ticker;
  ticker.progress = app->GetProgressBar();
  ticker.progress->SetClock(&ticker.clock);
  CZelMidiIn& input = CMidiEnvironment::Instance().Inputs()[0];
  input.m_dataSetHandlers.push_back(&ticker);
  QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();
  const bool read = DeviceReader()->ReadPatches(QZML::AREA_USER, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, &patches);
  input.m_dataSetHandlers.clear();
  ticker.progress->SetClock(nullptr);
  QVERIFY(read);
  QCOMPARE(ticker.blocks, 10 * 32);
  // The first patch: the count alone. After three patches of 1.6 s each: seven to go; after five, five.
  QCOMPARE(ticker.seen[1], QStringLiteral("Reading patch 1 of 10"));
  QCOMPARE(ticker.seen[3 * 32 + 1], QStringLiteral("Reading patch 4 of 10 - about 0:11 left"));
  QCOMPARE(ticker.seen[5 * 32 + 1], QStringLiteral("Reading patch 6 of 10 - about 0:08 left"));
}

QZ_APP_TEST_MAIN(CTransferTest)
#include "transfer_test.moc"
