#include "midi/stack/midistack.h"

CMidiStack::CMidiStack(CMidiEnvironment* environment)
    : m_ownEnvironment(environment ? nullptr : std::make_unique<CMidiEnvironment>()),
      m_environment(environment ? *environment : *m_ownEnvironment) {}

CMidiStack::~CMidiStack() {
  DisconnectAll();
  if (m_ownEnvironment)
    m_ownEnvironment->Teardown();
  else
    m_environment.SetServices(CMidiServices()); // they point into this object
}

void CMidiStack::AddBuiltInPorts() {
  if (m_builtInAdded)
    return;
  m_builtInAdded = true;
  m_chain.Add(&m_virtual);
}

CSimPort* CMidiStack::AddSimulator(const CSimOptions& unit) {
  m_simulator = InstallSimulator(m_virtual, unit);
  AddBuiltInPorts();
  return m_simulator.get();
}

bool CMidiStack::AddRealMidi(const std::string& api, const std::string& clientName) {
  if (!m_rtmidi.Init(api, clientName)) {
    m_realMidiError = m_rtmidi.ErrorText();
    return false;
  }
  m_chain.Add(&m_rtmidi);
  return true;
}

void CMidiStack::Start(QZP::IUiDispatcher& dispatcher, IMidiMessageBox* messageBox, QZP::ISettingsStore* settings,
                       QZP::IClock* clock) {
  CMidiServices services;
  services.backend = &m_chain;
  services.dispatcher = &dispatcher;
  services.clock = clock;
  services.messageBox = messageBox;
  m_environment.SetServices(services);
  m_setup = std::make_unique<CMidiSetup>(m_environment, settings ? *settings : m_ownSettings);
}

void CMidiStack::SetTextOuts(CZelTextOut* messageBox, CZelTextOut* errorBuffer) {
  m_environment.SetTextOut(MIDI_TEXTOUT_MESSAGE_BOX, messageBox);
  m_environment.SetTextOut(MIDI_TEXTOUT_ERROR_BUFFER, errorBuffer);
}

bool CMidiStack::ConnectUnit(const std::string& inName, const std::string& outName, int deviceId) {
  m_setup->BindInput(m_environment.Inputs()[0], inName, deviceId);
  m_setup->BindOutput(m_environment.Outputs()[0], outName, deviceId);
  return m_environment.IsSetupComplete();
}

void CMidiStack::DisconnectAll() {
  if (m_setup)
    m_setup->DisconnectAll();
}

void CMidiStack::Teardown() {
  DisconnectAll();
  m_environment.Teardown();
}
