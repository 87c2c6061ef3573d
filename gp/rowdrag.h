#pragma once
// Dragging over the rows of a list: the left button's selection sweep and the tracking of a drop.

#include <QPoint>
#include <QTimer>

#include <functional>
#include <vector>

class QMimeData;
class QMouseEvent;
class QPainter;

namespace GP {

class CEditListCtrl;

// The left button's selection in a list of many rows: a press selects a row (Shift extends from the
// selection mark, Ctrl toggles), moving with the button down sweeps the selection over the rows passed,
// scrolling when the pointer leaves the rows, and a Ctrl sweep toggles every row it passes. A press on a
// selected row of a list whose rows can be dragged out waits: moving far enough starts the drag of the
// rows, letting go without moving selects that row alone.
class CDragSelection {
public:
  // startDrag is called when a press on a selected row turns into a drag.
  CDragSelection(CEditListCtrl& list, std::function<void()> startDrag);

  // A left press at pos in a list that selects many rows.
  void Press(const QPoint& pos, Qt::KeyboardModifiers modifiers);
  // A left press in a list that selects one row or none: the view selects, nothing sweeps.
  void PressWithoutSweep();
  // The pointer moved; false when the list's own handling is to see the move.
  bool Move(const QMouseEvent& event);
  // Whether the left button went down in the list and is not yet up.
  bool IsLeftDown() const { return m_leftDown; }
  // The left button went up.
  void Release();
  // A drag took over: the press is over.
  void Cancel();

private:
  enum class EMode { None, Range, Toggle };

  // Selects from the sweep's start to row (see the class comment).
  void ExtendTo(int row);
  // The row under y; above or below the rows, the one the sweep scrolls to next.
  int RowAtY(int y) const;

  CEditListCtrl& m_list;
  std::function<void()> m_startDrag;
  EMode m_mode = EMode::None;
  std::vector<char> m_snapshot; // a Ctrl sweep: the selection as it was at the press
  int m_startRow = -1;
  bool m_leftDown = false;
  bool m_dragPending = false; // pressed on a selected row: a drag, or a click when released unmoved
  QPoint m_pressPos;
};

// Where data dragged over a list would land: the drop row and span under the pointer, the indicator
// that shows it (a line between rows, or a frame round the rows a drop replaces), and scrolling while
// the pointer is near the top or bottom edge.
class CRowDrop {
public:
  // What a drop of data with these keys down would do (Qt::IgnoreAction refuses it), and how many rows it
  // replaces (0 puts it in between rows).
  using ActionFor = std::function<Qt::DropAction(const QMimeData*, Qt::KeyboardModifiers)>;
  using SpanFor = std::function<int(const QMimeData*)>;

  CRowDrop(CEditListCtrl& list, ActionFor actionFor, SpanFor spanFor);

  // The drag is at pos (viewport coordinates): shows where it would land; false (and no indicator) when
  // the list refuses the data.
  bool Track(const QPoint& pos, const QMimeData* data, Qt::KeyboardModifiers modifiers);
  // The drag left or dropped.
  void Clear();
  // See CEditListCtrl::GetDropRow.
  int Row() const { return m_row; }
  int Span() const { return m_span; }
  int RowAt(const QPoint& pos, int span) const;
  // Draws the indicator onto the list's viewport.
  void Paint(QPainter& painter) const;

private:
  void Scroll();

  CEditListCtrl& m_list;
  ActionFor m_actionFor;
  SpanFor m_spanFor;
  int m_row = -1;
  int m_span = 0;
  QPoint m_pos;
  const QMimeData* m_data = nullptr; // while a drag is over the list
  Qt::KeyboardModifiers m_modifiers;
  int m_scrollStep = 0;
  QTimer m_scroll;
};

} // namespace GP
