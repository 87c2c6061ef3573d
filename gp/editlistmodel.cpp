#include "gp/editlistmodel.h"

#include "gp/editlistctrl.h"

#include <algorithm>
#include <numeric>

namespace GP {

CEditListModel::CEditListModel(CEditListCtrl& list) : QAbstractTableModel(&list), m_list(list) {}

int CEditListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_itemData.size());
}

int CEditListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_list.GetColumnCount();
}

QVariant CEditListModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
    return QVariant();
  switch (role) {
  case Qt::DisplayRole:
    return m_list.GetCellText(index.row(), index.column());
  case Qt::TextAlignmentRole:
    return QVariant::fromValue(m_list.GetColumnAlignment(index.column()) | Qt::AlignVCenter);
  default:
    return QVariant();
  }
}

QVariant CEditListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= m_list.GetColumnCount())
    return QVariant();
  switch (role) {
  case Qt::DisplayRole:
    return section == m_list.GetCurrentColumn() ? QStringLiteral("*") + m_list.GetColumnHeading(section)
                                                : m_list.GetColumnHeading(section);
  case Qt::TextAlignmentRole:
    return QVariant::fromValue(m_list.GetColumnAlignment(section) | Qt::AlignVCenter);
  default:
    return QVariant();
  }
}

Qt::ItemFlags CEditListModel::flags(const QModelIndex& index) const {
  if (!index.isValid())
    return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void CEditListModel::SetItemData(int row, qintptr data) {
  m_itemData[static_cast<size_t>(row)] = data;
  m_all[static_cast<size_t>(m_shownAt[static_cast<size_t>(row)])] = data;
  RowsChanged(row, row);
}

void CEditListModel::Collect() {
  m_itemData.clear();
  m_shownAt.clear();
  for (size_t p = 0; p < m_all.size(); ++p)
    if (m_shown[p]) {
      m_itemData.push_back(m_all[p]);
      m_shownAt.push_back(static_cast<int>(p));
    }
}

void CEditListModel::ResetRows(int count) {
  beginResetModel();
  m_all.resize(static_cast<size_t>(std::max(count, 0)));
  std::iota(m_all.begin(), m_all.end(), qintptr(0));
  m_shown.assign(m_all.size(), 1);
  if (m_filter)
    for (size_t p = 0; p < m_all.size(); ++p)
      m_shown[p] = m_filter(m_all[p]) ? 1 : 0;
  Collect();
  endResetModel();
}

void CEditListModel::SetFilter(std::function<bool(qintptr)> filter) {
  m_filter = std::move(filter);
  ApplyFilter();
}

void CEditListModel::ApplyFilter() {
  beginResetModel();
  for (size_t p = 0; p < m_all.size(); ++p)
    m_shown[p] = !m_filter || m_filter(m_all[p]) ? 1 : 0;
  Collect();
  endResetModel();
}

int CEditListModel::PositionOfRow(int row) const {
  return row >= 0 && row < rowCount() ? m_shownAt[static_cast<size_t>(row)] : -1;
}

int CEditListModel::RowOfPosition(int position) const {
  const auto found = std::lower_bound(m_shownAt.begin(), m_shownAt.end(), position);
  return found != m_shownAt.end() && *found == position ? static_cast<int>(found - m_shownAt.begin()) : -1;
}

void CEditListModel::InsertRow(int row, qintptr data) {
  // Before the shown row it is inserted at, or at the very end.
  const int position = row < rowCount() ? m_shownAt[static_cast<size_t>(row)] : TotalRowCount();
  beginInsertRows(QModelIndex(), row, row);
  m_all.insert(m_all.begin() + position, data);
  m_shown.insert(m_shown.begin() + position, 1);
  m_itemData.insert(m_itemData.begin() + row, data);
  m_shownAt.insert(m_shownAt.begin() + row, position);
  for (size_t r = static_cast<size_t>(row) + 1; r < m_shownAt.size(); ++r)
    ++m_shownAt[r];
  endInsertRows();
}

void CEditListModel::RemoveRow(int row) {
  const int position = m_shownAt[static_cast<size_t>(row)];
  beginRemoveRows(QModelIndex(), row, row);
  m_all.erase(m_all.begin() + position);
  m_shown.erase(m_shown.begin() + position);
  m_itemData.erase(m_itemData.begin() + row);
  m_shownAt.erase(m_shownAt.begin() + row);
  for (size_t r = static_cast<size_t>(row); r < m_shownAt.size(); ++r)
    --m_shownAt[r];
  endRemoveRows();
}

void CEditListModel::HeaderChanged(int first, int last) {
  if (first <= last)
    emit headerDataChanged(Qt::Horizontal, first, last);
}

void CEditListModel::RowsChanged(int first, int last) {
  const int columns = columnCount();
  first = std::max(first, 0);
  last = std::min(last, rowCount() - 1);
  if (columns > 0 && first <= last)
    emit dataChanged(index(first, 0), index(last, columns - 1), {Qt::DisplayRole});
}

void CEditListModel::Sort(const std::function<int(qintptr, qintptr)>& compare) {
  const int count = TotalRowCount();
  if (count < 2 || !compare)
    return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return compare(m_all[static_cast<size_t>(a)], m_all[static_cast<size_t>(b)]) < 0;
  });
  std::vector<qintptr> sorted(order.size());
  std::vector<char> shown(order.size());
  std::vector<int> newPosition(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    const size_t from = static_cast<size_t>(order[i]);
    sorted[i] = m_all[from];
    shown[i] = m_shown[from];
    newPosition[from] = static_cast<int>(i);
  }
  const std::vector<int> oldShownAt = m_shownAt;
  m_all.swap(sorted);
  m_shown.swap(shown);
  Collect();
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& old : from) {
    const int row = RowOfPosition(newPosition[static_cast<size_t>(oldShownAt[static_cast<size_t>(old.row())])]);
    to.append(index(row, old.column()));
  }
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace GP
