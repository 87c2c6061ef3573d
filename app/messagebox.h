#pragma once
// Every message box and modal dialog of the program goes through these two functions, so tests can
// answer them without a modal loop: a hook, when set, gets the request instead of the user.

#include <QMessageBox>
#include <QString>

#include <functional>

class QDialog;
class QWidget;

struct CMessageBoxRequest {
  QWidget* parent = nullptr;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString text;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

using CMessageBoxHook = std::function<QMessageBox::StandardButton(const CMessageBoxRequest&)>;
// The hook gets the dialog as it would open (initialised); it may change it and call accept() or
// reject(), and returns the dialog's result.
using CModalHook = std::function<int(QDialog&)>;

void SetMessageBoxHook(CMessageBoxHook hook);
void SetModalHook(CModalHook hook);

// A message box captioned with the application title; the button pressed (Escape gives the cancel
// button, or NoButton when there is none).
QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok);
// Runs a dialog modally.
int DoModal(QDialog& dialog);

// The wait cursor for the life of a scope.
class CWaitCursor {
public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  // Puts the wait cursor back after something else changed it.
  static void Restore();
};
