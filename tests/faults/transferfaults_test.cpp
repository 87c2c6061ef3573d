// A unit that misbehaves during a read: answers with a wrong checksum, or buries its answers under
// active sensing. The in-process simulated unit on a fake clock, as in the transfer tests.

#include <gtest/gtest.h>

#include <algorithm>

#include "model/parameteraddress.h"
#include "transfertestsupport.h"

using namespace QZML;

namespace {

constexpr int kRequestsPerPatch = 32; // the QZ-MAX's read set

void FillUnit(CSimUnit& unit) { ::FillUnit(unit, 500u, "Fault "); }

// The flat image offset where the n-th block (in table order) begins.
int BlockStart(int index) { return BlockInstance(index).flatOffset; }

} // namespace

// A data set with a wrong checksum is refused by the input, so the request waits as if nothing came:
// one bad answer is asked for again, a bad answer to both attempts ends the read with code 4.
TEST(TransferFaults, WrongChecksumIsNeverFiledAndOnlyTheRetryCanRecover) {
  struct CCase {
    CSimFault fault; // answers counted from 1, the identity reply included
    bool succeeds;
    std::size_t requests;
    int timeouts;
  };
  const CCase cases[] = {
      {CSimFault::Nth(2), true, kRequestsPerPatch + 1, 1},                     // the first block's answer, once
      {CSimFault::Nth(kRequestsPerPatch + 1), true, kRequestsPerPatch + 1, 1}, // the last block's
      {CSimFault{2, 2}, false, 2, 2},                                          // the first block, both attempts
      {CSimFault::From(6), false, 4 + 2, 2},                                   // the fifth block on
      {CSimFault::Always(), false, 2, 2},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "answers " << c.fault.first << " count " << c.fault.count);
    CSimOptions options;
    options.badChecksum = c.fault;
    CTransferRig rig(options, MODEL_QZMAX);
    FillUnit(rig.sim->Unit());
    rig.Connect();
    CPatchArray patches = Rows(2);
    const CPatch fresh = *patches.Get(1);
    EXPECT_EQ(rig.reader.ReadPatches(AREA_USER, {1}, &patches), c.succeeds);
    EXPECT_EQ(rig.Sent(0x11).size(), c.requests);
    EXPECT_EQ(rig.dispatcher.idleWaits, c.timeouts);
    EXPECT_EQ(rig.Sent(0x7E).size(), 1u);
    EXPECT_EQ(rig.progress.depth, 0);
    EXPECT_TRUE(rig.messageBox->codes.empty());
    const CPatch& read = *patches.Get(1);
    if (c.succeeds) {
      SameBlocks(read, UnitPatch(rig, 1), CParameterAddress::IsRead);
      EXPECT_TRUE(rig.errors->codes.empty());
      continue;
    }
    EXPECT_EQ(rig.errors->codes, std::vector<ETextOutError>{TEXTOUT_ERR_NO_ANSWER});
    // The good blocks before the fault stay filed; nothing of a bad one, nor after it.
    const int good = static_cast<int>(c.requests) - 2;
    const CPatch unit = UnitPatch(rig, 1);
    EXPECT_TRUE(std::equal(read.Image(), read.Image() + BlockStart(good), unit.Image()));
    EXPECT_TRUE(
        std::equal(read.Image() + BlockStart(good), read.Image() + kPatchImageSize, fresh.Image() + BlockStart(good)));
    EXPECT_TRUE(SameImage(*patches.Get(0), fresh));
  }
}

// Hundreds of active sensing bytes ahead of every answer, each its own event through the input's ring:
// none reaches the reader, nothing is lost, no request waits out its time.
TEST(TransferFaults, ActiveSensingFloodLeavesTheReadIntact) {
  CSimOptions options;
  options.activeSensing = 1500; // a real unit sends one every 300 ms
  CTransferRig rig(options, MODEL_QZMAX);
  FillUnit(rig.sim->Unit());
  rig.Connect();
  // Active sensing never reaches the logical input: the unit is quiet once everything else has.
  rig.dispatcher.quiet = [&rig] {
    const CSimCounters& sent = rig.sim->Unit().Counters();
    return rig.sim->Delivered() == rig.arrived.received + 1500 * (sent.answers - sent.dropped);
  };
  CPatchArray patches = Rows(4);
  ASSERT_TRUE(rig.reader.ReadPatches(AREA_USER, {3, 0, 2}, &patches));
  for (int row : {3, 0, 2})
    SameBlocks(*patches.Get(row), UnitPatch(rig, row), CParameterAddress::IsRead);
  EXPECT_EQ(rig.Sent(0x11).size(), 3u * kRequestsPerPatch);
  EXPECT_EQ(rig.dispatcher.idleWaits, 0);
  EXPECT_EQ(rig.environment.InDevices()[0]->DroppedCount(), 0u);
  EXPECT_EQ(rig.arrived.received, 1 + 3 * kRequestsPerPatch);
  EXPECT_TRUE(rig.errors->codes.empty());

  // A write in the same flood: the unit's identity reply still gets through.
  CPatchArray source = Rows(1);
  FillPatch(*source.Get(0), 77, "Flooded");
  ASSERT_TRUE(rig.writer.WritePatches(AREA_USER, {0}, &source));
  SameBlocks(UnitPatch(rig, 0), *source.Get(0), CParameterAddress::IsWritten);
  EXPECT_TRUE(rig.errors->codes.empty());
}
