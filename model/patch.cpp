#include "model/patch.h"

#include <cstring>

namespace QZML {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

// Parses "00 1E 32 ..." into bytes; the table text is fixed, so a miscount is a programming error
// caught by the tests that compare each block's default length with its size.
int ParseHex(const char* text, std::uint8_t* out, int capacity) {
  int count = 0;
  for (const char* p = text; *p;) {
    int hi = HexDigit(p[0]);
    if (hi < 0) {
      ++p;
      continue;
    }
    int lo = HexDigit(p[1]);
    if (lo < 0 || count >= capacity)
      return -1;
    out[count++] = static_cast<std::uint8_t>(hi * 16 + lo);
    p += 2;
  }
  return count;
}

std::array<std::uint8_t, kPatchImageSize> BuildDefaultImage() {
  std::array<std::uint8_t, kPatchImageSize> image{};
  for (int i = 0; i < kBlockCount; ++i) {
    const CBlockInstance& block = BlockInstance(i);
    ParseHex(block.kind->defaults, image.data() + block.flatOffset, block.size);
  }
  return image;
}

void PutBE32(CByteArray& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

} // namespace

// Exposed for the table test: the number of bytes a block's default text holds.
int DefaultByteCount(const CBlockKind& kind) {
  std::uint8_t scratch[256];
  return ParseHex(kind.defaults, scratch, static_cast<int>(sizeof scratch));
}

const std::array<std::uint8_t, kPatchImageSize>& CPatch::DefaultImage() {
  static const std::array<std::uint8_t, kPatchImageSize> image = BuildDefaultImage();
  return image;
}

CPatch::CPatch() : m_image(DefaultImage()) {}

void CPatch::Initialize() {
  CParameter::Initialize();
  m_image = DefaultImage();
}

std::unique_ptr<CParameter> CPatch::Clone() const { return std::make_unique<CPatch>(*this); }

bool CPatch::CopyFrom(const CParameter& other) {
  const auto* patch = dynamic_cast<const CPatch*>(&other);
  if (!patch)
    return false;
  *this = *patch;
  return true;
}

void CPatch::SetName(const std::string& text) {
  std::uint8_t* name = GetBlock(BLOCK_NAME, 0).data;
  for (int i = 0; i < kNameSize; ++i) {
    std::uint8_t c = ' ';
    if (static_cast<std::size_t>(i) < text.size()) {
      c = static_cast<std::uint8_t>(text[static_cast<std::size_t>(i)]);
      if (c < 0x20 || c > 0x7F)
        c = ' ';
    }
    name[i] = c;
  }
}

std::string CPatch::GetName() const {
  // Looked up once: sorting a large list by name asks for names very often.
  static const int kNameInstance = FindBlockInstance(BLOCK_NAME, 0);
  const CBlockInstance& block = BlockInstance(kNameInstance);
  return std::string(reinterpret_cast<const char*>(m_image.data() + block.flatOffset), kNameSize);
}

void CPatch::GetData(std::uint8_t* buffer) const { std::memcpy(buffer, m_image.data(), kPatchImageSize); }

void CPatch::SetData(const std::uint8_t* buffer) { std::memcpy(m_image.data(), buffer, kPatchImageSize); }

unsigned CPatch::GetStoredSize() const { return kPatchImageSize + 4 * kBlockCount + CParameter::GetStoredSize(); }

CBlockRef CPatch::Block(int index) {
  if (index < 0 || index >= kBlockCount)
    return {};
  const CBlockInstance& block = BlockInstance(index);
  return CBlockRef{m_image.data() + block.flatOffset, block.size};
}

CBlockRef CPatch::GetBlock(int blockId, int sub) { return Block(FindBlockInstance(blockId, sub)); }

void CPatch::WriteRecord(CByteArray& out) const {
  out.reserve(out.size() + GetStoredSize());
  for (int i = 0; i < kBlockCount; ++i) {
    const CBlockInstance& block = BlockInstance(i);
    PutBE32(out, static_cast<std::uint32_t>(block.size));
    out.insert(out.end(), m_image.begin() + block.flatOffset, m_image.begin() + block.flatOffset + block.size);
  }
  for (int m = 0; m < 4; ++m) {
    const std::string& memo = GetMemo(m);
    out.insert(out.end(), memo.begin(), memo.end());
    out.push_back(0);
  }
}

bool CPatch::ReadRecord(const std::uint8_t* body, std::size_t size) {
  std::size_t pos = 0;
  for (int i = 0; i < kBlockCount; ++i) {
    if (size - pos < 4)
      return false;
    std::uint32_t n = (std::uint32_t(body[pos]) << 24) | (std::uint32_t(body[pos + 1]) << 16) |
                      (std::uint32_t(body[pos + 2]) << 8) | std::uint32_t(body[pos + 3]);
    pos += 4;
    // A stored length may claim more than the record holds or the block takes: copy what both allow,
    // and skip no further than the record's end.
    std::size_t available = size - pos;
    std::size_t claimed = n < available ? n : available;
    CBlockRef block = Block(i);
    std::size_t copy = claimed < static_cast<std::size_t>(block.size) ? claimed : static_cast<std::size_t>(block.size);
    // The unit's values are 7-bit. A byte above that (a damaged file) would end the data set it is later
    // sent in and turn the rest into other messages, so it keeps the default instead.
    const std::uint8_t* defaults = DefaultImage().data() + BlockInstance(i).flatOffset;
    for (std::size_t k = 0; k < copy; ++k)
      block.data[k] = body[pos + k] < 0x80 ? body[pos + k] : defaults[k];
    pos += claimed;
    if (n > available)
      return false;
  }
  for (int m = 0; m < 4; ++m) {
    std::size_t start = pos;
    while (pos < size && body[pos] != 0)
      ++pos;
    SetMemo(m, std::string(reinterpret_cast<const char*>(body + start), pos - start));
    if (pos >= size)
      return false;
    ++pos;  // the terminating zero
  }
  return true;
}

} // namespace QZML
