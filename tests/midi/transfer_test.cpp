// Reads and writes of the unit end to end: the reader and writer, the request engine, the MIDI ports and
// the simulated unit behind the in-process pair "QZ-MAX Simulator", on a fake clock.

#include <gtest/gtest.h>

#include <algorithm>

#include "midi/transfer.h"
#include "model/document.h"
#include "model/parameteraddress.h"
#include "transfertestsupport.h"

using namespace QZML;

namespace {

CSimOptions Unit(EModel model, CSimOptions options = CSimOptions()) {
  options.model = model;
  return options;
}

void FillUnit(CSimUnit& unit) { ::FillUnit(unit, 1000u, "Unit {", "}"); }

std::uint32_t Field(const CByteArray& bytes, int field) {
  CZelOrvaneMessage message;
  message.Parse(bytes, 4);
  return FromSevenBitBytes(message.GetField(field));
}

} // namespace

TEST(Transfer, ReadAllAndSelectedOfEachModelIntoTheirRows) {
  struct CCase {
    EModel model;
    std::size_t requests;         // per patch
    std::uint32_t loopFx, master; // bytes requested
    std::uint32_t skipped;        // a block the model does not read
  };
  for (const CCase& c : {CCase{MODEL_QZMAX, 32, 13, 10, 0x980}, CCase{MODEL_QZ5, 27, 5, 9, 0x800}}) {
    SCOPED_TRACE(ModelName(c.model));
    CTransferRig rig(Unit(c.model), c.model);
    FillUnit(rig.sim->Unit());
    rig.Connect();
    const int count = UserPatchCount(c.model);
    CPatchArray all = Rows(static_cast<std::size_t>(count));
    CPatchList numbers;
    for (int i = 0; i < count; ++i)
      numbers.push_back(i);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, numbers, &all));
    EXPECT_EQ(rig.Sent(0x11).size(), c.requests * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      SameBlocks(*all.Get(i), UnitPatch(rig, i), CParameterAddress::IsRead);
    EXPECT_EQ(all.Get(count - 1)->GetName(), "Unit {" + std::to_string(count - 1) + "}      ");
    EXPECT_EQ(rig.progress.ranges, std::vector<int>{count});
    EXPECT_EQ(rig.progress.positions.size(), static_cast<std::size_t>(count));

    // Selected rows, in list order; the other rows and the bytes beyond a QZ-5 block stay as they were.
    rig.sent.clear();
    CPatchArray some = Rows(10);
    const CPatch fresh = *some.Get(0);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {7, 2}, &some));
    const std::vector<CByteArray> requests = rig.Sent(0x11);
    ASSERT_EQ(requests.size(), 2 * c.requests);
    EXPECT_EQ(Field(requests[0], ORVANE_FIELD_ADDRESS), CParameterAddress().GetPatchAddress(AREA_USER, 7));
    for (const CByteArray& request : requests) {
      const std::uint32_t offset = Field(request, ORVANE_FIELD_ADDRESS) % PATCH_STRIDE;
      const std::uint32_t size = Field(request, ORVANE_FIELD_DATA);
      EXPECT_TRUE(offset != 0x200 || size == c.loopFx) << size;
      EXPECT_TRUE(offset != 0x700 || size == c.master) << size;
      EXPECT_NE(offset, c.skipped);
    }
    SameBlocks(*some.Get(7), UnitPatch(rig, 7), CParameterAddress::IsRead);
    SameBlocks(*some.Get(2), UnitPatch(rig, 2), CParameterAddress::IsRead);
    for (int row : {0, 1, 3, 6, 8})
      EXPECT_TRUE(SameImage(*some.Get(row), fresh));
    const int loopFx = BlockInstance(FindBlockInstance(BLOCK_LOOP_FX, 0)).flatOffset;
    EXPECT_EQ(some.Get(7)->Image()[loopFx + 12] == fresh.Image()[loopFx + 12], c.model == MODEL_QZ5);
    EXPECT_EQ(rig.Sent(0x7E).size(), 1u);
    EXPECT_TRUE(rig.errors->codes.empty());
    EXPECT_EQ(rig.dispatcher.idleWaits, 0);
    EXPECT_EQ(rig.progress.depth, 0);
  }
}

TEST(Transfer, WriteThenReadBackEqualInTheUserAndTheTemporaryArea) {
  for (EModel model : {MODEL_QZMAX, MODEL_QZ5}) {
    SCOPED_TRACE(ModelName(model));
    CTransferRig rig(Unit(model), model);
    rig.Connect();
    CPatchArray source = Rows(6);
    FillPatch(*source.Get(1), 11, "{Braces} 1");
    FillPatch(*source.Get(5), 55, "Five }{");
    ASSERT_TRUE(rig.writer.WritePatches(AREA_USER, {5, 1}, &source));
    const long perPatch = model == MODEL_QZMAX ? 35 : 27;
    EXPECT_EQ(static_cast<long>(rig.Sent(0x12).size()), 2 * perPatch);
    EXPECT_EQ(std::count(rig.clock.m_sleeps.begin(), rig.clock.m_sleeps.end(), 20u), 2 * perPatch);
    CByteArray name; // the braces go to the unit as its own codes
    ASSERT_TRUE(rig.sim->Unit().ReadMemory(CParameterAddress().GetBlockAddress(AREA_USER, 5, BLOCK_NAME), 16, name));
    EXPECT_EQ(CByteArray(name.begin() + 5, name.begin() + 7), (CByteArray{0x7E, 0x7F}));
    SameBlocks(UnitPatch(rig, 5), *source.Get(5), CParameterAddress::IsWritten);

    CPatchArray back = Rows(6);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {1, 5}, &back));
    SameBlocks(*back.Get(1), *source.Get(1), CParameterAddress::IsRead);
    SameBlocks(*back.Get(5), *source.Get(5), CParameterAddress::IsRead);
    EXPECT_EQ(back.Get(1)->GetName(), "{Braces} 1      ");

    // The temporary patch: row 4 goes there, and comes back into row 2 alone.
    FillPatch(*source.Get(4), 44, "Temp {4}");
    ASSERT_TRUE(rig.writer.WritePatches(AREA_TEMPORARY, {4}, &source));
    EXPECT_EQ(rig.progress.texts.back(),
              "Temporary Patch: PATCH ASSIGN " + std::string(model == MODEL_QZ5 ? "INPUT SENS" : "CC#7"));
    CPatch temporary;
    rig.sim->Unit().GetTemporaryPatch(temporary);
    SameBlocks(temporary, *source.Get(4), CParameterAddress::IsWritten);
    CPatchArray list = Rows(3);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_TEMPORARY, {2}, &list));
    SameBlocks(*list.Get(2), *source.Get(4), CParameterAddress::IsRead);
    EXPECT_TRUE(SameImage(*list.Get(0), *Rows(1).Get(0)));
    EXPECT_TRUE(rig.errors->codes.empty());
    EXPECT_TRUE(rig.portMessages.messages.empty());
  }
}

TEST(Transfer, AnotherModelOrASilentUnitEndsWithCodeFourOnceAfterBothAttempts) {
  CSimOptions silent;
  silent.drop = CSimFault::Always();
  for (const CSimOptions& unit : {Unit(MODEL_QZ5), Unit(MODEL_QZMAX, silent)}) {
    CTransferRig rig(unit, MODEL_QZMAX);
    rig.Connect();
    CPatchArray patches = Rows(2);
    const std::uint64_t start = rig.clock.NowMs();
    EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1}, &patches));
    EXPECT_EQ(rig.Sent(0x7E).size(), 2u);
    EXPECT_TRUE(rig.Sent(0x11).empty());
    EXPECT_EQ(rig.errors->codes, std::vector<ETextOutError>{TEXTOUT_ERR_NO_ANSWER});
    EXPECT_GE(rig.clock.NowMs() - start, 6000u);
    EXPECT_TRUE(rig.progress.ranges.empty());
    EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {0}, &patches));
    EXPECT_TRUE(rig.Sent(0x12).empty());
    EXPECT_EQ(rig.errors->codes.size(), 2u);
    EXPECT_TRUE(rig.messageBox->codes.empty());
  }
}

TEST(Transfer, AWrongOrLostAnswerIsAskedForAgainAndNothingIsReported) {
  // 1: the identity reply is lost; 2: the first data set is lost; 3: it comes for the next row, is not
  // filed and keeps the request waiting.
  for (int fault : {1, 2, 3}) {
    SCOPED_TRACE(fault);
    CSimOptions options;
    (fault == 3 ? options.otherAddress : options.drop) = CSimFault::Nth(fault == 1 ? 1 : 2);
    CTransferRig rig(Unit(MODEL_QZMAX, options), MODEL_QZMAX);
    FillUnit(rig.sim->Unit());
    rig.Connect();
    CPatchArray patches = Rows(2);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {1}, &patches));
    EXPECT_EQ(rig.Sent(0x7E).size(), fault == 1 ? 2u : 1u);
    EXPECT_EQ(rig.Sent(0x11).size(), fault == 1 ? 32u : 33u);
    EXPECT_EQ(rig.dispatcher.idleWaits, 1);
    SameBlocks(*patches.Get(1), UnitPatch(rig, 1), CParameterAddress::IsRead);
    EXPECT_TRUE(rig.errors->codes.empty());
  }
}

TEST(Transfer, CancelStopsBeforeTheNextBlockWithoutACode) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  CPatchArray patches = Rows(3);
  rig.progress.cancelAt = 40; // the eighth block of the second patch
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1, 2}, &patches));
  EXPECT_EQ(rig.Sent(0x11).size(), 39u);
  EXPECT_EQ(rig.progress.texts.back(), "User Patch 2: PATCH EQUALIZER");
  EXPECT_EQ(rig.progress.positions, (std::vector<int>{1, 2}));
  rig.progress.cancelAt = 1;
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {0}, &patches));
  EXPECT_TRUE(rig.Sent(0x12).empty());
  EXPECT_EQ(rig.progress.depth, 0);
  EXPECT_TRUE(rig.errors->codes.empty());
  EXPECT_TRUE(rig.messageBox->codes.empty());
}

TEST(Transfer, AUnitThatAnswersAtOnceCostsNoTimeButTheUnitsPause) {
  // The simulated unit without a cable answers on the sending thread, before the engine waits. Neither
  // the request's time on a cable nor a poll interval may be waited for: on the injected clock, a read
  // takes no time at all and a write only the pause after each data set.
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  CPatchArray patches = Rows(3);
  const std::uint64_t start = rig.clock.NowMs();
  ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {0, 1, 2}, &patches));
  EXPECT_EQ(rig.Sent(0x11).size(), 3 * 32u);
  EXPECT_EQ(rig.clock.NowMs(), start);
  EXPECT_TRUE(rig.clock.m_sleeps.empty());
  EXPECT_EQ(rig.dispatcher.idleWaits, 0);

  ASSERT_TRUE(rig.writer.WritePatches(AREA_USER, {0, 2}, &patches));
  EXPECT_EQ(rig.clock.NowMs() - start, 2 * 35 * CZelMidiWriter::kPauseMs);
  EXPECT_EQ(rig.clock.m_sleeps, std::vector<std::uint32_t>(2 * 35, CZelMidiWriter::kPauseMs));
  EXPECT_TRUE(rig.errors->codes.empty());
}

TEST(Transfer, ProgressTellsThePatchAndAboutHowLongTheRestTakes) {
  QZP::CFakeClock clock;
  CZelProgressBar progress;
  progress.SetClock(&clock);
  progress.BeginPatches(10, CZelProgressBar::WORK_READ, true);
  progress.SetPosition(1);
  EXPECT_EQ(progress.CountText(), "Reading patch 1 of 10");
  // One patch done, but too soon to tell.
  clock.Advance(CZelProgressBar::kEstimateAfterMs - 1);
  progress.SetPosition(2);
  EXPECT_EQ(progress.SecondsLeft(), -1);
  EXPECT_EQ(progress.CountText(), "Reading patch 2 of 10");
  // Three patches in 4.5 s: seven to go at 1.5 s each, less the second spent on the fourth.
  clock.Advance(4500 - (CZelProgressBar::kEstimateAfterMs - 1));
  progress.SetPosition(4);
  EXPECT_EQ(progress.CountText(), "Reading patch 4 of 10 - about 0:11 left");
  clock.Advance(1000);
  EXPECT_EQ(progress.SecondsLeft(), 10);
  // A patch that takes longer than the estimate leaves "about a second", never nothing or less.
  clock.Advance(60000);
  EXPECT_EQ(progress.CountText(), "Reading patch 4 of 10 - about 0:01 left");
  progress.End();

  // Writing counts the same way; other work has no count.
  progress.BeginPatches(200, CZelProgressBar::WORK_WRITE, true);
  progress.SetPosition(1);
  clock.Advance(1050);
  progress.SetPosition(2);
  EXPECT_EQ(progress.CountText(), "Writing patch 2 of 200 - about 3:29 left");
  progress.BeginText(4, "Looking for the unit on every MIDI port...", true);
  progress.SetPosition(2);
  EXPECT_EQ(progress.CountText(), "");
  EXPECT_EQ(progress.SecondsLeft(), -1);

  EXPECT_EQ(CZelProgressBar::DurationText(0), "0:00");
  EXPECT_EQ(CZelProgressBar::DurationText(105), "1:45");
  EXPECT_EQ(CZelProgressBar::DurationText(3723), "1:02:03");
}

TEST(Transfer, IncompleteSetupReportsCodeThreeAtOnceAndSendsNothing) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  CPatchArray patches = Rows(2);
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0}, &patches));
  EXPECT_FALSE(rig.writer.WritePatches(AREA_TEMPORARY, {1}, &patches));
  rig.setup->BindOutput(rig.environment.Outputs()[0], QZP::CVirtualMidiBackend::kSimulatorName, 0x10);
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0}, &patches)); // no input yet
  EXPECT_EQ(rig.messageBox->codes,
            (std::vector<ETextOutError>{TEXTOUT_ERR_MIDI_SETUP, TEXTOUT_ERR_MIDI_SETUP, TEXTOUT_ERR_MIDI_SETUP}));
  EXPECT_TRUE(rig.sent.empty());
  EXPECT_TRUE(rig.environment.Outputs()[0].GetLastMessage().empty());
  EXPECT_TRUE(rig.errors->codes.empty());
}

TEST(Transfer, AFailedReadKeepsWhatWasFiledAndTheCallersUndoRestoresTheList) {
  CSimOptions options;
  options.drop = CSimFault::From(1 + 32 + 10); // silent from the tenth block of the second patch
  CTransferRig rig(Unit(MODEL_QZMAX, options), MODEL_QZMAX);
  FillUnit(rig.sim->Unit());
  rig.Connect();
  CDocument document;
  document.m_current.m_patches = Rows(3);
  const CPatch fresh = *document.m_current.m_patches.Get(0);
  document.SaveUndo(0);
  const CPatchArray& read = document.m_current.m_patches;
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1, 2}, &document.m_current.m_patches));
  EXPECT_EQ(rig.errors->codes, std::vector<ETextOutError>{TEXTOUT_ERR_NO_ANSWER});
  SameBlocks(*read.Get(0), UnitPatch(rig, 0), CParameterAddress::IsRead);
  const int nine = BlockInstance(9).flatOffset; // row 1 has its first nine blocks, row 2 nothing
  EXPECT_TRUE(std::equal(read.Get(1)->Image(), read.Get(1)->Image() + nine, UnitPatch(rig, 1).Image()));
  EXPECT_TRUE(std::equal(read.Get(1)->Image() + nine, read.Get(1)->Image() + 880, fresh.Image() + nine));
  EXPECT_TRUE(SameImage(*read.Get(2), fresh));
  EXPECT_EQ(rig.progress.depth, 0);
  document.Undo();
  for (int row = 0; row < 3; ++row)
    EXPECT_TRUE(SameImage(*read.Get(row), fresh));
}

TEST(Transfer, AUnitOnAnotherDeviceIdIsNotFoundAndNothingIsRead) {
  // The unit answers on device ID 5 while the program asks on 17: no adopting of the program's ID.
  CSimOptions options;
  options.deviceId = 4;
  CTransferRig rig(Unit(MODEL_QZMAX, options), MODEL_QZMAX);
  FillUnit(rig.sim->Unit());
  const auto name = QZP::CVirtualMidiBackend::kSimulatorName;
  rig.setup->BindInput(rig.environment.Inputs()[0], name, 0x10);
  rig.setup->BindOutput(rig.environment.Outputs()[0], name, 0x10);
  CPatchArray patches = Rows(2);
  const CPatch fresh = *patches.Get(0);
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1}, &patches));
  EXPECT_EQ(rig.errors->codes, std::vector<ETextOutError>{TEXTOUT_ERR_NO_ANSWER});
  EXPECT_TRUE(rig.Sent(0x11).empty());
  EXPECT_TRUE(SameImage(*patches.Get(0), fresh));
}

TEST(Transfer, APortThatFailsMidWriteStopsTheWriteWithOneMessage) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  // The output fails from the 40th data set on: inside the second patch (35 data sets each). failAfter 0:
  // from the first data set, once the identity request has gone.
  int dataSets = 0, failAfter = 39;
  const auto name = QZP::CVirtualMidiBackend::kSimulatorName;
  rig.sim->SetMonitor([&](const std::uint8_t* bytes, std::size_t count) {
    rig.sent.emplace_back(bytes, bytes + count);
    const bool dataSet = count > 6 && bytes[1] == 0x41 && bytes[6] == 0x12;
    if ((dataSet && ++dataSets == failAfter) || (failAfter == 0 && bytes[1] == 0x7E))
      rig.backend.SetFailing(name, true);
  });
  CPatchArray patches = Rows(8);
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {0, 1, 2}, &patches));
  EXPECT_EQ(rig.Sent(0x12).size(), 39u);
  ASSERT_EQ(rig.portMessages.messages.size(), 1u);
  const std::string& message = rig.portMessages.messages[0];
  EXPECT_NE(message.find("Writing to the QZ-MAX stopped"), std::string::npos) << message;
  EXPECT_NE(message.find("The last patch written completely is patch 1; patch 2 and those after it were not "
                         "written."),
            std::string::npos)
      << message;
  EXPECT_EQ(rig.progress.depth, 0);

  // Failing from the first data set: no patch completed. The port shows its own messages again afterwards.
  rig.portMessages.messages.clear();
  failAfter = 0;
  rig.backend.SetFailing(name, false);
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {4, 7}, &patches));
  ASSERT_EQ(rig.portMessages.messages.size(), 1u);
  EXPECT_NE(rig.portMessages.messages[0].find("No patch was written completely; patch 5 and those after it"),
            std::string::npos);
  rig.backend.SetFailing(name, false);
  EXPECT_FALSE(rig.writer.WritePatches(AREA_TEMPORARY, {0}, &patches));
  EXPECT_NE(rig.portMessages.messages.back().find("The temporary patch was not written."), std::string::npos);
  rig.environment.Outputs()[0].SendShort(0x7F4090); // note on, as packed: status in the low byte
  EXPECT_EQ(rig.portMessages.messages.size(), 3u);
  EXPECT_TRUE(rig.errors->codes.empty());
}

TEST(Transfer, TheWriterRefusesAUserPatchBeyondTheUnitsCount) {
  CTransferRig rig(Unit(MODEL_QZ5), MODEL_QZ5);
  rig.Connect();
  CPatchArray patches = Rows(200);
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {0, 140}, &patches));
  EXPECT_TRUE(rig.sent.empty());
  ASSERT_EQ(rig.portMessages.messages.size(), 1u);
  EXPECT_EQ(rig.portMessages.messages[0], "Patch 141 is beyond the 140 user patches of the QZ-5; nothing was sent.");
  EXPECT_TRUE(rig.writer.WritePatches(AREA_USER, {139}, &patches));
}

TEST(Transfer, InstalledStreamsUseTheApplicationStateAndTheEnvironment) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  const CPatchStreams streams = InstallPatchStreams(rig.environment);
  ASSERT_EQ(DeviceReader(), streams.reader);
  ASSERT_EQ(DeviceWriter(), streams.writer);
  EXPECT_EQ(rig.environment.Inputs()[0].m_messageHandler, streams.reader);
  EXPECT_EQ(rig.environment.Inputs()[0].m_requestHandler, streams.writer);
  CPatchArray patches = Rows(2);
  FillPatch(*patches.Get(0), 5, "Owned");
  EXPECT_TRUE(streams.writer->WritePatches(AREA_TEMPORARY, {0}, &patches));
  // A row the list does not hold ends the write.
  EXPECT_FALSE(streams.writer->WritePatches(AREA_USER, {1, 2}, &patches));
  EXPECT_EQ(rig.Sent(0x12).size(), 70u);
  rig.sim->Stop();
  EXPECT_FALSE(streams.reader->ReadPatches(AREA_USER, {0}, &patches));
  EXPECT_EQ(rig.errors->codes, std::vector<ETextOutError>{TEXTOUT_ERR_NO_ANSWER});
  CAppState::Instance().DeleteReaderWriter();
  rig.reader.Bind(rig.environment);
  rig.writer.Bind(rig.environment);
}

TEST(Confirmation, FlagsDecideWhetherTheDialogIsShown) {
  CConfirmationFlags flags;
  std::vector<std::string> shown;
  CConfirmationAnswer answer{false, true}; // Cancel with the box ticked: nothing stored, nothing runs
  auto ask = [&](int, const std::string& text) {
    shown.push_back(text);
    return answer;
  };
  EXPECT_FALSE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_BUTTON, "QZ-5", ask));
  answer = {true, true};
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_BUTTON, "QZ-5", ask));
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_BUTTON, "QZ-5", ask)); // not asked again
  answer = {true, false};
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_CLICK, "QZ-5", ask)); // its own flag
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_CLICK, "QZ-5", ask));
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], "Are you sure you want to overwrite the temporary area of the QZ-5?");
  EXPECT_EQ(shown[2], shown[0]);
  EXPECT_EQ(ConfirmationText(CONFIRM_IMPORT_SMF, "QZ-5"),
            "Are you sure you want to read the SMF file and overwrite the main window?");

  QZP::CMemorySettings settings;
  flags.Save(settings);
  EXPECT_EQ(settings.ReadString("Option", "WriteTempButton", ""), "1");
  EXPECT_EQ(settings.ReadString("Option", "WriteTempClick", ""), "0");
  settings.WriteInt("Option", "ReadTemp", 1);
  CConfirmationFlags loaded;
  loaded.Load(settings);
  EXPECT_FALSE(loaded.MustAsk(CONFIRM_READ_TEMP));
  EXPECT_TRUE(loaded.MustAsk(CONFIRM_READ_USER));
}
