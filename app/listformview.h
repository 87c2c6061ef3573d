#pragma once
// What the library view and the Main view share: a form with the "Temporary Read/Write" label and the
// patch list area that grows with the view, the list font and grid, and Set Up Grid. The patch list
// control sits in GetListArea(); until then the area shows how many patches the document holds.

#include <QFrame>

#include "app/docview.h"
#include "model/patch.h"

class QLabel;

class CListFormView : public CViewBase {
  Q_OBJECT
public:
  // endOfLine: the list has an End of Line row (library windows).
  CListFormView(CDocumentBase* document, bool endOfLine, QWidget* parent = nullptr);

  bool HasEndOfLine() const { return m_endOfLine; }
  // The patches this view shows.
  virtual QZML::CPatchArray* GetPatchArray() const = 0;
  // Where the patch list goes.
  QFrame* GetListArea() const { return m_listArea; }

  // The list takes the program's list font and its colour, and the grid switch.
  virtual void ApplyListFont();
  virtual void ApplyGrid();
  // Rebuilds what the list area shows.
  virtual void RefreshList();

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

private:
  bool m_endOfLine;
  QLabel* m_tempLabel;
  QFrame* m_listArea;
  QLabel* m_placeholder;
  int m_listX = 45;
  int m_listY = 10;
};
