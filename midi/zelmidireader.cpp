#include "midi/zelmidireader.h"

#include "exclusive/longmessage.h"
#include "exclusive/orvanemessage.h"
#include "midi/zelmidiout.h"
#include "textout/textout.h"

CZelMidiReader::CZelMidiReader(CZelTextOut* errorSink) : m_errorSink(errorSink) {}

bool CZelMidiReader::OnShortMessage(std::uint32_t) { return true; }

bool CZelMidiReader::OnExclusive(const CZelLongMessage&) {
  // While a data set is awaited, a stray universal message (a late identity reply) must not pass for it.
  if (m_state != STATE_WAITING || !m_expectedAddress.empty() || m_expectedSize != 0)
    return false;
  m_state = STATE_RECEIVED;
  return true;
}

bool CZelMidiReader::OnDataSet(const CZelOrvaneMessage& message) {
  if (m_state != STATE_WAITING || m_expectedAddress.empty())
    return false;
  if (message.GetField(ORVANE_FIELD_ADDRESS) != m_expectedAddress)
    return false;
  if (message.GetFieldDescriptor(ORVANE_FIELD_DATA).length != m_expectedSize)
    return false;
  m_state = STATE_RECEIVED;
  return true;
}

int CZelMidiReader::RemainingMs() const {
  if (!m_deadlineSet)
    return 0;
  const std::uint64_t now = Clock().NowMs();
  if (now >= m_deadline)
    return 0;
  const std::uint64_t left = m_deadline - now;
  return left > static_cast<std::uint64_t>(m_timeout) ? m_timeout : static_cast<int>(left);
}

bool CZelMidiReader::Wait(bool request, std::uint32_t address, int size, const CZelLongMessage* message) {
  for (int attempt = 0; attempt < m_attempts; ++attempt) {
    // The awaited answer is set up before the request goes out: a unit that answers at once may have
    // answered before the send returns.
    m_state = STATE_WAITING;
    if (m_port)
      m_port->SetAnswerAwaited(true);
    if (request) {
      m_expectedAddress = ToSevenBitBytes(address, m_port ? m_port->m_addressWidth : 4);
      m_expectedSize = size;
      if (m_port)
        m_port->SendRequest(address, static_cast<std::uint32_t>(size));
    } else {
      m_expectedAddress.clear();
      m_expectedSize = 0;
      if (m_port)
        m_port->Send(*message);
    }
    if (m_port)
      m_port->SetAnswerAwaited(false);
    m_deadline = Clock().NowMs() + static_cast<std::uint64_t>(m_timeout > 0 ? m_timeout : 0);
    m_deadlineSet = true;
    // The state is looked at before every pump: an answer handled while the request was sent must not
    // wait for another event to come, which may be the end of the attempt.
    while (m_state != STATE_RECEIVED && Clock().NowMs() < m_deadline)
      Pump();
    if (m_state == STATE_RECEIVED) {
      m_state = STATE_IDLE;
      m_deadlineSet = false;
      return true;
    }
  }
  m_deadlineSet = false;
  m_state = STATE_IDLE;
  if (CZelTextOut* sink = GetErrorSink())
    sink->Error(TEXTOUT_ERR_NO_ANSWER);
  return false;
}

bool CZelMidiReader::Request(std::uint32_t address, int size) { return Wait(true, address, size, nullptr); }

bool CZelMidiReader::Exchange(const CZelLongMessage& message) { return Wait(false, 0, 0, &message); }

bool CZelMidiWriter::OnIdentityRequest(const CZelLongMessage&) { return true; }

bool CZelMidiWriter::OnRequest(const CZelOrvaneMessage&) { return true; }

bool CZelMidiWriter::Write(std::uint32_t address, const QZML::CByteArray& data) {
  if (m_port) {
    m_port->SendDataSet(address, data);
    if (m_port->LastSendFailed())
      return false;
  }
  Clock().SleepMs(kPauseMs);
  return true;
}
