// The Main window driven as a user drives it, against the built-in simulated unit: fixed-size editing,
// the target model switch, Read/Write All and Selected with the progress dialog, a cancelled read, the
// temporary row buttons and double click, and Export/Import SMF.

#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "gp/editlistmodel.h"
#include "model/appstate.h"
#include "platform/qtsettings.h"

#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

const QString kDefaultName = QString::fromStdString(QZML::CPatch().GetName()).trimmed();

QString Cell(CPatchListCtrl* list, int row) {
  const QAbstractItemModel* model = list->GetModel();
  return model->data(model->index(row, list->FindColumn(CParameterListCtrl::COLUMN_NAME))).toString().trimmed();
}

// Watches a transfer for its progress dialog, and for the main window refusing input meanwhile.
struct CProgressWatch {
  explicit CProgressWatch(CApp& app, bool cancel = false) {
    QObject::connect(&timer, &QTimer::timeout, [&app, this, cancel]() {
      CProgressBar* progress = app.GetProgressBar();
      ownerDisabled |= !app.GetMainFrame()->isEnabled();
      if (progress->GetDialog() && progress->GetDialog()->isVisible()) {
        shown = true;
        if (cancel)
          progress->Cancel();
      }
    });
    timer.start(0);
  }
  QTimer timer;
  bool shown = false;
  bool ownerDisabled = false;
};

} // namespace

class CMainWindowTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void cutAndInsertKeepTwoHundredRows();
  void readAllAndWriteAllThroughTheWindow();
  void cancelledReadAllLeavesTheListAsItWas();
  void temporaryButtonsAndDoubleClick();
  void smfExportAndImportRoundTrip();
};

void CMainWindowTest::cutAndInsertKeepTwoHundredRows() {
  CTestUi ui;
  CStartedApp app;
  NameMain(app.App());
  CImageView* view = app->GetMainView();
  CPatchListCtrl* list = view->GetList();
  QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();

  list->SelectRows(0, 2);
  view->OnCommand(ID_EDIT_CUT);
  QCOMPARE(patches.size(), size_t(200));
  QCOMPARE(list->GetItemCount(), 200);
  QCOMPARE(Name(patches, 0), QStringLiteral("M3"));
  QCOMPARE(Name(patches, 196), QStringLiteral("M199"));
  for (int i = 197; i < 200; ++i)
    QCOMPARE(Name(patches, i), kDefaultName);
  QCOMPARE(list->GetSelectedCount(), 0);

  QZML::CAppState::Instance().GetClipboard().m_patches = NamedPatches(5, "C");
  list->SelectRows(197, 197);
  view->OnCommand(ID_EDIT_INSERT);
  QCOMPARE(patches.size(), size_t(200));
  QCOMPARE(Name(patches, 196), QStringLiteral("M199"));
  QCOMPARE(Name(patches, 197), QStringLiteral("C0"));
  QCOMPARE(Name(patches, 199), QStringLiteral("C2"));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({197, 198, 199}));

  // Delete refills, Undo swaps back; nothing marks the Main window.
  list->SelectRows(10, 10);
  view->OnCommand(ID_EDIT_DELETE);
  QCOMPARE(patches.size(), size_t(200));
  QCOMPARE(Name(patches, 199), kDefaultName);
  view->OnCommand(ID_EDIT_UNDO);
  QCOMPARE(Name(patches, 199), QStringLiteral("C2"));
  QVERIFY(!app->GetMainDocument()->IsModified());
  QCOMPARE(view->GetParentFrame()->windowTitle(), QStringLiteral("QZ-MAX : Main"));
  view->OnCommand(ID_EDIT_SELECT_ALL);
  QCOMPARE(list->GetSelectedCount(), 200);
}

void CMainWindowTest::readAllAndWriteAllThroughTheWindow() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  // A QZ-5 has the fewer patches; every one of them travels, block by block.
  QZP::CQtSettings().SetInt(QStringLiteral("Option"), QStringLiteral("TargetModel"),
                            QZML::ModelNumber(QZML::MODEL_QZ5));
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  CSimPort* simulator = app->GetMidi()->Simulator();
  QVERIFY(LoadUnit(app.App(), NamedPatches(140, "U")));

  CMainFrame* frame = app->GetMainFrame();
  CImageView* view = app->GetMainView();
  CPatchListCtrl* list = view->GetList();
  QCOMPARE(list->GetItemCount(), 140);
  // The "Selected" commands follow the selection.
  QVERIFY(!view->HasSelection());
  QVERIFY(RunEventLoopUntil([&]() { return !frame->GetCommandAction(ID_MIDI_READ_SELECTED)->isEnabled(); }, 2000));
  QVERIFY(!view->GetButton(IDC_READ_SELECTED)->isEnabled());
  QVERIFY(!view->GetButton(IDC_WRITE_SELECTED)->isEnabled());
  QVERIFY(frame->GetCommandAction(ID_MIDI_READ_ALL)->isEnabled());
  {
    CProgressWatch watch(app.App());
    view->GetButton(IDC_READ_ALL)->click();
    QVERIFY(watch.shown);
    QVERIFY(watch.ownerDisabled);
  }
  QCOMPARE(app->GetProgressBar()->GetDepth(), 0);
  QVERIFY(frame->isEnabled());
  QCOMPARE(answers.m_kinds, QList<int>({CONFIRM_READ_USER}));
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 0), QStringLiteral("U0"));
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 139), QStringLiteral("U139"));
  QCOMPARE(Cell(list, 57), QStringLiteral("U57"));
  QVERIFY(ui.m_texts.isEmpty());

  // Read Selected: only the selected rows, the selection kept.
  simulator->Stop();
  QZML::CPatch changed;
  changed.SetName("Fresh");
  simulator->Unit().SetUserPatch(5, changed);
  simulator->Unit().SetUserPatch(6, changed);
  QVERIFY(simulator->Start());
  list->SelectRows(5, 5);
  QVERIFY(RunEventLoopUntil([&]() { return frame->GetCommandAction(ID_MIDI_READ_SELECTED)->isEnabled(); }, 2000));
  QVERIFY(view->GetButton(IDC_READ_SELECTED)->isEnabled());
  QVERIFY(view->GetButton(IDC_WRITE_SELECTED)->isEnabled());
  frame->RouteCommand(ID_MIDI_READ_SELECTED);
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 5), QStringLiteral("Fresh"));
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 6), QStringLiteral("U6"));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({5}));
  view->OnCommand(ID_EDIT_UNDO); // the read can be undone
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 5), QStringLiteral("U5"));

  NameMain(app.App(), "W");
  {
    CProgressWatch watch(app.App());
    view->GetButton(IDC_WRITE_ALL)->click();
    QVERIFY(watch.shown);
  }
  const QZML::CPatchArray written = UnitPatches(app.App());
  QCOMPARE(written.size(), size_t(140));
  QCOMPARE(Name(written, 0), QStringLiteral("W0"));
  QCOMPARE(Name(written, 139), QStringLiteral("W139"));
  QCOMPARE(answers.m_kinds, QList<int>({CONFIRM_READ_USER, CONFIRM_READ_USER, CONFIRM_WRITE_USER}));
  QVERIFY(ui.m_texts.isEmpty());
  QVERIFY(!app->GetMainDocument()->IsModified());
}

void CMainWindowTest::cancelledReadAllLeavesTheListAsItWas() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  QVERIFY(LoadUnit(app.App(), NamedPatches(200, "U")));
  NameMain(app.App());
  CImageView* view = app->GetMainView();
  view->GetList()->SelectRows(3, 4);
  {
    CProgressWatch watch(app.App(), true);
    app->GetMainFrame()->RouteCommand(ID_MIDI_READ_ALL);
    QVERIFY(watch.shown);
  }
  const QStringList names = Names(app->GetMainDocument()->GetPatches());
  QCOMPARE(names, Names(NamedPatches(200, "M")));
  QCOMPARE(Cell(view->GetList(), 0), QStringLiteral("M0"));
  QCOMPARE(view->GetList()->GetSelectedRows(), std::vector<int>({3, 4}));

  // A confirmation answered with Cancel reads nothing.
  ui.OnModal(Reject);
  app->GetMainFrame()->RouteCommand(ID_MIDI_READ_ALL);
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), names);
  QVERIFY(ui.m_texts.isEmpty());
}

void CMainWindowTest::temporaryButtonsAndDoubleClick() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  CSimPort* simulator = app->GetMidi()->Simulator();
  NameMain(app.App());
  CImageView* view = app->GetMainView();
  CPatchListCtrl* list = view->GetList();
  view->GetParentFrame()->resize(600, 400);
  QVERIFY(RunEventLoopUntil([&]() { return view->GetRowButtonCount() > 3; }, 2000));

  // After scrolling, button 2 stands for the patch now in its row.
  list->SetTopIndex(10);
  QVERIFY(RunEventLoopUntil([&]() { return view->GetPageTopRow() == 10; }, 2000));
  const int top = view->GetPageTopRow();
  view->GetRowWriteButton(2)->click();
  QCOMPARE(UnitTemporaryName(app.App()), QStringLiteral("M%1").arg(top + 2));
  simulator->Stop();
  QZML::CPatch temporary;
  temporary.SetName("From Unit");
  simulator->Unit().SetTemporaryPatch(temporary);
  QVERIFY(simulator->Start());

  view->GetRowReadButton(1)->click();
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), top + 1), QStringLiteral("From Unit"));
  QCOMPARE(Cell(list, top + 1), QStringLiteral("From Unit"));
  QVERIFY(!app->GetMainDocument()->IsModified());
  QCOMPARE(answers.m_kinds, QList<int>({CONFIRM_WRITE_TEMP_BUTTON, CONFIRM_READ_TEMP}));

  // Double click on a library row sends it; a read into a library marks it modified.
  CFileDoc* library = app->NewLibraryWith(NamedPatches(3, "L"));
  library->SetModifiedFlag(false);
  CFileView* libraryView = ViewOf(library);
  emit libraryView->GetList()->patchDoubleClicked(2);
  QCOMPARE(UnitTemporaryName(app.App()), QStringLiteral("L2"));
  QCOMPARE(answers.m_kinds.last(), int(CONFIRM_WRITE_TEMP_CLICK));
  libraryView->GetParentFrame()->resize(600, 400);
  QVERIFY(RunEventLoopUntil([&]() { return libraryView->GetRowButtonCount() == 3; }, 2000));
  libraryView->OnRowRead(0);
  QCOMPARE(Name(library->GetPatches(), 0), QStringLiteral("L2"));
  QVERIFY(library->IsModified());
  QVERIFY(ui.m_texts.isEmpty());
}

void CMainWindowTest::smfExportAndImportRoundTrip() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app;
  QTemporaryDir dir;
  NameMain(app.App(), "S");
  CImageView* view = app->GetMainView();
  const QString all = dir.filePath(QStringLiteral("all.mid"));
  CMainFrame* frame = app->GetMainFrame();
  QVERIFY(!view->HasSelection());
  QVERIFY(RunEventLoopUntil([&]() { return !frame->GetCommandAction(ID_FILE_EXPORT_SMF_SELECTED)->isEnabled(); }, 2000));
  QVERIFY(frame->GetCommandAction(ID_FILE_EXPORT_SMF_ALL)->isEnabled());
  answers.File(all);
  app->GetMainFrame()->RouteCommand(ID_FILE_EXPORT_SMF_ALL);
  QVERIFY(QFile(all).size() > 200 * 880);

  NameMain(app.App(), "X");
  answers.File(all);
  view->OnCommand(ID_FILE_IMPORT_SMF);
  QCOMPARE(Names(app->GetMainDocument()->GetPatches()), Names(NamedPatches(200, "S")));
  QCOMPARE(Cell(view->GetList(), 150), QStringLiteral("S150"));
  QCOMPARE(answers.m_kinds, QList<int>({CONFIRM_IMPORT_SMF}));
  view->OnCommand(ID_EDIT_UNDO); // the import can be undone
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 150), QStringLiteral("X150"));

  // Selected rows only: the file holds them at their own places.
  const QString some = dir.filePath(QStringLiteral("some.mid"));
  view->GetList()->SelectRows(7, 8);
  QVERIFY(RunEventLoopUntil([&]() { return frame->GetCommandAction(ID_FILE_EXPORT_SMF_SELECTED)->isEnabled(); }, 2000));
  answers.File(some);
  view->OnCommand(ID_FILE_EXPORT_SMF_SELECTED);
  NameMain(app.App(), "Y");
  answers.File(some);
  view->OnCommand(ID_FILE_IMPORT_SMF);
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 6), QStringLiteral("Y6"));
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 7), QStringLiteral("X7"));
  QCOMPARE(Name(app->GetMainDocument()->GetPatches(), 8), QStringLiteral("X8"));

  // Failures: a file that is no SMF, and a folder that does not exist; the old export stays.
  answers.File(QStringLiteral(QZ_CORPUS_DIR "/zkl/valid/three-patches.zkl"));
  view->OnCommand(ID_FILE_IMPORT_SMF);
  QCOMPARE(ui.m_texts.last(), QStringLiteral("This file could not be loaded."));
  const qint64 size = QFile(all).size();
  answers.File(dir.filePath(QStringLiteral("missing/none.mid")));
  view->OnCommand(ID_FILE_EXPORT_SMF_ALL);
  QCOMPARE(ui.m_texts.last(), QStringLiteral("This file could not be saved."));
  QCOMPARE(QFile(all).size(), size);
  // Cancelled dialogs: nothing happens.
  const int texts = ui.m_texts.size();
  answers.File(QString());
  view->OnCommand(ID_FILE_EXPORT_SMF_ALL);
  answers.File(QString());
  view->OnCommand(ID_FILE_IMPORT_SMF);
  QCOMPARE(ui.m_texts.size(), texts);
}

QZ_APP_TEST_MAIN(CMainWindowTest)
#include "mainwindow_test.moc"
