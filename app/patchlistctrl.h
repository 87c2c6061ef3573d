#pragma once
// The patch list of the library and Main windows: the program's six columns, the shared clipboard, the
// patches of the owning window's document and the column widths in "PatchListCtrl"/"ColumnWidth".

#include "app/parameterlistctrl.h"
#include "model/appstate.h"
#include "model/document.h"
#include "platform/settingsections.h"

#include <QPointer>
#include <QStringList>

#include <functional>
#include <vector>

class CDocumentBase;
class QMimeData;

class CPatchListCtrl : public CParameterListCtrl {
  Q_OBJECT
public:
  static constexpr int kControlId = 4130;
  // The undo snapshot kind taken before an in-place edit.
  static constexpr int kSnapshotKind = 1;
  static constexpr const char* kWidthSection = QZP::kSectionPatchList;
  static constexpr const char* kWidthEntry = "ColumnWidth";

  // endOfLine: library windows; the Main window's list has no End of Line row.
  CPatchListCtrl(QZML::CAppState& state, bool endOfLine, QWidget* parent = nullptr);
  ~CPatchListCtrl() override;

  // Binds the list to a window's library data: its current patches are shown, its undo snapshot is taken
  // before an in-place edit changes them, and owner, when the list has an End of Line row (a library
  // window), is marked modified after one. A list whose owner is gone shows nothing.
  void Bind(QZML::CDocument* data, CDocumentBase* owner);
  bool IsBound() const { return m_data != nullptr; }
  QZML::CDocument* GetData() const;
  QZML::CPatchArray* GetPatchArray() const;

  // "Number", "PatchName", "Memo1".."Memo4".
  static const SColumnInfo* ColumnTable(int& count);

  // Dragged patches: the drag data holds copies of the patches with the model they were made for, the
  // indices they came from, and which list of which program they came from, so a drop works the same
  // between windows, within one window and from another running program (which can only copy).
  static constexpr const char* kPatchMimeType = "application/x-qzmax-librarian-patches";
  struct SDrop {
    CPatchListCtrl* source = nullptr; // the list dragged from, when it is one of this program's
    bool sourceIsLibrary = false;
    std::vector<int> indices; // where the patches came from in the source, in row order
    QZML::CPatchArray patches;
    QZML::EModel model = QZML::MODEL_QZMAX;
    bool move = false;
    int row = -1; // the drop row: see GP::CEditListCtrl::GetDropRow
  };
  // The drag data of these rows (End of Line and rows without a patch left out); null when none is left.
  QMimeData* CreateDragData(const std::vector<int>& rows) const override;
  // Reads drag data; false when it is not patches or is damaged (every length is checked against the data).
  static bool DecodeDragData(const QByteArray& bytes, SDrop& drop, bool headerOnly = false);

  // What the window does with a drop of patches (the editing rules are the window's) and with the patches
  // a move took away to another window; files dropped on the list are opened.
  void SetDropHandler(std::function<bool(SDrop&)> handler) { m_dropHandler = std::move(handler); }
  void SetMoveOutHandler(std::function<void(const std::vector<int>&)> handler) { m_moveOutHandler = std::move(handler); }
  void SetFilesHandler(std::function<void(const QStringList&)> handler) { m_filesHandler = std::move(handler); }
  // A move to another window took these patches: the window removes them.
  void TakeMovedPatches(const std::vector<int>& indices);

protected:
  Qt::DropActions GetDragActions() const override;
  Qt::DropAction GetDropAction(const QMimeData* data, Qt::KeyboardModifiers modifiers) const override;
  int GetDropSpanFor(const QMimeData* data) const override;
  bool DropData(const QMimeData* data, Qt::DropAction action, int row) override;

  QZML::CParameterArray* GetParameterArray() const override;
  QZML::CParameterArray* GetClipboardArray() const override;
  void SaveUndoSnapshot() override;
  void OnCellsEdited() override;

private:
  QZML::CDocument* m_data = nullptr;
  quint64 m_serial;
  std::function<bool(SDrop&)> m_dropHandler;
  std::function<void(const std::vector<int>&)> m_moveOutHandler;
  std::function<void(const QStringList&)> m_filesHandler;
  QPointer<CDocumentBase> m_owner;
  bool m_hasOwner = false;
};
