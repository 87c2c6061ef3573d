#include "import/qz3tables.h"

#include <string>

#include "import/tabletext.h"

namespace QZML {
namespace {

struct CRowText {
  int firstParameter;
  int size;
  const char* offsets;
  const char* largest;
};

// Rows 0..14; a..b is a run of consecutive offsets, v*n is n times v.
const CRowText kRows[] = {
    {0, 42, "0, none, 2, 133..134, none*2, 135..136, none*7, 37..40, 71..72, 87..99, 73..79",
     "1, 35, 8, 100*11, 2, 100*3, 113, 100*3, 1, 100*4, 113, 100*14"},
    {42, 17, "139, none*2, 141..143, 21, 15..16, 22..25, 27, 141..143",
     "1, 15, 2, 7, 100*2, 1*2, 100*3, 113, 100*2, 7, 100*2"},
    {59, 7, "158, none, 160..164", "1, 10, 17, 100*4"},
    {66, 16, "166, none, 172..180, 183, 183, 186..188", "1, 12, 32, 100*6, 1, 2, 1, 5, 10, 100*2"},
    {82, 11, "206, none, 209..216, 218", "1, 11, 40, 20, 5, 40, 20, 5, 40*3"},
    {93, 124,
     "219, none, 221, 260..265, 265..272, 274..275, 349..380, 390..398, 276..285, 435..438, 319..326, 286..289, "
     "327..329, 399..424, 339..346, 348",
     "1, 80, 15, 3, 113, 100*3, 1, 113, 100*2, 113, 100*6, 2, 57, 2, 127, 100*2, 57, 2, 127, 100, 11, 100, 2, 3, "
     "48, 100, 2, 127, 100*2, 3, 48, 100, 2, 127, 100*2, 48*2, 100*3, 16, 113, 100, 80, 100, 113, 100, 80, 100*2, "
     "113, 100, 113, 100, 1, 100, 113, 100*2, 3, 127, 100, 120, 2, 4*2, 100, 113, 100*3, 1, 100*3, 19, 113, 100, "
     "39, 1, 113, 100, 11, 100, 1, 100*3, 3, 1, 2, 100*7, 101, 100*2, 1, 100*2, 40, 20, 5, 40, 20, 5, 40*3"},
    {217, 9, "439, none, 441..446, 463", "1, 10, 1, 103, 20, 100*2, 9, 120"},
    {226, 8, "465, none, 467..470, 472..473", "1, 10, 1, 113, 100, 80, 9, 100"},
    {234, 9, "474, none, 476..482", "1, 10, 4, 99, 100, 9*2, 10, 100"},
    {243, 7, "484..486, 488..491", "1, 100*3, 1, 127, 100"},
    {250, 11, "496, 498, 500..508", "10*11"},
    {261, 16, "510..525", "127*16"},
    {277, 3, "874..876", "1, 100*2"},
    {280, 9, "840, none, 842..847, 849", "1, 10, 1, 108, 127*4, 1"},
    {289, 9, "857, none, 859..864, 866", "1, 10, 1, 108, 127*4, 1"},
};
// Rows 15..22, the assigns: first parameter 298 + 12*(row - 15), offsets A, none, A+2..A+11 with
// A = 670 + 17*(row - 15).
const char kAssignRowLargest[] = "1, 10, 1, 127*5, 68, 1, 127*2";

struct CListText {
  std::vector<int> CQZ3Tables::*table;
  int size;
  const char* text;
};
// Value tables: index = the QZ-3 value after the largest-value limit.
const CListText kLists[] = {
    {&CQZ3Tables::w2, 9, "0, 1, 5, 5, 6, 13, 16, 17, 14"},
    {&CQZ3Tables::w61, 18, "1, 4, 0, 9, 12, 13, 6, 7, 14, 27, 28, 29, 21, 20, 22, 30, 31, 1"},
    {&CQZ3Tables::w68, 33,
     "0, 2, 3, 5, 6, 7, 9, 10, 12, 13, 14, 15, 16, 18, 17, 19, 20, 21, 24, 26, 27, 32, 34, 33, 39, 40, 41, 43, 44, "
     "45, 46, 47, 48"},
    {&CQZ3Tables::w78, 6, "3, 4, 5, 7, 8, 1"},
    {&CQZ3Tables::w95, 16, "7, 8, 22, 23, 24, 27, 9, 10, 11, 32, 18, 12, 19, 28, 29, 21"},
    {&CQZ3Tables::w236, 5, "1, 1, 2, 3, 4"},
    {&CQZ3Tables::chain, 11, "0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12"},
    {&CQZ3Tables::ww, 8, "0, 1, 2, 3, 4, 6, 7, 8"},
    // B3, for the targets 43..50.
    {&CQZ3Tables::assignAlt, 8, "13, 14, 15, 16, 17, 23, 24, 19"},
};

// Assign target table A3, as runs of indices a..b mapping to n..n+(b-a).
const char kAssignTargets[] =
    "0..1 -> 0; 2..3 -> 131; 4..5 -> 135; 6..9 -> 133; 10..12 -> 34; 13 -> 32; 14 -> 34; 15..18 -> 36; "
    "19..20 -> 70; 21..33 -> 86; 34..40 -> 72; 41 -> 137; 42 -> none; 43 -> 20; 44..45 -> 14; 46..49 -> 21; "
    "50 -> 26; 51..53 -> 138; 54..59 -> 153; 60 -> 160; 61..69 -> 165; 70 -> 176; 71 -> 176; 72 -> 178; "
    "73..74 -> 180; 75 -> 199; 76..83 -> 201; 84..86 -> 210; 87..92 -> 251; 93..100 -> 256; 101..102 -> 265; "
    "103..125 -> 340; 126..134 -> 377; 135..144 -> 267; 145..147 -> 422; 148..155 -> 310; 156..159 -> 277; "
    "160..162 -> 318; 163..188 -> 386; 189..196 -> 330; 197 -> 339; 198..200 -> 425; 201..204 -> 427; "
    "205 -> 445; 206..210 -> 447; 211..220 -> 453; 221..223 -> 464; 224 -> 468; 225..226 -> 470; "
    "227..236 -> 476";

bool BuildRow(int first, int size, const char* offsets, const char* largest, CQZ3Row& row) {
  row.firstParameter = first;
  row.size = size;
  bool ok = ExpandList(offsets, row.offsets) && ExpandList(largest, row.largest);
  return ok && static_cast<int>(row.offsets.size()) == size && static_cast<int>(row.largest.size()) == size;
}

CQZ3Tables Build() {
  CQZ3Tables t;
  bool ok = true;
  for (const CRowText& text : kRows) {
    t.rows.emplace_back();
    ok = BuildRow(text.firstParameter, text.size, text.offsets, text.largest, t.rows.back()) && ok;
  }
  for (int row = 15; row < CQZ3Tables::ROW_COUNT; ++row) {
    std::string a = std::to_string(670 + 17 * (row - 15));
    std::string a2 = std::to_string(670 + 17 * (row - 15) + 2);
    std::string a11 = std::to_string(670 + 17 * (row - 15) + 11);
    std::string offsets = a + ", none, " + a2 + ".." + a11;
    t.rows.emplace_back();
    ok = BuildRow(298 + 12 * (row - 15), 12, offsets.c_str(), kAssignRowLargest, t.rows.back()) && ok;
  }
  ok = ExpandRuns(kAssignTargets, 237, t.assign) && ok;
  for (const CListText& list : kLists) {
    std::vector<int>& table = t.*list.table;
    ok = ExpandList(list.text, table) && static_cast<int>(table.size()) == list.size && ok;
  }
  t.valid = ok && static_cast<int>(t.rows.size()) == CQZ3Tables::ROW_COUNT;
  return t;
}

} // namespace

const CQZ3Tables& QZ3Tables() {
  static const CQZ3Tables tables = Build();
  return tables;
}

} // namespace QZML
