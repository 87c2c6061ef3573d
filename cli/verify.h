#pragma once
// What `write --verify` compares: for every patch written and read back, every block that the target
// model both writes and reads, over the bytes exchanged with the unit.

#include <string>
#include <vector>

#include "model/patch.h"

namespace QZCli {

// One patch written from written[writtenRows[i]] and read back into readBack[readRows[i]], in the area
// (AREA_USER or AREA_TEMPORARY) it went to; unitNumbers[i] is the patch number on the unit.
struct CVerifyItem {
  int writtenRow;
  int readRow;
  int unitNumber;
};

// The descriptions ("User Patch 3: PATCH FX1") of the blocks that differ, in patch and table order.
// A patch missing from either array counts as differing in every compared block.
std::vector<std::string> CompareWritten(int area, const std::vector<CVerifyItem>& items,
                                        const QZML::CPatchArray& written, const QZML::CPatchArray& readBack);

} // namespace QZCli
