#pragma once
// The unit's address-based exclusive messages (data set, data request) seen as six fields,
// the 7-bit group conversions of addresses and sizes, and the one builder every sender uses.
//
// Wire format: F0, maker (0x41), device ID, model ID (00.. then one non-zero byte), command
// (00.. then one non-zero byte; 0x11 request, 0x12 data set), address (width 7-bit groups),
// data (data set) or size (request, width groups), checksum, F7.

#include <cstdint>

#include "exclusive/longmessage.h"
#include "model/bytes.h"

enum : int {
  ORVANE_FIELD_DEVICE_ID = 0,
  ORVANE_FIELD_MODEL_ID = 1,
  ORVANE_FIELD_COMMAND = 2,
  ORVANE_FIELD_ADDRESS = 3,
  ORVANE_FIELD_DATA = 4,
  ORVANE_FIELD_CHECKSUM = 5,
  ORVANE_FIELD_COUNT = 6,
};

enum : std::uint8_t {
  ORVANE_MANUFACTURER_ID = 0x41,
  ORVANE_DEFAULT_DEVICE_ID = 0x10,
  ORVANE_COMMAND_REQUEST = 0x11,
  ORVANE_COMMAND_DATA_SET = 0x12,
};

// The command fields {0x11} and {0x12}; received commands are compared against these.
const QZML::CByteArray& OrvaneRequestCommand();
const QZML::CByteArray& OrvaneDataSetCommand();

class CZelOrvaneMessage : public CZelLongMessage {
public:
  // Where one field lies in the bytes; length 0 is an empty field.
  struct CField {
    std::int32_t offset;
    std::int32_t length;
  };

  CZelOrvaneMessage() { CZelOrvaneMessage::Clear(); }

  // The template F0 41 7F 42 12 F7; device ID 0x7F and model ID 0x42 are placeholders.
  void Clear() override;
  // Takes source and cuts it into the six fields for the given address width. Checks neither
  // the maker, model ID, command nor checksum; the receiver does. On failure the message is
  // left as the template.
  virtual bool Parse(const QZML::CByteArray& source, int addressWidth);

  // A copy of field index (0..5); empty for an index out of range.
  QZML::CByteArray GetField(int index) const;
  // The descriptor of field index; {0, 0} for an index out of range.
  CField GetFieldDescriptor(int index) const {
    return index >= 0 && index < ORVANE_FIELD_COUNT ? m_fields[index] : CField{0, 0};
  }
  // Replaces the bytes of one field and moves the later fields; the checksum is left as it is.
  void SetField(int index, const QZML::CByteArray& value);
  void SetDeviceId(std::uint8_t id) { SetField(ORVANE_FIELD_DEVICE_ID, {id}); }

  // The checksum over the address and data fields; 0xFF when both are empty.
  std::uint8_t CalcChecksum() const;
  // The stored checksum byte; 0xFF when the field is empty.
  std::uint8_t GetChecksum() const;
  void UpdateChecksum();

private:
  // The field's range, or false when it does not lie inside the bytes (after a bare SetBytes).
  bool FieldRange(int index, std::size_t& begin, std::size_t& end) const;

  CField m_fields[ORVANE_FIELD_COUNT];
};

// The low `width` 7-bit groups of value, most significant first; width is clamped to 1..4.
// 130 with width 4 gives 00 00 01 02.
QZML::CByteArray ToSevenBitBytes(std::uint32_t value, int width);
// value = value * 128 + byte for each byte; empty gives 0.
std::uint32_t FromSevenBitBytes(const QZML::CByteArray& bytes);

// A port's addressing values: what messages are built with and compared against.
struct CZelAddressing {
  std::uint8_t manufacturerId = ORVANE_MANUFACTURER_ID;
  std::uint8_t deviceId = ORVANE_DEFAULT_DEVICE_ID;
  QZML::CByteArray modelId;  // 00 00 0B for the QZ-MAX, 00 00 06 for the QZ-5
  int addressWidth = 4;
};

// The one builder of the unit's messages. command is ORVANE_COMMAND_DATA_SET (payload = data)
// or ORVANE_COMMAND_REQUEST (payload = size as addressWidth 7-bit groups; data is ignored).
// address is the packed address (one 7-bit group per address byte).
CZelOrvaneMessage MakeOrvaneMessage(const CZelAddressing& port, std::uint8_t command, std::uint32_t address,
                                    const QZML::CByteArray& data, std::uint32_t size);

inline CZelOrvaneMessage MakeDataSet(const CZelAddressing& port, std::uint32_t address,
                                     const QZML::CByteArray& data) {
  return MakeOrvaneMessage(port, ORVANE_COMMAND_DATA_SET, address, data, 0);
}
inline CZelOrvaneMessage MakeDataRequest(const CZelAddressing& port, std::uint32_t address, std::uint32_t size) {
  return MakeOrvaneMessage(port, ORVANE_COMMAND_REQUEST, address, {}, size);
}
