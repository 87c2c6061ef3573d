#pragma once
// The progress dialog of the transfers. One object lives for the whole run; its window exists from the
// outermost Begin to the matching End, while the main window is disabled (modal without a loop of its
// own). A transfer of patches shows which patch of how many is on its way and about how long the rest
// will take, above the text of the block on its way.
//
// A fast unit answers a block in well under a millisecond, far faster than anyone can read: the dialog
// takes each update at once but shows them at most every kRefreshMs (the last one within that time), and
// lets the pending events through (which is how Cancel is seen) no more often either, so that painting
// never slows the transfer down.

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "midi/zelprogressbar.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDialog : public QDialog {
  Q_OBJECT
public:
  explicit CProgressDialog(QWidget* owner);

  // "Reading patch 18 of 200 - about 1:45 left"; hidden for other work.
  QLabel* Count() const { return m_count; }
  QLabel* Text() const { return m_text; }
  QProgressBar* Bar() const { return m_bar; }
  QPushButton* CancelButton() const { return m_cancel; }

signals:
  void CancelPressed();

protected:
  // Escape and the window's close are the Cancel button; the dialog stays until the transfer ends it.
  void reject() override;

private:
  QLabel* m_count;
  QLabel* m_text;
  QProgressBar* m_bar;
  QPushButton* m_cancel;
};

class CProgressBar : public CZelProgressBar {
public:
  static constexpr std::uint64_t kRefreshMs = 50;
  static constexpr std::uint64_t kOwnerPaintMs = 200;

  // owner: the main window, disabled while the dialog is shown. Not owned.
  explicit CProgressBar(QWidget* owner = nullptr);
  ~CProgressBar() override;

  void BeginCode(int range, int code, bool mayCancel) override;
  void BeginText(int range, const std::string& text, bool mayCancel) override;
  void End() override;
  void SetPosition(int position) override;
  void SetCode(int code) override;
  void SetText(const std::string& text) override;
  bool IsCancelled() override;
  void SetRange(int range) override;

  int GetDepth() const { return m_depth; }
  CProgressDialog* GetDialog() const { return m_dialog; }
  // The Cancel button's work (also Escape): only when the transfer may be cancelled.
  void Cancel();
  // Shows the latest position and texts now rather than at the next refresh.
  void Refresh();

  static QString CodeText(int code);

private:
  void Begin(int range, const QString& text, bool mayCancel);
  // The pending events, then the wait cursor again.
  void Pump();
  // An update of the outermost display: shown now when the last showing is kRefreshMs ago, else when
  // that time is up.
  void Changed();

  QPointer<QWidget> m_owner;
  QPointer<CProgressDialog> m_dialog;
  int m_depth = 0;
  bool m_mayCancel = false;
  bool m_cancelled = false;
  QString m_shownText;        // the block text of the outermost display
  std::uint64_t m_shownAt = 0; // when the dialog was last brought up to date
  std::uint64_t m_pumpedAt = 0;
  bool m_pumped = false;       // whether the events were let through since the outermost Begin
  QTimer m_refresh;           // shows what came after the last showing
  QTimer m_ownerPaint;        // lets the disabled main window be painted
};
