#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "midi/midiindevice.h"
#include "midi/midiout.h"
#include "miditestsupport.h"

namespace {

TEST(EventRing, DropsNewEventsWhenFull) {
  auto ring = std::make_unique<CMidiIn::CEventRing>();
  ring->Reset();
  EXPECT_EQ(ring->Pop(), CMidiIn::EVENT_EMPTY);
  int stored = 0;
  while (ring->Push(stored))
    ++stored;
  EXPECT_EQ(stored, 2047);
  EXPECT_FALSE(ring->Push(99999));
  // The unread events are all there, in order; the slot taken is free again.
  EXPECT_EQ(ring->Pop(), 0);
  EXPECT_TRUE(ring->Push(5000));
  for (int i = 1; i < 2047; ++i)
    ASSERT_EQ(ring->Pop(), i);
  EXPECT_EQ(ring->Pop(), 5000);
  EXPECT_EQ(ring->Pop(), CMidiIn::EVENT_EMPTY);
}

struct CCountingIn : CMidiIn {
  using CMidiIn::CMidiIn;
  void OnShortData(std::uint32_t packed) override { shorts.push_back(packed); }
  void OnLongData(const std::uint8_t* bytes, std::size_t count) override {
    longs.emplace_back(bytes, bytes + count);
    longCount.fetch_add(1);
  }
  void OnLongError() override { ++longErrors; }
  void OnMoreData() override { ++moreData; }
  std::vector<std::uint32_t> shorts;
  std::vector<QZML::CByteArray> longs;
  std::atomic<int> longCount{0}; // what the test thread may look at while the event thread runs
  int longErrors = 0;
  int moreData = 0;
};

struct ScriptedInput : ::testing::Test {
  ScriptedInput() {
    services.backend = &backend;
    services.messageBox = &box;
    in = std::make_unique<CCountingIn>(services);
  }
  CScriptedBackend backend;
  CRecordingMessageBox box;
  CMidiServices services;
  std::unique_ptr<CCountingIn> in;
};

TEST_F(ScriptedInput, ExclusiveLongerThanABufferIsRefused) {
  ASSERT_TRUE(in->OpenByName("Scripted"));
  ASSERT_TRUE(in->Start());
  QZML::CByteArray big(3000, 0x01);
  big.front() = 0xF0;
  big.back() = 0xF7;
  backend.callback->MidiInputLong(big.data(), big.size());
  QZML::CByteArray fits(2048, 0x02);
  fits.front() = 0xF0;
  fits.back() = 0xF7;
  backend.callback->MidiInputLong(fits.data(), fits.size());
  backend.callback->MidiInputStatus(QZP::MIDI_INPUT_MORE_DATA);
  ASSERT_TRUE(in->Stop());
  EXPECT_EQ(in->DroppedCount(), 1u);
  EXPECT_EQ(in->longErrors, 1);
  EXPECT_EQ(in->moreData, 1);
  ASSERT_EQ(in->longs.size(), 1u);
  EXPECT_EQ(in->longs[0], fits);
}

TEST_F(ScriptedInput, BuffersThatComeBackEmptyAreNotReplaced) {
  ASSERT_TRUE(in->OpenByName("Scripted"));
  ASSERT_TRUE(in->Start());
  // Every queued buffer comes back empty: nothing is handed on, nothing queued again...
  for (std::uint32_t i = 0; i < CMidiIn::kQueuedPackets; ++i)
    backend.callback->MidiInputLong(nullptr, 0);
  // ...so the next exclusive message finds no buffer and is lost.
  const QZML::CByteArray message = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0xF7});
  backend.callback->MidiInputLong(message.data(), message.size());
  ASSERT_TRUE(in->Stop());
  EXPECT_TRUE(in->longs.empty());
  EXPECT_EQ(in->DroppedCount(), 1u);
}

TEST_F(ScriptedInput, FilledBuffersAreQueuedAgain) {
  ASSERT_TRUE(in->OpenByName("Scripted"));
  ASSERT_TRUE(in->Start());
  QZML::CByteArray message = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x00, 0xF7});
  // Far more messages than buffers, in batches below the 32 queued: each buffer comes back and is replaced.
  for (int batch = 0; batch < 15; ++batch) {
    for (int i = batch * 20; i < batch * 20 + 20; ++i) {
      message[5] = static_cast<std::uint8_t>(i & 0x7F);
      backend.callback->MidiInputLong(message.data(), message.size());
    }
    while (in->longCount.load() < batch * 20 + 20 && in->DroppedCount() == 0)
      std::this_thread::yield();
  }
  ASSERT_TRUE(in->Stop());
  EXPECT_EQ(in->DroppedCount(), 0u);
  ASSERT_EQ(in->longs.size(), 300u);
  EXPECT_EQ(in->longs[299][5], 299 & 0x7F);
}

TEST_F(ScriptedInput, NothingIsStoredWhileStopped) {
  ASSERT_TRUE(in->OpenByName("Scripted"));
  QZP::IMidiInputCallback* callback = backend.callback;
  callback->MidiInputShort(0x643C90); // opened, not started
  ASSERT_TRUE(in->Start());
  callback->MidiInputShort(0x7F3C90);
  ASSERT_TRUE(in->Stop());
  callback->MidiInputShort(0x003C80); // a late call after Stop
  EXPECT_FALSE(in->DispatchEvent());
  EXPECT_EQ(in->shorts, (std::vector<std::uint32_t>{0x7F3C90}));
  EXPECT_TRUE(in->Close());
  EXPECT_FALSE(in->Close());
  EXPECT_FALSE(in->Stop());
}

TEST(MidiInDevice, RealTimeNeverReachesTheLogicalInputs) {
  CLoopbackRig rig;
  CRecordingInput logical;
  CMidiInDevice device(rig.services, "Loop A");
  ASSERT_TRUE(device.OpenDevice());
  EXPECT_TRUE(device.Attach(&logical));
  EXPECT_FALSE(device.Attach(&logical));
  CMidiOutDevice out(rig.services, "Loop A");
  ASSERT_TRUE(out.OpenByName("Loop A"));
  const QZML::CByteArray exclusive = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0xF7});
  for (const QZML::CByteArray& bytes : {Bytes({0xFE}), Bytes({0xF8}), Bytes({0xF2, 0x01, 0x02}),
                                        Bytes({0x90, 0x3C, 0x64}), exclusive, Bytes({0xC5, 0x10})})
    EXPECT_TRUE(out.Send(bytes));
  ASSERT_TRUE(rig.dispatcher.RunUntil([&] { return logical.received.size() >= 3; }, 5000));
  EXPECT_TRUE(device.CloseDevice());
  rig.dispatcher.RunPending();
  EXPECT_EQ(logical.received,
            (std::vector<QZML::CByteArray>{Bytes({0x90, 0x3C, 0x64}), exclusive, Bytes({0xC5, 0x10})}));
}

TEST(MidiInDevice, ClosingDiscardsWhatIsStillOnItsWay) {
  CLoopbackRig rig;
  CRecordingInput logical;
  auto device = std::make_unique<CMidiInDevice>(rig.services, "Loop A");
  ASSERT_TRUE(device->OpenDevice());
  device->Attach(&logical);
  const QZML::CByteArray note = Bytes({0x90, 0x3C, 0x64});
  ASSERT_TRUE(rig.backend.ToProgram("Loop A", note.data(), note.size()));
  device.reset(); // the event thread has drained into the queue; the posts now find no device
  rig.dispatcher.RunPending();
  EXPECT_TRUE(logical.received.empty());
  // The port is free again.
  CMidiInDevice again(rig.services, "Loop A");
  EXPECT_TRUE(again.OpenDevice());
  EXPECT_TRUE(rig.box.messages.empty());
}

// Messages injected from a thread of their own, as a driver would, while the event thread drains and
// the user-interface thread dispatches; run under ThreadSanitizer as well.
TEST(MidiInDevice, ManyMessagesFromAnotherThreadArriveInOrder) {
  CLoopbackRig rig;
  CRecordingInput logical;
  for (int round = 0; round < 3; ++round) {
    logical.received.clear();
    CMidiInDevice device(rig.services, "Loop A");
    ASSERT_TRUE(device.OpenDevice());
    device.Attach(&logical);
    const int count = 1000;
    std::thread driver([&] {
      for (int i = 0; i < count; ++i) {
        QZML::CByteArray bytes;
        if (i % 4 == 0)
          bytes = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, i & 0x7F, (i >> 7) & 0x7F, 0xF7});
        else
          bytes = Bytes({0xB0, (i >> 7) & 0x7F, i & 0x7F});
        rig.backend.ToProgram("Loop A", bytes.data(), bytes.size());
        // About two exclusive messages a millisecond: well within the 32 queued buffers.
        if (i % 8 == 7)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
    bool all = rig.dispatcher.RunUntil(
        [&] { return logical.received.size() + device.DroppedCount() >= static_cast<std::size_t>(count); }, 20000);
    driver.join();
    EXPECT_TRUE(device.CloseDevice());
    ASSERT_TRUE(all);
    // Whatever got through came in the order it was sent; a slow event thread may lose exclusive
    // messages when every buffer is in use, never short ones.
    EXPECT_GE(logical.received.size(), static_cast<std::size_t>(count * 3 / 4));
    int last = -1;
    for (const QZML::CByteArray& bytes : logical.received) {
      int i = bytes[0] == 0xF0 ? bytes[5] | bytes[6] << 7 : bytes[2] | bytes[1] << 7;
      ASSERT_GT(i, last);
      last = i;
    }
  }
}

} // namespace
