#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "cli/interrupt.h"
#include "cli/terminalprogress.h"

using QZCli::CTerminalProgress;

namespace {

// What a progress display printed, through a memory stream.
class CCapture {
public:
  CCapture() : m_stream(open_memstream(&m_buffer, &m_size)) {}
  ~CCapture() {
    std::fclose(m_stream);
    std::free(m_buffer);
  }
  std::FILE* Stream() { return m_stream; }
  std::string Text() {
    std::fflush(m_stream);
    return std::string(m_buffer, m_size);
  }

private:
  char* m_buffer = nullptr;
  std::size_t m_size = 0;
  std::FILE* m_stream;
};

// What a transfer of two patches of two blocks each shows.
void Transfer(CTerminalProgress& progress) {
  progress.BeginText(2, "", true);
  for (int patch = 1; patch <= 2; ++patch) {
    progress.SetPosition(patch);
    progress.SetText("User Patch " + std::to_string(patch) + ": PATCH FX1");
    progress.SetText("User Patch " + std::to_string(patch) + ": PATCH COMP");
  }
  progress.End();
}

} // namespace

TEST(TerminalProgress, PrintsOneLinePerPatchWhenNotOnATerminal) {
  CCapture capture;
  CTerminalProgress progress(capture.Stream(), false);
  progress.SetLabel("reading");
  Transfer(progress);
  EXPECT_EQ(capture.Text(), "qzml: reading 1/2 User Patch 1\nqzml: reading 2/2 User Patch 2\n");
  EXPECT_EQ(CTerminalProgress::PatchPart("Temporary Patch: PATCH NAME"), "Temporary Patch");
}

TEST(TerminalProgress, DrawsABarInPlaceOnATerminal) {
  CCapture capture;
  CTerminalProgress progress(capture.Stream(), true);
  Transfer(progress);
  std::string text = capture.Text();
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text; // one line, ended once
  EXPECT_NE(text.find("\r[##############################] 2/2 User Patch 2: PATCH COMP"), std::string::npos) << text;
}

TEST(TerminalProgress, TheBarAddsTheTimeLeftAndPipedLinesStayAsTheyWere) {
  // Two of three patches, 2 s each on the display's clock: the rest takes about 4 s.
  for (bool bar : {true, false}) {
    CCapture capture;
    QZP::CFakeClock clock;
    CTerminalProgress progress(capture.Stream(), bar);
    progress.SetClock(&clock);
    progress.SetLabel("writing");
    progress.BeginPatches(3, CZelProgressBar::WORK_WRITE, true);
    for (int patch = 1; patch <= 2; ++patch) {
      progress.SetPosition(patch);
      progress.SetText("User Patch " + std::to_string(patch) + ": PATCH COMP");
      clock.Advance(2000);
    }
    progress.SetPosition(3);
    progress.SetText("User Patch 3: PATCH FX1");
    progress.End();
    const std::string text = capture.Text();
    if (bar)
      EXPECT_NE(text.find("writing [##############################] 3/3 (about 0:02 left) User Patch 3: PATCH FX1"),
                std::string::npos)
          << text;
    else
      EXPECT_EQ(text, "qzml: writing 1/3 User Patch 1\nqzml: writing 2/3 User Patch 2\nqzml: writing 3/3 User Patch 3\n");
  }
}

TEST(TerminalProgress, CtrlCIsItsCancelButton) {
  CCapture capture;
  CTerminalProgress progress(capture.Stream(), false);
  QZCli::SetInterrupted(false);
  EXPECT_FALSE(progress.IsCancelled());
  QZCli::SetInterrupted(true);
  EXPECT_TRUE(progress.IsCancelled());
  QZCli::SetInterrupted(false);
}
