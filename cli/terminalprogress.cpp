#include "cli/terminalprogress.h"

#include "cli/interrupt.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace QZCli {

std::string CTerminalProgress::PatchPart(const std::string& text) {
  std::string::size_type colon = text.find(": ");
  return colon == std::string::npos ? text : text.substr(0, colon);
}

void CTerminalProgress::Begin() {
  m_printed = -1;
  m_drawn = false;
}

void CTerminalProgress::BeginCode(int range, int code, bool mayCancel) {
  CZelProgressBar::BeginCode(range, code, mayCancel);
  Begin();
}

void CTerminalProgress::BeginText(int range, const std::string& text, bool mayCancel) {
  CZelProgressBar::BeginText(range, text, mayCancel);
  Begin();
}

void CTerminalProgress::End() {
  if (m_bar && m_drawn) {
    Draw(true);
    std::fputc('\n', m_stream);
    std::fflush(m_stream);
  }
  m_drawn = false;
}

void CTerminalProgress::SetPosition(int position) { CZelProgressBar::SetPosition(position); }

void CTerminalProgress::SetText(const std::string& text) {
  CZelProgressBar::SetText(text);
  Draw(false);
}

void CTerminalProgress::Draw(bool force) {
  const std::string label = m_label.empty() ? std::string() : m_label + " ";
  if (!m_bar) {
    // The text of a patch's first block names the patch the position has just moved to.
    if (m_position == m_printed || m_text.empty())
      return;
    m_printed = m_position;
    std::fprintf(m_stream, "qzml: %s%d/%d %s\n", label.c_str(), m_position, m_range, PatchPart(m_text).c_str());
    std::fflush(m_stream);
    return;
  }
  auto now = std::chrono::steady_clock::now();
  if (!force && m_drawn && now - m_lastDraw < std::chrono::milliseconds(50))
    return;
  m_lastDraw = now;
  m_drawn = true;
  constexpr int kWidth = 30;
  int filled = m_range > 0 ? m_position * kWidth / m_range : 0;
  if (filled > kWidth)
    filled = kWidth;
  if (filled < 0)
    filled = 0;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kWidth - filled), '.');
  // The time left sits before the block text, whose length changes from block to block.
  const int left = SecondsLeft();
  const std::string time = left >= 0 ? " (about " + DurationText(left) + " left)" : std::string();
  std::fprintf(m_stream, "\r%s[%s] %d/%d%s %s\x1b[K", label.c_str(), bar.c_str(), m_position, m_range, time.c_str(),
               m_text.c_str());
  std::fflush(m_stream);
}

bool CTerminalProgress::IsCancelled() { return Interrupted(); }

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

} // namespace QZCli
