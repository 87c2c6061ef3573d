// CZelOrvaneMessage::Parse of any bytes under address widths from below 0 to far above 4. A message it
// takes is cut into six fields that follow each other from byte 2 to the byte before the last; one it
// refuses is left as the template. The field operations then work on whatever was taken.

#include <climits>
#include <cstddef>
#include <cstdint>

#include "exclusive/orvanemessage.h"
#include "fuzz/fuzzcheck.h"

namespace {

void CheckTaken(const CZelOrvaneMessage& message, const QZML::CByteArray& source, int width) {
  QZ_FUZZ_CHECK(message.GetBytes() == source);
  const long size = static_cast<long>(source.size());
  long next = 2;
  for (int i = 0; i < ORVANE_FIELD_COUNT; ++i) {
    const CZelOrvaneMessage::CField field = message.GetFieldDescriptor(i);
    QZ_FUZZ_CHECK(field.offset == next && field.length >= 0);
    next += field.length;
  }
  QZ_FUZZ_CHECK(next == size - 1);
  QZ_FUZZ_CHECK(message.GetFieldDescriptor(ORVANE_FIELD_DEVICE_ID).length == 1);
  QZ_FUZZ_CHECK(message.GetFieldDescriptor(ORVANE_FIELD_ADDRESS).length == (width > 0 ? width : 0));
  QZ_FUZZ_CHECK(message.GetFieldDescriptor(ORVANE_FIELD_CHECKSUM).length <= 1);
  // Model ID and command: zeros, then one byte that is not.
  for (int i : {ORVANE_FIELD_MODEL_ID, ORVANE_FIELD_COMMAND}) {
    const QZML::CByteArray field = message.GetField(i);
    QZ_FUZZ_CHECK(!field.empty() && field.back() != 0);
    for (std::size_t j = 0; j + 1 < field.size(); ++j)
      QZ_FUZZ_CHECK(field[j] == 0);
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QZML::CByteArray source(data, data + size);
  const CZelOrvaneMessage pristine;
  for (int width : {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 8, 300, INT_MAX}) {
    CZelOrvaneMessage message;
    if (!message.Parse(source, width)) {
      QZ_FUZZ_CHECK(message.GetBytes() == pristine.GetBytes());
      for (int i = 0; i < ORVANE_FIELD_COUNT; ++i)
        QZ_FUZZ_CHECK(message.GetField(i) == pristine.GetField(i));
      continue;
    }
    CheckTaken(message, source, width);
    const std::uint32_t address = FromSevenBitBytes(message.GetField(ORVANE_FIELD_ADDRESS));
    (void)address;

    // A new checksum always agrees with the fields and keeps the message an exclusive one.
    message.UpdateChecksum();
    QZ_FUZZ_CHECK(message.GetChecksum() == message.CalcChecksum());
    QZ_FUZZ_CHECK(CZelLongMessage::IsValid(message.GetBytes()));

    // Replacing fields moves the later ones and keeps the closing byte last.
    const QZML::CByteArray piece(source.begin(), source.begin() + static_cast<long>(source.size() / 3));
    for (int i = ORVANE_FIELD_COUNT - 1; i >= -1; --i) {
      const std::size_t before = message.size();
      const long old = message.GetFieldDescriptor(i).length;
      message.SetField(i, piece);
      if (i < 0)
        QZ_FUZZ_CHECK(message.size() == before);
      else
        QZ_FUZZ_CHECK(static_cast<long>(message.size()) == static_cast<long>(before) - old + static_cast<long>(piece.size()));
      QZ_FUZZ_CHECK(message[message.size() - 1] == source.back());
    }
  }
  return 0;
}
