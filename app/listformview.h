#pragma once
// What the library view and the Main view share: a form with the "Temporary Read/Write" label and the
// patch list (control 4130, in the list area that grows with the view), the list font and grid, the
// list editing commands with their enabling rules, Duplicate, Set Up Grid, and left of the list one
// pair of temporary write/read buttons per visible patch row, laid out again whenever the rows move.
// Above the list a filter box shows only the patches whose name or memos hold its text, with the count
// of those shown beside it; rows dragged onto the list land under the same rules as the edit commands.

#include <QFrame>

#include <vector>

#include "app/commands.h"
#include "app/docview.h"
#include "app/patchlistctrl.h"
#include "model/document.h"
#include "model/patch.h"

class CApp;
class CPatchListCtrl;
namespace QZML {
class CAppState;
}
class QLabel;
class QLineEdit;
class QPushButton;

class CListFormView : public CViewBase {
  Q_OBJECT
public:
  // app: what the views share (list font, confirmations, new libraries, grid), and its application
  // state (clipboard, target model, the device reader and writer). endOfLine: the list has an End of
  // Line row (library windows).
  CListFormView(CApp& app, CDocumentBase* document, bool endOfLine, QWidget* parent = nullptr);
  ~CListFormView() override;

  bool HasEndOfLine() const { return m_endOfLine; }
  // The patches this view shows.
  virtual QZML::CPatchArray* GetPatchArray() const = 0;
  // The document's library data (patches and undo snapshot) the list is bound to.
  virtual QZML::CDocument* GetLibraryData() const = 0;
  // Where the patch list goes, and the list.
  QFrame* GetListArea() const { return m_listArea; }
  CPatchListCtrl* GetList() const { return m_list; }
  // The filter box above the list and the count beside it ("12 of 200 shown").
  QLineEdit* GetFilterBox() const { return m_filterBox; }
  QLabel* GetFilterCount() const { return m_filterCount; }
  // Puts the keyboard focus into the filter box, its text selected.
  void FocusFilter();

  // The list takes the program's list font and its colour, and the grid switch.
  virtual void ApplyListFont();
  // The colour the list's text takes for a stored colour (0x00BBGGRR; 0 is the default, black): the
  // palette's text colour for the default and for a colour too close to the list's background to read.
  static QColor ListTextColor(quint32 colorRef, const QColor& background, const QColor& paletteText);
  virtual void ApplyGrid();
  // Rebuilds the list from the document's patches (binding it to them the first time). A font change
  // (hint 1) stores the column widths first, so the rebuilt list keeps them.
  virtual void RefreshList(int hint = 0);

  // The list commands of both kinds of window: Duplicate, the edit commands, Set Up Grid.
  static const CCommandTable<CListFormView>& Commands();
  // Runs a command of this view's tables when its rule holds; false when they have none for id.
  virtual bool OnCommand(int id);
  // The enabling rule of a list command.
  bool IsCommandEnabled(int id) const;
  // The edit commands; each does nothing when its rule does not hold.
  void OnEditUndo();
  void OnEditCut();
  void OnEditCopy();
  void OnEditInsert();
  void OnEditReplace();
  void OnEditDelete();
  void OnEditExchange();
  void OnEditSelectAll();
  void OnFileDuplicate();

  // One patch of a comparison: the view showing it and its index in that view's patches.
  struct CComparedPatch {
    const CListFormView* view = nullptr;
    int index = -1;
  };
  // The patch index of the list's current row; -1 when it shows no patch (none, End of Line).
  int GetCurrentIndex() const;
  // What Compare compares: the two selected patch rows of this view (the upper one first), or else this
  // view's current row and the current row of the patch window that was active last before this one.
  // False when there are no two such patches.
  bool FindComparedPatches(CComparedPatch& first, CComparedPatch& second) const;
  // Compare: the differences of those two patches in a dialog (patches of two models only after the
  // conversion question).
  void OnEditCompare();
  // Select Duplicates: after the dialog (name included or not), selects every patch row whose data equal
  // those of a row above it and says in the status bar how many there are.
  void OnEditSelectDuplicates();
  // The rows Select Duplicates selects, ascending.
  std::vector<int> DuplicateRows(bool withName) const;
  // Where a compared patch comes from: the window's caption, its number and its name.
  QString DescribeComparedPatch(int index) const;

  // Row buttons: the number of pairs on the page and the buttons of page position k.
  int GetRowButtonCount() const { return static_cast<int>(m_writeButtons.size()); }
  QPushButton* GetRowWriteButton(int k) const;
  QPushButton* GetRowReadButton(int k) const;
  // The row at page position 0: the first row shown whole.
  int GetPageTopRow() const;
  // Makes, moves or destroys the pairs for the rows now on the page.
  void LayOutRowButtons();
  void DestroyRowButtons();
  // Write button k: the patch shown at page position k goes to the unit's temporary area.
  void OnRowWrite(int k);
  // Read button k: the unit's temporary patch comes into the row at page position k.
  void OnRowRead(int k);
  // Sends one patch to the temporary area after the confirmation of kind (write button or double click).
  void SendToTemporary(int index, int kind);

  // Patches dropped on the list, as one undoable step: a library puts them in before the drop row's patch
  // index (End of Line appends; a move within the list takes them out of their old places first); the
  // Main window replaces, from the drop row's patch on, the shown patches in index order, one per patch
  // dropped, and drops the surplus. A move between windows then takes the patches that landed out of the
  // source, as a step of its own there. The dropped patches end up selected. False when nothing changed.
  bool DropPatches(CPatchListCtrl::SDrop& drop);
  // A move to another window took these patches: they go from this list, as Cut would take them.
  void RemoveMovedPatches(const std::vector<int>& indices);

  // A rectangle in dialog units (quarters of the average character width, eighths of the line height).
  QRect DialogRect(int x, int y, int width, int height) const;
  // Room for the patch list's columns and a page of rows.
  QSize sizeHint() const override;

protected:
  CApp& m_app;
  QZML::CAppState& m_state;

  void resizeEvent(QResizeEvent* event) override;
  // A change of the desktop's colours: the list's text follows.
  void changeEvent(QEvent* event) override;
  // Places the list area: from its dialog-unit origin to the view's edges.
  void SetListOrigin(int x, int y) {
    m_listX = x;
    m_listY = y;
  }
  void SetLabelOrigin(int x, int y);
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The list's rows moved (scrolling, row keys, rebuild or refresh): the row buttons follow.
  virtual void OnListScrolled() { LayOutRowButtons(); }
  // A patch row was double-clicked: the patch goes to the unit's temporary area.
  virtual void OnListDoubleClicked(int index);

  // The Main window keeps exactly its patch count: after a change of the row count the array is
  // brought back to it.
  virtual bool IsFixedSize() const { return false; }
  virtual void FitPatchCount() {}
  // A library window marks its document modified after a change; the Main window never does.
  virtual void MarkModified() {}

  // A selected row is a patch row (not End of Line).
  bool IsPatchSelected() const;
  // Snapshot of the library data before a change.
  void SaveUndo();
  // Copies the selected patches to the program's clipboard, with the model they were made for.
  void CopyToClipboard();
  // Cut and Delete: the selected patches go, to the clipboard first when toClipboard.
  void DeleteSelected(bool toClipboard);
  // Insert and Replace (the command's id): the clipboard's patches, converted to this window's model
  // for the paste, go in before the first selected row or over the selected rows.
  void Paste(int command);

private:
  bool m_endOfLine;
  QLabel* m_tempLabel;
  QFrame* m_listArea;
  QLineEdit* m_filterBox;
  QLabel* m_filterCount;
  CPatchListCtrl* m_list;
  int m_listX = 45;
  int m_listY = 10;
  std::vector<QPushButton*> m_writeButtons;
  std::vector<QPushButton*> m_readButtons;
};
