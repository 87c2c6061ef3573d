#include "cli/verify.h"

#include <cstring>

#include "model/parameteraddress.h"

namespace QZCli {

std::vector<std::string> CompareWritten(int area, const std::vector<CVerifyItem>& items,
                                        const QZML::CPatchArray& written, const QZML::CPatchArray& readBack) {
  QZML::CParameterAddress address;
  std::vector<std::string> differences;
  for (const CVerifyItem& item : items) {
    QZML::CPatch* sent = written.Get(static_cast<std::size_t>(item.writtenRow));
    QZML::CPatch* got = readBack.Get(static_cast<std::size_t>(item.readRow));
    for (int index = 0; index < QZML::kBlockCount; ++index) {
      const QZML::CBlockInstance& block = QZML::BlockInstance(index);
      const int id = block.kind->id;
      // A block the model writes but never reads (the QZ-MAX's pedal blocks) cannot be checked.
      if (!QZML::CParameterAddress::IsRead(id) || !QZML::CParameterAddress::IsWritten(id))
        continue;
      const int size = address.GetBlockSize(area, id) & 0xFF;
      QZML::CBlockRef a = sent ? sent->GetBlock(id, block.sub) : QZML::CBlockRef();
      QZML::CBlockRef b = got ? got->GetBlock(id, block.sub) : QZML::CBlockRef();
      bool same = a && b && size <= a.size && size <= b.size &&
                  std::memcmp(a.data, b.data, static_cast<std::size_t>(size)) == 0;
      if (!same)
        differences.push_back(address.GetDescription(area, item.unitNumber, id, block.sub));
    }
  }
  return differences;
}

} // namespace QZCli
