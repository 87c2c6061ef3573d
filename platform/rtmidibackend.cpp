#include "platform/rtmidibackend.h"
#include "platform/rtmidierror.h"

#include <RtMidi.h>

#include <atomic>
#include <thread>
#include <vector>

#if defined(QZ_HAVE_JACK)
#include <jack/jack.h>
#endif
#if defined(__linux__)
#include <fcntl.h>
#include <unistd.h>
#endif

namespace QZP {

namespace {

using CErrorSink = CRtMidiErrorSink;

#if defined(QZ_HAVE_JACK)
void SilentJack(const char*) {}
#endif

bool AlsaSequencerUsable() {
#if defined(__linux__)
  int fd = ::open("/dev/snd/seq", O_RDWR | O_CLOEXEC);
  if (fd < 0)
    return false;
  ::close(fd);
  return true;
#else
  return true;
#endif
}

// Whether api can start here without RtMidi complaining on its own.
bool ApiUsable(RtMidi::Api api, std::string& reason) {
  if (api == RtMidi::LINUX_ALSA && !AlsaSequencerUsable()) {
    reason = "The ALSA sequencer (/dev/snd/seq) is not available.";
    return false;
  }
  if (api == RtMidi::UNIX_JACK && !CRtMidiBackend::JackServerRunning()) {
    reason = "No JACK server is running.";
    return false;
  }
  return true;
}

std::string DisplayName(RtMidi::Api api) {
  switch (api) {
  case RtMidi::LINUX_ALSA:
    return "ALSA";
  case RtMidi::UNIX_JACK:
    return "JACK";
  case RtMidi::MACOSX_CORE:
    return "CoreMIDI";
  case RtMidi::WINDOWS_MM:
    return "Windows MIDI";
  default:
    return RtMidi::getApiName(api);
  }
}

class CRtOutPort : public IMidiOutPort {
public:
  ~CRtOutPort() override { Close(); }

  // Creates the RtMidi object with our error callback; the caller opens the port on it.
  bool Create(RtMidi::Api api, const std::string& clientName) {
    try {
      m_out = std::make_unique<RtMidiOut>(api, clientName);
    } catch (const RtMidiError& e) {
      m_error.text = e.getMessage();
      return false;
    }
    m_out->setErrorCallback(&CErrorSink::Callback, &m_error);
    return true;
  }
  RtMidiOut* Out() { return m_out.get(); }

  bool Send(const std::uint8_t* bytes, std::size_t count) override {
    if (!m_out) {
      m_error.text = "The MIDI output port is closed.";
      return false;
    }
    m_error.Clear();
    try {
      m_out->sendMessage(bytes, count);
    } catch (const RtMidiError& e) {
      m_error.text = e.getMessage();
      return false;
    }
    return !m_error.SendFailed();
  }
  bool Close() override {
    if (!m_out)
      return true;
    try {
      m_out->closePort();
    } catch (const RtMidiError&) {
    }
    m_out.reset();
    return true;
  }
  std::string ErrorText() const override { return m_error.text; }

  CErrorSink m_error;

private:
  std::unique_ptr<RtMidiOut> m_out;
};

class CRtInPort : public IMidiInPort {
public:
  explicit CRtInPort(IMidiInputCallback* callback) : m_callback(callback) {}
  ~CRtInPort() override { Close(); }

  // RtMidi's input thread: hands the message on only while started, counted so that Stop can wait
  // until no delivery is still running.
  static void OnMessage(double, std::vector<unsigned char>* message, void* user) {
    auto* self = static_cast<CRtInPort*>(user);
    self->m_delivering.fetch_add(1);
    if (self->m_started.load() && message && !message->empty()) {
      const std::uint8_t* bytes = message->data();
      if (bytes[0] == 0xF0)
        self->m_callback->MidiInputLong(bytes, message->size());
      else
        self->m_callback->MidiInputShort(PackShortBytes(bytes, message->size()));
    }
    self->m_delivering.fetch_sub(1, std::memory_order_release);
  }

  // Creates the RtMidi object with our callbacks; the caller opens the port on it.
  bool Create(RtMidi::Api api, const std::string& clientName) {
    try {
      m_in = std::make_unique<RtMidiIn>(api, clientName);
    } catch (const RtMidiError& e) {
      m_error.text = e.getMessage();
      return false;
    }
    m_in->setErrorCallback(&CErrorSink::Callback, &m_error);
    m_in->ignoreTypes(false, false, false);
    m_in->setCallback(&CRtInPort::OnMessage, this);
    return true;
  }

  RtMidiIn* In() { return m_in.get(); }

  bool Start() override {
    if (!m_in)
      return Fail("The MIDI input port is closed.");
    m_started.store(true);
    return true;
  }
  bool Stop() override {
    if (!m_in)
      return Fail("The MIDI input port is closed.");
    m_started.store(false);
    while (m_delivering.load() != 0)
      std::this_thread::yield();
    return true;
  }
  bool Close() override {
    if (!m_in)
      return true;
    Stop();
    try {
      m_in->cancelCallback();
      m_in->closePort();
    } catch (const RtMidiError&) {
    }
    // Destroying the RtMidi object ends its input thread (or JACK client): no callback after this.
    m_in.reset();
    return true;
  }
  std::string ErrorText() const override { return m_error.text; }

  CErrorSink m_error;

private:
  bool Fail(const char* text) {
    m_error.text = text;
    return false;
  }

  IMidiInputCallback* m_callback;
  std::unique_ptr<RtMidiIn> m_in;
  std::atomic<bool> m_started{false};
  std::atomic<int> m_delivering{0};
};

} // namespace

struct CRtMidiBackend::CImpl {
  RtMidi::Api api = RtMidi::UNSPECIFIED;
  std::string clientName;
  std::unique_ptr<RtMidiIn> listerIn;
  std::unique_ptr<RtMidiOut> listerOut;
  CErrorSink listerError;
  std::string error;

  bool Start(RtMidi::Api candidate, const std::string& name) {
    std::string reason;
    if (!ApiUsable(candidate, reason)) {
      error = reason;
      return false;
    }
    try {
      listerIn = std::make_unique<RtMidiIn>(candidate, name);
      listerIn->setErrorCallback(&CErrorSink::Callback, &listerError);
      listerOut = std::make_unique<RtMidiOut>(candidate, name);
      listerOut->setErrorCallback(&CErrorSink::Callback, &listerError);
    } catch (const RtMidiError& e) {
      error = e.getMessage();
      listerIn.reset();
      listerOut.reset();
      return false;
    }
    api = candidate;
    clientName = name;
    error.clear();
    return true;
  }

  template <class T> std::vector<std::string> Names(T* lister) {
    std::vector<std::string> names;
    if (!lister)
      return names;
    try {
      unsigned count = lister->getPortCount();
      for (unsigned i = 0; i < count; ++i)
        names.push_back(lister->getPortName(i));
    } catch (const RtMidiError& e) {
      error = e.getMessage();
    }
    return names;
  }
};

CRtMidiBackend::CRtMidiBackend() : m_impl(std::make_unique<CImpl>()) {}
CRtMidiBackend::~CRtMidiBackend() = default;

bool CRtMidiBackend::JackServerRunning() {
#if defined(QZ_HAVE_JACK)
  // libjack reports a missing server on stderr; the reason reaches the user through our own text.
  jack_set_error_function(&SilentJack);
  jack_set_info_function(&SilentJack);
  jack_status_t status;
  jack_client_t* client = jack_client_open("qz-probe", JackNoStartServer, &status);
  if (!client)
    return false;
  jack_client_close(client);
  return true;
#else
  return false;
#endif
}

bool CRtMidiBackend::Init(const std::string& api, const std::string& clientName) {
  m_impl->listerIn.reset();
  m_impl->listerOut.reset();
  m_impl->api = RtMidi::UNSPECIFIED;
  std::vector<RtMidi::Api> compiled;
  RtMidi::getCompiledApi(compiled);
  if (api == "auto" || api.empty()) {
    std::string reasons;
    for (RtMidi::Api candidate : compiled) {
      if (candidate == RtMidi::RTMIDI_DUMMY)
        continue;
      if (m_impl->Start(candidate, clientName))
        return true;
      reasons += (reasons.empty() ? "" : " ") + m_impl->error;
    }
    m_impl->error = "No MIDI system could be started." + (reasons.empty() ? std::string() : " " + reasons);
    return false;
  }
  RtMidi::Api wanted = RtMidi::getCompiledApiByName(api);
  if (wanted == RtMidi::UNSPECIFIED) {
    m_impl->error = "Unknown MIDI system \"" + api + "\".";
    return false;
  }
  return m_impl->Start(wanted, clientName);
}

bool CRtMidiBackend::IsReady() const { return m_impl->listerIn != nullptr; }

std::string CRtMidiBackend::Name() const {
  return m_impl->api == RtMidi::UNSPECIFIED ? std::string("none") : DisplayName(m_impl->api);
}

std::vector<std::string> CRtMidiBackend::InputNames() { return m_impl->Names(m_impl->listerIn.get()); }

std::vector<std::string> CRtMidiBackend::OutputNames() { return m_impl->Names(m_impl->listerOut.get()); }

// Opens a port on a freshly created RtMidi object; how depends on open (by index or virtual).
template <class TPort, class TOpen>
static std::unique_ptr<TPort> OpenWith(std::unique_ptr<TPort> port, TOpen open, RtMidi::Api api,
                                       const std::string& clientName, std::string& error) {
  if (!port->Create(api, clientName)) {
    error = port->ErrorText();
    return nullptr;
  }
  port->m_error.Clear();
  try {
    open(port.get());
  } catch (const RtMidiError& e) {
    port->m_error.text = e.getMessage();
    port->m_error.failed = true;
  }
  if (port->m_error.failed) {
    error = port->m_error.text;
    return nullptr;
  }
  return port;
}

std::unique_ptr<IMidiOutPort> CRtMidiBackend::OpenOutput(unsigned index) {
  if (!IsReady()) {
    m_impl->error = "No MIDI system is available.";
    return nullptr;
  }
  // RtMidi only warns about a wrong number (and JACK then opens an unconnected port).
  if (index >= OutputNames().size()) {
    m_impl->error = "The MIDI output port does not exist.";
    return nullptr;
  }
  auto open = [index](CRtOutPort* port) {
    port->Out()->openPort(index, "out");
    if (!port->Out()->isPortOpen() && !port->m_error.failed) {
      port->m_error.text = "The MIDI output port could not be opened.";
      port->m_error.failed = true;
    }
  };
  return OpenWith(std::make_unique<CRtOutPort>(), open, m_impl->api, m_impl->clientName, m_impl->error);
}

std::unique_ptr<IMidiInPort> CRtMidiBackend::OpenInput(unsigned index, IMidiInputCallback* callback) {
  if (!IsReady()) {
    m_impl->error = "No MIDI system is available.";
    return nullptr;
  }
  if (index >= InputNames().size()) {
    m_impl->error = "The MIDI input port does not exist.";
    return nullptr;
  }
  auto open = [index](CRtInPort* port) {
    port->In()->openPort(index, "in");
    if (!port->In()->isPortOpen() && !port->m_error.failed) {
      port->m_error.text = "The MIDI input port could not be opened.";
      port->m_error.failed = true;
    }
  };
  return OpenWith(std::make_unique<CRtInPort>(callback), open, m_impl->api, m_impl->clientName, m_impl->error);
}

std::unique_ptr<IMidiOutPort> CRtMidiBackend::OpenVirtualOutput(const std::string& name) {
  if (!IsReady()) {
    m_impl->error = "No MIDI system is available.";
    return nullptr;
  }
  auto open = [&name](CRtOutPort* port) { port->Out()->openVirtualPort(name); };
  return OpenWith(std::make_unique<CRtOutPort>(), open, m_impl->api, m_impl->clientName, m_impl->error);
}

std::unique_ptr<IMidiInPort> CRtMidiBackend::OpenVirtualInput(const std::string& name, IMidiInputCallback* callback) {
  if (!IsReady()) {
    m_impl->error = "No MIDI system is available.";
    return nullptr;
  }
  auto open = [&name](CRtInPort* port) { port->In()->openVirtualPort(name); };
  return OpenWith(std::make_unique<CRtInPort>(callback), open, m_impl->api, m_impl->clientName, m_impl->error);
}

std::string CRtMidiBackend::ErrorText() const { return m_impl->error; }

} // namespace QZP
