#include "app/parameterlistctrl.h"

#include "gp/editlistmodel.h"
#include "model/appstate.h"
#include "model/listedit.h"
#include "platform/qtsettings.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringDecoder>

#include <algorithm>
#include <functional>

namespace {

// Stored widths beyond this are taken as this: a damaged setting must not make the header overflow.
constexpr int kMaxColumnWidth = 10000;

const QString kEndOfLine = QStringLiteral("End of Line");

} // namespace

CParameterListCtrl::CParameterListCtrl(QZML::CAppState& state, bool endOfLine, QWidget* parent)
    : GP::CEditListCtrl(parent), m_state(state), m_endOfLine(endOfLine) {
  connect(this, &GP::CEditListCtrl::verticalScrolled, this, &CParameterListCtrl::scrolled);
  const QAbstractItemModel* model = GetModel();
  connect(model, &QAbstractItemModel::modelReset, this, &CParameterListCtrl::EmitShownCount);
  connect(model, &QAbstractItemModel::rowsInserted, this, &CParameterListCtrl::EmitShownCount);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &CParameterListCtrl::EmitShownCount);
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    if (IsPatchRow(index.row()))
      emit patchDoubleClicked(GetRowIndex(index.row()));
  });
}

CParameterListCtrl::~CParameterListCtrl() { SaveColumnWidths(); }

void CParameterListCtrl::SetColumnTable(const SColumnInfo* table, int count) {
  m_table = table;
  m_tableCount = table ? std::max(count, 0) : 0;
}

void CParameterListCtrl::SetWidthPlace(const QString& section, const QString& entry) {
  m_widthSection = section;
  m_widthEntry = entry;
}

// ---- rows and columns ----

int CParameterListCtrl::GetPatchCount() const {
  const QZML::CParameterArray* array = GetParameterArray();
  return array ? static_cast<int>(array->size()) : 0;
}

QZML::CParameter* CParameterListCtrl::ParameterAt(int index) const {
  const QZML::CParameterArray* array = GetParameterArray();
  return array && index >= 0 ? array->At(static_cast<size_t>(index)) : nullptr;
}

int CParameterListCtrl::GetRowIndex(int row) const {
  if (row < 0 || row >= GetItemCount())
    return -1;
  return static_cast<int>(GetItemData(row));
}

bool CParameterListCtrl::IsPatchRow(int row) const {
  const int index = GetRowIndex(row);
  return index >= 0 && index < GetPatchCount();
}

int CParameterListCtrl::GetColumnId(int column) const {
  if (column < 0 || column >= GetColumnCount() || column >= m_tableCount)
    return -1;
  return m_table[column].id;
}

int CParameterListCtrl::FindColumn(int id) const {
  for (int c = 0; c < GetColumnCount(); ++c)
    if (GetColumnId(c) == id)
      return c;
  return -1;
}

int CParameterListCtrl::RowCountWanted() const { return GetPatchCount() + (m_endOfLine ? 1 : 0); }

QString CParameterListCtrl::NumberText(int index) const {
  if (m_endOfLine)
    return QString::number(index + 1);
  // The unit's own numbering: bank and number within the bank.
  if (m_state.GetTargetModel() == QZML::MODEL_QZ5)
    return QString::asprintf("%2d-%d", index / 4 + 1, index % 4 + 1);
  return QString::asprintf("%2d-%2d", index / 10 + 1, index % 10 + 1);
}

QString CParameterListCtrl::GetCellText(int row, int column) const {
  const int index = GetRowIndex(row);
  const int id = GetColumnId(column);
  if (index < 0 || id < 0)
    return QString();
  if (index >= GetPatchCount())
    return id == COLUMN_NUMBER ? kEndOfLine : QString();
  if (id == COLUMN_NUMBER)
    return NumberText(index);
  const QZML::CParameter* parameter = ParameterAt(index);
  if (!parameter)
    return QString();
  if (id == COLUMN_NAME)
    return NameToText(parameter->GetName());
  if (id >= COLUMN_MEMO1 && id <= COLUMN_MEMO4)
    return MemoToText(parameter->GetMemo(id - COLUMN_MEMO1));
  return QString();
}

QString CParameterListCtrl::GetCellEditText(int row, int column) const {
  QString text = GetCellText(row, column);
  if (GetColumnId(column) == COLUMN_NAME && IsPatchRow(row)) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
      --end;
    text.truncate(end);
  }
  return text;
}

void CParameterListCtrl::ApplyGrid() { setShowGrid(m_state.GetGridSwitch() != 0); }

void CParameterListCtrl::Rebuild() {
  const int top = GetTopIndex();
  const int focus = GetFocusRow();
  const int current = GetCurrentColumn();
  DeleteAllItems();
  DeleteAllColumns();
  ApplyGrid();

  std::vector<int> widths(static_cast<size_t>(m_tableCount), -1);
  if (!m_widthEntry.isEmpty() && m_tableCount > 0)
    QZP::CQtSettings().Integers(m_widthSection, m_widthEntry, widths.data(), m_tableCount);
  for (int c = 0; c < m_tableCount; ++c) {
    int width = widths[static_cast<size_t>(c)] < 0 ? -1 : std::min(widths[static_cast<size_t>(c)], kMaxColumnWidth);
    // Until the user sets one, the name column shows a whole name of 16 characters.
    if (width < 0 && m_table[c].id == COLUMN_NAME)
      width = fontMetrics().horizontalAdvance(QStringLiteral("Unit Patch 00000")) + 12;
    InsertColumn(c, QString::fromLatin1(m_table[c].heading), width, m_table[c].descriptor);
  }

  SetItemCount(RowCountWanted());
  ApplySort(true);
  const int last = GetItemCount() - 1;
  if (last >= 0) {
    SetTopIndex(std::min(top, last));
    if (focus >= 0)
      SetFocusRow(std::min(focus, last));
  }
  if (current >= 0)
    SetCurrentColumn(current);
  emit scrolled();
}

void CParameterListCtrl::Refresh(bool keepSelection, int inserted) {
  const int top = GetTopIndex();
  const int focus = GetFocusRow();
  const int mark = GetSelectionMark();
  const int horizontal = horizontalScrollBar()->value();
  const std::vector<int> selected = GetSelectedRows();
  // Insert put the new sets at the index of the first selected row.
  const int insertAt = selected.empty() ? -1 : GetRowIndex(selected.front());
  // With a filter set, row numbers change when sets stop or start to match: the selection is kept by
  // index, and what the command put in or changed stays shown.
  const bool filtered = IsRowFilterSet();
  std::unordered_set<int> keptIndices;
  if (filtered) {
    std::vector<int> keep;
    if (keepSelection)
      for (int row : selected)
        keep.push_back(GetRowIndex(row));
    if (inserted > 0 && insertAt >= 0)
      for (int index = insertAt; index < insertAt + inserted; ++index)
        keep.push_back(index);
    KeepShown(keep);
    keptIndices.insert(keep.begin(), keep.end());
  }

  SetItemCount(RowCountWanted());
  ApplySort(true);

  const int count = GetItemCount();
  std::vector<int> rows;
  if (inserted > 0 && insertAt >= 0) {
    const int end = std::min(insertAt + inserted, GetPatchCount());
    rows = RowsShowing([insertAt, end](int index) { return index >= insertAt && index < end; });
  } else if (keepSelection && filtered) {
    rows = RowsShowing([&keptIndices](int index) { return keptIndices.count(index) != 0; });
  } else if (keepSelection) {
    for (int row : selected)
      if (row < count)
        rows.push_back(row);
  }
  SelectRowList(rows);
  if (count > 0) {
    SetTopIndex(std::min(top, count - 1));
    if (focus >= 0)
      SetFocusRow(std::min(focus, count - 1));
    if (keepSelection && inserted <= 0 && mark >= 0)
      SetSelectionMark(std::min(mark, count - 1));
    else if (!rows.empty())
      SetSelectionMark(rows.front());
  }
  horizontalScrollBar()->setValue(horizontal);
  emit scrolled();
}

std::vector<int> CParameterListCtrl::RowsShowing(const std::function<bool(int)>& wanted) const {
  std::vector<int> rows;
  for (int row = 0; row < GetItemCount(); ++row)
    if (wanted(GetRowIndex(row)))
      rows.push_back(row);
  return rows;
}

void CParameterListCtrl::SaveColumnWidths() const {
  // A list that never got its columns keeps what is stored.
  if (m_widthEntry.isEmpty() || m_tableCount == 0 || GetColumnCount() != m_tableCount)
    return;
  std::vector<int> widths(static_cast<size_t>(m_tableCount));
  for (int c = 0; c < m_tableCount; ++c)
    widths[static_cast<size_t>(c)] = GetColumnWidth(c);
  QZP::CQtSettings().SetIntegers(m_widthSection, m_widthEntry, widths.data(), m_tableCount);
}

// ---- selection ----

int CParameterListCtrl::GetFirstSelectedRow() const {
  const std::vector<int> rows = GetSelectedRows();
  return rows.empty() ? -1 : rows.front();
}

int CParameterListCtrl::GetLastSelectedRow() const {
  const std::vector<int> rows = GetSelectedRows();
  return rows.empty() ? -1 : rows.back();
}

std::vector<int> CParameterListCtrl::GetSelectedIndices() const {
  const int count = GetPatchCount();
  std::vector<int> indices;
  for (int row : GetSelectedRows()) {
    const int index = GetRowIndex(row);
    if (index >= 0 && index < count)
      indices.push_back(index);
  }
  return indices;
}

std::vector<int> CParameterListCtrl::GetAllIndices() const {
  std::vector<int> indices(static_cast<size_t>(GetPatchCount()));
  for (size_t i = 0; i < indices.size(); ++i)
    indices[i] = static_cast<int>(i);
  return indices;
}

void CParameterListCtrl::SelectAll() {
  // End of Line is the last row: every shown row before it shows a set.
  const int count = GetShownPatchCount();
  if (count > 0)
    SelectRows(0, count - 1);
  else
    ClearRowSelection();
}

void CParameterListCtrl::SelectIndices(const std::vector<int>& indices) {
  const std::unordered_set<int> wanted(indices.begin(), indices.end());
  const int count = GetPatchCount();
  const std::vector<int> rows =
      RowsShowing([&wanted, count](int index) { return index < count && wanted.count(index) != 0; });
  SelectRowList(rows);
  if (!rows.empty()) {
    SetFocusRow(rows.front());
    SetSelectionMark(rows.front());
  }
}

int CParameterListCtrl::GetShownPatchCount() const {
  // End of Line is always shown and always last.
  int count = GetItemCount();
  if (count > 0 && !IsPatchRow(count - 1))
    --count;
  return count;
}

void CParameterListCtrl::EmitShownCount() { emit shownCountChanged(GetShownPatchCount(), GetPatchCount()); }

// ---- filter ----

void CParameterListCtrl::SetFilterText(const QString& text) {
  if (text == m_filterText)
    return;
  m_filterText = text;
  m_keepShown.clear();
  m_asciiFilter.clear();
  bool ascii = true;
  for (QChar c : text)
    ascii = ascii && c.unicode() < 0x80;
  if (ascii)
    m_asciiFilter = text.toLatin1().toLower();
  if (text.isEmpty()) {
    SetRowFilter(nullptr);
    return;
  }
  SetRowFilter([this](qintptr data) {
    const int index = static_cast<int>(data);
    return index < 0 || index >= GetPatchCount() || MatchesFilter(index);
  });
}

void CParameterListCtrl::KeepShown(const std::vector<int>& indices) {
  if (m_filterText.isEmpty())
    return;
  for (int index : indices)
    if (const QZML::CParameter* parameter = ParameterAt(index))
      m_keepShown.insert(parameter);
}

bool CParameterListCtrl::TextMatches(const std::string& bytes, bool memo) const {
  if (!m_asciiFilter.isEmpty()) {
    // Plain ASCII on both sides: a byte search folding ASCII letters is the same as a case-insensitive
    // search of the texts, without making them.
    bool asciiText = true;
    for (char c : bytes)
      asciiText = asciiText && static_cast<unsigned char>(c) < 0x80;
    if (asciiText) {
      const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
      const auto found = std::search(bytes.begin(), bytes.end(), m_asciiFilter.begin(), m_asciiFilter.end(),
                                     [&](char a, char b) { return lower(a) == b; });
      return found != bytes.end();
    }
  }
  const QString text = memo ? MemoToText(bytes) : NameToText(bytes);
  return text.contains(m_filterText, Qt::CaseInsensitive);
}

bool CParameterListCtrl::MatchesFilter(int index) const {
  const QZML::CParameter* parameter = ParameterAt(index);
  if (!parameter)
    return false;
  if (m_filterText.isEmpty() || m_keepShown.count(parameter))
    return true;
  if (TextMatches(parameter->GetName(), false))
    return true;
  for (int memo = 0; memo < COLUMN_MEMO4 - COLUMN_MEMO1 + 1; ++memo)
    if (TextMatches(parameter->GetMemo(memo), true))
      return true;
  return false;
}

bool CParameterListCtrl::IsClipboardNotEmpty() const {
  const QZML::CParameterArray* clipboard = GetClipboardArray();
  return clipboard && !clipboard->empty();
}

// ---- list operations ----

void CParameterListCtrl::Copy() {
  if (QZML::CParameterArray* array = GetParameterArray(); array && GetClipboardArray())
    QZML::ListEdit::Copy(*array, GetSelectedIndices(), *GetClipboardArray());
}

void CParameterListCtrl::Delete() {
  if (QZML::CParameterArray* array = GetParameterArray())
    QZML::ListEdit::Delete(*array, GetSelectedIndices());
}

void CParameterListCtrl::Initialize() {
  if (QZML::CParameterArray* array = GetParameterArray())
    QZML::ListEdit::Initialize(*array, GetSelectedIndices());
}

int CParameterListCtrl::Insert() {
  QZML::CParameterArray* array = GetParameterArray();
  const QZML::CParameterArray* clipboard = GetClipboardArray();
  const int first = GetFirstSelectedRow();
  if (!array || !clipboard || first < 0)
    return 0;
  return QZML::ListEdit::Insert(*array, GetRowIndex(first), *clipboard);
}

void CParameterListCtrl::Replace() {
  QZML::CParameterArray* array = GetParameterArray();
  if (array && GetClipboardArray())
    QZML::ListEdit::Replace(*array, GetSelectedIndices(), *GetClipboardArray());
}

void CParameterListCtrl::Exchange() {
  if (QZML::CParameterArray* array = GetParameterArray())
    QZML::ListEdit::Exchange(*array, GetSelectedIndices());
}

// ---- sorting ----

void CParameterListCtrl::OnColumnClick(int column) {
  const int id = GetColumnId(column);
  if (id >= 0)
    Sort(id);
}

void CParameterListCtrl::Sort(int columnId) {
  if (columnId == m_sortColumn) {
    m_ascending = !m_ascending;
  } else {
    m_ascending = true;
    m_sortColumn = columnId;
  }
  m_sortSource = GetParameterArray();
  ApplySort();
}

void CParameterListCtrl::ApplySort(bool inIndexOrder) {
  const QZML::CParameterArray* array = GetParameterArray();
  if (m_sortColumn < 0 || !array || array != m_sortSource)
    return;
  const int count = static_cast<int>(array->size());
  auto order = [array, count](int column, bool ascending) {
    return [array, count, column, ascending](qintptr a, qintptr b) {
      const QZML::CParameter* first = a >= 0 && a < count ? (*array)[static_cast<size_t>(a)] : nullptr;
      const QZML::CParameter* second = b >= 0 && b < count ? (*array)[static_cast<size_t>(b)] : nullptr;
      // Rows without a set (End of Line) stay behind every set, whichever the direction, so that the
      // order stays a strict one.
      if (!first || !second)
        return first == second ? 0 : (first ? -1 : 1);
      const int result =
          first->Compare(column, *second, static_cast<unsigned>(a), static_cast<unsigned>(b), false);
      return ascending ? result : -result;
    };
  };
  if (!inIndexOrder)
    SortItems(order(COLUMN_NUMBER, true));
  SortItems(order(m_sortColumn, m_ascending));
}

// ---- in-place editing ----

bool CParameterListCtrl::BeginEdit(int row, int column) {
  if (!IsPatchRow(row))
    return false;
  m_editRow = GetLastSelectedRow();
  m_snapshotTaken = false;
  m_cellsChanged = false;
  return GP::CEditListCtrl::BeginEdit(row, column);
}

bool CParameterListCtrl::EndEdit(bool commit) {
  if (m_inCommit) // reached from inside a commit: that commit finishes the edit
    return GP::CEditListCtrl::EndEdit(commit);
  m_inCommit = commit && IsEditing();
  m_snapshotTaken = false;
  m_cellsChanged = false;
  const bool ended = GP::CEditListCtrl::EndEdit(commit);
  const bool changed = m_cellsChanged;
  m_inCommit = false;
  m_snapshotTaken = false;
  m_cellsChanged = false;
  if (ended && changed)
    FinishCellEdit();
  return ended;
}

double CParameterListCtrl::GetCellValue(int /*row*/, int /*column*/) const { return 0.0; }

void CParameterListCtrl::SetCellValue(int row, int column, const QVariant& value) {
  if (!ApplyCellText(row, column, value))
    return;
  if (!m_inCommit) {
    m_snapshotTaken = false;
    m_cellsChanged = false;
    FinishCellEdit();
  }
}

bool CParameterListCtrl::ApplyCellText(int row, int column, const QVariant& value) {
  const int id = GetColumnId(column);
  if (!value.isValid() || id < COLUMN_NAME || id > COLUMN_MEMO4 || !IsPatchRow(row))
    return false;
  QZML::CParameter* parameter = ParameterAt(GetRowIndex(row));
  if (!parameter)
    return false;
  // The snapshot comes just before the first change of a commit, so an edit that is cancelled does not
  // take the place of the snapshot of the command before it.
  if (!m_snapshotTaken) {
    SaveUndoSnapshot();
    m_snapshotTaken = true;
  }
  // An edited set stays shown even when it no longer matches the filter.
  if (!m_filterText.isEmpty())
    m_keepShown.insert(parameter);
  const QString text = value.toString();
  if (id == COLUMN_NAME)
    parameter->SetName(TextToName(text));
  else
    parameter->SetMemo(id - COLUMN_MEMO1, TextToMemo(text));
  m_cellsChanged = true;
  RedrawItems(row, row);
  return true;
}

void CParameterListCtrl::FinishCellEdit() {
  ApplySort();
  OnCellsEdited();
  emit cellsEdited();
}

// ---- input ----

void CParameterListCtrl::OnRButtonDown(QMouseEvent* event) {
  const int row = rowAt(event->position().toPoint().y());
  if (IsPatchRow(row))
    GP::CEditListCtrl::OnRButtonDown(event);
  else
    event->accept();
}

bool CParameterListCtrl::EditFromKey() {
  int column = GetCurrentColumn();
  if (!IsColumnEditable(column)) {
    column = FindColumn(COLUMN_NAME);
    if (!IsColumnEditable(column))
      return false;
  }
  // The current row, or the first selected one in view.
  int row = GetFocusRow();
  if (!IsPatchRow(row)) {
    const std::vector<int> selected = GetSelectedRows();
    row = selected.empty() ? -1 : selected.front();
  }
  if (!IsPatchRow(row))
    return false;
  if (!IsRowSelected(row)) {
    SelectRows(row, row);
    SetSelectionMark(row);
  }
  EnsureVisible(row);
  SetCurrentColumn(column);
  return BeginEdit(row, column);
}

void CParameterListCtrl::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!IsEditing() && modifiers == Qt::NoModifier &&
      (event->key() == Qt::Key_F2 || (enter && !IsColumnEditable(GetCurrentColumn())))) {
    event->accept();
    EditFromKey();
    return;
  }
  GP::CEditListCtrl::keyPressEvent(event);
  switch (event->key()) {
  case Qt::Key_PageUp:
  case Qt::Key_PageDown:
  case Qt::Key_End:
  case Qt::Key_Home:
  case Qt::Key_Up:
  case Qt::Key_Down:
    emit scrolled();
    break;
  default:
    break;
  }
}

// ---- texts ----

bool CParameterListCtrl::IsNameCharacter(char32_t c) { return c >= 0x20 && c <= 0x7E; }

QString CParameterListCtrl::NameToText(const std::string& name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

std::string CParameterListCtrl::TextToName(const QString& text) {
  std::string name;
  for (char32_t c : text.toUcs4())
    name.push_back(c >= 0x20 && c <= 0x7F ? static_cast<char>(c) : ' ');
  return name;
}

QString CParameterListCtrl::MemoToText(const std::string& memo) {
  const QByteArrayView bytes(memo.data(), static_cast<qsizetype>(memo.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (utf8.hasError())
    text = QString::fromLatin1(bytes);
  return text;
}

std::string CParameterListCtrl::TextToMemo(const QString& text) {
  QString clean = text;
  clean.remove(QChar(u'\0'));
  const QByteArray bytes = clean.toUtf8();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}
