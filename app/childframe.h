#pragma once
// The child frames of the program (Main and library windows): a toolkit child frame holding one view.
// A release of the right mouse button on the title bar or border pops up the window list (the main
// frame's "Move to Top"); the frame's own context menu is not shown.

#include "gp/mdichildwndex.h"

class CDocumentBase;
class CViewBase;

class CChildFrame : public GP::CMDIChildWndEx {
  Q_OBJECT
public:
  // slot: the template id, under which the toolkit keeps this kind of frame's position.
  explicit CChildFrame(int slot, QWidget* parent = nullptr);

  void SetView(CViewBase* view);
  CViewBase* GetActiveView() const { return m_view; }
  CDocumentBase* GetActiveDocument() const;

  // Renews the caption, then the main frame's.
  virtual void OnUpdateFrameTitle();
  // The caption without the main frame's part.
  virtual QString GetFrameTitle() const;

  // Whether Save Current Position stored a size for this kind of frame.
  bool HasSavedSize() const;

  // The document is closing: the frame goes without asking.
  void SetDocumentClosing() { m_documentClosing = true; }
  bool IsDocumentClosing() const { return m_documentClosing; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  bool OnTitleOrBorder(const QPoint& pos) const;

  CViewBase* m_view = nullptr;
  bool m_documentClosing = false;
};
