#include "midi/midiout.h"

#include <cstring>

#include "exclusive/shortmessage.h"

CMidiOut::CMidiOut(const CMidiServices& services) : m_services(services) {}

CMidiOut::~CMidiOut() {
  Close();
  // A port whose reset failed is let go all the same.
  m_port.reset();
}

bool CMidiOut::Check(bool ok) {
  if (ok) {
    m_lastError.clear();
    return true;
  }
  return Fail(m_port ? m_port->ErrorText() : m_services.backend->ErrorText());
}

bool CMidiOut::Fail(const std::string& text) {
  m_lastError = text.empty() ? std::string("The MIDI output port failed.") : text;
  if (!m_quiet)
    m_services.ShowMessage(m_lastError);
  return false;
}

bool CMidiOut::Open(unsigned index) {
  if (!m_services.backend)
    return false;
  if (m_port)
    Close();
  std::unique_ptr<QZP::IMidiOutPort> port = m_services.backend->OpenOutput(index);
  if (!port) {
    m_services.ShowMessage(m_services.backend->ErrorText());
    return false;
  }
  m_port = std::move(port);
  m_packet.Reset();
  return true;
}

bool CMidiOut::OpenByName(const std::string& name) {
  if (!m_services.backend)
    return false;
  std::vector<std::string> names = m_services.backend->OutputNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name)
      return Open(static_cast<unsigned>(i));
  return false;
}

bool CMidiOut::Reset() {
  if (!m_port)
    return false;
  if (!Check(m_port->Reset()))
    return false;
  // Whatever the port still held is given up; the packet is free again.
  m_packet.m_flags &= ~MIDI_HEADER_PREPARED;
  return true;
}

bool CMidiOut::Close() {
  if (!m_port)
    return false;
  if (!Reset())
    return false;
  bool closed = Check(m_port->Close());
  m_port.reset();
  return closed;
}

bool CMidiOut::SendShort(std::uint32_t packed) {
  if (!m_port)
    return false;
  QZML::CByteArray bytes = ShortMessageToBytes(packed);
  if (bytes.empty())
    return false; // a data byte is not a message
  return Check(m_port->Send(bytes.data(), bytes.size()));
}

bool CMidiOut::SendLong(const std::uint8_t* bytes, std::size_t count, ESendWait wait) {
  // These two were never shown; the reason is kept for a caller that reports it.
  if (!m_port) {
    m_lastError = "The MIDI output port is closed.";
    return false;
  }
  // The packet holds one message of at most 2048 bytes; a longer one is refused, never cut.
  if (count == 0 || count > CMidiPacket::kBufferSize) {
    m_lastError = "The message is too long for the MIDI output port.";
    return false;
  }
  // A message that timed out may still be held by the port: give it up first.
  if ((m_packet.m_flags & MIDI_HEADER_PREPARED) && !Reset())
    return false;

  std::memcpy(m_packet.m_data, bytes, count);
  m_packet.m_bufferLength = static_cast<std::uint32_t>(count);
  m_packet.m_flags = MIDI_HEADER_PREPARED;

  QZP::IClock& clock = m_services.Clock();
  const std::uint64_t start = clock.NowMs();
  if (!Check(m_port->Send(m_packet.m_data, count)))
    return false;

  // Do not poll for a message that cannot have left yet; the systems' ports take a message at once and
  // leave its pacing to the cable, so the wait for the cable is this one.
  const std::uint64_t elapsed = clock.NowMs() - start;
  if (wait == WAIT_CABLE && !m_port->DeliversAtOnce() && elapsed < TransmissionMs(count))
    clock.SleepMs(static_cast<std::uint32_t>((count * 1000 - elapsed * kBytesPerSecond) / kBytesPerSecond));

  while (!m_port->SendDone()) {
    clock.SleepMs(kPollMs);
    if (clock.NowMs() - start >= kSendTimeoutMs)
      return Fail("Unable to send MIDI system exclusive. Timeout.");
  }
  m_packet.m_flags = MIDI_HEADER_DONE;
  return true;
}

CMidiOutDevice::CMidiOutDevice(const CMidiServices& services, const std::string& name)
    : CMidiOut(services), m_name(name) {}

CMidiOutDevice::~CMidiOutDevice() { Close(); }

bool CMidiOutDevice::Send(const QZML::CByteArray& bytes) {
  if (bytes.empty())
    return false;
  if (bytes[0] == 0xF0)
    return SendLong(bytes);
  return SendShort(ShortMessageFromBytes(bytes));
}

bool CMidiOutDevice::SendAnswered(const QZML::CByteArray& bytes) {
  if (!bytes.empty() && bytes[0] == 0xF0)
    return SendLong(bytes, WAIT_TAKEN);
  return Send(bytes);
}
