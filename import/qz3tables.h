#pragma once
// The fixed tables of the QZ-3 bulk dump import: the QZ-3 patch rows with the QZ-MAX offset and the
// largest accepted value of each byte, the value tables and the assign target tables.

#include <vector>

namespace QZML {

struct CQZ3Row {
  int firstParameter = 0;
  int size = 0;
  std::vector<int> offsets; // QZ-MAX flat offset of each byte, or kNone
  std::vector<int> largest; // a larger value is taken as this one
};

struct CQZ3Tables {
  enum : int { ROW_COUNT = 23, PATCH_COUNT = 140 };
  std::vector<CQZ3Row> rows;
  std::vector<int> w2, w61, w68, w78, w95, w236;
  std::vector<int> chain; // WC
  std::vector<int> ww;
  std::vector<int> assign;    // A3: QZ-3 assign target 0..236 -> QZ-MAX assign target
  std::vector<int> assignAlt; // B3: for the targets 43..50, indexed from 0
  bool valid = false;         // every table expanded to its stated size
};

const CQZ3Tables& QZ3Tables();

} // namespace QZML
