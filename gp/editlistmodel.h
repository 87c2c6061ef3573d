#pragma once
// The table model behind CEditListCtrl. It keeps one item-data value per row and asks the list for
// each cell's text when a view wants it, so a list of any length costs one integer per row.

#include <QAbstractTableModel>

#include <functional>
#include <vector>

namespace GP {

class CEditListCtrl;

class CEditListModel final : public QAbstractTableModel {
  Q_OBJECT
public:
  explicit CEditListModel(CEditListCtrl& list);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Structural changes, made by the list only (it owns the column descriptors).
  qintptr ItemData(int row) const { return m_itemData[static_cast<size_t>(row)]; }
  void SetItemData(int row, qintptr data);
  void ResetRows(int count);
  void InsertRow(int row, qintptr data);
  void RemoveRow(int row);
  void BeginInsertColumn(int column) { beginInsertColumns(QModelIndex(), column, column); }
  void EndInsertColumn() { endInsertColumns(); }
  void BeginRemoveColumns(int first, int last) { beginRemoveColumns(QModelIndex(), first, last); }
  void EndRemoveColumns() { endRemoveColumns(); }
  void HeaderChanged(int first, int last);
  void RowsChanged(int first, int last);
  // Reorders the rows by a stable sort on their item data; selection and focus follow their rows.
  void Sort(const std::function<int(qintptr, qintptr)>& compare);

private:
  CEditListCtrl& m_list;
  std::vector<qintptr> m_itemData;
};

} // namespace GP
