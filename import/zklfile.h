#pragma once
// A ZK-40 librarian file (".zkl"): a 160-byte header whose first 32 bytes are the signature and whose
// next four the record count N (big-endian), then N records of a 4-byte length and a patch body.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>

#include "import/zklpatch.h"

class CZelTextOut;

namespace QZML {

class CZKLFileDocument {
public:
  enum : int { HEADER_SIZE = 160, SIGNATURE_SIZE = 32 };
  static const char kSignature[SIGNATURE_SIZE + 1];

  virtual ~CZKLFileDocument() = default;

  // Replace the patches with those of the file. On failure the patches read so far stay until
  // Clear; when errors is given it receives TEXTOUT_ERR_FILE_TYPE for a file without the signature
  // and TEXTOUT_ERR_LOAD for one that cannot be opened or ends early or holds a record length of 0.
  // Memory grows with the bytes read, never with the lengths a file claims.
  bool Load(const std::string& path, CZelTextOut* errors = nullptr);
  bool Load(std::istream& in, CZelTextOut* errors = nullptr);
  bool Load(const std::uint8_t* data, std::size_t size, CZelTextOut* errors = nullptr);

  void Clear() { m_data.m_patches.Clear(); }

  CZKLData m_data;
};

} // namespace QZML
