#include "app/mainframe.h"

#include "app/app.h"
#include "app/childframe.h"
#include "app/docman.h"
#include "app/docview.h"
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

CMainFrame::CMainFrame(QWidget* parent) : GP::CMDIFrameWndEx(parent) {
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
}

CMainFrame::~CMainFrame() { disconnect(GetMdiArea(), nullptr, this, nullptr); }

QAction* CMainFrame::AddCommand(int id, const QString& text, const QKeySequence& shortcut, const QString& tip) {
  auto* action = new QAction(text, this);
  action->setData(id);
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action); // accelerators work whichever menu shows
  }
  if (!tip.isEmpty())
    action->setStatusTip(tip);
  connect(action, &QAction::triggered, this, [this, id]() { RouteCommand(id); });
  m_commands[id] = action;
  return action;
}

void CMainFrame::BuildCommands() {
  AddCommand(ID_FILE_NEW, tr("&New"), QKeySequence(Qt::CTRL | Qt::Key_N), tr("Create a new library"));
  AddCommand(ID_FILE_DUPLICATE, tr("&Duplicate"), QKeySequence(Qt::CTRL | Qt::Key_D),
             tr("Copy the patches of the active window into a new library"));
  AddCommand(ID_FILE_OPEN, tr("&Open..."), QKeySequence(Qt::CTRL | Qt::Key_O), tr("Open an existing library"));
  AddCommand(ID_FILE_CLOSE, tr("&Close"), QKeySequence(), tr("Close the active library"));
  AddCommand(ID_FILE_SAVE, tr("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S), tr("Save the active library"));
  AddCommand(ID_FILE_SAVE_AS, tr("Save &As..."), QKeySequence(), tr("Save the active library with a new name"));
  AddCommand(ID_FILE_IMPORT_SMF, tr("&Import SMF..."), QKeySequence(),
             tr("Read a Standard MIDI File into the Main window"));
  AddCommand(ID_FILE_EXPORT_SMF_ALL, tr("&All Data..."), QKeySequence(),
             tr("Write every patch of the Main window to a Standard MIDI File"));
  AddCommand(ID_FILE_EXPORT_SMF_SELECTED, tr("&Selected Data..."), QKeySequence(),
             tr("Write the selected patches of the Main window to a Standard MIDI File"));
  AddCommand(ID_FILE_IMPORT_SYSEX, tr("Import S&ysEx..."), QKeySequence(), tr("Read a SysEx file into the Main window"));
  AddCommand(ID_FILE_EXPORT_SYSEX_ALL, tr("&All Data..."), QKeySequence(),
             tr("Write every patch of the Main window to a SysEx file"));
  AddCommand(ID_FILE_EXPORT_SYSEX_SELECTED, tr("&Selected Data..."), QKeySequence(),
             tr("Write the selected patches of the Main window to a SysEx file"));
  AddCommand(ID_FILE_IMPORT_ZKL, tr("Import &ZK-40 Librarian File..."), QKeySequence(),
             tr("Open a ZK-40 librarian file as a new library"));
  AddCommand(ID_FILE_IMPORT_QZ3, tr("Import QZ-&3 Bulk Dump File..."), QKeySequence(),
             tr("Open a QZ-3 bulk dump as a new library"));
  AddCommand(ID_APP_EXIT, tr("E&xit"), QKeySequence(), tr("Quit the application"));

  AddCommand(ID_EDIT_UNDO, tr("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), tr("Undo the last change"));
  AddCommand(ID_EDIT_CUT, tr("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X),
             tr("Cut the selected patches to the clipboard"));
  AddCommand(ID_EDIT_COPY, tr("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
             tr("Copy the selected patches to the clipboard"));
  AddCommand(ID_EDIT_INSERT, tr("&Insert"), QKeySequence(Qt::CTRL | Qt::Key_V),
             tr("Insert the clipboard's patches before the selection"));
  AddCommand(ID_EDIT_REPLACE, tr("&Replace"), QKeySequence(Qt::CTRL | Qt::Key_R),
             tr("Replace the selected patches with the clipboard's"));
  AddCommand(ID_EDIT_DELETE, tr("&Delete"), QKeySequence(Qt::Key_Delete), tr("Delete the selected patches"));
  AddCommand(ID_EDIT_EXCHANGE, tr("E&xchange"), QKeySequence(Qt::CTRL | Qt::Key_E),
             tr("Exchange the two selected patches"));
  AddCommand(ID_EDIT_SELECT_ALL, tr("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A), tr("Select every patch"));
  AddCommand(ID_EDIT_COMPARE, tr("Co&mpare..."), QKeySequence(),
             tr("Show the differences of the two selected patches, or of the current patches of two windows"));
  AddCommand(ID_EDIT_SELECT_DUPLICATES, tr("Select D&uplicates..."), QKeySequence(),
             tr("Select every patch that equals one above it"));

  QAction* toolBar = AddCommand(ID_VIEW_TOOLBAR, tr("&Tool Bar"), QKeySequence(), tr("Show or hide the tool bar"));
  toolBar->setCheckable(true);
  QAction* status = AddCommand(ID_VIEW_STATUS_BAR, tr("&Status Bar"), QKeySequence(), tr("Show or hide the status bar"));
  status->setCheckable(true);

  AddCommand(ID_MIDI_READ_ALL, tr("Read &All Data"), QKeySequence(), tr("Read every user patch from the unit"));
  AddCommand(ID_MIDI_READ_SELECTED, tr("Read &Selected Data"), QKeySequence(),
             tr("Read the selected user patches from the unit"));
  AddCommand(ID_MIDI_WRITE_ALL, tr("&Write All Data"), QKeySequence(), tr("Write every patch to the unit's user area"));
  AddCommand(ID_MIDI_WRITE_SELECTED, tr("W&rite Selected Data"), QKeySequence(),
             tr("Write the selected patches to the unit's user area"));

  AddCommand(ID_SETUP_MIDI, tr("Set Up &MIDI Devices..."), QKeySequence(), tr("Choose the MIDI ports and device ID"));
  AddCommand(ID_SETUP_FONT, tr("Set Up &Font..."), QKeySequence(), tr("Choose the font of the patch lists"));
  AddCommand(ID_SETUP_GRID, tr("Set Up &Grid..."), QKeySequence(), tr("Show or hide grid lines in the patch lists"));
  AddCommand(ID_SETUP_TARGET_MODEL, tr("Select &Target Model..."), QKeySequence(),
             tr("Choose the model the librarian works with"));

  AddCommand(ID_WINDOW_CASCADE, tr("&Cascade"), QKeySequence(), tr("Arrange the windows so they overlap"));
  AddCommand(ID_WINDOW_TILE_HORZ, tr("&Tile"), QKeySequence(), tr("Arrange the windows side by side"));
  AddCommand(ID_WINDOW_ARRANGE, tr("&Arrange Icons"), QKeySequence(), tr("Arrange the minimised windows"));

  AddCommand(ID_HELP_MANUAL, tr("QZ-MAX Librarian &Manual"), QKeySequence(Qt::Key_F1), tr("Open the manual"));
  AddCommand(ID_APP_ABOUT, tr("&About QZ-MAX Librarian..."), QKeySequence(),
             tr("Show the program's version and copyright"));

  // Accelerators whose commands nothing handles: they only keep the keys from doing anything else.
  for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_P), QKeySequence(Qt::CTRL | Qt::Key_K),
                                  QKeySequence(Qt::CTRL | Qt::Key_T), QKeySequence(Qt::CTRL | Qt::Key_W),
                                  QKeySequence(Qt::CTRL | Qt::Key_Y)}) {
    auto* idle = new QAction(this);
    idle->setShortcut(key);
    idle->setShortcutContext(Qt::WindowShortcut);
    addAction(idle);
  }
}

QAction* CMainFrame::GetCommandAction(int id) const {
  auto it = m_commands.find(id);
  return it == m_commands.end() ? nullptr : it->second;
}

void CMainFrame::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto command = [this](int id) { return m_commands.at(id); };
  auto track = [this](QMenu* menu, std::vector<QAction*>& list) {
    list.push_back(menu->menuAction());
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
  };

  // The frame's own menu.
  QMenu* frameFile = bar->addMenu(tr("&File"));
  frameFile->addAction(command(ID_FILE_NEW));
  frameFile->addAction(command(ID_FILE_OPEN));
  frameFile->addSeparator();
  frameFile->addAction(command(ID_APP_EXIT));
  track(frameFile, m_frameMenus);
  QMenu* frameHelp = bar->addMenu(tr("&Help"));
  frameHelp->addAction(command(ID_HELP_MANUAL));
  frameHelp->addSeparator();
  frameHelp->addAction(command(ID_APP_ABOUT));
  track(frameHelp, m_frameMenus);

  // The menu of the Main and library windows.
  QMenu* file = bar->addMenu(tr("&File"));
  file->addAction(command(ID_FILE_NEW));
  file->addAction(command(ID_FILE_DUPLICATE));
  file->addAction(command(ID_FILE_OPEN));
  file->addAction(command(ID_FILE_CLOSE));
  file->addAction(command(ID_FILE_SAVE));
  file->addAction(command(ID_FILE_SAVE_AS));
  file->addSeparator();
  file->addAction(command(ID_FILE_IMPORT_SMF));
  QMenu* exportSmf = file->addMenu(tr("&Export SMF"));
  exportSmf->addAction(command(ID_FILE_EXPORT_SMF_ALL));
  exportSmf->addAction(command(ID_FILE_EXPORT_SMF_SELECTED));
  connect(exportSmf, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
  file->addAction(command(ID_FILE_IMPORT_SYSEX));
  QMenu* exportSysEx = file->addMenu(tr("Expor&t SysEx"));
  exportSysEx->addAction(command(ID_FILE_EXPORT_SYSEX_ALL));
  exportSysEx->addAction(command(ID_FILE_EXPORT_SYSEX_SELECTED));
  connect(exportSysEx, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandUI);
  file->addSeparator();
  file->addAction(command(ID_FILE_IMPORT_ZKL));
  file->addAction(command(ID_FILE_IMPORT_QZ3));
  m_recentMenu = file;
  m_recentActions.push_back(file->addSeparator());
  file->addAction(command(ID_APP_EXIT));
  connect(file, &QMenu::aboutToShow, this, &CMainFrame::RebuildRecentFiles);
  track(file, m_childMenus);

  QMenu* edit = bar->addMenu(tr("&Edit"));
  edit->addAction(command(ID_EDIT_UNDO));
  edit->addSeparator();
  for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_INSERT, ID_EDIT_REPLACE, ID_EDIT_DELETE, ID_EDIT_EXCHANGE})
    edit->addAction(command(id));
  edit->addSeparator();
  edit->addAction(command(ID_EDIT_SELECT_ALL));
  edit->addSeparator();
  edit->addAction(command(ID_EDIT_COMPARE));
  edit->addAction(command(ID_EDIT_SELECT_DUPLICATES));
  track(edit, m_childMenus);

  QMenu* view = bar->addMenu(tr("&View"));
  view->addAction(command(ID_VIEW_TOOLBAR));
  view->addAction(command(ID_VIEW_STATUS_BAR));
  track(view, m_childMenus);

  QMenu* midi = bar->addMenu(tr("&MIDI"));
  midi->addAction(command(ID_MIDI_READ_ALL));
  midi->addAction(command(ID_MIDI_READ_SELECTED));
  midi->addSeparator();
  midi->addAction(command(ID_MIDI_WRITE_ALL));
  midi->addAction(command(ID_MIDI_WRITE_SELECTED));
  track(midi, m_childMenus);

  QMenu* setup = bar->addMenu(tr("&Setup"));
  for (int id : {ID_SETUP_MIDI, ID_SETUP_FONT, ID_SETUP_GRID, ID_SETUP_TARGET_MODEL})
    setup->addAction(command(id));
  track(setup, m_childMenus);

  m_windowMenu = bar->addMenu(tr("&Window"));
  m_windowMenu->addAction(GetMaximizeHeightAction());
  m_windowMenu->addAction(GetMaximizeWidthAction());
  m_windowMenu->addAction(GetSavePositionAction());
  m_windowMenu->addSeparator();
  QAction* moveToTop = m_windowMenu->addAction(GetMoveToTopAction()->text());
  m_windowMenu->addSeparator();
  m_windowMenu->addAction(command(ID_WINDOW_CASCADE));
  m_windowMenu->addAction(command(ID_WINDOW_TILE_HORZ));
  m_windowMenu->addAction(command(ID_WINDOW_ARRANGE));
  SetWindowMenu(m_windowMenu, moveToTop);
  track(m_windowMenu, m_childMenus);

  QMenu* help = bar->addMenu(tr("&Help"));
  help->addAction(command(ID_HELP_MANUAL));
  help->addSeparator();
  help->addAction(command(ID_APP_ABOUT));
  track(help, m_childMenus);
}

void CMainFrame::BuildToolBar() {
  m_toolBar = addToolBar(tr("Tool Bar"));
  m_toolBar->setObjectName(QStringLiteral("toolBar"));
  m_toolBar->setWindowTitle(tr("Tool Bar"));
  m_toolBar->setIconSize(QSize(16, 16));
  auto add = [this](int id) {
    QAction* action = m_commands.at(id);
    action->setIcon(ToolIcon(id));
    m_toolBar->addAction(action);
  };
  add(ID_FILE_NEW);
  add(ID_FILE_OPEN);
  add(ID_FILE_SAVE);
  m_toolBar->addSeparator();
  for (int id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_INSERT, ID_EDIT_REPLACE, ID_EDIT_DELETE})
    add(id);
  m_toolBar->addSeparator();
  add(ID_HELP_MANUAL);
  // The tool tip names the command without its menu mnemonic.
  for (QAction* action : m_toolBar->actions())
    if (!action->isSeparator())
      action->setToolTip(action->text().remove(QLatin1Char('&')).remove(QStringLiteral("...")));
}

void CMainFrame::ShowChildMenu(bool child) {
  m_childMenuShown = child;
  for (QAction* action : m_frameMenus)
    action->setVisible(!child);
  for (QAction* action : m_childMenus)
    action->setVisible(child);
}

void CMainFrame::RebuildRecentFiles() {
  UpdateCommandUI();
  // The recent files go between the imports and the separator before Exit.
  QAction* separator = m_recentActions.front();
  for (size_t i = 1; i < m_recentActions.size(); ++i) {
    m_recentMenu->removeAction(m_recentActions[i]);
    m_recentActions[i]->deleteLater();
  }
  m_recentActions.resize(1);
  CApp* app = CApp::Instance();
  if (!app)
    return;
  const QStringList& files = app->GetDocManager().GetRecentFiles();
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
    connect(action, &QAction::triggered, this, [app, path, i]() {
      if (!app->GetDocManager().OpenDocumentFile(path))
        app->GetDocManager().RemoveFromRecentFileList(i); // a file that no longer opens leaves the list
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
  CApp* app = CApp::Instance();
  if (!app)
    return GP::CMDIFrameWndEx::GetChildFrames(active);
  if (active)
    *active = GetMdiArea()->currentSubWindow();
  std::vector<QMdiSubWindow*> frames;
  for (const auto& docTemplate : app->GetDocManager().GetTemplates())
    for (CDocumentBase* document : docTemplate->GetDocuments())
      for (CViewBase* view : document->GetViews()) {
        CChildFrame* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
          frames.push_back(frame);
      }
  return frames;
}

void CMainFrame::OnChildActivated() {
  ShowChildMenu(GetActiveChildFrame() != nullptr || !GetMdiArea()->subWindowList().isEmpty());
  OnUpdateFrameTitle();
  UpdateCommandUI();
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

bool CMainFrame::RouteCommand(int id) {
  if (CChildFrame* child = GetActiveChildFrame()) {
    if (CViewBase* view = child->GetActiveView()) {
      if (view->OnCommand(id))
        return true;
      if (CDocumentBase* document = view->GetDocument())
        if (document->OnCommand(id))
          return true;
    }
    if (child->OnCommand(id))
      return true;
  }
  if (OnCommand(id))
    return true;
  if (CApp* app = CApp::Instance())
    return app->OnCommand(id);
  return false;
}

void CMainFrame::UpdateCommandUI() {
  CChildFrame* child = GetActiveChildFrame();
  CViewBase* view = child ? child->GetActiveView() : nullptr;
  CDocumentBase* document = view ? view->GetDocument() : nullptr;
  CApp* app = CApp::Instance();
  for (auto& [id, action] : m_commands) {
    CCmdUI ui(id);
    const bool handled = (view && view->OnUpdateCommand(ui)) || (document && document->OnUpdateCommand(ui)) ||
                         (child && child->OnUpdateCommand(ui)) || OnUpdateCommand(ui) ||
                         (app && app->OnUpdateCommand(ui));
    const bool enabled = handled && ui.IsHandled() && ui.IsEnabled();
    if (action->isEnabled() != enabled)
      action->setEnabled(enabled);
    if (action->isCheckable() && action->isChecked() != ui.IsChecked())
      action->setChecked(ui.IsChecked());
  }
  UpdateChildActions();
}

bool CMainFrame::OnCommand(int id) {
  switch (id) {
  case ID_VIEW_TOOLBAR:
    m_toolBar->setVisible(!m_toolBar->isVisible());
    return true;
  case ID_VIEW_STATUS_BAR:
    statusBar()->setVisible(!statusBar()->isVisible());
    return true;
  case ID_WINDOW_CASCADE:
    GetMdiArea()->cascadeSubWindows();
    return true;
  case ID_WINDOW_TILE_HORZ:
    GetMdiArea()->tileSubWindows();
    return true;
  case ID_WINDOW_ARRANGE: {
    // Minimised windows line up along the bottom of the area.
    int x = 0;
    const int bottom = GetMdiArea()->viewport()->height();
    for (QMdiSubWindow* child : GetMdiArea()->subWindowList())
      if (child->isMinimized()) {
        child->move(x, bottom - child->height());
        x += child->width();
      }
    return true;
  }
  case ID_APP_EXIT:
    close();
    return true;
  default:
    return false;
  }
}

bool CMainFrame::OnUpdateCommand(CCmdUI& ui) {
  switch (ui.GetId()) {
  case ID_VIEW_TOOLBAR:
    ui.Enable();
    ui.SetCheck(!m_toolBar->isHidden());
    return true;
  case ID_VIEW_STATUS_BAR:
    ui.Enable();
    ui.SetCheck(!statusBar()->isHidden());
    return true;
  case ID_WINDOW_CASCADE:
  case ID_WINDOW_TILE_HORZ:
  case ID_WINDOW_ARRANGE:
  case ID_APP_EXIT:
    ui.Enable();
    return true;
  default:
    return false;
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  CApp* app = CApp::Instance();
  // Modified libraries are asked about first; Cancel keeps the program running.
  if (app && !app->GetDocManager().SaveAllModified()) {
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
  if (CApp* app = CApp::Instance())
    app->OnDropFiles(files);
}
