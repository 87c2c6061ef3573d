#pragma once
// The main frame: the MDI frame of the window toolkit with the program's menus, tool bar, status bar
// and accelerators. Its own short menu (File: New, Open, Exit; Help) shows while no child window is
// active, the full menu of the Main and library windows otherwise. Commands are routed to the active
// view, its document, its frame, then here and the application; the same route decides at idle time
// which commands are enabled. Files dropped on the frame are opened or imported.

#include <QMenu>

#include <map>

#include "app/cmdtarget.h"
#include "gp/mdiframewndex.h"

class CChildFrame;
class QToolBar;

class CMainFrame : public GP::CMDIFrameWndEx, public CCmdTarget {
  Q_OBJECT
public:
  explicit CMainFrame(QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Runs a command through the route; false when nobody handled it.
  bool RouteCommand(int id);
  // The enabling rules of every command, through the same route.
  void UpdateCommandUI();
  // The command's action (menu item, tool bar button, accelerator), or null.
  QAction* GetCommandAction(int id) const;

  CChildFrame* GetActiveChildFrame() const;
  // The child frames by document: templates, their documents, the documents' views.
  std::vector<QMdiSubWindow*> GetChildFrames(QMdiSubWindow** active = nullptr) const override;

  // The application title, and " - " with the active child's caption while it is not maximised.
  void OnUpdateFrameTitle();

  bool OnCommand(int id) override;
  bool OnUpdateCommand(CCmdUI& ui) override;

  QToolBar* GetToolBar() const { return m_toolBar; }
  QMenu* GetWindowMenu() const { return m_windowMenu; }
  // Which menu shows: true for the full menu of the child windows.
  bool IsChildMenuShown() const { return m_childMenuShown; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  QAction* AddCommand(int id, const QString& text, const QKeySequence& shortcut = QKeySequence(),
                      const QString& tip = QString());
  void BuildCommands();
  void BuildMenus();
  void BuildToolBar();
  void OnChildActivated();
  void ShowChildMenu(bool child);
  void RebuildRecentFiles();

  std::map<int, QAction*> m_commands;
  QToolBar* m_toolBar = nullptr;
  QMenu* m_windowMenu = nullptr;
  std::vector<QAction*> m_frameMenus; // the short menu's top-level entries
  std::vector<QAction*> m_childMenus; // the full menu's top-level entries
  QMenu* m_recentMenu = nullptr;
  std::vector<QAction*> m_recentActions;
  bool m_childMenuShown = false;
  bool m_closing = false;
};
