#include "miditestsupport.h"

namespace {

class CScriptedInPort : public QZP::IMidiInPort {
public:
  explicit CScriptedInPort(CScriptedBackend* backend) : m_backend(backend) {}
  bool Start() override { return true; }
  bool Stop() override { return true; }
  bool Close() override {
    m_backend->callback = nullptr;
    return true;
  }
  std::string ErrorText() const override { return {}; }

private:
  CScriptedBackend* m_backend;
};

} // namespace

std::unique_ptr<QZP::IMidiInPort> CScriptedBackend::OpenInput(unsigned index, QZP::IMidiInputCallback* cb) {
  if (index != 0)
    return nullptr;
  callback = cb;
  return std::make_unique<CScriptedInPort>(this);
}

CLoopbackRig::CLoopbackRig() {
  backend.AddLoopback("Loop A");
  backend.AddLoopback("Loop B");
  backend.AddPeer("Peer", &peer);
  services.backend = &backend;
  services.dispatcher = &dispatcher;
  services.clock = &clock;
  services.messageBox = &box;
}

QZML::CByteArray Bytes(std::initializer_list<int> values) {
  QZML::CByteArray bytes;
  for (int v : values)
    bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

QZML::CByteArray DataSet(std::uint8_t deviceId, std::uint32_t address, const QZML::CByteArray& data) {
  CZelAddressing port;
  port.deviceId = deviceId;
  port.modelId = {0x00, 0x00, 0x0B};
  return MakeDataSet(port, address, data).GetBytes();
}
