#include "platform/midibackend.h"

namespace QZP {

std::unique_ptr<IMidiOutPort> IMidiBackend::OpenVirtualOutput(const std::string&) { return nullptr; }

std::unique_ptr<IMidiInPort> IMidiBackend::OpenVirtualInput(const std::string&, IMidiInputCallback*) { return nullptr; }

std::uint32_t PackShortBytes(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t packed = 0;
  for (std::size_t i = 0; i < count && i < 3; ++i)
    packed |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return packed;
}

std::string CMidiBackendChain::Name() const {
  std::string name;
  for (IMidiBackend* backend : m_backends) {
    if (!name.empty())
      name += "+";
    name += backend->Name();
  }
  return name;
}

std::vector<std::string> CMidiBackendChain::InputNames() {
  std::vector<std::string> names;
  for (IMidiBackend* backend : m_backends) {
    std::vector<std::string> more = backend->InputNames();
    names.insert(names.end(), more.begin(), more.end());
  }
  return names;
}

std::vector<std::string> CMidiBackendChain::OutputNames() {
  std::vector<std::string> names;
  for (IMidiBackend* backend : m_backends) {
    std::vector<std::string> more = backend->OutputNames();
    names.insert(names.end(), more.begin(), more.end());
  }
  return names;
}

std::unique_ptr<IMidiOutPort> CMidiBackendChain::OpenOutput(unsigned index) {
  for (IMidiBackend* backend : m_backends) {
    std::size_t count = backend->OutputNames().size();
    if (index < count) {
      std::unique_ptr<IMidiOutPort> port = backend->OpenOutput(index);
      m_error = port ? std::string() : backend->ErrorText();
      return port;
    }
    index -= static_cast<unsigned>(count);
  }
  m_error = "The MIDI output port does not exist.";
  return nullptr;
}

std::unique_ptr<IMidiInPort> CMidiBackendChain::OpenInput(unsigned index, IMidiInputCallback* callback) {
  for (IMidiBackend* backend : m_backends) {
    std::size_t count = backend->InputNames().size();
    if (index < count) {
      std::unique_ptr<IMidiInPort> port = backend->OpenInput(index, callback);
      m_error = port ? std::string() : backend->ErrorText();
      return port;
    }
    index -= static_cast<unsigned>(count);
  }
  m_error = "The MIDI input port does not exist.";
  return nullptr;
}

} // namespace QZP
