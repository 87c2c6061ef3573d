#pragma once
// What RtMidi reports for one of its objects, collected instead of printed or thrown across our layers.

#include <RtMidi.h>

#include <string>

namespace QZP {

struct CRtMidiErrorSink {
  std::string text;
  bool failed = false; // an error: the call did not do its work
  bool warned = false; // a warning: RtMidi went on, but the call may not have done its work either

  void Clear() {
    text.clear();
    failed = false;
    warned = false;
  }
  // A send is good only when RtMidi reported nothing: ALSA's "error sending MIDI message to port" and
  // JACK's full buffer come as warnings, and the message is lost all the same.
  bool SendFailed() const { return failed || warned; }

  // RtMidi's error callback; user is the sink.
  static void Callback(RtMidiError::Type type, const std::string& message, void* user) {
    auto* sink = static_cast<CRtMidiErrorSink*>(user);
    if (type == RtMidiError::DEBUG_WARNING)
      return;
    sink->text = message;
    if (type == RtMidiError::WARNING)
      sink->warned = true;
    else
      sink->failed = true;
  }
};

} // namespace QZP
