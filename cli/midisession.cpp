#include "cli/midisession.h"

#include <cstdio>

#include "midi/patchstream.h"
#include "midi/portname.h"
#include "model/appstate.h"

namespace QZCli {

CSimOptions SimulatorOptions(int model, int deviceId) {
  return MakeSimulatorOptions(model, static_cast<std::uint8_t>(deviceId - 1), false);
}

CMidiSession::CMidiSession(const CGlobalOptions& options, CTerminalTextOut& out)
    : m_options(options), m_out(out), m_environment(CMidiEnvironment::Instance()) {}

CMidiSession::~CMidiSession() {
  // As at the windowed program's exit: reader and writer first, then the ports, before the systems go.
  QZML::CAppState::Instance().DeleteReaderWriter();
  if (m_setup)
    m_setup->DisconnectAll();
  m_environment.Teardown();
}

void CMidiSession::ShowMidiMessage(const std::string& text) {
  ++m_portMessages;
  m_out.Message(text);
}

bool CMidiSession::Start() {
  // The unit answers at once: a transfer with it takes no longer than the program needs.
  m_simulator = InstallSimulator(m_virtual, SimulatorOptions(m_options.model, m_options.deviceId));
  m_chain.Add(&m_virtual);
  if (m_rtmidi.Init(m_options.midiApi, "qzml")) {
    m_chain.Add(&m_rtmidi);
  } else if (m_options.midiApi != "auto") {
    m_out.Message("The MIDI system \"" + m_options.midiApi + "\" could not be started. " + m_rtmidi.ErrorText());
    return false;
  }
  StartOffline();
  return true;
}

void CMidiSession::StartOffline() {
  CMidiServices services;
  services.backend = &m_chain;
  services.dispatcher = &m_dispatcher;
  services.messageBox = this;
  m_environment.SetServices(services);
  m_environment.PreparePorts(m_options.model);
  CZelTextOut* relay = new CTextOutRelay(m_out);
  m_environment.SetTextOut(MIDI_TEXTOUT_MESSAGE_BOX, relay);
  m_environment.SetTextOut(MIDI_TEXTOUT_ERROR_BUFFER, relay);
  m_setup = std::make_unique<CMidiSetup>(m_environment, m_settings);
  // Files carry the device ID in their messages as the unit's ports do.
  const auto wireId = static_cast<std::uint8_t>(m_options.deviceId - 1);
  m_environment.Inputs()[0].m_deviceId = wireId;
  m_environment.Outputs()[0].m_deviceId = wireId;
  InstallPatchStreams(m_environment);
}

bool CMidiSession::Connect(const std::string& inName, const std::string& outName, int deviceId) {
  if (FindStoredPort(inName, InputNames()) < 0) {
    m_out.Message("There is no MIDI input port \"" + inName + "\" (see 'qzml ports').");
    return false;
  }
  if (FindStoredPort(outName, OutputNames()) < 0) {
    m_out.Message("There is no MIDI output port \"" + outName + "\" (see 'qzml ports').");
    return false;
  }
  const int wireId = (deviceId > 0 ? deviceId : m_options.deviceId) - 1;
  m_setup->BindInput(m_environment.Inputs()[0], inName, wireId);
  m_setup->BindOutput(m_environment.Outputs()[0], outName, wireId);
  // A port that would not open has shown the system's reason.
  return m_environment.IsSetupComplete();
}

bool RunPorts(const CCommandLine& line, CTerminalTextOut& out) {
  CMidiSession session(line.global, out);
  if (!session.Start())
    return false;
  std::string text;
  for (const std::string& name : session.InputNames())
    text += "in\t" + name + "\n";
  for (const std::string& name : session.OutputNames())
    text += "out\t" + name + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  return true;
}

} // namespace QZCli
