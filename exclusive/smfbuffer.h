#pragma once
// The file reader and writer over in-memory byte buffers, and the helpers that let other
// classes (the patch stream reader and writer) serve ReadBytes / WriteBytes from their own buffers.

#include <cstdint>
#include <istream>

#include "exclusive/smf.h"
#include "model/bytes.h"

// ReadBytes over a buffer: at most count bytes from position, none at or past the end.
void ReadBufferBytes(const QZML::CByteArray& source, QZML::CByteArray& out, std::uint32_t position,
                     std::uint32_t count);
// WriteBytes over a buffer: grows target (new bytes 0) and copies bytes in at position.
int WriteBufferBytes(QZML::CByteArray& target, std::uint32_t position, const QZML::CByteArray& bytes);

// Reads a whole stream opened in binary mode into out (sized by the stream, not by its content).
// False when the stream cannot tell its size, is larger than a file position can address, or fails.
bool ReadStreamToBuffer(std::istream& in, QZML::CByteArray& out);

// Reads a file held in memory; derive and override the On... operations.
class CZelSmfBufferRead : public CZelSmfRead {
public:
  CZelSmfBufferRead() = default;
  explicit CZelSmfBufferRead(QZML::CByteArray source) : m_source(std::move(source)) {}

  void SetSource(QZML::CByteArray source) { m_source = std::move(source); }
  const QZML::CByteArray& GetSource() const { return m_source; }

  void ReadBytes(QZML::CByteArray& out, std::uint32_t position, std::uint32_t count) override {
    ReadBufferBytes(m_source, out, position, count);
  }

private:
  QZML::CByteArray m_source;
};

// Writes a file into memory; GetOutput holds it after Finish.
class CZelSmfBufferWrite : public CZelSmfWrite {
public:
  int WriteBytes(std::uint32_t position, const QZML::CByteArray& bytes) override {
    return WriteBufferBytes(m_output, position, bytes);
  }

  const QZML::CByteArray& GetOutput() const { return m_output; }
  void ClearOutput() { m_output.clear(); }

private:
  QZML::CByteArray m_output;
};
