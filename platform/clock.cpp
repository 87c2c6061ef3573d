#include "platform/clock.h"

#include <chrono>
#include <thread>

namespace QZP {

std::uint64_t CSystemClock::NowMs() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void CSystemClock::SleepMs(std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

IClock& SystemClock() {
  static CSystemClock clock;
  return clock;
}

void CFakeClock::SleepMs(std::uint32_t ms) {
  m_sleeps.push_back(ms);
  m_now += ms;
  if (m_onSleep)
    m_onSleep(ms);
}

} // namespace QZP
