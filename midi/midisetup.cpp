#include "midi/midisetup.h"

#include <cstdio>

namespace {

const char* const kInSection = "MIDIInConnection";
const char* const kOutSection = "MIDIOutConnection";
const char* const kThruSection = "MIDIThruConnection";

std::string Indexed(const char* name, std::size_t index) {
  char text[64];
  std::snprintf(text, sizeof text, "%s%zu", name, index);
  return text;
}

bool DeviceIdInRange(int id) { return id >= CMidiSetup::kLowestDeviceId && id <= CMidiSetup::kHighestDeviceId; }

} // namespace

CMidiSetup::CMidiSetup(CMidiEnvironment& environment, QZP::ISettingsStore& settings, int thruCount)
    : m_environment(environment), m_settings(settings), m_thru(thruCount > 0 ? thruCount : 0) {}

CMidiSetup::~CMidiSetup() {
  for (ThruConnection& thru : m_thru)
    thru.Clear();
}

CMidiInDevice* CMidiSetup::GetInDevice(const std::string& name) {
  CZelMidiInDevices& devices = m_environment.InDevices();
  for (auto& device : devices)
    if (device->GetName() == name)
      return device.get();
  auto device = std::make_unique<CMidiInDevice>(m_environment.GetServices(), name);
  if (!device->OpenDevice())
    return nullptr;
  devices.push_back(std::move(device));
  return devices.back().get();
}

CMidiOutDevice* CMidiSetup::GetOutDevice(const std::string& name) {
  CZelMidiOutDevices& devices = m_environment.OutDevices();
  for (auto& device : devices)
    if (device->GetName() == name)
      return device.get();
  auto device = std::make_unique<CMidiOutDevice>(m_environment.GetServices(), name);
  if (!device->OpenByName(name))
    return nullptr;
  devices.push_back(std::move(device));
  return devices.back().get();
}

void CMidiSetup::BindInput(CZelMidiIn& input, const std::string& deviceName, int deviceId) {
  // A device ID the setup cannot offer would be cut to a byte; the port keeps the one it has.
  if (DeviceIdInRange(deviceId))
    input.m_deviceId = static_cast<std::uint8_t>(deviceId);
  if (deviceName == kNone || deviceName.empty())
    return;
  if (CMidiInDevice* device = GetInDevice(deviceName))
    device->Attach(&input);
}

void CMidiSetup::BindOutput(CZelMidiOut& output, const std::string& deviceName, int deviceId) {
  if (DeviceIdInRange(deviceId))
    output.m_deviceId = static_cast<std::uint8_t>(deviceId);
  if (deviceName == kNone || deviceName.empty())
    return;
  if (CMidiOutDevice* device = GetOutDevice(deviceName))
    output.SetDevice(device);
}

void CMidiSetup::BindThru(ThruConnection& thru, const std::string& inName, const std::string& outName) {
  if (inName == kNone || outName == kNone)
    return;
  CMidiInDevice* in = GetInDevice(inName);
  if (!in)
    return;
  CMidiOutDevice* out = GetOutDevice(outName);
  if (!out)
    return;
  thru.m_in = in;
  thru.m_out = out;
  thru.Connect();
}

void CMidiSetup::DisconnectAll() {
  for (CZelMidiOut& output : m_environment.Outputs())
    output.SetDevice(nullptr);
  for (ThruConnection& thru : m_thru) {
    thru.Disconnect();
    thru.Clear();
  }
  m_environment.CloseDevices();
}

void CMidiSetup::Load() {
  DisconnectAll();
  std::deque<CZelMidiIn>& inputs = m_environment.Inputs();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    std::string name = m_settings.ReadString(kInSection, Indexed("MIDIIn", i), inputs[i].m_name);
    std::string device = m_settings.ReadString(kInSection, Indexed("MIDIInDevice", i), kNone);
    int id = m_settings.ReadInt(kInSection, Indexed("MIDIInDeviceId", i), inputs[i].m_deviceId);
    if (CZelMidiIn* input = m_environment.FindInput(name))
      BindInput(*input, device, id);
  }
  std::deque<CZelMidiOut>& outputs = m_environment.Outputs();
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    std::string name = m_settings.ReadString(kOutSection, Indexed("MIDIOut", i), outputs[i].m_name);
    std::string device = m_settings.ReadString(kOutSection, Indexed("MIDIOutDevice", i), kNone);
    int id = m_settings.ReadInt(kOutSection, Indexed("MIDIOutDeviceId", i), outputs[i].m_deviceId);
    if (CZelMidiOut* output = m_environment.FindOutput(name))
      BindOutput(*output, device, id);
  }
  for (std::size_t i = 0; i < m_thru.size(); ++i) {
    std::string in = m_settings.ReadString(kThruSection, Indexed("MIDIInDevice", i), kNone);
    std::string out = m_settings.ReadString(kThruSection, Indexed("MIDIOutDevice", i), kNone);
    BindThru(m_thru[i], in, out);
  }
}

std::string CMidiSetup::InputDeviceName(const CZelMidiIn& input) const {
  for (const auto& device : m_environment.InDevices())
    if (device->Lists(&input))
      return device->GetName();
  return kNone;
}

std::string CMidiSetup::OutputDeviceName(const CZelMidiOut& output) const {
  for (const auto& device : m_environment.OutDevices())
    if (output.GetDevice() == device.get())
      return device->GetName();
  return kNone;
}

// The names of the device objects behind a thru connection's two ports.
static std::string ThruInName(CMidiEnvironment& environment, const ThruConnection& thru) {
  for (const auto& device : environment.InDevices())
    if (thru.m_in && static_cast<const CMidiIn*>(device.get()) == thru.m_in)
      return device->GetName();
  return CMidiSetup::kNone;
}

static std::string ThruOutName(CMidiEnvironment& environment, const ThruConnection& thru) {
  for (const auto& device : environment.OutDevices())
    if (thru.m_out && static_cast<const CMidiOut*>(device.get()) == thru.m_out)
      return device->GetName();
  return CMidiSetup::kNone;
}

void CMidiSetup::Save() {
  std::deque<CZelMidiIn>& inputs = m_environment.Inputs();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    m_settings.WriteString(kInSection, Indexed("MIDIIn", i), inputs[i].m_name);
    m_settings.WriteString(kInSection, Indexed("MIDIInDevice", i), InputDeviceName(inputs[i]));
    m_settings.WriteInt(kInSection, Indexed("MIDIInDeviceId", i), inputs[i].m_deviceId);
  }
  std::deque<CZelMidiOut>& outputs = m_environment.Outputs();
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    m_settings.WriteString(kOutSection, Indexed("MIDIOut", i), outputs[i].m_name);
    m_settings.WriteString(kOutSection, Indexed("MIDIOutDevice", i), OutputDeviceName(outputs[i]));
    m_settings.WriteInt(kOutSection, Indexed("MIDIOutDeviceId", i), outputs[i].m_deviceId);
  }
  for (std::size_t i = 0; i < m_thru.size(); ++i) {
    m_settings.WriteString(kThruSection, Indexed("MIDIInDevice", i), ThruInName(m_environment, m_thru[i]));
    m_settings.WriteString(kThruSection, Indexed("MIDIOutDevice", i), ThruOutName(m_environment, m_thru[i]));
  }
}

CMidiSetupLayout StandardMidiSetupLayout(const std::string& modelName) {
  CMidiSetupLayout layout;
  const int low = CMidiSetup::kLowestDeviceId;
  const int high = CMidiSetup::kHighestDeviceId;
  layout.inputs = {{IDC_MIDI_IN_DEVICE, IDC_MIDI_DEVICE_ID, low, high},
                   {IDC_MIDI_THRU_IN_DEVICE, IDC_MIDI_DEVICE_ID, low, high}};
  layout.outputs = {{IDC_MIDI_OUT_DEVICE, IDC_MIDI_DEVICE_ID, low, high},
                    {IDC_MIDI_THRU_OUT_DEVICE, IDC_MIDI_DEVICE_ID, low, high}};
  layout.label = modelName;
  return layout;
}

void CMidiSetupCombo::Select(const std::string& text) {
  selected = -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) {
      selected = static_cast<int>(i);
      return;
    }
  }
}

namespace {

void FillRow(CMidiSetupForm& form, const CMidiDeviceRow& row, const std::vector<std::string>& names,
             const std::string& current, int deviceId) {
  CMidiSetupCombo& devices = form.combos[row.deviceCombo];
  devices.items = names;
  devices.enabled = true;
  devices.Select(current);
  CMidiSetupCombo& ids = form.combos[row.idCombo];
  ids.items.clear();
  ids.enabled = true;
  for (int id = row.lowestId; id <= row.highestId; ++id)
    ids.items.push_back(std::to_string(id + 1));
  ids.selected = deviceId >= row.lowestId && deviceId <= row.highestId ? deviceId - row.lowestId : -1;
}

void DisableRow(CMidiSetupForm& form, int first, int second) {
  form.combos[first].enabled = false;
  form.combos[second].enabled = false;
}

// The device ID a row's combo box stands for; -1 (the port keeps its own) when nothing valid is selected.
int ChosenDeviceId(const CMidiSetupForm& form, const CMidiDeviceRow& row) {
  auto it = form.combos.find(row.idCombo);
  if (it == form.combos.end() || it->second.selected < 0)
    return -1;
  int id = row.lowestId + it->second.selected;
  return id <= row.highestId ? id : -1;
}

std::string ChosenText(const CMidiSetupForm& form, int combo) {
  auto it = form.combos.find(combo);
  return it == form.combos.end() ? std::string() : it->second.Text();
}

} // namespace

void InitMidiSetupForm(CMidiSetup& setup, const CMidiSetupLayout& layout, CMidiSetupForm& form) {
  setup.Load();
  CMidiEnvironment& environment = setup.Environment();
  std::vector<std::string> inNames, outNames;
  if (QZP::IMidiBackend* backend = environment.GetServices().backend) {
    inNames = backend->InputNames();
    outNames = backend->OutputNames();
  }
  inNames.push_back(CMidiSetup::kNone);
  outNames.push_back(CMidiSetup::kNone);

  std::deque<CZelMidiIn>& inputs = environment.Inputs();
  for (std::size_t i = 0; i < layout.inputs.size(); ++i) {
    const CMidiDeviceRow& row = layout.inputs[i];
    if (i < inputs.size())
      FillRow(form, row, inNames, setup.InputDeviceName(inputs[i]), inputs[i].m_deviceId);
    else
      DisableRow(form, row.deviceCombo, row.idCombo);
  }
  std::deque<CZelMidiOut>& outputs = environment.Outputs();
  for (std::size_t i = 0; i < layout.outputs.size(); ++i) {
    const CMidiDeviceRow& row = layout.outputs[i];
    if (i < outputs.size())
      FillRow(form, row, outNames, setup.OutputDeviceName(outputs[i]), outputs[i].m_deviceId);
    else
      DisableRow(form, row.deviceCombo, row.idCombo);
  }
  for (std::size_t i = 0; i < layout.thru.size(); ++i) {
    const CMidiThruRow& row = layout.thru[i];
    if (i >= setup.Thru().size()) {
      DisableRow(form, row.inCombo, row.outCombo);
      continue;
    }
    CMidiSetupCombo& in = form.combos[row.inCombo];
    in.items = inNames;
    in.enabled = true;
    in.Select(ThruInName(environment, setup.Thru()[i]));
    CMidiSetupCombo& out = form.combos[row.outCombo];
    out.items = outNames;
    out.enabled = true;
    out.Select(ThruOutName(environment, setup.Thru()[i]));
  }
  if (!layout.label.empty())
    form.label = layout.label;
}

void ApplyMidiSetupForm(CMidiSetup& setup, const CMidiSetupLayout& layout, const CMidiSetupForm& form) {
  setup.DisconnectAll();
  CMidiEnvironment& environment = setup.Environment();
  std::deque<CZelMidiIn>& inputs = environment.Inputs();
  for (std::size_t i = 0; i < layout.inputs.size() && i < inputs.size(); ++i)
    setup.BindInput(inputs[i], ChosenText(form, layout.inputs[i].deviceCombo), ChosenDeviceId(form, layout.inputs[i]));
  std::deque<CZelMidiOut>& outputs = environment.Outputs();
  for (std::size_t i = 0; i < layout.outputs.size() && i < outputs.size(); ++i)
    setup.BindOutput(outputs[i], ChosenText(form, layout.outputs[i].deviceCombo),
                     ChosenDeviceId(form, layout.outputs[i]));
  for (std::size_t i = 0; i < layout.thru.size() && i < setup.Thru().size(); ++i)
    setup.BindThru(setup.Thru()[i], ChosenText(form, layout.thru[i].inCombo),
                   ChosenText(form, layout.thru[i].outCombo));
  setup.Save();
}
