// A user's work is not lost on the way out: quitting with unwritten changes in the Main window asks, a
// transfer is never torn down by closing the frame; and the name editor holds only what the unit stores.

#include "apptestsupport.h"
#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/filedoc.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/midiwarningdlg.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "platform/qtsettings.h"
#include "model/appstate.h"
#include "sim/port/simport.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QMdiArea>
#include <QTimer>
#include <QtTest>

namespace {

const QString kQuitQuestion =
    QStringLiteral("The Main window holds changes that were not written to the unit. Quit anyway?");

QLineEdit* CurrentEditor(CPatchListCtrl* list) {
  GP::IPopup* popup = list->GetCurrentPopup();
  return popup ? qobject_cast<QLineEdit*>(popup->GetWnd()) : nullptr;
}

} // namespace

class CKeepingWorkTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void exitAsksWhileTheMainWindowHoldsUnwrittenChanges();
  void modelSwitchResetsAndMemosAreNoUnwrittenChange();
  void closingTheFrameDuringATransferIsRefused();
  void nameEditorHoldsWhatTheUnitCanStore();
  void restoreConfirmationsBringsTheReadAllConfirmationBack();
};

void CKeepingWorkTest::exitAsksWhileTheMainWindowHoldsUnwrittenChanges() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  // The QZ-5 has the fewer patches to write.
  QZP::CQtSettings().SetInt(QStringLiteral("Option"), QStringLiteral("TargetModel"),
                            QZML::ModelNumber(QZML::MODEL_QZ5));
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  CMainFrame* frame = app->GetMainFrame();
  CImageDoc* main = app->GetMainDocument();
  CImageView* view = app->GetMainView();
  QVERIFY(!main->HoldsUnwrittenChanges());

  // Two rows edited; Exit asks, and No keeps the program running.
  main->GetPatches().Get(0)->SetName("Edited 0");
  main->GetPatches().Get(5)->SetName("Edited 5");
  QVERIFY(main->HoldsUnwrittenChanges());
  ui.Answer(QMessageBox::No);
  QVERIFY(frame->RouteCommand(ID_APP_EXIT));
  QCOMPARE(ui.m_texts, QStringList{kQuitQuestion});
  QCOMPARE(ui.m_buttons.value(0), QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No));
  QVERIFY(frame->isVisible());

  // Reading back one of them still leaves the other unwritten.
  view->GetList()->SelectRows(0, 0);
  frame->RouteCommand(ID_MIDI_READ_SELECTED);
  QVERIFY(main->HoldsUnwrittenChanges());
  // Writing the other one brings them together; an Undo of the read does not.
  view->GetList()->SelectRows(5, 5);
  frame->RouteCommand(ID_MIDI_WRITE_SELECTED);
  QVERIFY(!main->HoldsUnwrittenChanges());
  main->GetPatches().Get(7)->SetName("Edited 7");

  // After Write All, Exit quits without a word.
  frame->RouteCommand(ID_MIDI_WRITE_ALL);
  QVERIFY(!main->HoldsUnwrittenChanges());
  ui.m_texts.clear();
  QVERIFY(frame->RouteCommand(ID_APP_EXIT));
  QVERIFY(ui.m_texts.isEmpty());
  QVERIFY(!frame->isVisible());
}

void CKeepingWorkTest::modelSwitchResetsAndMemosAreNoUnwrittenChange() {
  CTestUi ui;
  CStartedApp app;
  CImageDoc* main = app->GetMainDocument();
  main->GetPatches().Get(3)->SetName("Edited");
  QVERIFY(main->HoldsUnwrittenChanges());
  // A model switch starts afresh (the unit is another one); memos never reach a unit.
  ui.Answer(QMessageBox::No);
  app->ChangeTargetModel(QZML::MODEL_QZ5);
  QVERIFY(!main->HoldsUnwrittenChanges());
  main->GetPatches().Get(3)->SetMemo(0, "a note");
  QVERIFY(!main->HoldsUnwrittenChanges());
  // The window manager's close asks as Exit does; Yes quits.
  main->GetPatches().Get(3)->SetName("Edited again");
  ui.m_texts.clear();
  ui.Answer(QMessageBox::Yes);
  QVERIFY(app->GetMainFrame()->close());
  QCOMPARE(ui.m_texts, QStringList{kQuitQuestion});
}

void CKeepingWorkTest::closingTheFrameDuringATransferIsRefused() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  QVERIFY(LoadUnit(app.App(), NamedPatches(140, "U")));
  CMainFrame* frame = app->GetMainFrame();

  // While the progress dialog is up, the frame is asked to close, as the window manager would.
  int tries = 0;
  bool closed = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&]() {
    if (tries == 0 && app->GetProgressBar()->GetDepth() > 0) {
      ++tries;
      closed = frame->close();
    }
  });
  watch.start(0);
  app->GetMainView()->GetList()->SelectRows(0, 29);
  frame->RouteCommand(ID_MIDI_READ_SELECTED);
  watch.stop();
  QCOMPARE(tries, 1);
  QVERIFY(!closed);
  QVERIFY(frame->isVisible());
  // The transfer ran to its end.
  const QZML::CPatchArray& patches = app->GetMainDocument()->GetPatches();
  QCOMPARE(Name(patches, 0), QStringLiteral("U0"));
  QCOMPARE(Name(patches, 29), QStringLiteral("U29"));
  QVERIFY(ui.m_texts.isEmpty());
}

void CKeepingWorkTest::nameEditorHoldsWhatTheUnitCanStore() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* library = app->NewLibraryWith(NamedPatches(3, "Lib"));
  CPatchListCtrl* list = ViewOf(library)->GetList();
  const int nameColumn = list->FindColumn(CParameterListCtrl::COLUMN_NAME);
  list->setFocus();
  QCOMPARE(list->GetCurrentColumn(), -1);

  // No column is current: Enter edits the current row's name, without the padding.
  list->SelectRows(1, 1);
  list->SetFocusRow(1);
  QTest::keyClick(list, Qt::Key_Return);
  QVERIFY(list->IsEditing());
  QCOMPARE(list->GetEditColumn(), nameColumn);
  QLineEdit* edit = CurrentEditor(list);
  QVERIFY(edit);
  QCOMPARE(edit->text(), QStringLiteral("Lib1"));

  // At most 16 characters, and none the unit cannot show: what the box shows is what is stored.
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("A Name Longer Than Sixteen"));
  QCOMPARE(edit->text(), QStringLiteral("A Name Longer Th"));
  edit->clear();
  QTest::keyClicks(edit, QStringLiteral("Caf"));
  edit->insert(QString::fromUtf8("\xC3\xA9 Cr"));
  edit->insert(QString::fromUtf8("\xC3\xA8me \xE2\x82\xAC{1}"));
  QCOMPARE(edit->text(), QStringLiteral("Caf Crme {1}"));
  QTest::keyClick(edit, Qt::Key_Return);
  QVERIFY(!list->IsEditing());
  QCOMPARE(QString::fromStdString(library->GetPatches().Get(1)->GetName()), QStringLiteral("Caf Crme {1}    "));

  // F2 edits the current column of the current row; Escape keeps the name.
  list->SelectRows(2, 2);
  list->SetFocusRow(2);
  QTest::keyClick(list, Qt::Key_F2);
  QVERIFY(list->IsEditing());
  QCOMPARE(CurrentEditor(list)->text(), QStringLiteral("Lib2"));
  QTest::keyClick(CurrentEditor(list), Qt::Key_Escape);
  QVERIFY(!list->IsEditing());
  QCOMPARE(Name(library->GetPatches(), 2), QStringLiteral("Lib2"));

  // A memo has no such limits.
  list->SetCurrentColumn(list->FindColumn(CParameterListCtrl::COLUMN_MEMO1));
  QTest::keyClick(list, Qt::Key_F2);
  QVERIFY(list->IsEditing());
  CurrentEditor(list)->insert(QString::fromUtf8("Solo at 2:40, caf\xC3\xA9 version"));
  QTest::keyClick(CurrentEditor(list), Qt::Key_Return);
  QCOMPARE(QString::fromStdString(library->GetPatches().Get(2)->GetMemo(0)),
           QString::fromUtf8("Solo at 2:40, caf\xC3\xA9 version"));
}

void CKeepingWorkTest::restoreConfirmationsBringsTheReadAllConfirmationBack() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app(TestOptions(true));
  CFastTransfers fast;
  CMainFrame* frame = app->GetMainFrame();
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    app->SetFlag(kind, 1);
  app->GetMainView()->GetList()->SelectRows(0, 0);
  frame->RouteCommand(ID_MIDI_READ_SELECTED);
  QCOMPARE(answers.m_confirmations, 0);

  // The Setup menu's command, always there.
  QAction* restore = frame->GetCommandAction(ID_SETUP_RESTORE_CONFIRMATIONS);
  QVERIFY(restore && restore->isEnabled());
  QMenu* setup = nullptr;
  for (QAction* menu : frame->menuBar()->actions())
    if (menu->isVisible() && menu->menu() && menu->text() == QStringLiteral("&Setup"))
      setup = menu->menu();
  QVERIFY(setup && setup->actions().contains(restore));
  QCOMPARE(restore->text(), QStringLiteral("&Restore Confirmations"));
  restore->trigger();
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    QCOMPARE(app->GetFlag(kind), 0);
  // Stored at once, not only at the end of the run.
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("Option"), QStringLiteral("ReadUser"), -1), 0);
  QCOMPARE(QZP::CQtSettings().Int(QStringLiteral("Option"), QStringLiteral("ImportSMF"), -1), 0);

  // Read All asks again (and Cancel there reads nothing).
  QList<int> asked;
  ui.OnModal([&asked](QDialog& dialog) {
    if (auto* warning = qobject_cast<CMidiWarningDlg*>(&dialog))
      asked.append(warning->GetKind());
    return Reject(dialog);
  });
  frame->RouteCommand(ID_MIDI_READ_ALL);
  QCOMPARE(asked, QList<int>{CONFIRM_READ_USER});
}

QZ_APP_TEST_MAIN(CKeepingWorkTest)
#include "keepingwork_test.moc"
