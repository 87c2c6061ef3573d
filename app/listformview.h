#pragma once
// What the library view and the Main view share: a form with the "Temporary Read/Write" label and the
// patch list (control 4130, in the list area that grows with the view), the list font and grid, and
// Set Up Grid.

#include <QFrame>

#include "app/docview.h"
#include "model/document.h"
#include "model/patch.h"

class CPatchListCtrl;
class QLabel;

class CListFormView : public CViewBase {
  Q_OBJECT
public:
  // endOfLine: the list has an End of Line row (library windows).
  CListFormView(CDocumentBase* document, bool endOfLine, QWidget* parent = nullptr);

  bool HasEndOfLine() const { return m_endOfLine; }
  // The patches this view shows.
  virtual QZML::CPatchArray* GetPatchArray() const = 0;
  // The document's library data (patches and undo snapshot) the list is bound to.
  virtual QZML::CDocument* GetLibraryData() const = 0;
  // Where the patch list goes, and the list.
  QFrame* GetListArea() const { return m_listArea; }
  CPatchListCtrl* GetList() const { return m_list; }

  // The list takes the program's list font and its colour, and the grid switch.
  virtual void ApplyListFont();
  virtual void ApplyGrid();
  // Rebuilds the list from the document's patches (binding it to them the first time). A font change
  // (hint 1) stores the column widths first, so the rebuilt list keeps them.
  virtual void RefreshList(int hint = 0);

  bool OnCommand(int id) override;
  bool OnUpdateCommand(CCmdUI& ui) override;

  // A rectangle in dialog units (quarters of the average character width, eighths of the line height).
  QRect DialogRect(int x, int y, int width, int height) const;
  // Room for the patch list's columns and a page of rows.
  QSize sizeHint() const override;

protected:
  void resizeEvent(QResizeEvent* event) override;
  // Places the list area: from its dialog-unit origin to the view's edges.
  void SetListOrigin(int x, int y) {
    m_listX = x;
    m_listY = y;
  }
  void SetLabelOrigin(int x, int y);
  // The list's rows moved (scrolling, row keys, rebuild or refresh): the row buttons follow.
  virtual void OnListScrolled() {}
  // A patch row was double-clicked: the patch goes to the unit's temporary area.
  virtual void OnListDoubleClicked(int index) { (void)index; }

private:
  bool m_endOfLine;
  QLabel* m_tempLabel;
  QFrame* m_listArea;
  CPatchListCtrl* m_list;
  int m_listX = 45;
  int m_listY = 10;
};
