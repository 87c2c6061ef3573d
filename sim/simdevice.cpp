#include "sim/simdevice.h"

CSimDevice::CSimDevice(const CSimOptions& options, ISimClock* clock)
    : m_unit(options), m_clock(clock ? *clock : m_systemClock) {}

CSimDevice::~CSimDevice() { Stop(); }

void CSimDevice::SetOutput(COutput output) { m_output = std::move(output); }

bool CSimDevice::Start() {
  if (m_running.load())
    return false;
  const CSimOptions& options = m_unit.Options();
  if (options.cableSpeed || options.answerDelayUs > 0) {
    m_runner = std::make_unique<CSimRunner>(m_unit, m_clock);
    m_runner->SetOutput(m_output);
    if (!m_runner->Start()) {
      m_runner.reset();
      return false;
    }
  } else {
    m_unit.SetOutput(m_output);
  }
  m_running = true;
  return true;
}

void CSimDevice::Stop() {
  if (!m_running.exchange(false))
    return;
  // The runner gives the unit's output back when it goes.
  m_runner.reset();
  m_unit.SetOutput(nullptr);
}

void CSimDevice::FromHost(const std::uint8_t* bytes, std::size_t count) {
  if (!m_running.load() || (count > 0 && !bytes))
    return;
  QZML::CByteArray message(bytes, bytes + count);
  if (m_runner)
    m_runner->Send(message);
  else
    m_unit.Receive(message);
}
