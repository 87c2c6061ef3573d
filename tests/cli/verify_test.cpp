#include <gtest/gtest.h>

#include "cli/verify.h"
#include "model/appstate.h"

using QZCli::CompareWritten;
using QZCli::CVerifyItem;

namespace {

QZML::CPatchArray Patches(int count) {
  QZML::CPatchArray patches;
  patches.Resize(static_cast<std::size_t>(count));
  return patches;
}

void Poke(QZML::CPatchArray& patches, int row, int blockId, int sub, int offset, std::uint8_t value) {
  QZML::CBlockRef block = patches.Get(static_cast<std::size_t>(row))->GetBlock(blockId, sub);
  ASSERT_TRUE(block);
  ASSERT_LT(offset, block.size);
  block.data[offset] = value;
}

} // namespace

TEST(Verify, ReportsEachDifferingBlockOfEachPatchByItsDescription) {
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  QZML::CPatchArray written = Patches(5), readBack = Patches(200);
  std::vector<CVerifyItem> items{{1, 1, 1}, {4, 4, 4}};
  EXPECT_TRUE(CompareWritten(QZML::AREA_USER, items, written, readBack).empty());

  Poke(readBack, 1, QZML::BLOCK_FX1, 0, 0, 0x55);
  Poke(readBack, 1, QZML::BLOCK_ASSIGN_QZMAX, 11, 16, 0x02);
  Poke(readBack, 4, QZML::BLOCK_NAME, 0, 15, 'x');
  // Row 2 was not written: a difference there is none of the writer's business.
  Poke(readBack, 2, QZML::BLOCK_FX1, 0, 0, 0x55);
  EXPECT_EQ(CompareWritten(QZML::AREA_USER, items, written, readBack),
            (std::vector<std::string>{"User Patch 2: PATCH FX1", "User Patch 2: PATCH ASSIGN 12",
                                      "User Patch 5: PATCH NAME"}));
}

TEST(Verify, ComparesOnlyBlocksBothWrittenAndReadOverTheExchangedBytes) {
  QZML::CPatchArray written = Patches(1), readBack = Patches(1);
  std::vector<CVerifyItem> items{{0, 0, 0}};
  {
    // The QZ-MAX writes the pedal blocks but never reads them back.
    QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
    Poke(readBack, 0, QZML::BLOCK_CTL_PEDAL, 0, 0, 0x33);
    EXPECT_TRUE(CompareWritten(QZML::AREA_TEMPORARY, items, written, readBack).empty());
  }
  {
    // The QZ-5 reads them, and the QZ-MAX-only assigns 9 to 12 are no QZ-5 blocks.
    QZML::CTargetModelScope model(QZML::MODEL_QZ5);
    Poke(readBack, 0, QZML::BLOCK_ASSIGN_QZMAX, 11, 0, 0x33);
    EXPECT_EQ(CompareWritten(QZML::AREA_TEMPORARY, items, written, readBack),
              (std::vector<std::string>{"Temporary Patch: PATCH CTL PEDAL"}));
  }
}

TEST(Verify, ANameWithTheUnitsBraceCodesReadsBackTheSame) {
  // A name byte 0x7E goes out unchanged and a read gives it back as '}': no false alarm.
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  QZML::CPatchArray written = Patches(1), readBack = Patches(1);
  Poke(written, 0, QZML::BLOCK_NAME, 0, 3, 0x7E);
  Poke(written, 0, QZML::BLOCK_NAME, 0, 4, 0x7F);
  Poke(readBack, 0, QZML::BLOCK_NAME, 0, 3, '}');
  Poke(readBack, 0, QZML::BLOCK_NAME, 0, 4, '{');
  EXPECT_TRUE(CompareWritten(QZML::AREA_USER, {{0, 0, 0}}, written, readBack).empty());
  Poke(readBack, 0, QZML::BLOCK_NAME, 0, 4, '}');
  EXPECT_EQ(CompareWritten(QZML::AREA_USER, {{0, 0, 0}}, written, readBack),
            (std::vector<std::string>{"User Patch 1: PATCH NAME"}));
}

TEST(Verify, AMissingPatchDiffersEverywhere) {
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  QZML::CPatchArray written = Patches(1), readBack = Patches(0);
  auto differences = CompareWritten(QZML::AREA_USER, {{0, 7, 0}}, written, readBack);
  EXPECT_GT(differences.size(), 20u);
  EXPECT_EQ(differences.front(), "User Patch 1: PATCH FX1");
}
