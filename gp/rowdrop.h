#pragma once
// Where data dragged over a list would land: the drop row and span under the pointer, the indicator
// that shows it (a line between rows, or a frame round the rows a drop replaces), and scrolling while
// the pointer is near the top or bottom edge.

#include <QPoint>
#include <QTimer>

#include <functional>

class QMimeData;
class QPainter;

namespace GP {

class CEditListCtrl;

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
