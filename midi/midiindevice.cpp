#include "midi/midiindevice.h"

#include <algorithm>

#include "exclusive/shortmessage.h"
#include "midi/midiout.h"
#include "midi/zelmidiin.h"

bool CZelMidiInDevice::Attach(CZelMidiIn* input) {
  if (!input || Lists(input))
    return false;
  m_inputs.push_back(input);
  return true;
}

bool CZelMidiInDevice::Lists(const CZelMidiIn* input) const {
  return std::find(m_inputs.begin(), m_inputs.end(), input) != m_inputs.end();
}

void CZelMidiInDevice::Dispatch(const QZML::CByteArray& bytes) {
  for (CZelMidiIn* input : std::vector<CZelMidiIn*>(m_inputs))
    input->Receive(bytes);
}

CMidiInDevice::CMidiInDevice(const CMidiServices& services, const std::string& name)
    : CMidiIn(services), m_name(name) {}

CMidiInDevice::~CMidiInDevice() {
  CloseDevice();
  // The event thread calls into this class: it must have ended before this part is gone.
  Halt();
}

bool CMidiInDevice::OpenDevice() {
  if (!m_services.dispatcher)
    return false;
  m_target = std::make_shared<CTarget>(CTarget{this});
  m_targetRef = m_target;
  return OpenByName(m_name) && Start();
}

bool CMidiInDevice::CloseDevice() {
  if (m_target) {
    m_target->device = nullptr;
    m_target.reset();
  }
  if (!IsOpen())
    return false;
  if (!Stop())
    return false;
  return Close();
}

void CMidiInDevice::OnShortData(std::uint32_t packed) {
  if (m_targetRef.expired())
    return;
  m_services.dispatcher->Post([ref = m_targetRef, packed] {
    if (std::shared_ptr<CTarget> target = ref.lock())
      DeliverShort(target, packed);
  });
}

void CMidiInDevice::OnLongData(const std::uint8_t* bytes, std::size_t count) {
  if (m_targetRef.expired())
    return;
  // The bytes travel as a copy: the packet goes back to the port at once and the user-interface thread
  // never reads a buffer the port may be filling again.
  QZML::CByteArray copy(bytes, bytes + count);
  m_services.dispatcher->Post([ref = m_targetRef, copy = std::move(copy)] {
    if (std::shared_ptr<CTarget> target = ref.lock())
      DeliverLong(target, copy);
  });
}

void CMidiInDevice::DispatchTo(const std::shared_ptr<CTarget>& target, const QZML::CByteArray& bytes) {
  // A handler may close this device meanwhile; the rest of the list then goes with it.
  std::vector<CZelMidiIn*> inputs = target->device->GetInputs();
  for (CZelMidiIn* input : inputs) {
    if (!target->device)
      return;
    input->Receive(bytes);
  }
}

void CMidiInDevice::DeliverShort(const std::shared_ptr<CTarget>& target, std::uint32_t packed) {
  CMidiInDevice* device = target->device;
  if (!device)
    return;
  if (CMidiOut* thru = device->GetThru())
    thru->SendShort(packed);
  // System common and real-time messages never reach the logical inputs.
  std::uint8_t status = packed & 0xFF;
  if ((status >= 0xF1 && status <= 0xF6) || status >= 0xF8)
    return;
  if (target->device)
    DispatchTo(target, ShortMessageToBytes(packed));
}

void CMidiInDevice::DeliverLong(const std::shared_ptr<CTarget>& target, const QZML::CByteArray& bytes) {
  CMidiInDevice* device = target->device;
  if (!device)
    return;
  if (CMidiOut* thru = device->GetThru())
    thru->SendLong(bytes);
  if (target->device)
    DispatchTo(target, bytes);
}
