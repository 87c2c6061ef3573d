#include <gtest/gtest.h>

#include "midi/midiin.h"
#include "midi/midiout.h"
#include "midi/zelmidiout.h"
#include "miditestsupport.h"
#include "platform/midibackend.h"

namespace {

QZML::CByteArray Exclusive(std::size_t size) {
  QZML::CByteArray bytes(size, 0x01);
  bytes.front() = 0xF0;
  bytes.back() = 0xF7;
  return bytes;
}

TEST(MidiOut, SendLongWaitsForTheCableThenPolls) {
  CLoopbackRig rig;
  CMidiOut out(rig.services);
  ASSERT_TRUE(out.OpenByName("Peer"));
  EXPECT_EQ(CMidiOut::TransmissionMs(138), 39u);

  EXPECT_TRUE(out.SendLong(Exclusive(138)));
  EXPECT_EQ(rig.clock.m_sleeps, (std::vector<std::uint32_t>{39}));
  ASSERT_EQ(rig.peer.received.size(), 1u);
  EXPECT_EQ(rig.peer.received[0], Exclusive(138));

  // Time already spent on the way counts: 5 ms gone leaves (138000 - 5 * 3472) / 3472 = 34 ms.
  rig.clock.m_sleeps.clear();
  rig.peer.clock = &rig.clock;
  rig.peer.advanceMs = 5;
  EXPECT_TRUE(out.SendLong(Exclusive(138)));
  EXPECT_EQ(rig.clock.m_sleeps, (std::vector<std::uint32_t>{34}));

  // Nothing to wait for once the message's time has passed.
  rig.clock.m_sleeps.clear();
  rig.peer.advanceMs = 40;
  EXPECT_TRUE(out.SendLong(Exclusive(138)));
  EXPECT_TRUE(rig.clock.m_sleeps.empty());
  EXPECT_TRUE(rig.box.messages.empty());
}

TEST(MidiOut, NoCableWaitForAnAnsweredRequestOrAPortThatDeliversAtOnce) {
  CLoopbackRig rig;
  CMidiOutDevice out(rig.services, "Peer");
  ASSERT_TRUE(out.OpenByName("Peer"));
  // The answer to a request tells that it arrived; its cable time is not waited for.
  EXPECT_TRUE(out.SendAnswered(Exclusive(17)));
  EXPECT_TRUE(rig.clock.m_sleeps.empty());
  EXPECT_TRUE(out.Send(Exclusive(17)));
  EXPECT_EQ(rig.clock.m_sleeps, (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(rig.peer.received.size(), 2u);

  // A loopback has handed the message over when Send returns: no cable to wait for.
  rig.clock.m_sleeps.clear();
  CMidiOut loop(rig.services);
  ASSERT_TRUE(loop.OpenByName("Loop A"));
  EXPECT_TRUE(loop.SendLong(Exclusive(138)));
  EXPECT_TRUE(rig.clock.m_sleeps.empty());
  EXPECT_TRUE(rig.box.messages.empty());
}

TEST(MidiOut, SendLongTimesOutAndRecovers) {
  CLoopbackRig rig;
  CMidiOut out(rig.services);
  ASSERT_TRUE(out.OpenByName("Peer"));
  rig.backend.SetStalled("Peer", true);
  std::uint64_t start = rig.clock.NowMs();
  EXPECT_FALSE(out.SendLong(Exclusive(138)));
  EXPECT_EQ(rig.box.messages, (std::vector<std::string>{"Unable to send MIDI system exclusive. Timeout."}));
  EXPECT_GE(rig.clock.NowMs() - start, 2000u);
  EXPECT_LT(rig.clock.NowMs() - start, 2010u);
  EXPECT_EQ(rig.clock.m_sleeps.front(), 39u);
  EXPECT_EQ(rig.clock.m_sleeps.back(), 10u);

  // The next message is sent after the port let go of the stuck one.
  rig.backend.SetStalled("Peer", false);
  EXPECT_TRUE(out.SendLong(Exclusive(20)));
  EXPECT_EQ(rig.peer.received.size(), 2u);
  EXPECT_EQ(rig.box.messages.size(), 1u);
}

TEST(MidiOut, RefusalsAndDriverErrors) {
  CLoopbackRig rig;
  CMidiOut out(rig.services);
  // Nothing open: silent failures.
  EXPECT_FALSE(out.SendShort(0x90));
  EXPECT_FALSE(out.SendLong(Exclusive(10)));
  EXPECT_FALSE(out.Close());
  // No port of that name: no message either.
  EXPECT_FALSE(out.OpenByName("Nowhere"));
  EXPECT_FALSE(out.OpenByName("Loop"));
  EXPECT_TRUE(rig.box.messages.empty());

  ASSERT_TRUE(out.OpenByName("Peer"));
  // Longer than the packet: refused, nothing sent.
  EXPECT_TRUE(out.SendLong(Exclusive(2048)));
  EXPECT_FALSE(out.SendLong(Exclusive(2049)));
  EXPECT_EQ(rig.peer.received.size(), 1u);
  // A failing port shows its own text.
  rig.backend.SetFailing("Peer", true);
  EXPECT_FALSE(out.SendShort(0x643C90));
  ASSERT_EQ(rig.box.messages.size(), 1u);
  EXPECT_EQ(rig.box.messages[0], "The MIDI output port \"Peer\" failed.");
  EXPECT_TRUE(out.Close());
  EXPECT_FALSE(out.IsOpen());
}

TEST(MidiOut, SameNameTwiceOpensTheLowerIndex) {
  QZP::CVirtualMidiBackend first, second;
  CRecordingPeer firstPeer, secondPeer;
  first.AddPeer("Twin", &firstPeer);
  second.AddPeer("Twin", &secondPeer);
  QZP::CMidiBackendChain chain;
  chain.Add(&first);
  chain.Add(&second);
  EXPECT_EQ(chain.OutputNames(), (std::vector<std::string>{"Twin", "Twin"}));
  CMidiServices services;
  services.backend = &chain;
  CMidiOutDevice device(services, "Twin");
  ASSERT_TRUE(device.OpenByName("Twin"));
  EXPECT_TRUE(device.Send(Bytes({0xC5, 0x10})));
  EXPECT_EQ(firstPeer.received.size(), 1u);
  EXPECT_TRUE(secondPeer.received.empty());
}

// An input that keeps what the event thread hands it (the test reads it after Stop has joined).
struct CCollectingIn : CMidiIn {
  using CMidiIn::CMidiIn;
  void OnShortData(std::uint32_t packed) override { shorts.push_back(packed); }
  void OnLongData(const std::uint8_t* bytes, std::size_t count) override { longs.emplace_back(bytes, bytes + count); }
  std::vector<std::uint32_t> shorts;
  std::vector<QZML::CByteArray> longs;
};

TEST(MidiOutDevice, PacksShortMessagesAndSendsExclusiveWhole) {
  CLoopbackRig rig;
  CCollectingIn in(rig.services);
  ASSERT_TRUE(in.OpenByName("Loop A"));
  ASSERT_TRUE(in.Start());
  CMidiOutDevice device(rig.services, "Loop A");
  ASSERT_TRUE(device.OpenByName(device.GetName()));
  EXPECT_TRUE(device.Send(Bytes({0x90, 0x3C, 0x64})));
  EXPECT_TRUE(device.Send(Bytes({0xFE})));
  EXPECT_TRUE(device.Send(Bytes({0xF0, 0x7E, 0xF7}))); // short but exclusive: goes out whole
  EXPECT_FALSE(device.Send({}));
  ASSERT_TRUE(in.Stop());
  EXPECT_EQ(in.shorts, (std::vector<std::uint32_t>{0x643C90, 0xFE}));
  EXPECT_EQ(in.longs, (std::vector<QZML::CByteArray>{Bytes({0xF0, 0x7E, 0xF7})}));
}

TEST(ZelMidiOut, BuildsTheUnitsMessages) {
  CLoopbackRig rig;
  CZelMidiOut out;
  out.m_modelId = {0x00, 0x00, 0x0B};
  // Unbound: built and recorded, nothing sent.
  out.SendRequest(0x10u << 21 | 0xF0000000u, 0x7F);
  EXPECT_EQ(out.GetLastMessage(), Bytes({0xF0, 0x41, 0x10, 0x00, 0x00, 0x0B, 0x11, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0x00, 0x7F, 0x71, 0xF7}));

  CMidiOutDevice device(rig.services, "Peer");
  ASSERT_TRUE(device.OpenByName("Peer"));
  out.SetDevice(&device);
  out.SendDataSet(0x1000000, Bytes({0x40}));
  QZML::CByteArray expected =
      Bytes({0xF0, 0x41, 0x10, 0x00, 0x00, 0x0B, 0x12, 0x08, 0x00, 0x00, 0x00, 0x40, 0x38, 0xF7});
  EXPECT_EQ(out.GetLastMessage(), expected);
  out.SendShort(0x10C5);
  EXPECT_EQ(out.GetLastMessage(), Bytes({0xC5, 0x10}));
  ASSERT_EQ(rig.peer.received.size(), 2u);
  EXPECT_EQ(rig.peer.received[0], expected);
  EXPECT_EQ(rig.peer.received[1], Bytes({0xC5, 0x10}));
}

} // namespace
