#include "platform/uidispatch.h"

#include <chrono>

namespace QZP {

CManualDispatcher::CManualDispatcher() {
  CNode* stub = new CNode;
  m_head.store(stub);
  m_tail = stub;
}

CManualDispatcher::~CManualDispatcher() {
  // Tasks not run are dropped; nothing posts any more.
  CNode* node = m_tail;
  while (node) {
    CNode* next = node->next.load(std::memory_order_acquire);
    delete node;
    node = next;
  }
}

void CManualDispatcher::Post(std::function<void()> task) {
  CNode* node = new CNode;
  node->task = std::move(task);
  CNode* previous = m_head.exchange(node, std::memory_order_acq_rel);
  previous->next.store(node, std::memory_order_release);
  m_wakeup.Signal();
}

bool CManualDispatcher::RunOne() {
  CNode* tail = m_tail;
  CNode* next = tail->next.load(std::memory_order_acquire);
  if (!next)
    return false;
  // next becomes the new stub; its task is taken out before it runs so that it may post again.
  std::function<void()> task = std::move(next->task);
  next->task = nullptr;
  m_tail = next;
  delete tail;
  if (task)
    task();
  return true;
}

int CManualDispatcher::RunPending() {
  int count = 0;
  while (RunOne())
    ++count;
  return count;
}

void CManualDispatcher::ProcessPending(int maxWaitMs) {
  if (RunPending() > 0 || maxWaitMs <= 0)
    return;
  // Sleeps until a post signals; a signal left from tasks already run only costs one more look.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxWaitMs);
  while (!RunOne()) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
      return;
    m_wakeup.Wait(static_cast<int>(left.count()));
  }
  RunPending();
}

bool CManualDispatcher::RunUntil(const std::function<bool()>& done, int maxWaitMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(maxWaitMs);
  for (;;) {
    RunPending();
    if (done())
      return true;
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    m_wakeup.Wait(1);
  }
}

} // namespace QZP
