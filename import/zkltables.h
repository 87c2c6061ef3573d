#pragma once
// The fixed tables that turn a ZK-40 patch into a QZ-MAX patch. Entries are kNone where the
// ZK-40 value or position has no counterpart.

#include <vector>

namespace QZML {

struct CZKLTables {
  std::vector<int> position; // T: ZK-40 image position 0..398 -> QZ-MAX flat offset
  std::vector<int> v1, v13, v17, v58, v122;
  std::vector<int> chain;     // VC
  std::vector<int> vg, vh;    // the groups at 66, 81 and 96
  std::vector<int> assign;    // A: ZK-40 assign target 0..255 -> QZ-MAX assign target
  std::vector<int> assignAlt; // B: for the targets 5..12, indexed from 0
  bool valid = false;         // every table expanded to its stated size
};

const CZKLTables& ZKLTables();

} // namespace QZML
