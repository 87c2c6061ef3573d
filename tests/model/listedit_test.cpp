#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/listedit.h"
#include "model/patch.h"

using namespace QZML;

namespace {

// An array of patches named "P0", "P1", ... (names are padded to their length when read back).
CPatchArray Named(int count, const std::string& prefix = "P") {
  CPatchArray array;
  for (int i = 0; i < count; ++i) {
    auto patch = std::make_unique<CPatch>();
    patch->SetName(prefix + std::to_string(i));
    array.Add(std::move(patch));
  }
  return array;
}

std::vector<std::string> Names(const CParameterArray& array) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < array.size(); ++i) {
    std::string name = array[i]->GetName();
    name.erase(name.find_last_not_of(' ') + 1);
    names.push_back(name);
  }
  return names;
}

using Strings = std::vector<std::string>;

TEST(ListEdit, CopyAndInsertRoundTrip) {
  CPatchArray array = Named(5);
  CPatchArray clipboard = Named(2, "OLD");
  // Row order of a sorted list: the clipboard keeps it; indices outside the array are left out.
  ListEdit::Copy(array, {3, 1, 9}, clipboard);
  EXPECT_EQ(Names(clipboard), (Strings{"P3", "P1"}));
  // The clipboard holds copies: changing the array later leaves them alone.
  array[3]->SetName("CHANGED");
  EXPECT_EQ(Names(clipboard)[0], "P3");

  EXPECT_EQ(ListEdit::Insert(array, 2, clipboard), 2);
  EXPECT_EQ(Names(array), (Strings{"P0", "P1", "P3", "P1", "P2", "CHANGED", "P4"}));
  EXPECT_EQ(clipboard.size(), 2u); // inserting copies, the clipboard stays

  // At the end of the list (End of Line) and past it the sets are appended; before it they go first.
  CPatchArray target = Named(2, "T");
  EXPECT_EQ(ListEdit::Insert(target, 2, clipboard), 2);
  EXPECT_EQ(ListEdit::Insert(target, 99, clipboard), 2);
  EXPECT_EQ(ListEdit::Insert(target, -1, clipboard), 2);
  EXPECT_EQ(Names(target), (Strings{"P3", "P1", "T0", "T1", "P3", "P1", "P3", "P1"}));
}

TEST(ListEdit, DeleteOfAScatteredSelection) {
  CPatchArray array = Named(8);
  // Any order, repeats and indices outside count once or not at all.
  EXPECT_EQ(ListEdit::Delete(array, {6, 1, 3, 1, 12, -1}), 3);
  EXPECT_EQ(Names(array), (Strings{"P0", "P2", "P4", "P5", "P7"}));
  // The last set and then everything.
  EXPECT_EQ(ListEdit::Delete(array, {4}), 1);
  EXPECT_EQ(ListEdit::Delete(array, {0, 1, 2, 3}), 4);
  EXPECT_TRUE(array.empty());
}

TEST(ListEdit, ReplaceWithAShorterOrLongerClipboard) {
  CPatchArray array = Named(6);
  // A shorter clipboard starts again with its first set, in the selection's row order.
  const CPatchArray two = Named(2, "C");
  EXPECT_EQ(ListEdit::Replace(array, {4, 0, 2}, two), 3);
  EXPECT_EQ(Names(array), (Strings{"C1", "P1", "C0", "P3", "C0", "P5"}));
  // A longer one uses only as many sets as are selected; the count never changes.
  const CPatchArray five = Named(5, "L");
  EXPECT_EQ(ListEdit::Replace(array, {1, 5}, five), 2);
  EXPECT_EQ(Names(array), (Strings{"C1", "L0", "C0", "P3", "C0", "L1"}));
  // The replaced sets are copies of the clipboard's.
  EXPECT_NE(array[1], five[0]);
  EXPECT_EQ(five.size(), 5u);
}

TEST(ListEdit, ExchangeAndInitialize) {
  CPatchArray array = Named(5);
  // The first and the last selected set trade places; the ones in between stay.
  EXPECT_TRUE(ListEdit::Exchange(array, {3, 2, 0}));
  EXPECT_EQ(Names(array), (Strings{"P3", "P1", "P2", "P0", "P4"}));
  EXPECT_FALSE(ListEdit::Exchange(array, {2}));
  EXPECT_FALSE(ListEdit::Exchange(array, {1, 5})); // the End of Line index
  EXPECT_EQ(Names(array), (Strings{"P3", "P1", "P2", "P0", "P4"}));

  ListEdit::Initialize(array, {1, 5});
  EXPECT_EQ(Names(array), (Strings{"P3", "INIT PATCH", "P2", "P0", "P4"}));
}

TEST(ListEdit, EmptyClipboardSelectionOrSelf) {
  CPatchArray array = Named(3);
  CPatchArray empty;
  EXPECT_EQ(ListEdit::Insert(array, 1, empty), 0);
  EXPECT_EQ(ListEdit::Replace(array, {0, 1}, empty), 0);
  ListEdit::Copy(array, {}, empty);
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(ListEdit::Delete(array, {}), 0);
  EXPECT_FALSE(ListEdit::Exchange(array, {}));
  // An array is never its own clipboard.
  ListEdit::Copy(array, {0}, array);
  EXPECT_EQ(ListEdit::Insert(array, 0, array), 0);
  EXPECT_EQ(ListEdit::Replace(array, {0}, array), 0);
  EXPECT_EQ(Names(array), (Strings{"P0", "P1", "P2"}));
}

TEST(ListEdit, DroppedSetsLandBetweenOrOnto) {
  // A move within the list: the moved sets go first, the drop place follows what stays before it.
  EXPECT_EQ(ListEdit::MovableSets({2, 1}, 5, 6), (std::vector<int>{1, 2}));
  // A run dropped in order onto itself or next to it changes nothing; out of order it does.
  EXPECT_TRUE(ListEdit::MovableSets({1, 2}, 1, 6).empty());
  EXPECT_TRUE(ListEdit::MovableSets({1, 2}, 3, 6).empty());
  EXPECT_EQ(ListEdit::MovableSets({2, 1}, 1, 6), (std::vector<int>{1, 2}));
  EXPECT_EQ(ListEdit::MovableSets({1, 3}, 2, 6), (std::vector<int>{1, 3}));
  // Repeats and indices outside the array refuse the move.
  EXPECT_TRUE(ListEdit::MovableSets({1, 1}, 4, 6).empty());
  EXPECT_TRUE(ListEdit::MovableSets({1, 6}, 0, 6).empty());
  EXPECT_TRUE(ListEdit::MovableSets({}, 0, 6).empty());

  CPatchArray array = Named(6);
  CPatchArray dropped = Named(2, "M");
  EXPECT_EQ(ListEdit::DropBetween(array, {1, 2}, 5, dropped), (std::vector<int>{3, 4}));
  EXPECT_EQ(Names(array), (Strings{"P0", "P3", "P4", "M0", "M1", "P5"}));
  EXPECT_TRUE(dropped.empty());

  // Behind the last row.
  dropped = Named(1, "E");
  EXPECT_EQ(ListEdit::DropBetween(array, {}, 6, dropped), (std::vector<int>{6}));
  EXPECT_EQ(Names(array).back(), "E0");

  // Onto a run of rows: as many sets as there are targets, in target order; the rest stays dropped.
  CPatchArray fixed = Named(4);
  dropped = Named(3, "D");
  EXPECT_EQ(ListEdit::DropOnto(fixed, {1, 3}, dropped), (std::vector<int>{1, 3}));
  EXPECT_EQ(Names(fixed), (Strings{"P0", "D0", "P2", "D1"}));
  EXPECT_EQ(Names(dropped), (Strings{"D2"}));
}

} // namespace
