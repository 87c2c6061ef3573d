#pragma once
// The MIDI system as the port layer sees it: numbered input and output ports with product names,
// an opened output that takes one complete message at a time, and an opened input that hands what
// arrives to a callback on the backend's own thread. Plain C++: the MIDI layer and its tests use it
// without Qt or RtMidi.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace QZP {

// What an opened input delivers, called on the backend's thread. Implementations must only store
// what they get (no allocation, no locks, no program data): the port layer's rings do exactly that.
class IMidiInputCallback {
public:
  virtual ~IMidiInputCallback() = default;
  // A short (non-exclusive) message: status in bits 0-7, data bytes in bits 8-15 and 16-23.
  virtual void MidiInputShort(std::uint32_t packed) = 0;
  // A complete system exclusive message (F0 ... F7); a count of 0 is a buffer that came back empty.
  virtual void MidiInputLong(const std::uint8_t* bytes, std::size_t count) = 0;
  // Input status without data: one of the MIDI_INPUT_* values.
  virtual void MidiInputStatus(int status) { (void)status; }
};

enum : int {
  MIDI_INPUT_OPEN = 1,
  MIDI_INPUT_CLOSE = 2,
  MIDI_INPUT_ERROR = 3,      // an invalid short message
  MIDI_INPUT_LONG_ERROR = 4, // an invalid exclusive message
  MIDI_INPUT_MORE_DATA = 5,  // input arrives faster than it is taken
};

// One opened output port. Every failing call returns false and leaves its reason in ErrorText().
class IMidiOutPort {
public:
  virtual ~IMidiOutPort() = default;
  // Sends one complete message (a short message of 1-3 bytes or a whole exclusive message).
  virtual bool Send(const std::uint8_t* bytes, std::size_t count) = 0;
  // Whether the last message handed to Send has left; the real systems take it at once.
  virtual bool SendDone() { return true; }
  // Whether a message Send took has reached the far end already, so that waiting for it to cross a cable
  // gains nothing (in-process ports to a peer that models no cable). The real systems take a message at
  // once and put it on the cable afterwards, at the cable's speed: false.
  virtual bool DeliversAtOnce() const { return false; }
  // Abandons output still pending; the port stays open.
  virtual bool Reset() { return true; }
  virtual bool Close() = 0;
  virtual std::string ErrorText() const = 0;
};

// One opened input port. The callback is called between Start and Stop only, on the backend's thread;
// after Close returns it is never called again.
class IMidiInPort {
public:
  virtual ~IMidiInPort() = default;
  virtual bool Start() = 0;
  virtual bool Stop() = 0;
  // Gives back what the system still holds for the program; nothing in the systems used here.
  virtual bool Reset() { return true; }
  virtual bool Close() = 0;
  virtual std::string ErrorText() const = 0;
};

// A MIDI system: ports listed in index order, opened by index.
class IMidiBackend {
public:
  virtual ~IMidiBackend() = default;
  // Short name of the system ("ALSA", "JACK", "virtual", ...).
  virtual std::string Name() const = 0;
  virtual std::vector<std::string> InputNames() = 0;
  virtual std::vector<std::string> OutputNames() = 0;
  // Null on failure, with the reason in ErrorText().
  virtual std::unique_ptr<IMidiOutPort> OpenOutput(unsigned index) = 0;
  virtual std::unique_ptr<IMidiInPort> OpenInput(unsigned index, IMidiInputCallback* callback) = 0;
  // Ports of our own that other programs can connect to (for the simulated unit on the command line).
  virtual std::unique_ptr<IMidiOutPort> OpenVirtualOutput(const std::string& name);
  virtual std::unique_ptr<IMidiInPort> OpenVirtualInput(const std::string& name, IMidiInputCallback* callback);
  // The reason of the last failure of this object.
  virtual std::string ErrorText() const = 0;
};

// Packs the first one to three bytes of a short message: byte 0 in bits 0-7, 1 in 8-15, 2 in 16-23.
std::uint32_t PackShortBytes(const std::uint8_t* bytes, std::size_t count);

// The backends of a program seen as one: their ports listed one after the other, in the order added.
class CMidiBackendChain : public IMidiBackend {
public:
  void Add(IMidiBackend* backend) { m_backends.push_back(backend); }

  std::string Name() const override;
  std::vector<std::string> InputNames() override;
  std::vector<std::string> OutputNames() override;
  std::unique_ptr<IMidiOutPort> OpenOutput(unsigned index) override;
  std::unique_ptr<IMidiInPort> OpenInput(unsigned index, IMidiInputCallback* callback) override;
  std::string ErrorText() const override { return m_error; }

private:
  std::vector<IMidiBackend*> m_backends; // not owned
  std::string m_error;
};

} // namespace QZP
