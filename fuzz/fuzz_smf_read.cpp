// Standard MIDI File reader over any bytes. Every exclusive message it hands out is a valid one, it
// never stands past the end, and what it read of exclusive and meta events writes back and reads the
// same again.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exclusive/smfbuffer.h"
#include "fuzz/fuzzcheck.h"

namespace {

struct CEvent {
  bool exclusive;
  std::uint32_t delta;
  std::int32_t type;
  QZML::CByteArray bytes;
  bool operator==(const CEvent& other) const {
    return exclusive == other.exclusive && delta == other.delta && type == other.type && bytes == other.bytes;
  }
};

class CCollectingRead : public CZelSmfBufferRead {
public:
  using CZelSmfBufferRead::CZelSmfBufferRead;

  void OnHeader(const CHeaderChunk& header) override { QZ_FUZZ_CHECK(header.HasMagic()); }
  void OnTrackHeader(const CTrackChunk& track) override {
    QZ_FUZZ_CHECK(track.HasMagic());
    ++tracks;
  }
  void OnShortEvent(std::uint32_t delta, std::uint32_t packed) override {
    QZ_FUZZ_CHECK(delta <= MAX_VAR_LEN);
    // Data bytes are passed on as the file has them; the status is always a channel status.
    QZ_FUZZ_CHECK((packed & 0x80) != 0 && (packed & 0xFF) < 0xF0);
  }
  void OnExclusiveEvent(std::uint32_t delta, const CZelLongMessage& message) override {
    QZ_FUZZ_CHECK(delta <= MAX_VAR_LEN);
    QZ_FUZZ_CHECK(CZelLongMessage::IsValid(message.GetBytes()));
    QZ_FUZZ_CHECK(GetPosition() <= GetSource().size());
    // Only messages that start with F0 come back the same through the writer.
    if (message[0] == 0xF0)
      events.push_back({true, delta, -1, message.GetBytes()});
  }
  void OnMetaEvent(std::uint32_t delta, const CMetaEvent& event) override {
    QZ_FUZZ_CHECK(delta <= MAX_VAR_LEN);
    QZ_FUZZ_CHECK(event.type >= 0 && event.type <= 0xFF);
    QZ_FUZZ_CHECK(GetPosition() <= GetSource().size());
    if (event.type != META_END_OF_TRACK)
      events.push_back({false, delta, event.type, event.data});
  }

  int tracks = 0;
  std::vector<CEvent> events;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CCollectingRead reader(QZML::CByteArray(data, data + size));
  const bool read = reader.Read();
  QZ_FUZZ_CHECK(reader.GetPosition() <= size);
  if (read)
    QZ_FUZZ_CHECK(reader.tracks == (reader.GetTrackCount() > 0 ? reader.GetTrackCount() : 0));

  CZelSmfBufferWrite writer;
  QZ_FUZZ_CHECK(writer.Begin() && writer.BeginTrack());
  for (const CEvent& event : reader.events) {
    if (event.exclusive) {
      CZelLongMessage message;
      QZ_FUZZ_CHECK(message.SetBytes(event.bytes));
      QZ_FUZZ_CHECK(writer.WriteExclusive(event.delta, message));
    } else {
      CZelSmf::CMetaEvent meta;
      meta.type = event.type;
      meta.data = event.bytes;
      QZ_FUZZ_CHECK(writer.WriteMeta(event.delta, meta));
    }
  }
  QZ_FUZZ_CHECK(writer.EndTrack());
  QZ_FUZZ_CHECK(writer.Finish() == writer.GetOutput().size());

  CCollectingRead again(writer.GetOutput());
  QZ_FUZZ_CHECK(again.Read());
  QZ_FUZZ_CHECK(again.tracks == 1);
  QZ_FUZZ_CHECK(again.events == reader.events);
  return 0;
}
