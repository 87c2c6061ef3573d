#pragma once
// A report list in which the user edits cells in place, the same column of many rows at once.
//
// Rows carry one item-data value each (a derived list stores what the row shows, e.g. a patch index)
// and their texts are asked for on demand (GetCellText), so lists of any length stay instant.
// A cell cursor (the current column, "*" in its header) moves between the columns that take it with
// Left/Right or h/l; Enter or a right click on a selected row opens an edit (CEditSession) over the
// current column, whose values go through operations a derived list overrides (GetCellValue,
// SetCellValue, ValidateCellValue).
//
// A row filter can hide rows; row numbers are then those of the shown rows, so a selection never holds a
// hidden row. Rows can be dragged out and data dropped between them (or, for a list that replaces, onto
// a run of rows; see CDragSelection and CRowDrop); a derived list supplies the data and decides what a
// drop does.

#include "gp/editsession.h"
#include "gp/rowdrag.h"

#include <QColor>
#include <QStringList>
#include <QTableView>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace GP {

class CEditListModel;

class CEditListCtrl : public QTableView {
  Q_OBJECT
public:
  // Column descriptor; the list keeps its own copy.
  struct SELVColumn {
    quint32 flags = 0;
    double minimum = 0.0;                 // smallest number accepted (number kind)
    double maximum = 0.0;                 // largest number accepted (number kind)
    qint32 spinParam = 0;                 // handed to the spin edit
    qint32 spinParam2 = 0;                // handed to the spin edit in mode 1
    qint32 spinParam3 = 0;                // handed to the spin edit in mode 1
    const QStringList* choices = nullptr; // choice kind; not owned, must outlive the column
    int maxLength = 0;                    // text kind: the most characters the field holds; 0 no limit
    bool (*accepts)(char32_t) = nullptr;  // text kind: the characters the field can hold; null any
  };

  enum ColumnFlags : quint32 {
    COL_ALIGN_MASK = 0x3,
    COL_ALIGN_LEFT = 0x0,
    COL_ALIGN_RIGHT = 0x1,
    COL_ALIGN_CENTER = 0x2,
    COL_KIND_MASK = 0x70,
    COL_KIND_TEXT = 0x10,   // free text, edited with CPopupEdit
    COL_KIND_CHOICE = 0x20, // one of the choices, edited with CPopupComboBox
    COL_KIND_NUMBER = 0x40, // number, edited with CPopupSpinEdit
    COL_SPINMODE_MASK = 0x300,
    COL_SPINMODE_0 = 0x100, // 0 and 0x200 give mode 1
    COL_SPINMODE_1 = 0x200,
    COL_SPINSTYLE_MASK = 0x3000,
    COL_SPINSTYLE_0 = 0x1000,
    COL_SPINSTYLE_2 = 0x2000,
    COL_EDITABLE = 0x10000, // can be edited and can take the cell cursor
  };

  explicit CEditListCtrl(QWidget* parent = nullptr);
  ~CEditListCtrl() override;

  CEditListModel* GetModel() const { return m_model.get(); }

  // Columns. Width < 0 fits the width to the heading. Inserting at or before the current column moves
  // the current column right with its column.
  int InsertColumn(int index, const QString& heading, int width, const SELVColumn& column);
  bool DeleteColumn(int index);
  void DeleteAllColumns();
  int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
  const SELVColumn* GetColumn(int column) const;
  QString GetColumnHeading(int column) const;
  Qt::Alignment GetColumnAlignment(int column) const;
  int GetColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  // Takes the cell cursor (bit COL_EDITABLE); can be edited (that bit and a known kind).
  bool CanTakeCursor(int column) const;
  bool IsColumnEditable(int column) const;

  // The cell cursor; -1 when there is no column. Setting clamps to the columns and scrolls the column
  // fully into view.
  int GetCurrentColumn() const { return m_currentColumn; }
  void SetCurrentColumn(int column);

  // Rows and their item data. SetItemCount makes rows 0..count-1 carrying 0..count-1.
  int GetItemCount() const;
  void SetItemCount(int count);
  int InsertItem(int row, qintptr data);
  bool DeleteItem(int row);
  void DeleteAllItems();
  qintptr GetItemData(int row) const;
  bool SetItemData(int row, qintptr data);
  // Stable sort of the rows by their item data (compare < 0: a before b).
  void SortItems(const std::function<int(qintptr, qintptr)>& compare);
  // The texts of these rows changed: draw them again.
  void RedrawItems(int first, int last);

  // The row filter: only rows whose item data it accepts are shown (null shows every row). Setting it
  // keeps the selection and the focus on the rows that stay shown and brings the first selected row
  // (else the focused one) into view.
  void SetRowFilter(std::function<bool(qintptr)> filter);
  bool IsRowFilterSet() const;
  // The rows shown or not.
  int GetTotalItemCount() const;

  // Rows can be dragged out (the derived list makes the data) and data dropped in.
  void SetRowDragEnabled(bool enabled) { m_rowDrag = enabled; }
  bool IsRowDragEnabled() const { return m_rowDrag; }
  void SetRowDropEnabled(bool enabled);
  // While a drag is over the list: the row the drop goes to (-1 when none), and how many rows from it it
  // replaces (0: the data goes in between rows, before the drop row; a drop row equal to the row count
  // is behind the last row).
  int GetDropRow() const { return m_drop->Row(); }
  int GetDropSpan() const { return m_drop->Span(); }
  // Where a drop at pos (viewport coordinates) would go for a span (see GetDropRow).
  int DropRowAt(const QPoint& pos, int span) const;
  // What follows the pointer while these rows are dragged: the first of them as the list shows them.
  QPixmap DragPixmap(const std::vector<int>& rows) const;
  // Where the pointer is on that picture: it hangs below and right of the pointer.
  static QPoint DragHotSpot() { return QPoint(-12, -8); }

  // Selection, focus and the selection mark (the fixed end of a Shift selection).
  std::vector<int> GetSelectedRows() const; // ascending
  int GetSelectedCount() const;
  bool IsRowSelected(int row) const;
  void SetRowSelected(int row, bool selected);
  void SelectRows(int first, int last);             // replaces the selection
  void SelectRowList(const std::vector<int>& rows); // replaces the selection; rows ascending
  void SelectAllRows();
  void ClearRowSelection();
  int GetFocusRow() const;
  void SetFocusRow(int row);
  int GetSelectionMark() const { return m_selectionMark; }
  void SetSelectionMark(int row) { m_selectionMark = row; }

  // Visible rows: the first one, the last one (even partly shown) and how many fit fully.
  int GetTopIndex() const;
  int GetBottomIndex() const;
  void SetTopIndex(int row);
  int GetCountPerPage() const;
  void EnsureVisible(int row);
  QRect GetCellRect(int row, int column) const;

  // The colour of the rows' texts (an invalid colour means the palette's), and of their background.
  void SetTextColor(const QColor& color);
  QColor GetTextColor() const;
  QColor GetBkColor() const;

  // The text cut to width with "..." at its end when it does not fit.
  static QString FitText(const QFontMetrics& metrics, const QString& text, int width);
  // A cell's text as it is drawn in its column's current width.
  QString GetDisplayText(int row, int column) const;

  // In-place editing (see CEditSession). Ending an edit goes through EndEdit, so that a derived list
  // sees every end.
  virtual bool BeginEdit(int row, int column);
  virtual bool EndEdit(bool commit);
  const CEditSession& GetEditSession() const { return *m_edit; }
  bool IsEditing() const { return m_edit->IsOpen(); }
  IPopup* GetCurrentPopup() const { return m_edit->Current(); }
  IPopup* GetPopup(int row) const { return m_edit->PopupAt(row); }
  int GetEditColumn() const { return m_edit->Column(); }

  // The cell's text; asked for every cell that is drawn. Empty here.
  virtual QString GetCellText(int row, int column) const;
  // The text a text or choice editor starts with: the cell's text here.
  virtual QString GetCellEditText(int row, int column) const { return GetCellText(row, column); }
  // The cell's current number (relative spin edits add to it).
  virtual double GetCellValue(int row, int column) const = 0;
  // Applies an edited value: a QString for the text and choice kinds, a double for the number kind.
  virtual void SetCellValue(int row, int column, const QVariant& value) = 0;
  // Text and choice accept anything, numbers must lie within the column's limits, other kinds refuse.
  virtual bool ValidateCellValue(int row, int column, const QVariant& value, bool relative);

signals:
  // The left button went up after the list's own selection handling (row -1 outside the rows).
  void listClick(int row, int column);
  // The right button went up after the list handled the press itself.
  void listRightClick(int row, int column);
  // The rows moved vertically (wheel, keys, scroll bar or program).
  void verticalScrolled();

protected:
  // Extension points; empty here unless noted. Ctrl+R on an editable text column with a selection.
  virtual void ReplaceText(int column);
  // A column header was clicked (a derived list sorts).
  virtual void OnColumnClick(int column);
  // Mouse presses; a derived list may filter them before calling these.
  virtual void OnLButtonDown(QMouseEvent* event);
  virtual void OnRButtonDown(QMouseEvent* event);

  // Row drag and drop. The data of the dragged rows (null: no drag) and the actions the drag offers.
  virtual QMimeData* CreateDragData(const std::vector<int>& rows) const;
  virtual Qt::DropActions GetDragActions() const;
  // What a drop of data with these keys down would do (Qt::IgnoreAction refuses it) and how many rows
  // it replaces (0 puts it in between rows).
  virtual Qt::DropAction GetDropAction(const QMimeData* data, Qt::KeyboardModifiers modifiers) const;
  virtual int GetDropSpanFor(const QMimeData* data) const;
  // Performs a drop at row (see GetDropRow); false when nothing was dropped.
  virtual bool DropData(const QMimeData* data, Qt::DropAction action, int row);
  // Starts the drag of the selected rows (a press on a selected row that moved far enough).
  void StartRowDrag();

  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

public:
  void scrollTo(const QModelIndex& index, ScrollHint hint = QAbstractItemView::EnsureVisible) override;
  // Scrolls horizontally until the column is fully in view (as far as it fits).
  void ScrollColumnIntoView(int column);

private:
  class CDelegate;
  struct SColumnEntry {
    QString heading;
    SELVColumn descriptor;
  };

  bool TakesKey(const QKeyEvent* event) const;
  bool AnyColumnEditable() const;
  int FirstSelectedVisibleRow() const;
  void EndEditForChange();
  void MoveCursor(int step); // -1 left, 1 right
  void UpdateRowHeight();
  int HeadingWidth(int column) const;
  // The filter changes the rows shown: selection, focus and mark follow their rows.
  void ChangeShownRows(const std::function<void()>& change);

  std::unique_ptr<CEditListModel> m_model; // not a child: it must outlive the view's own teardown
  std::vector<std::unique_ptr<SColumnEntry>> m_columns;
  int m_currentColumn = -1;
  std::unique_ptr<CEditSession> m_edit;
  int m_selectionMark = -1;
  std::unique_ptr<CDragSelection> m_mouse;
  bool m_rightDown = false;
  bool m_rowDrag = false;
  std::unique_ptr<CRowDrop> m_drop;
  QColor m_textColor;
};

} // namespace GP
