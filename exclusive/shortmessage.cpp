#include "exclusive/shortmessage.h"

std::uint32_t PackShortMessage(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  return static_cast<std::uint32_t>(status) | (static_cast<std::uint32_t>(data1) << 8) |
         (static_cast<std::uint32_t>(data2) << 16);
}

int ShortMessageLength(std::uint8_t status) {
  // Channel messages by their upper four bits 0x8..0xE; system messages 0xF0..0xFF whole.
  static const std::uint8_t kChannel[7] = {3, 3, 3, 3, 2, 2, 3};
  static const std::uint8_t kSystem[16] = {1, 2, 3, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  if (status < 0x80)
    return 0;
  if (status < 0xF0)
    return kChannel[(status >> 4) - 8];
  return kSystem[status & 0x0F];
}

QZML::CByteArray ShortMessageToBytes(std::uint32_t packed) {
  const std::uint8_t all[3] = {static_cast<std::uint8_t>(packed & 0xFF), static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                               static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
  return QZML::CByteArray(all, all + ShortMessageLength(all[0]));
}

std::uint32_t ShortMessageFromBytes(const std::uint8_t* bytes, std::size_t count) {
  std::uint8_t parts[3] = {0, 0, 0};
  for (std::size_t i = 0; i < count && i < 3; ++i)
    parts[i] = bytes[i];
  return PackShortMessage(parts[0], parts[1], parts[2]);
}
