#include "app/patchlistctrl.h"

#include "app/docview.h"
#include "model/appstate.h"
#include "model/patchdrag.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

#include <map>

namespace {

// Every patch list of the program by its serial number: drag data names its source by serial, so a list
// that closed during the drag is simply not found.
std::map<quint64, CPatchListCtrl*>& Lists() {
  static std::map<quint64, CPatchListCtrl*> lists;
  return lists;
}
quint64 s_nextSerial = 1;

QStringList LocalFiles(const QMimeData* data) {
  QStringList files;
  if (data && data->hasUrls())
    for (const QUrl& url : data->urls())
      if (url.isLocalFile())
        files.append(url.toLocalFile());
  return files;
}

using CList = GP::CEditListCtrl;
using CColumn = CList::SELVColumn;

// A right-aligned number without a cell cursor, and free text that can be edited.
constexpr quint32 kNumberFlags =
    CList::COL_ALIGN_RIGHT | CList::COL_KIND_NUMBER | CList::COL_SPINMODE_0 | CList::COL_SPINSTYLE_0;
constexpr quint32 kTextFlags = CList::COL_ALIGN_LEFT | CList::COL_KIND_TEXT | CList::COL_EDITABLE;
constexpr CColumn kNumberColumn{kNumberFlags, 0.0, 127.0, 0, 0, 2, nullptr};
constexpr CColumn kTextColumn{kTextFlags, -1.0, -1.0, -1, -1, -1, nullptr};
// The name: as many characters as the unit's name holds, of those it can show.
constexpr CColumn kNameColumn{
    kTextFlags, -1.0, -1.0, -1, -1, -1, nullptr, QZML::kNameSize, &CParameterListCtrl::IsNameCharacter};

const CParameterListCtrl::SColumnInfo kColumns[] = {
    {"Number", CParameterListCtrl::COLUMN_NUMBER, kNumberColumn},
    {"PatchName", CParameterListCtrl::COLUMN_NAME, kNameColumn},
    {"Memo1", CParameterListCtrl::COLUMN_MEMO1, kTextColumn},
    {"Memo2", CParameterListCtrl::COLUMN_MEMO2, kTextColumn},
    {"Memo3", CParameterListCtrl::COLUMN_MEMO3, kTextColumn},
    {"Memo4", CParameterListCtrl::COLUMN_MEMO4, kTextColumn},
};

} // namespace

CPatchListCtrl::CPatchListCtrl(QZML::CAppState& state, bool endOfLine, QWidget* parent)
    : CParameterListCtrl(state, endOfLine, parent), m_serial(s_nextSerial++) {
  setObjectName(QStringLiteral("patchList"));
  Lists()[m_serial] = this;
  SetRowDragEnabled(true);
  SetRowDropEnabled(true);
  int count = 0;
  const SColumnInfo* table = ColumnTable(count);
  SetColumnTable(table, count);
  SetWidthPlace(QString::fromLatin1(kWidthSection), QString::fromLatin1(kWidthEntry));
}

CPatchListCtrl::~CPatchListCtrl() { Lists().erase(m_serial); }

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
  return &m_state.GetClipboard().m_patches;
}

void CPatchListCtrl::SaveUndoSnapshot() {
  if (QZML::CDocument* data = GetData())
    data->SaveUndo(kSnapshotKind);
}

void CPatchListCtrl::OnCellsEdited() {
  if (HasEndOfLine() && m_owner)
    m_owner->SetModifiedFlag(true);
}

// ---- drag and drop ----

QMimeData* CPatchListCtrl::CreateDragData(const std::vector<int>& rows) const {
  const QZML::CPatchArray* patches = GetPatchArray();
  const QZML::CDocument* data = GetData();
  if (!patches || !data)
    return nullptr;
  std::vector<int> indices;
  for (int row : rows)
    if (IsPatchRow(row))
      indices.push_back(GetRowIndex(row));
  if (indices.empty())
    return nullptr;
  QZML::CPatchDrag header;
  header.process = static_cast<std::uint64_t>(QCoreApplication::applicationPid());
  header.list = m_serial;
  header.fromLibrary = HasEndOfLine();
  header.model = data->m_current.Model();
  const QZML::CByteArray bytes = QZML::EncodePatchDrag(header, *patches, indices);
  // Names and memos as text as well, one patch a line, for other programs.
  QString text;
  for (int index : indices) {
    if (const QZML::CPatch* patch = patches->Get(static_cast<size_t>(index))) {
      QStringList fields{NameToText(patch->GetName()).trimmed()};
      for (int memo = 0; memo < 4; ++memo)
        fields.append(MemoToText(patch->GetMemo(memo)));
      text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
  }
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kPatchMimeType),
                QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  mime->setText(text);
  return mime;
}

bool CPatchListCtrl::DecodeDragData(const QByteArray& bytes, SDrop& drop, bool headerOnly) {
  QZML::CPatchDrag drag;
  if (!QZML::DecodePatchDrag(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                             static_cast<std::size_t>(bytes.size()), drag, headerOnly))
    return false;
  // Only this program's lists are found by their number; another program's drag can only be copied.
  drop.source = nullptr;
  if (drag.process == static_cast<std::uint64_t>(QCoreApplication::applicationPid())) {
    const auto found = Lists().find(drag.list);
    if (found != Lists().end())
      drop.source = found->second;
  }
  drop.sourceIsLibrary = drag.fromLibrary;
  drop.model = drag.model;
  drop.indices = std::move(drag.indices);
  drop.patches.SwapContents(drag.patches);
  return true;
}

Qt::DropActions CPatchListCtrl::GetDragActions() const {
  // The Main window keeps its patches: they can only be copied out.
  return HasEndOfLine() ? Qt::CopyAction | Qt::MoveAction : Qt::CopyAction;
}

Qt::DropAction CPatchListCtrl::GetDropAction(const QMimeData* data, Qt::KeyboardModifiers modifiers) const {
  if (!data || !GetPatchArray())
    return Qt::IgnoreAction;
  const QString type = QString::fromLatin1(kPatchMimeType);
  if (!data->hasFormat(type))
    return m_filesHandler && !LocalFiles(data).isEmpty() ? Qt::CopyAction : Qt::IgnoreAction;
  SDrop header;
  if (!m_dropHandler || !DecodeDragData(data->data(type), header, true))
    return Qt::IgnoreAction;
  // Within a library the rows move (Ctrl copies); between windows they are copied (Shift moves them out of
  // a library); the Main window is never a source of a move.
  const bool movable = header.source && header.sourceIsLibrary && header.source->HasEndOfLine();
  if (header.source == this && HasEndOfLine())
    return modifiers & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction;
  if (header.source != this && movable && (modifiers & Qt::ShiftModifier))
    return Qt::MoveAction;
  return Qt::CopyAction;
}

int CPatchListCtrl::GetDropSpanFor(const QMimeData* data) const {
  // The Main window takes a drop over the rows it replaces; a library puts it in between rows.
  if (HasEndOfLine() || !data)
    return 0;
  SDrop header;
  if (!DecodeDragData(data->data(QString::fromLatin1(kPatchMimeType)), header, true))
    return 0;
  return static_cast<int>(header.indices.size());
}

bool CPatchListCtrl::DropData(const QMimeData* data, Qt::DropAction action, int row) {
  if (!data)
    return false;
  const QString type = QString::fromLatin1(kPatchMimeType);
  if (!data->hasFormat(type)) {
    const QStringList files = LocalFiles(data);
    if (files.isEmpty() || !m_filesHandler)
      return false;
    m_filesHandler(files);
    return true;
  }
  SDrop drop;
  if (!m_dropHandler || !DecodeDragData(data->data(type), drop))
    return false;
  drop.move = action == Qt::MoveAction;
  drop.row = row;
  return m_dropHandler(drop);
}

void CPatchListCtrl::TakeMovedPatches(const std::vector<int>& indices) {
  if (m_moveOutHandler)
    m_moveOutHandler(indices);
}
