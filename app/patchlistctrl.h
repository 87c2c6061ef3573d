#pragma once
// The patch list of the library and Main windows: the program's six columns, the shared clipboard, the
// patches of the owning window's document and the column widths in "PatchListCtrl"/"ColumnWidth".

#include "app/parameterlistctrl.h"
#include "model/document.h"
#include "platform/settingsections.h"

#include <QPointer>

class CDocumentBase;

class CPatchListCtrl : public CParameterListCtrl {
  Q_OBJECT
public:
  static constexpr int kControlId = 4130;
  // The undo snapshot kind taken before an in-place edit.
  static constexpr int kSnapshotKind = 1;
  static constexpr const char* kWidthSection = QZP::kSectionPatchList;
  static constexpr const char* kWidthEntry = "ColumnWidth";

  // endOfLine: library windows; the Main window's list has no End of Line row.
  explicit CPatchListCtrl(bool endOfLine, QWidget* parent = nullptr);

  // Binds the list to a window's library data: its current patches are shown, its undo snapshot is taken
  // before an in-place edit changes them, and owner, when the list has an End of Line row (a library
  // window), is marked modified after one. A list whose owner is gone shows nothing.
  void Bind(QZML::CDocument* data, CDocumentBase* owner);
  bool IsBound() const { return m_data != nullptr; }
  QZML::CDocument* GetData() const;
  QZML::CPatchArray* GetPatchArray() const;

  // "Number", "PatchName", "Memo1".."Memo4".
  static const SColumnInfo* ColumnTable(int& count);

protected:
  QZML::CParameterArray* GetParameterArray() const override;
  QZML::CParameterArray* GetClipboardArray() const override;
  void SaveUndoSnapshot() override;
  void OnCellsEdited() override;

private:
  QZML::CDocument* m_data = nullptr;
  QPointer<CDocumentBase> m_owner;
  bool m_hasOwner = false;
};
