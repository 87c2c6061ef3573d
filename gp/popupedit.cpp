#include "gp/popupedit.h"

#include <QKeyEvent>

namespace GP {

CPopupEdit::CPopupEdit(Qt::Alignment alignment, const QString& text, int ownerValue, QWidget* parent)
    : QLineEdit(text, parent), IPopup(KIND_EDIT, ownerValue) {
  setAlignment(alignment | Qt::AlignVCenter);
  setFrame(false);
  connect(this, &QLineEdit::textEdited, this, [this]() {
    SetModified(true);
    Notify(NOTIFY_CHANGE);
  });
}

void CPopupEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    event->accept();
    Notify(NOTIFY_RETURN, MODAL_ENTER);
    return;
  case Qt::Key_Escape:
    event->accept();
    Notify(NOTIFY_RETURN, MODAL_ESCAPE);
    return;
  default:
    QLineEdit::keyPressEvent(event);
  }
}

void CPopupEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  Notify(NOTIFY_SETFOCUS);
}

void CPopupEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  Notify(NOTIFY_KILLFOCUS);
  FocusLeft(this);
}

} // namespace GP
