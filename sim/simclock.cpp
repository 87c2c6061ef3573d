#include "sim/simclock.h"

#include <chrono>
#include <thread>

std::int64_t CSimSystemClock::NowUs() {
  using namespace std::chrono;
  return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

void CSimSystemClock::SleepUs(std::int64_t us) {
  if (us > 0)
    std::this_thread::sleep_for(std::chrono::microseconds(us));
}
