#include <gtest/gtest.h>

#include <cstring>

#include "model/patch.h"

namespace QZML {
int DefaultByteCount(const CBlockKind& kind);
}

using namespace QZML;

namespace {

TEST(PatchLayout, BlocksMatchTheLayoutTable) {
  // Flat offsets of the layout table, block by block (the assign groups counted per instance).
  const int offsets[] = {0,   130, 139, 144, 157, 158, 166, 206, 219, 439, 465, 474, 484, 494, 495,
                         496, 510, 526, 528, 530, 533, 550, 567, 584, 601, 618, 635, 652, 669, 670,
                         687, 704, 721, 738, 755, 772, 789, 806, 823, 840, 857, 874, 877};
  static_assert(sizeof offsets / sizeof offsets[0] == kBlockCount, "43 blocks");
  int end = 0;
  for (int i = 0; i < kBlockCount; ++i) {
    const CBlockInstance& b = BlockInstance(i);
    EXPECT_EQ(b.flatOffset, offsets[i]) << b.kind->text << " " << b.sub;
    EXPECT_EQ(DefaultByteCount(*b.kind), b.size) << b.kind->text;
    end = b.flatOffset + b.size;
  }
  EXPECT_EQ(end, kPatchImageSize);
}

TEST(PatchLayout, DefaultImage) {
  CPatch patch;
  const std::uint8_t* image = patch.Image();
  EXPECT_EQ(patch.GetName(), "INIT PATCH      ");
  // FX2 repeats bytes 4..129 of FX1 after its own four bytes.
  EXPECT_EQ(std::memcmp(image + 219 + 4, image + 4, 126), 0);
  const std::uint8_t fx2Head[] = {0x00, 0x00, 0x16, 0x00};
  EXPECT_EQ(std::memcmp(image + 219, fx2Head, 4), 0);
  EXPECT_EQ(image[219 + 130], 0x00);
  EXPECT_EQ(image[219 + 131], 0x0C);
  EXPECT_EQ(image[438], 0x0A);  // last FX2 byte
  // Block boundaries on both sides of a few blocks.
  EXPECT_EQ(image[129], 0x14);  // FX1 last
  EXPECT_EQ(image[130], 0x00);  // COMP first
  EXPECT_EQ(image[138], 0x32);  // COMP last
  const std::uint8_t chain[] = {0, 1, 2, 3, 4, 5, 6, 0x0B, 0x0C, 7, 8, 9, 10, 0x0D};
  EXPECT_EQ(std::memcmp(image + 496, chain, 14), 0);
  const std::uint8_t qz5Assign[] = {0, 0, 1, 0x11, 0, 0, 0, 1, 0, 1, 0, 0x7F, 4, 0x1E, 0, 0x14, 1};
  const std::uint8_t qzmaxAssign[] = {0, 0, 1, 0x22, 0, 0, 0, 1, 7, 1, 0, 0x7F, 8, 0x1E, 0, 0x14, 1};
  for (int sub = 0; sub < 8; ++sub)
    EXPECT_EQ(std::memcmp(image + 533 + 17 * sub, qz5Assign, 17), 0) << sub;
  EXPECT_EQ(image[669], 0x32);
  for (int sub = 0; sub < 12; ++sub)
    EXPECT_EQ(std::memcmp(image + 670 + 17 * sub, qzmaxAssign, 17), 0) << sub;
  const std::uint8_t tail[] = {1, 0, 0x64, 1, 0, 0x64};
  EXPECT_EQ(std::memcmp(image + 874, tail, 6), 0);
}

TEST(Patch, NameRules) {
  CPatch patch;
  patch.SetName("ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(patch.GetName(), "ABCDEFGHIJKLMNOP");
  patch.SetName("Hi");
  EXPECT_EQ(patch.GetName(), "Hi              ");
  patch.SetName(std::string("a\tb\xE9~\x7F"));
  EXPECT_EQ(patch.GetName(), std::string("a b ~\x7F          "));
  patch.SetName("");
  EXPECT_EQ(patch.GetName(), std::string(16, ' '));
}

TEST(Patch, DataAndInitialize) {
  CPatch a, b;
  a.SetName("Lead");
  a.Image()[0] = 0x42;
  a.Memo1 = "kept?";
  b.Memo2 = "mine";
  std::uint8_t buffer[kPatchImageSize];
  a.GetData(buffer);
  b.SetData(buffer);
  EXPECT_EQ(std::memcmp(a.Image(), b.Image(), kPatchImageSize), 0);
  EXPECT_EQ(b.Memo1, "");
  EXPECT_EQ(b.Memo2, "mine");

  b.Memo1 = "xyz";
  b.Initialize();
  EXPECT_TRUE(b.Memo1.empty() && b.Memo2.empty());
  EXPECT_EQ(std::memcmp(b.Image(), CPatch::DefaultImage().data(), kPatchImageSize), 0);
}

// Records written and read back whole are held by the library file tests.
TEST(PatchRecord, OddLengthsStayInsideTheRecordAndTheBlock) {
  // One block that claims 300 bytes (more than FX1 holds) followed by the rest.
  CPatch source;
  source.Image()[0] = 0x21;
  CByteArray body;
  source.WriteRecord(body);
  body[2] = 0x01;  // n = 0x0182 = 386 > 130: the next 386 bytes are FX1's, cut to 130
  CPatch b;
  EXPECT_NO_FATAL_FAILURE(b.ReadRecord(body.data(), body.size()));
  EXPECT_EQ(b.Image()[0], 0x21);

  // A block length larger than the whole record: reads what is there and stops.
  CByteArray tiny = {0x7F, 0xFF, 0xFF, 0xFF, 0x33, 0x34};
  CPatch c;
  EXPECT_FALSE(c.ReadRecord(tiny.data(), tiny.size()));
  EXPECT_EQ(c.Image()[0], 0x33);
  EXPECT_EQ(c.Image()[1], 0x34);
  EXPECT_EQ(c.Image()[2], CPatch::DefaultImage()[2]);

  // Shorter blocks leave the rest at the default; truncated lengths and memos never overrun.
  for (std::size_t cut = 0; cut < body.size(); cut += 97) {
    CByteArray part(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(cut));
    CPatch d;
    EXPECT_FALSE(d.ReadRecord(part.data(), part.size()));
  }
}

} // namespace
