#include "exclusive/orvanemessage.h"

#include <algorithm>

const QZML::CByteArray& OrvaneRequestCommand() {
  static const QZML::CByteArray command{ORVANE_COMMAND_REQUEST};
  return command;
}

const QZML::CByteArray& OrvaneDataSetCommand() {
  static const QZML::CByteArray command{ORVANE_COMMAND_DATA_SET};
  return command;
}

void CZelOrvaneMessage::Clear() {
  m_bytes = {0xF0, ORVANE_MANUFACTURER_ID, 0x7F, 0x42, ORVANE_COMMAND_DATA_SET, 0xF7};
  m_fields[ORVANE_FIELD_DEVICE_ID] = {2, 1};
  m_fields[ORVANE_FIELD_MODEL_ID] = {3, 1};
  m_fields[ORVANE_FIELD_COMMAND] = {4, 1};
  m_fields[ORVANE_FIELD_ADDRESS] = {5, 0};
  m_fields[ORVANE_FIELD_DATA] = {5, 0};
  m_fields[ORVANE_FIELD_CHECKSUM] = {5, 0};
}

bool CZelOrvaneMessage::Parse(const QZML::CByteArray& source, int addressWidth) {
  if (!SetBytes(source))
    return false;
  // A negative width would make the address field's length negative; it means no address.
  const long width = std::max(addressWidth, 0);
  const long size = static_cast<long>(m_bytes.size());
  CField fields[ORVANE_FIELD_COUNT];
  fields[ORVANE_FIELD_DEVICE_ID] = {2, 1};

  // Model ID and command: zero bytes followed by one non-zero byte, both before the last two bytes.
  long length = 1;
  for (;;) {
    if (3 + length > size - 2) {
      Clear();
      return false;
    }
    if (m_bytes[3 + length - 1] != 0x00)
      break;
    ++length;
  }
  fields[ORVANE_FIELD_MODEL_ID] = {3, static_cast<std::int32_t>(length)};

  const long commandOffset = 3 + length;
  length = 1;
  for (;;) {
    const long offset = commandOffset + length - 1;
    if (offset + 1 > size - 1) {
      Clear();
      return false;
    }
    if (m_bytes[offset] != 0x00)
      break;
    ++length;
  }
  fields[ORVANE_FIELD_COMMAND] = {static_cast<std::int32_t>(commandOffset), static_cast<std::int32_t>(length)};

  const long addressOffset = commandOffset + length;
  const long dataOffset = addressOffset + width;
  if (dataOffset > (width > 0 ? size - 2 : size - 1)) {
    Clear();
    return false;
  }
  fields[ORVANE_FIELD_ADDRESS] = {static_cast<std::int32_t>(addressOffset), static_cast<std::int32_t>(width)};

  long dataLength = 0;
  if (width > 0 || dataOffset < size - 1)
    dataLength = size - dataOffset - 2;
  if (dataLength < 0) {
    Clear();
    return false;
  }
  fields[ORVANE_FIELD_DATA] = {static_cast<std::int32_t>(dataOffset), static_cast<std::int32_t>(dataLength)};
  // Without an address, a lone byte before the end cannot be data (data always comes with a checksum):
  // it is a checksum, so that every byte up to the closing one lies in a field and is compared.
  fields[ORVANE_FIELD_CHECKSUM] = {static_cast<std::int32_t>(dataOffset + dataLength),
                                   (width > 0 || dataOffset < size - 1) ? 1 : 0};
  std::copy(fields, fields + ORVANE_FIELD_COUNT, m_fields);
  return true;
}

bool CZelOrvaneMessage::FieldRange(int index, std::size_t& begin, std::size_t& end) const {
  if (index < 0 || index >= ORVANE_FIELD_COUNT)
    return false;
  const CField& field = m_fields[index];
  if (field.offset < 0 || field.length < 0)
    return false;
  begin = static_cast<std::size_t>(field.offset);
  end = begin + static_cast<std::size_t>(field.length);
  return end <= m_bytes.size();
}

QZML::CByteArray CZelOrvaneMessage::GetField(int index) const {
  std::size_t begin = 0, end = 0;
  if (!FieldRange(index, begin, end))
    return {};
  return QZML::CByteArray(m_bytes.begin() + static_cast<long>(begin), m_bytes.begin() + static_cast<long>(end));
}

void CZelOrvaneMessage::SetField(int index, const QZML::CByteArray& value) {
  std::size_t begin = 0, end = 0;
  if (!FieldRange(index, begin, end))
    return;
  m_bytes.erase(m_bytes.begin() + static_cast<long>(begin), m_bytes.begin() + static_cast<long>(end));
  m_bytes.insert(m_bytes.begin() + static_cast<long>(begin), value.begin(), value.end());
  const std::int32_t delta = static_cast<std::int32_t>(value.size()) - m_fields[index].length;
  m_fields[index].length = static_cast<std::int32_t>(value.size());
  for (int i = index + 1; i < ORVANE_FIELD_COUNT; ++i)
    m_fields[i].offset += delta;
}

std::uint8_t CZelOrvaneMessage::CalcChecksum() const {
  const QZML::CByteArray address = GetField(ORVANE_FIELD_ADDRESS);
  const QZML::CByteArray data = GetField(ORVANE_FIELD_DATA);
  if (address.empty() && data.empty())
    return 0xFF;
  unsigned sum = 0;
  for (std::uint8_t b : address)
    sum += b;
  for (std::uint8_t b : data)
    sum += b;
  return static_cast<std::uint8_t>((128 - sum % 128) % 128);
}

std::uint8_t CZelOrvaneMessage::GetChecksum() const {
  const QZML::CByteArray checksum = GetField(ORVANE_FIELD_CHECKSUM);
  return checksum.empty() ? 0xFF : checksum[0];
}

void CZelOrvaneMessage::UpdateChecksum() {
  const std::uint8_t checksum = CalcChecksum();
  if (checksum == 0xFF)
    SetField(ORVANE_FIELD_CHECKSUM, {});
  else
    SetField(ORVANE_FIELD_CHECKSUM, {checksum});
}

QZML::CByteArray ToSevenBitBytes(std::uint32_t value, int width) {
  const int count = std::min(std::max(width, 1), 4);
  QZML::CByteArray bytes;
  for (int shift = 7 * (count - 1); shift >= 0; shift -= 7)
    bytes.push_back(static_cast<std::uint8_t>((value >> shift) & 0x7F));
  return bytes;
}

std::uint32_t FromSevenBitBytes(const QZML::CByteArray& bytes) {
  std::uint32_t value = 0;
  for (std::uint8_t b : bytes)
    value = value * 128 + b;
  return value;
}

CZelOrvaneMessage MakeOrvaneMessage(const CZelAddressing& port, std::uint8_t command, std::uint32_t address,
                                    const QZML::CByteArray& data, std::uint32_t size) {
  CZelOrvaneMessage message;
  message.SetManufacturerId(port.manufacturerId);
  message.SetDeviceId(port.deviceId);
  message.SetField(ORVANE_FIELD_MODEL_ID, port.modelId);
  message.SetField(ORVANE_FIELD_COMMAND, {command});
  message.SetField(ORVANE_FIELD_ADDRESS, ToSevenBitBytes(address, port.addressWidth));
  if (command == ORVANE_COMMAND_REQUEST)
    message.SetField(ORVANE_FIELD_DATA, ToSevenBitBytes(size, port.addressWidth));
  else
    message.SetField(ORVANE_FIELD_DATA, data);
  message.UpdateChecksum();
  return message;
}
