// The MIDI stack as the programs build it: the chain in the order the systems were added, a system that
// does not start left out with its reason, and the services taken back from a shared environment when
// the stack goes, so nothing reaches a dispatcher or chain that no longer exists.

#include <gtest/gtest.h>

#include "midi/stack/midistack.h"
#include "transfertestsupport.h"

TEST(MidiStack, ChainsTheSystemsAddedAndLeavesOutOneThatDoesNotStart) {
  CMidiEnvironment shared;
  QZP::CManualDispatcher dispatcher;
  CRecordingMessageBox box;
  {
    CMidiStack stack(&shared);
    CSimPort* unit = stack.AddSimulator(MakeSimulatorOptions(QZML::MODEL_QZMAX, 0x10, false));
    ASSERT_NE(unit, nullptr);
    stack.BuiltInPorts().AddLoopback("Loop A");
    EXPECT_FALSE(stack.AddRealMidi("no-such-system", "stack test"));
    EXPECT_EQ(stack.RealMidiError(), "Unknown MIDI system \"no-such-system\".");
    EXPECT_EQ(stack.Chain().InputNames(),
              (std::vector<std::string>{QZP::CVirtualMidiBackend::kSimulatorName, "Loop A"}));

    stack.Start(dispatcher, &box);
    EXPECT_EQ(shared.GetServices().backend, &stack.Chain());
    EXPECT_EQ(shared.GetServices().dispatcher, &dispatcher);
    stack.PreparePorts(QZML::MODEL_QZMAX);
    const std::string name = QZP::CVirtualMidiBackend::kSimulatorName;
    EXPECT_FALSE(shared.IsSetupComplete());
    EXPECT_TRUE(stack.ConnectUnit(name, name, 0x10));
    EXPECT_EQ(stack.Setup().InputDeviceName(shared.Inputs()[0]), name);
    EXPECT_TRUE(box.messages.empty());
  }
  EXPECT_EQ(shared.GetServices().backend, nullptr);
  EXPECT_EQ(shared.GetServices().dispatcher, nullptr);
  EXPECT_TRUE(shared.InDevices().empty());
  EXPECT_TRUE(shared.OutDevices().empty());
  shared.Teardown();
}
