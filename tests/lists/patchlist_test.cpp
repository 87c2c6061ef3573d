// The patch list on its own: numbering per window and model, End of Line, sorting by header clicks,
// in-place edits with undo, the list operations and refresh modes, column widths, and the model contract.

#include "apptestsupport.h"

#include "app/filedoc.h"
#include "app/imagedoc.h"
#include "app/patchlistctrl.h"
#include "gp/editlistmodel.h"
#include "model/appstate.h"
#include "platform/qtsettings.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

namespace {

using Id = CParameterListCtrl::ColumnId;

QString Cell(const CPatchListCtrl& list, int row, int id) {
  const QAbstractItemModel* model = list.GetModel();
  return model->data(model->index(row, list.FindColumn(id))).toString();
}

// The patch index of every row, top to bottom.
std::vector<int> Order(const CPatchListCtrl& list) {
  std::vector<int> order;
  for (int row = 0; row < list.GetItemCount(); ++row)
    order.push_back(list.GetRowIndex(row));
  return order;
}

void ClickHeader(CPatchListCtrl& list, int id) {
  QHeaderView* header = list.horizontalHeader();
  const int column = list.FindColumn(id);
  const QPoint pos(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
}

QPoint CellCenter(const CPatchListCtrl& list, int row, int id) {
  return list.GetCellRect(row, list.FindColumn(id)).center();
}

// Replaces the popup's text by typing, then Enter.
void TypeIntoEditor(CPatchListCtrl& list, const QString& text) {
  QWidget* editor = list.GetCurrentPopup()->GetWnd();
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, text);
  QTest::keyClick(editor, Qt::Key_Return);
}

// A library window's list over its document, showing names and memos given per patch.
struct CLibrary {
  explicit CLibrary(int count) {
    document.GetPatches().Resize(static_cast<size_t>(count));
    list.Bind(&document.GetData(), &document);
    list.resize(700, 400);
    list.Rebuild();
  }
  QZML::CPatch& Patch(int index) { return *document.GetPatches().Get(static_cast<size_t>(index)); }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (size_t i = 0; i < document.GetPatches().size(); ++i)
      names.push_back(document.GetPatches().Get(i)->GetName().substr(0, 2));
    return names;
  }
  void Name(std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* name : names)
      Patch(i++).SetName(name);
    list.Refresh(false);
  }

  CFileDoc document;
  CPatchListCtrl list{QZML::CAppState::Instance(), true};
};

std::vector<std::string>& ClipboardNames(std::vector<std::string>& names) {
  names.clear();
  const QZML::CPatchArray& clipboard = QZML::CAppState::Instance().GetClipboard().m_patches;
  for (size_t i = 0; i < clipboard.size(); ++i)
    names.push_back(clipboard.Get(i)->GetName().substr(0, 2));
  return names;
}

// Counts the texts the list is asked for.
class CCountingList : public CPatchListCtrl {
public:
  using CPatchListCtrl::CPatchListCtrl;
  QString GetCellText(int row, int column) const override {
    ++requests;
    return CPatchListCtrl::GetCellText(row, column);
  }
  mutable int requests = 0;
};

} // namespace

class CPatchListTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(m_settings.IsValid()); }
  void init() { CTestSettings::Reset(); }

  void mainListNumbersByBankOnBothModels();
  void libraryListEndsWithEndOfLine();
  void headerClicksSortStablyAndKeepEndOfLineLast();
  void memoEditIsUndoableAndMarksOnlyLibraries();
  void nameEditFollowsThePatchRulesAndResorts();
  void operationsActOnTheSelectedPatchesInRowOrder();
  void refreshKeepsClearsOrSelectsInserted();
  void columnWidthsAreStoredAndRestored();
  void modelKeepsItsContractWithPatchData();
  void tenThousandPatchesAreAskedForOnlyWhenShown();

private:
  CTestSettings m_settings;
};

void CPatchListTest::mainListNumbersByBankOnBothModels() {
  QZML::CDocument data;
  data.m_current.m_patches.Resize(200);
  CPatchListCtrl list(QZML::CAppState::Instance(), false);
  list.Bind(&data, nullptr);
  list.Rebuild();
  QCOMPARE(list.GetItemCount(), 200);
  QCOMPARE(list.GetModel()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Number"));
  QCOMPARE(list.GetModel()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Memo4"));
  QCOMPARE(list.GetColumnAlignment(0), Qt::AlignRight);
  QVERIFY(!list.CanTakeCursor(0));
  QVERIFY(list.IsColumnEditable(list.FindColumn(Id::COLUMN_NAME)));
  QCOMPARE(Cell(list, 0, Id::COLUMN_NUMBER), QStringLiteral(" 1- 1"));
  QCOMPARE(Cell(list, 9, Id::COLUMN_NUMBER), QStringLiteral(" 1-10"));
  QCOMPARE(Cell(list, 10, Id::COLUMN_NUMBER), QStringLiteral(" 2- 1"));
  QCOMPARE(Cell(list, 199, Id::COLUMN_NUMBER), QStringLiteral("20-10"));
  QCOMPARE(Cell(list, 199, Id::COLUMN_NAME), QStringLiteral("INIT PATCH      "));

  QZML::CTargetModelScope qz5(QZML::MODEL_QZ5);
  data.m_current.m_patches.Resize(140);
  list.Rebuild();
  QCOMPARE(list.GetItemCount(), 140);
  QCOMPARE(Cell(list, 0, Id::COLUMN_NUMBER), QStringLiteral(" 1-1"));
  QCOMPARE(Cell(list, 4, Id::COLUMN_NUMBER), QStringLiteral(" 2-1"));
  QCOMPARE(Cell(list, 139, Id::COLUMN_NUMBER), QStringLiteral("35-4"));
}

void CPatchListTest::libraryListEndsWithEndOfLine() {
  CLibrary library(3);
  library.Patch(1).SetMemo(0, "Gr\xc3\xbc\xc3\x9f" "e"); // UTF-8
  library.Patch(2).SetMemo(3, "Caf\xe9");                  // a byte of an older program's code page
  library.list.Refresh(false);
  CPatchListCtrl& list = library.list;
  QCOMPARE(list.GetItemCount(), 4);
  const QStringList numbers = {Cell(list, 0, 0), Cell(list, 1, 0), Cell(list, 2, 0), Cell(list, 3, 0)};
  QCOMPARE(numbers, (QStringList{"1", "2", "3", "End of Line"}));
  for (int id = Id::COLUMN_NAME; id <= Id::COLUMN_MEMO4; ++id)
    QCOMPARE(Cell(list, 3, id), QString());
  QCOMPARE(Cell(list, 1, Id::COLUMN_MEMO1), QStringLiteral("Grüße"));
  QCOMPARE(Cell(list, 2, Id::COLUMN_MEMO4), QStringLiteral("Café"));

  list.SelectAll();
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{0, 1, 2}));
  list.SelectRows(1, 3);
  QCOMPARE(list.GetSelectedIndices(), (std::vector<int>{1, 2}));
  QCOMPARE(list.GetLastSelectedRow(), 3);
  QCOMPARE(list.GetAllIndices(), (std::vector<int>{0, 1, 2}));

  // End of Line takes no editor, no right click and no double click.
  list.show();
  QVERIFY(!list.BeginEdit(3, list.FindColumn(Id::COLUMN_NAME)));
  list.SetCurrentColumn(list.FindColumn(Id::COLUMN_NAME));
  QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, CellCenter(list, 3, Id::COLUMN_MEMO2));
  QCOMPARE(list.GetCurrentColumn(), list.FindColumn(Id::COLUMN_NAME));
  QVERIFY(!list.IsEditing());
  QTest::mouseClick(list.viewport(), Qt::RightButton, Qt::NoModifier, CellCenter(list, 0, Id::COLUMN_MEMO2));
  QCOMPARE(list.GetCurrentColumn(), list.FindColumn(Id::COLUMN_MEMO2));

  QSignalSpy doubleClicks(&list, &CParameterListCtrl::patchDoubleClicked);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(list, 3, Id::COLUMN_NAME));
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, list.viewport()->height() - 2));
  QCOMPARE(doubleClicks.count(), 0);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(list, 1, Id::COLUMN_NAME));
  QCOMPARE(doubleClicks.count(), 1);
  QCOMPARE(doubleClicks.at(0).at(0).toInt(), 1);
}

void CPatchListTest::headerClicksSortStablyAndKeepEndOfLineLast() {
  CLibrary library(5);
  library.Name({"delta", "Alpha", "charlie", "Bravo", "Alpha"});
  CPatchListCtrl& list = library.list;
  library.list.show();
  list.SelectRows(0, 0); // the selection follows its patch

  ClickHeader(list, Id::COLUMN_NAME);
  QCOMPARE(list.GetSortColumn(), int(Id::COLUMN_NAME));
  QVERIFY(list.IsSortAscending());
  QCOMPARE(Order(list), (std::vector<int>{1, 4, 3, 2, 0, 5}));
  QCOMPARE(list.GetSelectedIndices(), std::vector<int>{0});
  ClickHeader(list, Id::COLUMN_NAME);
  QVERIFY(!list.IsSortAscending());
  QCOMPARE(Order(list), (std::vector<int>{0, 2, 3, 4, 1, 5}));
  QCOMPARE(Cell(list, 5, Id::COLUMN_NUMBER), QStringLiteral("End of Line"));

  // Another header sorts ascending again; equal memos keep the index order.
  library.Patch(2).SetMemo(0, "b");
  library.Patch(4).SetMemo(0, "a");
  ClickHeader(list, Id::COLUMN_MEMO1);
  QVERIFY(list.IsSortAscending());
  QCOMPARE(Order(list), (std::vector<int>{0, 1, 3, 4, 2, 5}));
  ClickHeader(list, Id::COLUMN_NUMBER);
  ClickHeader(list, Id::COLUMN_NUMBER);
  QCOMPARE(Order(list), (std::vector<int>{4, 3, 2, 1, 0, 5}));

  // Every refresh sorts again, also after the patches changed under the list.
  ClickHeader(list, Id::COLUMN_NAME);
  library.Patch(0).SetName("aardvark");
  list.Refresh(false);
  QCOMPARE(Order(list), (std::vector<int>{0, 1, 4, 3, 2, 5}));
  list.Rebuild();
  QCOMPARE(Order(list), (std::vector<int>{0, 1, 4, 3, 2, 5}));
}

void CPatchListTest::memoEditIsUndoableAndMarksOnlyLibraries() {
  CLibrary library(4);
  CPatchListCtrl& list = library.list;
  QZML::CDocument& data = library.document.GetData();
  list.show();
  const int memo = list.FindColumn(Id::COLUMN_MEMO1);
  list.SelectRows(1, 2);

  // Opening and cancelling an editor leaves the undo state as it was.
  QVERIFY(list.BeginEdit(1, memo));
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Escape);
  QVERIFY(!list.IsEditing());
  QVERIFY(!data.CanUndo(1));
  QVERIFY(!library.document.IsModified());

  QVERIFY(list.BeginEdit(2, memo));
  QCOMPARE(list.GetEditRow(), 2);
  TypeIntoEditor(list, QStringLiteral("Hello"));
  QVERIFY(!list.IsEditing());
  QCOMPARE(library.Patch(1).Memo1, std::string("Hello"));
  QCOMPARE(library.Patch(2).Memo1, std::string("Hello"));
  QCOMPARE(library.Patch(3).Memo1, std::string());
  QCOMPARE(Cell(list, 2, Id::COLUMN_MEMO1), QStringLiteral("Hello"));
  QVERIFY(library.document.IsModified());
  QVERIFY(data.CanUndo(1));

  data.Undo();
  list.Refresh(true);
  QCOMPARE(Cell(list, 1, Id::COLUMN_MEMO1), QString());
  QCOMPARE(library.Patch(2).Memo1, std::string());
  data.Undo(); // undo of the undo
  list.Refresh(true);
  QCOMPARE(Cell(list, 1, Id::COLUMN_MEMO1), QStringLiteral("Hello"));

  // The Main window's document takes the snapshot but is never marked.
  CImageDoc main(QZML::CAppState::Instance());
  main.GetPatches().Resize(10);
  CPatchListCtrl mainList(QZML::CAppState::Instance(), false);
  mainList.Bind(&main.GetData(), &main);
  mainList.resize(700, 400);
  mainList.Rebuild();
  mainList.show();
  mainList.SelectRows(0, 0);
  QVERIFY(mainList.BeginEdit(0, mainList.FindColumn(Id::COLUMN_MEMO4)));
  TypeIntoEditor(mainList, QStringLiteral("live"));
  QCOMPARE(main.GetPatches().Get(0)->Memo4, std::string("live"));
  QVERIFY(main.GetData().CanUndo(1));
  QVERIFY(!main.IsModified());
}

void CPatchListTest::nameEditFollowsThePatchRulesAndResorts() {
  CLibrary library(3);
  library.Name({"Bass", "Clean", "Drive"});
  CPatchListCtrl& list = library.list;
  list.show();
  ClickHeader(list, Id::COLUMN_NAME);
  list.SelectRows(0, 0);
  QVERIFY(list.BeginEdit(0, list.FindColumn(Id::COLUMN_NAME)));
  TypeIntoEditor(list, QStringLiteral("Zebra"));
  QCOMPARE(library.Patch(0).GetName(), std::string("Zebra           "));
  QCOMPARE(Order(list), (std::vector<int>{1, 2, 0, 3})); // sorted again after the commit
  QCOMPARE(list.GetSelectedIndices(), std::vector<int>{0});
  QVERIFY(library.document.IsModified());

  // Outside the 7-bit set a character becomes a space; the patch keeps 16; memos hold no zero byte.
  list.SetCellValue(0, list.FindColumn(Id::COLUMN_NAME), QStringLiteral("Caf\u00e9 \U0001F3B8 Twenty chars"));
  QCOMPARE(library.Patch(1).GetName(), std::string("Caf    Twenty ch"));
  list.SetCellValue(0, list.FindColumn(Id::COLUMN_MEMO2), QString(QStringLiteral("a") + QChar(u'\0') + "b"));
  QCOMPARE(library.Patch(1).Memo2, std::string("ab"));
  QCOMPARE(CParameterListCtrl::TextToMemo(QStringLiteral("\u00e9")), std::string("\xc3\xa9"));
  // A commit without a value changes nothing.
  list.SetCellValue(0, list.FindColumn(Id::COLUMN_MEMO2), QVariant());
  QCOMPARE(library.Patch(1).Memo2, std::string("ab"));
}

void CPatchListTest::operationsActOnTheSelectedPatchesInRowOrder() {
  CLibrary library(6);
  library.Name({"P0", "P1", "P2", "P3", "P4", "P5"});
  CPatchListCtrl& list = library.list;
  std::vector<std::string> clip;
  ClickHeader(list, Id::COLUMN_NUMBER);
  ClickHeader(list, Id::COLUMN_NUMBER); // rows show 5, 4, 3, 2, 1, 0, End of Line
  list.SelectRows(0, 0);
  list.SetRowSelected(2, true);
  list.SetRowSelected(6, true);
  QCOMPARE(list.GetSelectedIndices(), (std::vector<int>{5, 3}));
  QVERIFY(!list.IsClipboardNotEmpty());
  list.Copy();
  QVERIFY(list.IsClipboardNotEmpty());
  QCOMPARE(ClipboardNames(clip), (std::vector<std::string>{"P5", "P3"}));
  list.Exchange();
  QCOMPARE(library.Names(), (std::vector<std::string>{"P0", "P1", "P2", "P5", "P4", "P3"}));
  list.Exchange();
  list.Delete();
  QCOMPARE(library.Names(), (std::vector<std::string>{"P0", "P1", "P2", "P4"}));
  list.Refresh(false);
  QCOMPARE(Order(list), (std::vector<int>{3, 2, 1, 0, 4}));

  // Insert at the first selected row's patch; End of Line appends.
  list.SelectRows(1, 1); // patch 2
  QCOMPARE(list.Insert(), 2);
  QCOMPARE(library.Names(), (std::vector<std::string>{"P0", "P1", "P5", "P3", "P2", "P4"}));
  list.Refresh(false);
  list.SelectRows(list.GetItemCount() - 1, list.GetItemCount() - 1);
  QCOMPARE(list.Insert(), 2);
  QCOMPARE(library.Names().size(), size_t(8));
  QCOMPARE(library.Names().back(), std::string("P3"));

  // Replace repeats the clipboard over the selection; surplus selections start it over.
  ClickHeader(list, Id::COLUMN_NUMBER); // ascending again
  list.Refresh(false);
  library.Name({"A0", "A1", "A2"});
  list.SelectRows(0, 2);
  list.Copy();
  list.SelectRows(3, 7);
  list.Replace();
  QCOMPARE(library.Names(), (std::vector<std::string>{"A0", "A1", "A2", "A0", "A1", "A2", "A0", "A1"}));

  library.Patch(4).SetMemo(2, "kept?");
  list.SelectRows(4, 4);
  list.Initialize();
  QCOMPARE(library.Patch(4).GetName(), std::string("INIT PATCH      "));
  QCOMPARE(library.Patch(4).Memo3, std::string());
}

void CPatchListTest::refreshKeepsClearsOrSelectsInserted() {
  CLibrary library(40);
  CPatchListCtrl& list = library.list;
  list.resize(700, 200);
  list.show();
  QSignalSpy scrolled(&list, &CParameterListCtrl::scrolled);
  list.SetTopIndex(20);
  QVERIFY(scrolled.count() > 0);
  QCOMPARE(list.GetTopIndex(), 20);
  list.SelectRows(22, 24);
  list.SetFocusRow(23);

  list.Refresh(true);
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{22, 23, 24}));
  QCOMPARE(list.GetTopIndex(), 20);
  QCOMPARE(list.GetFocusRow(), 23);

  QZML::CAppState::Instance().GetClipboard().m_patches.Resize(3);
  QCOMPARE(list.Insert(), 3);
  list.Refresh(false, 3);
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{22, 23, 24}));
  QCOMPARE(list.GetItemCount(), 44);

  list.Refresh(false);
  QCOMPARE(list.GetSelectedCount(), 0);
  QCOMPARE(list.GetTopIndex(), 20);

  // The Main window cuts back after Insert: only the inserted rows that remain are selected.
  QZML::CDocument data;
  data.m_current.m_patches.Resize(200);
  CPatchListCtrl main(QZML::CAppState::Instance(), false);
  main.Bind(&data, nullptr);
  main.Rebuild();
  main.SelectRows(197, 197);
  QZML::CAppState::Instance().GetClipboard().m_patches.Resize(5);
  QCOMPARE(main.Insert(), 5);
  data.m_current.m_patches.Resize(200);
  main.Refresh(false, 3);
  QCOMPARE(main.GetSelectedRows(), (std::vector<int>{197, 198, 199}));
}

void CPatchListTest::columnWidthsAreStoredAndRestored() {
  const QString section = QString::fromLatin1(CPatchListCtrl::kWidthSection);
  const QString entry = QString::fromLatin1(CPatchListCtrl::kWidthEntry);
  std::vector<int> automatic;
  {
    CPatchListCtrl list(QZML::CAppState::Instance(), true);
    list.Rebuild();
    const QFontMetrics metrics(list.horizontalHeader()->font());
    for (int c = 0; c < list.GetColumnCount(); ++c) {
      QVERIFY(list.GetColumnWidth(c) >= metrics.horizontalAdvance(list.GetColumnHeading(c)));
      automatic.push_back(list.GetColumnWidth(c));
    }
    QVERIFY(automatic[1] > automatic[2]); // "PatchName" is wider than "Memo1"
    QCOMPARE(QZP::CQtSettings().String(section, entry), QString());
    const int widths[] = {40, 150, 60, 70, 80, 90};
    for (int c = 0; c < 6; ++c)
      list.SetColumnWidth(c, widths[c]);
  }
  QCOMPARE(QZP::CQtSettings().String(section, entry), QStringLiteral("40,150,60,70,80,90"));
  {
    CPatchListCtrl never(QZML::CAppState::Instance(), false); // never built: leaves the stored widths alone
  }
  {
    CPatchListCtrl list(QZML::CAppState::Instance(), false);
    list.Rebuild();
    QCOMPARE(list.GetColumnWidth(1), 150);
    QCOMPARE(list.GetColumnWidth(5), 90);
  }

  // A field that does not parse and everything after it are automatic; damaged widths are bounded.
  QZP::CQtSettings().SetString(section, entry, QStringLiteral("55,,70"));
  {
    CPatchListCtrl list(QZML::CAppState::Instance(), true);
    list.Rebuild();
    QCOMPARE(list.GetColumnWidth(0), 55);
    QCOMPARE(list.GetColumnWidth(1), automatic[1]);
    QCOMPARE(list.GetColumnWidth(2), automatic[2]);
  }
  QZP::CQtSettings().SetString(section, entry, QStringLiteral("99999999999,42"));
  CPatchListCtrl list(QZML::CAppState::Instance(), true);
  list.Rebuild();
  QCOMPARE(list.GetColumnWidth(0), 10000);
  QCOMPARE(list.GetColumnWidth(1), 42);
}

void CPatchListTest::modelKeepsItsContractWithPatchData() {
  CLibrary library(12);
  CPatchListCtrl& list = library.list;
  QAbstractItemModelTester tester(list.GetModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  list.show();
  library.Patch(3).SetMemo(1, "m");
  list.Sort(Id::COLUMN_MEMO2);
  list.Sort(Id::COLUMN_MEMO2);
  list.SelectRows(2, 4);
  list.Copy();
  list.Delete();
  list.Refresh(true);
  QCOMPARE(list.Insert(), 3);
  list.Refresh(false, 3);
  list.SetCellValue(0, list.FindColumn(Id::COLUMN_NAME), QStringLiteral("Edited"));
  library.document.GetPatches().Resize(2);
  list.Refresh(true);
  list.Rebuild();
  QCOMPARE(list.GetItemCount(), 3);
  QCOMPARE(list.GetModel()->columnCount(), 6);
  library.document.GetPatches().Clear();
  list.Refresh(false);
  QCOMPARE(list.GetItemCount(), 1);
  QCOMPARE(Cell(list, 0, Id::COLUMN_NUMBER), QStringLiteral("End of Line"));
}

void CPatchListTest::tenThousandPatchesAreAskedForOnlyWhenShown() {
  QZML::CDocument data;
  data.m_current.m_patches.Resize(10000);
  for (size_t i = 0; i < data.m_current.m_patches.size(); ++i)
    data.m_current.m_patches.Get(i)->SetName("P" + std::to_string((i * 7919) % 10000));
  CCountingList list(QZML::CAppState::Instance(), true);
  list.Bind(&data, nullptr);
  list.resize(700, 400);
  list.show();
  list.Rebuild();
  list.Sort(Id::COLUMN_NAME);
  list.Sort(Id::COLUMN_NAME);
  list.SelectAll();
  list.Refresh(true);
  QCOMPARE(list.GetItemCount(), 10001);
  QCOMPARE(list.GetSelectedCount(), 10000);
  list.requests = 0;
  list.grab();
  const int visible = (list.GetCountPerPage() + 2) * list.GetColumnCount();
  QVERIFY2(list.requests <= 2 * visible, qPrintable(QString::number(list.requests)));
  QCOMPARE(Cell(list, 10000, Id::COLUMN_NUMBER), QStringLiteral("End of Line"));
}

QZ_APP_TEST_MAIN(CPatchListTest)
#include "patchlist_test.moc"
