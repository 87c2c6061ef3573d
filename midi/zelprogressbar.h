#pragma once
// The progress display of transfers. Its own behaviour, used when no dialog is attached, keeps the
// position and text and never reports a cancel. A transfer of patches also keeps the time per patch so
// far, from which the displays tell how long the rest will take.

#include <cstdint>
#include <string>

#include "platform/clock.h"

class CZelProgressBar {
public:
  // What a transfer of patches does with them.
  enum : int { WORK_NONE = 0, WORK_READ = 1, WORK_WRITE = 2 };
  // The estimate waits until this much of the transfer has passed (and one patch is done): before, it
  // would mostly measure the display's own start.
  static constexpr std::uint64_t kEstimateAfterMs = 1000;

  virtual ~CZelProgressBar() = default;
  // code: 1 "Now, getting data.", 2 "Now, synchronizing data."
  virtual void BeginCode(int range, int code, bool mayCancel) {
    m_range = range;
    m_code = code;
    m_position = 0;
    m_work = WORK_NONE;
    (void)mayCancel;
  }
  virtual void BeginText(int range, const std::string& text, bool mayCancel) {
    m_range = range;
    m_text = text;
    m_position = 0;
    m_work = m_beginningWork;
    m_beginningWork = WORK_NONE;
    (void)mayCancel;
  }
  // A transfer of range patches (work: WORK_READ or WORK_WRITE), one after the other; SetPosition names
  // the patch under way, counted from 1. Begins as BeginText with no text.
  void BeginPatches(int range, int work, bool mayCancel) {
    m_beginningWork = work;
    m_begunMs = m_doneMs = Clock().NowMs();
    m_done = 0;
    BeginText(range, std::string(), mayCancel);
  }
  virtual void End() {}
  virtual void SetPosition(int position) {
    m_position = position;
    if (m_work != WORK_NONE && position - 1 > m_done) {
      m_done = position - 1;
      m_doneMs = Clock().NowMs();
    }
  }
  virtual void SetCode(int code) { m_code = code; }
  virtual void SetText(const std::string& text) { m_text = text; }
  virtual bool IsCancelled() { return false; }
  virtual void SetRange(int range) { m_range = range; }

  int GetPosition() const { return m_position; }
  int GetRange() const { return m_range; }
  const std::string& GetText() const { return m_text; }
  int GetWork() const { return m_work; }

  // The time the estimate is measured on; null for the system clock. Not owned.
  void SetClock(QZP::IClock* clock) { m_clock = clock; }
  QZP::IClock& Clock() const { return m_clock ? *m_clock : QZP::SystemClock(); }

  // Whole seconds the rest of a transfer of patches will take at the time per patch so far, at least 1
  // while it runs; -1 while too little is known, and for other work.
  int SecondsLeft() const;
  // "Reading patch 18 of 200 - about 1:45 left" (writing likewise), without the time while SecondsLeft
  // is -1; empty for work other than patches.
  std::string CountText() const;
  // 0:05, 1:45, 12:00, 1:02:03.
  static std::string DurationText(int seconds);

protected:
  int m_range = 0;
  int m_position = 0;
  int m_code = 0;
  std::string m_text;

private:
  QZP::IClock* m_clock = nullptr;
  int m_work = WORK_NONE;
  int m_beginningWork = WORK_NONE; // handed from BeginPatches to BeginText
  int m_done = 0;                  // patches done, and when the last of them was
  std::uint64_t m_begunMs = 0;
  std::uint64_t m_doneMs = 0;
};
