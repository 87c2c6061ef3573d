#include <gtest/gtest.h>

#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "midi/portname.h"
#include "midi/transfer.h"
#include "miditestsupport.h"
#include "platform/settings.h"
#include "textout/textout.h"

namespace {

struct Setup : ::testing::Test {
  Setup() : setup(environment, settings) {
    environment.SetServices(rig.services);
    environment.PreparePorts(QZML::MODEL_QZMAX);
    environment.Inputs()[0].m_messageHandler = &handler;
  }
  std::string Stored(const char* section, const char* name) { return settings.ReadString(section, name, "<missing>"); }

  CLoopbackRig rig;
  QZP::CMemorySettings settings;
  CMidiEnvironment environment;
  CMidiSetup setup;
  CRecordingHandler handler;
};

TEST_F(Setup, FirstRunLeavesEverythingUnboundAndSavesNone) {
  setup.Load();
  EXPECT_TRUE(environment.InDevices().empty());
  EXPECT_TRUE(environment.OutDevices().empty());
  EXPECT_FALSE(environment.IsSetupComplete());
  setup.Save();
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIIn0"), "QZMLibrarian");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIIn1"), "");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "(none)");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDeviceId1"), "0");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOut0"), "QZMLibrarian");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice1"), "(none)");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDeviceId0"), "0");
  EXPECT_EQ(settings.m_values.size(), 12u);
  EXPECT_TRUE(rig.box.messages.empty());
}

TEST_F(Setup, LoadBindsByNameAndKeepsAnOutOfRangeId) {
  settings.WriteString("MIDIInConnection", "MIDIIn0", "QZMLibrarian");
  settings.WriteString("MIDIInConnection", "MIDIInDevice0", "Loop A");
  settings.WriteInt("MIDIInConnection", "MIDIInDeviceId0", 16);
  settings.WriteString("MIDIInConnection", "MIDIIn1", "Somebody else"); // matches no logical input
  settings.WriteString("MIDIInConnection", "MIDIInDevice1", "Loop B");
  settings.WriteString("MIDIOutConnection", "MIDIOutDevice0", "Peer");
  settings.WriteInt("MIDIOutConnection", "MIDIOutDeviceId0", 255);
  settings.WriteString("MIDIOutConnection", "MIDIOutDevice1", "Unplugged");
  setup.Load();
  ASSERT_EQ(environment.InDevices().size(), 1u);
  EXPECT_EQ(environment.InDevices()[0]->GetName(), "Loop A");
  EXPECT_EQ(environment.Inputs()[0].m_deviceId, 16);
  ASSERT_EQ(environment.OutDevices().size(), 1u);
  EXPECT_EQ(environment.Outputs()[0].GetDevice(), environment.OutDevices()[0].get());
  EXPECT_EQ(environment.Outputs()[0].m_deviceId, 0); // 255 is no device ID the setup offers
  EXPECT_EQ(environment.Outputs()[1].GetDevice(), nullptr);
  EXPECT_TRUE(environment.IsSetupComplete());
  EXPECT_TRUE(rig.box.messages.empty());

  // What arrives on the port is taken by logical input 0 on the user-interface thread.
  const QZML::CByteArray answer = DataSet(16, 0x1000000, Bytes({0x01, 0x02}));
  ASSERT_TRUE(rig.backend.ToProgram("Loop A", answer.data(), answer.size()));
  ASSERT_TRUE(rig.dispatcher.RunUntil([&] { return !handler.dataSets.empty(); }, 5000));
  EXPECT_EQ(handler.dataSets[0], answer);

  setup.DisconnectAll();
  EXPECT_TRUE(environment.InDevices().empty());
  EXPECT_EQ(environment.Outputs()[0].GetDevice(), nullptr);
  EXPECT_EQ(environment.Inputs()[0].m_name, "QZMLibrarian");
  EXPECT_EQ(environment.Inputs()[0].m_deviceId, 16);
}

TEST_F(Setup, OnePortForBothInputs) {
  setup.BindInput(environment.Inputs()[0], "Loop A", 3);
  setup.BindInput(environment.Inputs()[1], "Loop A", 3);
  setup.BindOutput(environment.Outputs()[1], "Peer", 3);
  ASSERT_EQ(environment.InDevices().size(), 1u);
  EXPECT_EQ(environment.InDevices()[0]->GetInputs().size(), 2u);

  // Input 0 acts on the unit's data set; input 1 passes the channel message on to output 1's port.
  const QZML::CByteArray dataSet = DataSet(3, 0x1000000, Bytes({0x05}));
  const QZML::CByteArray note = Bytes({0x90, 0x3C, 0x64});
  rig.backend.ToProgram("Loop A", dataSet.data(), dataSet.size());
  rig.backend.ToProgram("Loop A", note.data(), note.size());
  ASSERT_TRUE(rig.dispatcher.RunUntil([&] { return rig.peer.received.size() >= 1 && !handler.shorts.empty(); }, 5000));
  EXPECT_EQ(handler.dataSets, (std::vector<QZML::CByteArray>{dataSet}));
  EXPECT_EQ(rig.peer.received, (std::vector<QZML::CByteArray>{note}));

  setup.Save();
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "Loop A");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice1"), "Loop A");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice0"), "(none)");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice1"), "Peer");
}

TEST_F(Setup, DialogShowsTheBindingAndStoresTheChoice) {
  settings.WriteString("MIDIInConnection", "MIDIInDevice0", "Loop B");
  settings.WriteInt("MIDIOutConnection", "MIDIOutDeviceId1", 4);
  CMidiSetupLayout layout = StandardMidiSetupLayout("QZ-MAX");
  CMidiSetupForm form;
  InitMidiSetupForm(setup, layout, form);
  EXPECT_EQ(form.label, "QZ-MAX");
  const CMidiSetupCombo& inCombo = form.combos[IDC_MIDI_IN_DEVICE];
  EXPECT_EQ(inCombo.items, (std::vector<std::string>{"Loop A", "Loop B", "Peer", "(none)"}));
  EXPECT_EQ(inCombo.Text(), "Loop B");
  EXPECT_EQ(form.combos[IDC_MIDI_OUT_DEVICE].Text(), "(none)");
  const CMidiSetupCombo& ids = form.combos[IDC_MIDI_DEVICE_ID];
  ASSERT_EQ(ids.items.size(), 32u);
  EXPECT_EQ(ids.items.front(), "1");
  EXPECT_EQ(ids.items.back(), "32");
  EXPECT_EQ(ids.Text(), "5"); // the shared combo ends on logical output 1's device ID

  // OK with device ID "17": every logical port gets 16.
  form.combos[IDC_MIDI_OUT_DEVICE].Select("Peer");
  form.combos[IDC_MIDI_THRU_IN_DEVICE].Select("Loop A");
  form.combos[IDC_MIDI_DEVICE_ID].Select("17");
  ApplyMidiSetupForm(setup, layout, form);
  for (const char* name : {"MIDIInDeviceId0", "MIDIInDeviceId1"})
    EXPECT_EQ(Stored("MIDIInConnection", name), "16");
  for (const char* name : {"MIDIOutDeviceId0", "MIDIOutDeviceId1"})
    EXPECT_EQ(Stored("MIDIOutConnection", name), "16");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "Loop B");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice1"), "Loop A");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice0"), "Peer");
  EXPECT_TRUE(environment.IsSetupComplete());

  // No device ID selected: each port keeps its own.
  environment.Outputs()[1].m_deviceId = 7;
  form.combos[IDC_MIDI_DEVICE_ID].selected = -1;
  ApplyMidiSetupForm(setup, layout, form);
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDeviceId0"), "16");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDeviceId1"), "7");
}

TEST(PortName, NumbersLeftOutAndSameNamesToldApartByPlace) {
  EXPECT_EQ(StablePortName("QZ USB MIDI 24:0"), "QZ USB MIDI");
  EXPECT_EQ(StablePortName("QZ USB MIDI:QZ USB MIDI MIDI 1 128:10"), "QZ USB MIDI:QZ USB MIDI MIDI 1");
  for (const char* kept : {"QZ-MAX Simulator", "system:midi_capture_1", "Port 24:", "Port :0", "24:0", "A 2:x0", ""})
    EXPECT_EQ(StablePortName(kept), kept);

  const std::vector<std::string> twins = {"Twin 20:0", "Other 21:0", "Twin 22:0", "Twin 22:1"};
  EXPECT_EQ(StoredPortName("Twin 20:0", twins), "Twin");
  EXPECT_EQ(StoredPortName("Other 21:0", twins), "Other");
  EXPECT_EQ(StoredPortName("Twin 22:0", twins), "Twin #2");
  EXPECT_EQ(StoredPortName("Twin 22:1", twins), "Twin #3");
  EXPECT_EQ(StoredPortName("Twin 23:0", twins), "Twin"); // unplugged meanwhile
  const std::vector<std::string> replugged = {"Other 30:0", "Twin 31:0", "Twin 32:0", "Twin #2 33:0"};
  EXPECT_EQ(FindStoredPort("Twin", replugged), 1);
  EXPECT_EQ(FindStoredPort("Twin #2", replugged), 2);
  EXPECT_EQ(FindStoredPort("Twin #3", replugged), -1);
  EXPECT_EQ(FindStoredPort("Twin 22:0", replugged), 1); // stored with numbers: the first of that name
  EXPECT_EQ(FindStoredPort("Other 30:0", replugged), 0);
  EXPECT_EQ(FindStoredPort("Gone", replugged), -1);
  EXPECT_EQ(FindStoredPort("Twin #2 33:0", {"Twin #2 34:0"}), 0);
  EXPECT_EQ(FromNotConnectedText(NotConnectedText("Twin #2")), "Twin #2");
  EXPECT_EQ(FromNotConnectedText("Twin"), "Twin");
}

TEST_F(Setup, StoredPortsSurviveReplugging) {
  // Stored with the numbers of an earlier plug-in, or without them: bound after the device came back
  // under other numbers, and stored without them again.
  rig.backend.AddLoopback("QZ USB MIDI 28:0");
  settings.WriteString("MIDIInConnection", "MIDIInDevice0", "QZ USB MIDI 24:0");
  settings.WriteString("MIDIOutConnection", "MIDIOutDevice0", "QZ USB MIDI");
  setup.Load();
  EXPECT_EQ(setup.InputDeviceName(environment.Inputs()[0]), "QZ USB MIDI 28:0");
  EXPECT_EQ(setup.OutputDeviceName(environment.Outputs()[0]), "QZ USB MIDI 28:0");
  setup.Save();
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "QZ USB MIDI");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice0"), "QZ USB MIDI");

  // Two interfaces of one name keep their order.
  rig.backend.AddLoopback("QZ USB MIDI 32:0");
  setup.DisconnectAll();
  setup.BindInput(environment.Inputs()[0], "QZ USB MIDI 32:0", 16);
  setup.BindOutput(environment.Outputs()[0], "QZ USB MIDI 28:0", 16);
  setup.Save();
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "QZ USB MIDI #2");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice0"), "QZ USB MIDI");
  setup.DisconnectAll();
  rig.backend.Remove("QZ USB MIDI 28:0");
  rig.backend.Remove("QZ USB MIDI 32:0");
  rig.backend.AddLoopback("QZ USB MIDI 40:0");
  rig.backend.AddLoopback("QZ USB MIDI 41:0");
  setup.Load();
  EXPECT_EQ(setup.InputDeviceName(environment.Inputs()[0]), "QZ USB MIDI 41:0");
  EXPECT_EQ(setup.OutputDeviceName(environment.Outputs()[0]), "QZ USB MIDI 40:0");
  EXPECT_TRUE(rig.box.messages.empty());
}

// Keeps the detail of an error, as the message box shows it.
struct CDetailRecorder : CZelTextOut {
  void ErrorDetail(ETextOutError code, const std::string& detail) override {
    errors.push_back(std::to_string(static_cast<int>(code)) + " " + detail);
  }
  void Error(ETextOutError code) override { errors.push_back(std::to_string(static_cast<int>(code))); }
  std::vector<std::string> errors;
};

TEST_F(Setup, AMissingOrBusyPortStaysTheChoiceUntilTheUserMakesAnother) {
  settings.WriteString("MIDIInConnection", "MIDIInDevice0", "Unplugged");
  settings.WriteString("MIDIOutConnection", "MIDIOutDevice0", "Loop A");
  settings.WriteInt("MIDIOutConnection", "MIDIOutDeviceId0", 16);
  // Loop B's input is held elsewhere: busy.
  struct : QZP::IMidiInputCallback {
    void MidiInputShort(std::uint32_t) override {}
    void MidiInputLong(const std::uint8_t*, std::size_t) override {}
  } elsewhere;
  std::unique_ptr<QZP::IMidiInPort> held = rig.backend.OpenInput(1, &elsewhere);
  settings.WriteString("MIDIInConnection", "MIDIInDevice1", "Loop B");
  setup.Load();
  EXPECT_EQ(environment.Inputs()[0].m_unconnectedDevice, "Unplugged");
  EXPECT_EQ(environment.Inputs()[1].m_unconnectedDevice, "Loop B");
  EXPECT_EQ(rig.box.messages, std::vector<std::string>{"The MIDI input port \"Loop B\" is already in use."});
  setup.Save();
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "Unplugged");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice1"), "Loop B");
  EXPECT_EQ(Stored("MIDIOutConnection", "MIDIOutDevice0"), "Loop A");

  // A transfer names the port it misses.
  auto* box = new CDetailRecorder;
  environment.SetTextOut(MIDI_TEXTOUT_MESSAGE_BOX, box);
  EXPECT_FALSE(CheckMidiConnection(environment));
  EXPECT_EQ(box->errors, std::vector<std::string>{"3 The MIDI input port \"Unplugged\" is not connected."});

  // The dialog shows it as not connected and OK keeps it; the port lists are read afresh.
  rig.backend.AddLoopback("Plugged in since");
  CMidiSetupLayout layout = StandardMidiSetupLayout("QZ-MAX");
  CMidiSetupForm form;
  InitMidiSetupForm(setup, layout, form);
  EXPECT_EQ(form.combos[IDC_MIDI_IN_DEVICE].items,
            (std::vector<std::string>{"Loop A", "Loop B", "Peer", "Plugged in since", "Unplugged (not connected)",
                                      "(none)"}));
  EXPECT_EQ(form.combos[IDC_MIDI_IN_DEVICE].Text(), "Unplugged (not connected)");
  EXPECT_EQ(form.combos[IDC_MIDI_THRU_IN_DEVICE].Text(), "Loop B (not connected)");
  EXPECT_EQ(form.combos[IDC_MIDI_OUT_DEVICE].Text(), "Loop A");
  EXPECT_EQ(form.combos[IDC_MIDI_OUT_DEVICE].items.size(), 5u);
  ApplyMidiSetupForm(setup, layout, form);
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "Unplugged");
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice1"), "Loop B");

  // Free again, the busy port binds at the next start; "(none)" chosen is stored as such.
  held.reset();
  setup.Load();
  EXPECT_EQ(setup.InputDeviceName(environment.Inputs()[1]), "Loop B");
  EXPECT_TRUE(environment.Inputs()[1].m_unconnectedDevice.empty());
  form.combos[IDC_MIDI_IN_DEVICE].Select("(none)");
  ApplyMidiSetupForm(setup, layout, form);
  EXPECT_EQ(Stored("MIDIInConnection", "MIDIInDevice0"), "(none)");
  EXPECT_TRUE(environment.Inputs()[0].m_unconnectedDevice.empty());
}

struct CCountedTextOut : CZelTextOut {
  explicit CCountedTextOut(int* deleted) : m_deleted(deleted) {}
  ~CCountedTextOut() override { ++*m_deleted; }
  int* m_deleted;
};

TEST(MidiEnvironment, SlotsModelIdAndTeardown) {
  int deleted = 0;
  auto* box = new CCountedTextOut(&deleted);
  auto* buffer = new CCountedTextOut(&deleted);
  {
    CMidiEnvironment environment;
    environment.PreparePorts(QZML::MODEL_QZ5);
    EXPECT_EQ(environment.Inputs()[0].m_modelId, Bytes({0x00, 0x00, 0x06}));
    EXPECT_TRUE(environment.Inputs()[1].m_modelId.empty());
    EXPECT_EQ(environment.Inputs()[1].m_forward, &environment.Outputs()[1]);
    EXPECT_EQ(environment.FindInput(""), &environment.Inputs()[1]);
    EXPECT_EQ(environment.FindOutput("QZMLibrarian"), &environment.Outputs()[0]);

    const unsigned char qzmax[3] = {0x00, 0x00, 0x0B};
    QZML::CAppState::Instance().SetModelIdSink(&environment);
    QZML::CAppState::Instance().GetModelIdSink()->SetModelId(qzmax);
    QZML::CAppState::Instance().SetModelIdSink(nullptr);
    EXPECT_EQ(environment.Outputs()[0].m_modelId, Bytes({0x00, 0x00, 0x0B}));
    EXPECT_TRUE(environment.Outputs()[1].m_modelId.empty());

    environment.SetTextOut(0, box);
    environment.SetTextOut(1, box);
    environment.SetTextOut(0, buffer); // box still sits in slot 1
    EXPECT_EQ(deleted, 0);
    environment.SetTextOut(2, buffer);
    environment.SetProgress(std::make_unique<CZelProgressBar>());
    environment.Teardown();
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(environment.GetTextOut(0), nullptr);
    EXPECT_EQ(environment.GetProgress(), nullptr);
    EXPECT_TRUE(environment.Inputs().empty());
  }
  EXPECT_EQ(deleted, 2);
}

} // namespace
