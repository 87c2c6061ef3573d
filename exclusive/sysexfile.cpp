#include "exclusive/sysexfile.h"

CSysExScan ScanSysEx(const QZML::CByteArray& bytes, const std::function<void(const CZelLongMessage&)>& onMessage) {
  CSysExScan scan;
  const std::size_t size = bytes.size();
  std::size_t pos = 0;
  while (pos < size) {
    if (bytes[pos] != 0xF0) {
      // Bytes between messages: one skipped piece up to the next F0.
      while (pos < size && bytes[pos] != 0xF0)
        ++pos;
      ++scan.skipped;
      continue;
    }
    std::size_t end = pos + 1;
    while (end < size && bytes[end] < 0x80)
      ++end;
    if (end < size && bytes[end] == 0xF7) {
      CZelLongMessage message;
      if (message.SetBytes(
              QZML::CByteArray(bytes.begin() + static_cast<long>(pos), bytes.begin() + static_cast<long>(end + 1)))) {
        ++scan.messages;
        if (onMessage)
          onMessage(message);
      }
      pos = end + 1;
    } else {
      // Cut short: the status byte that ended it (if any) is looked at again as the start of what follows.
      ++scan.skipped;
      pos = end;
    }
  }
  return scan;
}
