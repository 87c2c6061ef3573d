#pragma once
// The sending half of the port level: one opened output port that sends short messages and complete
// exclusive messages, the latter synchronously and paced to the speed of the cable.

#include <cstdint>
#include <memory>
#include <string>

#include "midi/midipacket.h"
#include "midi/midiservices.h"
#include "model/bytes.h"

class CMidiAudioOut {
public:
  virtual ~CMidiAudioOut() = default;
  bool IsOpen() const { return m_port != nullptr; }

protected:
  std::unique_ptr<QZP::IMidiOutPort> m_port; // null while no port is open
};

class CMidiOut : public CMidiAudioOut {
public:
  static constexpr std::uint32_t kBytesPerSecond = 3472; // what the wait assumes, not the nominal 3125
  static constexpr std::uint32_t kSendTimeoutMs = 2000;
  static constexpr std::uint32_t kPollMs = 10;

  explicit CMidiOut(const CMidiServices& services);
  ~CMidiOut() override;
  CMidiOut(const CMidiOut&) = delete;
  CMidiOut& operator=(const CMidiOut&) = delete;

  // Every operation returns success; a failing port call shows the system's error text.
  bool Open(unsigned index);
  // The first port whose name equals name exactly; no match fails without a message.
  bool OpenByName(const std::string& name);
  bool Reset();
  // Resets, then closes; fails (and stays open) when the reset fails, and when nothing is open.
  bool Close();
  bool SendShort(std::uint32_t packed);
  // How long SendLong keeps the caller. CABLE: until the message has crossed the cable, so that what the
  // caller does next (the pause after a data set, the next message) starts when the unit has it all.
  // TAKEN: only until the port has taken it; for a request whose answer is awaited, since the answer
  // shows that the request arrived, and waiting out its cable time would only delay noticing an answer
  // that came back faster (a unit on USB, the simulated unit).
  enum ESendWait { WAIT_CABLE, WAIT_TAKEN };

  // One complete exclusive message of at most 2048 bytes; returns when it has left or timed out. Ports
  // that deliver at once are never waited for at the cable's speed.
  bool SendLong(const std::uint8_t* bytes, std::size_t count, ESendWait wait = WAIT_CABLE);
  bool SendLong(const QZML::CByteArray& bytes, ESendWait wait = WAIT_CABLE) {
    return SendLong(bytes.data(), bytes.size(), wait);
  }

  // While quiet, a failure is only remembered (LastError), not shown: a caller that reports failures in a
  // message of its own (a write that stops) shows one message instead of one per data set.
  void SetQuiet(bool quiet) { m_quiet = quiet; }
  // The text of the last failure; empty when the last operation succeeded.
  const std::string& LastError() const { return m_lastError; }

  // Milliseconds count bytes take on the cable at the assumed speed, rounded down.
  static std::uint32_t TransmissionMs(std::size_t count) {
    return static_cast<std::uint32_t>(count * 1000 / kBytesPerSecond);
  }

protected:
  // Shows the port's error text when ok is false; returns ok.
  bool Check(bool ok);
  // Remembers text as the last failure and shows it unless quiet; returns false.
  bool Fail(const std::string& text);

  CMidiServices m_services;
  CMidiPacket m_packet;
  bool m_quiet = false;
  std::string m_lastError;
};

// An output device as the logical outputs see it: takes any complete message as bytes.
class CZelMidiOutDevice {
public:
  virtual ~CZelMidiOutDevice() = default;
  virtual bool Send(const QZML::CByteArray& bytes) = 0;
  // A message whose answer the caller waits for: the device need not wait for it to cross the cable.
  virtual bool SendAnswered(const QZML::CByteArray& bytes) { return Send(bytes); }
  // See CMidiOut: failures remembered, not shown, while quiet.
  virtual void SetQuiet(bool quiet) { (void)quiet; }
  virtual std::string LastError() const { return {}; }
};

// One output port known by its name.
class CMidiOutDevice : public CZelMidiOutDevice, public CMidiOut {
public:
  // Only stores the name; OpenByName(GetName()) opens it.
  CMidiOutDevice(const CMidiServices& services, const std::string& name);
  ~CMidiOutDevice() override;

  // Exclusive messages (first byte 0xF0) go out whole; anything else as a packed short message of
  // its first one to three bytes.
  bool Send(const QZML::CByteArray& bytes) override;
  bool SendAnswered(const QZML::CByteArray& bytes) override;
  void SetQuiet(bool quiet) override { CMidiOut::SetQuiet(quiet); }
  std::string LastError() const override { return CMidiOut::LastError(); }
  const std::string& GetName() const { return m_name; }

private:
  std::string m_name;
};
