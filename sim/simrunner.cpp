#include "sim/simrunner.h"

#include <algorithm>

using QZML::CByteArray;

namespace {

// While nothing is pending the thread looks for new messages at growing intervals up to this bound,
// so an idle simulator costs next to nothing and still answers a new request within a few ms.
constexpr std::int64_t kMinIdleStepUs = 200;
constexpr std::int64_t kMaxIdleStepUs = 5000;

std::int64_t WireTime(const CByteArray& message) { return static_cast<std::int64_t>(message.size()) * kSimByteTimeUs; }

} // namespace

CSimRunner::CSimRunner(CSimUnit& unit, ISimClock& clock) : m_unit(unit), m_clock(clock) {
  m_unit.SetOutput([this](const CByteArray& message) { Enqueue(message); });
}

CSimRunner::~CSimRunner() {
  Stop();
  m_unit.SetOutput(nullptr);
  CNode* node = m_sent.exchange(nullptr);
  while (node) {
    CNode* next = node->next;
    delete node;
    node = next;
  }
}

void CSimRunner::Send(const CByteArray& message) {
  CNode* node = new CNode{message, m_clock.NowUs(), m_sent.load(std::memory_order_relaxed)};
  while (!m_sent.compare_exchange_weak(node->next, node, std::memory_order_release, std::memory_order_relaxed)) {
  }
}

void CSimRunner::TakeSent() {
  CNode* node = m_sent.exchange(nullptr, std::memory_order_acquire);
  // The stack holds the newest first; turn it round into sending order.
  CNode* ordered = nullptr;
  while (node) {
    CNode* next = node->next;
    node->next = ordered;
    ordered = node;
    node = next;
  }
  bool cable = m_unit.Options().cableSpeed;
  while (ordered) {
    CNode* next = ordered->next;
    std::int64_t start = std::max(ordered->sent, m_hostLineFree);
    std::int64_t arrival = cable ? start + WireTime(ordered->message) : start;
    m_hostLineFree = arrival;
    m_arriving.push_back(CTimed{arrival, std::move(ordered->message)});
    delete ordered;
    ordered = next;
  }
}

void CSimRunner::Enqueue(const CByteArray& message) {
  const CSimOptions& options = m_unit.Options();
  std::int64_t start = std::max(m_arrival + std::max<std::int64_t>(options.answerDelayUs, 0), m_unitLineFree);
  std::int64_t due = options.cableSpeed ? start + WireTime(message) : start;
  m_unitLineFree = due;
  m_answers.push_back(CTimed{due, message});
}

std::int64_t CSimRunner::Poll() {
  TakeSent();
  std::int64_t now = m_clock.NowUs();
  for (;;) {
    bool answerDue = !m_answers.empty() && m_answers.front().due <= now;
    bool arrivalDue = !m_arriving.empty() && m_arriving.front().due <= now;
    if (answerDue && (!arrivalDue || m_answers.front().due <= m_arriving.front().due)) {
      CTimed answer = std::move(m_answers.front());
      m_answers.pop_front();
      if (m_output)
        m_output(answer.message);
    } else if (arrivalDue) {
      CTimed arrived = std::move(m_arriving.front());
      m_arriving.pop_front();
      m_arrival = arrived.due;
      m_unit.Receive(arrived.message);
    } else {
      break;
    }
  }
  std::int64_t next = -1;
  if (!m_answers.empty())
    next = m_answers.front().due;
  if (!m_arriving.empty() && (next < 0 || m_arriving.front().due < next))
    next = m_arriving.front().due;
  return next;
}

bool CSimRunner::Start() {
  if (m_thread.joinable())
    return false;
  m_stop = false;
  m_thread = std::thread([this] { Run(); });
  return true;
}

void CSimRunner::Stop() {
  if (!m_thread.joinable())
    return;
  m_stop = true;
  m_thread.join();
}

void CSimRunner::Run() {
  std::int64_t idleStep = kMinIdleStepUs;
  while (!m_stop.load()) {
    std::int64_t next = Poll();
    std::int64_t wait;
    if (next >= 0) {
      idleStep = kMinIdleStepUs;
      wait = std::min(next - m_clock.NowUs(), kMaxIdleStepUs);
    } else {
      wait = idleStep;
      idleStep = std::min(idleStep * 2, kMaxIdleStepUs);
    }
    m_clock.SleepUs(std::max<std::int64_t>(wait, 1));
  }
}
