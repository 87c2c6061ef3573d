#pragma once
// The main frame: reopens where it was closed (also maximised), keeps its tool and status bar layout,
// offers Maximize Height/Width and Save Current Position for the active child, and lists the open
// child windows in the Window menu under "&0".."&Z", reachable from anywhere with Ctrl+G.
//
// Profile ("Window" section): "Position" = left,top,right,bottom of the normal rectangle (written on
// destruction; without one, the first start takes three quarters of the screen's area, centred);
// "Maximized" = 1/0 (written on close). Also on close: the bar layout under "ControlBar" and the program
// version under "Version"/"FileVersion".

#include <QMainWindow>
#include <QPointer>

#include <vector>

class QMdiArea;
class QMdiSubWindow;

namespace GP {

class CMDIChildWndEx;

class CMDIFrameWndEx : public QMainWindow {
  Q_OBJECT
public:
  static constexpr int kMaxWindowList = 36;

  explicit CMDIFrameWndEx(QWidget* parent = nullptr);
  ~CMDIFrameWndEx() override;

  QMdiArea* GetMdiArea() const { return m_area; }

  // Where the frame opens when no position is stored: about three quarters of available's area, centred.
  static QRect FirstStartRect(const QRect& available);

  // Adds a child frame. A CMDIChildWndEx added without a position of its own takes its stored one.
  QMdiSubWindow* AddChild(QMdiSubWindow* child);

  // The tool and status bar layout, under "ControlBar"; the application loads it after building its bars.
  void LoadBarState();
  void SaveBarState();

  // Ctrl+G ("Move to Top"): pops the window list up at the mouse. Added to the frame so it works everywhere.
  QAction* GetMoveToTopAction() const { return m_moveToTop; }
  // Commands on the active child; enabled only for a child that is neither minimised nor maximised.
  QAction* GetMaximizeHeightAction() const { return m_maximizeHeight; }
  QAction* GetMaximizeWidthAction() const { return m_maximizeWidth; }
  QAction* GetMaximizeBothAction() const { return m_maximizeBoth; } // no menu item; both at once
  QAction* GetSavePositionAction() const { return m_savePosition; }

  // Puts the window list submenu into the application's Window menu: in place of moveToTop (same text)
  // when it is an item of menu, else at the end. The list is rebuilt whenever the menu opens.
  void SetWindowMenu(QMenu* menu, QAction* moveToTop = nullptr);
  QMenu* GetWindowListMenu() const { return m_windowList; }
  // Position of the list in the Window menu; -1 when there is none.
  int GetMoveToTopPosition() const { return m_moveToTopPosition; }

  // The child frames in list order and the active one. Here: the area's windows in creation order;
  // an application with documents may list them by document instead.
  virtual std::vector<QMdiSubWindow*> GetChildFrames(QMdiSubWindow** active = nullptr) const;
  void RebuildWindowList();
  // The window list command: activates the index-th child, restoring it when minimised.
  void ActivateChild(int index);
  static QString WindowListLabel(int index); // "&0".."&9", "&A".."&Z"

  // Evaluates the enabling rules of the child commands.
  void UpdateChildActions();

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  CMDIChildWndEx* ActiveChildEx() const;
  void RestorePosition();
  void ApplyPendingPositions();

  QMdiArea* m_area;
  QAction* m_moveToTop;
  QAction* m_maximizeHeight;
  QAction* m_maximizeWidth;
  QAction* m_maximizeBoth;
  QAction* m_savePosition;
  QMenu* m_windowList;
  QPointer<QMenu> m_windowMenu;
  int m_moveToTopPosition = -1;
  std::vector<QPointer<CMDIChildWndEx>> m_pendingPositions;
};

} // namespace GP
