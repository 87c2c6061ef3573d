#pragma once
// The left button's selection in a list of many rows: a press selects a row (Shift extends from the
// selection mark, Ctrl toggles), moving with the button down sweeps the selection over the rows passed,
// scrolling when the pointer leaves the rows, and a Ctrl sweep toggles every row it passes. A press on a
// selected row of a list whose rows can be dragged out waits: moving far enough starts the drag of the
// rows, letting go without moving selects that row alone.

#include <QPoint>

#include <functional>
#include <vector>

class QMouseEvent;

namespace GP {

class CEditListCtrl;

class CDragSelection {
public:
  // startDrag is called when a press on a selected row turns into a drag.
  CDragSelection(CEditListCtrl& list, std::function<void()> startDrag);

  // A left press at pos in a list that selects many rows.
  void Press(const QPoint& pos, Qt::KeyboardModifiers modifiers);
  // A left press in a list that selects one row or none: the list's own handling selects.
  void PressElsewhere();
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

} // namespace GP
