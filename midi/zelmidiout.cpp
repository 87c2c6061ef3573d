#include "midi/zelmidiout.h"

#include "exclusive/longmessage.h"
#include "exclusive/shortmessage.h"
#include "midi/midiout.h"

void CZelMidiOut::SendBytes(const QZML::CByteArray& bytes) {
  // The interface's senders return nothing; the writer asks LastSendFailed afterwards.
  m_lastSendFailed = m_device && !(m_answerAwaited ? m_device->SendAnswered(bytes) : m_device->Send(bytes));
  m_lastMessage = bytes;
}

void CZelMidiOut::SendShort(std::uint32_t packed) { SendBytes(ShortMessageToBytes(packed)); }

void CZelMidiOut::Send(const CZelLongMessage& message) { SendBytes(message.GetBytes()); }

void CZelMidiOut::SendMessage(const CZelLongMessage& message) { SendBytes(message.GetBytes()); }

void CZelMidiOut::SendDataSet(std::uint32_t address, const QZML::CByteArray& data) {
  SendMessage(MakeDataSet(GetAddressing(), address, data));
}

void CZelMidiOut::SendRequest(std::uint32_t address, std::uint32_t size) {
  SendMessage(MakeDataRequest(GetAddressing(), address, size));
}
