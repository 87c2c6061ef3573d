#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/uidispatch.h"
#include "platform/wakeup.h"

using Clock = std::chrono::steady_clock;

TEST(Wakeup, ASignalEndsTheWaitOnceAndAWaitWithoutOneRunsOut) {
  QZP::CWakeup wakeup;
  wakeup.Signal();
  wakeup.Signal();
  auto start = Clock::now();
  wakeup.Wait(60000); // signalled before: returns at once, and takes both signals
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
  start = Clock::now();
  wakeup.Wait(20);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));

  std::thread signaller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    wakeup.Signal();
  });
  start = Clock::now();
  wakeup.Wait(60000);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
  signaller.join();
}

TEST(Wakeup, ProcessPendingReturnsWhenAPostArrives) {
  QZP::CManualDispatcher dispatcher;
  std::atomic<bool> ran{false};
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    dispatcher.Post([&] { ran = true; });
  });
  const auto start = Clock::now();
  while (!ran.load() && Clock::now() - start < std::chrono::seconds(30))
    dispatcher.ProcessPending(60000);
  EXPECT_TRUE(ran.load());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
  poster.join();
}
