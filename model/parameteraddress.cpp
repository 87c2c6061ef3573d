#include "model/parameteraddress.h"

#include <cstdio>
#include <cstring>

#include "model/appstate.h"

namespace QZML {
namespace {

bool IsPatchData(int areaType) { return (areaType & 0x0F) == 1; }

bool IsGroup(int blockId) {
  int high = (blockId >> 8) & 0xFF;
  return high == (BLOCK_ASSIGN_QZ5 >> 8) || high == (BLOCK_ASSIGN_QZMAX >> 8);
}

int ModelIndex() { return CAppState::Instance().GetTargetModel() == MODEL_QZ5 ? 1 : 0; }

} // namespace

int CParameterAddress::GetAreaType(std::uint32_t address) const {
  if (address >= ADDRESS_USER && address < ADDRESS_USER_END)
    return AREA_USER;
  if (address >= ADDRESS_TEMPORARY && address < ADDRESS_TEMPORARY_END)
    return AREA_TEMPORARY;
  return AREA_NONE;
}

int CParameterAddress::GetPatchIndex(std::uint32_t address, int areaType) const {
  if (areaType == AREA_TEMPORARY)
    return 0;
  if (areaType == AREA_USER)
    return (static_cast<std::int32_t>(address) - static_cast<std::int32_t>(ADDRESS_USER)) /
           static_cast<std::int32_t>(PATCH_STRIDE);
  return -1;
}

std::uint32_t CParameterAddress::GetAreaAddress(int areaType) const {
  if (areaType == AREA_TEMPORARY)
    return ADDRESS_TEMPORARY;
  if (areaType == AREA_USER)
    return ADDRESS_USER;
  return 0;
}

std::uint32_t CParameterAddress::GetPatchAddress(int areaType, int patch) const {
  std::uint32_t address = GetAreaAddress(areaType);
  if (areaType == AREA_USER)
    address += static_cast<std::uint32_t>(patch) * PATCH_STRIDE;
  return address;
}

std::uint32_t CParameterAddress::GetBlockAddress(int areaType, int patch, int blockId) const {
  std::uint32_t address = GetPatchAddress(areaType, patch);
  const CBlockKind* kind = FindBlockKind(blockId);
  if (!IsPatchData(areaType) || !kind)
    return address;
  return address + kind->offset;
}

std::uint32_t CParameterAddress::GetParameterAddress(int areaType, int patch, int blockId, int sub) const {
  std::uint32_t address = GetBlockAddress(areaType, patch, blockId);
  if (IsPatchData(areaType) && (blockId == BLOCK_ASSIGN_QZ5 || blockId == BLOCK_ASSIGN_QZMAX))
    address += static_cast<std::uint32_t>(sub) * GROUP_STRIDE;
  return address;
}

int CParameterAddress::GetBlockSize(int areaType, int blockId) const {
  const CBlockKind* kind = FindBlockKind(blockId);
  if (!IsPatchData(areaType) || !kind)
    return 0;
  return kind->size[ModelIndex()];
}

int CParameterAddress::GetBlockId(std::uint32_t address, int areaType, int patch) const {
  if (!IsPatchData(areaType))
    return 0;
  std::uint32_t d = address - GetPatchAddress(areaType, patch);
  // Each kind's range ends where the next kind's begins; past the last bound is the last kind.
  for (int number = 1; number < kBlockKindCount; ++number) {
    const CBlockKind* next = FindBlockKind(((number + 1) << 8) | 1);
    if (d < next->offset)
      return (number << 8) | 1;
  }
  return (kBlockKindCount << 8) | 1;
}

int CParameterAddress::GetSubIndex(std::uint32_t address, int areaType, int patch, int blockId) const {
  if (IsGroup(blockId)) {
    std::int64_t d = static_cast<std::int64_t>(address) -
                     static_cast<std::int64_t>(GetBlockAddress(areaType, patch, blockId));
    return static_cast<int>(d / static_cast<std::int64_t>(GROUP_STRIDE));
  }
  return FindBlockKind(blockId) ? 0 : -1;
}

std::string CParameterAddress::GetDescription(int areaType, int patch, int blockId, int sub) const {
  if (!IsPatchData(areaType))
    return std::string();
  char buffer[64];
  std::string text;
  int area = (areaType >> 4) & 0x0F;
  if (area == 1) {
    text = "Temporary Patch: ";
  } else if (area == 2) {
    std::snprintf(buffer, sizeof buffer, "User Patch %d: ", patch + 1);
    text = buffer;
  }
  return text + BlockText(blockId, sub);
}

bool CParameterAddress::StoreData(std::uint32_t address, const std::uint8_t* data, std::size_t count,
                                  CPatchArray* patches, int tempSlot) const {
  int areaType = GetAreaType(address);
  int patch;
  if (areaType == AREA_TEMPORARY)
    patch = tempSlot;
  else if (areaType == AREA_USER)
    patch = GetPatchIndex(address, areaType);
  else
    return false;
  // The block is located relative to the address's own patch, whatever slot it is filed into.
  int addressPatch = GetPatchIndex(address, areaType);
  int blockId = GetBlockId(address, areaType, addressPatch);
  int sub = GetSubIndex(address, areaType, addressPatch, blockId);
  return StoreBlock(patch, blockId, sub, data, count, patches);
}

bool CParameterAddress::StoreBlock(int patch, int blockId, int sub, const std::uint8_t* data, std::size_t count,
                                   CPatchArray* patches) const {
  if (!patches || patches->empty() || patch < 0 || static_cast<std::size_t>(patch) >= patches->size())
    return false;
  CPatch* target = patches->Get(static_cast<std::size_t>(patch));
  if (!target)
    return false;
  CBlockRef block = target->GetBlock(blockId, sub);
  if (!block)
    return false;
  std::size_t n = count < static_cast<std::size_t>(block.size) ? count : static_cast<std::size_t>(block.size);
  if (n > 0 && data)
    std::memcpy(block.data, data, n);
  if (blockId == BLOCK_NAME) {
    for (std::size_t i = 0; i < n; ++i) {
      if (block.data[i] == 0x7E)
        block.data[i] = '}';
      else if (block.data[i] == 0x7F)
        block.data[i] = '{';
    }
  } else if (blockId == BLOCK_FX1) {
    target->Memo1.clear();
    target->Memo2.clear();
    target->Memo3.clear();
    target->Memo4.clear();
  }
  return true;
}

CBlockRef CParameterAddress::GetBlockData(int patch, int blockId, int sub, const CPatchArray* patches) const {
  if (!patches || patch < 0 || static_cast<std::size_t>(patch) >= patches->size())
    return {};
  CPatch* target = patches->Get(static_cast<std::size_t>(patch));
  if (!target)
    return {};
  if (!FindBlockKind(blockId))
    return target->GetBlock(BLOCK_FX1, 0);
  return target->GetBlock(blockId, sub);
}

bool CParameterAddress::IsRead(int blockId) {
  const CBlockKind* kind = FindBlockKind(blockId);
  return kind && kind->read[ModelIndex()];
}

bool CParameterAddress::IsWritten(int blockId) {
  const CBlockKind* kind = FindBlockKind(blockId);
  return kind && kind->written[ModelIndex()];
}

} // namespace QZML
