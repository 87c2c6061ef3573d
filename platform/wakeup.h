#pragma once
// Wakes one waiting thread from any other thread, without locks: the signalling side makes a single
// non-blocking system call, so it may run on a MIDI driver's thread. The waiting side sleeps until
// signalled or until its bound has passed, so an idle waiter costs nothing and a woken one reacts at
// once. Where the system offers no such call, the wait is a short sleep.

namespace QZP {

class CWakeup {
public:
  CWakeup();
  ~CWakeup();
  CWakeup(const CWakeup&) = delete;
  CWakeup& operator=(const CWakeup&) = delete;

  // Any thread: the next Wait (or the one under way) returns at once.
  void Signal();
  // One thread: returns when signalled since the last Wait, or after maxWaitMs (kForever: only when
  // signalled); clears the signal. Without the system's call a wait is a 1 ms sleep.
  static constexpr int kForever = -1;
  void Wait(int maxWaitMs);

private:
  int m_read = -1;
  int m_write = -1;
};

} // namespace QZP
