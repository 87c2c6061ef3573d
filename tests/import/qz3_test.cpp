#include <gtest/gtest.h>

#include <cstring>

#include "import/importcommon.h"
#include "import/qz3importer.h"
#include "tests/import/builders.h"
#include "textout/textout.h"

using namespace QZML;
using namespace testimport;

namespace {

// Imports the file and returns the images of its patches.
std::vector<std::vector<std::uint8_t>> Import(const Bytes& file, ETextOutError* error = nullptr) {
  CQZ3Importer importer;
  CZelTextOutBuffer errors;
  std::vector<std::vector<std::uint8_t>> images;
  if (importer.Import(file.data(), file.size(), &errors)) {
    for (std::size_t i = 0; i < importer.GetPatches().size(); ++i) {
      images.emplace_back(kPatchImageSize);
      importer.GetPatches()[i]->GetData(images.back().data());
    }
  }
  if (error)
    *error = errors.m_pendingError;
  return images;
}

std::vector<std::uint8_t> ImportOne(const std::vector<Bytes>& messages) {
  auto images = Import(Qz3File(messages));
  return images.size() == 1 ? images[0] : std::vector<std::uint8_t>();
}

int Pair(const std::vector<std::uint8_t>& q, int at) { return q[at] * 128 + q[at + 1]; }

std::string Name(const std::vector<std::uint8_t>& q) { return std::string(q.begin() + 510, q.begin() + 526); }

TEST(QZ3Import, PatchesComeInOrderOfFirstAppearance) {
  auto images = Import(Qz3File(
      {Qz3Row(5, 11, {'F', 'i', 'v', 'e'}), Qz3Row(2, 11, {'T', 'w', 'o'}), Qz3Row(5, 11, {'A', 'g', 'a', 'i', 'n'})}));
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(Name(images[0]).substr(0, 6), std::string("Again\0", 6)); // the repeat overwrote patch 5
  EXPECT_EQ(Name(images[1]).substr(0, 4), std::string("Two\0", 4));
  // Bytes the dump did not send keep the import's default image.
  EXPECT_EQ(images[1][476], 0x04);
  EXPECT_EQ(images[1][477], 0x1B);
  EXPECT_EQ(images[1][482], 0x08);
}

TEST(QZ3Import, NameCharactersMapOnlyInTheFirstTwelve) {
  Bytes name(16, ' ');
  name[3] = 0x7E;
  name[4] = 0x7F;
  name[13] = 0x7E;
  name[15] = 0x7F;
  std::string got = Name(ImportOne({Qz3Row(0, 11, name)}));
  EXPECT_EQ(got, std::string("   }{        ") + "~ " + "\x7F");
}

TEST(QZ3Import, ValuesAreLimitedBeforeLookup) {
  auto q = ImportOne({Qz3Row(0, 0, {1, 0, 40})});
  EXPECT_EQ(q[2], 14); // 40 taken as 8, W2[8]
  q = ImportOne({Qz3DataSet(Qz3Address(0, 11, 0), {0x7F, 'a'}), Qz3DataSet(Qz3Address(0, 10, 3), {99})});
  EXPECT_EQ(q[510], '{');
  EXPECT_EQ(q[501], 12); // chain value limited to 10, WC[10]
}

TEST(QZ3Import, DelayTime) {
  struct {
    int coarse, fine, time;
  } cases[] = {{91, 0, 1801}, {91, 20, 1801}, {90, 10, 1800}, {50, 7, 1007}, {120, 0, 1813}};
  for (auto& c : cases) {
    Bytes row6 = {1, 0, 1, static_cast<std::uint8_t>(c.coarse), static_cast<std::uint8_t>(c.fine)};
    EXPECT_EQ(Pair(ImportOne({Qz3Row(0, 6, row6)}), 442), c.time) << c.coarse << " " << c.fine;
  }
  // Fine before coarse: nothing is stored yet.
  auto q = ImportOne({Qz3DataSet(Qz3Address(0, 6, 4), {10}), Qz3DataSet(Qz3Address(0, 6, 3), {5})});
  EXPECT_EQ(Pair(q, 442),
            Pair(std::vector<std::uint8_t>(ImportDefaultImage().begin(), ImportDefaultImage().end()), 442));
}

TEST(QZ3Import, FxOneSwitchAndLoop) {
  // Parameter 2 = 1 with FX1 on: FX1 off, COMP on, q[132] = 1; then 9 and 10 go to 137, 138.
  Bytes row0(42, 0);
  row0[0] = 1;
  row0[2] = 1;
  row0[5] = 11;
  row0[9] = 22;
  row0[10] = 33;
  auto q = ImportOne({Qz3Row(0, 0, row0)});
  EXPECT_EQ(q[0], 0);
  EXPECT_EQ(q[130], 1);
  EXPECT_EQ(q[132], 1);
  EXPECT_EQ(q[137], 22);
  EXPECT_EQ(q[138], 33);
  // Parameter 61 = 17: the loop through the OD/DS, and chain entry 3 after entry 4.
  q = ImportOne({Qz3Row(0, 2, {1, 0, 17, 30, 0, 0, 40})});
  EXPECT_EQ(q[160], 1);
  EXPECT_EQ(q[144], 1);
  EXPECT_EQ(q[158], 0);
  EXPECT_EQ((std::vector<int>{q[146], q[155], q[156], q[147], q[150], q[148], q[151]}),
            (std::vector<int>{0, 3, 2, 30, 30, 40, 40}));
  const std::uint8_t chain[14] = {0, 1, 2, 4, 3, 5, 6, 11, 12, 7, 8, 9, 10, 13};
  EXPECT_EQ(std::memcmp(q.data() + 496, chain, 14), 0);
}

TEST(QZ3Import, RowOneFillsAFreeFxWhenFinishing) {
  Bytes row1(17, 0);
  row1[0] = 1;
  row1[2] = 1;
  for (int i = 6; i <= 13; ++i)
    row1[i] = static_cast<std::uint8_t>(i); // R12 = 12 >= R8 = 8; R6 and R7 are limited to 1
  auto q = ImportOne({Qz3Row(0, 1, row1)});
  EXPECT_EQ(q[0], 1);
  EXPECT_EQ(q[2], 3);
  EXPECT_EQ((std::vector<int>{q[21], q[22], q[23], q[24], q[25], q[27]}), (std::vector<int>{1, 9, 10, 11, 12, 13}));
  const std::uint8_t chain[14] = {1, 2, 0, 3, 4, 5, 6, 11, 12, 7, 8, 9, 10, 13}; // 0 after 2
  EXPECT_EQ(std::memcmp(q.data() + 496, chain, 14), 0);

  // FX1 already on: FX2 takes it, with R12 < R8 the type-2 layout, and entry 7 after entry 2.
  row1[12] = 1;
  Bytes row0(42, 0);
  row0[0] = 1;
  row0[2] = 3; // leaves FX1 on
  q = ImportOne({Qz3Row(0, 0, row0), Qz3Row(0, 1, row1)});
  EXPECT_EQ(q[219], 1);
  EXPECT_EQ(q[221], 2);
  EXPECT_EQ((std::vector<int>{q[233], q[234], q[235], q[236], q[237], q[239]}), (std::vector<int>{1, 1, 8, 9, 10, 13}));
  const std::uint8_t chain2[14] = {0, 1, 2, 7, 3, 4, 5, 6, 11, 12, 8, 9, 10, 13};
  EXPECT_EQ(std::memcmp(q.data() + 496, chain2, 14), 0);

  // R2 = 2: the wah from R14..R16.
  row1[2] = 2;
  row1[14] = 5;
  row1[15] = 60;
  row1[16] = 70;
  q = ImportOne({Qz3Row(0, 1, row1)});
  EXPECT_EQ((std::vector<int>{q[139], q[141], q[142], q[143]}), (std::vector<int>{1, 6, 60, 70}));
}

TEST(QZ3Import, Assigns) {
  auto assignRow = [](int target, int b4, int b5, int b6, int b7, int b8) {
    return Bytes{1,
                 0,
                 static_cast<std::uint8_t>(target >> 7),
                 static_cast<std::uint8_t>(target & 0x7F),
                 static_cast<std::uint8_t>(b4),
                 static_cast<std::uint8_t>(b5),
                 static_cast<std::uint8_t>(b6),
                 static_cast<std::uint8_t>(b7),
                 static_cast<std::uint8_t>(b8),
                 0,
                 0,
                 0};
  };
  Bytes row1(17, 0);
  row1[0] = 1;
  row1[2] = 1;
  row1[8] = 9;
  row1[12] = 2;                                       // R12 < R8, FX1 chosen
  auto q = ImportOne({Qz3Row(0, 6, {1, 0, 1, 50, 0}), // delay 1000
                      Qz3Row(0, 1, row1), Qz3Row(0, 15, assignRow(77, 0, 10, 0, 125, 1)),
                      Qz3Row(0, 16, assignRow(200, 0, 95, 0, 10, 2)), Qz3Row(0, 17, assignRow(201, 0, 100, 0, 127, 6)),
                      Qz3Row(0, 18, assignRow(43, 0, 0, 0, 0, 68)), Qz3Row(0, 19, assignRow(42, 0, 0, 0, 0, 69)),
                      Qz3Row(0, 20, assignRow(250, 0, 0, 0, 0, 4)), Qz3Row(0, 13, {1, 0, 0, 10, 0, 0, 0, 0, 1})});
  auto a = [&q](int n) { return q.data() + 670 + 17 * (n - 1); }; // QZ-MAX assign n, from 1
  EXPECT_EQ(GetPair(a(1) + 2), 202);
  EXPECT_EQ(GetPair(a(1) + 4), 17);
  EXPECT_EQ(a(1)[6], 1); // 125 + 7: the increase carries into the upper byte, both stay 7-bit
  EXPECT_EQ(a(1)[7], 4);
  EXPECT_EQ(a(1)[8], 2);
  EXPECT_EQ(GetPair(a(2) + 4), 95 + 1710);
  EXPECT_EQ(GetPair(a(2) + 6), 200);
  EXPECT_EQ(a(2)[8], 1);
  EXPECT_EQ(GetPair(a(2) + 2), 427);
  EXPECT_EQ(GetPair(a(3) + 4), 1100);
  EXPECT_EQ(GetPair(a(3) + 6), 1127);
  EXPECT_EQ(a(3)[8], 11);
  EXPECT_EQ(GetPair(a(4) + 2), 13); // B3
  EXPECT_EQ(a(4)[8], 73);
  EXPECT_EQ(a(5)[0], 0); // 42 has no counterpart
  EXPECT_EQ(a(6)[0], 0); // 250 is beyond A3
  EXPECT_EQ(a(6)[8], 4);
  // Assigns 9 and 10 keep the default; 11 and 12 get their fixed bytes and keep byte 8.
  EXPECT_EQ(std::memcmp(a(9), ImportDefaultImage().data() + 670 + 17 * 8, 34), 0);
  EXPECT_EQ((std::vector<int>{a(11)[8], a(11)[10], a(11)[11], a(12)[8], a(12)[10], a(12)[11]}),
            (std::vector<int>{2, 0, 100, 1, 0, 100}));
  EXPECT_EQ(GetPair(a(11) + 2), 34); // row 13 sent target 10
}

TEST(QZ3Import, FilesWithoutPatchDataFail) {
  ETextOutError error = TEXTOUT_ERR_NONE;
  EXPECT_TRUE(Import(Concat({SmfHeader(1), Track({})}), &error).empty());
  EXPECT_EQ(error, TEXTOUT_ERR_FILE_TYPE);
  EXPECT_TRUE(Import(ZklFile({}), &error).empty());
  EXPECT_EQ(error, TEXTOUT_ERR_FILE_TYPE);
  EXPECT_TRUE(Import(Bytes{}, &error).empty());
  EXPECT_EQ(error, TEXTOUT_ERR_LOAD);
  // Other units, other commands, addresses below the patch area, rows and offsets out of range.
  Bytes otherCommand = Qz3Row(0, 11, {'A'});
  otherCommand[5] = 0x11;
  Bytes otherModel = Qz3Row(0, 11, {'A'});
  otherModel[4] = 0x47;
  EXPECT_TRUE(
      Import(Qz3File({otherCommand, otherModel, Qz3DataSet(0xBFFFF0, {1, 2}), Qz3DataSet(Qz3Address(0, 23, 0), {1}),
                      Qz3DataSet(Qz3Address(0, 12, 3), {1}), Qz3DataSet(Qz3Address(140, 0, 0), {1})}),
             &error)
          .empty());
  CQZ3Importer importer;
  CZelTextOutBuffer errors;
  EXPECT_FALSE(importer.Import(std::string(QZ_CORPUS_DIR) + "/qz3/no-such-file.mid", &errors));
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_LOAD);
}

TEST(QZ3Scanner, StaysInsideTheFileAndNeverStalls) {
  Bytes data = Qz3Row(4, 11, {'O', 'k'});
  // Running status, stray data bytes without one, an escaped exclusive of length 0x2F, a second track.
  Bytes file = Concat({SmfHeader(2),
                       Track({{0x00, 0x90, 0x3C, 0x40},
                              {0x00, 0x3C, 0x00},
                              {0x00, 0xD0, 0x10},
                              {0x00, 0x11},
                              SysexEvent(Qz3Row(1, 11, {'A'})),
                              {0x00, 0x7F},
                              SysexEvent(Qz3Row(8, 11, {'S'})),
                              {0x00, 0xF7, 0x2F},
                              Bytes(0x2F, 0),
                              {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20}}),
                       Track({SysexEvent(data)})});
  auto images = Import(file);
  ASSERT_EQ(images.size(), 3u);
  EXPECT_EQ(Name(images[1]).substr(0, 1), "S"); // right after a stray data byte
  EXPECT_EQ(Name(images[2]).substr(0, 2), "Ok");

  // Cut at every length: never a read past the end, and what arrived whole is kept.
  for (std::size_t n = 0; n < file.size(); ++n) {
    Bytes cut(file.begin(), file.begin() + static_cast<long>(n));
    Import(cut);
  }
  // Lengths far beyond the file end the scan.
  Bytes huge =
      Concat({SmfHeader(1), Track({SysexEvent(data)}, false), Bytes{0x00, 0xFF, 0x01, 0xFF, 0xFF, 0xFF, 0x7F}});
  EXPECT_EQ(Import(huge).size(), 1u);
  // Messages longer than 511 bytes are skipped.
  Bytes longest = Qz3DataSet(Qz3Address(5, 11, 0), Bytes(499, 'L'));
  Bytes tooLong = Qz3DataSet(Qz3Address(6, 11, 0), Bytes(500, 'L'));
  EXPECT_EQ(longest.size(), 511u);
  EXPECT_EQ(Import(Qz3File({longest, tooLong, data})).size(), 2u);
  // Anything but a further track after the end of a track fails.
  Bytes junk = Qz3File({data});
  junk.push_back(0);
  ETextOutError error = TEXTOUT_ERR_NONE;
  EXPECT_TRUE(Import(junk, &error).empty());
  EXPECT_EQ(error, TEXTOUT_ERR_FILE_TYPE);
}

} // namespace
