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
  RowsChanged(row, row);
}

void CEditListModel::ResetRows(int count) {
  beginResetModel();
  m_itemData.resize(static_cast<size_t>(std::max(count, 0)));
  std::iota(m_itemData.begin(), m_itemData.end(), qintptr(0));
  endResetModel();
}

void CEditListModel::InsertRow(int row, qintptr data) {
  beginInsertRows(QModelIndex(), row, row);
  m_itemData.insert(m_itemData.begin() + row, data);
  endInsertRows();
}

void CEditListModel::RemoveRow(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  m_itemData.erase(m_itemData.begin() + row);
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
  const int count = rowCount();
  if (count < 2 || !compare)
    return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  std::vector<int> order(static_cast<size_t>(count));
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return compare(m_itemData[static_cast<size_t>(a)], m_itemData[static_cast<size_t>(b)]) < 0;
  });
  std::vector<qintptr> sorted(order.size());
  std::vector<int> newRow(order.size());
  for (size_t i = 0; i < order.size(); ++i) {
    sorted[i] = m_itemData[static_cast<size_t>(order[i])];
    newRow[static_cast<size_t>(order[i])] = static_cast<int>(i);
  }
  m_itemData.swap(sorted);
  const QModelIndexList from = persistentIndexList();
  QModelIndexList to;
  to.reserve(from.size());
  for (const QModelIndex& old : from)
    to.append(index(newRow[static_cast<size_t>(old.row())], old.column()));
  changePersistentIndexList(from, to);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace GP
