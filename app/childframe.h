#pragma once
// The child frames of the program (Main and library windows): a toolkit child frame holding one view
// and owning its document. The caption follows the document's title and modified flag through their
// signals. Qt owns the frame: it is a child of the main frame's area and deletes itself when closed.
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

  // Shows the view; its document belongs to the frame from now on and drives the caption.
  void SetView(CViewBase* view);
  CViewBase* GetActiveView() const { return m_view; }
  CDocumentBase* GetActiveDocument() const;

  // Renews the caption (the main frame follows its windowTitleChanged).
  void OnUpdateFrameTitle();
  // The caption without the main frame's part.
  virtual QString GetFrameTitle() const;

  // Whether Save Current Position stored a size for this kind of frame.
  bool HasSavedSize() const;

  // The program closes the frame with its document, without asking.
  void CloseDocument() {
    m_documentClosing = true;
    close();
  }
  bool IsDocumentClosing() const { return m_documentClosing; }

protected:
  // Before the frame closes on the user's request: false keeps it (a library asks to save changes).
  virtual bool CanClose() { return true; }
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  bool OnTitleOrBorder(const QPoint& pos) const;

  CViewBase* m_view = nullptr;
  bool m_documentClosing = false;
};
