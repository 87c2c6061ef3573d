#include "midi/midisetup.h"

#include <cstdio>

#include "midi/portname.h"
#include "platform/settingsections.h"

namespace {

const char* const kInSection = QZP::kSectionMidiIn;
const char* const kOutSection = QZP::kSectionMidiOut;
const char* const kThruSection = QZP::kSectionMidiThru;

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

std::vector<std::string> CMidiSetup::InputNames() const {
  QZP::IMidiBackend* backend = m_environment.GetServices().backend;
  return backend ? backend->InputNames() : std::vector<std::string>();
}

std::vector<std::string> CMidiSetup::OutputNames() const {
  QZP::IMidiBackend* backend = m_environment.GetServices().backend;
  return backend ? backend->OutputNames() : std::vector<std::string>();
}

namespace {

// The listed port a chosen name stands for: its index in names, or -1. chosen becomes the name to keep
// while the port is not connected.
int ResolveChoice(std::string& chosen, const std::vector<std::string>& names) {
  chosen = FromNotConnectedText(chosen);
  const int index = FindStoredPort(chosen, names);
  if (index >= 0)
    chosen = StoredPortName(names[static_cast<std::size_t>(index)], names);
  return index;
}

bool IsNoChoice(const std::string& name) { return name.empty() || name == CMidiSetup::kNone; }

} // namespace

void CMidiSetup::BindInput(CZelMidiIn& input, const std::string& deviceName, int deviceId) {
  // A device ID the setup cannot offer would be cut to a byte; the port keeps the one it has.
  if (DeviceIdInRange(deviceId))
    input.m_deviceId = static_cast<std::uint8_t>(deviceId);
  input.m_unconnectedDevice.clear();
  if (IsNoChoice(deviceName))
    return;
  std::string chosen = deviceName;
  const std::vector<std::string> names = InputNames();
  const int index = ResolveChoice(chosen, names);
  CMidiInDevice* device = index >= 0 ? GetInDevice(names[static_cast<std::size_t>(index)]) : nullptr;
  if (device)
    device->Attach(&input);
  else
    input.m_unconnectedDevice = chosen;
}

void CMidiSetup::BindOutput(CZelMidiOut& output, const std::string& deviceName, int deviceId) {
  if (DeviceIdInRange(deviceId))
    output.m_deviceId = static_cast<std::uint8_t>(deviceId);
  output.m_unconnectedDevice.clear();
  if (IsNoChoice(deviceName))
    return;
  std::string chosen = deviceName;
  const std::vector<std::string> names = OutputNames();
  const int index = ResolveChoice(chosen, names);
  CMidiOutDevice* device = index >= 0 ? GetOutDevice(names[static_cast<std::size_t>(index)]) : nullptr;
  if (device)
    output.SetDevice(device);
  else
    output.m_unconnectedDevice = chosen;
}

void CMidiSetup::BindThru(ThruConnection& thru, const std::string& inName, const std::string& outName) {
  if (IsNoChoice(inName) || IsNoChoice(outName))
    return;
  std::string chosenIn = inName, chosenOut = outName;
  const std::vector<std::string> inNames = InputNames();
  const std::vector<std::string> outNames = OutputNames();
  const int in = ResolveChoice(chosenIn, inNames);
  const int out = ResolveChoice(chosenOut, outNames);
  if (in < 0 || out < 0)
    return;
  CMidiInDevice* inDevice = GetInDevice(inNames[static_cast<std::size_t>(in)]);
  if (!inDevice)
    return;
  CMidiOutDevice* outDevice = GetOutDevice(outNames[static_cast<std::size_t>(out)]);
  if (!outDevice)
    return;
  thru.m_in = inDevice;
  thru.m_out = outDevice;
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

std::string CMidiSetup::InputChoiceText(const CZelMidiIn& input) const {
  const std::string name = InputDeviceName(input);
  if (name == kNone && !input.m_unconnectedDevice.empty())
    return NotConnectedText(input.m_unconnectedDevice);
  return name;
}

std::string CMidiSetup::OutputChoiceText(const CZelMidiOut& output) const {
  const std::string name = OutputDeviceName(output);
  if (name == kNone && !output.m_unconnectedDevice.empty())
    return NotConnectedText(output.m_unconnectedDevice);
  return name;
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

namespace {

// What Save writes for a port: its stored name while it is bound, the choice that is not connected, or
// "(none)".
std::string StoredChoice(const std::string& deviceName, const std::string& unconnected,
                         const std::vector<std::string>& names) {
  if (deviceName != CMidiSetup::kNone)
    return StoredPortName(deviceName, names);
  return unconnected.empty() ? std::string(CMidiSetup::kNone) : unconnected;
}

} // namespace

void CMidiSetup::Save() {
  const std::vector<std::string> inNames = InputNames();
  const std::vector<std::string> outNames = OutputNames();
  std::deque<CZelMidiIn>& inputs = m_environment.Inputs();
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    m_settings.WriteString(kInSection, Indexed("MIDIIn", i), inputs[i].m_name);
    m_settings.WriteString(kInSection, Indexed("MIDIInDevice", i),
                           StoredChoice(InputDeviceName(inputs[i]), inputs[i].m_unconnectedDevice, inNames));
    m_settings.WriteInt(kInSection, Indexed("MIDIInDeviceId", i), inputs[i].m_deviceId);
  }
  std::deque<CZelMidiOut>& outputs = m_environment.Outputs();
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    m_settings.WriteString(kOutSection, Indexed("MIDIOut", i), outputs[i].m_name);
    m_settings.WriteString(kOutSection, Indexed("MIDIOutDevice", i),
                           StoredChoice(OutputDeviceName(outputs[i]), outputs[i].m_unconnectedDevice, outNames));
    m_settings.WriteInt(kOutSection, Indexed("MIDIOutDeviceId", i), outputs[i].m_deviceId);
  }
  for (std::size_t i = 0; i < m_thru.size(); ++i) {
    m_settings.WriteString(kThruSection, Indexed("MIDIInDevice", i),
                           StoredChoice(ThruInName(m_environment, m_thru[i]), std::string(), inNames));
    m_settings.WriteString(kThruSection, Indexed("MIDIOutDevice", i),
                           StoredChoice(ThruOutName(m_environment, m_thru[i]), std::string(), outNames));
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

// names ends with "(none)"; a chosen port that is not connected is offered just before it.
void FillRow(CMidiSetupForm& form, const CMidiDeviceRow& row, const std::vector<std::string>& names,
             const std::string& current, int deviceId) {
  CMidiSetupCombo& devices = form.combos[row.deviceCombo];
  devices.items = names;
  if (current != FromNotConnectedText(current))
    devices.items.insert(devices.items.end() - 1, current);
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
  // Read afresh each time: ports come and go while the program runs.
  std::vector<std::string> inNames = setup.InputNames();
  std::vector<std::string> outNames = setup.OutputNames();
  inNames.push_back(CMidiSetup::kNone);
  outNames.push_back(CMidiSetup::kNone);

  std::deque<CZelMidiIn>& inputs = environment.Inputs();
  for (std::size_t i = 0; i < layout.inputs.size(); ++i) {
    const CMidiDeviceRow& row = layout.inputs[i];
    if (i < inputs.size())
      FillRow(form, row, inNames, setup.InputChoiceText(inputs[i]), inputs[i].m_deviceId);
    else
      DisableRow(form, row.deviceCombo, row.idCombo);
  }
  std::deque<CZelMidiOut>& outputs = environment.Outputs();
  for (std::size_t i = 0; i < layout.outputs.size(); ++i) {
    const CMidiDeviceRow& row = layout.outputs[i];
    if (i < outputs.size())
      FillRow(form, row, outNames, setup.OutputChoiceText(outputs[i]), outputs[i].m_deviceId);
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
