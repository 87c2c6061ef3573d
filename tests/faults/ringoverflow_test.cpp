// An input flooded faster than its event thread drains: the backend's thread keeps storing while the
// handler is held up. What does not fit is dropped and counted; nothing stored is overwritten.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "midi/midiin.h"
#include "miditestsupport.h"

namespace {

// Holds the event thread inside the first short message until released.
struct CHeldInput : CMidiIn {
  using CMidiIn::CMidiIn;
  void OnShortData(std::uint32_t packed) override {
    if (hold.exchange(false)) {
      held.store(true);
      while (!release.load())
        std::this_thread::yield();
    }
    events.push_back(static_cast<std::int64_t>(packed));
    count.fetch_add(1);
  }
  void OnLongData(const std::uint8_t* bytes, std::size_t size) override {
    events.push_back(-1 - static_cast<std::int64_t>(exclusives.size()));
    exclusives.emplace_back(bytes, bytes + size);
    count.fetch_add(1);
  }
  // Bounded, so a lost event fails the test instead of hanging it.
  bool WaitFor(int total) const {
    for (long i = 0; i < 200000000L && count.load() < total; ++i)
      std::this_thread::yield();
    return count.load() >= total;
  }

  std::atomic<bool> hold{true}, held{false}, release{false};
  std::atomic<int> count{0};
  std::vector<std::int64_t> events; // short messages as they are; exclusive k as -1-k
  std::vector<QZML::CByteArray> exclusives;
};

QZML::CByteArray Exclusive(int n) { return Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, n & 0x7F, (n >> 7) & 0x7F, 0xF7}); }

std::uint32_t Control(int n) { return 0xB0u | static_cast<std::uint32_t>(n & 0x7F) << 16 | (n >> 7 & 0x7F) << 8; }

TEST(RingOverflow, NewEventsAreDroppedAndTheStoredOnesArriveInOrder) {
  CScriptedBackend backend;
  CRecordingMessageBox box;
  CMidiServices services;
  services.backend = &backend;
  services.messageBox = &box;
  auto in = std::make_unique<CHeldInput>(services);
  ASSERT_TRUE(in->OpenByName("Scripted"));
  ASSERT_TRUE(in->Start());
  QZP::IMidiInputCallback* driver = backend.callback;

  driver->MidiInputShort(Control(0));
  for (long i = 0; i < 200000000L && !in->held.load(); ++i)
    std::this_thread::yield();
  ASSERT_TRUE(in->held.load());

  // The ring holds one event less than its capacity; every 100th message is exclusive (20 of the 32
  // queued buffers). Then a further 1000 messages, exclusive ones among them, find it full.
  const int fits = static_cast<int>(CMidiIn::CEventRing::kCapacity) - 1;
  std::vector<std::int64_t> expected{Control(0)};
  std::vector<QZML::CByteArray> expectedExclusives;
  for (int n = 1; n <= fits + 1000; ++n) {
    if (n % 100 == 0) {
      const QZML::CByteArray message = Exclusive(n);
      driver->MidiInputLong(message.data(), message.size());
      if (n <= fits) {
        expected.push_back(-1 - static_cast<std::int64_t>(expectedExclusives.size()));
        expectedExclusives.push_back(message);
      }
    } else {
      driver->MidiInputShort(Control(n));
      if (n <= fits)
        expected.push_back(Control(n));
    }
  }
  EXPECT_EQ(in->DroppedCount(), 1000u);

  in->release.store(true);
  ASSERT_TRUE(in->WaitFor(1 + fits));
  // Drained: new messages, short and exclusive, come through as before and nothing more is dropped.
  for (int n = 0; n < 300; ++n) {
    const int value = 5000 + n;
    if (n % 3 == 0) {
      const QZML::CByteArray message = Exclusive(value);
      driver->MidiInputLong(message.data(), message.size());
      expected.push_back(-1 - static_cast<std::int64_t>(expectedExclusives.size()));
      expectedExclusives.push_back(message);
    } else {
      driver->MidiInputShort(Control(value));
      expected.push_back(Control(value));
    }
    ASSERT_TRUE(in->WaitFor(1 + fits + n + 1)); // one at a time: the buffers keep coming back
  }
  ASSERT_TRUE(in->Stop());
  EXPECT_EQ(in->DroppedCount(), 1000u);
  EXPECT_EQ(in->events, expected);
  EXPECT_EQ(in->exclusives, expectedExclusives);
  EXPECT_TRUE(box.messages.empty());
}

} // namespace
