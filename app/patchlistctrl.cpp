#include "app/patchlistctrl.h"

#include "app/docview.h"
#include "model/appstate.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QUrl>

#include <cstring>
#include <map>

namespace {

// Every patch list of the program by its serial number: drag data names its source by serial, so a list
// that closed during the drag is simply not found.
std::map<quint64, CPatchListCtrl*>& Lists() {
  static std::map<quint64, CPatchListCtrl*> lists;
  return lists;
}
quint64 s_nextSerial = 1;

constexpr char kMagic[4] = {'Q', 'Z', 'P', 'D'};
constexpr quint32 kVersion = 1;
constexpr quint32 kFlagLibrary = 1;
// magic, version, process id, list serial, flags, model, count
constexpr int kHeaderSize = 4 + 4 + 8 + 8 + 4 + 4 + 4;

void Put32(QByteArray& out, quint32 value) {
  const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
  out.append(bytes, 4);
}
void Put64(QByteArray& out, quint64 value) {
  Put32(out, quint32(value >> 32));
  Put32(out, quint32(value));
}

// Reads big-endian numbers from a byte array; every read checks what is left first.
class CDragDataReader {
public:
  explicit CDragDataReader(const QByteArray& bytes)
      : m_data(reinterpret_cast<const uchar*>(bytes.constData())), m_size(static_cast<size_t>(bytes.size())) {}
  size_t Left() const { return m_size - m_at; }
  bool Get32(quint32& value) {
    if (Left() < 4)
      return false;
    value = quint32(m_data[m_at]) << 24 | quint32(m_data[m_at + 1]) << 16 | quint32(m_data[m_at + 2]) << 8 |
            quint32(m_data[m_at + 3]);
    m_at += 4;
    return true;
  }
  bool Get64(quint64& value) {
    quint32 high = 0, low = 0;
    if (!Get32(high) || !Get32(low))
      return false;
    value = quint64(high) << 32 | low;
    return true;
  }
  const uchar* Take(size_t size) {
    if (Left() < size)
      return nullptr;
    const uchar* at = m_data + m_at;
    m_at += size;
    return at;
  }

private:
  const uchar* m_data;
  size_t m_size;
  size_t m_at = 0;
};

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

CPatchListCtrl::CPatchListCtrl(bool endOfLine, QWidget* parent)
    : CParameterListCtrl(endOfLine, parent), m_serial(s_nextSerial++) {
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
  QByteArray bytes;
  bytes.append(kMagic, 4);
  Put32(bytes, kVersion);
  Put64(bytes, static_cast<quint64>(QCoreApplication::applicationPid()));
  Put64(bytes, m_serial);
  Put32(bytes, HasEndOfLine() ? kFlagLibrary : 0);
  Put32(bytes, static_cast<quint32>(QZML::ModelNumber(data->m_current.Model())));
  Put32(bytes, static_cast<quint32>(indices.size()));
  // Names and memos as text as well, one patch a line, for other programs.
  QString text;
  QZML::CByteArray record;
  for (int index : indices) {
    const QZML::CPatch* patch = patches->Get(static_cast<size_t>(index));
    record.clear();
    if (patch)
      patch->WriteRecord(record);
    else
      QZML::CPatch().WriteRecord(record);
    Put32(bytes, static_cast<quint32>(index));
    Put32(bytes, static_cast<quint32>(record.size()));
    bytes.append(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
    if (patch) {
      QStringList fields{NameToText(patch->GetName()).trimmed()};
      for (int memo = 0; memo < 4; ++memo)
        fields.append(MemoToText(patch->GetMemo(memo)));
      text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
  }
  auto* mime = new QMimeData;
  mime->setData(QString::fromLatin1(kPatchMimeType), bytes);
  mime->setText(text);
  return mime;
}

bool CPatchListCtrl::DecodeDragData(const QByteArray& bytes, SDrop& drop, bool headerOnly) {
  CDragDataReader reader(bytes);
  const uchar* magic = reader.Take(4);
  quint32 version = 0, flags = 0, model = 0, count = 0;
  quint64 process = 0, serial = 0;
  if (!magic || std::memcmp(magic, kMagic, 4) != 0 || !reader.Get32(version) || version != kVersion ||
      !reader.Get64(process) || !reader.Get64(serial) || !reader.Get32(flags) || !reader.Get32(model) ||
      !reader.Get32(count) || !QZML::ModelFromNumber(model))
    return false;
  // Every patch takes at least its index and its length.
  if (count == 0 || count > reader.Left() / 8)
    return false;
  drop.source = nullptr;
  if (process == static_cast<quint64>(QCoreApplication::applicationPid())) {
    const auto found = Lists().find(serial);
    if (found != Lists().end())
      drop.source = found->second;
  }
  drop.sourceIsLibrary = (flags & kFlagLibrary) != 0;
  drop.model = *QZML::ModelFromNumber(model);
  drop.indices.assign(count, 0);
  if (headerOnly)
    return true;
  drop.patches.Clear();
  for (quint32 i = 0; i < count; ++i) {
    quint32 index = 0, size = 0;
    if (!reader.Get32(index) || !reader.Get32(size) || index > 0x7FFFFFFF)
      return false;
    const uchar* body = reader.Take(size);
    if (!body)
      return false;
    auto patch = std::make_unique<QZML::CPatch>();
    patch->ReadRecord(body, size);
    drop.indices[i] = static_cast<int>(index);
    drop.patches.Add(std::move(patch));
  }
  return reader.Left() == 0;
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
