#pragma once
// The program's MIDI side on the MIDI stack: the MIDI systems (RtMidi on the chosen API, then the built-in
// port pair "QZ-MAX Simulator" with its simulated unit), the posting to the event loop, the port layer's
// message boxes, and the port choice (CMidiSetup) over the per-user settings.


#include <QString>

#include <cstdint>
#include <memory>
#include <string>

#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "midi/stack/midistack.h"
#include "model/patch.h"
#include "platform/qtdispatch.h"
#include "platform/settings.h"
#include "platform/virtualmidi.h"
#include "sim/port/simport.h"

class QObject;

// The device ID of the built-in simulated unit: a unit as it leaves the factory ("17").
inline constexpr std::uint8_t kSimulatorDeviceId = 0x10;

// Shows the port layer's own messages in message boxes.
class CMidiMessageBoxQt : public IMidiMessageBox {
public:
  void ShowMidiMessage(const std::string& text) override;
};

class CAppMidi {
public:
  // context: the object on the event loop's thread that posted work runs on (the application object).
  // settings: where the port choice is kept; not owned.
  CAppMidi(QObject* context, QZP::ISettingsStore& settings, const std::string& midiApi, bool realMidi,
           QZML::EModel simulatorModel);
  ~CAppMidi();
  CAppMidi(const CAppMidi&) = delete;
  CAppMidi& operator=(const CAppMidi&) = delete;

  // The MIDI systems into the environment's services. False when a system asked for by name did not
  // start (the built-in ports still work); the reason is in StartError().
  bool Start();
  const std::string& StartError() const { return m_startError; }

  CMidiEnvironment& Environment() { return m_stack.Environment(); }
  CMidiSetup& Setup() { return m_stack.Setup(); }
  QZP::CVirtualMidiBackend& Virtual() { return m_stack.BuiltInPorts(); }
  // The built-in simulated unit; null when its port pair could not be installed.
  CSimPort* Simulator() { return m_stack.Simulator(); }

  // The stored port choice, then the simulated unit when it is bound for this run.
  void LoadSetup();
  // Binds the unit's ports to the built-in simulated unit without storing anything.
  void BindSimulator();
  void SetSimulatorOverride(bool on) { m_simulatorOverride = on; }
  bool GetSimulatorOverride() const { return m_simulatorOverride; }

  // Closes every port.
  void DisconnectAll();

  // The simulated unit's user memory from one run to the next. Load: the demonstration patches, then
  // what the file at path holds when it is a library file of the unit's model (anything else is left
  // alone). Save: into that file, written atomically, only when the memory changed since the load; false
  // when the file could not be written.
  void LoadSimulatorMemory(const QString& path);
  bool SaveSimulatorMemory();
  // The file in the settings folder for a model's simulated unit ("simulator-QZ-MAX.qzl").
  static QString SimulatorMemoryPath(QZML::EModel model);

private:
  std::string m_midiApi;
  bool m_realMidi;
  QZML::EModel m_simulatorModel;
  std::string m_startError;
  QZP::CQtUiDispatcher m_dispatcher;
  CMidiMessageBoxQt m_messageBox;
  QZP::ISettingsStore& m_settings;
  CMidiStack m_stack;
  bool m_simulatorOverride = false;
  QString m_simulatorMemoryPath;
  QZML::CPatchArray m_simulatorMemory; // as loaded, to see whether it changed
};
