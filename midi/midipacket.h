#pragma once
// The buffer of one exclusive message on its way to or from a port, with the header fields the
// port layer keeps about it.

#include <cstddef>
#include <cstdint>
#include <memory>

enum : std::uint32_t {
  MIDI_HEADER_DONE = 0x1,     // the system is done with the buffer
  MIDI_HEADER_PREPARED = 0x2, // the buffer may be handed to the port
  MIDI_HEADER_INQUEUE = 0x4,  // an input buffer waiting to be filled
};

struct CMidiHeader {
  std::uint8_t* m_data = nullptr;
  std::uint32_t m_bufferLength = 0;
  std::uint32_t m_bytesRecorded = 0;
  std::uintptr_t m_user = 0;
  std::uint32_t m_flags = 0;
  std::uint32_t m_offset = 0;
};

class CMidiPacket : public CMidiHeader {
public:
  static constexpr std::size_t kBufferSize = 2048;

  CMidiPacket();
  virtual ~CMidiPacket() = default;
  CMidiPacket(const CMidiPacket&) = delete;
  CMidiPacket& operator=(const CMidiPacket&) = delete;

  // Back to an empty, unprepared buffer of full length.
  virtual int Reset();

private:
  std::unique_ptr<std::uint8_t[]> m_buffer;
};
