// The real path: RtMidi on a JACK server (tools/test starts one with its dummy driver). Messages leave
// through CMidiOut, pass a relay of two ports of our own, come back into CMidiIn and reach logical
// input 0 on the Qt event loop's thread.

#include <gtest/gtest.h>

#include <thread>

#include "exclusive/shortmessage.h"
#include "jacktestsupport.h"
#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "midi/stack/midistack.h"
#include "platform/clock.h"
#include "platform/qtdispatch.h"
#include "platform/rtmidibackend.h"
#include "platform/settings.h"

namespace {

struct CBox : IMidiMessageBox {
  void ShowMidiMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// Sends whatever arrives at its input port straight out of its output port (on JACK's thread).
struct CRelay : QZP::IMidiInputCallback {
  void MidiInputShort(std::uint32_t packed) override {
    QZML::CByteArray bytes = ShortMessageToBytes(packed);
    if (!bytes.empty())
      out->Send(bytes.data(), bytes.size());
  }
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override { out->Send(bytes, count); }
  std::unique_ptr<QZP::IMidiOutPort> out;
};

struct CUiHandler : IZelMidiMessageHandler {
  bool OnShortMessage(std::uint32_t packed) override {
    onUiThread = onUiThread && std::this_thread::get_id() == uiThread;
    shorts.push_back(packed);
    return true;
  }
  bool OnDataSet(const CZelOrvaneMessage& message) override {
    onUiThread = onUiThread && std::this_thread::get_id() == uiThread;
    dataSets.push_back(message.GetBytes());
    return true;
  }
  std::thread::id uiThread = std::this_thread::get_id();
  bool onUiThread = true;
  std::vector<std::uint32_t> shorts;
  std::vector<QZML::CByteArray> dataSets;
};

TEST(Jack, ErrorsComeBackAsText) {
  QZP::CRtMidiBackend backend;
  EXPECT_FALSE(backend.Init("nonsense"));
  EXPECT_EQ(backend.ErrorText(), "Unknown MIDI system \"nonsense\".");
  EXPECT_EQ(backend.OpenOutput(0), nullptr);
  EXPECT_EQ(backend.ErrorText(), "No MIDI system is available.");
  REQUIRE_JACK();
  ASSERT_TRUE(backend.Init("jack")) << backend.ErrorText();
  EXPECT_EQ(backend.Name(), "JACK");
  QZP::IMidiInputCallback* none = nullptr;
  EXPECT_EQ(backend.OpenInput(100000, none), nullptr);
  EXPECT_EQ(backend.ErrorText(), "The MIDI input port does not exist.");
}

TEST(Jack, MessagesTravelThroughTheServerToTheUiThread) {
  REQUIRE_JACK();
  CJackTestApp app;
  QZP::CQtUiDispatcher dispatcher(app.App());

  CBox box;
  CUiHandler handler;
  QZP::CMemorySettings settings;
  CMidiStack stack;
  ASSERT_TRUE(stack.AddRealMidi("auto", "QZ-MAX Librarian")) << stack.RealMidiError();
  QZP::CRtMidiBackend& backend = stack.RealMidi();
  CRelay relay;
  relay.out = backend.OpenVirtualOutput("qz-relay-out");
  ASSERT_TRUE(relay.out) << backend.ErrorText();
  std::unique_ptr<QZP::IMidiInPort> relayIn = backend.OpenVirtualInput("qz-relay-in", &relay);
  ASSERT_TRUE(relayIn) << backend.ErrorText();
  ASSERT_TRUE(relayIn->Start());

  const std::string outName = EndingWith(backend.OutputNames(), ":qz-relay-in");
  const std::string inName = EndingWith(backend.InputNames(), ":qz-relay-out");
  ASSERT_FALSE(outName.empty());
  ASSERT_FALSE(inName.empty());

  settings.WriteString("MIDIInConnection", "MIDIInDevice0", inName);
  settings.WriteInt("MIDIInConnection", "MIDIInDeviceId0", 16);
  settings.WriteString("MIDIOutConnection", "MIDIOutDevice0", outName);
  settings.WriteInt("MIDIOutConnection", "MIDIOutDeviceId0", 16);
  stack.Start(dispatcher, &box, &settings);
  stack.PreparePorts(QZML::MODEL_QZMAX);
  CMidiEnvironment& environment = stack.Environment();
  environment.Inputs()[0].m_messageHandler = &handler;
  stack.Setup().Load();
  ASSERT_TRUE(environment.IsSetupComplete()) << (box.messages.empty() ? "" : box.messages[0]);

  // A full-size block of the unit, a note and active sensing, which must not arrive.
  QZML::CByteArray block(220);
  for (std::size_t i = 0; i < block.size(); ++i)
    block[i] = static_cast<std::uint8_t>(i & 0x7F);
  CZelMidiOut& out = environment.Outputs()[0];
  out.SendShort(0xFE);
  out.SendDataSet(0x1000000, block);
  const QZML::CByteArray sent = out.GetLastMessage();
  out.SendShort(0x643C90);

  const std::uint64_t deadline = QZP::SystemClock().NowMs() + 10000;
  while ((handler.dataSets.empty() || handler.shorts.empty()) && QZP::SystemClock().NowMs() < deadline)
    dispatcher.ProcessPending(20);
  // Give a stray message time to show up before looking.
  const std::uint64_t settle = QZP::SystemClock().NowMs() + 200;
  while (QZP::SystemClock().NowMs() < settle)
    dispatcher.ProcessPending(20);

  ASSERT_EQ(handler.dataSets.size(), 1u);
  EXPECT_EQ(handler.dataSets[0], sent);
  EXPECT_EQ(handler.shorts, (std::vector<std::uint32_t>{0x643C90}));
  EXPECT_TRUE(handler.onUiThread);
  EXPECT_TRUE(box.messages.empty());

  stack.DisconnectAll();
  relayIn->Close();
  relay.out->Close();
}

} // namespace
