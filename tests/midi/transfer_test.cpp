// Reads and writes of the unit end to end: the reader and writer, the request engine, the MIDI ports and
// the simulated unit behind the in-process pair "QZ-MAX Simulator", on a fake clock.

#include <gtest/gtest.h>

#include <algorithm>

#include "midi/transfer.h"
#include "model/document.h"
#include "model/parameteraddress.h"
#include "transfertestsupport.h"

using QZML::AREA_TEMPORARY;
using QZML::AREA_USER;
using QZML::CByteArray;
using QZML::CParameterAddress;
using QZML::CPatch;
using QZML::CPatchArray;
using QZML::MODEL_QZ5;
using QZML::MODEL_QZMAX;

namespace {

CSimOptions Unit(int model, CSimOptions options = CSimOptions()) {
  options.model = model;
  return options;
}

// Gives every user patch of the unit its own contents.
void FillUnit(CSimUnit& unit) {
  for (int i = 0; i < unit.UserPatchCount(); ++i) {
    CPatch patch;
    FillPatch(patch, 1000u + static_cast<unsigned>(i), "Unit {" + std::to_string(i) + "}");
    unit.SetUserPatch(i, patch);
  }
}

CPatch UnitPatch(CTransferRig& rig, int number) {
  CPatch patch;
  rig.sim->Unit().GetUserPatch(number, patch);
  return patch;
}

// The size field of a request as a number.
std::uint32_t RequestedSize(const CByteArray& request) {
  CZelOrvaneMessage message;
  message.Parse(request, 4);
  return FromSevenBitBytes(message.GetField(ORVANE_FIELD_DATA));
}
std::uint32_t RequestedAddress(const CByteArray& request) {
  CZelOrvaneMessage message;
  message.Parse(request, 4);
  return FromSevenBitBytes(message.GetField(ORVANE_FIELD_ADDRESS));
}

} // namespace

TEST(Transfer, ReadAllOfEachModelIntoItsRows) {
  for (int model : {MODEL_QZMAX, MODEL_QZ5}) {
    SCOPED_TRACE(QZML::ModelName(model));
    CTransferRig rig(Unit(model), model);
    FillUnit(rig.sim->Unit());
    rig.Connect();
    const int count = QZML::UserPatchCount(model);
    CPatchArray patches = rig.Patches(static_cast<std::size_t>(count));
    QZML::CPatchList all;
    for (int i = 0; i < count; ++i)
      all.push_back(i);

    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, all, &patches));
    const std::size_t perPatch = model == MODEL_QZMAX ? 32 : 27;
    EXPECT_EQ(rig.Sent(0x11).size(), perPatch * static_cast<std::size_t>(count));
    EXPECT_EQ(rig.IdentityRequestsSent(), 1);
    for (int i = 0; i < count; ++i) {
      std::string where;
      EXPECT_TRUE(SameBlocks(*patches.Get(i), UnitPatch(rig, i), CParameterAddress::IsRead, &where))
          << "patch " << i << ": " << where;
    }
    EXPECT_EQ(patches.Get(count - 1)->GetName(), "Unit {" + std::to_string(count - 1) + "}" + std::string(6, ' '));
    EXPECT_TRUE(rig.errors->codes.empty());
    EXPECT_TRUE(rig.messageBox->codes.empty());
    EXPECT_EQ(rig.progress.ranges, std::vector<int>{count});
    EXPECT_EQ(rig.progress.positions.size(), static_cast<std::size_t>(count));
    EXPECT_EQ(rig.progress.depth, 0);
    EXPECT_TRUE(rig.progress.cancelShown);
    EXPECT_EQ(rig.dispatcher.idleWaits, 0);
  }
}

TEST(Transfer, ReadSelectedRequestsTheModelsBlocksAtTheirSizes) {
  // The QZ-5 asks for 5 bytes of "PATCH LOOP FX" and 9 of "PATCH MASTER", the QZ-MAX for 13 and 10; the
  // QZ-MAX skips the pedal blocks, the QZ-5 the blocks it does not have.
  struct CCase {
    int model;
    std::size_t requests;
    std::uint32_t loopFx, master;
  };
  for (const CCase& c : {CCase{MODEL_QZMAX, 32, 13, 10}, CCase{MODEL_QZ5, 27, 5, 9}}) {
    SCOPED_TRACE(QZML::ModelName(c.model));
    CTransferRig rig(Unit(c.model), c.model);
    FillUnit(rig.sim->Unit());
    rig.Connect();
    CPatchArray patches = rig.Patches(10);
    const CPatch untouched = *patches.Get(0);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {7, 2}, &patches));

    const std::vector<CByteArray> requests = rig.Sent(0x11);
    ASSERT_EQ(requests.size(), 2 * c.requests);
    CParameterAddress addressing;
    // Row 7 first, in table order.
    EXPECT_EQ(RequestedAddress(requests[0]), addressing.GetParameterAddress(AREA_USER, 7, QZML::BLOCK_FX1, 0));
    EXPECT_EQ(RequestedAddress(requests[c.requests]), addressing.GetPatchAddress(AREA_USER, 2));
    for (const CByteArray& request : requests) {
      const std::uint32_t address = RequestedAddress(request) % QZML::PATCH_STRIDE;
      if (address == 0x200) {
        EXPECT_EQ(RequestedSize(request), c.loopFx);
      }
      if (address == 0x700) {
        EXPECT_EQ(RequestedSize(request), c.master);
      }
      EXPECT_NE(address, c.model == MODEL_QZMAX ? 0x980u : 0x800u);
    }
    std::string where;
    EXPECT_TRUE(SameBlocks(*patches.Get(7), UnitPatch(rig, 7), CParameterAddress::IsRead, &where)) << where;
    EXPECT_TRUE(SameBlocks(*patches.Get(2), UnitPatch(rig, 2), CParameterAddress::IsRead, &where)) << where;
    for (int row : {0, 1, 3, 6, 8})
      EXPECT_EQ(std::vector<std::uint8_t>(patches.Get(row)->Image(), patches.Get(row)->Image() + 880),
                std::vector<std::uint8_t>(untouched.Image(), untouched.Image() + 880));
    // Beyond the QZ-5's five bytes of "PATCH LOOP FX" the row keeps what it had.
    const CPatch& read = *patches.Get(7);
    const int loopFx = QZML::BlockInstance(QZML::FindBlockInstance(QZML::BLOCK_LOOP_FX, 0)).flatOffset;
    EXPECT_EQ(read.Image()[loopFx + 12] == untouched.Image()[loopFx + 12], c.model == MODEL_QZ5);
  }
}

TEST(Transfer, WriteThenReadBackEqual) {
  for (int model : {MODEL_QZMAX, MODEL_QZ5}) {
    SCOPED_TRACE(QZML::ModelName(model));
    CTransferRig rig(Unit(model), model);
    rig.Connect();
    CPatchArray source = rig.Patches(6);
    FillPatch(*source.Get(1), 11, "{Braces} 1");
    FillPatch(*source.Get(5), 55, "Five }{");

    ASSERT_TRUE(rig.writer.WritePatches(AREA_USER, {5, 1}, &source));
    const std::size_t perPatch = model == MODEL_QZMAX ? 35 : 27;
    EXPECT_EQ(rig.Sent(0x12).size(), 2 * perPatch);
    EXPECT_EQ(rig.sim->Unit().Counters().dataSets, static_cast<int>(2 * perPatch));
    EXPECT_EQ(rig.IdentityRequestsSent(), 1);
    // Every data set is followed by the pause.
    EXPECT_EQ(std::count(rig.clock.m_sleeps.begin(), rig.clock.m_sleeps.end(), 20u),
              static_cast<long>(2 * perPatch));
    // The braces go to the unit as its own codes.
    CByteArray name;
    ASSERT_TRUE(rig.sim->Unit().ReadMemory(CParameterAddress().GetBlockAddress(AREA_USER, 5, QZML::BLOCK_NAME), 16,
                                           name));
    EXPECT_EQ(name[5], 0x7E);
    EXPECT_EQ(name[6], 0x7F);
    std::string where;
    EXPECT_TRUE(SameBlocks(UnitPatch(rig, 5), *source.Get(5), CParameterAddress::IsWritten, &where)) << where;

    CPatchArray back = rig.Patches(6);
    ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {1, 5}, &back));
    for (int row : {1, 5})
      EXPECT_TRUE(SameBlocks(*back.Get(row), *source.Get(row), CParameterAddress::IsRead, &where)) << where;
    EXPECT_EQ(back.Get(1)->GetName(), "{Braces} 1      ");
    EXPECT_TRUE(rig.errors->codes.empty());
    EXPECT_TRUE(rig.portMessages.messages.empty());
  }
}

TEST(Transfer, TemporaryPatchWriteAndRead) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  CPatchArray source = rig.Patches(5);
  FillPatch(*source.Get(4), 44, "Temp {4}");
  ASSERT_TRUE(rig.writer.WritePatches(AREA_TEMPORARY, {4}, &source));
  CPatch temporary;
  rig.sim->Unit().GetTemporaryPatch(temporary);
  std::string where;
  EXPECT_TRUE(SameBlocks(temporary, *source.Get(4), CParameterAddress::IsWritten, &where)) << where;
  EXPECT_EQ(rig.progress.texts.front(), "Temporary Patch: PATCH FX1");
  // The user patch of the same number is not touched.
  EXPECT_FALSE(SameBlocks(UnitPatch(rig, 4), *source.Get(4), CParameterAddress::IsWritten, nullptr));

  CPatchArray list = rig.Patches(3);
  const CPatch before = *list.Get(0);
  ASSERT_TRUE(rig.reader.ReadPatches(AREA_TEMPORARY, {2}, &list));
  EXPECT_TRUE(SameBlocks(*list.Get(2), temporary, CParameterAddress::IsRead, &where)) << where;
  EXPECT_EQ(list.Get(2)->GetName(), "Temp {4}        ");
  EXPECT_TRUE(std::equal(before.Image(), before.Image() + 880, list.Get(0)->Image()));
  EXPECT_TRUE(rig.errors->codes.empty());
}

TEST(Transfer, AnotherModelsIdentityEndsWithCodeFourAfterBothAttempts) {
  CTransferRig rig(Unit(MODEL_QZ5), MODEL_QZMAX);
  rig.Connect();
  CPatchArray patches = rig.Patches(3);
  const std::uint64_t start = rig.clock.NowMs();
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0}, &patches));
  EXPECT_EQ(rig.IdentityRequestsSent(), 2);
  EXPECT_EQ(rig.sim->Unit().Counters().answers, 2);
  EXPECT_TRUE(rig.Sent(0x11).empty());
  EXPECT_EQ(rig.errors->codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
  EXPECT_TRUE(rig.messageBox->codes.empty());
  EXPECT_GE(rig.clock.NowMs() - start, 6000u);
  EXPECT_TRUE(rig.progress.ranges.empty()); // no progress before the unit is known

  // The same unit is right for a QZ-5 target.
  QZML::CTargetModelScope qz5(MODEL_QZ5);
  rig.environment.SetModelId(QZML::ModelId(MODEL_QZ5));
  EXPECT_TRUE(rig.reader.Identify());
  EXPECT_EQ(rig.errors->codes.size(), 1u);
}

TEST(Transfer, SilentUnitReportsCodeFourOnce) {
  CSimOptions silent;
  silent.drop = CSimFault::Always();
  CTransferRig rig(Unit(MODEL_QZMAX, silent), MODEL_QZMAX);
  rig.Connect();
  CPatchArray patches = rig.Patches(3);
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1}, &patches));
  EXPECT_EQ(rig.errors->codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
  EXPECT_EQ(rig.IdentityRequestsSent(), 2);
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {0}, &patches));
  EXPECT_EQ(rig.errors->codes, (std::vector<int>{TEXTOUT_ERR_NO_ANSWER, TEXTOUT_ERR_NO_ANSWER}));
  EXPECT_TRUE(rig.Sent(0x12).empty());
  EXPECT_EQ(rig.errors->m_pendingError, TEXTOUT_ERR_NO_ANSWER);
}

TEST(Transfer, AnAnswerForAnotherBlockKeepsTheRequestWaiting) {
  // The unit's first data set comes with the address one row further on: not filed, and the request is
  // sent again after its time limit; the second answer is the right one and nothing is reported.
  CSimOptions options;
  options.otherAddress = CSimFault::Nth(2);
  CTransferRig rig(Unit(MODEL_QZMAX, options), MODEL_QZMAX);
  FillUnit(rig.sim->Unit());
  rig.Connect();
  CPatchArray patches = rig.Patches(2);
  const std::uint64_t start = rig.clock.NowMs();
  ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {1}, &patches));
  const std::vector<CByteArray> requests = rig.Sent(0x11);
  ASSERT_EQ(requests.size(), 33u);
  EXPECT_EQ(requests[0], requests[1]);
  EXPECT_GE(rig.clock.NowMs() - start, 3000u);
  EXPECT_LT(rig.clock.NowMs() - start, 6000u);
  std::string where;
  EXPECT_TRUE(SameBlocks(*patches.Get(1), UnitPatch(rig, 1), CParameterAddress::IsRead, &where)) << where;
  EXPECT_TRUE(rig.errors->codes.empty());
}

TEST(Transfer, SecondAttemptSucceedingReportsNothing) {
  for (int dropped : {1, 2}) { // the identity reply, the first data set
    CSimOptions options;
    options.drop = CSimFault::Nth(dropped);
    CTransferRig rig(Unit(MODEL_QZMAX, options), MODEL_QZMAX);
    rig.Connect();
    CPatchArray patches = rig.Patches(1);
    EXPECT_TRUE(rig.reader.ReadPatches(AREA_USER, {0}, &patches));
    EXPECT_EQ(rig.IdentityRequestsSent(), dropped == 1 ? 2 : 1);
    EXPECT_EQ(rig.Sent(0x11).size(), dropped == 1 ? 32u : 33u);
    EXPECT_TRUE(rig.errors->codes.empty());
    EXPECT_EQ(rig.dispatcher.idleWaits, 1);
  }
}

TEST(Transfer, CancelStopsBeforeTheNextBlockWithoutACode) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  CPatchArray patches = rig.Patches(3);
  rig.progress.cancelAt = 40; // the eighth block of the second patch
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1, 2}, &patches));
  EXPECT_EQ(rig.Sent(0x11).size(), 39u);
  EXPECT_EQ(rig.progress.texts.back(), "User Patch 2: PATCH EQUALIZER");
  EXPECT_EQ(rig.progress.depth, 0);
  EXPECT_EQ(rig.progress.positions, (std::vector<int>{1, 2}));

  rig.progress = CScriptedProgress();
  rig.progress.cancelAt = 1;
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {0}, &patches));
  EXPECT_TRUE(rig.Sent(0x12).empty());
  EXPECT_EQ(rig.progress.depth, 0);
  EXPECT_TRUE(rig.errors->codes.empty());
  EXPECT_TRUE(rig.messageBox->codes.empty());
}

TEST(Transfer, IncompleteSetupReportsCodeThreeAtOnceAndSendsNothing) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  CPatchArray patches = rig.Patches(2);
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0}, &patches));
  EXPECT_FALSE(rig.writer.WritePatches(AREA_TEMPORARY, {1}, &patches));
  // Output bound, input not: still incomplete.
  rig.setup->BindOutput(rig.environment.Outputs()[0], QZP::CVirtualMidiBackend::kSimulatorName, 0x10);
  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0}, &patches));
  EXPECT_EQ(rig.messageBox->codes, (std::vector<int>{3, 3, 3}));
  EXPECT_TRUE(rig.sent.empty());
  EXPECT_TRUE(rig.environment.Outputs()[0].GetLastMessage().empty());
  EXPECT_TRUE(rig.errors->codes.empty());
  EXPECT_TRUE(rig.progress.ranges.empty());
}

TEST(Transfer, AFailedReadKeepsWhatWasFiledAndTheCallersUndoRestoresTheList) {
  CSimOptions options;
  options.drop = CSimFault::From(1 + 32 + 10); // silent from the tenth block of the second patch
  CTransferRig rig(Unit(MODEL_QZMAX, options), MODEL_QZMAX);
  FillUnit(rig.sim->Unit());
  rig.Connect();
  QZML::CDocument document;
  document.m_current.m_patches = rig.Patches(3);
  const CPatch fresh = *document.m_current.m_patches.Get(0);
  document.SaveUndo(0);

  EXPECT_FALSE(rig.reader.ReadPatches(AREA_USER, {0, 1, 2}, &document.m_current.m_patches));
  EXPECT_EQ(rig.errors->codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
  const CPatchArray& read = document.m_current.m_patches;
  std::string where;
  EXPECT_TRUE(SameBlocks(*read.Get(0), UnitPatch(rig, 0), CParameterAddress::IsRead, &where)) << where;
  // Row 1 has its first nine blocks, row 2 nothing.
  const int ninth = QZML::BlockInstance(9).flatOffset;
  EXPECT_TRUE(std::equal(read.Get(1)->Image(), read.Get(1)->Image() + ninth, UnitPatch(rig, 1).Image()));
  EXPECT_TRUE(std::equal(read.Get(1)->Image() + ninth, read.Get(1)->Image() + 880, fresh.Image() + ninth));
  EXPECT_TRUE(std::equal(read.Get(2)->Image(), read.Get(2)->Image() + 880, fresh.Image()));
  EXPECT_EQ(rig.progress.depth, 0);

  document.Undo();
  for (int row = 0; row < 3; ++row)
    EXPECT_TRUE(std::equal(fresh.Image(), fresh.Image() + 880, document.m_current.m_patches.Get(row)->Image()));
}

TEST(Transfer, WritingARowTheListDoesNotHoldStops) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  CPatchArray source = rig.Patches(2);
  EXPECT_FALSE(rig.writer.WritePatches(AREA_USER, {1, 2}, &source));
  EXPECT_EQ(rig.Sent(0x12).size(), 35u);
  EXPECT_TRUE(rig.errors->codes.empty());
}

TEST(Transfer, InstalledStreamsAreOwnedByTheApplicationState) {
  CTransferRig rig(Unit(MODEL_QZMAX), MODEL_QZMAX);
  rig.Connect();
  const CPatchStreams streams = InstallPatchStreams(rig.environment);
  ASSERT_EQ(DeviceReader(), streams.reader);
  ASSERT_EQ(DeviceWriter(), streams.writer);
  EXPECT_EQ(rig.environment.Inputs()[0].m_messageHandler, streams.reader);
  EXPECT_EQ(rig.environment.Inputs()[0].m_requestHandler, streams.writer);
  // Progress, errors and the identity check come from the environment and the application state.
  CPatchArray patches = rig.Patches(1);
  FillPatch(*patches.Get(0), 5, "Owned");
  EXPECT_TRUE(streams.writer->WritePatches(AREA_TEMPORARY, {0}, &patches));
  EXPECT_TRUE(streams.reader->ReadPatches(AREA_USER, {0}, &patches));
  rig.sim->Stop();
  EXPECT_FALSE(streams.reader->ReadPatches(AREA_USER, {0}, &patches));
  EXPECT_EQ(rig.errors->codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
  QZML::CAppState::Instance().DeleteReaderWriter();
  EXPECT_EQ(DeviceReader(), nullptr);
  rig.reader.Bind(rig.environment);
  rig.writer.Bind(rig.environment);
}

TEST(Confirmation, FlagsDecideWhetherTheDialogIsShown) {
  CConfirmationFlags flags;
  std::vector<std::string> shown;
  CConfirmationAnswer answer;
  auto ask = [&](int, const std::string& text) {
    shown.push_back(text);
    return answer;
  };
  answer = {false, true}; // Cancel with the box ticked: nothing stored, nothing runs
  EXPECT_FALSE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_BUTTON, "QZ-5", ask));
  EXPECT_EQ(flags.Get(CONFIRM_WRITE_TEMP_BUTTON), 0);
  answer = {true, true};
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_BUTTON, "QZ-5", ask));
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_BUTTON, "QZ-5", ask));
  answer = {true, false};
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_CLICK, "QZ-5", ask)); // its own flag
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_WRITE_TEMP_CLICK, "QZ-5", ask));
  EXPECT_TRUE(ConfirmTransfer(flags, CONFIRM_IMPORT_SMF, "QZ-5", ask));
  ASSERT_EQ(shown.size(), 5u);
  EXPECT_EQ(shown[0], "Are you sure you want to overwrite the temporary area of the QZ-5?");
  EXPECT_EQ(shown[2], shown[0]);
  EXPECT_EQ(shown[4], "Are you sure you want to read the SMF file and overwrite the main window?");
  EXPECT_EQ(ConfirmationText(CONFIRM_READ_USER, "QZ-MAX"),
            "Are you sure you want to load the data from the user area of the QZ-MAX?");

  QZP::CMemorySettings settings;
  flags.Save(settings);
  EXPECT_EQ(settings.ReadInt("Option", "WriteTempButton", -1), 1);
  EXPECT_EQ(settings.ReadInt("Option", "WriteTempClick", -1), 0);
  settings.WriteInt("Option", "ReadTemp", 1);
  CConfirmationFlags loaded;
  loaded.Load(settings);
  EXPECT_FALSE(loaded.MustAsk(CONFIRM_READ_TEMP));
  EXPECT_FALSE(loaded.MustAsk(CONFIRM_WRITE_TEMP_BUTTON));
  EXPECT_TRUE(loaded.MustAsk(CONFIRM_READ_USER));
}
