#include <gtest/gtest.h>

#include "import/qz3tables.h"
#include "import/tabletext.h"
#include "import/zkltables.h"

using namespace QZML;

namespace {

TEST(TableText, ExpandsListsAndRuns) {
  std::vector<int> v;
  ASSERT_TRUE(ExpandList("1, none*2, 3..5, 7*3, 9..10*2", v));
  EXPECT_EQ(v, (std::vector<int>{1, kNone, kNone, 3, 4, 5, 7, 7, 7, 9, 10, 9, 10}));
  ASSERT_TRUE(ExpandRuns("0..1 -> 10; 2 -> none; 3..4 -> 20..21; 5 -> 7", 6, v));
  EXPECT_EQ(v, (std::vector<int>{10, 11, kNone, 20, 21, 7}));
}

TEST(TableText, RejectsMiscountedRuns) {
  std::vector<int> v;
  EXPECT_FALSE(ExpandRuns("0 -> 1; 2 -> 3", 3, v));       // 1 missing
  EXPECT_FALSE(ExpandRuns("0..1 -> 1; 1..2 -> 5", 3, v)); // 1 twice
  EXPECT_FALSE(ExpandRuns("0..2 -> 5..6", 3, v));         // lengths differ
  EXPECT_FALSE(ExpandRuns("0..3 -> 5", 3, v));            // beyond the table
  EXPECT_FALSE(ExpandList("1, , 2", v));
  EXPECT_FALSE(ExpandList("3..1", v));
  EXPECT_EQ(Lookup({5, 6}, 2, -7), -7);
  EXPECT_EQ(Lookup({5, 6}, -1, -7), -7);
}

TEST(ZKLTables, LandWhereTheTextSays) {
  const CZKLTables& t = ZKLTables();
  ASSERT_TRUE(t.valid);
  ASSERT_EQ(t.position.size(), 399u);
  for (int i : {28, 29, 30, 240, 241, 282})
    EXPECT_EQ(t.position[i], kNone) << i;
  // Each ZK-40 assign k lands on QZ-MAX assign k: byte 0 on byte 0, bytes 1..10 on bytes 2..11.
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(t.position[311 + 11 * k], 670 + 17 * k);
    for (int b = 1; b <= 10; ++b)
      EXPECT_EQ(t.position[311 + 11 * k + b], 670 + 17 * k + b + 1);
  }
  // The chain lands on chain positions 0, 1 and 4..13, the name on the name.
  EXPECT_EQ(t.position[283], 496);
  EXPECT_EQ(t.position[284], 497);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(t.position[285 + i], 500 + i);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(t.position[295 + i], 510 + i);
  // The groups at 81 and 96 share their offsets.
  for (int j = 0; j < 15; ++j)
    EXPECT_EQ(t.position[81 + j], t.position[96 + j]);
  // "254 and 255 -> 162" is read as both, not as a run.
  EXPECT_EQ(t.assign[254], 162);
  EXPECT_EQ(t.assign[255], 162);
  EXPECT_EQ(t.vg[44], 0); // the last of the ten zeros
  EXPECT_EQ(t.vg[45], 46);
}

// The row and offset of a QZ-3 parameter number.
const CQZ3Row* RowOf(int parameter, int& offset) {
  for (const CQZ3Row& row : QZ3Tables().rows)
    if (parameter >= row.firstParameter && parameter < row.firstParameter + row.size) {
      offset = parameter - row.firstParameter;
      return &row;
    }
  return nullptr;
}

int LargestOf(int parameter) {
  int offset = 0;
  const CQZ3Row* row = RowOf(parameter, offset);
  return row ? row->largest[static_cast<std::size_t>(offset)] : -1;
}

int OffsetOf(int parameter) {
  int offset = 0;
  const CQZ3Row* row = RowOf(parameter, offset);
  return row ? row->offsets[static_cast<std::size_t>(offset)] : -2;
}

TEST(QZ3Tables, RowsFollowOneAnother) {
  const CQZ3Tables& t = QZ3Tables();
  ASSERT_TRUE(t.valid);
  ASSERT_EQ(t.rows.size(), 23u);
  int next = 0;
  for (const CQZ3Row& row : t.rows) {
    EXPECT_EQ(row.firstParameter, next);
    next = row.firstParameter + row.size;
    for (int i = 0; i < row.size; ++i) {
      EXPECT_LT(row.offsets[i], 880);
      EXPECT_GE(row.largest[i], 1);
      EXPECT_LE(row.largest[i], 127); // limited values are 7-bit
    }
  }
  EXPECT_EQ(next, 298 + 12 * 8);
  // Rows 15..22 on assigns 1..8, 13 and 14 on assigns 11 and 12, 12 on EXP1, 11 on the name, 10 on the chain.
  for (int row = 15; row < 23; ++row)
    EXPECT_EQ(t.rows[row].offsets[0], 670 + 17 * (row - 15));
  EXPECT_EQ(t.rows[13].offsets[0], 670 + 17 * 10);
  EXPECT_EQ(t.rows[14].offsets[0], 670 + 17 * 11);
  EXPECT_EQ(t.rows[12].offsets[0], 874);
  EXPECT_EQ(t.rows[11].offsets[0], 510);
  EXPECT_EQ(t.rows[10].offsets[0], 496);
  // Parameter 101 only switches 102, which shares its offset; 220 and 221 are the delay pair.
  EXPECT_EQ(OffsetOf(101), 265);
  EXPECT_EQ(OffsetOf(102), 265);
  EXPECT_EQ(OffsetOf(220), 442);
}

TEST(QZ3Tables, LimitsKeepEveryLookupInsideItsTable) {
  const CQZ3Tables& t = QZ3Tables();
  struct {
    int parameter;
    const std::vector<int>* table;
  } lookups[] = {{2, &t.w2},   {61, &t.w61},   {68, &t.w68}, {78, &t.w78},
                 {95, &t.w95}, {236, &t.w236}, {45, &t.ww},  {56, &t.ww}};
  for (auto& l : lookups)
    EXPECT_LT(LargestOf(l.parameter), static_cast<int>(l.table->size())) << l.parameter;
  for (int n = 250; n <= 260; ++n)
    EXPECT_LT(LargestOf(n), static_cast<int>(t.chain.size())) << n;
  // Assign targets of rows 13 and 14 stay inside A3; those of rows 15..22 may not (they switch off).
  EXPECT_LE(LargestOf(282) * 128 + LargestOf(283), 236);
  EXPECT_EQ(t.assign.size(), 237u);
}

} // namespace
