#pragma once
// Turns a ZK-40 librarian file into QZ-MAX patches, one per ZK-40 patch, in file order, each with
// the memos of its ZK-40 patch.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

#include "import/zklfile.h"
#include "model/document.h"

class CZelTextOut;

namespace QZML {

class CZKLImporter {
public:
  virtual ~CZKLImporter() = default;

  // True on success; GetPatches() then holds the converted patches (none for a file of 0 records).
  // On failure it holds nothing, and errors (when given) has received the code of CZKLFileDocument.
  // The file is read as bytes, without text translation.
  bool Import(const std::string& path, CZelTextOut* errors = nullptr);
  bool Import(std::istream& in, CZelTextOut* errors = nullptr);
  bool Import(const std::uint8_t* data, std::size_t size, CZelTextOut* errors = nullptr);

  const CPatchArray& GetPatches() const { return m_result.m_current.m_patches; }
  CDocument& GetResult() { return m_result; }

  // One ZK-40 patch into a QZ-MAX patch: image and memos. A ZK-40 value beyond the length of its
  // value table leaves the QZ-MAX byte as the default image has it; an assign target beyond its
  // table has no counterpart and switches the assign off.
  static void ConvertPatch(const CZKLPatch& source, CPatch& target);
  // The same on the images alone: z is the 399-byte ZK-40 image, q receives 880 bytes.
  static void ConvertImage(const std::uint8_t* z, std::uint8_t* q);

private:
  bool Convert(bool loaded);

  CZKLFileDocument m_source;
  CDocument m_result;
};

} // namespace QZML
