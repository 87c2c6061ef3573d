#pragma once
// The unit's address space as the librarian sees it: areas, patches, blocks and sub indices.
// Stateless; sizes and block sets follow the target model at the moment of each call.

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/blocktable.h"
#include "model/patch.h"

namespace QZML {

class CParameterAddress {
public:
  virtual ~CParameterAddress() = default;

  int GetAreaType(std::uint32_t address) const;
  int GetPatchIndex(std::uint32_t address, int areaType) const;
  std::uint32_t GetAreaAddress(int areaType) const;
  std::uint32_t GetPatchAddress(int areaType, int patch) const;
  std::uint32_t GetBlockAddress(int areaType, int patch, int blockId) const;
  std::uint32_t GetParameterAddress(int areaType, int patch, int blockId, int sub) const;
  int GetBlockSize(int areaType, int blockId) const;
  int GetBlockId(std::uint32_t address, int areaType, int patch) const;
  int GetSubIndex(std::uint32_t address, int areaType, int patch, int blockId) const;
  std::string GetDescription(int areaType, int patch, int blockId, int sub) const;

  // Files a received data set into the patch it addresses; the temporary area goes to tempSlot.
  bool StoreData(std::uint32_t address, const std::uint8_t* data, std::size_t count, CPatchArray* patches,
                 int tempSlot) const;
  bool StoreBlock(int patch, int blockId, int sub, const std::uint8_t* data, std::size_t count,
                  CPatchArray* patches) const;
  // The block of a patch; an id not in the table gives "PATCH FX1", a missing patch an empty ref.
  CBlockRef GetBlockData(int patch, int blockId, int sub, const CPatchArray* patches) const;

  // Whether a block kind belongs to the set requested from / sent to the unit on the current model.
  static bool IsRead(int blockId);
  static bool IsWritten(int blockId);
};

// Address <-> the four 7-bit message bytes, most significant first.
inline std::uint32_t PackAddress(const std::uint8_t bytes[4]) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = value * 128 + (bytes[i] & 0x7F);
  return value;
}
inline void UnpackAddress(std::uint32_t value, std::uint8_t bytes[4]) {
  bytes[0] = static_cast<std::uint8_t>((value >> 21) & 0x7F);
  bytes[1] = static_cast<std::uint8_t>((value >> 14) & 0x7F);
  bytes[2] = static_cast<std::uint8_t>((value >> 7) & 0x7F);
  bytes[3] = static_cast<std::uint8_t>(value & 0x7F);
}

} // namespace QZML
