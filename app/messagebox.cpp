#include "app/messagebox.h"

#include "app/resource.h"

#include <QApplication>
#include <QDialog>

namespace {

CMessageBoxHook& MessageBoxHook() {
  static CMessageBoxHook hook;
  return hook;
}

CModalHook& ModalHook() {
  static CModalHook hook;
  return hook;
}

} // namespace

void SetMessageBoxHook(CMessageBoxHook hook) { MessageBoxHook() = std::move(hook); }

void SetModalHook(CModalHook hook) { ModalHook() = std::move(hook); }

QMessageBox::StandardButton AppMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                          QMessageBox::StandardButtons buttons) {
  if (const CMessageBoxHook& hook = MessageBoxHook())
    return hook(CMessageBoxRequest{parent, icon, text, buttons});
  QMessageBox box(icon, QString::fromLatin1(kAppTitle), text, buttons, parent);
  // A question with a wait cursor over it would look busy; the user must see the arrow.
  const bool overridden = QApplication::overrideCursor() != nullptr;
  if (overridden)
    QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = box.exec();
  if (overridden)
    QApplication::restoreOverrideCursor();
  if (result == QMessageBox::Escape || box.clickedButton() == nullptr)
    return box.escapeButton() ? box.standardButton(box.escapeButton()) : QMessageBox::NoButton;
  return box.standardButton(box.clickedButton());
}

int DoModal(QDialog& dialog) {
  if (const CModalHook& hook = ModalHook())
    return hook(dialog);
  const bool overridden = QApplication::overrideCursor() != nullptr;
  if (overridden)
    QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = dialog.exec();
  if (overridden)
    QApplication::restoreOverrideCursor();
  return result;
}

CWaitCursor::CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

CWaitCursor::~CWaitCursor() { QApplication::restoreOverrideCursor(); }

void CWaitCursor::Restore() {
  if (QApplication::overrideCursor())
    QApplication::changeOverrideCursor(Qt::WaitCursor);
}
