// The editable list control: cell cursor and keys, mouse selection, pop-up editors over many rows,
// validation before applying, the mouse hook, drawing, and the model behind it.

#include "gp/editlistctrl.h"
#include "gp/editlistmodel.h"
#include "gp/popupcombobox.h"
#include "gp/popupedit.h"
#include "gp/popupspinedit.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

#include <map>

namespace {

using GP::CEditListCtrl;

enum Column { COL_NUMBER, COL_NAME, COL_LEVEL, COL_KIND };

const QStringList kKinds = {QStringLiteral("Clean"), QStringLiteral("Crunch"), QStringLiteral("Lead")};

// A list over plain vectors, indexed by each row's item data, that records what it is asked to apply.
class CTestList : public CEditListCtrl {
public:
  struct SApplied {
    int row;
    int column;
    QVariant value;
  };

  // A valid size shows the list at that size.
  explicit CTestList(int rows, QSize shown = QSize(), QWidget* parent = nullptr) : CEditListCtrl(parent) {
    SELVColumn number;
    number.flags = COL_ALIGN_RIGHT | COL_KIND_NUMBER | COL_SPINMODE_0 | COL_SPINSTYLE_0;
    number.maximum = 127.0;
    InsertColumn(COL_NUMBER, QStringLiteral("Number"), 60, number);
    SELVColumn name;
    name.flags = COL_EDITABLE | COL_KIND_TEXT;
    InsertColumn(COL_NAME, QStringLiteral("Name"), 120, name);
    SELVColumn level;
    level.flags = COL_EDITABLE | COL_KIND_NUMBER | COL_ALIGN_RIGHT;
    level.maximum = 127.0;
    InsertColumn(COL_LEVEL, QStringLiteral("Level"), 60, level);
    SELVColumn kind;
    kind.flags = COL_EDITABLE | COL_KIND_CHOICE;
    kind.choices = &kKinds;
    InsertColumn(COL_KIND, QStringLiteral("Kind"), 80, kind);
    for (int i = 0; i < rows; ++i) {
      names.append(QStringLiteral("Patch %1").arg(i + 1));
      levels.push_back(i);
      kinds.append(kKinds.at(i % 3));
    }
    SetItemCount(rows);
    if (shown.isValid()) {
      resize(shown);
      show();
    }
  }

  QString GetCellText(int row, int column) const override {
    ++textRequests;
    const auto i = static_cast<size_t>(GetItemData(row));
    switch (column) {
    case COL_NUMBER:
      return QString::number(i + 1);
    case COL_NAME:
      return names.at(static_cast<qsizetype>(i));
    case COL_LEVEL:
      return QString::number(levels.at(i));
    case COL_KIND:
      return kinds.at(static_cast<qsizetype>(i));
    default:
      return QString();
    }
  }
  double GetCellValue(int row, int column) const override {
    return column == COL_LEVEL ? levels.at(static_cast<size_t>(GetItemData(row))) : 0.0;
  }
  void SetCellValue(int row, int column, const QVariant& value) override {
    applied.push_back({row, column, value});
    const auto i = static_cast<size_t>(GetItemData(row));
    if (column == COL_NAME)
      names[static_cast<qsizetype>(i)] = value.toString();
    else if (column == COL_LEVEL)
      levels[i] = value.toDouble();
    else if (column == COL_KIND)
      kinds[static_cast<qsizetype>(i)] = value.toString();
  }
  // Rows may carry a lower limit of their own, as a derived list with per-row ranges would.
  bool ValidateCellValue(int row, int column, const QVariant& value, bool relative) override {
    const auto limit = rowMaximum.find(row);
    if (column == COL_LEVEL && limit != rowMaximum.end() && value.toDouble() > limit->second)
      return false;
    return CEditListCtrl::ValidateCellValue(row, column, value, relative);
  }
  void ReplaceText(int column) override { replaced.push_back(column); }

  std::vector<int> PopupRows() const {
    std::vector<int> rows;
    for (int r = 0; r < GetItemCount(); ++r)
      if (GetPopup(r))
        rows.push_back(r);
    return rows;
  }

  QStringList names;
  std::vector<double> levels;
  QStringList kinds;
  std::vector<SApplied> applied;
  std::map<int, double> rowMaximum;
  std::vector<int> replaced;
  mutable int textRequests = 0;
};

QPoint CellCenter(const CEditListCtrl& list, int row, int column) { return list.GetCellRect(row, column).center(); }

// Sends a mouse event the way a real click arrives (through the application, so the hook sees it).
void SendMouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers, const QPoint& pos) {
  QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, modifiers);
  QApplication::sendEvent(widget, &event);
}

} // namespace

class CEditListCtrlTest : public QObject {
  Q_OBJECT

private slots:
  void modelKeepsItsContract();
  void cursorKeysStayOnEditableColumns();
  void insertColumnKeepsTheMarkedColumn();
  void mouseSelectsInItsOwnModes();
  void rightClickMovesCursorAndEditsOnlySelectedRows();
  void typingMirrorsIntoEveryRowAndEnterAppliesToAll();
  void oneRefusingRowKeepsEveryPopupOpen();
  void spinStepAddsToEachRowsOwnValue();
  void choicePopupsFollowEachOther();
  void mouseHookCommitsCancelsOrSwallows();
  void scrollingAndEscapeEndWithoutApplying();
  void longTextIsCutWithDots();
  void tenThousandRowsAskOnlyForVisibleCells();
  void sortIsStableAndSelectionFollowsRows();
  void filterHidesRowsAndKeepsTheirSelection();
  void dropIndicatorFollowsThePointer();
  void popupRunsOnItsOwn();
};

void CEditListCtrlTest::modelKeepsItsContract() {
  CTestList list(5);
  QAbstractItemModelTester tester(list.GetModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  list.InsertItem(2, 4);
  list.DeleteItem(0);
  list.SetItemData(1, 2);
  list.SortItems([](qintptr a, qintptr b) { return a < b ? 1 : (a > b ? -1 : 0); });
  list.InsertColumn(1, QStringLiteral("Extra"), -1, CEditListCtrl::SELVColumn());
  list.DeleteColumn(1);
  list.SetItemCount(7);
  QCOMPARE(list.GetModel()->rowCount(), 7);
  QCOMPARE(list.GetItemData(6), qintptr(6));
  QCOMPARE(list.GetModel()->data(list.GetModel()->index(6, COL_NUMBER)).toString(), QStringLiteral("7"));
  list.DeleteAllColumns();
  QCOMPARE(list.GetCurrentColumn(), -1);
  list.DeleteAllItems();
  QCOMPARE(list.GetItemCount(), 0);
}

void CEditListCtrlTest::cursorKeysStayOnEditableColumns() {
  CTestList list(10, QSize(400, 300));
  list.SetCurrentColumn(COL_NAME);
  QCOMPARE(list.GetModel()->headerData(COL_NAME, Qt::Horizontal).toString(), QStringLiteral("*Name"));

  QTest::keyClicks(&list, QStringLiteral("h")); // Number takes no cursor: first editable column already
  QCOMPARE(list.GetCurrentColumn(), int(COL_NAME));
  QTest::keyClick(&list, Qt::Key_Left);
  QCOMPARE(list.GetCurrentColumn(), int(COL_NAME));
  QTest::keyClicks(&list, QStringLiteral("ll"));
  QCOMPARE(list.GetCurrentColumn(), int(COL_KIND));
  QTest::keyClicks(&list, QStringLiteral("l")); // last editable column
  QCOMPARE(list.GetCurrentColumn(), int(COL_KIND));
  QTest::keyClick(&list, Qt::Key_Left);
  QCOMPARE(list.GetCurrentColumn(), int(COL_LEVEL));
  QCOMPARE(list.GetModel()->headerData(COL_NAME, Qt::Horizontal).toString(), QStringLiteral("Name"));
  QCOMPARE(list.GetModel()->headerData(COL_LEVEL, Qt::Horizontal).toString(), QStringLiteral("*Level"));

  QTest::keyClicks(&list, QStringLiteral("^"));
  QCOMPARE(list.GetCurrentColumn(), 0);
  QTest::keyClicks(&list, QStringLiteral("$"));
  QCOMPARE(list.GetCurrentColumn(), int(COL_KIND));
  list.SetCurrentColumn(99);
  QCOMPARE(list.GetCurrentColumn(), int(COL_KIND));

  // The cursor's column scrolls fully into view, and the rows' keys never scroll sideways.
  list.resize(180, 300);
  QCoreApplication::processEvents();
  list.SetCurrentColumn(COL_KIND);
  const QRect kind = list.GetCellRect(0, COL_KIND);
  QVERIFY(kind.left() >= 0 && kind.right() < list.viewport()->width());
  QVERIFY(list.horizontalScrollBar()->value() > 0);
  QTest::keyClick(&list, Qt::Key_Down);
  QCOMPARE(list.GetCellRect(0, COL_KIND), kind);
  QTest::keyClicks(&list, QStringLiteral("^"));
  QCOMPARE(list.horizontalScrollBar()->value(), 0);
  list.resize(400, 300);
  QTest::keyClicks(&list, QStringLiteral("$"));

  list.SelectRows(3, 3);
  list.SetFocusRow(3);
  QTest::keyClicks(&list, QStringLiteral("jj"));
  QCoreApplication::processEvents();
  QCOMPARE(list.GetFocusRow(), 5);
  QTest::keyClicks(&list, QStringLiteral("K"));
  QCoreApplication::processEvents();
  QCOMPARE(list.GetFocusRow(), 4);

  // Ctrl+R reaches the replace operation only on an editable text column with a selection.
  QTest::keyClick(&list, Qt::Key_R, Qt::ControlModifier);
  QVERIFY(list.replaced.empty());
  list.SetCurrentColumn(COL_NAME);
  QTest::keyClick(&list, Qt::Key_R, Qt::ControlModifier);
  QCOMPARE(list.replaced, std::vector<int>{COL_NAME});

  // Enter opens the editor on the current column of the first selected visible row.
  QTest::keyClick(&list, Qt::Key_Return);
  QVERIFY(list.IsEditing());
  QCOMPARE(list.PopupRows(), std::vector<int>{4});
  QCOMPARE(list.GetCurrentPopup(), list.GetPopup(4));
}

void CEditListCtrlTest::insertColumnKeepsTheMarkedColumn() {
  CTestList list(3);
  list.SetCurrentColumn(COL_LEVEL);
  CEditListCtrl::SELVColumn extra;
  extra.flags = CEditListCtrl::COL_EDITABLE | CEditListCtrl::COL_KIND_TEXT;
  list.InsertColumn(COL_LEVEL, QStringLiteral("Memo"), -1, extra);
  QCOMPARE(list.GetCurrentColumn(), COL_LEVEL + 1);
  QCOMPARE(list.GetModel()->headerData(COL_LEVEL + 1, Qt::Horizontal).toString(), QStringLiteral("*Level"));
  QCOMPARE(list.GetModel()->headerData(COL_LEVEL, Qt::Horizontal).toString(), QStringLiteral("Memo"));
  QVERIFY(list.GetColumnWidth(COL_LEVEL) >= list.fontMetrics().horizontalAdvance(QStringLiteral("*Memo")));
  list.InsertColumn(99, QStringLiteral("Last"), 40, extra); // after the cursor: it stays
  QCOMPARE(list.GetCurrentColumn(), COL_LEVEL + 1);
  list.DeleteColumn(0);
  QCOMPARE(list.GetCurrentColumn(), COL_LEVEL);
  QCOMPARE(list.GetColumnHeading(list.GetCurrentColumn()), QStringLiteral("Level"));
}

void CEditListCtrlTest::mouseSelectsInItsOwnModes() {
  CTestList list(10, QSize(400, 300));
  QSignalSpy clicks(&list, &CEditListCtrl::listClick);
  QWidget* viewport = list.viewport();

  QTest::mouseClick(viewport, Qt::LeftButton, {}, CellCenter(list, 1, COL_NAME));
  QCOMPARE(list.GetSelectedRows(), std::vector<int>{1});
  QCOMPARE(list.GetFocusRow(), 1);
  QCOMPARE(list.GetSelectionMark(), 1);
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(clicks.at(0).at(0).toInt(), 1);

  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ShiftModifier, CellCenter(list, 4, COL_NAME));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{1, 2, 3, 4}));
  QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, CellCenter(list, 2, COL_NAME));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{1, 3, 4}));
  QCOMPARE(list.GetSelectionMark(), 2);

  // A toggle drag from row 6 over rows 7 and 8 flips them against the selection taken at the press.
  const QPoint start = CellCenter(list, 6, COL_NAME);
  SendMouse(viewport, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier, start);
  SendMouse(viewport, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier, CellCenter(list, 8, 1));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{1, 3, 4, 6, 7, 8}));
  SendMouse(viewport, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::ControlModifier, CellCenter(list, 3, 1));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{1, 5, 6}));
  SendMouse(viewport, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, Qt::ControlModifier,
            CellCenter(list, 3, 1));

  // A plain drag selects the swept range only.
  SendMouse(viewport, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {}, CellCenter(list, 2, 1));
  SendMouse(viewport, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {}, CellCenter(list, 5, 1));
  SendMouse(viewport, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {}, CellCenter(list, 5, 1));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{2, 3, 4, 5}));
  QCOMPARE(list.GetFocusRow(), 5);

  // Below the last row nothing changes.
  QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(10, viewport->height() - 2));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{2, 3, 4, 5}));
}

void CEditListCtrlTest::rightClickMovesCursorAndEditsOnlySelectedRows() {
  CTestList list(10, QSize(400, 300));
  QSignalSpy rightClicks(&list, &CEditListCtrl::listRightClick);
  list.SelectRows(0, 0);
  list.SetCurrentColumn(COL_NAME);

  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, CellCenter(list, 2, COL_LEVEL));
  QCOMPARE(list.GetCurrentColumn(), int(COL_LEVEL));
  QVERIFY(!list.IsEditing());
  QCOMPARE(list.GetSelectedRows(), std::vector<int>{0});
  QCOMPARE(rightClicks.count(), 1);

  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, CellCenter(list, 0, COL_NAME));
  QCOMPARE(list.GetCurrentColumn(), int(COL_NAME));
  QVERIFY(list.IsEditing());
  QCOMPARE(list.PopupRows(), std::vector<int>{0});
  QCOMPARE(list.GetCurrentPopup()->GetText(), QStringLiteral("Patch 1"));
  QVERIFY(list.EndEdit(false));

  // The Number column takes the cursor from the mouse but opens no editor.
  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, CellCenter(list, 0, COL_NUMBER));
  QCOMPARE(list.GetCurrentColumn(), int(COL_NUMBER));
  QVERIFY(!list.IsEditing());
}

void CEditListCtrlTest::typingMirrorsIntoEveryRowAndEnterAppliesToAll() {
  CTestList list(10, QSize(400, 300));
  list.SelectRows(2, 4);
  QVERIFY(list.BeginEdit(3, COL_LEVEL));
  QCOMPARE(list.PopupRows(), (std::vector<int>{2, 3, 4}));
  QCOMPARE(list.GetPopup(2)->GetText(), QStringLiteral("2"));
  QVERIFY(list.GetEditSession().IsRelative());

  QTest::keyClicks(list.GetCurrentPopup()->GetWnd(), QStringLiteral("12"));
  for (int row : {2, 3, 4})
    QCOMPARE(list.GetPopup(row)->GetText(), QStringLiteral("12"));
  QVERIFY(!list.GetEditSession().IsRelative());
  QCOMPARE(list.GetEditSession().Number(), 12.0);

  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Return);
  QVERIFY(!list.IsEditing());
  QCOMPARE(list.applied.size(), size_t(3));
  for (size_t i = 0; i < 3; ++i) {
    QCOMPARE(list.applied[i].row, int(i) + 2);
    QCOMPARE(list.applied[i].value.toDouble(), 12.0);
  }
  QCOMPARE(list.levels[4], 12.0);

  // Text the same way; Enter in a popup that was never typed in still commits the shared value.
  list.applied.clear();
  QVERIFY(list.BeginEdit(2, COL_NAME));
  QTest::keyClicks(list.GetPopup(2)->GetWnd(), QStringLiteral("X"));
  QCOMPARE(list.GetPopup(4)->GetText(), list.GetPopup(2)->GetText());
  QTest::mouseClick(list.GetPopup(4)->GetWnd(), Qt::LeftButton);
  QCOMPARE(list.GetCurrentPopup(), list.GetPopup(4));
  QTest::keyClick(list.GetPopup(4)->GetWnd(), Qt::Key_Return);
  QVERIFY(!list.IsEditing());
  QCOMPARE(list.applied.size(), size_t(3));
  QCOMPARE(list.names[3], list.names[2]);

  // Enter without a change applies nothing.
  list.applied.clear();
  QVERIFY(list.BeginEdit(2, COL_NAME));
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Return);
  QVERIFY(!list.IsEditing());
  QVERIFY(list.applied.empty());
}

void CEditListCtrlTest::oneRefusingRowKeepsEveryPopupOpen() {
  CTestList list(10, QSize(400, 300));
  list.rowMaximum[3] = 10.0;
  list.SelectRows(2, 4);
  QVERIFY(list.BeginEdit(2, COL_LEVEL));
  QTest::keyClicks(list.GetCurrentPopup()->GetWnd(), QStringLiteral("12"));
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Return);
  QVERIFY(list.IsEditing());
  QCOMPARE(list.PopupRows(), (std::vector<int>{2, 3, 4}));
  QVERIFY(list.applied.empty());
  QCOMPARE(list.levels[2], 2.0);
  QVERIFY(!list.EndEdit(true));

  // A value every row accepts goes through.
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Backspace);
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Backspace);
  QTest::keyClicks(list.GetCurrentPopup()->GetWnd(), QStringLiteral("9"));
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Return);
  QVERIFY(!list.IsEditing());
  QCOMPARE(list.levels[3], 9.0);
}

void CEditListCtrlTest::spinStepAddsToEachRowsOwnValue() {
  CTestList list(10, QSize(400, 300));
  list.levels[0] = 3;
  list.levels[1] = 5;
  list.levels[2] = 9;
  list.SelectRows(0, 2);
  QVERIFY(list.BeginEdit(1, COL_LEVEL));
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Up);
  QCOMPARE(list.GetPopup(0)->GetText(), QStringLiteral("4"));
  QCOMPARE(list.GetPopup(1)->GetText(), QStringLiteral("6"));
  QCOMPARE(list.GetPopup(2)->GetText(), QStringLiteral("10"));
  QVERIFY(list.GetEditSession().IsRelative());
  QCOMPARE(list.GetEditSession().Number(), 1.0);
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Return);
  QVERIFY(!list.IsEditing());
  QCOMPARE(list.levels[0], 4.0);
  QCOMPARE(list.levels[1], 6.0);
  QCOMPARE(list.levels[2], 10.0);

  // A step that would take one row past its limit is refused for all.
  list.levels[2] = 127;
  QVERIFY(list.BeginEdit(0, COL_LEVEL));
  auto* spin = static_cast<GP::CPopupSpinEdit*>(list.GetCurrentPopup());
  spin->stepBy(1);
  QCOMPARE(list.GetPopup(0)->GetText(), QStringLiteral("4"));
  QCOMPARE(list.GetPopup(2)->GetText(), QStringLiteral("127"));
  QCOMPARE(list.GetEditSession().Number(), 0.0);
  spin->stepBy(-2);
  QCOMPARE(list.GetPopup(1)->GetText(), QStringLiteral("4"));
  QVERIFY(list.EndEdit(true));
  QCOMPARE(list.levels[2], 125.0);
}

void CEditListCtrlTest::choicePopupsFollowEachOther() {
  CTestList list(6, QSize(400, 300));
  list.SelectRows(0, 1);
  QVERIFY(list.BeginEdit(0, COL_KIND));
  auto* first = static_cast<GP::CPopupComboBox*>(list.GetPopup(0));
  auto* second = static_cast<GP::CPopupComboBox*>(list.GetPopup(1));
  QCOMPARE(first->GetText(), QStringLiteral("Clean"));
  QCOMPARE(second->GetText(), QStringLiteral("Crunch"));
  first->setCurrentIndex(2);
  emit first->activated(2); // as the user taking a choice
  QCOMPARE(second->GetText(), QStringLiteral("Lead"));
  QCOMPARE(list.GetEditSession().Text(), QStringLiteral("Lead"));
  QTest::keyClick(first, Qt::Key_Return);
  QVERIFY(!list.IsEditing());
  QCOMPARE(list.kinds.at(0), QStringLiteral("Lead"));
  QCOMPARE(list.kinds.at(1), QStringLiteral("Lead"));
}

void CEditListCtrlTest::mouseHookCommitsCancelsOrSwallows() {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* list = new CTestList(6);
  auto* button = new QPushButton(QStringLiteral("Elsewhere"));
  layout->addWidget(list);
  layout->addWidget(button);
  window.resize(400, 400);
  window.show();
  QSignalSpy pressed(button, &QPushButton::pressed);

  // A left press elsewhere commits a modified edit and goes through.
  list->SelectRows(0, 1);
  QVERIFY(list->BeginEdit(0, COL_NAME));
  QTest::keyClicks(list->GetCurrentPopup()->GetWnd(), QStringLiteral("Z"));
  QTest::mouseClick(button, Qt::LeftButton);
  QVERIFY(!list->IsEditing());
  QCOMPARE(list->applied.size(), size_t(2));
  QCOMPARE(pressed.count(), 1);

  // A refused value keeps the edit open and the press is swallowed.
  list->applied.clear();
  list->rowMaximum[1] = 1.0;
  QVERIFY(list->BeginEdit(0, COL_LEVEL));
  QTest::keyClicks(list->GetCurrentPopup()->GetWnd(), QStringLiteral("50"));
  QTest::mouseClick(button, Qt::LeftButton);
  QVERIFY(list->IsEditing());
  QCOMPARE(pressed.count(), 1);
  QVERIFY(list->applied.empty());

  // A right press elsewhere cancels.
  QTest::mouseClick(button, Qt::RightButton);
  QVERIFY(!list->IsEditing());
  QVERIFY(list->applied.empty());

  // A press on another popup makes it current and leaves the edit open.
  QVERIFY(list->BeginEdit(0, COL_NAME));
  QTest::mouseClick(list->GetPopup(1)->GetWnd(), Qt::LeftButton);
  QVERIFY(list->IsEditing());
  QCOMPARE(list->GetCurrentPopup(), list->GetPopup(1));
  QVERIFY(list->EndEdit(false));
}

void CEditListCtrlTest::scrollingAndEscapeEndWithoutApplying() {
  CTestList list(200, QSize(400, 200));
  QSignalSpy scrolled(&list, &CEditListCtrl::verticalScrolled);
  list.SelectAllRows();
  QVERIFY(list.BeginEdit(0, COL_NAME));
  QVERIFY(list.PopupRows().size() < 20); // only the visible rows get a popup
  QTest::keyClicks(list.GetCurrentPopup()->GetWnd(), QStringLiteral("Q"));
  QTest::keyClick(list.GetCurrentPopup()->GetWnd(), Qt::Key_Escape);
  QVERIFY(!list.IsEditing());
  QVERIFY(list.applied.empty());

  QVERIFY(list.BeginEdit(0, COL_NAME));
  QTest::keyClicks(list.GetCurrentPopup()->GetWnd(), QStringLiteral("Q"));
  list.SetTopIndex(50);
  QVERIFY(!list.IsEditing());
  QVERIFY(list.applied.empty());
  QVERIFY(scrolled.count() > 0);
  QCOMPARE(list.GetTopIndex(), 50);

  // Every selected row takes a committed value, also those scrolled out of view.
  QVERIFY(list.BeginEdit(60, COL_NAME));
  QTest::keyClicks(list.GetCurrentPopup()->GetWnd(), QStringLiteral("All"));
  QVERIFY(list.EndEdit(true));
  QCOMPARE(list.applied.size(), size_t(200));
}

void CEditListCtrlTest::longTextIsCutWithDots() {
  CTestList list(3);
  list.resize(400, 200);
  list.names[0] = QStringLiteral("A very long patch name that cannot fit");
  list.SetColumnWidth(COL_NAME, 80);
  list.show();
  const QString shown = list.GetDisplayText(0, COL_NAME);
  QVERIFY(shown.endsWith(QStringLiteral("...")));
  QVERIFY(list.names[0].startsWith(shown.chopped(3)));
  const QFontMetrics metrics(list.font());
  const int margin = metrics.horizontalAdvance(QLatin1Char(' '));
  QVERIFY(metrics.horizontalAdvance(shown) <= list.GetCellRect(0, COL_NAME).width() - 2 * margin);
  QCOMPARE(list.GetDisplayText(1, COL_NAME), QStringLiteral("Patch 2"));

  QCOMPARE(CEditListCtrl::FitText(metrics, QStringLiteral("abc"), 1000), QStringLiteral("abc"));
  QCOMPARE(CEditListCtrl::FitText(metrics, QStringLiteral("abcdef"), 0), QString());

  // Drawn as well: enabled, disabled, with the text colour equal to the background.
  list.SelectRows(0, 0);
  QVERIFY(!list.grab().isNull());
  list.setEnabled(false);
  QVERIFY(!list.grab().isNull());
  list.setEnabled(true);
  list.SetTextColor(list.GetBkColor());
  list.setShowGrid(true);
  QVERIFY(!list.grab().isNull());
}

void CEditListCtrlTest::tenThousandRowsAskOnlyForVisibleCells() {
  CTestList list(10000, QSize(400, 300));
  QCOMPARE(list.GetItemCount(), 10000);
  list.textRequests = 0;
  list.grab();
  const int visible = list.GetCountPerPage() + 2;
  QVERIFY2(list.textRequests <= visible * list.GetColumnCount() * 2, qPrintable(QString::number(list.textRequests)));
  list.SelectAllRows();
  QCOMPARE(list.GetSelectedCount(), 10000);
  list.EnsureVisible(9999);
  QVERIFY(list.GetTopIndex() > 9900);
}

void CEditListCtrlTest::sortIsStableAndSelectionFollowsRows() {
  CTestList list(6);
  QAbstractItemModelTester tester(list.GetModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  list.kinds = {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B"),
                QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("A")};
  list.SelectRows(4, 4);
  list.SetFocusRow(4);
  list.SortItems([&list](qintptr a, qintptr b) {
    return QString::compare(list.kinds.at(static_cast<qsizetype>(a)), list.kinds.at(static_cast<qsizetype>(b)));
  });
  std::vector<qintptr> order;
  for (int r = 0; r < list.GetItemCount(); ++r)
    order.push_back(list.GetItemData(r));
  QCOMPARE(order, (std::vector<qintptr>{1, 3, 5, 0, 2, 4}));
  QCOMPARE(list.GetSelectedRows(), std::vector<int>{5});
  QCOMPARE(list.GetFocusRow(), 5);
  QCOMPARE(list.GetCellText(0, COL_NUMBER), QStringLiteral("2"));
}

void CEditListCtrlTest::filterHidesRowsAndKeepsTheirSelection() {
  CTestList list(8, QSize(300, 300));
  QAbstractItemModelTester tester(list.GetModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
  const auto shown = [&list]() {
    std::vector<qintptr> data;
    for (int r = 0; r < list.GetItemCount(); ++r)
      data.push_back(list.GetItemData(r));
    return data;
  };
  list.SelectRows(2, 5);
  list.SetFocusRow(5);
  list.SetRowFilter([](qintptr data) { return data % 2 == 1; });
  QVERIFY(list.IsRowFilterSet());
  QCOMPARE(shown(), (std::vector<qintptr>{1, 3, 5, 7}));
  QCOMPARE(list.GetTotalItemCount(), 8);
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{1, 2})); // rows 3 and 5 stay selected
  QCOMPARE(list.GetFocusRow(), 2);
  list.SelectAllRows();
  QCOMPARE(list.GetSelectedCount(), 4);

  // A sort reorders every row, shown or not; the selection follows its rows.
  list.SelectRows(0, 0);
  list.SortItems([](qintptr a, qintptr b) { return a > b ? -1 : (a < b ? 1 : 0); });
  QCOMPARE(shown(), (std::vector<qintptr>{7, 5, 3, 1}));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{3}));
  // Rows the program inserts show; removing a shown row leaves the hidden ones.
  list.InsertItem(1, 6);
  QCOMPARE(shown(), (std::vector<qintptr>{7, 6, 5, 3, 1}));
  list.DeleteItem(0);
  QCOMPARE(list.GetTotalItemCount(), 8);
  list.SetItemData(0, 4);
  QCOMPARE(list.GetItemData(0), qintptr(4));

  // Without the filter all rows come back in their order, the selection kept.
  list.SetRowFilter(nullptr);
  QCOMPARE(shown(), (std::vector<qintptr>{6, 4, 5, 4, 3, 2, 1, 0}));
  QCOMPARE(list.GetSelectedRows(), (std::vector<int>{6}));
  list.SetItemCount(3); // new rows are filtered as they come
  list.SetRowFilter([](qintptr data) { return data != 1; });
  list.SetItemCount(4);
  QCOMPARE(shown(), (std::vector<qintptr>{0, 2, 3}));
}

// A list that takes text drops: between rows, or over a run of rows when it replaces.
class CDropList : public CTestList {
public:
  CDropList() : CTestList(20) { SetRowDropEnabled(true); }
  int span = 0;
  std::vector<int> dropped;

protected:
  Qt::DropAction GetDropAction(const QMimeData* data, Qt::KeyboardModifiers) const override {
    return data->hasText() ? Qt::CopyAction : Qt::IgnoreAction;
  }
  int GetDropSpanFor(const QMimeData*) const override { return span; }
  bool DropData(const QMimeData*, Qt::DropAction, int row) override {
    dropped.push_back(row);
    return true;
  }
};

void CEditListCtrlTest::dropIndicatorFollowsThePointer() {
  CDropList list;
  list.resize(300, 200);
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
  QMimeData text;
  text.setText(QStringLiteral("x"));
  const QRect row2 = list.GetCellRect(2, 1);
  const auto move = [&](const QPoint& pos, const QMimeData* data) {
    QDragEnterEvent enter(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &enter);
    QDragMoveEvent event(pos, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list.viewport(), &event);
    return event.isAccepted();
  };
  QVERIFY(move(QPoint(10, row2.top() + 1), &text));
  QCOMPARE(list.GetDropRow(), 2);
  QVERIFY(move(QPoint(10, row2.bottom() - 1), &text));
  QCOMPARE(list.GetDropRow(), 3);
  list.span = 4;
  QVERIFY(move(QPoint(10, row2.bottom() - 1), &text));
  QCOMPARE(list.GetDropRow(), 2);
  QCOMPARE(list.GetDropSpan(), 4);
  list.grab(); // the frame is drawn over the rows

  // Near the bottom edge the list scrolls while the pointer rests there.
  const int top = list.GetTopIndex();
  QVERIFY(move(QPoint(10, list.viewport()->height() - 2), &text));
  QVERIFY(QTest::qWaitFor([&]() { return list.GetTopIndex() > top; }, 2000));

  QMimeData other;
  other.setData(QStringLiteral("application/x-other"), "y");
  QVERIFY(!move(QPoint(10, row2.top() + 1), &other));
  QCOMPARE(list.GetDropRow(), -1);
  list.span = 0;
  const QRect first = list.GetCellRect(list.GetTopIndex(), 1);
  QDropEvent drop(QPointF(10, first.top() + 1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list.viewport(), &drop);
  QVERIFY(drop.isAccepted());
  QCOMPARE(list.dropped, std::vector<int>{list.GetTopIndex()});
  QCOMPARE(list.GetDropRow(), -1);
}

void CEditListCtrlTest::popupRunsOnItsOwn() {
  QWidget parent;
  parent.resize(200, 100);
  parent.show();
  GP::CPopupSpinEdit::SSpinSettings settings;
  settings.minimum = 0;
  settings.maximum = 5;
  auto* spin = new GP::CPopupSpinEdit(settings, 4);
  QTimer::singleShot(0, spin, [spin]() {
    QTest::keyClick(spin, Qt::Key_Up);
    QTest::keyClick(spin, Qt::Key_Up); // stays at the maximum
    QTest::keyClick(spin, Qt::Key_Return);
  });
  QCOMPARE(spin->DoModal(QRect(0, 0, 80, 20), &parent), int(GP::IPopup::MODAL_ENTER));
  QCOMPARE(spin->GetText(), QStringLiteral("5"));

  auto* edit = new GP::CPopupEdit(Qt::AlignLeft, QStringLiteral("old"));
  QTimer::singleShot(0, edit, [edit]() { QTest::keyClick(edit, Qt::Key_Escape); });
  QCOMPARE(edit->DoModal(QRect(0, 0, 80, 20), &parent), int(GP::IPopup::MODAL_ESCAPE));
}

QTEST_MAIN(CEditListCtrlTest)
#include "editlistctrl_test.moc"
