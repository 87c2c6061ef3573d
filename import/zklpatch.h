#pragma once
// One patch of the smaller ZK-40 unit as its librarian stores it: 21 blocks (a 399-byte image)
// and the four memos.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/parameter.h"
#include "model/patch.h"

namespace QZML {

class CZKLPatch : public CParameter {
public:
  enum : int {
    BLOCK_COUNT = 21,
    IMAGE_SIZE = 399,
    NAME_BLOCK = 12,   // block index of the name
    NAME_OFFSET = 295, // image position of the name
  };

  CZKLPatch();
  CZKLPatch(const CZKLPatch&) = default;
  CZKLPatch& operator=(const CZKLPatch&) = default;

  // Empties the memos and gives every block its default bytes (zeros; the name "INIT PATCH").
  void Initialize() override;
  std::unique_ptr<CParameter> Clone() const override;
  // Copies up to 16 characters unchanged and pads with spaces.
  void SetName(const std::string& text) override;
  std::string GetName() const override;
  void GetData(std::uint8_t* buffer) const override; // 399 bytes
  // A ZK-40 patch is only ever read from its file; there is no image to take it from.
  void SetData(const std::uint8_t*) override {}

  // Block 0..20 of the patch; empty for any other index.
  CBlockRef Block(int index);
  static int BlockSize(int index);
  static int BlockOffset(int index);

  const std::uint8_t* Image() const { return m_image.data(); }
  std::uint8_t* Image() { return m_image.data(); }

  // Fills the patch from a record body of `size` bytes: 21 blocks as length and bytes, then four
  // zero-terminated memos. Each stored block is copied from its first byte on and cut to the block's
  // size. Never reads past the body; a body that ends early leaves the rest as it was.
  void ReadRecord(const std::uint8_t* body, std::size_t size);

private:
  std::array<std::uint8_t, IMAGE_SIZE> m_image;
};

using CZKLPatchArray = CConcreteParameterArray<CZKLPatch>;

// The ZK-40 patches of one file, in file order.
class CZKLData {
public:
  virtual ~CZKLData() = default;
  CZKLPatchArray m_patches;
};

} // namespace QZML
