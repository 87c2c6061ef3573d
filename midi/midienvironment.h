#pragma once
// The MIDI environment: the one object through which the program reaches MIDI. It owns the logical
// ports (two inputs, two outputs: index 0 is the unit, index 1 the "Through" pair), the opened
// device objects, four text-output slots and the progress sink, and it tells the unit's ports the
// target model's identifier.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "midi/midiindevice.h"
#include "midi/midiout.h"
#include "midi/midiservices.h"
#include "midi/zelmidiin.h"
#include "midi/zelmidiout.h"
#include "midi/zelprogressbar.h"
#include "model/appstate.h"

class CZelTextOut;

using CZelMidiInDevices = std::vector<std::unique_ptr<CMidiInDevice>>;
using CZelMidiOutDevices = std::vector<std::unique_ptr<CMidiOutDevice>>;

enum : int {
  MIDI_TEXTOUT_MESSAGE_BOX = 0,  // shows the message of an error code at once
  MIDI_TEXTOUT_ERROR_BUFFER = 1, // keeps the pending error code (the device reader's TEXTOUT_ERR_NO_ANSWER)
  MIDI_TEXTOUT_SLOTS = 4,
};

class CMidiEnvironment : public QZML::IModelIdSink {
public:
  static constexpr const char* kUnitPortName = "QZMLibrarian";

  // The program's one environment, created on first use.
  static CMidiEnvironment& Instance();

  CMidiEnvironment();
  ~CMidiEnvironment() override;
  CMidiEnvironment(const CMidiEnvironment&) = delete;
  CMidiEnvironment& operator=(const CMidiEnvironment&) = delete;

  // The platform and user-interface pieces the device objects are created with.
  void SetServices(const CMidiServices& services) { m_services = services; }
  const CMidiServices& GetServices() const { return m_services; }

  // Makes the two inputs and two outputs of start-up: index 0 named "QZMLibrarian" with the target
  // model's identifier, index 1 unnamed; input 1 forwards to output 1; every device ID 0. Devices must
  // be closed first (the ports are made anew).
  void PreparePorts(QZML::EModel targetModel);

  // The logical ports; addresses stay valid until PreparePorts or Teardown.
  std::deque<CZelMidiIn>& Inputs() { return m_inputs; }
  std::deque<CZelMidiOut>& Outputs() { return m_outputs; }
  // The first logical port with exactly this name, or null.
  CZelMidiIn* FindInput(const std::string& name);
  CZelMidiOut* FindOutput(const std::string& name);

  CZelMidiInDevices& InDevices() { return m_inDevices; }
  CZelMidiOutDevices& OutDevices() { return m_outDevices; }
  // Unbinds every logical output, then closes and deletes every input device and every output device.
  void CloseDevices();

  // Takes ownership of output. The object the slot held before is deleted unless another slot holds it.
  void SetTextOut(int slot, CZelTextOut* output);
  CZelTextOut* GetTextOut(int slot) const;
  // Owned.
  void SetProgress(std::unique_ptr<CZelProgressBar> progress) { m_progress = std::move(progress); }
  CZelProgressBar* GetProgress() const { return m_progress.get(); }

  // Whether a transfer can run: an input device whose first logical input is input 0, and logical
  // output 0 bound to the first output device.
  bool IsSetupComplete() const;

  // The target model's identifier bytes for the unit's ports (input 0 and output 0).
  void SetModelId(const unsigned char modelId[3]) override;

  // Empties everything in the order of shut-down: logical inputs, logical outputs, input devices, output
  // devices, each distinct text output once, the progress sink.
  void Teardown();

private:
  CMidiServices m_services;
  std::deque<CZelMidiIn> m_inputs;
  std::deque<CZelMidiOut> m_outputs;
  CZelMidiInDevices m_inDevices;
  CZelMidiOutDevices m_outDevices;
  CZelTextOut* m_textOut[MIDI_TEXTOUT_SLOTS] = {};
  std::unique_ptr<CZelProgressBar> m_progress;
};

// The model identifier bytes of a target model: 00 00 0B (QZ-MAX) or 00 00 06 (QZ-5).
QZML::CByteArray ModelIdBytes(QZML::EModel targetModel);
