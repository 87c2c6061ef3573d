#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "sim/port/simport.h"

using QZML::CByteArray;

namespace {

const CByteArray kIdentityRequest = {0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7};

// Keeps the first message that arrives, from whichever thread delivers it.
struct CFirstMessage : QZP::IMidiInputCallback {
  void MidiInputShort(std::uint32_t) override {}
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override {
    if (count_.load(std::memory_order_relaxed) == 0) {
      bytes_.assign(bytes, bytes + count);
      thread = std::this_thread::get_id();
    }
    count_.fetch_add(1, std::memory_order_release);
  }
  int Count() const { return count_.load(std::memory_order_acquire); }
  CByteArray bytes_;
  std::thread::id thread;
  std::atomic<int> count_{0};
};

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

TEST(SimPort, AppearsAsTheBuiltInPairWhileInstalled) {
  QZP::CVirtualMidiBackend backend;
  {
    std::unique_ptr<CSimPort> sim = InstallSimulator(backend, QZML::MODEL_QZMAX, 0x10, false);
    ASSERT_TRUE(sim);
    EXPECT_EQ(InstallSimulator(backend, QZML::MODEL_QZ5, 0x10, false), nullptr);
    EXPECT_TRUE(Contains(backend.InputNames(), "QZ-MAX Simulator"));
    EXPECT_TRUE(Contains(backend.OutputNames(), "QZ-MAX Simulator"));

    // Without timing the answer comes back on the sending thread, before Send returns.
    CFirstMessage input;
    std::vector<CByteArray> seen;
    sim->Stop();
    sim->SetMonitor([&](const std::uint8_t* bytes, std::size_t count) { seen.emplace_back(bytes, bytes + count); });
    sim->Start();
    auto in = backend.OpenInput(0, &input);
    auto out = backend.OpenOutput(0);
    ASSERT_TRUE(in && out && in->Start());
    ASSERT_TRUE(out->Send(kIdentityRequest.data(), kIdentityRequest.size()));
    ASSERT_EQ(input.Count(), 1);
    EXPECT_EQ(input.bytes_, CSimUnit::IdentityReply(QZML::MODEL_QZMAX, 0x10));
    EXPECT_EQ(input.thread, std::this_thread::get_id());
    EXPECT_EQ(seen, std::vector<CByteArray>{kIdentityRequest});
    EXPECT_EQ(sim->Delivered(), 1);
    in->Close();
  }
  EXPECT_TRUE(backend.InputNames().empty());
}

TEST(SimPort, WithTimingItsThreadAnswersAfterTheCableTime) {
  QZP::CVirtualMidiBackend backend;
  std::unique_ptr<CSimPort> sim = InstallSimulator(backend, QZML::MODEL_QZ5, 0x03, true);
  ASSERT_TRUE(sim && sim->Device().IsTimed());
  CFirstMessage input;
  auto in = backend.OpenInput(0, &input);
  auto out = backend.OpenOutput(0);
  ASSERT_TRUE(in && out && in->Start());
  const CByteArray request = {0xF0, 0x7E, 0x03, 0x06, 0x01, 0xF7};
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(out->Send(request.data(), request.size()));
  for (int i = 0; i < 5000 && input.Count() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(input.Count(), 1);
  EXPECT_EQ(input.bytes_, CSimUnit::IdentityReply(QZML::MODEL_QZ5, 0x03));
  EXPECT_NE(input.thread, std::this_thread::get_id());
  // Six bytes there and fifteen back, 320 us each.
  EXPECT_GE(took, std::chrono::microseconds(21 * 320));
  in->Close();
}
