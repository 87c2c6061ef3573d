#include "app/imageframe.h"

#include "app/listformview.h"
#include "app/patchlistctrl.h"
#include "app/resource.h"
#include "model/appstate.h"

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMdiArea>
#include <QMenu>

#include <algorithm>

CImageFrame::CImageFrame(const QZML::CAppState& state, QWidget* parent)
    : CChildFrame(IDR_MAINTYPE, parent), m_state(state) {
  // The title bar keeps its close box (it comes with the minimise and maximise boxes), but it and
  // the system menu's Close, shown disabled, do nothing.
  if (QMenu* menu = systemMenu())
    for (QAction* action : menu->actions())
      if (action->text().remove(QLatin1Char('&')).startsWith(QStringLiteral("Close"), Qt::CaseInsensitive))
        action->setEnabled(false);
}

QString CImageFrame::GetFrameTitle() const {
  return QStringLiteral("%1 : Main").arg(QString::fromLatin1(m_state.GetModelName()));
}

void CImageFrame::closeEvent(QCloseEvent* event) {
  if (IsDocumentClosing()) {
    CChildFrame::closeEvent(event);
    return;
  }
  event->ignore();
}

void CImageFrame::PlaceFirstTime() {
  QMdiArea* area = mdiArea();
  if (!area || !CanMaximizeSize() || HasSavedSize())
    return;
  move(0, 0);
  MaximizeHeight();
  // As wide as the list's columns, where the area has the room.
  if (auto* view = qobject_cast<CListFormView*>(GetActiveView())) {
    const QTableView* list = view->GetList();
    const int missing = list->horizontalHeader()->length() - list->viewport()->width();
    if (missing > 0)
      resize(std::min(width() + missing, area->viewport()->width()), height());
  }
}
