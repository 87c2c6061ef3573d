#include "cli/midisession.h"

#include <cstdio>

#include "midi/patchstream.h"
#include "midi/portname.h"
#include "model/appstate.h"

namespace QZCli {

CSimOptions SimulatorOptions(QZML::EModel model, int deviceId) {
  return MakeSimulatorOptions(model, static_cast<std::uint8_t>(deviceId - 1), false);
}

CMidiSession::CMidiSession(const CGlobalOptions& options, CTerminalTextOut& out)
    : m_options(options), m_out(out), m_stack(&CMidiEnvironment::Instance()) {}

CMidiSession::~CMidiSession() {
  // As at the windowed program's exit: reader and writer first, then the ports, before the systems go.
  QZML::CAppState::Instance().DeleteReaderWriter();
  m_stack.Teardown();
}

void CMidiSession::ShowMidiMessage(const std::string& text) {
  ++m_portMessages;
  m_out.Message(text);
}

bool CMidiSession::Start() {
  // The unit answers at once: a transfer with it takes no longer than the program needs.
  m_stack.AddSimulator(SimulatorOptions(m_options.model, m_options.deviceId));
  if (!m_stack.AddRealMidi(m_options.midiApi, "qzml") && m_options.midiApi != "auto") {
    m_out.Message("The MIDI system \"" + m_options.midiApi + "\" could not be started. " + m_stack.RealMidiError());
    return false;
  }
  StartOffline();
  return true;
}

void CMidiSession::StartOffline() {
  m_stack.Start(m_dispatcher, this);
  m_stack.PreparePorts(m_options.model);
  CZelTextOut* relay = new CTextOutRelay(m_out);
  m_stack.SetTextOuts(relay, relay);
  // Files carry the device ID in their messages as the unit's ports do.
  CMidiEnvironment& environment = m_stack.Environment();
  const auto wireId = static_cast<std::uint8_t>(m_options.deviceId - 1);
  environment.Inputs()[0].m_deviceId = wireId;
  environment.Outputs()[0].m_deviceId = wireId;
  InstallPatchStreams(environment);
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
  // A port that would not open has shown the system's reason.
  return m_stack.ConnectUnit(inName, outName, (deviceId > 0 ? deviceId : m_options.deviceId) - 1);
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
