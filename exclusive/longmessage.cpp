#include "exclusive/longmessage.h"

void CZelLongMessage::Clear() { m_bytes = {0xF0, 0x00, 0xF7}; }

bool CZelLongMessage::IsValid(const QZML::CByteArray& source) {
  if (source.size() < 2)
    return false;
  for (std::size_t i = 1; i + 1 < source.size(); ++i)
    if (source[i] >= 0x80)
      return false;
  return true;
}

bool CZelLongMessage::SetBytes(const QZML::CByteArray& source) {
  if (!IsValid(source))
    return false;
  m_bytes = source;
  return true;
}

void CZelLongMessage::SetManufacturerId(std::uint8_t id) {
  // A message too short to have a maker byte keeps its closing F7.
  if (m_bytes.size() >= 3)
    m_bytes[1] = id;
}

void CZelLongMessage::SetBody(const QZML::CByteArray& body) {
  QZML::CByteArray bytes;
  bytes.reserve(body.size() + 3);
  bytes.push_back(m_bytes.size() > 0 ? m_bytes[0] : 0xF0);
  bytes.push_back(m_bytes.size() > 1 ? m_bytes[1] : 0x00);
  bytes.insert(bytes.end(), body.begin(), body.end());
  bytes.push_back(0xF7);
  m_bytes.swap(bytes);
}
