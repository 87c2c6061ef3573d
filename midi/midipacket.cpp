#include "midi/midipacket.h"

CMidiPacket::CMidiPacket() : m_buffer(new std::uint8_t[kBufferSize]()) { CMidiPacket::Reset(); }

int CMidiPacket::Reset() {
  m_data = m_buffer.get();
  m_bufferLength = kBufferSize;
  m_bytesRecorded = 0;
  m_user = reinterpret_cast<std::uintptr_t>(m_buffer.get());
  m_flags = 0;
  m_offset = 0;
  return 0;
}
