#pragma once
// One patch of the unit: the bytes of its 43 blocks (always at the QZ-MAX sizes) and four memos.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "model/blocktable.h"
#include "model/bytes.h"
#include "model/parameter.h"

namespace QZML {

// A view of one block inside a patch; data is null when the block does not exist.
struct CBlockRef {
  std::uint8_t* data = nullptr;
  int size = 0;
  explicit operator bool() const { return data != nullptr; }
};

class CPatch : public CParameter {
public:
  CPatch();
  CPatch(const CPatch&) = default;
  CPatch& operator=(const CPatch&) = default;

  void Initialize() override;
  std::unique_ptr<CParameter> Clone() const override;
  bool CopyFrom(const CParameter& other) override;
  void SetName(const std::string& text) override;
  std::string GetName() const override;
  void GetData(std::uint8_t* buffer) const override;  // 880 bytes
  void SetData(const std::uint8_t* buffer) override;  // 880 bytes
  unsigned GetStoredSize() const override;

  // Block instance 0..42 in table order.
  CBlockRef Block(int index);
  // A block by id and sub index (0 for the single blocks); empty when there is none.
  CBlockRef GetBlock(int blockId, int sub);

  const std::uint8_t* Image() const { return m_image.data(); }
  std::uint8_t* Image() { return m_image.data(); }

  // The library file record body (everything after its length): blocks, then the memos.
  void WriteRecord(CByteArray& out) const;
  // Fills the patch from a record body of `size` bytes; never reads past it.
  // False when the body ends before all blocks and memos were read (what was read is kept).
  bool ReadRecord(const std::uint8_t* body, std::size_t size);

  // The flat image of a new patch.
  static const std::array<std::uint8_t, kPatchImageSize>& DefaultImage();

private:
  std::array<std::uint8_t, kPatchImageSize> m_image;
};

using CPatchArray = CConcreteParameterArray<CPatch>;

} // namespace QZML
