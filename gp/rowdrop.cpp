#include "gp/rowdrop.h"

#include "gp/editlistctrl.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace GP {

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
