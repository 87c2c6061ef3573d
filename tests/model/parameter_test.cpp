#include <gtest/gtest.h>

#include "model/patch.h"

using namespace QZML;

namespace {

CPatch Named(const std::string& name, const std::string& memo1 = "") {
  CPatch p;
  p.SetName(name);
  p.Memo1 = memo1;
  return p;
}

TEST(Compare, PositionOrderAndReverse) {
  CPatch a, b;
  EXPECT_EQ(a.Compare(0, b, 1, 2, false), -1);
  EXPECT_EQ(a.Compare(0, b, 2, 1, false), 1);
  EXPECT_EQ(a.Compare(0, b, 1, 2, true), 1);
  EXPECT_EQ(a.Compare(6, b, 1, 2, false), -1);  // unknown column: position order
  EXPECT_EQ(a.Compare(0, b, 3, 3, false), 0);
  // Positions compare as unsigned numbers.
  EXPECT_EQ(a.Compare(0, b, 0xFFFFFFFFu, 1, false), 1);
}

TEST(Compare, TextsIgnoreCaseFirstThenUpperCaseFirst) {
  // Equal names keep their positions' order (a stable sort by name).
  CPatch x = Named("Same"), y = Named("Same");
  EXPECT_EQ(x.Compare(1, y, 5, 2, false), 1);
  EXPECT_EQ(x.Compare(1, y, 2, 5, false), -1);

  // "apple" < "BANANA" once upper-cased, although 'a' > 'B' as bytes.
  CPatch lower = Named("", "apple"), upper = Named("", "BANANA");
  EXPECT_EQ(lower.Compare(2, upper, 9, 1, false), -1);
  EXPECT_EQ(upper.Compare(2, lower, 1, 9, false), 1);

  // Differ only in case: the upper-case letter at the first difference sorts first.
  CPatch mixed = Named("", "aBc"), small = Named("", "abc");
  EXPECT_EQ(mixed.Compare(2, small, 9, 1, false), -1);
  EXPECT_EQ(small.Compare(2, mixed, 1, 9, false), 1);

  // A text that begins another sorts first; memo columns 2..5 read Memo1..Memo4.
  CPatch shorter, longer;
  shorter.Memo4 = "ab";
  longer.Memo4 = "abc";
  EXPECT_EQ(shorter.Compare(5, longer, 9, 1, false), -1);
  // Bytes above 0x7F compare unsigned.
  CPatch high = Named("", "\xE9"), plain = Named("", "z");
  EXPECT_EQ(plain.Compare(2, high, 9, 1, false), -1);
}

TEST(ParameterArray, ResizeCloneAndAssign) {
  CPatchArray patches;
  patches.Resize(200);
  ASSERT_EQ(patches.size(), 200u);
  EXPECT_EQ(patches.Get(199)->GetName(), "INIT PATCH      ");
  patches.Get(0)->SetName("First");

  CPatchArray copy(patches);
  ASSERT_EQ(copy.size(), 200u);
  EXPECT_NE(copy[0], patches[0]);  // cloned, not shared
  EXPECT_EQ(copy.Get(0)->GetName(), "First           ");
  copy.Get(0)->SetName("Changed");
  EXPECT_EQ(patches.Get(0)->GetName(), "First           ");

  CParameter* before = patches[0];
  CParameterArray& self = patches;
  patches = static_cast<const CPatchArray&>(self);  // self-assignment keeps the same elements
  EXPECT_EQ(patches[0], before);

  patches = copy;
  EXPECT_EQ(patches.Get(0)->GetName(), "Changed         ");
  patches.Resize(3);
  EXPECT_EQ(patches.size(), 3u);
  patches.Resize(0);
  EXPECT_TRUE(patches.empty());
}

TEST(ParameterArray, CopyContentsReusesItsElementsAndEndsEqual) {
  CPatchArray source;
  source.Resize(5);
  for (std::size_t i = 0; i < 5; ++i) {
    source.Get(i)->SetName("Source " + std::to_string(i));
    source.Get(i)->SetMemo(1, "memo " + std::to_string(i));
    source.Get(i)->Image()[100] = static_cast<std::uint8_t>(i);
  }
  CPatchArray target;
  target.Resize(3);
  CParameter* kept = target[1];
  target.CopyContents(source); // grows
  ASSERT_EQ(target.size(), 5u);
  EXPECT_EQ(target[1], kept);  // copied into, not made anew
  EXPECT_NE(target[4], source[4]);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(target.Get(i)->GetName(), source.Get(i)->GetName());
    EXPECT_EQ(target.Get(i)->GetMemo(1), source.Get(i)->GetMemo(1));
    EXPECT_EQ(target.Get(i)->Image()[100], i);
  }
  source.RemoveAt(0);
  source.RemoveAt(0);
  target.CopyContents(source); // shrinks
  ASSERT_EQ(target.size(), 3u);
  EXPECT_EQ(target.Get(0)->GetName(), "Source 2        ");
  target.CopyContents(target);
  EXPECT_EQ(target.size(), 3u);
}

TEST(ParameterArray, EditingOperationsKeepOwnershipStraight) {
  CPatchArray patches;
  patches.Resize(4);
  for (int i = 0; i < 4; ++i)
    patches.Get(static_cast<std::size_t>(i))->SetName(std::string(1, char('A' + i)));
  std::unique_ptr<CParameter> taken = patches.Detach(1);  // B leaves the array
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->GetName()[0], 'B');
  patches.InsertAt(3, std::move(taken));  // A C D B
  patches.Swap(0, 3);                     // B C D A
  patches.RemoveAt(1);                    // B D A
  patches.InsertAt(99, patches.CreateElement());
  ASSERT_EQ(patches.size(), 4u);
  EXPECT_EQ(patches.Get(0)->GetName()[0], 'B');
  EXPECT_EQ(patches.Get(1)->GetName()[0], 'D');
  EXPECT_EQ(patches.Get(2)->GetName()[0], 'A');
  EXPECT_EQ(patches.Get(3)->GetName(), "INIT PATCH      ");
  EXPECT_EQ(patches.Detach(10), nullptr);
  EXPECT_EQ(patches.At(10), nullptr);

  CPatchArray other;
  other.Resize(1);
  patches.SwapContents(other);
  EXPECT_EQ(patches.size(), 1u);
  EXPECT_EQ(other.size(), 4u);
}

} // namespace

#include "model/document.h"

namespace {

TEST(Document, UndoToggles) {
  QZML::CDocument doc;
  EXPECT_FALSE(doc.CanUndo(1));
  doc.m_current.m_patches.Resize(2);
  doc.SaveUndo(1);
  EXPECT_TRUE(doc.CanUndo(1));
  EXPECT_FALSE(doc.CanUndo(0));
  doc.m_current.m_patches.Get(0)->SetName("Edited");
  doc.m_current.m_patches.Resize(3);
  doc.Undo();
  EXPECT_EQ(doc.m_current.m_patches.size(), 2u);
  EXPECT_EQ(doc.m_current.m_patches.Get(0)->GetName(), "INIT PATCH      ");
  doc.Undo();
  EXPECT_EQ(doc.m_current.m_patches.size(), 3u);
  EXPECT_EQ(doc.m_current.m_patches.Get(0)->GetName(), "Edited          ");
  doc.SaveUndo(2);
  EXPECT_FALSE(doc.CanUndo(1));
  doc.SaveUndo(0);
  doc.ClearUndo();
  EXPECT_FALSE(doc.CanUndo(1));
}

TEST(DocumentHeader, FieldsAreBigEndian) {
  QZML::CDocumentHeader header;
  header.SetHeaderField(0, 0x01020304);
  EXPECT_EQ(header.m_bytes[32], 1);
  EXPECT_EQ(header.m_bytes[35], 4);
  EXPECT_EQ(header.GetHeaderField(0), 0x01020304u);
  header.SetHeaderField(32, 7);  // past the header: ignored
  EXPECT_EQ(header.GetHeaderField(32), 0u);
}

} // namespace
