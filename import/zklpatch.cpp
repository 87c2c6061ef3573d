#include "import/zklpatch.h"

#include <cstring>

namespace QZML {
namespace {

// Block sizes in order; the image is their concatenation.
constexpr int kBlockSizes[CZKLPatch::BLOCK_COUNT] = {54, 3,  7,  47, 10, 130, 8,  8,  8,  7, 1,
                                                     12, 16, 11, 11, 11, 11,  11, 11, 11, 11};

constexpr std::array<int, CZKLPatch::BLOCK_COUNT + 1> Offsets() {
  std::array<int, CZKLPatch::BLOCK_COUNT + 1> offsets{};
  for (int i = 0; i < CZKLPatch::BLOCK_COUNT; ++i)
    offsets[i + 1] = offsets[i] + kBlockSizes[i];
  return offsets;
}
constexpr std::array<int, CZKLPatch::BLOCK_COUNT + 1> kOffsets = Offsets();
static_assert(kOffsets[CZKLPatch::BLOCK_COUNT] == CZKLPatch::IMAGE_SIZE, "21 blocks make 399 bytes");
static_assert(kOffsets[CZKLPatch::NAME_BLOCK] == CZKLPatch::NAME_OFFSET, "name block position");

} // namespace

CZKLPatch::CZKLPatch() { Initialize(); }

void CZKLPatch::Initialize() {
  CParameter::Initialize();
  m_image.fill(0);
  SetName("INIT PATCH");
}

std::unique_ptr<CParameter> CZKLPatch::Clone() const { return std::make_unique<CZKLPatch>(*this); }

void CZKLPatch::SetName(const std::string& text) {
  for (int i = 0; i < kNameSize; ++i) {
    std::size_t at = static_cast<std::size_t>(i);
    m_image[NAME_OFFSET + at] = at < text.size() ? static_cast<std::uint8_t>(text[at]) : ' ';
  }
}

std::string CZKLPatch::GetName() const {
  return std::string(reinterpret_cast<const char*>(m_image.data() + NAME_OFFSET), kNameSize);
}

void CZKLPatch::GetData(std::uint8_t* buffer) const { std::memcpy(buffer, m_image.data(), IMAGE_SIZE); }

int CZKLPatch::BlockSize(int index) { return index >= 0 && index < BLOCK_COUNT ? kBlockSizes[index] : 0; }

int CZKLPatch::BlockOffset(int index) { return index >= 0 && index < BLOCK_COUNT ? kOffsets[index] : 0; }

CBlockRef CZKLPatch::Block(int index) {
  if (index < 0 || index >= BLOCK_COUNT)
    return {};
  return CBlockRef{m_image.data() + kOffsets[index], kBlockSizes[index]};
}

void CZKLPatch::ReadRecord(const std::uint8_t* body, std::size_t size) {
  std::size_t pos = 0;
  for (int i = 0; i < BLOCK_COUNT; ++i) {
    if (size - pos < 4)
      return;
    std::uint32_t n = (std::uint32_t(body[pos]) << 24) | (std::uint32_t(body[pos + 1]) << 16) |
                      (std::uint32_t(body[pos + 2]) << 8) | std::uint32_t(body[pos + 3]);
    pos += 4;
    std::size_t stored = n < size - pos ? n : size - pos;
    CBlockRef block = Block(i);
    std::size_t copy = stored < static_cast<std::size_t>(block.size) ? stored : static_cast<std::size_t>(block.size);
    std::memcpy(block.data, body + pos, copy);
    pos += stored;
  }
  for (int m = 0; m < 4 && pos < size; ++m) {
    std::size_t start = pos;
    while (pos < size && body[pos] != 0)
      ++pos;
    SetMemo(m, std::string(reinterpret_cast<const char*>(body + start), pos - start));
    ++pos; // the terminating zero
  }
}

} // namespace QZML
