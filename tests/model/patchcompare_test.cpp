// Comparing two patches block by block, and finding the groups of equal patches of a list.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "fakes.h"
#include "model/appstate.h"
#include "model/convert.h"
#include "model/patchcompare.h"

using namespace QZML;

namespace {

CPatch RandomPatch(unsigned seed, const std::string& name) {
  CPatch patch;
  std::mt19937 random(seed);
  for (int i = 0; i < kPatchImageSize; ++i)
    patch.Image()[i] = static_cast<std::uint8_t>(random() & 0x7F);
  patch.SetName(name);
  return patch;
}

std::uint8_t& At(CPatch& patch, int blockId, int sub, int offset) { return patch.GetBlock(blockId, sub).data[offset]; }

CPatchArray Library(const std::vector<CPatch>& patches) {
  CPatchArray array;
  for (const CPatch& patch : patches)
    array.Add(std::make_unique<CPatch>(patch));
  return array;
}

} // namespace

TEST(PatchCompare, OneFx1ByteNamesItsBlockOffsetAndValues) {
  CTargetModelScope model(MODEL_QZMAX);
  const CPatch a = RandomPatch(1, "Lead");
  CPatch b = a;
  EXPECT_TRUE(ComparePatches(a, b).Equal());
  EXPECT_EQ(DescribeDifferences(ComparePatches(a, b)), std::vector<std::string>{"The patches are identical."});

  At(b, BLOCK_FX1, 0, 12) = static_cast<std::uint8_t>(At(b, BLOCK_FX1, 0, 12) ^ 0x40);
  const CPatchDifferences differences = ComparePatches(a, b);
  ASSERT_EQ(differences.blocks.size(), 1u);
  EXPECT_TRUE(differences.texts.empty());
  const CBlockDifference& block = differences.blocks[0];
  EXPECT_EQ(block.blockId, BLOCK_FX1);
  ASSERT_EQ(block.bytes.size(), 1u);
  EXPECT_EQ(block.bytes[0].offset, 12);
  const std::string values = std::to_string(a.Image()[12]) + " / " + std::to_string(b.Image()[12]);
  EXPECT_EQ(DescribeDifferences(differences),
            (std::vector<std::string>{"PATCH FX1: 1 of 130 bytes differs", "  offset 12: " + values}));
  EXPECT_EQ(SummarizeDifferences(differences), "PATCH FX1");
}

TEST(PatchCompare, BlocksByTheirOwnTextsThenNameAndMemosWithTheListingCapped) {
  CTargetModelScope model(MODEL_QZMAX);
  const CPatch a = RandomPatch(2, "Crunch");
  CPatch b = a;
  for (int offset = 0; offset < 20; ++offset)
    At(b, BLOCK_FX2, 0, offset) = static_cast<std::uint8_t>(At(b, BLOCK_FX2, 0, offset) ^ 1);
  At(b, BLOCK_ASSIGN_QZMAX, 2, 16) ^= 1;
  b.SetName("Crunch 2");
  b.Memo2 = "live";
  const std::vector<std::string> lines = DescribeDifferences(ComparePatches(a, b), 3);
  const std::vector<std::string> expected = {
      "PATCH FX2: 20 of 220 bytes differ",
      "  offset 0: " + std::to_string(a.Image()[219]) + " / " + std::to_string(b.Image()[219]),
      "  offset 1: " + std::to_string(a.Image()[220]) + " / " + std::to_string(b.Image()[220]),
      "  offset 2: " + std::to_string(a.Image()[221]) + " / " + std::to_string(b.Image()[221]),
      "  ... 17 more",
      "PATCH ASSIGN 3: 1 of 17 bytes differs",
      "  ... 1 more",
      "Name: \"Crunch\" / \"Crunch 2\"",
      "Memo2: \"\" / \"live\"",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(SummarizeDifferences(ComparePatches(a, b)), "PATCH FX2, PATCH ASSIGN 3, Name, Memo2");
}

TEST(PatchCompare, OnlyWhatTheTargetModelSendsCounts) {
  const CPatch a = RandomPatch(3, "Model");
  CPatch b = a;
  At(b, BLOCK_ASSIGN_QZ5, 0, 0) ^= 1; // QZ-5 data only
  At(b, BLOCK_LOOP_FX, 0, 10) ^= 1;   // past the QZ-5's 5 bytes
  {
    CTargetModelScope model(MODEL_QZMAX);
    const CPatchDifferences differences = ComparePatches(a, b);
    ASSERT_EQ(differences.blocks.size(), 1u);
    EXPECT_EQ(differences.blocks[0].text, "PATCH LOOP FX");
    EXPECT_EQ(differences.blocks[0].size, 13);
  }
  {
    CTargetModelScope model(MODEL_QZ5);
    const CPatchDifferences differences = ComparePatches(a, b);
    ASSERT_EQ(differences.blocks.size(), 1u);
    EXPECT_EQ(differences.blocks[0].text, "PATCH ASSIGN 1");
    At(b, BLOCK_ASSIGN_QZ5, 0, 0) ^= 1;
    EXPECT_TRUE(ComparePatches(a, b).Equal());
  }
}

TEST(PatchCompare, TwoModelsAreComparedOnlyOnceConverted) {
  qztest::CAppStateGuard guard;
  CTargetModelScope model(MODEL_QZMAX);
  const CPatch qz5 = RandomPatch(4, "From a QZ-5");
  CPatch qzmax = qz5;
  ConvertPatchToQZMAX(qz5.Image(), qzmax.Image());
  CPatchDifferences differences;

  guard.messageBox.answer = ANSWER_NO;
  EXPECT_FALSE(ComparePatchesOfModels(qzmax, kModelOfTarget, qz5, MODEL_QZ5, differences));
  ASSERT_EQ(guard.messageBox.asked.size(), 1u);
  EXPECT_EQ(guard.messageBox.asked[0].code, QUESTION_CONVERT_TO_QZMAX);
  guard.messageBox.answer = ANSWER_YES;
  ASSERT_TRUE(ComparePatchesOfModels(qz5, MODEL_QZ5, qzmax, MODEL_QZMAX, differences));
  EXPECT_TRUE(differences.Equal());

  // Two patches of one model, even the other one, need no question.
  CPatch other = qz5;
  At(other, BLOCK_ASSIGN_QZ5, 7, 5) ^= 1;
  ASSERT_TRUE(ComparePatchesOfModels(qz5, MODEL_QZ5, other, MODEL_QZ5, differences));
  ASSERT_EQ(differences.blocks.size(), 1u);
  EXPECT_EQ(differences.blocks[0].text, "PATCH ASSIGN 8");
  EXPECT_EQ(guard.messageBox.asked.size(), 2u);
}

TEST(Duplicates, ThreeGroupsNameAndMemosIgnoredUnlessTheNameIsAsked) {
  CTargetModelScope model(MODEL_QZMAX);
  const CPatch lead = RandomPatch(10, "Lead");
  const CPatch clean = RandomPatch(11, "Clean");
  CPatch leadCopy = lead;
  leadCopy.SetName("Lead copy");
  leadCopy.Memo1 = "from the gig";
  CPatch cleanCopy = clean;
  At(cleanCopy, BLOCK_ASSIGN_QZ5, 4, 3) ^= 1; // never sent to a QZ-MAX
  CPatch almost = lead;
  At(almost, BLOCK_ASSIGN_CC7, 0, 2) ^= 1;
  const CPatch init;

  // Rows: 0 lead, 1 clean, 2 init, 3 leadCopy, 4 almost, 5 init, 6 cleanCopy, 7 lead, 8 unique
  const CPatchArray library =
      Library({lead, clean, init, leadCopy, almost, init, cleanCopy, lead, RandomPatch(12, "Unique")});
  const std::vector<CDuplicateGroup> groups = FindDuplicates(library);
  EXPECT_EQ(groups, (std::vector<CDuplicateGroup>{{0, 3, 7}, {1, 6}, {2, 5}}));
  EXPECT_EQ(LaterDuplicates(groups), (std::vector<int>{3, 5, 6, 7}));

  // With the name: "Lead copy" leaves its group.
  EXPECT_EQ(FindDuplicates(library, true), (std::vector<CDuplicateGroup>{{0, 7}, {1, 6}, {2, 5}}));
  EXPECT_TRUE(FindDuplicates(Library({lead, clean, almost})).empty());
  // As QZ-5 data the QZ-5 assigns count, the QZ-MAX's "PATCH ASSIGN CC#7" does not.
  EXPECT_EQ(FindDuplicates(library, false, MODEL_QZ5), (std::vector<CDuplicateGroup>{{0, 3, 4, 7}, {2, 5}}));
  EXPECT_TRUE(FindDuplicates(CPatchArray()).empty());
}

TEST(Duplicates, ATenThousandPatchListGroupsEveryCopy) {
  CTargetModelScope model(MODEL_QZMAX);
  // 100 distinct sounds, each 100 times in rows i, i + 100, i + 200, ...
  std::vector<CPatch> sounds;
  for (unsigned i = 0; i < 100; ++i)
    sounds.push_back(RandomPatch(100 + i, "Sound " + std::to_string(i)));
  CPatchArray library;
  for (int row = 0; row < 10000; ++row)
    library.Add(std::make_unique<CPatch>(sounds[static_cast<std::size_t>(row % 100)]));
  const std::vector<CDuplicateGroup> groups = FindDuplicates(library);
  ASSERT_EQ(groups.size(), 100u);
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(groups[static_cast<std::size_t>(i)].size(), 100u);
    EXPECT_EQ(groups[static_cast<std::size_t>(i)].front(), i);
    EXPECT_EQ(groups[static_cast<std::size_t>(i)].back(), 9900 + i);
  }
  EXPECT_EQ(LaterDuplicates(groups).size(), 9900u);
}
