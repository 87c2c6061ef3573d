#pragma once
// The progress dialog of the transfers. One object lives for the whole run; its window exists from the
// outermost Begin to the matching End, while the main window is disabled (modal without a loop of its
// own). Updates and the Cancel question let the pending events through, which is how Cancel is seen.

#include <QDialog>
#include <QPointer>

#include "midi/zelprogressbar.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDialog : public QDialog {
  Q_OBJECT
public:
  explicit CProgressDialog(QWidget* owner);

  QLabel* Text() const { return m_text; }
  QProgressBar* Bar() const { return m_bar; }
  QPushButton* CancelButton() const { return m_cancel; }

signals:
  void CancelPressed();

protected:
  // Escape and the window's close are the Cancel button; the dialog stays until the transfer ends it.
  void reject() override;

private:
  QLabel* m_text;
  QProgressBar* m_bar;
  QPushButton* m_cancel;
};

class CProgressBar : public CZelProgressBar {
public:
  // owner: the main window, disabled while the dialog is shown. Not owned.
  explicit CProgressBar(QWidget* owner = nullptr);
  ~CProgressBar() override;

  void SetOwner(QWidget* owner) { m_owner = owner; }

  void BeginCode(int range, int code, bool mayCancel) override;
  void BeginText(int range, const std::string& text, bool mayCancel) override;
  void End() override;
  void SetPosition(int position) override;
  void SetCode(int code) override;
  void SetText(const std::string& text) override;
  bool IsCancelled() override;
  void SetRange(int range) override;

  int GetDepth() const { return m_depth; }
  bool MayCancel() const { return m_mayCancel; }
  CProgressDialog* GetDialog() const { return m_dialog; }
  // The Cancel button's work (also Escape): only when the transfer may be cancelled.
  void Cancel();

  static QString CodeText(int code);

private:
  void Begin(int range, const QString& text, bool mayCancel);
  // The pending events, then the wait cursor again.
  void Pump();

  QPointer<QWidget> m_owner;
  QPointer<CProgressDialog> m_dialog;
  int m_depth = 0;
  bool m_mayCancel = false;
  bool m_cancelled = false;
};
