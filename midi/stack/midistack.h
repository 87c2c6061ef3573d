#pragma once
// The MIDI side of a program, put together in one place for the windowed program, qzml, the benchmarks
// and the tests: the chain of MIDI systems (the built-in port pair with its simulated unit, RtMidi on
// ALSA or JACK, or a backend of the caller's), the services the ports run on, the environment's logical
// ports and text outputs, and the port setup over a settings store.
//
// The chain lists the systems in the order they are added. Typical use:
//   CMidiStack stack(&CMidiEnvironment::Instance());
//   stack.AddSimulator(options);          // "QZ-MAX Simulator"
//   stack.AddRealMidi("auto", "qzml");    // then ALSA or JACK
//   stack.Start(dispatcher, &messageBox); // services and port setup
//   stack.PreparePorts(model);
//   stack.SetTextOuts(new ..., new ...);
//   stack.ConnectUnit(inName, outName, deviceId);

#include <memory>
#include <string>

#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "platform/midibackend.h"
#include "platform/rtmidibackend.h"
#include "platform/settings.h"
#include "platform/virtualmidi.h"
#include "sim/port/simport.h"

class CZelTextOut;

class CMidiStack {
public:
  // environment: the program's (CMidiEnvironment::Instance()), not owned; null gives the stack an
  // environment of its own, emptied when the stack goes (tests, benchmarks).
  explicit CMidiStack(CMidiEnvironment* environment = nullptr);
  // Closes every port and takes the services back from the environment; an own environment is emptied.
  ~CMidiStack();
  CMidiStack(const CMidiStack&) = delete;
  CMidiStack& operator=(const CMidiStack&) = delete;

  // The built-in port pair (in-process ports) into the chain; once, however often it is called.
  void AddBuiltInPorts();
  // A simulated unit behind "QZ-MAX Simulator", switched on, and the built-in ports into the chain; null
  // when the pair could not be installed (the name is in use).
  CSimPort* AddSimulator(const CSimOptions& unit);
  // RtMidi on api ("auto", "alsa", "jack") under clientName into the chain. False when it did not start,
  // with RtMidi's reason in RealMidiError(); the chain then goes without it.
  bool AddRealMidi(const std::string& api, const std::string& clientName);
  const std::string& RealMidiError() const { return m_realMidiError; }
  // Another system of the caller's, which must outlive the stack.
  void AddBackend(QZP::IMidiBackend& backend) { m_chain.Add(&backend); }

  // The services (the chain, posting to the user-interface thread, the clock, where the port layer's
  // messages go) into the environment, and the port setup over settings. Not owned: dispatcher,
  // messageBox, settings and clock; null settings: a store in memory of the stack's own; null clock: the
  // system clock.
  void Start(QZP::IUiDispatcher& dispatcher, IMidiMessageBox* messageBox, QZP::ISettingsStore* settings = nullptr,
             QZP::IClock* clock = nullptr);

  // The logical ports of a target model (CMidiEnvironment::PreparePorts).
  void PreparePorts(QZML::EModel targetModel) { m_environment.PreparePorts(targetModel); }
  // The message box and error buffer slots; the environment owns the objects (one object may fill both).
  void SetTextOuts(CZelTextOut* messageBox, CZelTextOut* errorBuffer);
  // Binds logical input 0 and output 0 (the unit) to the named ports with a device ID as on the wire.
  // Whether a transfer can now run (a port that would not open has shown its message).
  bool ConnectUnit(const std::string& inName, const std::string& outName, int deviceId);
  // Unbinds and closes every port; what the logical ports are stays.
  void DisconnectAll();
  // Closes every port, then empties the environment (CMidiEnvironment::Teardown).
  void Teardown();

  CMidiEnvironment& Environment() { return m_environment; }
  // Valid after Start.
  CMidiSetup& Setup() { return *m_setup; }
  QZP::CMidiBackendChain& Chain() { return m_chain; }
  QZP::CVirtualMidiBackend& BuiltInPorts() { return m_virtual; }
  QZP::CRtMidiBackend& RealMidi() { return m_rtmidi; }
  // The unit of AddSimulator, or null.
  CSimPort* Simulator() { return m_simulator.get(); }

private:
  std::unique_ptr<CMidiEnvironment> m_ownEnvironment;
  CMidiEnvironment& m_environment;
  QZP::CVirtualMidiBackend m_virtual;
  std::unique_ptr<CSimPort> m_simulator;
  QZP::CRtMidiBackend m_rtmidi;
  QZP::CMidiBackendChain m_chain;
  bool m_builtInAdded = false;
  std::string m_realMidiError;
  QZP::CMemorySettings m_ownSettings;
  std::unique_ptr<CMidiSetup> m_setup;
};
