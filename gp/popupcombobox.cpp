#include "gp/popupcombobox.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace GP {

CPopupComboBox::CPopupComboBox(const QStringList& choices, const QString& text, int ownerValue, QWidget* parent)
    : QComboBox(parent), IPopup(KIND_COMBO, ownerValue) {
  setEditable(false);
  addItems(choices);
  SetText(text);
  connect(this, &QComboBox::activated, this, [this]() {
    SetModified(true);
    Notify(NOTIFY_SELENDOK);
  });
}

void CPopupComboBox::SetText(const QString& text) {
  const int index = findText(text, Qt::MatchExactly);
  if (index >= 0)
    setCurrentIndex(index);
}

bool CPopupComboBox::Owns(const QWidget* widget) const {
  const QWidget* list = view() ? view()->window() : nullptr;
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (w == this || w == list)
      return true;
  return false;
}

void CPopupComboBox::keyPressEvent(QKeyEvent* event) {
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
    QComboBox::keyPressEvent(event);
  }
}

void CPopupComboBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  Notify(NOTIFY_SETFOCUS);
}

void CPopupComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (event->reason() == Qt::PopupFocusReason)
    return; // its own drop-down list took the focus
  Notify(NOTIFY_KILLFOCUS);
  FocusLeft(this);
}

} // namespace GP
