#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "import/importcommon.h"
#include "import/zklimporter.h"
#include "tests/import/builders.h"
#include "textout/textout.h"

using namespace QZML;
using namespace testimport;

namespace {

// Converts a ZK-40 image and returns the QZ-MAX image.
std::vector<std::uint8_t> Convert(const ZklRecord& r) {
  std::vector<std::uint8_t> q(kPatchImageSize);
  CZKLImporter::ConvertImage(r.image.data(), q.data());
  return q;
}

int Pair(const std::vector<std::uint8_t>& q, int at) { return q[at] * 128 + q[at + 1]; }

TEST(ZKLPatch, DefaultsNamesAndClones) {
  CZKLPatch patch;
  EXPECT_EQ(patch.GetName(), "INIT PATCH      ");
  patch.SetName("a\tb~\x7F and more than sixteen");
  EXPECT_EQ(patch.GetName(), "a\tb~\x7F and more t"); // copied unchanged, cut at 16
  patch.Memo2 = "memo";
  std::unique_ptr<CParameter> copy = patch.Clone();
  patch.SetName("changed");
  EXPECT_EQ(copy->GetName(), "a\tb~\x7F and more t");
  EXPECT_EQ(copy->Memo2, "memo");
  EXPECT_EQ(copy->GetStoredSize(), 4u + 4u); // the base's: memo lengths plus terminators
  patch.Initialize();
  EXPECT_EQ(patch.GetName(), "INIT PATCH      ");
  EXPECT_TRUE(patch.Memo2.empty());
}

TEST(ZKLPatch, RecordBlocksAreCutToTheirSizeAndNeverReadPastTheBody) {
  ZklRecord r = ZklPatch("Name");
  r.memos[0] = "m1";
  r.memos[2] = "m3";
  Bytes body = ZklBody(r);
  // Block 2 (3 bytes) stored with 5: the extra two are skipped, the following blocks still line up.
  std::size_t block2 = 4 + 54;
  body[block2 + 3] = 5;
  body.insert(body.begin() + static_cast<long>(block2 + 4), {9, 8, 7, 6, 5});
  body.erase(body.begin() + static_cast<long>(block2 + 4 + 5), body.begin() + static_cast<long>(block2 + 4 + 8));
  CZKLPatch patch;
  patch.ReadRecord(body.data(), body.size());
  EXPECT_EQ(patch.GetName(), "Name            ");
  EXPECT_EQ(patch.Image()[54], 9);
  EXPECT_EQ(patch.Image()[56], 7);
  EXPECT_EQ(patch.Memo1, "m1");
  EXPECT_EQ(patch.Memo3, "m3");
  // A body cut inside block 1 keeps the defaults behind it.
  CZKLPatch cut;
  cut.ReadRecord(body.data(), 20);
  EXPECT_EQ(cut.GetName(), "INIT PATCH      ");
}

TEST(ZKLImport, EmptyFileGivesNoPatches) {
  CZKLImporter importer;
  Bytes file = ZklFile({});
  ASSERT_TRUE(importer.Import(file.data(), file.size()));
  EXPECT_TRUE(importer.GetPatches().empty());
}

TEST(ZKLImport, NamesAndMemosCarryOverInFileOrder) {
  ZklRecord a = ZklPatch("First Patch");
  a.memos[0] = "Memo one";
  a.memos[3] = "four";
  ZklRecord b = ZklPatch("Second}{");
  b.memos[1] = "two, with spaces";
  Bytes file = ZklFile({a, b});
  std::istringstream in(std::string(file.begin(), file.end()));
  CZKLImporter importer;
  ASSERT_TRUE(importer.Import(in));
  const CPatchArray& patches = importer.GetPatches();
  ASSERT_EQ(patches.size(), 2u);
  EXPECT_EQ(patches[0]->GetName(), "First Patch     ");
  EXPECT_EQ(patches[0]->Memo1, "Memo one");
  EXPECT_EQ(patches[0]->Memo4, "four");
  EXPECT_EQ(patches[1]->GetName(), "Second}{        ");
  EXPECT_EQ(patches[1]->Memo2, "two, with spaces");
  EXPECT_TRUE(patches[1]->Memo1.empty());
}

TEST(ZKLImport, BrokenFilesFailWithTheirCodeAndLeaveNothing) {
  CZKLImporter importer;
  Bytes good = ZklFile({ZklPatch("Good")});
  ASSERT_TRUE(importer.Import(good.data(), good.size()));
  ASSERT_EQ(importer.GetPatches().size(), 1u);

  Bytes badSignature = good;
  badSignature[18] = '1';
  Bytes shortHeader(good.begin(), good.begin() + 159);
  Bytes zeroLength = ZklFile(1, {Bytes{}});
  Bytes hugeLength = ZklHeader(1);
  PutBE32(hugeLength, 0xFFFFFFFFu); // must fail at the file's end without taking that much memory
  hugeLength.resize(hugeLength.size() + 1000, 0x11);
  Bytes tooMany = ZklFile(0xFFFFFFFFu, {ZklBody(ZklPatch("One"))});
  Bytes cut(good.begin(), good.end() - 1);
  struct {
    const char* what;
    const Bytes& file;
    ETextOutError code;
  } cases[] = {{"signature", badSignature, TEXTOUT_ERR_FILE_TYPE},
               {"short header", shortHeader, TEXTOUT_ERR_LOAD},
               {"zero length", zeroLength, TEXTOUT_ERR_LOAD},
               {"huge length", hugeLength, TEXTOUT_ERR_LOAD},
               {"count", tooMany, TEXTOUT_ERR_LOAD},
               {"cut body", cut, TEXTOUT_ERR_LOAD}};
  for (auto& c : cases) {
    CZelTextOutBuffer errors;
    EXPECT_FALSE(importer.Import(c.file.data(), c.file.size(), &errors)) << c.what;
    EXPECT_EQ(errors.m_pendingError, c.code) << c.what;
    EXPECT_TRUE(importer.GetPatches().empty()) << c.what;
  }
  CZelTextOutBuffer errors;
  EXPECT_FALSE(importer.Import(std::string(QZ_CORPUS_DIR) + "/zkl/no-such-file.zkl", &errors));
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_LOAD);
}

TEST(ZKLConvert, Fx1TypeOneDependsOnC11AndC7) {
  ZklRecord r = ZklPatch("X");
  r.image[1] = 1;
  for (int i = 5; i <= 12; ++i)
    r.image[i] = static_cast<std::uint8_t>(10 * i); // c5 = 50 ... c12 = 120
  r.image[11] = 20;                                 // c11 < c7
  auto q = Convert(r);
  EXPECT_EQ(q[2], 2);
  EXPECT_EQ((std::vector<int>{q[14], q[15], q[16], q[17], q[18], q[20]}), (std::vector<int>{50, 60, 70, 80, 90, 120}));

  r.image[11] = 70; // c11 = c7
  q = Convert(r);
  EXPECT_EQ(q[2], 3);
  EXPECT_EQ((std::vector<int>{q[21], q[22], q[23], q[24], q[25], q[27]}), (std::vector<int>{50, 80, 90, 100, 70, 120}));
  EXPECT_EQ(q[14], ImportDefaultImage()[14]);
}

TEST(ZKLConvert, Fx1OffTurnsOnTheWahAndMovesTheChain) {
  ZklRecord r = ZklPatch("X");
  r.image[0] = 1;
  r.image[1] = 0;
  const std::uint8_t chain[12] = {1, 2, 3, 0, 4, 5, 6, 7, 8, 9, 10, 11}; // VC: 1 4 | 5 0 6 7 ...
  std::memcpy(r.image.data() + 283, chain, 12);
  auto q = Convert(r);
  EXPECT_EQ(q[0], 0);
  EXPECT_EQ(q[139], 1);
  const std::uint8_t expected[14] = {1, 4, 3, 5, 0, 2, 6, 7, 8, 9, 10, 11, 12, 13};
  EXPECT_EQ(std::memcmp(q.data() + 496, expected, 14), 0);
}

TEST(ZKLConvert, Fx1TypeFiveAndSpecialPositions) {
  ZklRecord r = ZklPatch("X");
  r.image[1] = 5;
  r.image[13] = 2;
  r.image[14] = 9;
  r.image[65] = 3;   // amp on, M = 3
  r.image[122] = 16; // FX2 off
  auto q = Convert(r);
  EXPECT_EQ(q[2], 4);
  EXPECT_EQ(q[28], 4);
  EXPECT_EQ(q[29], 50);
  EXPECT_EQ(q[30], 70);
  EXPECT_EQ(q[169], 1);
  EXPECT_EQ(q[219], 0);
  r.image[122] = 2;
  EXPECT_EQ(Convert(r)[221], 22);
}

TEST(ZKLConvert, DelayTime) {
  ZklRecord r = ZklPatch("X");
  struct {
    int coarse, fine, time;
  } cases[] = {{100, 5, 1811}, {89, 25, 1800}, {50, 3, 1003}, {90, 0, 1801}};
  for (auto& c : cases) {
    r.image[253] = static_cast<std::uint8_t>(c.coarse);
    r.image[254] = static_cast<std::uint8_t>(c.fine);
    EXPECT_EQ(Pair(Convert(r), 442), c.time) << c.coarse << " " << c.fine;
  }
}

TEST(ZKLConvert, AmpTypePicksTheGroupThatStays) {
  ZklRecord r = ZklPatch("X");
  r.image[81] = 3;  // VG -> 1
  r.image[96] = 2;  // VG -> 3
  r.image[90] = 5;  // VH -> 4
  r.image[105] = 9; // VH -> 6
  r.image[65] = 0;
  auto q = Convert(r);
  EXPECT_EQ(q[189], 1);
  EXPECT_EQ(q[200], 4);
  r.image[65] = 1;
  EXPECT_EQ(Convert(r)[189], 1);
  r.image[65] = 2;
  q = Convert(r);
  EXPECT_EQ(q[189], 3);
  EXPECT_EQ(q[200], 6);
  r.image[65] = 7; // neither: the later group's raw bytes stay
  q = Convert(r);
  EXPECT_EQ(q[189], 2);
  EXPECT_EQ(q[200], 9);
}

TEST(ZKLConvert, ValuesBeyondTheirTableKeepTheDefaultByte) {
  ZklRecord r = ZklPatch("X");
  r.image[1] = 11;   // V1 has 11 entries
  r.image[17] = 3;   // V17 has 3
  r.image[58] = 25;  // V58 has 25
  r.image[122] = 18; // V122 has 18
  r.image[66] = 200; // VG
  r.image[283] = 12; // VC
  auto q = Convert(r);
  const CPatchImage& d = ImportDefaultImage();
  for (int at : {2, 3, 160, 221, 172, 496})
    EXPECT_EQ(q[at], d[at]) << at;
  EXPECT_EQ(d[160], 4);
}

// A damaged file's bytes above 0x7F are no values of the unit: they never reach a QZ-MAX patch, which
// would otherwise carry a status byte into the data set it is sent in.
TEST(ZKLConvert, BytesAboveSevenBitsNeverReachThePatch) {
  for (std::uint8_t value : {0x80, 0xC5, 0xFF}) {
    ZklRecord r = ZklPatch("X");
    r.image.fill(value);
    auto q = Convert(r);
    for (int at = 0; at < kPatchImageSize; ++at)
      ASSERT_LT(q[at], 0x80) << "value " << int(value) << " offset " << at;
    EXPECT_EQ(q[OFFSET_NAME], ImportDefaultImage()[OFFSET_NAME]);
  }
  // Found by fuzzing: a record with a few such bytes among zeros.
  CZKLImporter importer;
  ASSERT_TRUE(importer.Import(std::string(QZ_CORPUS_DIR) + "/regression/fuzz_zkl_import/eight-bit-values.zkl"));
  ASSERT_EQ(importer.GetPatches().size(), 1u);
  const std::uint8_t* image = importer.GetPatches().Get(0)->Image();
  for (int at = 0; at < kPatchImageSize; ++at)
    ASSERT_LT(image[at], 0x80) << at;
}

TEST(ZKLConvert, Assigns) {
  ZklRecord r = ZklPatch("X");
  auto setAssign = [&r](int k, int target, int b5, int b7, int b8) {
    std::uint8_t* a = r.image.data() + 311 + 11 * k; // ZK byte j+1 lands on QZ-MAX byte j+2
    a[0] = 1;
    a[1] = static_cast<std::uint8_t>(target >> 7);
    a[2] = static_cast<std::uint8_t>(target & 0x7F);
    a[4] = static_cast<std::uint8_t>(b5);
    a[6] = static_cast<std::uint8_t>(b7);
    a[7] = static_cast<std::uint8_t>(b8);
  };
  r.image[253] = 50; // delay 1000
  r.image[254] = 0;
  r.image[7] = 9;  // c7
  r.image[11] = 3; // c11 < c7
  setAssign(0, 28, 0, 0, 2);
  setAssign(1, 17, 0, 0, 3);
  setAssign(2, 218, 95, 10, 65);
  setAssign(3, 219, 100, 127, 66);
  setAssign(4, 5, 0, 0, 0);
  setAssign(5, 300, 0, 0, 0); // beyond A
  auto q = Convert(r);
  auto assign = [&q](int k) { return q.data() + 670 + 17 * k; };
  EXPECT_EQ(assign(0)[0], 0); // 28 has no counterpart
  EXPECT_EQ(assign(0)[8], 2);
  EXPECT_EQ(assign(1)[0], 1);
  EXPECT_EQ(GetPair(assign(1) + 2), 2);
  EXPECT_EQ(assign(1)[8], 11);
  EXPECT_EQ(GetPair(assign(2) + 2), 427);
  EXPECT_EQ(GetPair(assign(2) + 4), 95 + 1711);
  EXPECT_EQ(GetPair(assign(2) + 6), 200);
  EXPECT_EQ(assign(2)[8], 73);
  EXPECT_EQ(GetPair(assign(3) + 4), 1100);
  EXPECT_EQ(GetPair(assign(3) + 6), 1127);
  EXPECT_EQ(assign(3)[8], 66);
  EXPECT_EQ(GetPair(assign(4) + 2), 13); // B, since c11 < c7
  EXPECT_EQ(assign(5)[0], 0);

  r.image[253] = 100; // delay 1811: the delay-offset assign switches off
  q = Convert(r);
  EXPECT_EQ(assign(3)[0], 0);
  r.image[11] = 9; // c11 = c7: A instead of B
  EXPECT_EQ(GetPair(Convert(r).data() + 670 + 17 * 4 + 2), 20);
}

} // namespace
