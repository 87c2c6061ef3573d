#pragma once
// Hands work from other threads to the user-interface thread, in the order it was posted.
// Programs post through Qt's event queue (platform/qtdispatch.h); tests and tools without an event
// loop use CManualDispatcher and run what was posted when they choose.

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/wakeup.h"

namespace QZP {

class IUiDispatcher {
public:
  virtual ~IUiDispatcher() = default;
  // Any thread: runs task later on the user-interface thread. Never blocks.
  virtual void Post(std::function<void()> task) = 0;
  // User-interface thread: runs what is pending (the programs also run other non-input events); when
  // nothing is pending, waits at most maxWaitMs for something to arrive.
  virtual void ProcessPending(int maxWaitMs) = 0;
};

// A lock-free queue of posted tasks (many posting threads, one running thread).
class CManualDispatcher : public IUiDispatcher {
public:
  CManualDispatcher();
  ~CManualDispatcher() override;
  CManualDispatcher(const CManualDispatcher&) = delete;
  CManualDispatcher& operator=(const CManualDispatcher&) = delete;

  void Post(std::function<void()> task) override;
  void ProcessPending(int maxWaitMs) override;

  // Runs every task pending now, and those they post; returns how many ran.
  int RunPending();
  // Runs tasks as they arrive until done() holds or maxWaitMs of real time have passed; done() is
  // tested after each arrival and at least every millisecond.
  bool RunUntil(const std::function<bool()>& done, int maxWaitMs);

private:
  struct CNode {
    std::atomic<CNode*> next{nullptr};
    std::function<void()> task;
  };
  bool RunOne();

  std::atomic<CNode*> m_head; // last posted, swapped in by posting threads
  CNode* m_tail;              // stub before the next task to run, owned by the running thread
  CWakeup m_wakeup;           // signalled after each post, so a waiting ProcessPending returns at once
};

} // namespace QZP
