// Cutting raw bytes into exclusive messages, passing over what is no complete message.

#include <gtest/gtest.h>

#include <vector>

#include "exclusive/sysexfile.h"

using QZML::CByteArray;

namespace {

struct CScanned {
  CSysExScan scan;
  std::vector<CByteArray> messages;
};

CScanned Scan(const CByteArray& bytes) {
  CScanned result;
  result.scan =
      ScanSysEx(bytes, [&](const CZelLongMessage& message) { result.messages.push_back(message.GetBytes()); });
  return result;
}

} // namespace

TEST(SysExScan, CompleteMessagesBackToBack) {
  const CScanned result = Scan({0xF0, 0x41, 0x10, 0xF7, 0xF0, 0xF7, 0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7});
  EXPECT_EQ(result.scan.messages, 3);
  EXPECT_EQ(result.scan.skipped, 0);
  EXPECT_EQ(result.messages,
            (std::vector<CByteArray>{{0xF0, 0x41, 0x10, 0xF7}, {0xF0, 0xF7}, {0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7}}));
  EXPECT_EQ(Scan({}).scan.messages, 0);
  EXPECT_EQ(Scan({}).scan.skipped, 0);
}

TEST(SysExScan, MalformedPiecesAreSkippedOneByOne) {
  const CScanned result = Scan({
      0x00, 0x01, 0x90,       // stray bytes before the first message: one piece
      0xF0, 0x41, 0x01, 0xF7, // good
      0xF0, 0x41, 0x02,       // no F7: cut by the next F0
      0xF0, 0x41, 0x03, 0xF7, // good
      0xF7, 0xFE, 0x12,       // stray between messages: one piece
      0xF0, 0x41, 0x90, 0x04, // a status byte inside: cut, and 90 04 are stray up to the next F0
      0xF0, 0x41, 0x05, 0xF7, // good
      0xF0, 0x41, 0x06,       // cut by the end
  });
  EXPECT_EQ(result.messages,
            (std::vector<CByteArray>{{0xF0, 0x41, 0x01, 0xF7}, {0xF0, 0x41, 0x03, 0xF7}, {0xF0, 0x41, 0x05, 0xF7}}));
  EXPECT_EQ(result.scan.messages, 3);
  EXPECT_EQ(result.scan.skipped, 6);

  const CScanned lone = Scan({0xF0});
  EXPECT_EQ(lone.scan.messages, 0);
  EXPECT_EQ(lone.scan.skipped, 1);
}
