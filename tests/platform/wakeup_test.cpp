#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/uidispatch.h"
#include "platform/wakeup.h"

TEST(Wakeup, AWaitingDispatcherRunsAPostAsItArrives) {
  using Clock = std::chrono::steady_clock;
  QZP::CWakeup wakeup;
  wakeup.Signal();
  auto start = Clock::now();
  wakeup.Wait(60000); // signalled before: returns at once, and the signal is used up
  wakeup.Wait(20);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(20));
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));

  // Without a bound only a signal ends the wait (an idle MIDI input's event thread waits so).
  std::thread signaller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    wakeup.Signal();
  });
  wakeup.Wait(QZP::CWakeup::kForever);
  signaller.join();

  QZP::CManualDispatcher dispatcher;
  std::atomic<bool> ran{false};
  std::thread poster([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    dispatcher.Post([&] { ran = true; });
  });
  start = Clock::now();
  dispatcher.ProcessPending(60000);
  EXPECT_TRUE(ran.load());
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(30));
  poster.join();
}
