#pragma once
// Turns a QZ-3 bulk dump (a Standard MIDI File of the QZ-3's data-set messages) into QZ-MAX patches,
// one per QZ-3 patch found, in the order the patches first appear in the file; memos stay empty.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

#include "model/document.h"

class CZelTextOut;

namespace QZML {

class CQZ3Importer {
public:
  virtual ~CQZ3Importer() = default;

  // True when the file holds at least one QZ-3 patch; GetPatches() then holds the converted patches.
  // On failure it holds nothing, and errors (when given) receives TEXTOUT_ERR_LOAD for a file that
  // cannot be opened or read or is empty, TEXTOUT_ERR_FILE_TYPE for one that is no Standard MIDI File
  // or holds no QZ-3 patch data. The file is read as bytes, without text translation; every skip and
  // length inside it is bounded by its size.
  bool Import(const std::string& path, CZelTextOut* errors = nullptr);
  bool Import(std::istream& in, CZelTextOut* errors = nullptr);
  bool Import(const std::uint8_t* data, std::size_t size, CZelTextOut* errors = nullptr);

  const CPatchArray& GetPatches() const { return m_result.m_current.m_patches; }
  CDocument& GetResult() { return m_result; }

private:
  CDocument m_result;
};

} // namespace QZML
