#pragma once
// The real MIDI systems through RtMidi: ALSA and JACK here, the native system elsewhere. RtMidi's
// errors end up in ErrorText(); nothing is printed and no exception leaves this class.

#include <memory>
#include <string>

#include "platform/midibackend.h"

namespace QZP {

class CRtMidiBackend : public IMidiBackend {
public:
  CRtMidiBackend();
  ~CRtMidiBackend() override;

  // Chooses the MIDI system: "auto" takes the first one that starts (ALSA only when its sequencer
  // device exists, JACK only when a server runs); "alsa", "jack" (or another RtMidi API name) asks for
  // that one. False, with the reason in ErrorText(), when it does not start; the backend then has no ports.
  bool Init(const std::string& api = "auto", const std::string& clientName = "QZ-MAX Librarian");
  bool IsReady() const;

  std::string Name() const override;
  std::vector<std::string> InputNames() override;
  std::vector<std::string> OutputNames() override;
  std::unique_ptr<IMidiOutPort> OpenOutput(unsigned index) override;
  std::unique_ptr<IMidiInPort> OpenInput(unsigned index, IMidiInputCallback* callback) override;
  std::unique_ptr<IMidiOutPort> OpenVirtualOutput(const std::string& name) override;
  std::unique_ptr<IMidiInPort> OpenVirtualInput(const std::string& name, IMidiInputCallback* callback) override;
  std::string ErrorText() const override;

  // Whether a JACK server accepts clients now (false where JACK is not built in).
  static bool JackServerRunning();

private:
  struct CImpl;
  std::unique_ptr<CImpl> m_impl;
};

} // namespace QZP
