#include "app/appmidi.h"

#include "app/messagebox.h"

#include <QApplication>

#include <vector>

void CMidiMessageBoxQt::ShowMidiMessage(const std::string& text) {
  AppMessageBox(QApplication::activeWindow(), QMessageBox::Warning, QString::fromStdString(text));
}

CAppMidi::CAppMidi(QObject* context, QZP::ISettingsStore& settings, const std::string& midiApi, bool realMidi,
                   int simulatorModel)
    : m_environment(CMidiEnvironment::Instance()), m_midiApi(midiApi), m_realMidi(realMidi),
      // Answers at once: a user trying the program should not wait for a cable's speed.
      m_simulator(InstallSimulator(m_virtual, simulatorModel, kSimulatorDeviceId, false)), m_dispatcher(context),
      m_settings(settings) {}

CAppMidi::~CAppMidi() {
  DisconnectAll();
  // The environment's services point here.
  m_environment.SetServices(CMidiServices());
}

bool CAppMidi::Start() {
  bool ok = true;
  if (m_realMidi) {
    if (m_rtmidi.Init(m_midiApi, "QZ-MAX Librarian")) {
      m_chain.Add(&m_rtmidi);
    } else if (m_midiApi != "auto") {
      m_startError = m_rtmidi.ErrorText();
      ok = false;
    }
  }
  m_chain.Add(&m_virtual);
  CMidiServices services;
  services.backend = &m_chain;
  services.dispatcher = &m_dispatcher;
  services.messageBox = &m_messageBox;
  m_environment.SetServices(services);
  m_setup = std::make_unique<CMidiSetup>(m_environment, m_settings, 0);
  return ok;
}

void CAppMidi::LoadSetup() {
  m_setup->Load();
  if (m_simulatorOverride)
    BindSimulator();
}

void CAppMidi::BindSimulator() {
  const std::string name = QZP::CVirtualMidiBackend::kSimulatorName;
  if (m_environment.Inputs().empty() || m_environment.Outputs().empty())
    return;
  CZelMidiIn& input = m_environment.Inputs()[0];
  CZelMidiOut& output = m_environment.Outputs()[0];
  // Whatever device the stored choice gave the unit's ports makes way for the simulated unit.
  for (auto& device : m_environment.InDevices()) {
    const std::vector<CZelMidiIn*> inputs = device->GetInputs();
    device->DetachAll();
    for (CZelMidiIn* other : inputs)
      if (other != &input)
        device->Attach(other);
  }
  output.SetDevice(nullptr);
  m_setup->BindInput(input, name, kSimulatorDeviceId);
  m_setup->BindOutput(output, name, kSimulatorDeviceId);
}

void CAppMidi::DisconnectAll() {
  if (m_setup)
    m_setup->DisconnectAll();
}
