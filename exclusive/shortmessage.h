#pragma once
// Short (non-exclusive) MIDI messages packed into one 32-bit number: status in bits 0-7,
// first data byte in bits 8-15, second data byte in bits 16-23.

#include <cstddef>
#include <cstdint>

#include "model/bytes.h"

std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

// Bytes a message with this status occupies: 3, 2, 1, or 0 for a status below 0x80.
int ShortMessageLength(std::uint8_t status);

// The first 0 to 3 bytes of the packed message, as many as its status calls for.
QZML::CByteArray ShortMessageToBytes(std::uint32_t packed);

// Status, data1 and data2 from the first three bytes; missing ones are 0.
std::uint32_t ShortMessageFromBytes(const std::uint8_t* bytes, std::size_t count);
inline std::uint32_t ShortMessageFromBytes(const QZML::CByteArray& bytes) {
  return ShortMessageFromBytes(bytes.data(), bytes.size());
}
