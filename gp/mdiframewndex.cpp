#include "gp/mdiframewndex.h"

#include "gp/mdichildwndex.h"
#include "platform/qtsettings.h"
#include "platform/settingsections.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTimer>

namespace GP {

namespace {

const QString kWindowSection = QString::fromLatin1(QZP::kSectionWindow);

// A stored rectangle that lies on no screen (a monitor was removed) would open the frame out of reach.
QRect OnSomeScreen(const QRect& rect) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.isEmpty())
    return rect;
  for (const QScreen* screen : screens)
    if (screen->availableGeometry().intersects(rect))
      return rect;
  QRect moved = rect;
  moved.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  return moved;
}

} // namespace

CMDIFrameWndEx::CMDIFrameWndEx(QWidget* parent) : QMainWindow(parent), m_area(new QMdiArea(this)) {
  setCentralWidget(m_area);
  m_area->installEventFilter(this);

  m_windowList = new QMenu(tr("Move to Top"), this);
  connect(m_windowList, &QMenu::aboutToShow, this, &CMDIFrameWndEx::RebuildWindowList);

  m_moveToTop = new QAction(tr("Move to Top"), this);
  m_moveToTop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  m_moveToTop->setShortcutContext(Qt::WindowShortcut);
  addAction(m_moveToTop);
  connect(m_moveToTop, &QAction::triggered, this, [this]() {
    RebuildWindowList();
    m_windowList->popup(QCursor::pos());
  });

  auto childCommand = [this](const QString& text, void (CMDIChildWndEx::*command)()) {
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, command]() {
      CMDIChildWndEx* child = ActiveChildEx();
      if (child && child->CanMaximizeSize())
        (child->*command)();
    });
    return action;
  };
  m_maximizeHeight = childCommand(tr("Maximize Height"), &CMDIChildWndEx::MaximizeHeight);
  m_maximizeWidth = childCommand(tr("Maximize Width"), &CMDIChildWndEx::MaximizeWidth);
  m_maximizeBoth = childCommand(tr("Maximize Height and Width"), &CMDIChildWndEx::MaximizeBoth);
  m_savePosition = new QAction(tr("Save Current Position"), this);
  connect(m_savePosition, &QAction::triggered, this, [this]() {
    if (CMDIChildWndEx* child = ActiveChildEx())
      child->SaveCurrentPosition();
  });
  connect(m_area, &QMdiArea::subWindowActivated, this, &CMDIFrameWndEx::UpdateChildActions);
  UpdateChildActions();

  RestorePosition();
}

CMDIFrameWndEx::~CMDIFrameWndEx() {
  // The area's children still signal while the base class tears them down; this part is gone by then.
  disconnect(m_area, nullptr, this, nullptr);
  for (QMdiSubWindow* child : m_area->subWindowList())
    disconnect(child, nullptr, this, nullptr);
  m_area->removeEventFilter(this);
  // Left and top are where the window frame starts, as a move() takes them; the size is the client's.
  QRect normal = (isMaximized() || isFullScreen()) ? normalGeometry() : geometry();
  if (!normal.isValid())
    normal = geometry();
  const QPoint frameOffset = geometry().topLeft() - frameGeometry().topLeft();
  const QPoint topLeft = normal.topLeft() - frameOffset;
  const int values[4] = {topLeft.x(), topLeft.y(), topLeft.x() + normal.width(), topLeft.y() + normal.height()};
  QZP::CQtSettings().SetIntegers(kWindowSection, QStringLiteral("Position"), values, 4);
}

QRect CMDIFrameWndEx::FirstStartRect(const QRect& available) {
  // Three quarters of the area: each side about 0.866 of the screen's, so a list shows many rows
  // and the desktop still shows around the frame.
  if (!available.isValid())
    return QRect(0, 0, 600, 400);
  const QSize size(available.width() * 866 / 1000, available.height() * 866 / 1000);
  QRect rect(QPoint(0, 0), size);
  rect.moveCenter(available.center());
  return rect;
}

void CMDIFrameWndEx::RestorePosition() {
  const QString stored = QZP::CQtSettings().String(kWindowSection, QStringLiteral("Position"));
  QRect rect;
  if (stored.isEmpty()) {
    // The first start: nothing stored yet.
    const QScreen* screen = QGuiApplication::primaryScreen();
    rect = FirstStartRect(screen ? screen->availableGeometry() : QRect());
  } else {
    const QPoint at = pos();
    int values[4] = {at.x(), at.y(), at.x() + width(), at.y() + height()};
    QZP::ScanIntegers(stored, values, 4);
    rect = QRect(QPoint(values[0], values[1]), QSize(values[2] - values[0], values[3] - values[1]));
  }
  if (!rect.isValid())
    rect.setSize(QSize(600, 400));
  rect = OnSomeScreen(rect);
  move(rect.topLeft());
  resize(rect.size());
  if (QZP::CQtSettings().Int(kWindowSection, QStringLiteral("Maximized")) != 0)
    setWindowState(windowState() | Qt::WindowMaximized);
}

void CMDIFrameWndEx::closeEvent(QCloseEvent* event) {
  QZP::CQtSettings settings;
  settings.SetInt(kWindowSection, QStringLiteral("Maximized"), isMaximized() ? 1 : 0);
  settings.SetString(QString::fromLatin1(QZP::kSectionVersion), QStringLiteral("FileVersion"),
                     QCoreApplication::applicationVersion());
  SaveBarState();
  QMainWindow::closeEvent(event);
}

void CMDIFrameWndEx::LoadBarState() {
  const QByteArray state = QZP::CQtSettings().Bytes(QString::fromLatin1(QZP::kSectionControlBar), QStringLiteral("State"));
  if (!state.isEmpty())
    restoreState(state);
}

void CMDIFrameWndEx::SaveBarState() {
  QZP::CQtSettings().SetBytes(QString::fromLatin1(QZP::kSectionControlBar), QStringLiteral("State"), saveState());
}

QMdiSubWindow* CMDIFrameWndEx::AddChild(QMdiSubWindow* child) {
  auto* childEx = qobject_cast<CMDIChildWndEx*>(child);
  const bool defaultRect = !child->testAttribute(Qt::WA_Moved) && !child->testAttribute(Qt::WA_Resized);
  m_area->addSubWindow(child);
  // Maximize Height/Width follow the child's minimised or maximised state.
  connect(child, &QMdiSubWindow::windowStateChanged, this, &CMDIFrameWndEx::UpdateChildActions);
  if (childEx && defaultRect) {
    // The area places a new child itself, at once or, while hidden, when it is shown; come after it.
    if (m_area->isVisible())
      childEx->ApplySavedPosition();
    else
      m_pendingPositions.emplace_back(childEx);
  }
  UpdateChildActions();
  return child;
}

bool CMDIFrameWndEx::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_area && event->type() == QEvent::Show && !m_pendingPositions.empty())
    QTimer::singleShot(0, this, &CMDIFrameWndEx::ApplyPendingPositions);
  return QMainWindow::eventFilter(watched, event);
}

void CMDIFrameWndEx::ApplyPendingPositions() {
  std::vector<QPointer<CMDIChildWndEx>> pending;
  pending.swap(m_pendingPositions);
  for (const QPointer<CMDIChildWndEx>& child : pending)
    if (child)
      child->ApplySavedPosition();
}

CMDIChildWndEx* CMDIFrameWndEx::ActiveChildEx() const {
  return qobject_cast<CMDIChildWndEx*>(m_area->activeSubWindow());
}

void CMDIFrameWndEx::UpdateChildActions() {
  const CMDIChildWndEx* child = ActiveChildEx();
  const bool canStretch = child && child->CanMaximizeSize();
  m_maximizeHeight->setEnabled(canStretch);
  m_maximizeWidth->setEnabled(canStretch);
  m_maximizeBoth->setEnabled(canStretch);
  m_savePosition->setEnabled(child != nullptr);
}

void CMDIFrameWndEx::SetWindowMenu(QMenu* menu, QAction* moveToTop) {
  if (m_windowMenu)
    disconnect(m_windowMenu, nullptr, this, nullptr);
  m_windowMenu = menu;
  m_moveToTopPosition = -1;
  if (!menu)
    return;
  const QList<QAction*> actions = menu->actions();
  const qsizetype at = moveToTop ? actions.indexOf(moveToTop) : -1;
  if (at >= 0) {
    m_windowList->setTitle(moveToTop->text());
    menu->insertMenu(moveToTop, m_windowList);
    menu->removeAction(moveToTop);
    m_moveToTopPosition = static_cast<int>(at);
  } else {
    menu->addMenu(m_windowList);
    m_moveToTopPosition = static_cast<int>(menu->actions().size()) - 1;
  }
  connect(menu, &QMenu::aboutToShow, this, [this]() {
    UpdateChildActions();
    RebuildWindowList();
  });
}

std::vector<QMdiSubWindow*> CMDIFrameWndEx::GetChildFrames(QMdiSubWindow** active) const {
  if (active)
    *active = m_area->activeSubWindow();
  const QList<QMdiSubWindow*> list = m_area->subWindowList(QMdiArea::CreationOrder);
  return std::vector<QMdiSubWindow*>(list.begin(), list.end());
}

QString CMDIFrameWndEx::WindowListLabel(int index) {
  if (index < 0 || index >= kMaxWindowList)
    return QString();
  const QChar key = index < 10 ? QChar('0' + index) : QChar('A' + index - 10);
  return QStringLiteral("&") + key;
}

void CMDIFrameWndEx::RebuildWindowList() {
  m_windowList->clear();
  QMdiSubWindow* active = nullptr;
  const std::vector<QMdiSubWindow*> children = GetChildFrames(&active);
  const int count = std::min(static_cast<int>(children.size()), kMaxWindowList);
  for (int i = 0; i < count; ++i) {
    QMdiSubWindow* child = children[static_cast<size_t>(i)];
    const auto* childEx = qobject_cast<const CMDIChildWndEx*>(child);
    QString title = childEx ? childEx->GetWindowTitle() : child->windowTitle().remove(QStringLiteral("[*]"));
    title.replace(QLatin1Char('&'), QStringLiteral("&&")); // a title is no mnemonic
    QAction* action = m_windowList->addAction(WindowListLabel(i) + QLatin1Char('\t') + title);
    action->setCheckable(true);
    action->setChecked(child == active);
    connect(action, &QAction::triggered, this, [this, i]() { ActivateChild(i); });
  }
}

void CMDIFrameWndEx::ActivateChild(int index) {
  const std::vector<QMdiSubWindow*> children = GetChildFrames();
  if (index < 0 || index >= static_cast<int>(children.size()) || index >= kMaxWindowList)
    return;
  QMdiSubWindow* child = children[static_cast<size_t>(index)];
  if (child->isMinimized())
    child->showNormal();
  m_area->setActiveSubWindow(child);
}

} // namespace GP
