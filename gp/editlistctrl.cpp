#include "gp/editlistctrl.h"

#include "gp/editlistmodel.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace GP {

namespace {

const QString kEllipsis = QStringLiteral("...");

} // namespace

// Draws the rows: highlight for selected rows, grey text when disabled, texts cut with "...".
class CEditListCtrl::CDelegate : public QStyledItemDelegate {
public:
  explicit CDelegate(CEditListCtrl& list) : QStyledItemDelegate(&list), m_list(list) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool enabled = m_list.isEnabled();
    const bool selected = enabled && (option.state & QStyle::State_Selected);
    QColor background = m_list.GetBkColor();
    QColor text;
    if (selected) {
      background = option.palette.color(QPalette::Active, QPalette::Highlight);
      text = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    } else {
      text = enabled ? m_list.GetTextColor() : QColor(128, 128, 128);
    }
    if (text == background)
      text = QColor(192, 192, 192);
    painter->save();
    painter->fillRect(option.rect, background);
    const QFontMetrics metrics(option.font);
    const int margin = metrics.horizontalAdvance(QLatin1Char(' '));
    const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
    const QString shown = FitText(metrics, index.data(Qt::DisplayRole).toString(), area.width());
    painter->setFont(option.font);
    painter->setPen(text);
    painter->setClipRect(option.rect);
    painter->drawText(area, int(m_list.GetColumnAlignment(index.column()) | Qt::AlignVCenter) | Qt::TextSingleLine,
                      shown);
    painter->restore();
  }

private:
  CEditListCtrl& m_list;
};

CEditListCtrl::CEditListCtrl(QWidget* parent)
    : QTableView(parent), m_model(std::make_unique<CEditListModel>(*this)),
      m_edit(std::make_unique<CEditSession>(*this)),
      m_mouse(std::make_unique<CDragSelection>(*this, [this]() { StartRowDrag(); })),
      m_drop(std::make_unique<CRowDrop>(
          *this, [this](const QMimeData* data, Qt::KeyboardModifiers keys) { return GetDropAction(data, keys); },
          [this](const QMimeData* data) { return GetDropSpanFor(data); })) {
  setModel(m_model.get());
  setItemDelegate(new CDelegate(*this));
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(1);
  QHeaderView* header = horizontalHeader();
  header->setSectionsClickable(true);
  header->setHighlightSections(false);
  header->setSortIndicatorShown(false);
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(header, &QHeaderView::sectionClicked, this, [this](int column) { OnColumnClick(column); });
  connect(header, &QHeaderView::sectionResized, this, [this]() { m_edit->Relayout(); });
  UpdateRowHeight();
}

CEditListCtrl::~CEditListCtrl() {
  if (IsEditing())
    m_edit->Close(false);
  // Detach the model and the header before they go, while this object is still a whole list.
  disconnect(horizontalHeader(), nullptr, this, nullptr);
  setModel(nullptr);
}

// ---- columns ----

int CEditListCtrl::InsertColumn(int index, const QString& heading, int width, const SELVColumn& column) {
  EndEditForChange();
  index = std::clamp(index, 0, GetColumnCount());
  m_model->BeginInsertColumn(index);
  m_columns.insert(m_columns.begin() + index, std::make_unique<SColumnEntry>(SColumnEntry{heading, column}));
  if (m_currentColumn >= 0 && index <= m_currentColumn)
    ++m_currentColumn;
  m_model->EndInsertColumn();
  SetColumnWidth(index, width);
  m_model->HeaderChanged(index, GetColumnCount() - 1);
  return index;
}

bool CEditListCtrl::DeleteColumn(int index) {
  if (index < 0 || index >= GetColumnCount())
    return false;
  EndEditForChange();
  m_model->BeginRemoveColumns(index, index);
  m_columns.erase(m_columns.begin() + index);
  if (index < m_currentColumn)
    --m_currentColumn;
  else if (index == m_currentColumn)
    m_currentColumn = std::min(m_currentColumn, GetColumnCount() - 1);
  m_model->EndRemoveColumns();
  m_model->HeaderChanged(0, GetColumnCount() - 1);
  return true;
}

void CEditListCtrl::DeleteAllColumns() {
  EndEditForChange();
  m_currentColumn = -1;
  if (m_columns.empty())
    return;
  m_model->BeginRemoveColumns(0, GetColumnCount() - 1);
  m_columns.clear();
  m_model->EndRemoveColumns();
}

const CEditListCtrl::SELVColumn* CEditListCtrl::GetColumn(int column) const {
  if (column < 0 || column >= GetColumnCount())
    return nullptr;
  return &m_columns[static_cast<size_t>(column)]->descriptor;
}

QString CEditListCtrl::GetColumnHeading(int column) const {
  if (column < 0 || column >= GetColumnCount())
    return QString();
  return m_columns[static_cast<size_t>(column)]->heading;
}

Qt::Alignment CEditListCtrl::GetColumnAlignment(int column) const {
  const SELVColumn* c = GetColumn(column);
  switch (c ? c->flags & COL_ALIGN_MASK : COL_ALIGN_LEFT) {
  case COL_ALIGN_RIGHT:
    return Qt::AlignRight;
  case COL_ALIGN_CENTER:
    return Qt::AlignHCenter;
  default:
    return Qt::AlignLeft;
  }
}

int CEditListCtrl::GetColumnWidth(int column) const {
  return column >= 0 && column < GetColumnCount() ? horizontalHeader()->sectionSize(column) : 0;
}

void CEditListCtrl::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= GetColumnCount())
    return;
  horizontalHeader()->resizeSection(column, width < 0 ? HeadingWidth(column) : width);
}

int CEditListCtrl::HeadingWidth(int column) const {
  // Room for the heading and the cursor mark, so marking a column never cuts its heading.
  const QFontMetrics metrics(horizontalHeader()->font());
  const int text = metrics.horizontalAdvance(QStringLiteral("*") + GetColumnHeading(column));
  return std::max(horizontalHeader()->sectionSizeHint(column), text + 4 * metrics.horizontalAdvance(QLatin1Char(' ')));
}

bool CEditListCtrl::CanTakeCursor(int column) const {
  const SELVColumn* c = GetColumn(column);
  return c && (c->flags & COL_EDITABLE);
}

bool CEditListCtrl::IsColumnEditable(int column) const {
  const SELVColumn* c = GetColumn(column);
  if (!c || !(c->flags & COL_EDITABLE))
    return false;
  const quint32 kind = c->flags & COL_KIND_MASK;
  return kind == COL_KIND_TEXT || kind == COL_KIND_CHOICE || kind == COL_KIND_NUMBER;
}

bool CEditListCtrl::AnyColumnEditable() const {
  for (int c = 0; c < GetColumnCount(); ++c)
    if (IsColumnEditable(c))
      return true;
  return false;
}

void CEditListCtrl::SetCurrentColumn(int column) {
  const int old = m_currentColumn;
  m_currentColumn = m_columns.empty() ? -1 : std::clamp(column, 0, GetColumnCount() - 1);
  if (old != m_currentColumn) {
    m_model->HeaderChanged(old, old);
    m_model->HeaderChanged(m_currentColumn, m_currentColumn);
  }
  if (m_currentColumn >= 0)
    ScrollColumnIntoView(m_currentColumn);
}

void CEditListCtrl::ScrollColumnIntoView(int column) {
  const QHeaderView* header = horizontalHeader();
  const int left = header->sectionViewportPosition(column);
  const int right = left + header->sectionSize(column);
  const int width = viewport()->width();
  QScrollBar* bar = horizontalScrollBar();
  if (left < 0)
    bar->setValue(bar->value() + left);
  else if (right > width)
    bar->setValue(bar->value() + std::min(left, right - width));
}

// ---- rows ----

int CEditListCtrl::GetItemCount() const { return m_model->rowCount(); }

void CEditListCtrl::SetItemCount(int count) {
  EndEditForChange();
  m_model->ResetRows(count);
  m_selectionMark = -1;
}

int CEditListCtrl::InsertItem(int row, qintptr data) {
  EndEditForChange();
  row = std::clamp(row, 0, GetItemCount());
  m_model->InsertRow(row, data);
  if (m_selectionMark >= row)
    ++m_selectionMark;
  return row;
}

bool CEditListCtrl::DeleteItem(int row) {
  if (row < 0 || row >= GetItemCount())
    return false;
  EndEditForChange();
  m_model->RemoveRow(row);
  if (m_selectionMark > row || m_selectionMark >= GetItemCount())
    --m_selectionMark;
  return true;
}

void CEditListCtrl::DeleteAllItems() { SetItemCount(0); }

qintptr CEditListCtrl::GetItemData(int row) const {
  return row >= 0 && row < GetItemCount() ? m_model->ItemData(row) : 0;
}

bool CEditListCtrl::SetItemData(int row, qintptr data) {
  if (row < 0 || row >= GetItemCount())
    return false;
  m_model->SetItemData(row, data);
  return true;
}

void CEditListCtrl::SortItems(const std::function<int(qintptr, qintptr)>& compare) {
  EndEditForChange();
  m_model->Sort(compare);
}

void CEditListCtrl::RedrawItems(int first, int last) { m_model->RowsChanged(first, last); }

void CEditListCtrl::SetRowFilter(std::function<bool(qintptr)> filter) {
  ChangeShownRows([&]() { m_model->SetFilter(std::move(filter)); });
}

bool CEditListCtrl::IsRowFilterSet() const { return m_model->IsFiltered(); }

int CEditListCtrl::GetTotalItemCount() const { return m_model->TotalRowCount(); }

void CEditListCtrl::ChangeShownRows(const std::function<void()>& change) {
  EndEditForChange();
  // Rows are remembered by their place in the full order, which a filter does not change.
  std::vector<int> selected;
  for (int row : GetSelectedRows())
    selected.push_back(m_model->PositionOfRow(row));
  const int focus = m_model->PositionOfRow(GetFocusRow());
  const int mark = m_model->PositionOfRow(m_selectionMark);
  const int horizontal = horizontalScrollBar()->value();
  change();
  m_selectionMark = m_model->RowOfPosition(mark);
  if (m_columns.empty())
    return;
  std::vector<int> rows;
  for (int position : selected)
    if (const int row = m_model->RowOfPosition(position); row >= 0)
      rows.push_back(row);
  SelectRowList(rows);
  const int focusRow = m_model->RowOfPosition(focus);
  if (focusRow >= 0)
    SetFocusRow(focusRow);
  if (!rows.empty())
    EnsureVisible(rows.front());
  else if (focusRow >= 0)
    EnsureVisible(focusRow);
  horizontalScrollBar()->setValue(horizontal);
  emit verticalScrolled();
}

void CEditListCtrl::EndEditForChange() {
  // A derived list may rebuild from inside SetCellValue; that commit closes the popups itself.
  if (IsEditing() && !m_edit->IsCommitting())
    EndEdit(false);
}

// ---- selection and visibility ----

std::vector<int> CEditListCtrl::GetSelectedRows() const {
  std::vector<int> rows;
  const QItemSelection selection = selectionModel()->selection();
  for (const QItemSelectionRange& range : selection)
    for (int row = range.top(); row <= range.bottom(); ++row)
      rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

int CEditListCtrl::GetSelectedCount() const { return static_cast<int>(GetSelectedRows().size()); }

bool CEditListCtrl::IsRowSelected(int row) const {
  return row >= 0 && row < GetItemCount() && !m_columns.empty() && selectionModel()->isSelected(m_model->index(row, 0));
}

void CEditListCtrl::SetRowSelected(int row, bool selected) {
  if (row < 0 || row >= GetItemCount() || m_columns.empty())
    return;
  selectionModel()->select(m_model->index(row, 0),
                           (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                               QItemSelectionModel::Rows);
}

void CEditListCtrl::SelectRows(int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, GetItemCount() - 1);
  if (first > last || m_columns.empty()) {
    selectionModel()->clearSelection();
    return;
  }
  const QItemSelection selection(m_model->index(first, 0), m_model->index(last, GetColumnCount() - 1));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CEditListCtrl::SelectRowList(const std::vector<int>& rows) {
  if (rows.empty() || m_columns.empty()) {
    selectionModel()->clearSelection();
    return;
  }
  // Runs of adjacent rows as one range each, so that thousands of rows stay one cheap selection.
  const int lastColumn = GetColumnCount() - 1;
  QItemSelection selection;
  size_t start = 0;
  for (size_t i = 1; i <= rows.size(); ++i) {
    if (i < rows.size() && rows[i] == rows[i - 1] + 1)
      continue;
    selection.append(QItemSelectionRange(m_model->index(rows[start], 0), m_model->index(rows[i - 1], lastColumn)));
    start = i;
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CEditListCtrl::SelectAllRows() { SelectRows(0, GetItemCount() - 1); }

void CEditListCtrl::ClearRowSelection() { selectionModel()->clearSelection(); }

int CEditListCtrl::GetFocusRow() const { return currentIndex().isValid() ? currentIndex().row() : -1; }

void CEditListCtrl::SetFocusRow(int row) {
  if (row < 0 || row >= GetItemCount() || m_columns.empty())
    return;
  selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
}

int CEditListCtrl::GetTopIndex() const { return std::max(rowAt(0), 0); }

int CEditListCtrl::GetBottomIndex() const {
  const int bottom = rowAt(viewport()->height() - 1);
  return bottom < 0 ? GetItemCount() - 1 : bottom;
}

void CEditListCtrl::SetTopIndex(int row) {
  if (row < 0 || row >= GetItemCount() || m_columns.empty())
    return;
  QTableView::scrollTo(m_model->index(row, 0), PositionAtTop);
}

int CEditListCtrl::GetCountPerPage() const {
  const int height = verticalHeader()->defaultSectionSize();
  return height > 0 ? viewport()->height() / height : 0;
}

void CEditListCtrl::EnsureVisible(int row) {
  if (row >= 0 && row < GetItemCount() && !m_columns.empty())
    scrollTo(m_model->index(row, 0));
}

QRect CEditListCtrl::GetCellRect(int row, int column) const { return visualRect(m_model->index(row, column)); }

void CEditListCtrl::scrollTo(const QModelIndex& index, ScrollHint hint) {
  // Rows scroll into view; the columns move only with the cell cursor.
  const int horizontal = horizontalScrollBar()->value();
  QTableView::scrollTo(index, hint);
  horizontalScrollBar()->setValue(horizontal);
}

QModelIndex CEditListCtrl::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
  const int column = std::max(currentIndex().column(), 0);
  switch (cursorAction) {
  case MoveHome:
    return m_model->index(0, column);
  case MoveEnd:
    return m_model->index(GetItemCount() - 1, column);
  case MoveLeft:
  case MoveRight:
  case MoveNext:
  case MovePrevious:
    return currentIndex();
  default:
    return QTableView::moveCursor(cursorAction, modifiers);
  }
}

// ---- colours and drawing ----

void CEditListCtrl::SetTextColor(const QColor& color) {
  m_textColor = color;
  viewport()->update();
}

QColor CEditListCtrl::GetTextColor() const {
  return m_textColor.isValid() ? m_textColor : palette().color(QPalette::Active, QPalette::Text);
}

QColor CEditListCtrl::GetBkColor() const { return palette().color(QPalette::Active, QPalette::Base); }

QString CEditListCtrl::FitText(const QFontMetrics& metrics, const QString& text, int width) {
  if (metrics.horizontalAdvance(text) <= width)
    return text;
  const int dots = metrics.horizontalAdvance(kEllipsis);
  if (dots > width) {
    QString shown = kEllipsis;
    while (!shown.isEmpty() && metrics.horizontalAdvance(shown) > width)
      shown.chop(1);
    return shown;
  }
  // The longest start of the text that still leaves room for the dots.
  int low = 0;
  int high = static_cast<int>(text.size()) - 1;
  while (low < high) {
    const int mid = (low + high + 1) / 2;
    if (metrics.horizontalAdvance(text.left(mid)) + dots <= width)
      low = mid;
    else
      high = mid - 1;
  }
  if (low > 0 && text.at(low - 1).isHighSurrogate())
    --low;
  return text.left(low) + kEllipsis;
}

QString CEditListCtrl::GetDisplayText(int row, int column) const {
  const QModelIndex index = m_model->index(row, column);
  if (!index.isValid())
    return QString();
  const QFontMetrics metrics(font());
  const int margin = metrics.horizontalAdvance(QLatin1Char(' '));
  return FitText(metrics, GetCellText(row, column), visualRect(index).width() - 2 * margin);
}

void CEditListCtrl::UpdateRowHeight() { verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4); }

void CEditListCtrl::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange)
    UpdateRowHeight();
  else if (event->type() == QEvent::EnabledChange)
    viewport()->update();
}

void CEditListCtrl::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  QPainter painter(viewport());
  const int row = GetFocusRow();
  if (hasFocus() && !IsEditing() && row >= 0) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = QRect(0, rowViewportPosition(row), viewport()->width(), rowHeight(row));
    option.backgroundColor = IsRowSelected(row) ? palette().color(QPalette::Highlight) : GetBkColor();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
  m_drop->Paint(painter);
}

// ---- keyboard ----

bool CEditListCtrl::TakesKey(const QKeyEvent* event) const {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return modifiers == Qt::NoModifier && AnyColumnEditable();
  case Qt::Key_Left:
  case Qt::Key_Right:
    return modifiers == Qt::NoModifier;
  default:
    break;
  }
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
    return false;
  const QString text = event->text();
  return text.size() == 1 && QStringLiteral("hljJkK^_|$").contains(text.at(0));
}

bool CEditListCtrl::event(QEvent* event) {
  // Keys of the list come before shortcuts and a dialog's default button.
  if (event->type() == QEvent::ShortcutOverride && !IsEditing() && TakesKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QTableView::event(event);
}

int CEditListCtrl::FirstSelectedVisibleRow() const {
  if (GetItemCount() == 0)
    return -1;
  for (int row = GetTopIndex(), bottom = GetBottomIndex(); row <= bottom; ++row)
    if (IsRowSelected(row))
      return row;
  return -1;
}

void CEditListCtrl::MoveCursor(int step) {
  // To the nearest column that way that takes the cursor; none there leaves it where it is.
  for (int column = m_currentColumn + step; column >= 0 && column < GetColumnCount(); column += step)
    if (CanTakeCursor(column)) {
      SetCurrentColumn(column);
      return;
    }
}

void CEditListCtrl::keyPressEvent(QKeyEvent* event) {
  if (IsEditing()) {
    event->accept(); // keys a popup let through are not the list's while it edits
    return;
  }
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    if (modifiers == Qt::NoModifier && AnyColumnEditable()) {
      event->accept();
      if (IsColumnEditable(m_currentColumn)) {
        const int row = FirstSelectedVisibleRow();
        if (row >= 0)
          BeginEdit(row, m_currentColumn);
      }
      return;
    }
    break;
  case Qt::Key_Left:
  case Qt::Key_Right:
    if (modifiers == Qt::NoModifier) {
      event->accept();
      MoveCursor(event->key() == Qt::Key_Left ? -1 : 1);
      return;
    }
    break;
  case Qt::Key_R:
    if ((modifiers & Qt::ControlModifier) && !(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
      const SELVColumn* column = GetColumn(m_currentColumn);
      if (column && IsColumnEditable(m_currentColumn) && (column->flags & COL_KIND_MASK) == COL_KIND_TEXT &&
          selectionModel()->hasSelection()) {
        event->accept();
        ReplaceText(m_currentColumn);
        return;
      }
    }
    break;
  default:
    break;
  }
  const QString text = event->text();
  if (text.size() == 1 && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    switch (text.at(0).unicode()) {
    case 'h':
    case 'l':
      event->accept();
      MoveCursor(text.at(0) == QLatin1Char('h') ? -1 : 1);
      return;
    case 'j':
    case 'J':
    case 'k':
    case 'K': {
      event->accept();
      const bool down = text.at(0).toLower() == QLatin1Char('j');
      QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier));
      return;
    }
    case '^':
    case '_':
    case '|':
      event->accept();
      SetCurrentColumn(0);
      return;
    case '$':
      event->accept();
      SetCurrentColumn(GetColumnCount() - 1);
      return;
    default:
      break;
    }
  }
  QTableView::keyPressEvent(event);
}

// ---- mouse ----

void CEditListCtrl::mousePressEvent(QMouseEvent* event) {
  switch (event->button()) {
  case Qt::LeftButton:
    OnLButtonDown(event);
    break;
  case Qt::RightButton:
    OnRButtonDown(event);
    break;
  default:
    QTableView::mousePressEvent(event);
  }
}

void CEditListCtrl::OnLButtonDown(QMouseEvent* event) {
  if (selectionMode() == SingleSelection || selectionMode() == NoSelection) {
    QTableView::mousePressEvent(event);
    m_mouse->PressWithoutSweep();
  } else {
    m_mouse->Press(event->position().toPoint(), event->modifiers());
  }
}

void CEditListCtrl::OnRButtonDown(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  m_rightDown = true;
  const QPoint pos = event->position().toPoint();
  const int column = columnAt(pos.x());
  const int row = rowAt(pos.y());
  if (column < 0)
    return;
  SetCurrentColumn(column);
  if (row >= 0 && IsColumnEditable(column) && IsRowSelected(row))
    BeginEdit(row, column);
}

void CEditListCtrl::mouseMoveEvent(QMouseEvent* event) {
  if (!m_mouse->Move(*event))
    QTableView::mouseMoveEvent(event);
}

void CEditListCtrl::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && m_mouse->IsLeftDown()) {
    if (selectionMode() == SingleSelection || selectionMode() == NoSelection)
      QTableView::mouseReleaseEvent(event);
    m_mouse->Release();
    emit listClick(rowAt(pos.y()), columnAt(pos.x()));
    return;
  }
  if (event->button() == Qt::RightButton && m_rightDown) {
    m_rightDown = false;
    emit listRightClick(rowAt(pos.y()), columnAt(pos.x()));
    return;
  }
  QTableView::mouseReleaseEvent(event);
}

void CEditListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
  mousePressEvent(event);
  if (event->button() != Qt::LeftButton)
    return;
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid())
    emit doubleClicked(index);
}

void CEditListCtrl::wheelEvent(QWheelEvent* event) {
  if (IsEditing())
    EndEdit(false);
  QTableView::wheelEvent(event);
}

void CEditListCtrl::scrollContentsBy(int dx, int dy) {
  if (dy != 0)
    EndEditForChange();
  QTableView::scrollContentsBy(dx, dy);
  if (dy != 0)
    emit verticalScrolled();
}

void CEditListCtrl::focusInEvent(QFocusEvent* event) {
  if (IsEditing()) {
    GetCurrentPopup()->GetWnd()->setFocus(event->reason());
    return;
  }
  QTableView::focusInEvent(event);
}

// ---- editing ----

bool CEditListCtrl::BeginEdit(int row, int column) {
  if (!IsColumnEditable(column) || row < 0 || row >= GetItemCount())
    return false;
  return m_edit->Begin(row, column);
}

bool CEditListCtrl::EndEdit(bool commit) { return m_edit->End(commit); }

// ---- row drag and drop ----

QMimeData* CEditListCtrl::CreateDragData(const std::vector<int>& /*rows*/) const { return nullptr; }

Qt::DropActions CEditListCtrl::GetDragActions() const { return Qt::CopyAction; }

Qt::DropAction CEditListCtrl::GetDropAction(const QMimeData* /*data*/, Qt::KeyboardModifiers /*modifiers*/) const {
  return Qt::IgnoreAction;
}

int CEditListCtrl::GetDropSpanFor(const QMimeData* /*data*/) const { return 0; }

bool CEditListCtrl::DropData(const QMimeData* /*data*/, Qt::DropAction /*action*/, int /*row*/) { return false; }

void CEditListCtrl::SetRowDropEnabled(bool enabled) {
  setAcceptDrops(enabled);
  viewport()->setAcceptDrops(enabled);
}

QPixmap CEditListCtrl::DragPixmap(const std::vector<int>& rows) const {
  // The first rows as the list shows them, and how many more there are.
  constexpr int kShownRows = 5;
  const int shown = std::min(static_cast<int>(rows.size()), kShownRows);
  const int more = static_cast<int>(rows.size()) - shown;
  const int lineHeight = verticalHeader()->defaultSectionSize();
  const int width = std::clamp(viewport()->width(), 120, 420);
  const int height = lineHeight * (shown + (more > 0 ? 1 : 0)) + 2;
  const qreal ratio = devicePixelRatio();
  QPixmap pixmap(QSize(width, height) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  const QColor highlight = palette().color(QPalette::Active, QPalette::Highlight);
  QColor background = palette().color(QPalette::Active, QPalette::Base);
  background.setAlpha(240);
  painter.fillRect(QRect(0, 0, width, height), background);
  painter.setPen(highlight);
  painter.drawRect(QRect(0, 0, width - 1, height - 1));
  painter.setFont(font());
  painter.setPen(GetTextColor());
  const QFontMetrics metrics(font());
  const int margin = metrics.horizontalAdvance(QLatin1Char(' '));
  const QHeaderView* header = horizontalHeader();
  for (int i = 0; i < shown; ++i) {
    int x = 0;
    for (int c = 0; c < GetColumnCount() && x < width; ++c) {
      const int w = header->sectionSize(header->logicalIndex(c));
      const int column = header->logicalIndex(c);
      const QRect cell(x + margin, 1 + i * lineHeight, w - 2 * margin, lineHeight);
      painter.drawText(cell, int(GetColumnAlignment(column) | Qt::AlignVCenter) | Qt::TextSingleLine,
                       FitText(metrics, GetCellText(rows[static_cast<size_t>(i)], column), cell.width()));
      x += w;
    }
  }
  if (more > 0)
    painter.drawText(QRect(margin, 1 + shown * lineHeight, width - 2 * margin, lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, tr("and %n more", nullptr, more));
  return pixmap;
}

void CEditListCtrl::StartRowDrag() {
  EndEditForChange();
  const std::vector<int> rows = GetSelectedRows();
  QMimeData* data = rows.empty() ? nullptr : CreateDragData(rows);
  m_mouse->Cancel();
  if (!data)
    return;
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->setPixmap(DragPixmap(rows));
  drag->setHotSpot(DragHotSpot());
  const Qt::DropActions actions = GetDragActions();
  // The list dropped on decides what happens (a move takes the rows out of their list itself).
  drag->exec(actions, actions & Qt::MoveAction ? Qt::MoveAction : Qt::CopyAction);
}

int CEditListCtrl::DropRowAt(const QPoint& pos, int span) const { return m_drop->RowAt(pos, span); }

void CEditListCtrl::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void CEditListCtrl::dragMoveEvent(QDragMoveEvent* event) {
  if (!m_drop->Track(event->position().toPoint(), event->mimeData(), event->modifiers())) {
    event->ignore();
    return;
  }
  event->setDropAction(GetDropAction(event->mimeData(), event->modifiers()));
  event->accept();
}

void CEditListCtrl::dragLeaveEvent(QDragLeaveEvent* event) {
  m_drop->Clear();
  event->accept();
}

void CEditListCtrl::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  const Qt::DropAction action = data ? GetDropAction(data, event->modifiers()) : Qt::IgnoreAction;
  const int row = DropRowAt(event->position().toPoint(), data ? GetDropSpanFor(data) : 0);
  m_drop->Clear();
  if (action == Qt::IgnoreAction || !DropData(data, action, row)) {
    event->ignore();
    return;
  }
  event->setDropAction(action);
  event->accept();
}

void CEditListCtrl::ReplaceText(int /*column*/) {}

void CEditListCtrl::OnColumnClick(int /*column*/) {}

QString CEditListCtrl::GetCellText(int /*row*/, int /*column*/) const { return QString(); }

bool CEditListCtrl::ValidateCellValue(int /*row*/, int column, const QVariant& value, bool /*relative*/) {
  const SELVColumn* descriptor = GetColumn(column);
  if (!descriptor)
    return false;
  switch (descriptor->flags & COL_KIND_MASK) {
  case COL_KIND_TEXT:
  case COL_KIND_CHOICE:
    return true;
  case COL_KIND_NUMBER: {
    const double number = value.toDouble();
    return number >= descriptor->minimum && number <= descriptor->maximum;
  }
  default:
    return false;
  }
}

} // namespace GP
