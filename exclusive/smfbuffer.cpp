#include "exclusive/smfbuffer.h"

#include <algorithm>
#include <limits>

void ReadBufferBytes(const QZML::CByteArray& source, QZML::CByteArray& out, std::uint32_t position,
                     std::uint32_t count) {
  out.clear();
  if (position >= source.size())
    return;
  const std::size_t n = std::min<std::size_t>(count, source.size() - position);
  out.assign(source.begin() + static_cast<long>(position), source.begin() + static_cast<long>(position + n));
}

int WriteBufferBytes(QZML::CByteArray& target, std::uint32_t position, const QZML::CByteArray& bytes) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    return 0;
  const std::size_t end = static_cast<std::size_t>(position) + bytes.size();
  if (target.size() < end)
    target.resize(end, 0);
  std::copy(bytes.begin(), bytes.end(), target.begin() + static_cast<long>(position));
  return static_cast<int>(bytes.size());
}

bool ReadStreamToBuffer(std::istream& in, QZML::CByteArray& out) {
  out.clear();
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (!in || size < 0 || static_cast<std::uint64_t>(size) > std::numeric_limits<std::uint32_t>::max())
    return false;
  in.seekg(0, std::ios::beg);
  out.resize(static_cast<std::size_t>(size));
  if (size > 0)
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(size));
  if (!in || (size > 0 && in.gcount() != static_cast<std::streamsize>(size))) {
    out.clear();
    return false;
  }
  return true;
}
