#include "midi/zelmidiin.h"

#include "exclusive/longmessage.h"
#include "exclusive/orvanemessage.h"
#include "exclusive/shortmessage.h"
#include "midi/midiout.h"
#include "midi/zelmidiout.h"

void CZelMidiIn::Forward(const QZML::CByteArray& bytes) {
  if (m_forward && m_forward->GetDevice())
    m_forward->GetDevice()->Send(bytes);
}

void CZelMidiIn::Receive(const QZML::CByteArray& bytes) {
  if (bytes.empty())
    return;

  if (bytes[0] != 0xF0) {
    if (bytes[0] < 0xF8) {
      std::uint32_t packed = ShortMessageFromBytes(bytes);
      if (m_generalHandler)
        m_generalHandler->OnShortMessage(packed);
      if (m_messageHandler)
        m_messageHandler->OnShortMessage(packed);
    }
    Forward(bytes);
    return;
  }

  if (bytes.size() < 2)
    return;

  if (bytes[1] != ORVANE_MANUFACTURER_ID) {
    CZelLongMessage message;
    if (!message.SetBytes(bytes))
      return;
    if (bytes[1] != 0x7E && bytes[1] != 0x7F)
      return; // another maker's message
    if (bytes[1] == 0x7E && bytes.size() >= 5 && bytes[3] == 0x06 && bytes[4] == 0x01) {
      if (m_requestHandler)
        m_requestHandler->OnIdentityRequest(message);
      return;
    }
    if (m_generalHandler)
      m_generalHandler->OnExclusive(message);
    if (m_messageHandler)
      m_messageHandler->OnExclusive(message);
    Forward(bytes);
    return;
  }

  CZelOrvaneMessage message;
  if (!message.Parse(bytes, m_addressWidth))
    return;
  if (bytes[1] != m_manufacturerId)
    return;
  if (message.GetField(ORVANE_FIELD_MODEL_ID) != m_modelId)
    return;
  QZML::CByteArray deviceId = message.GetField(ORVANE_FIELD_DEVICE_ID);
  if (deviceId.size() != 1 || deviceId[0] != m_deviceId)
    return;

  QZML::CByteArray command = message.GetField(ORVANE_FIELD_COMMAND);
  if (command == OrvaneRequestCommand()) {
    if (m_requestHandler)
      m_requestHandler->OnRequest(message);
    return;
  }
  if (command != OrvaneDataSetCommand() || message.GetChecksum() != message.CalcChecksum())
    return;
  // A handler may act on the message; the forwarded bytes are the received ones.
  for (IZelMidiMessageHandler* handler : std::vector<IZelMidiMessageHandler*>(m_dataSetHandlers))
    if (handler)
      handler->OnDataSet(message);
  if (m_messageHandler)
    m_messageHandler->OnDataSet(message);
  Forward(bytes);
}
