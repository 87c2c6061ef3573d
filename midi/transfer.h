#pragma once
// What surrounds the reads and writes of the unit: the check that the MIDI setup is complete, and the
// confirmation asked before each kind of transfer with its "Don't show this dialog again." flags. The
// windows show the dialog; the decisions are made here.

#include <functional>
#include <string>

#include "platform/settingsections.h"

class CMidiEnvironment;
namespace QZP {
class ISettingsStore;
}

// Whether a transfer can run: an input device whose first logical input is input 0, and logical output 0
// bound to the first output device. Otherwise TEXTOUT_ERR_MIDI_SETUP goes at once to the environment's message-box
// output, naming the unit's chosen ports that are not connected, and the result is false.
bool CheckMidiConnection(CMidiEnvironment& environment);
// One line per port chosen for the unit that is missing or busy; empty when there is none.
std::string UnconnectedPortsText(CMidiEnvironment& environment);

// The kinds of confirmation, each with a flag of its own.
enum : int {
  CONFIRM_READ_USER = 0,         // Read All Data, Read Selected Data
  CONFIRM_READ_TEMP = 1,         // a row's temporary read button
  CONFIRM_WRITE_USER = 2,        // Write All Data, Write Selected Data
  CONFIRM_WRITE_TEMP_BUTTON = 3, // a row's temporary write button
  CONFIRM_WRITE_TEMP_CLICK = 4,  // double-click on a patch row
  CONFIRM_IMPORT_SMF = 5,        // Import SMF in the Main window
  CONFIRM_IMPORT_SYSEX = 6,      // Import SysEx in the Main window
  CONFIRM_KIND_COUNT = 7,
};

// The setting name of a kind's flag ("ReadUser" ...), or null for no kind.
const char* ConfirmationFlagName(int kind);
// The dialog's question for a kind, with the model name where the text has one; empty for no kind.
std::string ConfirmationText(int kind, const std::string& modelName);
// The check box of the dialog.
constexpr const char* kConfirmationCheckText = "Don't show this dialog again.";

// The six flags: 0 means ask.
class CConfirmationFlags {
public:
  static constexpr const char* kSection = QZP::kSectionOption;

  int Get(int kind) const { return kind >= 0 && kind < CONFIRM_KIND_COUNT ? m_flags[kind] : 0; }
  void Set(int kind, int value) {
    if (kind >= 0 && kind < CONFIRM_KIND_COUNT)
      m_flags[kind] = value;
  }
  bool MustAsk(int kind) const { return Get(kind) == 0; }

  // Missing values read as 0.
  void Load(QZP::ISettingsStore& settings);
  void Save(QZP::ISettingsStore& settings) const;

private:
  int m_flags[CONFIRM_KIND_COUNT] = {};
};

// How the confirmation dialog ended.
struct CConfirmationAnswer {
  bool ok = false;            // OK, rather than Cancel or closing
  bool dontShowAgain = false; // the check box
};

// The confirmation step of a transfer command: true when the operation is to run. A set flag skips the
// dialog; otherwise ask(kind, text) shows it. OK stores the check box as the kind's flag; anything else
// stores nothing and stops the command.
bool ConfirmTransfer(CConfirmationFlags& flags, int kind, const std::string& modelName,
                     const std::function<CConfirmationAnswer(int kind, const std::string& text)>& ask);
