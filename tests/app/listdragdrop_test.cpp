// Rows dragged between and within the Main and library windows, and the filter box above each list.
// Drops go through the lists' own drag and drop handlers with the drag data a list makes of its rows;
// one test drags for real, with the mouse, through the platform's drag.

#include "windowtestsupport.h"

#include "app/childframe.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/resource.h"
#include "app/appmidi.h"
#include "sim/port/simport.h"
#include "model/appstate.h"
#include "midi/patchstream.h"
#include "model/filedocument.h"

#include <QAction>
#include <QDrag>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QtTest>

#include <fstream>
#include <memory>

class CListDragDropTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void reorderWithinALibraryIsOneUndoableStep();
  void dropOnMainReplacesFromTheDropRowOnly();
  void betweenLibrariesCopyMoveAndAppend();
  void sortedListDropsByPatchIndexAsInsertDoes();
  void filesDroppedOnAListOpenAsOnTheFrame();
  void damagedDragDataIsRefused();
  void realMouseDragMovesRows();

  void filterMatchesNamesAndMemosInAnyCase();
  void commandsOnAFilteredListLeaveHiddenRowsAlone();
  void saveAndWriteAllTakeEveryPatch();
};

namespace {

// Points in a row's upper half (drops before it) and lower half (behind it), in viewport coordinates.
QPoint Upper(CPatchListCtrl* list, int row) {
  list->EnsureVisible(row);
  const QRect cell = list->GetCellRect(row, 1);
  return QPoint(cell.center().x(), cell.top() + 1);
}
QPoint Lower(CPatchListCtrl* list, int row) {
  list->EnsureVisible(row);
  const QRect cell = list->GetCellRect(row, 1);
  return QPoint(cell.center().x(), cell.bottom() - 1);
}

// The drag data of these rows, as a drag from the list carries it.
std::unique_ptr<QMimeData> DragData(CPatchListCtrl* list, const std::vector<int>& rows) {
  return std::unique_ptr<QMimeData>(list->CreateDragData(rows));
}

// What the platform delivers for a drag that enters the list at pos and is dropped there; the drop row
// the list showed just before the drop goes to shownRow.
bool Drop(CPatchListCtrl* target, const QMimeData* data, const QPoint& pos, Qt::KeyboardModifiers keys = {},
          int* shownRow = nullptr, int* shownSpan = nullptr) {
  QWidget* viewport = target->viewport();
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(pos, actions, data, Qt::LeftButton, keys);
  QApplication::sendEvent(viewport, &enter);
  if (!enter.isAccepted())
    return false;
  QDragMoveEvent move(pos, actions, data, Qt::LeftButton, keys);
  QApplication::sendEvent(viewport, &move);
  if (shownRow)
    *shownRow = target->GetDropRow();
  if (shownSpan)
    *shownSpan = target->GetDropSpan();
  QDropEvent drop(QPointF(pos), actions, data, Qt::LeftButton, keys);
  QApplication::sendEvent(viewport, &drop);
  return drop.isAccepted();
}

QStringList Selected(CPatchListCtrl* list) {
  QStringList names;
  const QZML::CPatchArray* patches = list->GetPatchArray();
  for (int index : list->GetSelectedIndices())
    names.append(Name(*patches, index));
  return names;
}

// The names in the order the list shows them (End of Line left out).
QStringList Shown(CPatchListCtrl* list) {
  QStringList names;
  for (int row = 0; row < list->GetItemCount(); ++row)
    if (list->IsPatchRow(row))
      names.append(Name(*list->GetPatchArray(), list->GetRowIndex(row)));
  return names;
}

} // namespace

void CListDragDropTest::reorderWithinALibraryIsOneUndoableStep() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 6, "P");
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();

  auto data = DragData(list, {1, 2});
  int row = -1, span = -1;
  QVERIFY(Drop(list, data.get(), Upper(list, 5), {}, &row, &span));
  QCOMPARE(row, 5); // the line is drawn above row 5
  QCOMPARE(span, 0);
  QCOMPARE(list->GetDropRow(), -1); // and gone after the drop
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P3", "P4", "P1", "P2", "P5"}));
  QCOMPARE(Selected(list), QStringList({"P1", "P2"}));
  QVERIFY(doc->IsModified());
  view->OnEditUndo();
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "P3", "P4", "P5"}));

  // Dropped onto themselves, the rows stay and nothing is marked.
  doc->SetModifiedFlag(false);
  data = DragData(list, {1, 2});
  QVERIFY(!Drop(list, data.get(), Lower(list, 1)));
  QVERIFY(!doc->IsModified());

  // Ctrl copies: the rows stay where they were and copies go in behind row 4.
  data = DragData(list, {0, 3});
  QVERIFY(Drop(list, data.get(), Lower(list, 4), Qt::ControlModifier));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "P3", "P4", "P0", "P3", "P5"}));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({5, 6}));
  view->OnEditUndo();
  QCOMPARE(doc->GetPatches().size(), size_t(6));
}

void CListDragDropTest::dropOnMainReplacesFromTheDropRowOnly() {
  CTestUi ui;
  CStartedApp app;
  CImageDoc* main = app->GetMainDocument();
  main->GetPatches() = NamedPatches(200, "M");
  main->UpdateAllViews();
  CImageView* mainView = app->GetMainView();
  CPatchListCtrl* mainList = mainView->GetList();
  CFileDoc* doc = Library(app.App(), 3, "L");
  CPatchListCtrl* list = ViewOf(doc)->GetList();

  auto data = DragData(list, {0, 1, 2});
  int row = -1, span = -1;
  QVERIFY(Drop(mainList, data.get(), Lower(mainList, 10), {}, &row, &span));
  QCOMPARE(row, 10); // the frame covers the three rows that are replaced
  QCOMPARE(span, 3);
  QCOMPARE(main->GetPatches().size(), size_t(200));
  QCOMPARE(Names(main->GetPatches()).mid(9, 5), QStringList({"M9", "L0", "L1", "L2", "M13"}));
  QCOMPARE(Selected(mainList), QStringList({"L0", "L1", "L2"}));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"L0", "L1", "L2"})); // copied
  QVERIFY(!doc->IsModified());
  mainView->OnEditUndo();
  QCOMPARE(Name(main->GetPatches(), 10), QStringLiteral("M10"));

  // At the end the surplus is dropped; Shift moves out of the library what landed.
  data = DragData(list, {0, 1, 2});
  QVERIFY(Drop(mainList, data.get(), Upper(mainList, 198), Qt::ShiftModifier));
  QCOMPARE(main->GetPatches().size(), size_t(200));
  QCOMPARE(Names(main->GetPatches()).mid(197), QStringList({"M197", "L0", "L1"}));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"L2"}));
  QVERIFY(doc->IsModified());
  ViewOf(doc)->OnEditUndo();
  QCOMPARE(Names(doc->GetPatches()), QStringList({"L0", "L1", "L2"}));

  // Within the Main window rows are copied over others; Main's rows are never moved away.
  data = DragData(mainList, {0, 1});
  QVERIFY(Drop(mainList, data.get(), Upper(mainList, 5), Qt::ShiftModifier));
  QCOMPARE(Names(main->GetPatches()).mid(0, 8), QStringList({"M0", "M1", "M2", "M3", "M4", "M0", "M1", "M7"}));
  data = DragData(mainList, {3});
  QVERIFY(Drop(list, data.get(), Upper(list, 0), Qt::ShiftModifier));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"M3", "L0", "L1", "L2"}));
  QCOMPARE(Name(main->GetPatches(), 3), QStringLiteral("M3"));
}

void CListDragDropTest::betweenLibrariesCopyMoveAndAppend() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* a = Library(app.App(), 5, "A");
  CFileDoc* b = Library(app.App(), 3, "B");
  CPatchListCtrl* listA = ViewOf(a)->GetList();
  CPatchListCtrl* listB = ViewOf(b)->GetList();

  // Without a key the rows are copied.
  auto data = DragData(listA, {4});
  QVERIFY(Drop(listB, data.get(), Upper(listB, 0)));
  QCOMPARE(Names(b->GetPatches()), QStringList({"A4", "B0", "B1", "B2"}));
  QCOMPARE(a->GetPatches().size(), size_t(5));
  QVERIFY(!a->IsModified());
  ViewOf(b)->OnEditUndo();

  // Shift moves: one step in each window.
  data = DragData(listA, {1, 3});
  QVERIFY(Drop(listB, data.get(), Upper(listB, 3), Qt::ShiftModifier));
  QCOMPARE(Names(b->GetPatches()), QStringList({"B0", "B1", "B2", "A1", "A3"}));
  QCOMPARE(Names(a->GetPatches()), QStringList({"A0", "A2", "A4"}));
  QVERIFY(a->IsModified() && b->IsModified());
  QCOMPARE(listA->GetSelectedCount(), 0);
  ViewOf(b)->OnEditUndo();
  QCOMPARE(Names(b->GetPatches()), QStringList({"B0", "B1", "B2"}));
  ViewOf(a)->OnEditUndo();
  QCOMPARE(Names(a->GetPatches()), QStringList({"A0", "A1", "A2", "A3", "A4"}));

  // Onto End of Line, or below the rows: appended. End of Line does not travel, nor is it alone a drag.
  data = DragData(listA, {0, 1, 5});
  int row = -1;
  QVERIFY(Drop(listB, data.get(), Lower(listB, 3), {}, &row));
  QCOMPARE(row, 4);
  QCOMPARE(Names(b->GetPatches()), QStringList({"B0", "B1", "B2", "A0", "A1"}));
  QCOMPARE(Selected(listB), QStringList({"A0", "A1"}));
  data = DragData(listA, {1});
  const QPoint below(10, listB->viewport()->height() - 2);
  QVERIFY(listB->rowAt(below.y()) < 0);
  QVERIFY(Drop(listB, data.get(), below));
  QCOMPARE(Names(b->GetPatches()), QStringList({"B0", "B1", "B2", "A0", "A1", "A1"}));
  QVERIFY(!DragData(listA, {5}));

  // Once the source window has closed, the rows can still be dropped, as copies.
  data = DragData(listA, {0});
  a->GetFrame()->CloseDocument();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(Drop(listB, data.get(), Upper(listB, 0), Qt::ShiftModifier));
  QCOMPARE(Names(b->GetPatches()).mid(0, 2), QStringList({"A0", "B0"}));
  QCOMPARE(b->GetPatches().size(), size_t(7));
}

void CListDragDropTest::sortedListDropsByPatchIndexAsInsertDoes() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = app->NewLibraryWith(NamedPatches(4, "S"));
  doc->GetPatches().Get(0)->SetName("Delta");
  doc->GetPatches().Get(1)->SetName("Alpha");
  doc->GetPatches().Get(2)->SetName("Charlie");
  doc->GetPatches().Get(3)->SetName("Bravo");
  doc->UpdateAllViews();
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  list->Sort(CParameterListCtrl::COLUMN_NAME);
  QCOMPARE(Shown(list), QStringList({"Alpha", "Bravo", "Charlie", "Delta"}));

  // Before "Charlie" (index 2): the copy of "Alpha" goes to index 2, where Insert would put it.
  CFileDoc* other = Library(app.App(), 1, "Z");
  auto data = DragData(ViewOf(other)->GetList(), {0});
  QVERIFY(Drop(list, data.get(), Upper(list, 2)));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"Delta", "Alpha", "Z0", "Charlie", "Bravo"}));
  QCOMPARE(Shown(list), QStringList({"Alpha", "Bravo", "Charlie", "Delta", "Z0"}));
  QCOMPARE(Selected(list), QStringList({"Z0"}));

  list->SelectRows(2, 2);
  QZML::CAppState::Instance().GetClipboard().m_patches = NamedPatches(1, "Y");
  view->OnEditInsert();
  QCOMPARE(Names(doc->GetPatches()), QStringList({"Delta", "Alpha", "Z0", "Y0", "Charlie", "Bravo"}));
}

void CListDragDropTest::filesDroppedOnAListOpenAsOnTheFrame() {
  CTestUi ui;
  CStartedApp app;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("dropped.qzl"));
  QVERIFY(SaveLibraryFile(path, NamedPatches(2, "F")));

  CFileDoc* doc = Library(app.App(), 1, "L");
  for (CPatchListCtrl* list : {ViewOf(doc)->GetList(), app->GetMainView()->GetList()}) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QVERIFY(Drop(list, &data, Upper(list, 0)));
    QCOMPARE(Names(doc->GetPatches()), QStringList({"L0"}));
  }
  // The file opened once; the second drop brought its window forward.
  int opened = 0;
  for (QMdiSubWindow* window : app->GetMainFrame()->GetMdiArea()->subWindowList())
    opened += window->windowTitle().contains(QStringLiteral("dropped.qzl")) ? 1 : 0;
  QCOMPARE(opened, 1);

  // Text from another program is not taken.
  QMimeData text;
  text.setText(QStringLiteral("Lead"));
  QVERIFY(!Drop(ViewOf(doc)->GetList(), &text, Upper(ViewOf(doc)->GetList(), 0)));
}

void CListDragDropTest::damagedDragDataIsRefused() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 3, "D");
  CPatchListCtrl* list = ViewOf(doc)->GetList();
  doc->GetPatches().Get(1)->SetMemo(0, "Über clean");
  auto data = DragData(list, {0, 1, 2});
  const QByteArray bytes = data->data(QString::fromLatin1(CPatchListCtrl::kPatchMimeType));
  CPatchListCtrl::SDrop drop;
  QVERIFY(CPatchListCtrl::DecodeDragData(bytes, drop));
  QCOMPARE(Names(drop.patches), QStringList({"D0", "D1", "D2"}));
  QCOMPARE(drop.patches.Get(1)->GetMemo(0), std::string("Über clean"));
  QCOMPARE(drop.source, list);
  QVERIFY(data->text().startsWith(QStringLiteral("D0\t\t\t\t\nD1\tÜber clean")));

  // Damaged drag data drops nothing.
  QMimeData damaged;
  damaged.setData(QString::fromLatin1(CPatchListCtrl::kPatchMimeType), bytes.left(bytes.size() - 1));
  QVERIFY(!Drop(list, &damaged, Upper(list, 0)));
  QCOMPARE(doc->GetPatches().size(), size_t(3));
}

void CListDragDropTest::realMouseDragMovesRows() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 5, "R");
  CPatchListCtrl* list = ViewOf(doc)->GetList();
  QWidget* viewport = list->viewport();
  list->window()->activateWindow();
  QTest::mouseClick(viewport, Qt::LeftButton, {}, Upper(list, 0));
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Upper(list, 1));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({0, 1}));

  // Pressing a selected row keeps the selection; moving far enough starts the drag of those rows. The
  // offscreen platform ends a drag at once without a drop, so its data is dropped here as the platform
  // would drop it, behind row 3.
  const QPoint start = Upper(list, 1);
  QTest::mousePress(viewport, Qt::LeftButton, {}, start);
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({0, 1}));
  QTest::mouseMove(viewport, start + QPoint(0, QApplication::startDragDistance() + 2));
  QDrag* drag = list->findChild<QDrag*>();
  QVERIFY(drag);
  QVERIFY(!drag->pixmap().isNull());
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, start);
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({0, 1})); // the release belonged to the drag
  QVERIFY(Drop(list, drag->mimeData(), Lower(list, 3)));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"R2", "R3", "R0", "R1", "R4"}));
  QVERIFY(doc->IsModified());

  // A press on a selected row released without moving selects that row alone.
  QTest::mouseClick(viewport, Qt::LeftButton, {}, Upper(list, 2));
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, Upper(list, 3));
  QTest::mouseClick(viewport, Qt::LeftButton, {}, Upper(list, 3));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({3}));
}

void CListDragDropTest::filterMatchesNamesAndMemosInAnyCase() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 6, "P");
  QZML::CPatchArray& patches = doc->GetPatches();
  patches.Get(0)->SetName("Lead Solo");
  patches.Get(1)->SetName("Clean");
  patches.Get(2)->SetName("Crunch");
  patches.Get(2)->SetMemo(3, "for the LEAD part");
  patches.Get(3)->SetName("Ambient");
  patches.Get(3)->SetMemo(1, "Über-Chorus");
  patches.Get(4)->SetName("Misleading");
  doc->UpdateAllViews();
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  QLineEdit* box = view->GetFilterBox();
  QCOMPARE(view->GetFilterCount()->text(), QStringLiteral("6 of 6 shown"));

  list->SelectRows(0, 1);
  QTest::keyClicks(box, QStringLiteral("lEaD"));
  QCOMPARE(Shown(list), QStringList({"Lead Solo", "Crunch", "Misleading"}));
  QCOMPARE(list->GetItemCount(), 4); // End of Line stays
  QCOMPARE(view->GetFilterCount()->text(), QStringLiteral("3 of 6 shown"));
  QCOMPARE(Selected(list), QStringList({"Lead Solo"})); // "Clean" went out of sight and out of the selection

  box->setText(QStringLiteral("über"));
  QCOMPARE(Shown(list), QStringList({"Ambient"}));
  box->setText(QStringLiteral("nothing like it"));
  QCOMPARE(Shown(list), QStringList());
  QCOMPARE(view->GetFilterCount()->text(), QStringLiteral("0 of 6 shown"));

  // Ctrl+F (Edit > Filter) puts the keyboard into the active window's filter box, its text selected.
  CMainFrame* frame = app->GetMainFrame();
  frame->activateWindow();
  list->setFocus();
  QAction* filter = frame->GetCommandAction(ID_EDIT_FILTER);
  QVERIFY(filter);
  QCOMPARE(filter->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
  QVERIFY(frame->RouteCommand(ID_EDIT_FILTER));
  QVERIFY(QTest::qWaitFor([&]() { return box->hasFocus(); }, 2000));
  QCOMPARE(box->selectedText(), QStringLiteral("nothing like it"));

  // Escape clears the filter; every row comes back and the selection stays.
  box->setText(QStringLiteral("solo"));
  list->SelectRows(0, 0);
  QTest::keyClick(box, Qt::Key_Escape);
  QVERIFY(box->text().isEmpty());
  QCOMPARE(list->GetItemCount(), 7);
  QCOMPARE(Selected(list), QStringList({"Lead Solo"}));
  // A second Escape goes back to the list.
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Escape);
  QVERIFY(QTest::qWaitFor([&]() { return list->hasFocus(); }, 2000));

  // Sorting and filtering combine; the selection survives both.
  box->setText(QStringLiteral("lead"));
  list->Sort(CParameterListCtrl::COLUMN_NAME);
  QCOMPARE(Shown(list), QStringList({"Crunch", "Lead Solo", "Misleading"}));
  list->Sort(CParameterListCtrl::COLUMN_NAME);
  QCOMPARE(Shown(list), QStringList({"Misleading", "Lead Solo", "Crunch"}));
  list->SelectRows(1, 1);
  box->clear();
  QCOMPARE(Shown(list), QStringList({"P5", "Misleading", "Lead Solo", "Crunch", "Clean", "Ambient"}));
  QCOMPARE(Selected(list), QStringList({"Lead Solo"}));
  QCOMPARE(list->GetItemCount(), 7);
  QVERIFY(!list->IsPatchRow(6));
}

void CListDragDropTest::commandsOnAFilteredListLeaveHiddenRowsAlone() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 6, "P");
  for (int i : {1, 3, 4})
    doc->GetPatches().Get(static_cast<size_t>(i))->SetMemo(0, "keep");
  doc->UpdateAllViews();
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  view->GetFilterBox()->setText(QStringLiteral("KEEP"));
  QCOMPARE(Shown(list), QStringList({"P1", "P3", "P4"}));

  // Select All takes the shown rows only; Delete leaves the hidden ones.
  view->OnEditSelectAll();
  QCOMPARE(Selected(list), QStringList({"P1", "P3", "P4"}));
  QVERIFY(view->IsCommandEnabled(ID_EDIT_DELETE));
  view->OnEditDelete();
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P2", "P5"}));
  QCOMPARE(view->GetFilterCount()->text(), QStringLiteral("0 of 3 shown"));
  view->OnEditUndo();
  QCOMPARE(Names(doc->GetPatches()).size(), 6);
  QCOMPARE(Shown(list), QStringList({"P1", "P3", "P4"}));

  // Replace changes the selected shown rows only, and what it put in stays in sight and selected.
  QZML::CAppState::Instance().GetClipboard().m_patches = NamedPatches(1, "C");
  list->SelectRows(1, 2);
  QVERIFY(view->IsCommandEnabled(ID_EDIT_REPLACE));
  view->OnEditReplace();
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "C0", "C0", "P5"}));
  QCOMPARE(Shown(list), QStringList({"P1", "C0", "C0"}));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({1, 2}));

  // End of Line with a filter set is still no patch.
  list->SelectRows(3, 3);
  QVERIFY(!view->IsCommandEnabled(ID_EDIT_DELETE));
  QVERIFY(view->IsCommandEnabled(ID_EDIT_INSERT));
  view->OnEditInsert();
  QCOMPARE(Name(doc->GetPatches(), 6), QStringLiteral("C0"));
  QCOMPARE(Shown(list), QStringList({"P1", "C0", "C0", "C0"}));
}

void CListDragDropTest::saveAndWriteAllTakeEveryPatch() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;

  // Save writes the whole library.
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("filtered.qzl"));
  CFileDoc* doc = Library(app.App(), 4, "S");
  ViewOf(doc)->GetFilterBox()->setText(QStringLiteral("S2"));
  QCOMPARE(ViewOf(doc)->GetList()->GetShownPatchCount(), 1);
  QVERIFY(doc->OnSaveDocument(path));
  QZML::CFileDocument saved;
  bool converted = false;
  QVERIFY(saved.LoadFile(path.toStdString(), converted));
  QCOMPARE(Names(saved.m_current.m_patches), QStringList({"S0", "S1", "S2", "S3"}));

  // Export All takes every patch of the Main window (the index list Write All sends), Write Selected the
  // selected shown ones. (Write All itself runs at the cable's pace: 70 s for 200 patches.)
  CImageDoc* main = app->GetMainDocument();
  main->GetPatches() = NamedPatches(200, "W");
  main->UpdateAllViews();
  CImageView* view = app->GetMainView();
  view->GetFilterBox()->setText(QStringLiteral("W19"));
  QCOMPARE(view->GetFilterCount()->text(), QStringLiteral("11 of 200 shown"));
  const QString smf = dir.filePath(QStringLiteral("all.mid"));
  answers.File(smf);
  view->OnExportSmf(true);
  QZML::CPatchArray exported = NamedPatches(200, "Z");
  {
    std::ifstream file(smf.toStdString(), std::ios::binary);
    QVERIFY(DeviceReader()->Import(file, QZML::CPatchList{0}, &exported));
  }
  QCOMPARE(Names(exported), Names(main->GetPatches()));

  QVERIFY(LoadUnit(app.App(), NamedPatches(200, "U")));
  view->OnEditSelectAll();
  QCOMPARE(view->GetList()->GetSelectedCount(), 11);
  view->WriteUser(false);
  const QZML::CPatchArray written = UnitPatches(app.App());
  QCOMPARE(Name(written, 18), QStringLiteral("U18"));
  QCOMPARE(Name(written, 19), QStringLiteral("W19"));
  QCOMPARE(Name(written, 20), QStringLiteral("U20"));
  QCOMPARE(Name(written, 190), QStringLiteral("W190"));
  QCOMPARE(Name(written, 199), QStringLiteral("W199"));
  QCOMPARE(answers.m_kinds, QList<int>({CONFIRM_WRITE_USER}));
}

QZ_APP_TEST_MAIN(CListDragDropTest)
#include "listdragdrop_test.moc"
