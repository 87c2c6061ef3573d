#include <gtest/gtest.h>

#include "exclusive/orvanemessage.h"
#include "exclusive/shortmessage.h"

using QZML::CByteArray;

namespace {

CZelAddressing QzMaxPort() {
  CZelAddressing port;
  port.deviceId = 0x10;
  port.modelId = {0x00, 0x00, 0x0B};
  return port;
}

void ExpectField(const CZelOrvaneMessage& m, int index, int offset, int length) {
  EXPECT_EQ(m.GetFieldDescriptor(index).offset, offset) << "field " << index;
  EXPECT_EQ(m.GetFieldDescriptor(index).length, length) << "field " << index;
}

TEST(OrvaneMessage, DataSetParsesIntoSixFieldsAndIsBuiltTheSameWay) {
  const CByteArray wire = {0xF0, 0x41, 0x10, 0x00, 0x00, 0x0B, 0x12, 0x10, 0x00, 0x00, 0x00, 0x40, 0x30, 0xF7};
  CZelOrvaneMessage m;
  ASSERT_TRUE(m.Parse(wire, 4));
  ExpectField(m, ORVANE_FIELD_DEVICE_ID, 2, 1);
  ExpectField(m, ORVANE_FIELD_MODEL_ID, 3, 3);
  ExpectField(m, ORVANE_FIELD_COMMAND, 6, 1);
  ExpectField(m, ORVANE_FIELD_ADDRESS, 7, 4);
  ExpectField(m, ORVANE_FIELD_DATA, 11, 1);
  ExpectField(m, ORVANE_FIELD_CHECKSUM, 12, 1);
  EXPECT_EQ(m.GetField(ORVANE_FIELD_COMMAND), OrvaneDataSetCommand());
  EXPECT_EQ(FromSevenBitBytes(m.GetField(ORVANE_FIELD_ADDRESS)), 0x10u << 21);
  EXPECT_EQ(m.GetChecksum(), 0x30);
  EXPECT_EQ(m.CalcChecksum(), 0x30);

  // The builder produces exactly these bytes from the port's values.
  EXPECT_EQ(MakeDataSet(QzMaxPort(), 0x10u << 21, {0x40}).GetBytes(), wire);

  // A request carries the size in the data field: address 10 00 00 00, size 00 00 00 7F.
  CZelOrvaneMessage request = MakeDataRequest(QzMaxPort(), (0x10u << 21) | 0xF0000000u, 0x7F);
  const CByteArray expected = {0xF0, 0x41, 0x10, 0x00, 0x00, 0x0B, 0x11, 0x10, 0x00,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x7F, 0x71, 0xF7};
  EXPECT_EQ(request.GetBytes(), expected);
  CZelOrvaneMessage parsed;
  ASSERT_TRUE(parsed.Parse(request.GetBytes(), 4));
  ExpectField(parsed, ORVANE_FIELD_DATA, 11, 4);
  ExpectField(parsed, ORVANE_FIELD_CHECKSUM, 15, 1);
  EXPECT_EQ(parsed.GetField(ORVANE_FIELD_COMMAND), OrvaneRequestCommand());
}

TEST(OrvaneMessage, ChecksumOfAMultipleOf128IsZero) {
  // 0x10 + 0x30 + 0x50 = 0x90, + 0x70 = 0x100.
  CZelOrvaneMessage m = MakeDataSet(QzMaxPort(), 0x10u << 21, {0x30, 0x50, 0x70});
  EXPECT_EQ(m.GetChecksum(), 0x00);
  EXPECT_EQ(m.GetBytes().back(), 0xF7);
  // A longer data field moves the checksum along with it.
  m.SetField(ORVANE_FIELD_DATA, {0x30, 0x50, 0x70, 0x01});
  ExpectField(m, ORVANE_FIELD_CHECKSUM, 15, 1);
  m.UpdateChecksum();
  EXPECT_EQ(m.GetChecksum(), 0x7F);
  EXPECT_EQ(m.size(), 17u);
  EXPECT_EQ(m.GetBytes().back(), 0xF7);
}

TEST(OrvaneMessage, WidthZeroMessageHasNoAddressDataOrChecksum) {
  const CByteArray wire = {0xF0, 0x41, 0x10, 0x42, 0x12, 0xF7};
  CZelOrvaneMessage m;
  ASSERT_TRUE(m.Parse(wire, 0));
  ExpectField(m, ORVANE_FIELD_ADDRESS, 5, 0);
  ExpectField(m, ORVANE_FIELD_DATA, 5, 0);
  ExpectField(m, ORVANE_FIELD_CHECKSUM, 5, 0);
  EXPECT_EQ(m.CalcChecksum(), 0xFF);
  EXPECT_EQ(m.GetChecksum(), 0xFF);
  m.UpdateChecksum();
  EXPECT_EQ(m.GetBytes(), wire);
  // A negative width reads as no address at all.
  EXPECT_TRUE(m.Parse(wire, -3));
  ExpectField(m, ORVANE_FIELD_CHECKSUM, 5, 0);

  // A lone byte before the end is a checksum, not a byte outside every field: it must match, and with
  // nothing to sum over nothing matches, so a receiver drops the message.
  const CByteArray stray = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x68, 0xF7};
  ASSERT_TRUE(m.Parse(stray, 0));
  ExpectField(m, ORVANE_FIELD_DATA, 5, 0);
  ExpectField(m, ORVANE_FIELD_CHECKSUM, 5, 1);
  EXPECT_EQ(m.GetChecksum(), 0x68);
  EXPECT_NE(m.GetChecksum(), m.CalcChecksum());
  // Two bytes are data and checksum.
  ASSERT_TRUE(m.Parse({0xF0, 0x41, 0x10, 0x42, 0x12, 0x01, 0x7F, 0xF7}, 0));
  ExpectField(m, ORVANE_FIELD_DATA, 5, 1);
  EXPECT_EQ(m.GetChecksum(), m.CalcChecksum());
}

TEST(OrvaneMessage, MalformedSourcesAreRefusedWithoutReadingPastThem) {
  CZelOrvaneMessage m;
  // An inner status byte.
  EXPECT_FALSE(m.Parse({0xF0, 0x41, 0x10, 0x00, 0x00, 0x0B, 0x12, 0x90, 0x00, 0x00, 0x00, 0x40, 0x30, 0xF7}, 4));
  // Model ID or command running into the last two bytes.
  EXPECT_FALSE(m.Parse({0xF0, 0x41, 0x10, 0x00, 0x00, 0x00, 0x00, 0xF7}, 4));
  EXPECT_FALSE(m.Parse({0xF0, 0x41, 0x10, 0x0B, 0x00, 0x00, 0xF7}, 0));
  // Too short for the address and checksum.
  EXPECT_FALSE(m.Parse({0xF0, 0x41, 0x10, 0x0B, 0x12, 0x01, 0x02, 0xF7}, 4));
  EXPECT_FALSE(m.Parse({0xF0}, 4));
  // A failed parse leaves a consistent message that can still be built on.
  m.SetField(ORVANE_FIELD_DATA, {1, 2, 3});
  m.UpdateChecksum();
  EXPECT_EQ(m.GetBytes().back(), 0xF7);
}

TEST(SevenBitAndShortMessages, ConvertAsTheWireNeeds) {
  EXPECT_EQ(ToSevenBitBytes(130, 4), (CByteArray{0x00, 0x00, 0x01, 0x02}));
  EXPECT_EQ(ToSevenBitBytes(0x1234, 2), (CByteArray{0x24, 0x34}));
  EXPECT_EQ(ToSevenBitBytes(0x1234, 6), ToSevenBitBytes(0x1234, 4));
  EXPECT_EQ(ToSevenBitBytes(0x1234, 0), (CByteArray{0x34}));
  EXPECT_EQ(FromSevenBitBytes({0x00, 0x00, 0x01, 0x02}), 130u);
  EXPECT_EQ(FromSevenBitBytes({}), 0u);

  EXPECT_EQ(ShortMessageToBytes(PackShortMessage(0xC5, 0x10, 0x22)), (CByteArray{0xC5, 0x10}));
  EXPECT_EQ(ShortMessageToBytes(PackShortMessage(0xE1, 0x00, 0x40)), (CByteArray{0xE1, 0x00, 0x40}));
  EXPECT_EQ(ShortMessageToBytes(PackShortMessage(0xF2, 0x01, 0x02)).size(), 3u);
  EXPECT_EQ(ShortMessageToBytes(PackShortMessage(0xF3, 0x01, 0x02)).size(), 2u);
  EXPECT_EQ(ShortMessageToBytes(0xF8), (CByteArray{0xF8}));
  EXPECT_TRUE(ShortMessageToBytes(0x40).empty());
  EXPECT_EQ(ShortMessageFromBytes({0x90, 0x3C}), 0x3C90u);
}

} // namespace
