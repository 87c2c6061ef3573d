#include "app/imageframe.h"

#include "app/resource.h"
#include "model/appstate.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

CImageFrame::CImageFrame(QWidget* parent) : CChildFrame(IDR_MAINTYPE, parent) {
  setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint);
  if (QMenu* menu = systemMenu())
    for (QAction* action : menu->actions())
      if (action->shortcut().matches(QKeySequence::Close) != QKeySequence::NoMatch ||
          action->text().remove(QLatin1Char('&')).compare(QStringLiteral("Close"), Qt::CaseInsensitive) == 0)
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
