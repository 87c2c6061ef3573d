// A write and a read of the unit over the real MIDI path: the simulated unit listens and answers on two
// JACK ports of its own, the program reaches it through RtMidi, its input thread and the Qt event loop.

#include <gtest/gtest.h>


#include "jacktestsupport.h"
#include "midi/midienvironment.h"
#include "midi/patchstream.h"
#include "midi/stack/midistack.h"
#include "model/parameteraddress.h"
#include "platform/qtdispatch.h"
#include "platform/rtmidibackend.h"
#include "sim/simdevice.h"
#include "textout/textout.h"
#include "transfertestsupport.h"

namespace {

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

} // namespace

TEST(JackTransfer, WriteAPatchAndReadItBack) {
  REQUIRE_JACK();
  CJackTestApp app;
  QZP::CQtUiDispatcher dispatcher(app.App());
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);

  CMessages box;
  CMidiStack stack;
  ASSERT_TRUE(stack.AddRealMidi("jack", "QZ-MAX Librarian")) << stack.RealMidiError();
  QZP::CRtMidiBackend& backend = stack.RealMidi();
  CSimDevice unit;
  std::unique_ptr<QZP::IMidiOutPort> unitOut = backend.OpenVirtualOutput("qz-unit-out");
  ASSERT_TRUE(unitOut) << backend.ErrorText();
  unit.SetOutput([&](const QZML::CByteArray& message) { unitOut->Send(message.data(), message.size()); });
  ASSERT_TRUE(unit.Start());
  CUnitInput input;
  input.device = &unit;
  std::unique_ptr<QZP::IMidiInPort> unitIn = backend.OpenVirtualInput("qz-unit-in", &input);
  ASSERT_TRUE(unitIn && unitIn->Start()) << backend.ErrorText();

  stack.Start(dispatcher, &box);
  stack.PreparePorts(QZML::MODEL_QZMAX);
  CZelTextOutBuffer* messageBox = new CZelTextOutBuffer;
  CZelTextOutBuffer* errors = new CZelTextOutBuffer;
  stack.SetTextOuts(messageBox, errors);
  CMidiEnvironment& environment = stack.Environment();
  ASSERT_TRUE(stack.ConnectUnit(EndingWith(backend.InputNames(), ":qz-unit-out"),
                                EndingWith(backend.OutputNames(), ":qz-unit-in"), 0x10))
      << (box.messages.empty() ? "" : box.messages[0]);

  CPumpingReader reader;
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
  ASSERT_TRUE(writer.WritePatches(QZML::AREA_USER, {5}, &source)) << static_cast<int>(errors->m_pendingError);

  QZML::CPatchArray back;
  back.Resize(8);
  ASSERT_TRUE(reader.ReadPatches(QZML::AREA_USER, {5}, &back)) << static_cast<int>(errors->m_pendingError);
  EXPECT_TRUE(SameBlocks(patch, *back.Get(5), QZML::CParameterAddress::IsRead));
  EXPECT_EQ(back.Get(5)->GetName(), "Over {JACK}     ");
  EXPECT_EQ(errors->m_pendingError, TEXTOUT_ERR_NONE);
  EXPECT_EQ(messageBox->m_pendingError, TEXTOUT_ERR_NONE);
  EXPECT_TRUE(box.messages.empty());

  stack.DisconnectAll();
  unitIn->Close();
  unit.Stop();
  unitOut->Close();
}
