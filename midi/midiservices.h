#pragma once
// What the ports need from the platform and the user interface: the MIDI system, the posting to the
// user-interface thread, the clock, and the place where the port layer's own messages are shown.
// None of it is owned by the ports.

#include <string>

#include "platform/clock.h"
#include "platform/midibackend.h"
#include "platform/uidispatch.h"

// Shows the port layer's own messages: the driver's error text, the send time-out, the event thread
// that did not end. The GUI shows a message box, the command line prints to stderr, tests record.
class IMidiMessageBox {
public:
  virtual ~IMidiMessageBox() = default;
  virtual void ShowMidiMessage(const std::string& text) = 0;
};

// Prints each message on its own line to stderr.
class CMidiMessageBoxStderr : public IMidiMessageBox {
public:
  void ShowMidiMessage(const std::string& text) override;
};

struct CMidiServices {
  QZP::IMidiBackend* backend = nullptr;
  QZP::IUiDispatcher* dispatcher = nullptr;
  QZP::IClock* clock = nullptr;          // null: the system clock
  IMidiMessageBox* messageBox = nullptr; // null: the messages are not shown

  QZP::IClock& Clock() const { return clock ? *clock : QZP::SystemClock(); }
  void ShowMessage(const std::string& text) const {
    if (messageBox)
      messageBox->ShowMidiMessage(text);
  }
};
