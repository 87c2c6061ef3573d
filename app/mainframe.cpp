#include "app/mainframe.h"

#include "app/app.h"
#include "app/childframe.h"
#include "app/docview.h"
#include "app/filedoc.h"
#include "app/fileview.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/messagebox.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "app/toolicons.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

namespace {

QStringList LocalFiles(const QMimeData* mime) {
  QStringList files;
  if (!mime || !mime->hasUrls())
    return files;
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile())
      files.append(url.toLocalFile());
  return files;
}

} // namespace

CMainFrame::CMainFrame(CApp& app, QWidget* parent) : GP::CMDIFrameWndEx(parent), m_app(app) {
  setObjectName(QStringLiteral("mainFrame"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  BuildCommands();
  BuildMenus();
  BuildToolBar();
  statusBar()->showMessage(tr("Ready"));
  // The status bar's one pane: the prompt of the command under the mouse, "Ready" otherwise.
  connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
    if (message.isEmpty())
      statusBar()->showMessage(tr("Ready"));
  });
  connect(GetMdiArea(), &QMdiArea::subWindowActivated, this, &CMainFrame::OnChildActivated);
  GetMdiArea()->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  ShowChildMenu(false);
  LoadBarState();
  UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
  // Children still signal while the base classes tear them down; this part is gone by then.
  disconnect(GetMdiArea(), nullptr, this, nullptr);
  disconnect(m_toolBar, nullptr, this, nullptr);
  if (m_watchedView)
    disconnect(m_watchedView, nullptr, this, nullptr);
}

namespace {

// The menu bar left to right; a submenu sits in its parent's menu at slot.
struct CMenuInfo {
  EMenu menu;
  const char* title;
  EMenu parent;
  int slot;
};
const CMenuInfo kMenus[] = {{EMenu::File, "&File", EMenu::None, 0},    {EMenu::ExportSmf, "&Export SMF", EMenu::File, 21},
                            {EMenu::ExportSysEx, "Expor&t SysEx", EMenu::File, 23},
                            {EMenu::Edit, "&Edit", EMenu::None, 0},    {EMenu::View, "&View", EMenu::None, 0},
                            {EMenu::Midi, "&MIDI", EMenu::None, 0},    {EMenu::Setup, "&Setup", EMenu::None, 0},
                            {EMenu::Window, "&Window", EMenu::None, 0}, {EMenu::Help, "&Help", EMenu::None, 0}};

} // namespace

const CCommandTable<CMainFrame>& CMainFrame::Commands() {
  static const CCommandTable<CMainFrame> table = {
      {{ID_APP_EXIT, "E&xit", 0, "Quit the application", EMenu::File, 90, 0, true}, [](CMainFrame& f) { f.close(); }},
      {{ID_VIEW_TOOLBAR, "&Tool Bar", 0, "Show or hide the tool bar", EMenu::View, 10},
       [](CMainFrame& f) { f.m_toolBar->setVisible(!f.m_toolBar->isVisible()); },
       nullptr,
       [](const CMainFrame& f) { return !f.m_toolBar->isHidden(); }},
      {{ID_VIEW_STATUS_BAR, "&Status Bar", 0, "Show or hide the status bar", EMenu::View, 11},
       [](CMainFrame& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); },
       nullptr,
       [](const CMainFrame& f) { return !f.statusBar()->isHidden(); }},
      {{ID_WINDOW_CASCADE, "&Cascade", 0, "Arrange the windows so they overlap", EMenu::Window, 10},
       [](CMainFrame& f) { f.GetMdiArea()->cascadeSubWindows(); }},
      {{ID_WINDOW_TILE_HORZ, "&Tile", 0, "Arrange the windows side by side", EMenu::Window, 11},
       [](CMainFrame& f) { f.GetMdiArea()->tileSubWindows(); }},
      {{ID_WINDOW_ARRANGE, "&Arrange Icons", 0, "Arrange the minimised windows", EMenu::Window, 12},
       [](CMainFrame& f) {
         // Minimised windows line up along the bottom of the area.
         int x = 0;
         const int bottom = f.GetMdiArea()->viewport()->height();
         for (QMdiSubWindow* child : f.GetMdiArea()->subWindowList())
           if (child->isMinimized()) {
             child->move(x, bottom - child->height());
             x += child->width();
           }
       }},
  };
  return table;
}

template <class Owner>
void CMainFrame::AddCommands(const CCommandTable<Owner>& table, std::function<Owner*()> owner) {
  for (const CCommand<Owner>& row : table) {
    auto* action = new QAction(tr(row.text), this);
    action->setData(row.id);
    if (row.key) {
      action->setShortcut(QKeySequence(row.key));
      action->setShortcutContext(Qt::WindowShortcut);
      addAction(action); // accelerators work whichever menu shows
    }
    action->setStatusTip(tr(row.tip));
    action->setCheckable(row.checked != nullptr);
    const int id = row.id;
    connect(action, &QAction::triggered, this, [this, id]() { RouteCommand(id); });
    const CCommand<Owner>* command = &row;
    CRoute route;
    route.info = &row;
    route.action = action;
    route.enabled = [owner, command]() {
      const Owner* target = owner();
      return target && IsEnabled(*command, *target);
    };
    route.run = [owner, command]() {
      Owner* target = owner();
      if (target && IsEnabled(*command, *target))
        command->run(*target);
      return target != nullptr;
    };
    if (row.checked)
      route.checked = [owner, command]() {
        const Owner* target = owner();
        return target && command->checked(*target);
      };
    m_routes[row.id] = std::move(route);
  }
}

void CMainFrame::BuildCommands() {
  AddCommands<CApp>(CApp::Commands(), [this]() { return &m_app; });
  AddCommands<CMainFrame>(Commands(), [this]() { return this; });
  AddCommands<CListFormView>(CListFormView::Commands(),
                             [this]() { return qobject_cast<CListFormView*>(GetActiveView()); });
  AddCommands<CFileView>(CFileView::Commands(), [this]() { return qobject_cast<CFileView*>(GetActiveView()); });
  AddCommands<CImageView>(CImageView::Commands(), [this]() { return qobject_cast<CImageView*>(GetActiveView()); });

  // Accelerators whose commands nothing handles: they only keep the keys from doing anything else.
  for (Qt::Key key : {Qt::Key_P, Qt::Key_K, Qt::Key_T, Qt::Key_W, Qt::Key_Y}) {
    auto* idle = new QAction(this);
    idle->setShortcut(QKeySequence(Ctrl(key)));
    idle->setShortcutContext(Qt::WindowShortcut);
    addAction(idle);
  }
}

QAction* CMainFrame::GetCommandAction(int id) const {
  auto it = m_routes.find(id);
  return it == m_routes.end() ? nullptr : it->second.action;
}

void CMainFrame::FillMenu(QMenu* menu, EMenu which, bool bare) {
  // The rows of the menu and its submenus, in slot order.
  struct CEntry {
    int slot;
    QAction* action;
    const CMenuInfo* sub;
  };
  std::vector<CEntry> entries;
  for (const auto& [id, route] : m_routes)
    if (route.info->menu == which && (!bare || route.info->bare))
      entries.push_back({route.info->slot, route.action, nullptr});
  for (const CMenuInfo& sub : kMenus)
    if (sub.parent == which && !bare)
      entries.push_back({sub.slot, nullptr, &sub});
  std::sort(entries.begin(), entries.end(), [](const CEntry& a, const CEntry& b) { return a.slot < b.slot; });
  int group = -1;
  for (const CEntry& entry : entries) {
    if (group >= 0 && entry.slot / 10 != group) {
      QAction* separator = menu->addSeparator();
      if (which == EMenu::File && !bare)
        m_recentActions = {separator}; // the last one, before Exit: the recent files go above it
    }
    group = entry.slot / 10;
    if (entry.sub)
      FillMenu(menu->addMenu(tr(entry.sub->title)), entry.sub->menu, bare);
    else
      menu->addAction(entry.action);
  }
}

void CMainFrame::BuildMenus() {
  QMenuBar* bar = menuBar();
  // The frame's own short menu, then the full menu of the Main and library windows.
  for (bool bare : {true, false})
    for (const CMenuInfo& info : kMenus) {
      if (info.parent != EMenu::None)
        continue;
      const bool used = std::any_of(m_routes.begin(), m_routes.end(), [&](const auto& route) {
        return route.second.info->menu == info.menu && (!bare || route.second.info->bare);
      });
      if (!used)
        continue;
      QMenu* menu = bar->addMenu(tr(info.title));
      (bare ? m_frameMenus : m_childMenus).push_back(menu->menuAction());
      QAction* moveToTop = nullptr;
      if (info.menu == EMenu::Window && !bare) {
        menu->addAction(GetMaximizeHeightAction());
        menu->addAction(GetMaximizeWidthAction());
        menu->addAction(GetSavePositionAction());
        menu->addSeparator();
        moveToTop = menu->addAction(GetMoveToTopAction()->text());
        menu->addSeparator();
      }
      FillMenu(menu, info.menu, bare);
      if (moveToTop) {
        m_windowMenu = menu;
        SetWindowMenu(menu, moveToTop);
      }
      if (info.menu == EMenu::File && !bare) {
        m_recentMenu = menu;
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentFiles);
      }
    }
}

void CMainFrame::BuildToolBar() {
  m_toolBar = addToolBar(tr("Tool Bar"));
  m_toolBar->setObjectName(QStringLiteral("toolBar"));
  m_toolBar->setWindowTitle(tr("Tool Bar"));
  m_toolBar->setIconSize(QSize(16, 16));
  std::vector<const CRoute*> tools;
  for (const auto& [id, route] : m_routes)
    if (route.info->tool)
      tools.push_back(&route);
  std::sort(tools.begin(), tools.end(), [](const CRoute* a, const CRoute* b) { return a->info->tool < b->info->tool; });
  int group = -1;
  for (const CRoute* route : tools) {
    if (group >= 0 && route->info->tool / 10 != group)
      m_toolBar->addSeparator();
    group = route->info->tool / 10;
    route->action->setIcon(ToolIcon(route->info->id));
    m_toolBar->addAction(route->action);
    // The tool tip names the command without its menu mnemonic.
    route->action->setToolTip(route->action->text().remove(QLatin1Char('&')).remove(QStringLiteral("...")));
  }
  connect(m_toolBar, &QToolBar::visibilityChanged, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::ShowChildMenu(bool child) {
  m_childMenuShown = child;
  for (QAction* action : m_frameMenus)
    action->setVisible(!child);
  for (QAction* action : m_childMenus)
    action->setVisible(child);
}

void CMainFrame::RebuildRecentFiles() {
  // The recent files go between the imports and the separator before Exit.
  QAction* separator = m_recentActions.front();
  for (size_t i = 1; i < m_recentActions.size(); ++i) {
    m_recentMenu->removeAction(m_recentActions[i]);
    m_recentActions[i]->deleteLater();
  }
  m_recentActions.resize(1);
  const QStringList& files = m_app.GetRecentFiles();
  QAction* before = separator;
  if (!files.isEmpty()) {
    QAction* top = new QAction(m_recentMenu);
    top->setSeparator(true);
    m_recentMenu->insertAction(separator, top);
    m_recentActions.push_back(top);
  }
  for (int i = 0; i < files.size(); ++i) {
    QString shown = QDir::toNativeSeparators(files.at(i));
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), m_recentMenu);
    const QString path = files.at(i);
    connect(action, &QAction::triggered, this, [this, path, i]() {
      if (!m_app.OpenLibrary(path))
        m_app.RemoveRecentFile(i); // a file that no longer opens leaves the list
    });
    m_recentMenu->insertAction(before, action);
    m_recentActions.push_back(action);
  }
}

CChildFrame* CMainFrame::GetActiveChildFrame() const {
  // The current child stays current while another program (or a menu) has the focus.
  return qobject_cast<CChildFrame*>(GetMdiArea()->currentSubWindow());
}

std::vector<QMdiSubWindow*> CMainFrame::GetChildFrames(QMdiSubWindow** active) const {
  if (active)
    *active = GetMdiArea()->currentSubWindow();
  std::vector<QMdiSubWindow*> frames;
  for (CFileDoc* document : m_app.GetLibraries())
    frames.push_back(document->GetFrame());
  if (CImageDoc* main = m_app.GetMainDocument())
    frames.push_back(main->GetFrame());
  return frames;
}

void CMainFrame::OnChildActivated() {
  ShowChildMenu(GetActiveChildFrame() != nullptr || !GetMdiArea()->subWindowList().isEmpty());
  OnUpdateFrameTitle();
  // The active view tells of changes to what its commands depend on (selection, undo, clipboard).
  CViewBase* view = GetActiveView();
  if (view != m_watchedView) {
    if (m_watchedView)
      disconnect(m_watchedView, &CViewBase::commandStateChanged, this, &CMainFrame::UpdateCommandStates);
    m_watchedView = view;
    if (view)
      connect(view, &CViewBase::commandStateChanged, this, &CMainFrame::UpdateCommandStates);
  }
  UpdateCommandStates();
}

void CMainFrame::OnUpdateFrameTitle() {
  QString title = QString::fromLatin1(kAppTitle);
  if (CChildFrame* child = GetActiveChildFrame())
    if (!child->isMaximized())
      title += QStringLiteral(" - ") + child->GetWindowTitle();
  // A maximised child's caption is added by the area itself.
  if (!GetActiveChildFrame() || !GetActiveChildFrame()->isMaximized())
    setWindowTitle(title);
}

CViewBase* CMainFrame::GetActiveView() const {
  CChildFrame* child = GetActiveChildFrame();
  return child ? child->GetActiveView() : nullptr;
}

bool CMainFrame::RouteCommand(int id) {
  auto it = m_routes.find(id);
  if (it == m_routes.end() || !it->second.run())
    return false;
  // What the command changed (selection, undo, clipboard, windows, a transfer's result) shows at once.
  UpdateCommandStates();
  return true;
}

void CMainFrame::UpdateCommandStates() {
  for (auto& [id, route] : m_routes) {
    const bool enabled = route.enabled();
    if (route.action->isEnabled() != enabled)
      route.action->setEnabled(enabled);
    if (route.checked && route.action->isChecked() != route.checked())
      route.action->setChecked(route.checked());
  }
  UpdateChildActions();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A transfer is never torn down half-way: the window manager's close waits for its end (or Cancel).
  if (m_app.GetProgressBar() && m_app.GetProgressBar()->GetDepth() > 0) {
    event->ignore();
    if (QWidget* progress = m_app.GetProgressBar()->GetDialog()) {
      progress->raise();
      progress->activateWindow();
    }
    return;
  }
  // The Main window's patches exist nowhere else once the program ends.
  CImageDoc* main = m_app.GetMainDocument();
  if (main && main->HoldsUnwrittenChanges() &&
      AppMessageBox(this, QMessageBox::Question,
                    tr("The Main window holds changes that were not written to the unit. Quit anyway?"),
                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    event->ignore();
    return;
  }
  // Modified libraries are asked about next; Cancel keeps the program running.
  if (!m_app.SaveAllModified()) {
    event->ignore();
    return;
  }
  GP::CMDIFrameWndEx::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFiles(event->mimeData()).isEmpty())
    event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QStringList files = LocalFiles(event->mimeData());
  if (files.isEmpty())
    return;
  event->acceptProposedAction();
  activateWindow();
  raise();
  m_app.OnDropFiles(files);
}
