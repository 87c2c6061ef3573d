#include "app/appmidi.h"

#include "app/messagebox.h"

#include <QApplication>

#include <vector>

void CMidiMessageBoxQt::ShowMidiMessage(const std::string& text) {
  AppMessageBox(QApplication::activeWindow(), QMessageBox::Warning, QString::fromStdString(text));
}

CAppMidi::CAppMidi(QObject* context, QZP::ISettingsStore& settings, const std::string& midiApi, bool realMidi,
                   int simulatorModel)
    : m_midiApi(midiApi), m_realMidi(realMidi), m_simulatorModel(simulatorModel), m_dispatcher(context),
      m_settings(settings), m_stack(&CMidiEnvironment::Instance()) {}

CAppMidi::~CAppMidi() = default;

bool CAppMidi::Start() {
  bool ok = true;
  if (m_realMidi && !m_stack.AddRealMidi(m_midiApi, "QZ-MAX Librarian") && m_midiApi != "auto") {
    m_startError = m_stack.RealMidiError();
    ok = false;
  }
  // Answers at once: a user trying the program should not wait for a cable's speed.
  m_stack.AddSimulator(MakeSimulatorOptions(m_simulatorModel, kSimulatorDeviceId, false));
  m_stack.Start(m_dispatcher, &m_messageBox, &m_settings);
  return ok;
}

void CAppMidi::LoadSetup() {
  m_stack.Setup().Load();
  if (m_simulatorOverride)
    BindSimulator();
}

void CAppMidi::BindSimulator() {
  CMidiEnvironment& environment = m_stack.Environment();
  if (environment.Inputs().empty() || environment.Outputs().empty())
    return;
  CZelMidiIn& input = environment.Inputs()[0];
  CZelMidiOut& output = environment.Outputs()[0];
  // Whatever device the stored choice gave the unit's ports makes way for the simulated unit.
  for (auto& device : environment.InDevices()) {
    const std::vector<CZelMidiIn*> inputs = device->GetInputs();
    device->DetachAll();
    for (CZelMidiIn* other : inputs)
      if (other != &input)
        device->Attach(other);
  }
  output.SetDevice(nullptr);
  const std::string name = QZP::CVirtualMidiBackend::kSimulatorName;
  m_stack.ConnectUnit(name, name, kSimulatorDeviceId);
}

void CAppMidi::DisconnectAll() { m_stack.DisconnectAll(); }
