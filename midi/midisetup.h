#pragma once
// The port choice: opens ports by their names, binds them to the logical ports of the MIDI environment
// and keeps the binding in the settings ("MIDIInConnection", "MIDIOutConnection", "MIDIThruConnection").
// Also the logic of the "Set Up MIDI Devices" dialog as functions over the dialog's combo boxes, so the
// dialog only shows them.

#include <map>
#include <string>
#include <vector>

#include "midi/midienvironment.h"
#include "midi/midiin.h"
#include "platform/settings.h"

class CMidiSetup {
public:
  static constexpr const char* kNone = "(none)";
  // The device IDs the setup offers (shown as 1 to 32); a value outside keeps the port's previous one.
  static constexpr int kLowestDeviceId = 0;
  static constexpr int kHighestDeviceId = 31;

  // Neither is owned. The program has no thru connections.
  CMidiSetup(CMidiEnvironment& environment, QZP::ISettingsStore& settings, int thruCount = 0);
  virtual ~CMidiSetup();

  // The device object with that name, opened on first use; null when it cannot be opened (a failing
  // open has shown its message; a name that matches no port shows none).
  virtual CMidiInDevice* GetInDevice(const std::string& name);
  virtual CMidiOutDevice* GetOutDevice(const std::string& name);

  // deviceName: a port name as listed, a stored name (FindStoredPort), or the dialog's text for a port
  // that is not connected. A port that is missing or cannot be opened stays the logical port's choice
  // (m_unconnectedDevice), so Save keeps it.
  void BindInput(CZelMidiIn& input, const std::string& deviceName, int deviceId);
  void BindOutput(CZelMidiOut& output, const std::string& deviceName, int deviceId);
  void BindThru(ThruConnection& thru, const std::string& inName, const std::string& outName);
  // Unbinds and closes everything; names, model IDs and device IDs of the logical ports stay.
  void DisconnectAll();
  // Closes everything, then binds as stored.
  void Load();
  void Save();

  // The name of the first input device that lists input, or "(none)".
  std::string InputDeviceName(const CZelMidiIn& input) const;
  std::string OutputDeviceName(const CZelMidiOut& output) const;
  // What the dialog shows as the choice: the device's name, the chosen port that is not connected
  // ("<name> (not connected)"), or "(none)".
  std::string InputChoiceText(const CZelMidiIn& input) const;
  std::string OutputChoiceText(const CZelMidiOut& output) const;
  // The port names the MIDI system lists now.
  std::vector<std::string> InputNames() const;
  std::vector<std::string> OutputNames() const;

  std::vector<ThruConnection>& Thru() { return m_thru; }
  CMidiEnvironment& Environment() { return m_environment; }

private:
  CMidiEnvironment& m_environment;
  QZP::ISettingsStore& m_settings;
  std::vector<ThruConnection> m_thru;
};

// Control ids of the dialog "Set Up MIDI Devices".
enum : int {
  IDC_MIDI_DEVICE_ID = 4096,
  IDC_MIDI_IN_DEVICE = 4101,
  IDC_MIDI_OUT_DEVICE = 4104,
  IDC_MIDI_MODEL_LABEL = 4110,
  IDC_MIDI_THRU_IN_DEVICE = 4111,
  IDC_MIDI_THRU_OUT_DEVICE = 4112,
};

// One row of the dialog: the device combo box and the device ID combo box of one logical port.
struct CMidiDeviceRow {
  int deviceCombo;
  int idCombo;
  int lowestId;
  int highestId;
};
struct CMidiThruRow {
  int inCombo;
  int outCombo;
};
struct CMidiSetupLayout {
  std::vector<CMidiDeviceRow> inputs;
  std::vector<CMidiDeviceRow> outputs;
  std::vector<CMidiThruRow> thru;
  std::string label; // the target model's name, shown in IDC_MIDI_MODEL_LABEL when not empty
};
// The rows of the program's dialog: both inputs and both outputs share the one device ID combo box.
CMidiSetupLayout StandardMidiSetupLayout(const std::string& modelName);

// A drop-down list: its entries, the selected one (-1 for none) and whether it is enabled.
struct CMidiSetupCombo {
  std::vector<std::string> items;
  int selected = -1;
  bool enabled = true;
  std::string Text() const {
    return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : std::string();
  }
  void Select(const std::string& text);
};

struct CMidiSetupForm {
  std::map<int, CMidiSetupCombo> combos; // by control id
  std::string label;                     // the text of IDC_MIDI_MODEL_LABEL, when set
};

// Dialog initialisation: reloads the stored setup (closing and reopening every port), then fills the
// combo boxes from the port lists and the current binding.
void InitMidiSetupForm(CMidiSetup& setup, const CMidiSetupLayout& layout, CMidiSetupForm& form);
// Dialog OK: closes everything, binds what the combo boxes show, and saves.
void ApplyMidiSetupForm(CMidiSetup& setup, const CMidiSetupLayout& layout, const CMidiSetupForm& form);
