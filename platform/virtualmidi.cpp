#include "platform/virtualmidi.h"

#include <thread>

namespace QZP {

struct CVirtualMidiBackend::CPair {
  std::string name;
  IVirtualMidiPeer* peer = nullptr; // null for a loopback
  std::atomic<bool> stalled{false};
  std::atomic<bool> failing{false};
  std::atomic<bool> inputOpen{false};
  // The open input's callback while started; senders count themselves in so that Stop and Close can
  // wait until no delivery is still running.
  std::atomic<IMidiInputCallback*> callback{nullptr};
  std::atomic<int> delivering{0};

  bool Deliver(const std::uint8_t* bytes, std::size_t count) {
    if (count == 0)
      return false;
    delivering.fetch_add(1);
    IMidiInputCallback* target = callback.load();
    if (target) {
      if (bytes[0] == 0xF0)
        target->MidiInputLong(bytes, count);
      else
        target->MidiInputShort(PackShortBytes(bytes, count));
    }
    delivering.fetch_sub(1, std::memory_order_release);
    return target != nullptr;
  }

  void StopDelivery() {
    callback.store(nullptr);
    while (delivering.load() != 0)
      std::this_thread::yield();
  }
};

namespace {

class CVirtualOutPort : public IMidiOutPort {
public:
  explicit CVirtualOutPort(std::shared_ptr<CVirtualMidiBackend::CPair> pair) : m_pair(std::move(pair)) {}

  bool Send(const std::uint8_t* bytes, std::size_t count) override {
    if (!m_pair) {
      m_error = "The MIDI output port is closed.";
      return false;
    }
    if (m_pair->failing.load()) {
      m_error = "The MIDI output port \"" + m_pair->name + "\" failed.";
      return false;
    }
    if (count == 0) {
      m_error = "An empty MIDI message cannot be sent.";
      return false;
    }
    if (m_pair->peer)
      m_pair->peer->FromProgram(bytes, count);
    else
      m_pair->Deliver(bytes, count);
    return true;
  }
  bool SendDone() override { return m_pair && !m_pair->stalled.load(); }
  // A loopback hands the message straight to its input.
  bool DeliversAtOnce() const override { return m_pair && (!m_pair->peer || m_pair->peer->TakesAtOnce()); }
  bool Close() override {
    m_pair.reset();
    return true;
  }
  std::string ErrorText() const override { return m_error; }

private:
  std::shared_ptr<CVirtualMidiBackend::CPair> m_pair;
  std::string m_error;
};

class CVirtualInPort : public IMidiInPort {
public:
  CVirtualInPort(std::shared_ptr<CVirtualMidiBackend::CPair> pair, IMidiInputCallback* callback)
      : m_pair(std::move(pair)), m_callback(callback) {}
  ~CVirtualInPort() override { Close(); }

  bool Start() override {
    if (!m_pair)
      return Fail("The MIDI input port is closed.");
    m_pair->callback.store(m_callback);
    return true;
  }
  bool Stop() override {
    if (!m_pair)
      return Fail("The MIDI input port is closed.");
    m_pair->StopDelivery();
    return true;
  }
  bool Close() override {
    if (!m_pair)
      return true;
    m_pair->StopDelivery();
    m_pair->inputOpen.store(false);
    m_pair.reset();
    return true;
  }
  std::string ErrorText() const override { return m_error; }

private:
  bool Fail(const char* text) {
    m_error = text;
    return false;
  }
  std::shared_ptr<CVirtualMidiBackend::CPair> m_pair;
  IMidiInputCallback* m_callback;
  std::string m_error;
};

} // namespace

CVirtualMidiBackend::CVirtualMidiBackend() = default;
CVirtualMidiBackend::~CVirtualMidiBackend() = default;

std::shared_ptr<CVirtualMidiBackend::CPair> CVirtualMidiBackend::Find(const std::string& name) const {
  for (const auto& pair : m_pairs)
    if (pair->name == name)
      return pair;
  return nullptr;
}

bool CVirtualMidiBackend::AddLoopback(const std::string& name) { return AddPeer(name, nullptr); }

bool CVirtualMidiBackend::AddPeer(const std::string& name, IVirtualMidiPeer* peer) {
  if (Find(name))
    return false;
  auto pair = std::make_shared<CPair>();
  pair->name = name;
  pair->peer = peer;
  m_pairs.push_back(std::move(pair));
  return true;
}

bool CVirtualMidiBackend::Remove(const std::string& name) {
  for (auto it = m_pairs.begin(); it != m_pairs.end(); ++it) {
    if ((*it)->name == name) {
      (*it)->StopDelivery();
      (*it)->peer = nullptr;
      m_pairs.erase(it);
      return true;
    }
  }
  return false;
}

bool CVirtualMidiBackend::ToProgram(const std::string& name, const std::uint8_t* bytes, std::size_t count) {
  std::shared_ptr<CPair> pair = Find(name);
  return pair && pair->Deliver(bytes, count);
}

void CVirtualMidiBackend::SetStalled(const std::string& name, bool stalled) {
  if (std::shared_ptr<CPair> pair = Find(name))
    pair->stalled.store(stalled);
}

void CVirtualMidiBackend::SetFailing(const std::string& name, bool failing) {
  if (std::shared_ptr<CPair> pair = Find(name))
    pair->failing.store(failing);
}

std::vector<std::string> CVirtualMidiBackend::InputNames() {
  std::vector<std::string> names;
  for (const auto& pair : m_pairs)
    names.push_back(pair->name);
  return names;
}

std::vector<std::string> CVirtualMidiBackend::OutputNames() { return InputNames(); }

std::unique_ptr<IMidiOutPort> CVirtualMidiBackend::OpenOutput(unsigned index) {
  if (index >= m_pairs.size()) {
    m_error = "The MIDI output port does not exist.";
    return nullptr;
  }
  return std::make_unique<CVirtualOutPort>(m_pairs[index]);
}

std::unique_ptr<IMidiInPort> CVirtualMidiBackend::OpenInput(unsigned index, IMidiInputCallback* callback) {
  if (index >= m_pairs.size()) {
    m_error = "The MIDI input port does not exist.";
    return nullptr;
  }
  const std::shared_ptr<CPair>& pair = m_pairs[index];
  if (pair->inputOpen.exchange(true)) {
    m_error = "The MIDI input port \"" + pair->name + "\" is already in use.";
    return nullptr;
  }
  return std::make_unique<CVirtualInPort>(pair, callback);
}

} // namespace QZP
