#include "app/patchlistctrl.h"

#include "app/docview.h"
#include "model/appstate.h"

namespace {

using CColumn = GP::CEditListCtrl::SELVColumn;

// A right-aligned number without a cell cursor, and free text that can be edited.
constexpr CColumn kNumberColumn{0x1141, 0.0, 127.0, 0, 0, 2, nullptr};
constexpr CColumn kTextColumn{0x10010, -1.0, -1.0, -1, -1, -1, nullptr};

const CParameterListCtrl::SColumnInfo kColumns[] = {
    {"Number", CParameterListCtrl::COLUMN_NUMBER, kNumberColumn},
    {"PatchName", CParameterListCtrl::COLUMN_NAME, kTextColumn},
    {"Memo1", CParameterListCtrl::COLUMN_MEMO1, kTextColumn},
    {"Memo2", CParameterListCtrl::COLUMN_MEMO2, kTextColumn},
    {"Memo3", CParameterListCtrl::COLUMN_MEMO3, kTextColumn},
    {"Memo4", CParameterListCtrl::COLUMN_MEMO4, kTextColumn},
};

} // namespace

CPatchListCtrl::CPatchListCtrl(bool endOfLine, QWidget* parent) : CParameterListCtrl(endOfLine, parent) {
  setObjectName(QStringLiteral("patchList"));
  int count = 0;
  const SColumnInfo* table = ColumnTable(count);
  SetColumnTable(table, count);
  SetWidthPlace(QString::fromLatin1(kWidthSection), QString::fromLatin1(kWidthEntry));
}

const CParameterListCtrl::SColumnInfo* CPatchListCtrl::ColumnTable(int& count) {
  count = static_cast<int>(std::size(kColumns));
  return kColumns;
}

void CPatchListCtrl::Bind(QZML::CDocument* data, CDocumentBase* owner) {
  m_data = data;
  m_owner = owner;
  m_hasOwner = owner != nullptr;
}

QZML::CDocument* CPatchListCtrl::GetData() const {
  // The document owns the data; once it is gone the list must not reach into it.
  if (m_hasOwner && !m_owner)
    return nullptr;
  return m_data;
}

QZML::CPatchArray* CPatchListCtrl::GetPatchArray() const {
  QZML::CDocument* data = GetData();
  return data ? &data->m_current.m_patches : nullptr;
}

QZML::CParameterArray* CPatchListCtrl::GetParameterArray() const { return GetPatchArray(); }

QZML::CParameterArray* CPatchListCtrl::GetClipboardArray() const {
  return &QZML::CAppState::Instance().GetClipboard().m_patches;
}

void CPatchListCtrl::SaveUndoSnapshot() {
  if (QZML::CDocument* data = GetData())
    data->SaveUndo(kSnapshotKind);
}

void CPatchListCtrl::OnCellsEdited() {
  if (HasEndOfLine() && m_owner)
    m_owner->SetModifiedFlag(true);
}
