#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <memory>
#include <vector>

#include "model/patchdrag.h"
#include "patchfill.h"
#include "testfiles.h"

using namespace QZML;

namespace {

CPatchArray Filled(int count) {
  CPatchArray patches = Rows(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    FillPatch(*patches.Get(static_cast<std::size_t>(i)), 40u + static_cast<unsigned>(i), "Drag " + std::to_string(i));
  patches.Get(1)->SetMemo(2, "solo at 2:40");
  return patches;
}

CByteArray SampleDrag(const CPatchArray& patches) {
  CPatchDrag header;
  header.process = 0x0102030405060708u;
  header.list = 42;
  header.fromLibrary = true;
  header.model = MODEL_QZ5;
  return EncodePatchDrag(header, patches, {3, 1});
}

} // namespace

TEST(PatchDrag, CarriesThePatchesTheirIndicesAndWhereTheyCameFrom) {
  const CPatchArray patches = Filled(4);
  const CByteArray bytes = SampleDrag(patches);
  CPatchDrag drag;
  ASSERT_TRUE(DecodePatchDrag(bytes.data(), bytes.size(), drag));
  EXPECT_EQ(drag.process, 0x0102030405060708u);
  EXPECT_EQ(drag.list, 42u);
  EXPECT_TRUE(drag.fromLibrary);
  EXPECT_EQ(drag.model, MODEL_QZ5);
  EXPECT_EQ(drag.indices, (std::vector<int>{3, 1}));
  ASSERT_EQ(drag.patches.size(), 2u);
  EXPECT_TRUE(SameImage(*drag.patches.Get(0), *patches.Get(3)));
  EXPECT_TRUE(SameImage(*drag.patches.Get(1), *patches.Get(1)));
  EXPECT_EQ(drag.patches.Get(1)->GetMemo(2), "solo at 2:40");

  // The header alone tells the count without reading the patches.
  CPatchDrag header;
  ASSERT_TRUE(DecodePatchDrag(bytes.data(), bytes.size(), header, true));
  EXPECT_EQ(header.indices.size(), 2u);
  EXPECT_EQ(header.patches.size(), 0u);

  // An index the source does not hold travels as a new patch.
  const CByteArray missing = EncodePatchDrag(CPatchDrag(), patches, {7});
  ASSERT_TRUE(DecodePatchDrag(missing.data(), missing.size(), drag));
  EXPECT_TRUE(SameImage(*drag.patches.Get(0), CPatch()));
}

TEST(PatchDrag, RefusesDamagedBytes) {
  const CByteArray bytes = SampleDrag(Filled(4));
  CPatchDrag drag;
  // Every cut short of the whole, and one byte too many.
  for (std::size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(DecodePatchDrag(bytes.data(), size, drag)) << size;
  CByteArray longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(DecodePatchDrag(longer.data(), longer.size(), drag));
  // A count that claims more patches than the bytes can hold, another version, a model that is none,
  // no patches at all.
  const std::size_t kVersionAt = 4, kModelAt = 28, kCountAt = 32;
  for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::uint8_t>>{
           {kCountAt, 0x7F}, {kVersionAt + 3, 2}, {kModelAt + 3, 2}}) {
    CByteArray damaged = bytes;
    damaged[at] = value;
    EXPECT_FALSE(DecodePatchDrag(damaged.data(), damaged.size(), drag)) << at;
  }
  const CByteArray none = EncodePatchDrag(CPatchDrag(), Filled(2), {});
  EXPECT_FALSE(DecodePatchDrag(none.data(), none.size(), drag));
}

TEST(PatchDrag, CorpusFilesAreReadOrRefusedAsNamed) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(QZ_CORPUS_DIR) / "drag")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".bin")
      continue;
    ++files;
    const std::string bytes = ReadAll(entry.path());
    CPatchDrag drag;
    EXPECT_EQ(DecodePatchDrag(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), drag),
              name.rfind("valid-", 0) == 0)
        << name;
  }
  EXPECT_EQ(files, 3);
}
