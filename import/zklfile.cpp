#include "import/zklfile.h"

#include <cstring>
#include <fstream>

#include "import/importcommon.h"
#include "textout/textout.h"

namespace QZML {
namespace {

bool Fail(CZelTextOut* errors, ETextOutError code) {
  if (errors)
    errors->Error(code);
  return false;
}

std::uint32_t BE32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

} // namespace

const char CZKLFileDocument::kSignature[SIGNATURE_SIZE + 1] = "QZLibrarianFile0000             ";

bool CZKLFileDocument::Load(const std::string& path, CZelTextOut* errors) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return Fail(errors, TEXTOUT_ERR_LOAD);
  return Load(in, errors);
}

bool CZKLFileDocument::Load(const std::uint8_t* data, std::size_t size, CZelTextOut* errors) {
  CMemoryStreamBuf buffer(data, size);
  std::istream in(&buffer);
  return Load(in, errors);
}

bool CZKLFileDocument::Load(std::istream& in, CZelTextOut* errors) {
  CByteArray header;
  bool whole = ReadBytes(in, HEADER_SIZE, header);
  if (header.size() < SIGNATURE_SIZE || std::memcmp(header.data(), kSignature, SIGNATURE_SIZE) != 0)
    return Fail(errors, TEXTOUT_ERR_FILE_TYPE);
  if (!whole)
    return Fail(errors, TEXTOUT_ERR_LOAD);
  std::uint32_t count = BE32(header.data() + SIGNATURE_SIZE);
  Clear();
  // Every record takes at least five bytes of the file, so a false count ends at the file's end.
  for (std::uint32_t i = 0; i < count; ++i) {
    CByteArray length;
    if (!ReadBytes(in, 4, length))
      return Fail(errors, TEXTOUT_ERR_LOAD);
    std::uint32_t l = BE32(length.data());
    CByteArray body;
    if (l == 0 || !ReadBytes(in, l, body))
      return Fail(errors, TEXTOUT_ERR_LOAD);
    auto patch = std::make_unique<CZKLPatch>();
    patch->ReadRecord(body.data(), body.size());
    m_data.m_patches.Add(std::move(patch));
  }
  return true;
}

} // namespace QZML
