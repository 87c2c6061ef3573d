#pragma once
// The table model behind CEditListCtrl. It keeps one item-data value per row and asks the list for
// each cell's text when a view wants it, so a list of any length costs one integer per row.
//
// A row filter hides rows: the model's rows are then the shown ones only, so selections, row numbers
// and every view operation see nothing of the hidden rows. The full row order is kept beside them
// (a sort reorders all rows), and a "position" is a row's place in that full order.

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
  // Rows 0..count-1 carrying 0..count-1; the filter decides which are shown.
  void ResetRows(int count);
  // A row inserted by the program is shown whatever the filter says (until the filter is applied again).
  void InsertRow(int row, qintptr data);
  void RemoveRow(int row);

  // The filter (null: every row is shown). Setting it or applying it again resets the model; the caller
  // carries the selection over with PositionOfRow/RowOfPosition.
  void SetFilter(std::function<bool(qintptr)> filter);
  void ApplyFilter();
  bool IsFiltered() const { return static_cast<bool>(m_filter); }
  int TotalRowCount() const { return static_cast<int>(m_all.size()); }
  // A shown row's position in the full order, and the shown row at a position (-1 when hidden).
  int PositionOfRow(int row) const;
  int RowOfPosition(int position) const;
  void BeginInsertColumn(int column) { beginInsertColumns(QModelIndex(), column, column); }
  void EndInsertColumn() { endInsertColumns(); }
  void BeginRemoveColumns(int first, int last) { beginRemoveColumns(QModelIndex(), first, last); }
  void EndRemoveColumns() { endRemoveColumns(); }
  void HeaderChanged(int first, int last);
  void RowsChanged(int first, int last);
  // Reorders the rows by a stable sort on their item data; selection and focus follow their rows.
  void Sort(const std::function<int(qintptr, qintptr)>& compare);

private:
  // Shown rows from the full order and the flags.
  void Collect();

  CEditListCtrl& m_list;
  std::vector<qintptr> m_itemData; // the shown rows
  std::vector<qintptr> m_all;      // every row, in row order
  std::vector<char> m_shown;       // by position
  std::vector<int> m_shownAt;      // the position of each shown row
  std::function<bool(qintptr)> m_filter;
};

} // namespace GP
