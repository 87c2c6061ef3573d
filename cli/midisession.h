#pragma once
// The MIDI side of one qzml run, on the MIDI stack the windowed program uses too: the MIDI systems (the
// built-in simulated unit first, then RtMidi on the chosen system), a posting queue in place of the event
// loop, the program's MIDI environment with the unit's logical ports bound by port name, and the device
// reader and writer on those ports.

#include <memory>
#include <string>
#include <vector>

#include "cli/cliargs.h"
#include "cli/terminaltextout.h"
#include "midi/midienvironment.h"
#include "midi/stack/midistack.h"
#include "platform/uidispatch.h"
#include "sim/port/simport.h"

namespace QZCli {

// A simulated unit of a model answering on a device ID as users count it (1..32), without timing.
CSimOptions SimulatorOptions(QZML::EModel model, int deviceId);

// Hands everything to another text output (the environment deletes the objects in its slots; the
// terminal output belongs to main).
class CTextOutRelay : public CZelTextOut {
public:
  explicit CTextOutRelay(CZelTextOut& target) : m_target(target) {}
  void Error(ETextOutError code) override { m_target.Error(code); }
  void ErrorDetail(ETextOutError code, const std::string& detail) override { m_target.ErrorDetail(code, detail); }
  EAnswer Ask(EAskKind kind, EQuestion code, int reserved) override { return m_target.Ask(kind, code, reserved); }
  void Output(const std::string& text) override { m_target.Output(text); }

private:
  CZelTextOut& m_target;
};

class CMidiSession : public IMidiMessageBox {
public:
  CMidiSession(const CGlobalOptions& options, CTerminalTextOut& out);
  ~CMidiSession() override;
  CMidiSession(const CMidiSession&) = delete;
  CMidiSession& operator=(const CMidiSession&) = delete;

  // Starts the MIDI systems and prepares the unit's ports. A system asked for by name that does not
  // start is a failure; with "auto" the built-in simulated unit may stay alone.
  bool Start();
  // Only the unit's logical ports, with the device ID of the options, and the device reader and writer
  // on them (the application state's), for reading and writing files.
  void StartOffline();

  std::vector<std::string> InputNames() { return m_stack.Chain().InputNames(); }
  std::vector<std::string> OutputNames() { return m_stack.Chain().OutputNames(); }

  // Binds logical input 0 and output 0 (the unit) to the named ports (as listed, or without ALSA's
  // client:port numbers) with a device ID as users count it (0: the one of the options).
  bool Connect(const std::string& inName, const std::string& outName, int deviceId = 0);

  CMidiEnvironment& Environment() { return m_stack.Environment(); }
  QZP::CManualDispatcher& Dispatcher() { return m_dispatcher; }
  CSimPort& Simulator() { return *m_stack.Simulator(); }
  CTerminalTextOut& Terminal() { return m_out; }

  // The port layer's own messages (driver errors, send time-outs), and how many there were.
  void ShowMidiMessage(const std::string& text) override;
  int PortMessageCount() const { return m_portMessages; }

private:
  CGlobalOptions m_options;
  CTerminalTextOut& m_out;
  QZP::CManualDispatcher m_dispatcher;
  CMidiStack m_stack;
  int m_portMessages = 0;
};

bool RunPorts(const CCommandLine& line, CTerminalTextOut& out);
// Binds the unit's ports of read and write: --in, --out and --device-id as given, or, where they are
// "auto", those of the single unit of the target model that answers (qzml detect).
bool ConnectUnit(CMidiSession& session, const CCommandLine& line, CTerminalTextOut& out);
bool RunSimulate(const CCommandLine& line, CTerminalTextOut& out);

} // namespace QZCli
