#pragma once
// The progress display of read and write on the terminal: one line per patch, or a bar redrawn in place
// when stderr is a terminal, with the time the rest will take once it is known. Ctrl+C is its Cancel
// button.

#include <chrono>
#include <cstdio>
#include <string>

#include "midi/zelprogressbar.h"

namespace QZCli {

class CTerminalProgress : public CZelProgressBar {
public:
  // stream: not owned. bar: redraw one line in place instead of printing a line per patch.
  CTerminalProgress(std::FILE* stream, bool bar) : m_stream(stream), m_bar(bar) {}

  // What the transfer does, in front of every line ("reading", "writing", "verifying").
  void SetLabel(const std::string& label) { m_label = label; }

  void BeginCode(int range, int code, bool mayCancel) override;
  void BeginText(int range, const std::string& text, bool mayCancel) override;
  void End() override;
  void SetPosition(int position) override;
  void SetText(const std::string& text) override;
  bool IsCancelled() override;

  // The patch part of a block description: "User Patch 3: PATCH FX1" gives "User Patch 3".
  static std::string PatchPart(const std::string& text);

private:
  void Begin();
  void Draw(bool force);

  std::FILE* m_stream;
  bool m_bar;
  std::string m_label;
  int m_printed = -1; // the position whose line was printed
  bool m_drawn = false;
  std::chrono::steady_clock::time_point m_lastDraw;
};

// Whether stream is a terminal (where a bar is drawn rather than lines printed).
bool IsTerminal(std::FILE* stream);

} // namespace QZCli
