#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "exclusive/orvanemessage.h"
#include "sim/simrunner.h"

using QZML::CByteArray;

namespace {

const CByteArray kIdentityRequest = {0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7};

CByteArray Request(std::uint32_t address, std::uint32_t size) {
  CZelAddressing port;
  port.modelId = CSimUnit::ModelIdBytes(QZML::MODEL_QZMAX);
  return MakeDataRequest(port, address, size).GetBytes();
}

struct CDelivery {
  std::int64_t at;
  CByteArray message;
};

// A unit behind a runner on a fake clock that starts at 1 s; Drain moves the clock from event to event.
struct CTimedBench {
  explicit CTimedBench(CSimOptions options) : unit(options), clock(1000000), runner(unit, clock) {
    runner.SetOutput([this](const CByteArray& m) { delivered.push_back({clock.NowUs(), m}); });
  }
  void Drain() {
    for (std::int64_t next = runner.Poll(); next >= 0; next = runner.Poll())
      clock.AdvanceTo(next);
  }
  CSimUnit unit;
  CSimFakeClock clock;
  CSimRunner runner;
  std::vector<CDelivery> delivered;
};

} // namespace

TEST(SimRunner, CableSpeedDelaysArrivalAndQueuesAnswers) {
  CSimOptions options;
  options.cableSpeed = true;
  CTimedBench bench(options);
  const std::int64_t t0 = bench.clock.NowUs();
  const CByteArray request = Request(QZML::ADDRESS_USER, 130);  // "PATCH FX1"
  ASSERT_EQ(request.size(), 17u);
  bench.runner.Send(request);
  bench.runner.Send(request);

  // Nothing reaches the unit before the request's last byte has crossed.
  bench.clock.Advance(17 * 320 - 1);
  bench.runner.Poll();
  EXPECT_EQ(bench.unit.Counters().dataRequests, 0);

  bench.Drain();
  ASSERT_EQ(bench.delivered.size(), 2u);
  ASSERT_EQ(bench.delivered[0].message.size(), 143u);
  EXPECT_EQ(bench.delivered[0].at, t0 + (17 + 143) * 320);
  // The second request arrived while the first answer was on the line; its answer follows it.
  EXPECT_EQ(bench.delivered[1].at, t0 + (17 + 143 + 143) * 320);
}

TEST(SimRunner, AnswerDelayAndActiveSensingTakeTheirTime) {
  CSimOptions options;
  options.answerDelayUs = 2500;
  CTimedBench plain(options);
  const std::int64_t t0 = plain.clock.NowUs();
  plain.runner.Send(kIdentityRequest);
  plain.clock.Advance(1000);
  plain.runner.Send(kIdentityRequest);
  plain.Drain();
  ASSERT_EQ(plain.delivered.size(), 2u);
  EXPECT_EQ(plain.delivered[0].at, t0 + 2500);
  EXPECT_EQ(plain.delivered[1].at, t0 + 3500);

  // On the cable each active sensing byte holds the line for one byte time ahead of the answer.
  options.cableSpeed = true;
  options.activeSensing = 3;
  CTimedBench flooded(options);
  const std::int64_t t1 = flooded.clock.NowUs();
  flooded.runner.Send(kIdentityRequest);
  flooded.Drain();
  ASSERT_EQ(flooded.delivered.size(), 4u);
  const std::int64_t arrival = t1 + 6 * 320 + 2500;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(flooded.delivered[i].message, CByteArray{0xFE});
    EXPECT_EQ(flooded.delivered[i].at, arrival + (i + 1) * 320);
  }
  EXPECT_EQ(flooded.delivered[3].at, arrival + (3 + 15) * 320);
}

TEST(SimRunner, TakesMessagesFromManyThreads) {
  CTimedBench bench{CSimOptions()};
  std::vector<std::thread> senders;
  for (int t = 0; t < 4; ++t)
    senders.emplace_back([&] {
      for (int i = 0; i < 100; ++i)
        bench.runner.Send(kIdentityRequest);
    });
  for (std::thread& sender : senders)
    sender.join();
  bench.Drain();
  EXPECT_EQ(bench.delivered.size(), 400u);
  EXPECT_EQ(bench.unit.Counters().identityRequests, 400);
}

TEST(SimRunner, ItsThreadAnswersOnTheSystemClock) {
  CSimUnit unit;
  CSimSystemClock clock;
  CSimRunner runner(unit, clock);
  std::atomic<int> answers{0};
  CByteArray last;
  runner.SetOutput([&](const CByteArray& m) {
    last = m;
    answers.fetch_add(1, std::memory_order_release);
  });
  ASSERT_TRUE(runner.Start());
  EXPECT_FALSE(runner.Start());
  runner.Send(Request(QZML::ADDRESS_USER + 0x900, 16));
  // Bounded only so that a broken runner fails instead of hanging; no speed is expected.
  for (int i = 0; i < 20000 && answers.load(std::memory_order_acquire) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  runner.Stop();
  EXPECT_FALSE(runner.IsRunning());
  ASSERT_EQ(answers.load(), 1);
  CZelOrvaneMessage answer;
  ASSERT_TRUE(answer.Parse(last, 4));
  const CByteArray name = answer.GetField(ORVANE_FIELD_DATA);
  EXPECT_EQ(std::string(name.begin(), name.end()), "INIT PATCH      ");
}
