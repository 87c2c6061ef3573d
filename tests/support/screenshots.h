#pragma once
// Pictures of the program's windows as the screen shows them, frames and pop-ups included, for a look at
// them under a real X server (appscreens) and for the user manual (manualscreens).

#include <QString>

#include <functional>

class CProgressBar;
class QDialog;
class QWidget;

// The progress dialog as a read of all 200 patches shows it after 56 patches in 33.6 s, the time left
// estimated (on a fake clock): shown, during() run, then ended.
void ShowReadProgress(CProgressBar* progress, const std::function<void()>& during);

class CScreenshots {
public:
  // settleRounds: event loop rounds of 40 ms before each picture; margin: pixels taken around the frame.
  CScreenshots(int settleRounds, int margin) : m_settleRounds(settleRounds), m_margin(margin) {}

  // Where the pictures go; made when missing.
  void SetFolder(const QString& folder);
  const QString& Folder() const { return m_folder; }
  // Lets layouts, paints and timers run.
  void Settle() const;
  // Settles, then saves widget as <folder>/<name>.png and prints the path; a failure is said and counted.
  void Save(QWidget* widget, const QString& name);
  // Shows the dialog, saves it and rejects it.
  void SaveDialog(QDialog& dialog, const QString& name);
  void AddFailure() { ++m_failures; }
  int Failures() const { return m_failures; }

private:
  int m_settleRounds;
  int m_margin;
  QString m_folder;
  int m_failures = 0;
};
