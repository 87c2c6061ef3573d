#include "model/patchdrag.h"

#include <cstring>
#include <memory>

namespace QZML {

namespace {

constexpr char kMagic[4] = {'Q', 'Z', 'P', 'D'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kFlagLibrary = 1;

void Put32(CByteArray& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Put64(CByteArray& out, std::uint64_t value) {
  Put32(out, static_cast<std::uint32_t>(value >> 32));
  Put32(out, static_cast<std::uint32_t>(value));
}

// Big-endian numbers off the front of the bytes; every read checks what is left first.
class CDragReader {
public:
  CDragReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  std::size_t Left() const { return m_size - m_at; }
  bool Get32(std::uint32_t& value) {
    const std::uint8_t* at = Take(4);
    if (!at)
      return false;
    value = std::uint32_t(at[0]) << 24 | std::uint32_t(at[1]) << 16 | std::uint32_t(at[2]) << 8 | at[3];
    return true;
  }
  bool Get64(std::uint64_t& value) {
    std::uint32_t high = 0, low = 0;
    if (!Get32(high) || !Get32(low))
      return false;
    value = std::uint64_t(high) << 32 | low;
    return true;
  }
  const std::uint8_t* Take(std::size_t size) {
    if (Left() < size)
      return nullptr;
    const std::uint8_t* at = m_data + m_at;
    m_at += size;
    return at;
  }

private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_at = 0;
};

} // namespace

CByteArray EncodePatchDrag(const CPatchDrag& header, const CPatchArray& patches, const std::vector<int>& indices) {
  CByteArray bytes(kMagic, kMagic + 4);
  Put32(bytes, kVersion);
  Put64(bytes, header.process);
  Put64(bytes, header.list);
  Put32(bytes, header.fromLibrary ? kFlagLibrary : 0);
  Put32(bytes, static_cast<std::uint32_t>(ModelNumber(header.model)));
  Put32(bytes, static_cast<std::uint32_t>(indices.size()));
  CByteArray record;
  for (int index : indices) {
    const CPatch* patch = index >= 0 ? patches.Get(static_cast<std::size_t>(index)) : nullptr;
    record.clear();
    (patch ? *patch : CPatch()).WriteRecord(record);
    Put32(bytes, static_cast<std::uint32_t>(index));
    Put32(bytes, static_cast<std::uint32_t>(record.size()));
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  return bytes;
}

bool DecodePatchDrag(const std::uint8_t* bytes, std::size_t size, CPatchDrag& drag, bool headerOnly) {
  CDragReader reader(bytes, size);
  const std::uint8_t* magic = reader.Take(4);
  std::uint32_t version = 0, flags = 0, model = 0, count = 0;
  if (!magic || std::memcmp(magic, kMagic, 4) != 0 || !reader.Get32(version) || version != kVersion ||
      !reader.Get64(drag.process) || !reader.Get64(drag.list) || !reader.Get32(flags) || !reader.Get32(model) ||
      !reader.Get32(count) || !ModelFromNumber(model))
    return false;
  // Every patch takes at least its index and its length, so the count cannot ask for more than that.
  if (count == 0 || count > reader.Left() / 8)
    return false;
  drag.fromLibrary = (flags & kFlagLibrary) != 0;
  drag.model = *ModelFromNumber(model);
  drag.indices.assign(count, 0);
  drag.patches.Clear();
  if (headerOnly)
    return true;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t index = 0, length = 0;
    if (!reader.Get32(index) || !reader.Get32(length) || index > 0x7FFFFFFF)
      return false;
    const std::uint8_t* body = reader.Take(length);
    if (!body)
      return false;
    auto patch = std::make_unique<CPatch>();
    patch->ReadRecord(body, length);
    drag.indices[i] = static_cast<int>(index);
    drag.patches.Add(std::move(patch));
  }
  return reader.Left() == 0;
}

} // namespace QZML
