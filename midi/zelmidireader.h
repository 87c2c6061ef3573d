#pragma once
// The request engine: reading from the unit is a conversation (send, then wait within a time limit for
// the answer the MIDI input hands over), writing is one-way and paced by a fixed pause.

#include <cstdint>

#include "midi/zelmidi.h"
#include "model/bytes.h"
#include "platform/clock.h"

class CZelLongMessage;
class CZelMidiOut;
class CZelTextOut;

// Sends a request (or any prepared exclusive message) and waits until a fitting answer ends the wait.
// The answer is recognised only in the handlers, which the logical input calls while Pump lets the MIDI
// input deliver; Request and Exchange only watch the state. A wait that gets no answer in any attempt is
// reported once, as TEXTOUT_ERR_NO_ANSWER, to the error sink.
class CZelMidiReader : public IZelMidiMessageHandler {
public:
  enum : int {
    STATE_IDLE = 0,
    STATE_WAITING = 1,
    STATE_RECEIVED = 2,
  };
  static constexpr int kTimeoutMs = 3000;
  static constexpr int kAttempts = 2;

  // errorSink: not owned; may be null (derived classes may supply another, see GetErrorSink).
  explicit CZelMidiReader(CZelTextOut* errorSink);
  ~CZelMidiReader() override = default;

  // The logical output requests go through; not owned, null for none (nothing is sent then).
  void SetPort(CZelMidiOut* port) { m_port = port; }
  CZelMidiOut* GetPort() const { return m_port; }
  // Time limits are measured on this clock; null for the system clock. Not owned.
  void SetClock(QZP::IClock* clock) { m_clock = clock; }
  QZP::IClock& Clock() const { return m_clock ? *m_clock : QZP::SystemClock(); }
  void SetErrorSink(CZelTextOut* errorSink) { m_errorSink = errorSink; }

  bool OnShortMessage(std::uint32_t packed) override;
  // A universal exclusive message ends a wait that expects no data set (an Exchange).
  bool OnExclusive(const CZelLongMessage& message) override;
  // A data set ends the wait when its address and length are the awaited ones.
  bool OnDataSet(const CZelOrvaneMessage& message) override;
  // Called over and over while waiting; must let the MIDI input deliver. It may wait for the next event
  // up to RemainingMs(), but no longer.
  virtual void Pump() = 0;
  // Kept for derived classes; the engine never calls it.
  virtual void Reserved() = 0;

  // Asks the unit for size bytes at the packed address and waits for the matching data set; true when it
  // arrived, whatever a derived class did with it.
  bool Request(std::uint32_t address, int size);
  // Sends message unchanged and waits until a universal exclusive message ends the wait.
  bool Exchange(const CZelLongMessage& message);

  int GetState() const { return m_state; }

protected:
  virtual CZelTextOut* GetErrorSink() const { return m_errorSink; }
  // Milliseconds until the deadline of the attempt under way; 0 when it has passed or none runs.
  int RemainingMs() const;

  int m_timeout = kTimeoutMs;
  int m_attempts = kAttempts;
  CZelMidiOut* m_port = nullptr;
  int m_state = STATE_IDLE;
  QZML::CByteArray m_expectedAddress; // 7-bit groups; empty when no data set is awaited
  int m_expectedSize = 0;
  CZelTextOut* m_errorSink;

private:
  bool Wait(bool request, std::uint32_t address, int size, const CZelLongMessage* message);

  QZP::IClock* m_clock = nullptr;
  std::uint64_t m_deadline = 0;
  bool m_deadlineSet = false;
};

// Sends one data set and then pauses, so the unit can store it before the next one arrives.
class CZelMidiWriter : public IZelMidiRequestHandler {
public:
  static constexpr std::uint32_t kPauseMs = 20;

  CZelMidiWriter() = default;
  ~CZelMidiWriter() override = default;

  void SetPort(CZelMidiOut* port) { m_port = port; }
  CZelMidiOut* GetPort() const { return m_port; }
  void SetClock(QZP::IClock* clock) { m_clock = clock; }
  QZP::IClock& Clock() const { return m_clock ? *m_clock : QZP::SystemClock(); }

  // Requests from outside are taken and ignored.
  bool OnIdentityRequest(const CZelLongMessage& message) override;
  bool OnRequest(const CZelOrvaneMessage& message) override;

  // The port's data set for address and data, then the pause. False when the port could not send it
  // (no pause then).
  bool Write(std::uint32_t address, const QZML::CByteArray& data);

protected:
  CZelMidiOut* m_port = nullptr;

private:
  QZP::IClock* m_clock = nullptr;
};
