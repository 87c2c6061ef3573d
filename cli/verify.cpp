#include "cli/verify.h"

#include <vector>

#include "model/parameteraddress.h"

namespace QZCli {

namespace {

// A name travels with '{' and '}' as the unit's codes 0x7F and 0x7E, and a read turns those codes back
// into the braces: the sent name compares equal to what a read gives when both go through that mapping.
std::vector<std::uint8_t> AsRead(const std::uint8_t* bytes, int size, bool name) {
  std::vector<std::uint8_t> out(bytes, bytes + size);
  if (name)
    for (std::uint8_t& byte : out)
      byte = byte == 0x7E ? '}' : byte == 0x7F ? '{' : byte;
  return out;
}

} // namespace

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
      const bool name = id == QZML::BLOCK_NAME;
      bool same = a && b && size <= a.size && size <= b.size &&
                  AsRead(a.data, size, name) == AsRead(b.data, size, name);
      if (!same)
        differences.push_back(address.GetDescription(area, item.unitNumber, id, block.sub));
    }
  }
  return differences;
}

} // namespace QZCli
