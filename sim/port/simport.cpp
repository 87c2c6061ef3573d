#include "sim/port/simport.h"

CSimPort::CSimPort(QZP::CVirtualMidiBackend& backend, const CSimOptions& options, const std::string& name)
    : m_backend(backend), m_name(name), m_device(options) {
  m_device.SetOutput([this](const QZML::CByteArray& message) {
    if (m_backend.ToProgram(m_name, message.data(), message.size()))
      m_delivered.fetch_add(1);
  });
  m_installed = m_backend.AddPeer(m_name, this);
  if (m_installed)
    m_device.Start();
}

CSimPort::~CSimPort() {
  // The unit's thread, if any, ends before the pair it answers into goes.
  m_device.Stop();
  if (m_installed)
    m_backend.Remove(m_name);
}

void CSimPort::FromProgram(const std::uint8_t* bytes, std::size_t count) {
  if (m_monitor)
    m_monitor(bytes, count);
  m_device.FromHost(bytes, count);
}

CSimOptions MakeSimulatorOptions(QZML::EModel model, std::uint8_t deviceId, bool timing) {
  CSimOptions options;
  options.model = model;
  options.deviceId = deviceId;
  options.cableSpeed = timing;
  return options;
}

std::unique_ptr<CSimPort> InstallSimulator(QZP::CVirtualMidiBackend& backend, QZML::EModel model, std::uint8_t deviceId,
                                           bool timing) {
  return InstallSimulator(backend, MakeSimulatorOptions(model, deviceId, timing));
}

std::unique_ptr<CSimPort> InstallSimulator(QZP::CVirtualMidiBackend& backend, const CSimOptions& options) {
  auto port = std::make_unique<CSimPort>(backend, options);
  if (!port->IsInstalled())
    return nullptr;
  return port;
}
