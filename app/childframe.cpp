#include "app/childframe.h"

#include "app/appicon.h"
#include "app/docview.h"
#include "gp/mdiframewndex.h"
#include "platform/qtsettings.h"
#include "platform/settingsections.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMouseEvent>

CChildFrame::CChildFrame(int slot, QWidget* parent) : GP::CMDIChildWndEx(slot, parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(AppIcon());
}

bool CChildFrame::HasSavedSize() const {
  if (!UsesSavedPosition())
    return false;
  int values[4] = {0, 0, 0, 0};
  QZP::CQtSettings().Integers(QString::fromLatin1(QZP::kSectionWindow), PositionEntry(GetSlot()), values, 4);
  return values[2] > 0 && values[3] > 0;
}

void CChildFrame::SetView(CViewBase* view) {
  m_view = view;
  setWidget(view);
  if (CDocumentBase* document = view->GetDocument()) {
    document->setParent(this);
    connect(document, &CDocumentBase::titleChanged, this, &CChildFrame::OnUpdateFrameTitle);
    connect(document, &CDocumentBase::modifiedChanged, this, &CChildFrame::OnUpdateFrameTitle);
  }
  OnUpdateFrameTitle();
}

CDocumentBase* CChildFrame::GetActiveDocument() const { return m_view ? m_view->GetDocument() : nullptr; }

QString CChildFrame::GetFrameTitle() const {
  CDocumentBase* document = GetActiveDocument();
  return document ? document->GetTitle() : QString();
}

void CChildFrame::OnUpdateFrameTitle() { setWindowTitle(GetFrameTitle()); }

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (!m_documentClosing) {
    if (!CanClose()) {
      event->ignore();
      return;
    }
    // The document goes with the frame.
    m_documentClosing = true;
  }
  GP::CMDIChildWndEx::closeEvent(event);
}

bool CChildFrame::OnTitleOrBorder(const QPoint& pos) const {
  const QWidget* content = widget();
  return !content || !content->geometry().contains(pos);
}

void CChildFrame::contextMenuEvent(QContextMenuEvent* event) {
  // No system menu on a right click; the release below shows the window list instead.
  event->accept();
}

void CChildFrame::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && OnTitleOrBorder(event->position().toPoint())) {
    event->accept();
    return;
  }
  GP::CMDIChildWndEx::mousePressEvent(event);
}

void CChildFrame::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton && OnTitleOrBorder(event->position().toPoint())) {
    event->accept();
    if (auto* main = qobject_cast<GP::CMDIFrameWndEx*>(window()))
      main->GetMoveToTopAction()->trigger();
    return;
  }
  GP::CMDIChildWndEx::mouseReleaseEvent(event);
}
