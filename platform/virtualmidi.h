#pragma once
// In-process MIDI ports: pairs of an input and an output of the same name, known only to this program.
// A loopback pair hands what is sent to its output straight to its input (tests); a peer pair hands it
// to a peer object, which answers into the pair's input (the built-in simulated unit appears this way as
// the pair "QZ-MAX Simulator"). Delivery runs on the thread that sends, straight into the input's
// callback, so one pair's input is fed from one thread at a time (the input's ring has one producer).

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/midibackend.h"

namespace QZP {

// The far end of a peer pair.
class IVirtualMidiPeer {
public:
  virtual ~IVirtualMidiPeer() = default;
  // One complete message the program sent to the pair's output.
  virtual void FromProgram(const std::uint8_t* bytes, std::size_t count) = 0;
  // Whether FromProgram has taken the whole message when it returns, with no cable time still to come
  // (see IMidiOutPort::DeliversAtOnce). A peer that models a cable, or may stand for one, says no.
  virtual bool TakesAtOnce() const { return false; }
};

class CVirtualMidiBackend : public IMidiBackend {
public:
  static constexpr const char* kSimulatorName = "QZ-MAX Simulator";

  CVirtualMidiBackend();
  ~CVirtualMidiBackend() override;

  // Set-up, on the user-interface thread while no port of the pair is in use. False for a name in use.
  bool AddLoopback(const std::string& name);
  bool AddPeer(const std::string& name, IVirtualMidiPeer* peer);
  bool Remove(const std::string& name);

  // Sends one complete message into the pair's input as if it came from outside. False when the pair's
  // input is not open and started (the message is lost, as on a cable).
  bool ToProgram(const std::string& name, const std::uint8_t* bytes, std::size_t count);

  // Test switches: a stalled output never finishes a message; a failing output refuses every send.
  void SetStalled(const std::string& name, bool stalled);
  void SetFailing(const std::string& name, bool failing);

  std::string Name() const override { return "virtual"; }
  std::vector<std::string> InputNames() override;
  std::vector<std::string> OutputNames() override;
  std::unique_ptr<IMidiOutPort> OpenOutput(unsigned index) override;
  std::unique_ptr<IMidiInPort> OpenInput(unsigned index, IMidiInputCallback* callback) override;
  std::string ErrorText() const override { return m_error; }

  struct CPair;

private:
  std::shared_ptr<CPair> Find(const std::string& name) const;

  std::vector<std::shared_ptr<CPair>> m_pairs;
  std::string m_error;
};

} // namespace QZP
