#pragma once
// The main frame: the MDI frame of the window toolkit with the program's menus, tool bar, status bar
// and accelerators. Its own short menu (File: New, Open, Exit; Help) shows while no child window is
// active, the full menu of the Main and library windows otherwise. Menus, tool bar and accelerators are
// built from the command tables of the application, this frame and the views (app/commands.h); a
// command goes to its owner, the active view for the views' commands. The enabled states are renewed
// when something they depend on changes: the active window, or what the active view reports (selection,
// undo, clipboard, modified flag), and after every command. Files dropped on the frame are opened or
// imported.

#include <QMenu>

#include <QPointer>

#include <functional>
#include <map>

#include "app/commands.h"
#include "gp/mdiframewndex.h"

class CApp;
class CChildFrame;
class CViewBase;
class QToolBar;

class CMainFrame : public GP::CMDIFrameWndEx {
  Q_OBJECT
public:
  // app: the owner of the application's commands, the libraries and the recent files.
  explicit CMainFrame(CApp& app, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // The frame's own commands: tool and status bar, window arrangement, Exit.
  static const CCommandTable<CMainFrame>& Commands();

  // Runs a command on its owner; false when the command has none now (no such view is active).
  bool RouteCommand(int id);
  // Every command's enabling rule and check mark, applied to its action.
  void UpdateCommandStates();
  // The command's action (menu item, tool bar button, accelerator), or null.
  QAction* GetCommandAction(int id) const;

  CChildFrame* GetActiveChildFrame() const;
  CViewBase* GetActiveView() const;
  // The child frames for the window list: the libraries in the order they were made, then Main.
  std::vector<QMdiSubWindow*> GetChildFrames(QMdiSubWindow** active = nullptr) const override;

  // The application title, and " - " with the active child's caption while it is not maximised.
  void OnUpdateFrameTitle();

  // Which menu shows: true for the full menu of the child windows.
  bool IsChildMenuShown() const { return m_childMenuShown; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  // A command's action and how it reaches its owner.
  struct CRoute {
    const CCommandInfo* info = nullptr;
    QAction* action = nullptr;
    std::function<bool()> enabled; // the owner exists and the rule holds
    std::function<bool()> run;     // false when there is no owner
    std::function<bool()> checked; // empty for a plain command
  };

  template <class Owner>
  void AddCommands(const CCommandTable<Owner>& table, std::function<Owner*()> owner);
  void BuildCommands();
  void BuildMenus();
  void FillMenu(QMenu* menu, EMenu which, bool bare);
  void BuildToolBar();
  void OnChildActivated();
  void ShowChildMenu(bool child);
  void RebuildRecentFiles();

  CApp& m_app;
  std::map<int, CRoute> m_routes;
  QPointer<CViewBase> m_watchedView;
  QToolBar* m_toolBar = nullptr;
  QMenu* m_windowMenu = nullptr;
  std::vector<QAction*> m_frameMenus; // the short menu's top-level entries
  std::vector<QAction*> m_childMenus; // the full menu's top-level entries
  QMenu* m_recentMenu = nullptr;
  std::vector<QAction*> m_recentActions;
  bool m_childMenuShown = false;
  bool m_closing = false;
};
