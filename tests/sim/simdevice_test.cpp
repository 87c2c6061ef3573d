#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "sim/simdevice.h"

using QZML::CByteArray;

namespace {
const CByteArray kIdentityRequest = {0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7};
}

TEST(SimDevice, AnswersOnTheSendingThreadWithoutTiming) {
  CSimDevice device;
  std::vector<CByteArray> sent;
  device.SetOutput([&](const CByteArray& m) { sent.push_back(m); });
  device.FromHost(kIdentityRequest);  // switched off: lost
  EXPECT_TRUE(sent.empty());
  ASSERT_TRUE(device.Start());
  EXPECT_FALSE(device.IsTimed());
  device.FromHost(kIdentityRequest);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0], CSimUnit::IdentityReply(QZML::MODEL_QZMAX, 0x10));
  device.Stop();
  device.FromHost(kIdentityRequest);
  EXPECT_EQ(sent.size(), 1u);
  EXPECT_EQ(device.Unit().Counters().identityRequests, 1);
}

TEST(SimDevice, AnswersThroughItsRunnerWithTiming) {
  CSimOptions options;
  options.answerDelayUs = 1000000;
  CSimFakeClock clock(0);
  CSimDevice device(options, &clock);
  std::atomic<std::int64_t> deliveredAt{-1};
  device.SetOutput([&](const CByteArray&) { deliveredAt = clock.NowUs(); });
  ASSERT_TRUE(device.Start());
  EXPECT_TRUE(device.IsTimed());
  const std::int64_t sentAt = clock.NowUs();
  device.FromHost(kIdentityRequest);
  // The runner's sleeps move the fake clock, so the second of delay passes at once; the bound only
  // keeps a broken runner from hanging the test.
  for (int i = 0; i < 20000 && deliveredAt.load() < 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  device.Stop();
  EXPECT_GE(deliveredAt.load(), sentAt + 1000000);
}
