#include "midi/zelprogressbar.h"

#include <cstdio>

int CZelProgressBar::SecondsLeft() const {
  if (m_work == WORK_NONE || m_done <= 0 || m_doneMs - m_begunMs < kEstimateAfterMs)
    return -1;
  // The patches still to do at the mean time of those done, less what the one under way has had.
  const double perPatchMs = static_cast<double>(m_doneMs - m_begunMs) / m_done;
  const int toDo = m_range > m_done ? m_range - m_done : 0;
  const std::uint64_t now = Clock().NowMs();
  const double sinceMs = now > m_doneMs ? static_cast<double>(now - m_doneMs) : 0.0;
  const double leftMs = perPatchMs * toDo - sinceMs;
  const int seconds = static_cast<int>(leftMs / 1000.0 + 0.5);
  return seconds < 1 ? 1 : seconds;
}

std::string CZelProgressBar::DurationText(int seconds) {
  if (seconds < 0)
    seconds = 0;
  const int hours = seconds / 3600;
  const int minutes = seconds / 60 % 60;
  const int rest = seconds % 60;
  char buffer[32];
  if (hours > 0)
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", hours, minutes, rest);
  else
    std::snprintf(buffer, sizeof buffer, "%d:%02d", minutes, rest);
  return buffer;
}

std::string CZelProgressBar::CountText() const {
  if (m_work == WORK_NONE)
    return std::string();
  const int position = m_position < 1 ? 1 : m_position;
  std::string text = std::string(m_work == WORK_READ ? "Reading" : "Writing") + " patch " +
                     std::to_string(position) + " of " + std::to_string(m_range);
  const int left = SecondsLeft();
  if (left >= 0)
    text += " - about " + DurationText(left) + " left";
  return text;
}
