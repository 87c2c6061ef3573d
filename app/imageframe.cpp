#include "app/imageframe.h"

#include "app/resource.h"
#include "model/appstate.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

CImageFrame::CImageFrame(QWidget* parent) : CChildFrame(IDR_MAINTYPE, parent) {
  // The title bar keeps its close box (it comes with the minimise and maximise boxes), but it and
  // the system menu's Close, shown disabled, do nothing.
  if (QMenu* menu = systemMenu())
    for (QAction* action : menu->actions())
      if (action->text().remove(QLatin1Char('&')).startsWith(QStringLiteral("Close"), Qt::CaseInsensitive))
        action->setEnabled(false);
}

QString CImageFrame::GetFrameTitle() const {
  return QStringLiteral("%1 : Main").arg(QString::fromLatin1(QZML::CAppState::Instance().GetModelName()));
}

void CImageFrame::closeEvent(QCloseEvent* event) {
  if (IsDocumentClosing()) {
    CChildFrame::closeEvent(event);
    return;
  }
  event->ignore();
}
