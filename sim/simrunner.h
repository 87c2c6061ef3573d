#pragma once
// Time for the simulated unit: messages from the host reach the unit when their last byte has crossed
// the cable, and each answer reaches the host after the answer delay and its own bytes' time on the
// unit->host line, one answer after another. Driven by its own thread (Start/Stop) or, on a fake
// clock, by calling Poll.
//
// Send may be called from any thread and takes no lock. Poll, the unit and the output run on one
// thread at a time: the runner's own while it is started, the caller's otherwise.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <thread>

#include "model/bytes.h"
#include "sim/simclock.h"
#include "sim/simunit.h"

constexpr std::int64_t kSimByteTimeUs = 320;  // 10 bits at 31250 baud

class CSimRunner {
public:
  using COutput = std::function<void(const QZML::CByteArray&)>;

  // The runner takes over the unit's output; neither the unit nor the clock is owned.
  CSimRunner(CSimUnit& unit, ISimClock& clock);
  ~CSimRunner();
  CSimRunner(const CSimRunner&) = delete;
  CSimRunner& operator=(const CSimRunner&) = delete;

  // Where the unit's messages go at their due time. Set before Start.
  void SetOutput(COutput output) { m_output = std::move(output); }

  // One complete message from the host; its sending starts now.
  void Send(const QZML::CByteArray& message);

  // Hands every message that has arrived by now to the unit and delivers every answer that is due.
  // Returns when the next thing is due, or -1 when nothing is pending.
  std::int64_t Poll();

  bool Start();
  void Stop();
  bool IsRunning() const { return m_thread.joinable(); }

private:
  struct CNode {
    QZML::CByteArray message;
    std::int64_t sent;
    CNode* next;
  };
  struct CTimed {
    std::int64_t due;
    QZML::CByteArray message;
  };

  void TakeSent();
  void Enqueue(const QZML::CByteArray& message);
  void Run();

  CSimUnit& m_unit;
  ISimClock& m_clock;
  COutput m_output;

  std::atomic<CNode*> m_sent{nullptr};  // pushed by Send, newest first
  std::deque<CTimed> m_arriving;        // host -> unit, in arrival order
  std::deque<CTimed> m_answers;         // unit -> host, in due order
  std::int64_t m_hostLineFree = 0;      // when the host->unit line finishes its last message
  std::int64_t m_unitLineFree = 0;
  std::int64_t m_arrival = 0;           // arrival time of the message the unit is answering

  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};
