// Library windows driven as a user drives them: the edit commands with their enabling rules, the
// clipboard between windows, Duplicate, the modified mark, the row buttons, and the file commands with
// their dialogs and error messages.

#include "windowtestsupport.h"

#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/profiledfiledialog.h"
#include "app/resource.h"
#include "app/textoutbox.h"
#include "model/appstate.h"
#include "model/filedocument.h"
#include "platform/qtsettings.h"

#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QPushButton>
#include <QtTest>

#include <fstream>

class CLibWindowTest : public CAppTestBase {
  Q_OBJECT

private slots:
  void endOfLineTakesPartInNothing();
  void selectAllDeleteAndUndoTwice();
  void editCommandsSelectWhatTheyChangedAndUndo();
  void clipboardCrossesWindowsAndDuplicateIsModified();
  void commandsFollowTheActiveWindow();
  void rowButtonsFollowThePage();
  void saveOpenAndTheirErrors();
  void convertedLoadIsMarkedModified();
  void fileDialogsRememberPerPurpose();
};

void CLibWindowTest::endOfLineTakesPartInNothing() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 3);
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  QCOMPARE(list->GetItemCount(), 4);

  list->SelectRows(3, 3); // End of Line alone
  for (int id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_DELETE, ID_EDIT_REPLACE, ID_EDIT_EXCHANGE})
    QVERIFY2(!view->IsCommandEnabled(id), qPrintable(QString::number(id)));
  QVERIFY(!view->IsCommandEnabled(ID_EDIT_INSERT)); // the clipboard is empty
  // A command invoked anyway (an accelerator) does nothing.
  view->OnCommand(ID_EDIT_DELETE);
  QCOMPARE(doc->GetPatches().size(), size_t(3));
  QVERIFY(!doc->IsModified());

  QZML::CAppState::Instance().GetClipboard().m_patches = NamedPatches(2, "C");
  QVERIFY(view->IsCommandEnabled(ID_EDIT_INSERT));
  view->OnCommand(ID_EDIT_INSERT); // appends
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "C0", "C1"}));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({3, 4}));
  QVERIFY(doc->IsModified());
  QVERIFY(Caption(doc).endsWith(QStringLiteral(" *")));

  // End of Line together with a patch row: Exchange is off, Cut works on the patch only.
  list->SelectRows(4, 5);
  QVERIFY(!view->IsCommandEnabled(ID_EDIT_EXCHANGE));
  QVERIFY(view->IsCommandEnabled(ID_EDIT_CUT));
  view->OnCommand(ID_EDIT_CUT);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "C0"}));
  QCOMPARE(Names(QZML::CAppState::Instance().GetClipboard().m_patches), QStringList({"C1"}));
}

void CLibWindowTest::selectAllDeleteAndUndoTwice() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 4);
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  QVERIFY(!view->IsCommandEnabled(ID_EDIT_UNDO));
  view->OnCommand(ID_EDIT_SELECT_ALL);
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({0, 1, 2, 3})); // not End of Line
  view->OnCommand(ID_EDIT_DELETE);
  QCOMPARE(doc->GetPatches().size(), size_t(0));
  QCOMPARE(list->GetItemCount(), 1);
  QCOMPARE(list->GetSelectedCount(), 0);
  QVERIFY(view->IsCommandEnabled(ID_EDIT_UNDO));
  view->OnCommand(ID_EDIT_UNDO);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "P3"}));
  QCOMPARE(list->GetItemCount(), 5);
  view->OnCommand(ID_EDIT_UNDO); // undoes the undo
  QCOMPARE(doc->GetPatches().size(), size_t(0));
  QVERIFY(view->IsCommandEnabled(ID_EDIT_UNDO)); // for the rest of the window's life
  QVERIFY(doc->IsModified());
}

void CLibWindowTest::editCommandsSelectWhatTheyChangedAndUndo() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 7);
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  list->SelectRows(1, 2);
  view->OnCommand(ID_EDIT_COPY);
  QVERIFY(!doc->IsModified()); // Copy changes nothing
  QVERIFY(!view->IsCommandEnabled(ID_EDIT_UNDO));
  list->SelectRows(4, 4);
  view->OnCommand(ID_EDIT_INSERT);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P1", "P2", "P3", "P1", "P2", "P4", "P5", "P6"}));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({4, 5}));

  // Replace repeats the clipboard over the selected rows, which stay selected.
  QZML::CAppState::Instance().GetClipboard().m_patches = NamedPatches(3, "C");
  list->SelectRows(1, 5);
  QVERIFY(view->IsCommandEnabled(ID_EDIT_REPLACE));
  view->OnCommand(ID_EDIT_REPLACE);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "C0", "C1", "C2", "C0", "C1", "P4", "P5", "P6"}));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({1, 2, 3, 4, 5}));

  // Exchange takes exactly two rows and swaps only them.
  QVERIFY(!view->IsCommandEnabled(ID_EDIT_EXCHANGE));
  list->ClearRowSelection();
  list->SetRowSelected(1, true);
  list->SetRowSelected(6, true);
  QVERIFY(view->IsCommandEnabled(ID_EDIT_EXCHANGE));
  view->OnCommand(ID_EDIT_EXCHANGE);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "P4", "C1", "C2", "C0", "C1", "C0", "P5", "P6"}));
  QCOMPARE(list->GetSelectedRows(), std::vector<int>({1, 6}));
  view->OnCommand(ID_EDIT_UNDO);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P0", "C0", "C1", "C2", "C0", "C1", "P4", "P5", "P6"}));

  // Cut fills the clipboard and leaves nothing selected.
  list->SelectRows(0, 1);
  view->OnCommand(ID_EDIT_CUT);
  QCOMPARE(Names(doc->GetPatches()), QStringList({"C1", "C2", "C0", "C1", "P4", "P5", "P6"}));
  QCOMPARE(list->GetSelectedCount(), 0);
  QCOMPARE(Names(QZML::CAppState::Instance().GetClipboard().m_patches), QStringList({"P0", "C0"}));
  QVERIFY(doc->IsModified());
}

void CLibWindowTest::clipboardCrossesWindowsAndDuplicateIsModified() {
  CTestUi ui;
  CStartedApp app;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("saved.qzl"));
  QVERIFY(SaveLibraryFile(path, NamedPatches(3, "S")));
  auto* saved = static_cast<CFileDoc*>(app->OpenLibrary(path));
  QVERIFY(saved);
  QVERIFY(!saved->IsModified());
  CFileDoc* other = Library(app.App(), 2);

  ViewOf(saved)->GetList()->SelectRows(0, 1);
  ViewOf(saved)->OnCommand(ID_EDIT_COPY);
  ViewOf(other)->GetList()->SelectRows(0, 0);
  ViewOf(other)->OnCommand(ID_EDIT_INSERT);
  QCOMPARE(Names(other->GetPatches()), QStringList({"S0", "S1", "P0", "P1"}));
  QVERIFY(other->IsModified());
  QVERIFY(!saved->IsModified());

  // Duplicate of a saved, unchanged library: a new untitled window marked modified.
  const size_t before = app->GetLibraries().size();
  ViewOf(saved)->OnCommand(ID_FILE_DUPLICATE);
  const auto libraries = app->GetLibraries();
  QCOMPARE(libraries.size(), before + 1);
  auto* copy = static_cast<CFileDoc*>(libraries.back());
  QVERIFY(copy->IsModified());
  QVERIFY(copy->GetPathName().isEmpty());
  QVERIFY(Caption(copy).startsWith(QStringLiteral("QZ-MAX : Untitled")));
  QVERIFY(Caption(copy).endsWith(QStringLiteral(" *")));
  QCOMPARE(Names(copy->GetPatches()), QStringList({"S0", "S1", "S2"}));
  QVERIFY(!saved->IsModified());
  QCOMPARE(Caption(saved), QStringLiteral("QZ-MAX : saved.qzl "));
}

void CLibWindowTest::commandsFollowTheActiveWindow() {
  CTestUi ui;
  CStartedApp app;
  CMainFrame* frame = app->GetMainFrame();
  CFileDoc* doc = Library(app.App(), 3);
  QVERIFY(RunEventLoopUntil([&]() { return frame->GetActiveChildFrame() == ViewOf(doc)->GetParentFrame(); }, 2000));
  frame->UpdateCommandStates();
  // A library window has no access to the unit or to SMF.
  for (int id : {ID_MIDI_READ_ALL, ID_MIDI_READ_SELECTED, ID_MIDI_WRITE_ALL, ID_MIDI_WRITE_SELECTED,
                 ID_FILE_IMPORT_SMF, ID_FILE_EXPORT_SMF_ALL, ID_FILE_EXPORT_SMF_SELECTED})
    QVERIFY2(!frame->GetCommandAction(id)->isEnabled(), qPrintable(QString::number(id)));
  for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_EDIT_SELECT_ALL, ID_FILE_DUPLICATE})
    QVERIFY2(frame->GetCommandAction(id)->isEnabled(), qPrintable(QString::number(id)));
  QVERIFY(!frame->GetCommandAction(ID_EDIT_CUT)->isEnabled());
  ViewOf(doc)->GetList()->SelectRows(0, 0);
  frame->UpdateCommandStates();
  QVERIFY(frame->GetCommandAction(ID_EDIT_CUT)->isEnabled());
  // Through the menu's route.
  QVERIFY(frame->RouteCommand(ID_EDIT_DELETE));
  QCOMPARE(Names(doc->GetPatches()), QStringList({"P1", "P2"}));

  // The Main window: transfers on, Close/Save/Save As off, and it does not close.
  CChildFrame* mainFrame = app->GetMainView()->GetParentFrame();
  frame->GetMdiArea()->setActiveSubWindow(mainFrame);
  QVERIFY(RunEventLoopUntil([&]() { return frame->GetActiveChildFrame() == mainFrame; }, 2000));
  frame->UpdateCommandStates();
  for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE, ID_MIDI_READ_SELECTED, ID_FILE_EXPORT_SMF_SELECTED})
    QVERIFY2(!frame->GetCommandAction(id)->isEnabled(), qPrintable(QString::number(id)));
  for (int id : {ID_MIDI_READ_ALL, ID_MIDI_WRITE_ALL, ID_FILE_IMPORT_SMF, ID_FILE_EXPORT_SMF_ALL})
    QVERIFY2(frame->GetCommandAction(id)->isEnabled(), qPrintable(QString::number(id)));
  frame->RouteCommand(ID_FILE_CLOSE);
  mainFrame->close();
  RunEventLoop(50);
  QVERIFY(app->GetMainDocument());
  QVERIFY(mainFrame->isVisible());
}

void CLibWindowTest::rowButtonsFollowThePage() {
  CTestUi ui;
  CStartedApp app;
  CFileDoc* doc = Library(app.App(), 200);
  CFileView* view = ViewOf(doc);
  CPatchListCtrl* list = view->GetList();
  view->GetParentFrame()->resize(600, 400);
  QVERIFY(RunEventLoopUntil([&]() { return view->GetRowButtonCount() == list->GetCountPerPage(); }, 2000));
  const int page = list->GetCountPerPage();
  QCOMPARE(view->GetRowButtonCount(), page);
  QPushButton* write0 = view->GetRowWriteButton(0);
  QPushButton* read0 = view->GetRowReadButton(0);
  QCOMPARE(write0->objectName(), QStringLiteral("rowWrite4130"));
  QCOMPARE(read0->objectName(), QStringLiteral("rowRead4386"));
  // Left of the list, the write button nearer to it, each as high as its row less a pixel each side.
  const int listLeft = list->mapTo(view, QPoint(0, 0)).x();
  QCOMPARE(write0->geometry().left(), listLeft - 32);
  QCOMPARE(write0->width(), 20);
  QCOMPARE(read0->geometry().left(), listLeft - 59);
  const QRect row = list->GetCellRect(0, 0);
  QCOMPARE(write0->height(), row.height() - 2);
  QCOMPARE(write0->geometry().top(), list->viewport()->mapTo(view, row.topLeft()).y() + 1);

  const QRect before = view->GetRowWriteButton(1)->geometry();
  // Scrolling moves no button; at the end each still sits beside its row, and End of Line gets none.
  list->SetTopIndex(10);
  QVERIFY(RunEventLoopUntil([&]() { return view->GetPageTopRow() == 10; }, 2000));
  QCOMPARE(view->GetPageTopRow(), 10);
  QCOMPARE(view->GetRowWriteButton(1)->geometry(), before);
  list->SetTopIndex(200);
  QVERIFY(RunEventLoopUntil([&]() { return view->GetPageTopRow() > 150; }, 2000));
  const int top = view->GetPageTopRow();
  QVERIFY(top > 150);
  QCOMPARE(view->GetRowButtonCount(), std::min(list->GetCountPerPage(), 200 - top));
  const QRect last = list->GetCellRect(199, 0);
  QCOMPARE(view->GetRowWriteButton(199 - top)->geometry().top(), list->viewport()->mapTo(view, last.topLeft()).y() + 1);
  list->SetTopIndex(10);
  QVERIFY(RunEventLoopUntil([&]() { return view->GetRowButtonCount() == page; }, 2000));
  QCOMPARE(view->GetRowButtonCount(), page);
  QVERIFY(view->GetRowWriteButton(page - 1));
  QVERIFY(!view->GetRowWriteButton(page));

  // A small library: one pair per patch, none for End of Line.
  CFileDoc* small = Library(app.App(), 2);
  ViewOf(small)->GetParentFrame()->resize(600, 400);
  QVERIFY(RunEventLoopUntil([&]() { return ViewOf(small)->GetRowButtonCount() == 2; }, 2000));
  ViewOf(small)->GetList()->SelectAll();
  ViewOf(small)->OnCommand(ID_EDIT_DELETE);
  QCOMPARE(ViewOf(small)->GetRowButtonCount(), 0);
  ViewOf(small)->OnCommand(ID_EDIT_UNDO);
  QCOMPARE(ViewOf(small)->GetRowButtonCount(), 2);
}

void CLibWindowTest::saveOpenAndTheirErrors() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app;
  QTemporaryDir dir;
  CFileDoc* doc = Library(app.App(), 3);
  doc->SetModifiedFlag(true);
  // An untitled library saves through Save As.
  const QString path = dir.filePath(QStringLiteral("first.qzl"));
  answers.File(path);
  ViewOf(doc)->OnCommand(ID_FILE_SAVE);
  QVERIFY(QFile::exists(path));
  QVERIFY(!doc->IsModified());
  QCOMPARE(doc->GetPathName(), path);
  QCOMPARE(Caption(doc), QStringLiteral("QZ-MAX : first.qzl "));
  QCOMPARE(app->GetRecentFiles().front(), path);

  // Opening it again brings the same window to the front.
  QCOMPARE(app->OpenLibrary(path), doc);

  // A failed save keeps the file, the path and the modified mark.
  const QByteArray kept = [&]() { QFile f(path); f.open(QIODevice::ReadOnly); return f.readAll(); }();
  doc->GetPatches().Get(0)->SetName("Changed");
  doc->SetModifiedFlag(true);
  QVERIFY(!doc->OnSaveDocument(dir.filePath(QStringLiteral("missing/x.qzl"))));
  QCOMPARE(ui.m_texts.last(), QStringLiteral("This file could not be saved."));
  QVERIFY(doc->IsModified());
  QCOMPARE(doc->GetPathName(), path);
  QFile check(path);
  QVERIFY(check.open(QIODevice::ReadOnly));
  QCOMPARE(check.readAll(), kept);

  // Close asks about the changes; No closes without saving.
  ui.Answer(QMessageBox::No);
  const int before = ui.m_texts.size();
  ViewOf(doc)->OnCommand(ID_FILE_CLOSE);
  QCOMPARE(ui.m_texts.value(before), QStringLiteral("Save changes to first.qzl?"));
  QVERIFY(RunEventLoopUntil([&]() { return app->GetLibraries().empty(); }, 2000));

  // Open through the dialog; a file of another type is refused with its own message.
  answers.File(path);
  auto* opened = static_cast<CFileDoc*>(app->PromptOpenLibrary());
  QVERIFY(opened);
  QCOMPARE(Names(opened->GetPatches()), QStringList({"P0", "P1", "P2"}));
  const QString text = dir.filePath(QStringLiteral("notes.txt"));
  {
    std::ofstream out(text.toStdString());
    out << "not a library, long enough to hold a header's worth of bytes or so..................\n";
  }
  answers.File(text);
  QVERIFY(!app->PromptOpenLibrary());
  QCOMPARE(ui.m_texts.last(), QStringLiteral("Cannot read files of this type."));
  QCOMPARE(app->GetLibraries().size(), size_t(1));
  // A cancelled dialog opens nothing.
  answers.File(QString());
  QVERIFY(!app->PromptOpenLibrary());
}

void CLibWindowTest::convertedLoadIsMarkedModified() {
  CTestUi ui;
  CStartedApp app;
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("five.qzl"));
  {
    QZML::CTargetModelScope qz5(QZML::MODEL_QZ5);
    QVERIFY(SaveLibraryFile(path, NamedPatches(2, "F")));
  }
  ui.Answer(QMessageBox::Yes); // convert to the QZ-MAX
  auto* doc = static_cast<CFileDoc*>(app->OpenLibrary(path));
  QVERIFY(doc);
  QVERIFY(doc->IsModified());
  QCOMPARE(Caption(doc), QStringLiteral("QZ-MAX : five.qzl *"));
}

void CLibWindowTest::fileDialogsRememberPerPurpose() {
  CTestUi ui;
  CDialogAnswers answers(ui);
  CStartedApp app;
  QTemporaryDir dir;
  QDir(dir.path()).mkpath(QStringLiteral("elsewhere"));
  const QString elsewhere = dir.filePath(QStringLiteral("elsewhere"));
  const QString path = dir.filePath(QStringLiteral("kept.qzl"));

  CFileDoc* doc = Library(app.App(), 1);
  answers.File(path);
  ViewOf(doc)->OnCommand(ID_FILE_SAVE_AS);
  QVERIFY(QFile::exists(path));
  QCOMPARE(QZP::CQtSettings().String(QStringLiteral("QZL"), QString::fromLatin1(CProfiledFileDialog::kFileNameEntry)),
           QStringLiteral("kept.qzl"));

  // Save As on a new library proposes the name last confirmed, not the title.
  CFileDoc* fresh = Library(app.App(), 1);
  answers.File(QString());
  ViewOf(fresh)->OnCommand(ID_FILE_SAVE_AS);
  QCOMPARE(answers.m_names.last(), QStringLiteral("kept.qzl"));
  QCOMPARE(answers.m_folders.last(), dir.path());

  // A library with a file of its own proposes that file, wherever the last dialog was.
  const QString own = QDir(elsewhere).filePath(QStringLiteral("own set.qzl"));
  answers.File(own);
  ViewOf(fresh)->OnCommand(ID_FILE_SAVE_AS);
  QVERIFY(QFile::exists(own));
  answers.File(QString());
  ViewOf(doc)->OnCommand(ID_FILE_SAVE_AS);
  QCOMPARE(answers.m_names.last(), QStringLiteral("kept.qzl"));
  QCOMPARE(answers.m_folders.last(), dir.path());
  answers.File(QString());
  ViewOf(fresh)->OnCommand(ID_FILE_SAVE_AS);
  QCOMPARE(answers.m_names.last(), QStringLiteral("own set.qzl"));
  QCOMPARE(answers.m_folders.last(), elsewhere);

  // A cancelled Open in which the user moved on still remembers the folder.
  answers.m_moveTo = elsewhere;
  answers.File(QString());
  QVERIFY(!app->PromptOpenLibrary());
  QVERIFY(answers.m_titles.last().startsWith(QStringLiteral("Open - ")));
  answers.m_moveTo.clear();
  answers.File(QString());
  app->PromptOpenLibrary();
  QCOMPARE(answers.m_folders.last(), elsewhere);

  // Each purpose keeps its own: the first SMF dialog starts beside the program in "SampleSMF".
  QDir().mkpath(CProfiledFileDialog::SampleSmfFolder());
  answers.File(QString());
  QString chosen;
  QVERIFY(!CProfiledFileDialog::Prompt(CProfiledFileDialog::EXPORT_SMF, chosen));
  QCOMPARE(answers.m_folders.last(), QDir(CProfiledFileDialog::SampleSmfFolder()).absolutePath());
  QVERIFY(answers.m_titles.last().startsWith(QStringLiteral("Save As - ")));
}

QZ_APP_TEST_MAIN(CLibWindowTest)
#include "libwindow_test.moc"
