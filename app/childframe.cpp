#include "app/childframe.h"

#include "app/app.h"
#include "app/appicon.h"
#include "app/docview.h"
#include "app/mainframe.h"
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
}

CDocumentBase* CChildFrame::GetActiveDocument() const { return m_view ? m_view->GetDocument() : nullptr; }

QString CChildFrame::GetFrameTitle() const {
  CDocumentBase* document = GetActiveDocument();
  return document ? document->GetTitle() : QString();
}

void CChildFrame::OnUpdateFrameTitle() {
  setWindowTitle(GetFrameTitle());
  if (CApp* app = CApp::Instance())
    if (CMainFrame* main = app->GetMainFrame())
      main->OnUpdateFrameTitle();
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  CDocumentBase* document = GetActiveDocument();
  if (!m_documentClosing && document) {
    if (!document->CanCloseFrame(this)) {
      event->ignore();
      return;
    }
    // The last frame of the document takes the document with it.
    bool last = true;
    for (CViewBase* view : document->GetViews())
      if (view->GetParentFrame() != this)
        last = false;
    if (last) {
      m_documentClosing = true;
      document->OnCloseDocument();
    }
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
    if (CApp* app = CApp::Instance())
      if (CMainFrame* main = app->GetMainFrame())
        main->GetMoveToTopAction()->trigger();
    return;
  }
  GP::CMDIChildWndEx::mouseReleaseEvent(event);
}
