#include "gp/rowdrag.h"

#include "gp/editlistctrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace GP {

CDragSelection::CDragSelection(CEditListCtrl& list, std::function<void()> startDrag)
    : m_list(list), m_startDrag(std::move(startDrag)) {}

void CDragSelection::PressWithoutSweep() {
  m_leftDown = true;
  m_mode = EMode::None;
}

void CDragSelection::Press(const QPoint& pos, Qt::KeyboardModifiers modifiers) {
  m_list.setFocus(Qt::MouseFocusReason);
  m_leftDown = true;
  m_mode = EMode::None;
  const int row = m_list.rowAt(pos.y());
  if (row < 0 || m_list.columnAt(pos.x()) < 0)
    return;
  const int mark = m_list.GetSelectionMark();
  if (modifiers & Qt::ShiftModifier) {
    const int from = mark >= 0 && mark < m_list.GetItemCount() ? mark : row;
    m_list.SelectRows(std::min(from, row), std::max(from, row));
    m_list.SetFocusRow(row);
    m_list.SetSelectionMark(from);
    m_startRow = from;
    m_mode = EMode::Range;
  } else if (modifiers & Qt::ControlModifier) {
    m_list.SetRowSelected(row, !m_list.IsRowSelected(row));
    m_snapshot.assign(static_cast<size_t>(m_list.GetItemCount()), 0);
    for (int selected : m_list.GetSelectedRows())
      m_snapshot[static_cast<size_t>(selected)] = 1;
    m_list.SetFocusRow(row);
    m_list.SetSelectionMark(row);
    m_startRow = row;
    m_mode = EMode::Toggle;
  } else if (m_list.IsRowDragEnabled() && m_list.IsRowSelected(row)) {
    // The selected rows may be dragged away; a release without a drag selects this row alone.
    m_dragPending = true;
    m_pressPos = pos;
  } else {
    // Through the view, so that keyboard Shift selections start from this row as well.
    m_list.setCurrentIndex(m_list.model()->index(row, 0));
    m_list.SelectRows(row, row);
    m_list.SetSelectionMark(row);
    m_startRow = row;
    m_mode = EMode::Range;
  }
}

bool CDragSelection::Move(const QMouseEvent& event) {
  if (m_dragPending) {
    if (!(event.buttons() & Qt::LeftButton)) {
      m_dragPending = false;
    } else if ((event.position().toPoint() - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
      m_dragPending = false;
      m_startDrag();
    }
    return true;
  }
  if (!m_leftDown || m_mode == EMode::None || !(event.buttons() & Qt::LeftButton)) {
    const QAbstractItemView::SelectionMode mode = m_list.selectionMode();
    return m_leftDown && mode != QAbstractItemView::SingleSelection && mode != QAbstractItemView::NoSelection;
  }
  ExtendTo(RowAtY(event.position().toPoint().y()));
  return true;
}

void CDragSelection::Release() {
  if (m_dragPending) {
    m_dragPending = false;
    const int row = m_list.rowAt(m_pressPos.y());
    if (row >= 0) {
      m_list.setCurrentIndex(m_list.model()->index(row, 0));
      m_list.SelectRows(row, row);
      m_list.SetSelectionMark(row);
    }
  }
  Cancel();
  m_snapshot.clear();
}

void CDragSelection::Cancel() {
  m_leftDown = false;
  m_mode = EMode::None;
}

int CDragSelection::RowAtY(int y) const {
  const int count = m_list.GetItemCount();
  if (count == 0)
    return -1;
  if (y < 0)
    return std::max(m_list.GetTopIndex() - 1, 0);
  const int height = m_list.viewport()->height();
  const int row = m_list.rowAt(std::min(y, height - 1));
  if (y >= height)
    return std::min(row < 0 ? count - 1 : row + 1, count - 1);
  return row < 0 ? count - 1 : row;
}

void CDragSelection::ExtendTo(int row) {
  if (row < 0 || m_startRow < 0 || m_list.GetColumnCount() == 0)
    return;
  const int count = m_list.GetItemCount();
  const int first = std::min(m_startRow, row);
  const int last = std::max(m_startRow, row);
  std::vector<int> rows;
  if (m_mode == EMode::Toggle && static_cast<int>(m_snapshot.size()) == count) {
    // The swept rows are the snapshot's opposite, the others as they were.
    for (int r = 0; r < count; ++r) {
      const bool was = m_snapshot[static_cast<size_t>(r)] != 0;
      // The pressed row was toggled into the snapshot already.
      if (r != m_startRow && r >= first && r <= last ? !was : was)
        rows.push_back(r);
    }
    m_list.SelectRowList(rows);
  } else {
    m_list.SelectRows(first, last);
  }
  m_list.SetFocusRow(row);
  m_list.EnsureVisible(row);
}

// ---- drop ----

CRowDrop::CRowDrop(CEditListCtrl& list, ActionFor actionFor, SpanFor spanFor)
    : m_list(list), m_actionFor(std::move(actionFor)), m_spanFor(std::move(spanFor)) {
  m_scroll.setInterval(60);
  QObject::connect(&m_scroll, &QTimer::timeout, [this]() { Scroll(); });
}

int CRowDrop::RowAt(const QPoint& pos, int span) const {
  const int count = m_list.GetItemCount();
  if (count == 0)
    return span > 0 ? -1 : 0;
  const int row = m_list.rowAt(pos.y());
  if (span > 0) {
    if (row >= 0)
      return row;
    return pos.y() < 0 ? m_list.GetTopIndex() : count - 1;
  }
  if (row < 0)
    return pos.y() < 0 ? m_list.GetTopIndex() : count;
  // The upper half of a row drops before it, the lower half behind it.
  const int top = m_list.rowViewportPosition(row);
  return pos.y() >= top + m_list.rowHeight(row) / 2 ? row + 1 : row;
}

bool CRowDrop::Track(const QPoint& pos, const QMimeData* data, Qt::KeyboardModifiers modifiers) {
  const Qt::DropAction action = data ? m_actionFor(data, modifiers) : Qt::IgnoreAction;
  if (action == Qt::IgnoreAction) {
    Clear();
    return false;
  }
  const int span = m_spanFor(data);
  const int row = RowAt(pos, span);
  if (row != m_row || span != m_span)
    m_list.viewport()->update();
  m_row = row;
  m_span = span;
  m_pos = pos;
  m_data = data;
  m_modifiers = modifiers;
  // Near the top or bottom edge the list scrolls towards it.
  const int margin = std::max(m_list.verticalHeader()->defaultSectionSize(), 8);
  m_scrollStep = pos.y() < margin ? -1 : (pos.y() >= m_list.viewport()->height() - margin ? 1 : 0);
  if (m_scrollStep != 0 && !m_scroll.isActive())
    m_scroll.start();
  else if (m_scrollStep == 0)
    m_scroll.stop();
  return true;
}

void CRowDrop::Clear() {
  m_scroll.stop();
  m_scrollStep = 0;
  m_data = nullptr;
  if (m_row >= 0)
    m_list.viewport()->update();
  m_row = -1;
  m_span = 0;
}

void CRowDrop::Scroll() {
  if (!m_data || m_scrollStep == 0) {
    m_scroll.stop();
    return;
  }
  QScrollBar* bar = m_list.verticalScrollBar();
  bar->setValue(bar->value() + m_scrollStep);
  Track(m_pos, m_data, m_modifiers);
}

void CRowDrop::Paint(QPainter& painter) const {
  if (m_row < 0)
    return;
  const int count = m_list.GetItemCount();
  const int width = m_list.viewport()->width();
  const QColor color = m_list.palette().color(QPalette::Active, QPalette::Highlight);
  if (m_span > 0 && m_row < count) {
    const int last = std::min(m_row + m_span, count) - 1;
    const int top = m_list.rowViewportPosition(m_row);
    const int bottom = m_list.rowViewportPosition(last) + m_list.rowHeight(last);
    QColor tint = color;
    tint.setAlpha(48);
    painter.fillRect(QRect(0, top, width, bottom - top), tint);
    painter.setPen(QPen(color, 2));
    painter.drawRect(QRect(1, top + 1, width - 2, bottom - top - 2));
    return;
  }
  int y = 0;
  if (m_row < count)
    y = m_list.rowViewportPosition(m_row);
  else if (count > 0)
    y = m_list.rowViewportPosition(count - 1) + m_list.rowHeight(count - 1);
  painter.fillRect(QRect(0, y - 1, width, 3), color);
  painter.fillRect(QRect(0, y - 4, 3, 9), color);
  painter.fillRect(QRect(width - 3, y - 4, 3, 9), color);
}

} // namespace GP
