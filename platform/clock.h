#pragma once
// Time as the waiting code sees it: a millisecond tick count and a sleep. Programs use the system
// clock; tests use CFakeClock, whose sleeps only move its own time forward.

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

namespace QZP {

class IClock {
public:
  virtual ~IClock() = default;
  // Milliseconds since an arbitrary start, never going back.
  virtual std::uint64_t NowMs() = 0;
  virtual void SleepMs(std::uint32_t ms) = 0;
};

// The steady system clock and a real sleep.
class CSystemClock : public IClock {
public:
  std::uint64_t NowMs() override;
  void SleepMs(std::uint32_t ms) override;
};

// The one system clock of the program.
IClock& SystemClock();

// A clock that moves only when told to or when slept on. Each sleep is recorded; a hook may react to
// the time moving (a test's stand-in for what happens meanwhile).
class CFakeClock : public IClock {
public:
  std::uint64_t NowMs() override { return m_now.load(); }
  void SleepMs(std::uint32_t ms) override;
  void Advance(std::uint64_t ms) { m_now += ms; }

  std::vector<std::uint32_t> m_sleeps;
  std::function<void(std::uint32_t)> m_onSleep;

private:
  std::atomic<std::uint64_t> m_now{1000};
};

} // namespace QZP
