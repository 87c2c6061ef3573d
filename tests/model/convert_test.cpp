#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "model/appstate.h"
#include "model/convert.h"
#include "model/patch.h"

using namespace QZML;

namespace {

using CImage = std::array<std::uint8_t, kPatchImageSize>;

CImage DefaultImage() { return CPatch::DefaultImage(); }

void SetTarget(CImage& image, int assignOffset, unsigned target) {
  image[static_cast<std::size_t>(assignOffset + 2)] = static_cast<std::uint8_t>(target >> 7);
  image[static_cast<std::size_t>(assignOffset + 3)] = static_cast<std::uint8_t>(target & 0x7F);
}

unsigned GetTarget(const CImage& image, int assignOffset) {
  return image[static_cast<std::size_t>(assignOffset + 2)] * 128u + image[static_cast<std::size_t>(assignOffset + 3)];
}

CImage ToQzMax(const CImage& source) {
  CImage result{};
  ConvertPatchToQZMAX(source.data(), result.data());
  return result;
}

CImage ToQz5(const CImage& source) {
  CImage result{};
  ConvertPatchToQZ5(source.data(), result.data());
  return result;
}

constexpr int kQz5Assign0 = kOffsetAssignsQz5;
constexpr int kQzMaxAssign0 = kOffsetAssignsQzMax;
constexpr int kQzMaxAssign11 = kOffsetAssignsQzMax + 10 * kAssignSize;
constexpr int kQzMaxAssign12 = kOffsetAssignsQzMax + 11 * kAssignSize;

TEST(ConvertTables, OffsetsAgreeWithTheBlockTable) {
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_NAME, 0)).flatOffset, kOffsetName);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_CTL_PEDAL, 0)).flatOffset, kOffsetCtlPedal);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_EXP_PEDAL_SW, 0)).flatOffset, kOffsetExpPedalSw);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_EXP_PEDAL, 0)).flatOffset, kOffsetExpPedal);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_ASSIGN_QZ5, 0)).flatOffset, kOffsetAssignsQz5);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_ASSIGN_QZMAX, 0)).flatOffset, kOffsetAssignsQzMax);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_ASSIGN_QZMAX, 11)).flatOffset, 857);
  EXPECT_EQ(BlockInstance(FindBlockInstance(BLOCK_ASSIGN_EXP1, 0)).flatOffset, kOffsetAssignExp1);
}

// The two target tables and the two byte-8 tables undo each other over the QZ-5 ranges, which checks
// every row against its partner.
TEST(ConvertTables, RenumberingIsReversible) {
  for (unsigned v = 0; v <= 480; ++v) {
    bool none = false;
    unsigned there = MapRange(kTargetToQzMax, 7, v, nullptr);
    EXPECT_EQ(MapRange(kTargetToQz5, 13, there, &none), v) << v;
    EXPECT_FALSE(none) << v;
  }
  for (unsigned v = 0; v <= 71; ++v)
    EXPECT_EQ(MapRange(kByte8ToQz5, 6, MapRange(kByte8ToQzMax, 6, v, nullptr), nullptr), v) << v;
  // Values no row holds stay; rows without counterpart clear but keep the value.
  EXPECT_EQ(MapRange(kTargetToQzMax, 7, 481, nullptr), 481u);
  EXPECT_EQ(MapRange(kByte8ToQz5, 6, 74, nullptr), 74u);
  bool none = false;
  EXPECT_EQ(MapRange(kTargetToQz5, 13, 486, &none), 486u);
  EXPECT_TRUE(none);
  EXPECT_EQ(kPedalFunctionTargets[3], 129);
  EXPECT_EQ(kPedalFunctionTargets[29], 492);
}

TEST(Convert, AssignTargetsBothWays) {
  CImage qz5 = DefaultImage();
  SetTarget(qz5, kQz5Assign0, 150);
  SetTarget(qz5, kQz5Assign0 + 7 * kAssignSize, 464);
  qz5[kQz5Assign0 + 8] = 2;
  CImage max = ToQzMax(qz5);
  EXPECT_EQ(GetTarget(max, kQzMaxAssign0), 158u);
  EXPECT_EQ(GetTarget(max, kQzMaxAssign0 + 7 * kAssignSize), 474u);
  EXPECT_EQ(max[kQzMaxAssign0 + 8], 0);
  // Assigns 9 and 10 keep the source's bytes.
  EXPECT_EQ(std::memcmp(max.data() + 806, qz5.data() + 806, 34), 0);
  CImage back = ToQz5(max);
  EXPECT_EQ(GetTarget(back, kQz5Assign0), 150u);
  EXPECT_EQ(back[kQz5Assign0 + 8], 2);

  CImage source = DefaultImage();
  source[kQzMaxAssign0] = 1;
  SetTarget(source, kQzMaxAssign0, 143);
  source[kQzMaxAssign0 + kAssignSize] = 1;
  SetTarget(source, kQzMaxAssign0 + kAssignSize, 160);
  CImage qz = ToQz5(source);
  EXPECT_EQ(qz[kQz5Assign0], 0);
  EXPECT_EQ(GetTarget(qz, kQz5Assign0), 143u);
  EXPECT_EQ(qz[kQz5Assign0 + kAssignSize], 1);
  EXPECT_EQ(GetTarget(qz, kQz5Assign0 + kAssignSize), 152u);
}

TEST(Convert, PedalsToQzMax) {
  CImage qz5 = DefaultImage();
  qz5[kOffsetCtlPedal] = 0x01;
  qz5[kOffsetCtlPedal + 1] = 0x03;
  qz5[kOffsetExpPedalSw] = 0x00;
  qz5[kOffsetExpPedalSw + 1] = 29;
  qz5[kOffsetExpPedal] = 0x11;
  qz5[kOffsetExpPedal + 1] = 0x22;
  qz5[kOffsetExpPedal + 2] = 0x33;
  qz5[0x7E] = 0x7E;
  qz5[kOffsetName] = 0x7F;
  qz5[kOffsetName + 15] = 0x7E;
  CImage max = ToQzMax(qz5);

  const std::uint8_t ctl[12] = {0x01, qz5[kQzMaxAssign12 + 1], 0x01, 0x01, 0, 0, 0, 1, 1, 1, 0, 127};
  EXPECT_EQ(std::memcmp(max.data() + kQzMaxAssign12, ctl, sizeof ctl), 0);
  EXPECT_EQ(std::memcmp(max.data() + kQzMaxAssign12 + 12, qz5.data() + kQzMaxAssign12 + 12, 5), 0);
  const std::uint8_t sw[12] = {0x00, qz5[kQzMaxAssign11 + 1], 0x03, 0x6C, 0, 0, 0, 1, 2, 1, 0, 127};  // 492
  EXPECT_EQ(std::memcmp(max.data() + kQzMaxAssign11, sw, sizeof sw), 0);
  EXPECT_EQ(max[kOffsetAssignExp1], 0x11);
  EXPECT_EQ(max[kOffsetAssignExp1 + 2], 0x33);
  EXPECT_EQ(max[kOffsetName], '{');
  EXPECT_EQ(max[kOffsetName + 15], '}');
  EXPECT_EQ(max[0x7E], 0x7E);  // only the name is mapped
}

TEST(Convert, PedalsToQz5) {
  CImage max = DefaultImage();
  max[kQzMaxAssign12] = 1;
  SetTarget(max, kQzMaxAssign12, 129);
  max[kQzMaxAssign12 + 8] = 3;  // a mode no pedal has
  max[kQzMaxAssign11] = 0;
  SetTarget(max, kQzMaxAssign11, 476);
  max[kQzMaxAssign11 + 8] = 7;
  max[kOffsetAssignExp1 + 2] = 0x55;
  max[kOffsetName] = 0x7F;
  CImage qz5 = ToQz5(max);
  EXPECT_EQ(qz5[kOffsetCtlPedal], max[kOffsetCtlPedal]);
  EXPECT_EQ(qz5[kOffsetCtlPedal + 1], max[kOffsetCtlPedal + 1]);
  EXPECT_EQ(qz5[kOffsetExpPedalSw], 0);
  EXPECT_EQ(qz5[kOffsetExpPedalSw + 1], 14);
  EXPECT_EQ(qz5[kOffsetExpPedal + 2], 0x55);
  EXPECT_EQ(qz5[kOffsetName], 0x7F);  // not mapped in this direction

  // A target that is no pedal function leaves the pedal as well.
  max[kQzMaxAssign12 + 8] = 1;
  SetTarget(max, kQzMaxAssign12, 130);
  qz5 = ToQz5(max);
  EXPECT_EQ(qz5[kOffsetCtlPedal + 1], max[kOffsetCtlPedal + 1]);
  SetTarget(max, kQzMaxAssign12, 0);
  qz5 = ToQz5(max);
  EXPECT_EQ(qz5[kOffsetCtlPedal], 1);
  EXPECT_EQ(qz5[kOffsetCtlPedal + 1], 2);
}

TEST(Convert, RoundTripGivesThePedalsBackAndLeavesOtherBlocks) {
  for (int function = 0; function < kPedalFunctionCount; ++function) {
    CImage qz5 = DefaultImage();
    for (std::size_t i = 0; i < qz5.size(); ++i)
      qz5[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(function)) & 0x3F);
    qz5[kOffsetCtlPedal + 1] = static_cast<std::uint8_t>(function);
    qz5[kOffsetExpPedalSw + 1] = static_cast<std::uint8_t>(29 - function);
    CImage max = ToQzMax(qz5);
    CImage back = ToQz5(max);
    EXPECT_EQ(std::memcmp(back.data() + kOffsetCtlPedal, qz5.data() + kOffsetCtlPedal, 7), 0) << function;
    // Everything before the name and between the assign groups passes both ways untouched.
    EXPECT_EQ(std::memcmp(max.data(), qz5.data(), kOffsetName), 0);
    EXPECT_EQ(std::memcmp(back.data(), qz5.data(), kOffsetName), 0);
    EXPECT_EQ(max[669], qz5[669]);
    EXPECT_EQ(back[669], qz5[669]);
    EXPECT_EQ(std::memcmp(max.data() + 877, qz5.data() + 877, 3), 0);
  }
}

TEST(Convert, PedalFunctionBeyondTheTableKeepsTheAssign) {
  CImage qz5 = DefaultImage();
  qz5[kOffsetCtlPedal + 1] = 30;
  qz5[kOffsetExpPedalSw + 1] = 0xFF;
  CImage max = ToQzMax(qz5);
  EXPECT_EQ(std::memcmp(max.data() + kQzMaxAssign11, qz5.data() + kQzMaxAssign11, 2 * kAssignSize), 0);
  EXPECT_EQ(max[kOffsetCtlPedal + 1], 30);
}

TEST(Convert, ArrayFollowsTheDirectionOnly) {
  CPatchArray patches;
  patches.Resize(2);
  patches.Get(1)->Image()[kOffsetAssignsQz5 + 3] = 22;
  patches.Get(1)->Image()[kOffsetAssignsQz5 + 2] = 1;  // target 150
  patches.Get(1)->Memo1 = "kept";
  CPatchArray original = patches;
  for (int direction : {0, 3, -1}) {
    ConvertArray(patches, static_cast<EConversion>(direction));
    for (std::size_t i = 0; i < 2; ++i)
      EXPECT_EQ(std::memcmp(patches.Get(i)->Image(), original.Get(i)->Image(), kPatchImageSize), 0);
  }
  ConvertArray(patches, CONVERT_TO_QZMAX);
  CImage expected = ToQzMax(*reinterpret_cast<const CImage*>(original.Get(1)->Image()));
  EXPECT_EQ(std::memcmp(patches.Get(1)->Image(), expected.data(), kPatchImageSize), 0);
  EXPECT_EQ(patches.Get(1)->Memo1, "kept");
  ConvertArray(patches, CONVERT_TO_QZ5);
  EXPECT_EQ(patches.Get(1)->Image()[kOffsetAssignsQz5 + 3], 22);
}

} // namespace
