#pragma once
// Time as the simulated unit sees it, in microseconds (one byte takes 320 us on a MIDI cable).
// Programs use the steady system clock; tests use CSimFakeClock, which moves only when told or slept on.

#include <atomic>
#include <cstdint>

class ISimClock {
public:
  virtual ~ISimClock() = default;
  // Microseconds since an arbitrary start, never going back. Called from more than one thread.
  virtual std::int64_t NowUs() = 0;
  virtual void SleepUs(std::int64_t us) = 0;
};

class CSimSystemClock : public ISimClock {
public:
  std::int64_t NowUs() override;
  void SleepUs(std::int64_t us) override;
};

// A clock whose sleeps move its own time forward at once.
class CSimFakeClock : public ISimClock {
public:
  explicit CSimFakeClock(std::int64_t start = 0) : m_now(start) {}
  std::int64_t NowUs() override { return m_now.load(); }
  void SleepUs(std::int64_t us) override {
    if (us > 0)
      m_now += us;
  }
  void Advance(std::int64_t us) { SleepUs(us); }
  // Moves to t when t lies ahead; time never goes back.
  void AdvanceTo(std::int64_t t) {
    std::int64_t now = m_now.load();
    while (t > now && !m_now.compare_exchange_weak(now, t)) {
    }
  }

private:
  std::atomic<std::int64_t> m_now;
};
