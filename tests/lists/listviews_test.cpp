// The patch lists inside the Main window and the library windows of a started application.

#include "apptestsupport.h"

#include "app/childframe.h"
#include "app/filedoc.h"
#include "app/fileview.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/patchlistctrl.h"
#include "app/resource.h"
#include "gp/editlistmodel.h"
#include "model/appstate.h"
#include "platform/qtsettings.h"

#include <QPushButton>
#include <QtTest>

namespace {

using Id = CParameterListCtrl::ColumnId;

QString Cell(const CPatchListCtrl& list, int row, int id) {
  const QAbstractItemModel* model = list.GetModel();
  return model->data(model->index(row, list.FindColumn(id))).toString();
}

} // namespace

class CListViewsTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QVERIFY(m_settings.IsValid()); }
  void init() { CTestSettings::Reset(); }

  void mainListFollowsTheUserMemoryAndTheModel();
  void libraryListShowsItsDocumentAndMarksEdits();
  void fontChangeKeepsWidthsAndGridFollowsTheSwitch();

private:
  CTestSettings m_settings;
};

void CListViewsTest::mainListFollowsTheUserMemoryAndTheModel() {
  CTestUi ui;
  CStartedApp app;
  QVERIFY(app.Started());
  CImageView* view = app->GetMainView();
  QVERIFY(view);
  CPatchListCtrl* list = view->GetList();
  QCOMPARE(view->findChild<CPatchListCtrl*>(QStringLiteral("patchList")), list);
  QVERIFY(!list->HasEndOfLine());
  QCOMPARE(list->GetItemCount(), 200);
  QCOMPARE(Cell(*list, 0, Id::COLUMN_NUMBER), QStringLiteral(" 1- 1"));
  QCOMPARE(Cell(*list, 199, Id::COLUMN_NUMBER), QStringLiteral("20-10"));

  // The "Selected" buttons follow the list's selection.
  QVERIFY(!view->HasSelection());
  list->SelectRows(3, 4);
  view->UpdateButtons();
  QVERIFY(view->GetButton(IDC_READ_SELECTED)->isEnabled());
  QVERIFY(view->GetButton(IDC_WRITE_SELECTED)->isEnabled());

  app->GetMainDocument()->GetPatches().Get(7)->SetName("Solo");
  app->GetMainDocument()->UpdateAllViews();
  QCOMPARE(Cell(*list, 7, Id::COLUMN_NAME), QStringLiteral("Solo            "));

  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZ5);
  QCOMPARE(list->GetItemCount(), 140);
  QCOMPARE(Cell(*list, 0, Id::COLUMN_NUMBER), QStringLiteral(" 1-1"));
  QCOMPARE(Cell(*list, 139, Id::COLUMN_NUMBER), QStringLiteral("35-4"));
}

void CListViewsTest::libraryListShowsItsDocumentAndMarksEdits() {
  CTestUi ui;
  CStartedApp app;
  QZML::CPatchArray patches;
  patches.Resize(3);
  patches.Get(1)->SetName("Lead");
  CFileDoc* library = app->NewLibraryWith(patches);
  QVERIFY(library);
  library->SetModifiedFlag(false);
  auto* view = qobject_cast<CFileView*>(library->GetView());
  QVERIFY(view);
  CPatchListCtrl* list = view->GetList();
  QVERIFY(list->HasEndOfLine());
  QCOMPARE(list->GetItemCount(), 4);
  QCOMPARE(Cell(*list, 1, Id::COLUMN_NAME), QStringLiteral("Lead            "));
  QCOMPARE(Cell(*list, 3, Id::COLUMN_NUMBER), QStringLiteral("End of Line"));

  QVERIFY(RunEventLoopUntil([list]() { return list->isVisible() && list->viewport()->height() > 40; }, 2000));
  list->SelectRows(0, 0);
  QVERIFY(list->BeginEdit(0, list->FindColumn(Id::COLUMN_MEMO3)));
  QTest::keyClicks(list->GetCurrentPopup()->GetWnd(), QStringLiteral("Gig"));
  QTest::keyClick(list->GetCurrentPopup()->GetWnd(), Qt::Key_Return);
  QCOMPARE(library->GetPatches().Get(0)->Memo3, std::string("Gig"));
  QVERIFY(library->IsModified());
  QVERIFY(library->GetData().CanUndo(1));
  QVERIFY(view->GetParentFrame()->windowTitle().endsWith(QLatin1Char('*')));
}

void CListViewsTest::fontChangeKeepsWidthsAndGridFollowsTheSwitch() {
  CTestUi ui;
  CStartedApp app;
  CPatchListCtrl* list = app->GetMainView()->GetList();
  const int memo = list->FindColumn(Id::COLUMN_MEMO1);
  list->SetColumnWidth(memo, 111);
  app->NotifyFontChanged(); // stores the widths before the list is made again
  QCOMPARE(list->GetColumnWidth(memo), 111);
  list->SetColumnWidth(memo, 77);
  app->GetMainDocument()->UpdateAllViews(); // other updates take the stored widths
  QCOMPARE(list->GetColumnWidth(memo), 111);

  QVERIFY(!list->showGrid());
  app->ChangeGrid(1);
  QVERIFY(list->showGrid());
  app->GetMainDocument()->UpdateAllViews();
  QVERIFY(list->showGrid());

  list->SetColumnWidth(memo, 99);
  app.Exit(); // the widths go with the list
  const QStringList widths =
      QZP::CQtSettings().String(QString::fromLatin1(CPatchListCtrl::kWidthSection), QString::fromLatin1(CPatchListCtrl::kWidthEntry))
          .split(QLatin1Char(','));
  QCOMPARE(widths.size(), 6);
  QCOMPARE(widths.at(memo), QStringLiteral("99"));
}

QZ_APP_TEST_MAIN(CListViewsTest)
#include "listviews_test.moc"
