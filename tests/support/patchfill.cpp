#include "patchfill.h"

#include <algorithm>
#include <random>

#include "model/parameteraddress.h"

QZML::CPatchArray Rows(std::size_t count) {
  QZML::CPatchArray patches;
  patches.Resize(count);
  return patches;
}

void FillPatch(QZML::CPatch& patch, unsigned seed, const std::string& name) {
  std::mt19937 random(seed);
  for (int i = 0; i < QZML::kPatchImageSize; ++i)
    patch.Image()[i] = static_cast<std::uint8_t>(random() & 0x7F);
  patch.SetName(name);
}

std::string FirstDifferingBlock(const QZML::CPatch& a, const QZML::CPatch& b, bool (*inSet)(int blockId)) {
  QZML::CParameterAddress addressing;
  for (int index = 0; index < QZML::kBlockCount; ++index) {
    const QZML::CBlockInstance& block = QZML::BlockInstance(index);
    const int size = addressing.GetBlockSize(QZML::AREA_USER, block.kind->id);
    if (inSet(block.kind->id) &&
        !std::equal(a.Image() + block.flatOffset, a.Image() + block.flatOffset + size, b.Image() + block.flatOffset))
      return addressing.GetDescription(QZML::AREA_USER, 0, block.kind->id, block.sub);
  }
  return {};
}

bool SameImage(const QZML::CPatch& a, const QZML::CPatch& b) {
  return std::equal(a.Image(), a.Image() + QZML::kPatchImageSize, b.Image());
}
