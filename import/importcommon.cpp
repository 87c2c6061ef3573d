#include "import/importcommon.h"

#include <algorithm>

#include "model/patch.h"

namespace QZML {

const CPatchImage& ImportDefaultImage() {
  static const CPatchImage image = [] {
    CPatchImage q = CPatch::DefaultImage();
    q[OFFSET_REVERB + 2] = 0x04;
    q[OFFSET_REVERB + 3] = 0x1B;
    q[OFFSET_REVERB + 8] = 0x08;
    return q;
  }();
  return image;
}

void MoveChainEntryAfter(std::uint8_t* chain, std::uint8_t moving, std::uint8_t anchor) {
  std::uint8_t* end = chain + FX_CHAIN_SIZE;
  std::uint8_t* from = std::find(chain, end, moving);
  if (from == end || std::find(chain, end, anchor) == end || moving == anchor)
    return;
  std::uint8_t entry = *from;
  std::copy(from + 1, end, from); // close the gap
  std::uint8_t* rest = end - 1;
  std::uint8_t* after = std::find(chain, rest, anchor) + 1;
  std::copy_backward(after, rest, end);
  *after = entry;
}

bool ReadBytes(std::istream& in, std::size_t count, CByteArray& out) {
  constexpr std::size_t kChunk = 64 * 1024;
  while (count > 0) {
    std::size_t want = std::min(count, kChunk);
    std::size_t old = out.size();
    out.resize(old + want);
    in.read(reinterpret_cast<char*>(out.data() + old), static_cast<std::streamsize>(want));
    std::size_t got = static_cast<std::size_t>(in.gcount());
    out.resize(old + got);
    if (got != want)
      return false;
    count -= got;
  }
  return true;
}

bool ReadAll(std::istream& in, CByteArray& out) {
  while (in && !in.eof())
    ReadBytes(in, 64 * 1024, out);
  return !in.bad();
}

CMemoryStreamBuf::CMemoryStreamBuf(const std::uint8_t* data, std::size_t size) {
  // streambuf wants char pointers; the bytes are only read through them.
  char* begin = const_cast<char*>(reinterpret_cast<const char*>(data));
  setg(begin, begin, begin + size);
}

} // namespace QZML
