// A write and a read of the unit over the real MIDI path: the simulated unit listens and answers on two
// JACK ports of its own, the program reaches it through RtMidi, its input thread and the Qt event loop.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>

#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "midi/patchstream.h"
#include "model/parameteraddress.h"
#include "platform/qtdispatch.h"
#include "platform/rtmidibackend.h"
#include "platform/settings.h"
#include "sim/simdevice.h"
#include "textout/textout.h"

namespace {

#define REQUIRE_JACK_SERVER()                                                                                          \
  if (!QZP::CRtMidiBackend::JackServerRunning()) {                                                                     \
    if (std::getenv("QZ_REQUIRE_JACK"))                                                                                \
      FAIL() << "no JACK server is running";                                                                           \
    GTEST_SKIP() << "no JACK server is running";                                                                       \
  }

struct CMessages : IMidiMessageBox {
  void ShowMidiMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// What reaches the unit's input port goes to the unit, on JACK's thread.
struct CUnitInput : QZP::IMidiInputCallback {
  void MidiInputShort(std::uint32_t) override {}
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override { device->FromHost(bytes, count); }
  CSimDevice* device = nullptr;
};

std::string EndingWith(const std::vector<std::string>& names, const std::string& tail) {
  for (const std::string& name : names)
    if (name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
      return name;
  return {};
}

} // namespace

TEST(JackTransfer, WriteAPatchAndReadItBack) {
  REQUIRE_JACK_SERVER();
  int argc = 1;
  char name[] = "jack_tests";
  char* argv[] = {name, nullptr};
  QCoreApplication app(argc, argv);
  QZP::CQtUiDispatcher dispatcher(&app);
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);

  QZP::CRtMidiBackend backend;
  ASSERT_TRUE(backend.Init("jack")) << backend.ErrorText();
  CSimDevice unit;
  std::unique_ptr<QZP::IMidiOutPort> unitOut = backend.OpenVirtualOutput("qz-unit-out");
  ASSERT_TRUE(unitOut) << backend.ErrorText();
  unit.SetOutput([&](const QZML::CByteArray& message) { unitOut->Send(message.data(), message.size()); });
  ASSERT_TRUE(unit.Start());
  CUnitInput input;
  input.device = &unit;
  std::unique_ptr<QZP::IMidiInPort> unitIn = backend.OpenVirtualInput("qz-unit-in", &input);
  ASSERT_TRUE(unitIn && unitIn->Start()) << backend.ErrorText();

  CMessages box;
  CMidiServices services;
  services.backend = &backend;
  services.dispatcher = &dispatcher;
  services.messageBox = &box;
  CMidiEnvironment environment;
  environment.SetServices(services);
  environment.PreparePorts(QZML::MODEL_QZMAX);
  CZelTextOutBuffer* messageBox = new CZelTextOutBuffer;
  CZelTextOutBuffer* errors = new CZelTextOutBuffer;
  environment.SetTextOut(MIDI_TEXTOUT_MESSAGE_BOX, messageBox);
  environment.SetTextOut(MIDI_TEXTOUT_ERROR_BUFFER, errors);
  QZP::CMemorySettings settings;
  CMidiSetup setup(environment, settings);
  setup.BindInput(environment.Inputs()[0], EndingWith(backend.InputNames(), ":qz-unit-out"), 0x10);
  setup.BindOutput(environment.Outputs()[0], EndingWith(backend.OutputNames(), ":qz-unit-in"), 0x10);
  ASSERT_TRUE(environment.IsSetupComplete()) << (box.messages.empty() ? "" : box.messages[0]);

  CReader reader;
  QZML::CWriter writer;
  reader.Bind(environment);
  writer.Bind(environment);
  writer.SetReader(&reader);

  QZML::CPatchArray source;
  source.Resize(8);
  QZML::CPatch& patch = *source.Get(5);
  for (int i = 0; i < QZML::kPatchImageSize; ++i)
    patch.Image()[i] = static_cast<std::uint8_t>((i * 37 + 11) & 0x7F);
  patch.SetName("Over {JACK}");
  ASSERT_TRUE(writer.WritePatches(QZML::AREA_USER, {5}, &source)) << errors->m_pendingError;

  QZML::CPatchArray back;
  back.Resize(8);
  ASSERT_TRUE(reader.ReadPatches(QZML::AREA_USER, {5}, &back)) << errors->m_pendingError;
  QZML::CParameterAddress addressing;
  for (int index = 0; index < QZML::kBlockCount; ++index) {
    const QZML::CBlockInstance& block = QZML::BlockInstance(index);
    if (!QZML::CParameterAddress::IsRead(block.kind->id))
      continue;
    const int size = addressing.GetBlockSize(QZML::AREA_USER, block.kind->id);
    EXPECT_TRUE(std::equal(patch.Image() + block.flatOffset, patch.Image() + block.flatOffset + size,
                           back.Get(5)->Image() + block.flatOffset))
        << addressing.GetDescription(QZML::AREA_USER, 5, block.kind->id, block.sub);
  }
  EXPECT_EQ(back.Get(5)->GetName(), "Over {JACK}     ");
  EXPECT_EQ(errors->m_pendingError, 0);
  EXPECT_EQ(messageBox->m_pendingError, 0);
  EXPECT_TRUE(box.messages.empty());

  setup.DisconnectAll();
  unitIn->Close();
  unit.Stop();
  unitOut->Close();
}
