#include "gp/mdichildwndex.h"

#include "platform/qtsettings.h"
#include "platform/settingsections.h"

#include <QMdiArea>
#include <QStyle>
#include <QStyleOptionTitleBar>

#include <climits>

namespace GP {

namespace {

CMDIChildWndEx::EPositionMode s_positionMode = CMDIChildWndEx::EPositionMode::Default;
const QString kWindowSection = QString::fromLatin1(QZP::kSectionWindow);

} // namespace

CMDIChildWndEx::CMDIChildWndEx(int slot, QWidget* parent, Qt::WindowFlags flags)
    : QMdiSubWindow(parent, flags), m_slot(slot) {}

QString CMDIChildWndEx::GetWindowTitle() const {
  QString title = windowTitle();
  title.replace(QStringLiteral("[*]"), isWindowModified() ? QStringLiteral("*") : QString());
  return title;
}

bool CMDIChildWndEx::UsesSavedPosition() const { return s_positionMode == EPositionMode::Saved; }

void CMDIChildWndEx::SetPositionMode(EPositionMode mode) { s_positionMode = mode; }

CMDIChildWndEx::EPositionMode CMDIChildWndEx::GetPositionMode() { return s_positionMode; }

bool CMDIChildWndEx::CanMaximizeSize() const { return !isMinimized() && !isMaximized(); }

void CMDIChildWndEx::MaximizeHeight() { Stretch(true, false); }

void CMDIChildWndEx::MaximizeWidth() { Stretch(false, true); }

void CMDIChildWndEx::MaximizeBoth() { Stretch(true, true); }

void CMDIChildWndEx::Stretch(bool height, bool width) {
  QMdiArea* area = mdiArea();
  if (!area || !CanMaximizeSize())
    return;
  const QRect client = area->viewport()->rect();
  QRect rect = geometry();
  if (height) {
    rect.setTop(client.top());
    rect.setBottom(client.bottom() - MinimizedHeight(this));
  }
  if (width) {
    rect.setLeft(client.left());
    rect.setRight(client.right());
  }
  setGeometry(rect);
}

int CMDIChildWndEx::MinimizedHeight(const QMdiSubWindow* child) {
  // A minimised child shows its title bar only; styles with a window border add a little around it.
  QStyleOptionTitleBar option;
  option.initFrom(child);
  option.titleBarState = Qt::WindowMinimized;
  option.titleBarFlags = child->windowFlags();
  option.subControls = QStyle::SC_All;
  QStyle* style = child->style();
  int height = style->pixelMetric(QStyle::PM_TitleBarHeight, &option, child);
  if (!style->styleHint(QStyle::SH_TitleBar_NoBorder, &option, child))
    height += 8;
  return height;
}

QString CMDIChildWndEx::PositionEntry(int slot) { return QStringLiteral("Position%1").arg(slot); }

QRect CMDIChildWndEx::GetNormalRect() const {
  return CanMaximizeSize() || !m_normalRect.isValid() ? geometry() : m_normalRect;
}

void CMDIChildWndEx::SaveCurrentPosition() {
  const QRect rect = GetNormalRect();
  const int values[4] = {rect.x(), rect.y(), rect.width(), rect.height()};
  QZP::CQtSettings().SetIntegers(kWindowSection, PositionEntry(m_slot), values, 4);
}

bool CMDIChildWndEx::ApplySavedPosition() {
  if (!UsesSavedPosition())
    return false;
  int values[4] = {INT_MIN, INT_MIN, 0, 0};
  QZP::CQtSettings().Integers(kWindowSection, PositionEntry(m_slot), values, 4);
  bool applied = false;
  if (values[0] != INT_MIN && values[1] != INT_MIN) {
    move(values[0], values[1]);
    applied = true;
  }
  if (values[2] > 0 && values[3] > 0) {
    resize(values[2], values[3]);
    applied = true;
  }
  return applied;
}

void CMDIChildWndEx::moveEvent(QMoveEvent* event) {
  QMdiSubWindow::moveEvent(event);
  if (CanMaximizeSize())
    m_normalRect = geometry();
}

void CMDIChildWndEx::resizeEvent(QResizeEvent* event) {
  QMdiSubWindow::resizeEvent(event);
  if (CanMaximizeSize())
    m_normalRect = geometry();
}

} // namespace GP
