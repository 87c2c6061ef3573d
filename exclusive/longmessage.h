#pragma once
// One complete system exclusive message (F0 ... F7) held as owned bytes.

#include <cstddef>
#include <cstdint>

#include "model/bytes.h"

class CZelLongMessage {
public:
  CZelLongMessage() { CZelLongMessage::Clear(); }
  CZelLongMessage(const CZelLongMessage&) = default;
  CZelLongMessage& operator=(const CZelLongMessage&) = default;
  virtual ~CZelLongMessage() = default;

  // The empty message F0 00 F7.
  virtual void Clear();
  // Takes a copy of source when every byte strictly between its first and last is below 0x80.
  // The first and the last byte are not examined; fewer than two bytes are refused.
  // On refusal the message keeps its bytes.
  virtual bool SetBytes(const QZML::CByteArray& source);

  // Byte 1: the maker's ID, or 0x7E for a universal non-realtime message.
  void SetManufacturerId(std::uint8_t id);
  // Keeps bytes 0 and 1, then the body, then F7.
  void SetBody(const QZML::CByteArray& body);

  // True when source would be taken by SetBytes.
  static bool IsValid(const QZML::CByteArray& source);

  const QZML::CByteArray& GetBytes() const { return m_bytes; }
  QZML::CByteArray::const_iterator begin() const { return m_bytes.begin(); }
  QZML::CByteArray::const_iterator end() const { return m_bytes.end(); }
  std::size_t size() const { return m_bytes.size(); }
  std::uint8_t operator[](std::size_t i) const { return m_bytes[i]; }

protected:
  QZML::CByteArray m_bytes;
};
