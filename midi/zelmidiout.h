#pragma once
// A logical output of the program: the unit's addressing, the builders of its data-set and request
// messages, and the output device it is bound to (if any).

#include <string>

#include "midi/midiout.h"
#include "midi/zelmidi.h"


class CZelMidiOut : public CZelMidi, public IZelMidiOut {
public:
  void SendShort(std::uint32_t packed) override;
  void Send(const CZelLongMessage& message) override;
  void SendMessage(const CZelLongMessage& message) override;
  void SendDataSet(std::uint32_t address, const QZML::CByteArray& data) override;
  void SendRequest(std::uint32_t address, std::uint32_t size) override;
  QZML::CByteArray GetLastMessage() const override { return m_lastMessage; }

  // Whether the messages sent from now on are answered, and the sender waits for the answer (the request
  // engine sets it around its requests): the device then need not hold the sender for the cable's time.
  void SetAnswerAwaited(bool awaited) { m_answerAwaited = awaited; }

  // Not owned; null while unbound. A message sent while unbound is only recorded.
  void SetDevice(CZelMidiOutDevice* device) { m_device = device; }
  CZelMidiOutDevice* GetDevice() const { return m_device; }

  // Whether the last message reached its device (a message sent while unbound counts as sent), and the
  // device's reason when it did not.
  bool LastSendFailed() const { return m_lastSendFailed; }
  std::string LastSendError() const { return m_device ? m_device->LastError() : std::string(); }

private:
  void SendBytes(const QZML::CByteArray& bytes);

  CZelMidiOutDevice* m_device = nullptr;
  QZML::CByteArray m_lastMessage;
  bool m_lastSendFailed = false;
  bool m_answerAwaited = false;
};
