#include "gp/popup.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace GP {

int IPopup::DoModal(const QRect& rect, QWidget* parent) {
  QWidget* wnd = GetWnd();
  if (!wnd || m_loop)
    return MODAL_ESCAPE;
  QPointer<QWidget> guard(wnd);
  wnd->setParent(parent);
  wnd->setGeometry(rect);
  wnd->show();
  wnd->raise();
  wnd->setFocus(Qt::OtherFocusReason);
  QEventLoop loop;
  m_loop = &loop;
  const int result = loop.exec();
  if (!guard)
    return MODAL_ESCAPE;
  m_loop = nullptr;
  wnd->hide();
  return result;
}

void IPopup::Changed() {
  SetModified(true);
  if (!m_loop && m_sink)
    m_sink->OnPopupChanged(*this);
}

void IPopup::ChoiceTaken() {
  SetModified(true);
  if (!m_loop && m_sink)
    m_sink->OnPopupChoiceTaken(*this);
}

bool IPopup::Spin(double delta) { return m_loop || !m_sink || m_sink->OnPopupSpin(*this, delta); }

void IPopup::Returned(bool enter) {
  if (m_loop)
    m_loop->exit(enter ? MODAL_ENTER : MODAL_ESCAPE);
  else if (m_sink)
    m_sink->OnPopupReturn(*this, enter);
}

void IPopup::FocusEntered() {
  if (!m_loop && m_sink)
    m_sink->OnPopupFocus(*this, true);
}

void IPopup::FocusLeft(QWidget* self) {
  if (!m_loop) {
    if (m_sink)
      m_sink->OnPopupFocus(*this, false);
    return;
  }
  // The focus may pass between the popup's own parts (a drop-down list); look once the move has settled.
  QPointer<QWidget> guard(self);
  QTimer::singleShot(0, self, [this, guard]() {
    if (!guard || !m_loop)
      return;
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
      if (w == guard)
        return;
    if (QApplication::activePopupWidget())
      return;
    m_loop->exit(MODAL_ESCAPE);
  });
}

} // namespace GP
