#pragma once
// A report list of parameter sets (patches): one row per set of an array, texts supplied on demand,
// in-place editing of the name and the four memos, sorting by a header click, the selection queries
// and the list operations that the windows' edit commands call.
//
// Each row's item data is the index of the set it shows; sorting reorders the rows, never the array.
// A list with an End of Line row has one row more than the array, carrying the index equal to the
// set count; it shows "End of Line" and takes part in no operation.

#include "gp/editlistctrl.h"
#include "model/appstate.h"
#include "model/parameter.h"

#include <QString>

#include <unordered_set>
#include <vector>

class CParameterListCtrl : public GP::CEditListCtrl {
  Q_OBJECT
public:
  // Column ids: what a column shows, whatever its position.
  enum ColumnId : int {
    COLUMN_NUMBER = 0,
    COLUMN_NAME = 1,
    COLUMN_MEMO1 = 2,
    COLUMN_MEMO2 = 3,
    COLUMN_MEMO3 = 4,
    COLUMN_MEMO4 = 5,
  };

  // One record of a column table, in display order.
  struct SColumnInfo {
    const char* heading;
    int id;
    SELVColumn descriptor;
  };

  // state: the program's state, for the target model (numbering), the grid switch and the clipboard.
  CParameterListCtrl(QZML::CAppState& state, bool endOfLine, QWidget* parent = nullptr);
  // Stores the column widths.
  ~CParameterListCtrl() override;

  bool HasEndOfLine() const { return m_endOfLine; }
  // The number of sets in the bound array (0 when none is bound).
  int GetPatchCount() const;
  // The set index a row shows (the set count for End of Line), -1 outside the rows.
  int GetRowIndex(int row) const;
  // Whether the row shows a set (not End of Line, not outside).
  bool IsPatchRow(int row) const;
  int GetColumnId(int column) const;
  // The column showing id, -1 when none does.
  int FindColumn(int id) const;

  // Selection queries. Indices are those of the selected rows in row order, without End of Line.
  int GetFirstSelectedRow() const;
  int GetLastSelectedRow() const;
  std::vector<int> GetSelectedIndices() const;
  std::vector<int> GetAllIndices() const;
  // Selects every shown row that shows a set (End of Line stays unselected).
  void SelectAll();
  // Selects the shown rows of these indices and focuses the first of them.
  void SelectIndices(const std::vector<int>& indices);
  bool IsClipboardNotEmpty() const;

  // The filter: only rows whose name or one of whose memos holds the text, in any case, are shown; End of
  // Line always is. An empty text shows every row. Sets put in or changed while it is set (a paste, a drop,
  // Replace, an edit) stay shown until the text changes, so the user sees what a command did.
  void SetFilterText(const QString& text);
  bool MatchesFilter(int index) const;
  // Keeps the sets at these indices shown until the filter text changes.
  void KeepShown(const std::vector<int>& indices);
  // The rows shown that show a set.
  int GetShownPatchCount() const;

  // List operations on the bound array and the clipboard. They change the data only; the caller takes the
  // undo snapshot before and refreshes the list after.
  void Copy();
  void Delete();
  void Initialize();
  // At the index of the first selected row (End of Line appends); returns the number inserted.
  int Insert();
  void Replace();
  void Exchange();

  // Columns and rows made anew: the grid switch, the columns with their stored widths, one row per set.
  // The top row, the focused row and the cell cursor are kept; the selection is cleared.
  void Rebuild();
  // Rows made anew from the array after a change; the columns stay as they are. Then the last sort is
  // applied again, the top row, focused row and horizontal position come back, and the selection is kept
  // (same row numbers), cleared, or, when inserted > 0, the rows showing the inserted sets are selected.
  void Refresh(bool keepSelection, int inserted = 0);
  // Grid lines on or off by the application's grid switch.
  void ApplyGrid();
  // The widths of all columns, comma-separated, into the profile (before a font change and at the end).
  void SaveColumnWidths() const;

  // Sorts by the column with this id: ascending, or the other way round when it is the sort column already.
  void Sort(int columnId);
  // Applies the last sort again (nothing when none was made on the bound array). Rows just made anew are
  // in index order already, which saves the first of the two sorts.
  void ApplySort(bool inIndexOrder = false);
  int GetSortColumn() const { return m_sortColumn; }
  bool IsSortAscending() const { return m_ascending; }
  int GetEditRow() const { return m_editRow; }

  QString GetCellText(int row, int column) const override;
  // A name is edited without the spaces that pad it to its length.
  QString GetCellEditText(int row, int column) const override;
  double GetCellValue(int row, int column) const override;
  void SetCellValue(int row, int column, const QVariant& value) override;
  bool BeginEdit(int row, int column) override;
  bool EndEdit(bool commit) override;

  // The Number column's text of the set at index.
  virtual QString NumberText(int index) const;

  // How a set's texts are shown and stored: a name holds 7-bit characters only (the set replaces the rest);
  // memos are stored as UTF-8 and shown as UTF-8 when they are valid UTF-8, else byte by byte (files from
  // older programs), and can hold no zero byte.
  static QString NameToText(const std::string& name);
  // The characters a name can hold as typed: printable 7-bit ones.
  static bool IsNameCharacter(char32_t c);
  static std::string TextToName(const QString& text);
  static QString MemoToText(const std::string& memo);
  static std::string TextToMemo(const QString& text);

signals:
  // The rows shown may have moved: scrolling of any kind, the row keys, a rebuild or a refresh.
  void scrolled();
  // A double click on a row showing a set.
  void patchDoubleClicked(int index);
  // The rows shown or the sets changed: shown set rows of all sets.
  void shownCountChanged(int shown, int total);
  // An in-place edit changed sets (and took an undo snapshot before).
  void cellsEdited();

protected:
  QZML::CAppState& m_state;

  virtual QZML::CParameterArray* GetParameterArray() const = 0;
  virtual QZML::CParameterArray* GetClipboardArray() const = 0;
  // Before an in-place edit changes the first set: the owner takes its undo snapshot.
  virtual void SaveUndoSnapshot() {}
  // After an in-place edit changed sets (a library window marks its document modified).
  virtual void OnCellsEdited() {}

  // Set by the derived list's constructor: the column table (not owned, lives as long as the program)
  // and where the column widths are stored.
  void SetColumnTable(const SColumnInfo* table, int count);
  void SetWidthPlace(const QString& section, const QString& entry);

  void OnColumnClick(int column) override;
  void OnRButtonDown(QMouseEvent* event) override;
  // Enter and F2 with no column current edit the name of the current row; F2 otherwise edits the
  // current column as Enter does.
  void keyPressEvent(QKeyEvent* event) override;

private:
  bool EditFromKey();
  QZML::CParameter* ParameterAt(int index) const;
  int RowCountWanted() const;
  // The rows, ascending, whose set index (the set count for End of Line) is wanted.
  std::vector<int> RowsShowing(const std::function<bool(int)>& wanted) const;
  // Applies an edited text to the row's set; false when nothing changed.
  bool ApplyCellText(int row, int column, const QVariant& value);
  void FinishCellEdit();
  // Whether a name or memo holds the filter text.
  bool TextMatches(const std::string& bytes, bool memo) const;
  void EmitShownCount();

  bool m_endOfLine;
  const SColumnInfo* m_table = nullptr;
  int m_tableCount = 0;
  QString m_widthSection;
  QString m_widthEntry;
  int m_sortColumn = -1;
  bool m_ascending = true;
  const QZML::CParameterArray* m_sortSource = nullptr;
  int m_editRow = -1;
  bool m_inCommit = false;     // inside EndEdit(true): the sort and the owner wait for its end
  bool m_snapshotTaken = false; // this commit has taken its undo snapshot
  bool m_cellsChanged = false;
  QString m_filterText;
  QByteArray m_asciiFilter; // the text in lower case when it is plain ASCII, else empty
  std::unordered_set<const QZML::CParameter*> m_keepShown;
};
