#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "sim/port/simport.h"

using QZML::CByteArray;

namespace {

// Counts what arrives and keeps the first message, from whichever thread delivers it.
struct CFirstMessage : QZP::IMidiInputCallback {
  void MidiInputShort(std::uint32_t) override {}
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override {
    if (arrived.load(std::memory_order_relaxed) == 0) {
      first.assign(bytes, bytes + count);
      thread = std::this_thread::get_id();
    }
    arrived.fetch_add(1, std::memory_order_release);
  }
  CByteArray first;
  std::thread::id thread;
  std::atomic<int> arrived{0};
};

} // namespace

TEST(SimPort, TheBuiltInPairAnswersAtOnceOrAfterTheCableTime) {
  QZP::CVirtualMidiBackend backend;
  for (bool timing : {false, true}) {
    std::unique_ptr<CSimPort> sim = InstallSimulator(backend, QZML::MODEL_QZ5, 0x03, timing);
    ASSERT_TRUE(sim);
    EXPECT_EQ(InstallSimulator(backend, QZML::MODEL_QZMAX, 0x03, false), nullptr);
    EXPECT_EQ(backend.InputNames(), std::vector<std::string>{"QZ-MAX Simulator"});
    std::vector<CByteArray> seen;
    sim->Stop();
    sim->SetMonitor([&](const std::uint8_t* bytes, std::size_t count) { seen.emplace_back(bytes, bytes + count); });
    sim->Start();
    CFirstMessage input;
    auto in = backend.OpenInput(0, &input);
    auto out = backend.OpenOutput(0);
    ASSERT_TRUE(in && out && in->Start());
    const CByteArray request = {0xF0, 0x7E, 0x03, 0x06, 0x01, 0xF7};
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(out->Send(request.data(), request.size()));
    // Without timing the answer is in before Send returns, on the sending thread; with timing the unit's
    // thread brings it when six bytes there and fifteen back have crossed the cable (320 us each).
    for (int i = 0; i < 5000 && input.arrived.load(std::memory_order_acquire) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_EQ(input.arrived.load(std::memory_order_acquire), 1);
    EXPECT_EQ(input.first, CSimUnit::IdentityReply(QZML::MODEL_QZ5, 0x03));
    EXPECT_EQ(input.thread == std::this_thread::get_id(), !timing);
    // So the sender need not wait for a cable without timing, and paces itself as on one with it.
    EXPECT_EQ(out->DeliversAtOnce(), !timing);
    if (timing) {
      EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(21 * 320));
    }
    EXPECT_EQ(seen, std::vector<CByteArray>{request});
    EXPECT_EQ(sim->Delivered(), 1);
    in->Close();
    sim.reset();
    EXPECT_TRUE(backend.InputNames().empty());
  }
}
