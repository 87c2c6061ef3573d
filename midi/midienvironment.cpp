#include "midi/midienvironment.h"

#include "textout/textout.h"

QZML::CByteArray ModelIdBytes(QZML::EModel targetModel) {
  if (targetModel == QZML::MODEL_QZ5)
    return {0x00, 0x00, 0x06};
  return {0x00, 0x00, 0x0B};
}

CMidiEnvironment& CMidiEnvironment::Instance() {
  static CMidiEnvironment environment;
  return environment;
}

CMidiEnvironment::CMidiEnvironment() = default;

CMidiEnvironment::~CMidiEnvironment() { Teardown(); }

void CMidiEnvironment::PreparePorts(QZML::EModel targetModel) {
  CloseDevices();
  m_inputs.clear();
  m_outputs.clear();
  m_inputs.resize(2);
  m_outputs.resize(2);
  for (int i = 0; i < 2; ++i) {
    m_inputs[i].m_deviceId = 0;
    m_outputs[i].m_deviceId = 0;
  }
  m_inputs[0].m_name = kUnitPortName;
  m_outputs[0].m_name = kUnitPortName;
  m_inputs[0].m_modelId = ModelIdBytes(targetModel);
  m_outputs[0].m_modelId = ModelIdBytes(targetModel);
  m_inputs[1].m_forward = &m_outputs[1];
}

CZelMidiIn* CMidiEnvironment::FindInput(const std::string& name) {
  for (CZelMidiIn& input : m_inputs)
    if (input.m_name == name)
      return &input;
  return nullptr;
}

CZelMidiOut* CMidiEnvironment::FindOutput(const std::string& name) {
  for (CZelMidiOut& output : m_outputs)
    if (output.m_name == name)
      return &output;
  return nullptr;
}

void CMidiEnvironment::CloseDevices() {
  for (CZelMidiOut& output : m_outputs)
    output.SetDevice(nullptr);
  // Each device stops its event thread before it goes (its destructor runs the close sequence).
  while (!m_inDevices.empty()) {
    m_inDevices.front()->CloseDevice();
    m_inDevices.erase(m_inDevices.begin());
  }
  while (!m_outDevices.empty()) {
    m_outDevices.front()->Close();
    m_outDevices.erase(m_outDevices.begin());
  }
}

void CMidiEnvironment::SetTextOut(int slot, CZelTextOut* output) {
  if (slot < 0 || slot >= MIDI_TEXTOUT_SLOTS)
    return;
  CZelTextOut* previous = m_textOut[slot];
  m_textOut[slot] = output;
  if (!previous || previous == output)
    return;
  for (CZelTextOut* other : m_textOut)
    if (other == previous)
      return;
  delete previous;
}

CZelTextOut* CMidiEnvironment::GetTextOut(int slot) const {
  return slot >= 0 && slot < MIDI_TEXTOUT_SLOTS ? m_textOut[slot] : nullptr;
}

bool CMidiEnvironment::IsSetupComplete() const {
  if (m_inDevices.empty() || m_outDevices.empty() || m_inputs.empty() || m_outputs.empty())
    return false;
  const std::vector<CZelMidiIn*>& attached = m_inDevices.front()->GetInputs();
  if (attached.empty() || attached.front() != &m_inputs[0])
    return false;
  return m_outputs[0].GetDevice() == m_outDevices.front().get();
}

void CMidiEnvironment::SetModelId(const unsigned char modelId[3]) {
  QZML::CByteArray bytes(modelId, modelId + 3);
  if (!m_inputs.empty())
    m_inputs[0].m_modelId = bytes;
  if (!m_outputs.empty())
    m_outputs[0].m_modelId = bytes;
}

void CMidiEnvironment::Teardown() {
  // No device may keep a pointer to a logical port that is gone, nor an output to a device.
  for (auto& device : m_inDevices)
    device->DetachAll();
  for (CZelMidiOut& output : m_outputs)
    output.SetDevice(nullptr);
  m_inputs.clear();
  m_outputs.clear();
  CloseDevices();
  for (int slot = 0; slot < MIDI_TEXTOUT_SLOTS; ++slot) {
    CZelTextOut* output = m_textOut[slot];
    if (!output)
      continue;
    for (int other = slot; other < MIDI_TEXTOUT_SLOTS; ++other)
      if (m_textOut[other] == output)
        m_textOut[other] = nullptr;
    delete output;
  }
  m_progress.reset();
}
