#include <gtest/gtest.h>

#include "model/appstate.h"
#include "model/parameteraddress.h"

#include <cstring>

using namespace QZML;

namespace {

std::uint32_t Addr(int a0, int a1, int a2, int a3) {
  const std::uint8_t bytes[4] = {std::uint8_t(a0), std::uint8_t(a1), std::uint8_t(a2), std::uint8_t(a3)};
  return PackAddress(bytes);
}

TEST(ParameterAddress, AreaBoundaries) {
  CParameterAddress pa;
  EXPECT_EQ(pa.GetAreaType(0x1000000 - 1), AREA_NONE);
  EXPECT_EQ(pa.GetAreaType(0x1000000), AREA_USER);
  EXPECT_EQ(pa.GetAreaType(0x1400000 - 1), AREA_USER);
  EXPECT_EQ(pa.GetAreaType(0x1400000), AREA_NONE);
  EXPECT_EQ(pa.GetAreaType(0x1A00000), AREA_TEMPORARY);
  EXPECT_EQ(pa.GetAreaType(0x1C00000 - 1), AREA_TEMPORARY);
  EXPECT_EQ(pa.GetAreaType(0x1C00000), AREA_NONE);
  EXPECT_EQ(pa.GetPatchIndex(0x1400000, AREA_NONE), -1);
  EXPECT_EQ(pa.GetDescription(AREA_NONE, 0, BLOCK_FX1, 0), "");
  EXPECT_EQ(pa.GetAreaAddress(AREA_TEMPORARY), Addr(0x0D, 0, 0, 0));
  EXPECT_EQ(pa.GetAreaAddress(AREA_USER), Addr(0x08, 0, 0, 0));
}

TEST(ParameterAddress, PatchAddressesCrossTheSevenBitBoundary) {
  CParameterAddress pa;
  EXPECT_EQ(pa.GetPatchAddress(AREA_USER, 127), Addr(0x08, 0x7F, 0, 0));
  EXPECT_EQ(pa.GetPatchAddress(AREA_USER, 128), Addr(0x09, 0x00, 0, 0));
  EXPECT_EQ(pa.GetBlockAddress(AREA_USER, 128, BLOCK_NAME), Addr(0x09, 0x00, 0x12, 0x00));
  EXPECT_EQ(pa.GetPatchAddress(AREA_USER, 199), Addr(0x09, 0x47, 0, 0));
  EXPECT_EQ(pa.GetPatchAddress(AREA_USER, 139), Addr(0x09, 0x0B, 0, 0));
  EXPECT_EQ(pa.GetPatchIndex(Addr(0x09, 0x00, 0x12, 0x00), AREA_USER), 128);
  // The temporary patch has no stride: any patch number gives its one address.
  EXPECT_EQ(pa.GetPatchAddress(AREA_TEMPORARY, 5), 0x1A00000u);
  // A kind other than patch data has no blocks.
  EXPECT_EQ(pa.GetBlockAddress(0x22, 1, BLOCK_NAME), pa.GetPatchAddress(0x22, 1));
  EXPECT_EQ(pa.GetBlockAddress(AREA_USER, 1, 0x1A01), pa.GetPatchAddress(AREA_USER, 1));
}

TEST(ParameterAddress, EveryBlockRoundTripsThroughItsAddress) {
  CParameterAddress pa;
  for (int area : {AREA_USER, AREA_TEMPORARY}) {
    for (int i = 0; i < kBlockCount; ++i) {
      const CBlockInstance& b = BlockInstance(i);
      std::uint32_t address = pa.GetParameterAddress(area, 130, b.kind->id, b.sub);
      int patch = pa.GetPatchIndex(address, pa.GetAreaType(address));
      EXPECT_EQ(pa.GetBlockId(address, area, patch), b.kind->id) << i;
      EXPECT_EQ(pa.GetSubIndex(address, area, patch, b.kind->id), b.sub) << i;
    }
  }
}

TEST(ParameterAddress, RowsAndGroups) {
  CParameterAddress pa;
  // FX2 runs over two rows: 09 00 .. 0A 5B.
  std::uint32_t fx2Row2 = Addr(0x08, 0x00, 0x0A, 0x10);
  EXPECT_EQ(pa.GetBlockId(fx2Row2, AREA_USER, 0), BLOCK_FX2);
  EXPECT_EQ(pa.GetSubIndex(fx2Row2, AREA_USER, 0, BLOCK_FX2), 0);
  // Assign 12 of the QZ-MAX group at row 2B.
  std::uint32_t assign = Addr(0x08, 0x00, 0x2B, 0x00);
  EXPECT_EQ(pa.GetBlockId(assign, AREA_USER, 0), BLOCK_ASSIGN_QZMAX);
  EXPECT_EQ(pa.GetSubIndex(assign, AREA_USER, 0, BLOCK_ASSIGN_QZMAX), 11);
  EXPECT_EQ(pa.GetDescription(AREA_USER, 0, BLOCK_ASSIGN_QZMAX, 11), "User Patch 1: PATCH ASSIGN 12");
  EXPECT_EQ(pa.GetDescription(AREA_USER, 0, BLOCK_ASSIGN_QZ5, 0), "User Patch 1: PATCH ASSIGN 1");
  EXPECT_EQ(pa.GetDescription(AREA_USER, 2, BLOCK_FX1, 0), "User Patch 3: PATCH FX1");
  EXPECT_EQ(pa.GetDescription(AREA_TEMPORARY, 0, BLOCK_NAME, 0), "Temporary Patch: PATCH NAME");
  // Row 1F is empty and belongs to INPUT SENS's range; anything past 2D maps to the last kind.
  EXPECT_EQ(pa.GetBlockId(Addr(0x08, 0x00, 0x1F, 0x00), AREA_USER, 0), BLOCK_ASSIGN_INPUT_SENS);
  EXPECT_EQ(pa.GetBlockId(Addr(0x08, 0x00, 0x7F, 0x7F), AREA_USER, 0), BLOCK_ASSIGN_CC7);
  EXPECT_EQ(pa.GetSubIndex(0, AREA_USER, 0, 0x1A01), -1);
  EXPECT_EQ(pa.GetBlockId(Addr(0x08, 0, 0, 0), 0x20, 0), 0);
}

TEST(ParameterAddress, SizesAndSetsFollowTheTargetModel) {
  CParameterAddress pa;
  {
    CTargetModelScope model(MODEL_QZMAX);
    EXPECT_EQ(pa.GetBlockSize(AREA_USER, BLOCK_LOOP_FX), 13);
    EXPECT_EQ(pa.GetBlockSize(AREA_USER, BLOCK_MASTER), 10);
    int requests = 0;
    for (int i = 0; i < kBlockCount; ++i)
      requests += CParameterAddress::IsRead(BlockInstance(i).kind->id);
    EXPECT_EQ(requests, 32);
    EXPECT_FALSE(CParameterAddress::IsRead(BLOCK_CTL_PEDAL));
    EXPECT_TRUE(CParameterAddress::IsWritten(BLOCK_CTL_PEDAL));
    EXPECT_FALSE(CParameterAddress::IsWritten(BLOCK_ASSIGN_QZ5));
  }
  {
    CTargetModelScope model(MODEL_QZ5);
    EXPECT_EQ(pa.GetBlockSize(AREA_USER, BLOCK_LOOP_FX), 5);
    EXPECT_EQ(pa.GetBlockSize(AREA_TEMPORARY, BLOCK_MASTER), 9);
    EXPECT_FALSE(CParameterAddress::IsRead(BLOCK_PRE_LOOP_FX));
    EXPECT_TRUE(CParameterAddress::IsRead(BLOCK_ASSIGN_QZ5));
    EXPECT_FALSE(CParameterAddress::IsWritten(BLOCK_ASSIGN_EXP1));
  }
  EXPECT_EQ(pa.GetBlockSize(0x20, BLOCK_FX1), 0);
  EXPECT_EQ(pa.GetBlockSize(AREA_USER, 0x1A01), 0);
}

TEST(ParameterAddress, StoreDataFilesBlocksMapsNamesAndClearsMemos) {
  CParameterAddress pa;
  CPatchArray patches;
  patches.Resize(3);
  CPatch* patch = patches.Get(2);
  patch->Memo1 = "a";
  patch->Memo4 = "d";

  // Name with the unit's two special codes at the end.
  std::uint8_t name[16];
  std::memcpy(name, "HELLO WORLD   ", 14);
  name[14] = 0x7E;
  name[15] = 0x7F;
  ASSERT_TRUE(pa.StoreData(pa.GetBlockAddress(AREA_USER, 2, BLOCK_NAME), name, 16, &patches, 0));
  EXPECT_EQ(patch->GetName(), "HELLO WORLD   }{");
  EXPECT_EQ(patch->Memo1, "a");  // other blocks keep memos

  std::uint8_t fx[200];
  std::memset(fx, 0x11, sizeof fx);
  // More bytes than the block holds are cut to the block.
  ASSERT_TRUE(pa.StoreData(pa.GetBlockAddress(AREA_USER, 2, BLOCK_FX1), fx, sizeof fx, &patches, 0));
  EXPECT_TRUE(patch->Memo1.empty());
  EXPECT_TRUE(patch->Memo4.empty());
  CBlockRef block = patch->GetBlock(BLOCK_FX1, 0);
  EXPECT_EQ(block.data[129], 0x11);
  EXPECT_EQ(patch->GetBlock(BLOCK_COMP, 0).data[0], CPatch::DefaultImage()[130]);

  // The temporary area goes to the caller's slot.
  std::uint8_t one = 0x55;
  ASSERT_TRUE(pa.StoreData(pa.GetBlockAddress(AREA_TEMPORARY, 0, BLOCK_AMP_CTL_SW), &one, 1, &patches, 1));
  EXPECT_EQ(patches.Get(1)->GetBlock(BLOCK_AMP_CTL_SW, 0).data[0], 0x55);

  // Outside both areas, past the array, a missing array: nothing stored.
  EXPECT_FALSE(pa.StoreData(0x1400000, &one, 1, &patches, 0));
  EXPECT_FALSE(pa.StoreData(pa.GetPatchAddress(AREA_USER, 3), &one, 1, &patches, 0));
  EXPECT_FALSE(pa.StoreData(pa.GetPatchAddress(AREA_USER, 0), &one, 1, nullptr, 0));
  // An assign sub index past its group (row 1D + 0x80 lands in row 1E, INPUT SENS) still files safely.
  EXPECT_FALSE(pa.StoreBlock(0, BLOCK_ASSIGN_QZ5, 8, &one, 1, &patches));
}

TEST(ParameterAddress, GetBlockDataFallsBackToFx1) {
  CParameterAddress pa;
  CPatchArray patches;
  patches.Resize(1);
  EXPECT_EQ(pa.GetBlockData(0, 0x7701, 0, &patches).data, patches.Get(0)->GetBlock(BLOCK_FX1, 0).data);
  EXPECT_EQ(pa.GetBlockData(0, BLOCK_ASSIGN_QZMAX, 11, &patches).size, 17);
  EXPECT_FALSE(pa.GetBlockData(1, BLOCK_FX1, 0, &patches));
}

} // namespace
