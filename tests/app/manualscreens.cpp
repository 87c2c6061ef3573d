// Makes the pictures of the user manual from the running program and its built-in simulated unit, under
// a real X server (tools/screenshots runs it under Xvfb):  manualscreens FOLDER
#include "apptestsupport.h"
#include "screenshots.h"
#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/helpwindow.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/midisetupdialog.h"
#include "app/midiwarningdlg.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "app/selecttargetdlg.h"
#include "app/setgriddlg.h"
#include "app/textoutbox.h"
#include "gp/fontdialog.h"
#include "midi/transfer.h"
#include "model/blocktable.h"
#include "model/filedocument.h"
#include "platform/qtsettings.h"
#include "textout/textout.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QMdiArea>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <cstdio>
#include <memory>

namespace {

CScreenshots s_shots(6, 0);

void Settle() { s_shots.Settle(); }
void Save(QWidget* widget, const QString& name) { s_shots.Save(widget, name); }
void SaveDialog(QDialog& dialog, const QString& name) { s_shots.SaveDialog(dialog, name); }

// The frame with a drag under way: the rows that follow the pointer, and the pointer, are drawn over it
// at pos (frame coordinates), as the screen shows them during a drag.
void SaveDrag(QWidget* frame, const QString& name, const QPixmap& rows, const QPoint& pos) {
  Settle();
  const QString path = QDir(s_shots.Folder()).filePath(name + QStringLiteral(".png"));
  const QRect area = frame->frameGeometry();
  QPixmap shot = frame->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  if (shot.isNull())
    shot = frame->grab();
  const QPoint at = frame->mapToGlobal(pos) - area.topLeft();
  QPainter painter(&shot);
  painter.drawPixmap(at - GP::CEditListCtrl::DragHotSpot(), rows);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPolygon arrow({QPoint(0, 0), QPoint(0, 16), QPoint(4, 12), QPoint(7, 19), QPoint(9, 18), QPoint(6, 11),
                        QPoint(11, 11)});
  painter.setPen(Qt::white);
  painter.setBrush(Qt::black);
  painter.drawPolygon(arrow.translated(at));
  painter.end();
  if (!shot.save(path)) {
    std::fprintf(stderr, "manualscreens: %s could not be saved\n", qPrintable(path));
    s_shots.AddFailure();
    return;
  }
  std::printf("%s\n", qPrintable(path));
}

void SaveMessage(QMessageBox::Icon icon, const QString& text, QMessageBox::StandardButtons buttons, QWidget* parent,
                 const QString& name) {
  QMessageBox box(icon, QString::fromLatin1(kAppTitle), text, buttons, parent);
  SaveDialog(box, name);
}

// Names a guitarist might give the first patches of a unit; the others stay "INIT PATCH".
QZML::CPatchArray UnitPatches(int count) {
  static const char* const kNames[] = {"Clean Chorus", "Crunch Rhythm", "Lead Boost",  "Blues Drive",  "Ambient Swell",
                                       "Funk Wah",     "Metal Chug",    "Jazz Warm",   "Slap Delay",   "Acoustic Sim",
                                       "Twin Reverb",  "Fuzz Octave",   "Shimmer Pad", "Country Twang", "Solo Echo",
                                       "Tremolo Surf", "Doubler",       "Phaser Lead", "Hi Gain Lead", "Bass Sim"};
  QZML::CPatchArray patches;
  patches.Resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count && i < int(std::size(kNames)); ++i)
    patches.Get(static_cast<std::size_t>(i))->SetName(kNames[i]);
  return patches;
}

// A library file of a live set, with memos.
QString WriteLiveSet(const QString& folder) {
  static const char* const kRows[][3] = {{"Clean Chorus", "Intro", "neck pickup"}, {"Crunch Rhythm", "Verse", ""},
                                         {"Lead Boost", "Chorus", "solo at 2:40"}, {"Ambient Swell", "Bridge", ""},
                                         {"Funk Wah", "Verse 2", "wah toe down"},   {"Solo Echo", "Solo", ""},
                                         {"Clean Chorus", "Outro", ""}};
  QZML::CFileDocument document;
  QZML::CPatchArray& patches = document.m_current.m_patches;
  patches.Resize(std::size(kRows));
  for (std::size_t i = 0; i < std::size(kRows); ++i) {
    QZML::CPatch* patch = patches.Get(i);
    patch->SetName(kRows[i][0]);
    patch->SetMemo(0, kRows[i][1]);
    patch->SetMemo(1, kRows[i][2]);
  }
  const QString path = QDir(folder).filePath(QStringLiteral("live set.qzl"));
  return document.SaveFile(path.toStdString()) ? path : QString();
}

} // namespace

int main(int argc, char** argv) {
  CGuiApplication qt(argc, argv);
  qt.setQuitOnLastWindowClosed(false);
  if (argc < 2) {
    std::fprintf(stderr, "usage: manualscreens FOLDER\n");
    return 2;
  }
  s_shots.SetFolder(QString::fromLocal8Bit(argv[1]));
  CTestSettings settings;
  // Columns as a user would size them, so End of Line and the memos show whole.
  QZP::CQtSettings().SetString(QStringLiteral("PatchListCtrl"), QStringLiteral("ColumnWidth"),
                         QStringLiteral("86,120,64,104,64,64"));
  QTemporaryDir files;
  CStartedApp app(TestOptions(true));
  if (!app.Started())
    return 1;
  CMainFrame* frame = app->GetMainFrame();
  CImageView* mainView = app->GetMainView();
  QMdiArea* area = frame->GetMdiArea();

  // The first start, as a new user sees it: the frame amid the screen, the Main window as high as it.
  Save(frame, QStringLiteral("first-start"));

  // The simulated unit holds a guitarist's patches; the Main window reads them.
  if (CSimPort* simulator = app->GetMidi()->Simulator()) {
    simulator->Stop();
    simulator->Unit().LoadUserPatches(UnitPatches(200));
    simulator->Start();
  }
  {
    CTestUi answers;
    CDialogAnswers confirm(answers);
    CFastTransfers fast;
    frame->RouteCommand(ID_MIDI_READ_ALL);
  }
  frame->resize(680, 500);
  Settle();
  area->setActiveSubWindow(mainView->GetParentFrame());
  mainView->GetParentFrame()->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
  mainView->GetList()->SelectRows(2, 4);
  Save(frame, QStringLiteral("main-window"));

  // A library window of a live set beside the Main window.
  const QString liveSet = WriteLiveSet(files.path());
  if (liveSet.isEmpty() || !app->OpenAnyFile(liveSet)) {
    std::fprintf(stderr, "manualscreens: the sample library could not be opened\n");
    return 1;
  }
  QMdiSubWindow* library = area->activeSubWindow();
  auto* libraryView = qobject_cast<CListFormView*>(library->widget());
  frame->resize(680, 480);
  Settle();
  mainView->GetParentFrame()->setGeometry(0, 0, 470, 380);
  library->setGeometry(190, 90, 470, 280);
  area->setActiveSubWindow(library);
  libraryView->GetList()->SelectRows(2, 2);
  Save(frame, QStringLiteral("overview"));

  // The library alone, End of Line in view.
  frame->resize(680, 360);
  Settle();
  mainView->GetParentFrame()->showMinimized();
  library->setGeometry(QRect(QPoint(0, 0), area->viewport()->size()));
  area->setActiveSubWindow(library);
  libraryView->GetList()->SelectRows(7, 7);
  Save(frame, QStringLiteral("library-window"));

  // Two rows renamed at once.
  CPatchListCtrl* list = libraryView->GetList();
  list->SelectRows(0, 1);
  list->setFocus();
  list->SetCurrentColumn(1);
  list->BeginEdit(0, 1);
  Settle();
  // The edit box of the first row takes the typing; the other shows the same.
  const QList<QLineEdit*> boxes = list->viewport()->findChildren<QLineEdit*>();
  QLineEdit* first = nullptr;
  for (QLineEdit* box : boxes)
    if (box->isVisible() && (!first || box->y() < first->y()))
      first = box;
  if (first) {
    first->selectAll();
    QTest::keyClicks(first, QStringLiteral("Clean Intro"));
  } else {
    std::fprintf(stderr, "manualscreens: no edit box opened\n");
    s_shots.AddFailure();
  }
  Save(frame, QStringLiteral("editing"));
  list->EndEdit(false);

  // The library filtered: two of its seven patches hold "chorus".
  list->SelectRows(0, 0);
  libraryView->GetFilterBox()->setFocus();
  QTest::keyClicks(libraryView->GetFilterBox(), QStringLiteral("chorus"));
  Save(frame, QStringLiteral("filter"));
  libraryView->GetFilterBox()->clear();
  list->setFocus();

  // The same library under a dark desktop theme: the lists take the theme's text colour.
  {
    const QPalette light = QApplication::palette();
    QApplication::setPalette(DarkPalette());
    list->SelectRows(2, 2);
    Save(frame, QStringLiteral("dark-theme"));
    QApplication::setPalette(light);
  }

  // Compare: the live set's two "Clean Chorus" patches, the outro's a little brighter and wetter.
  {
    QZML::CPatch* outro = libraryView->GetPatchArray()->Get(6);
    std::uint8_t* fx1 = outro->GetBlock(QZML::BLOCK_FX1, 0).data;
    for (int offset : {3, 4, 12})
      fx1[offset] = static_cast<std::uint8_t>((fx1[offset] + 9) & 0x7F);
    std::uint8_t* reverb = outro->GetBlock(QZML::BLOCK_REVERB, 0).data;
    reverb[2] = static_cast<std::uint8_t>((reverb[2] + 20) & 0x7F);
    list->SelectRows(0, 0);
    list->SetRowSelected(6, true);
    SetModalHook([](QDialog& dialog) {
      dialog.resize(dialog.sizeHint());
      SaveDialog(dialog, QStringLiteral("compare"));
      return int(QDialog::Rejected);
    });
    frame->RouteCommand(ID_EDIT_COMPARE);
    SetModalHook(nullptr);
  }
  mainView->GetParentFrame()->showNormal();

  // Three rows of the library dragged onto the Main window: the frame there shows the rows they replace.
  frame->resize(680, 480);
  Settle();
  mainView->GetParentFrame()->setGeometry(0, 0, 420, 380);
  library->setGeometry(250, 60, 410, 300);
  area->setActiveSubWindow(library);
  list->SelectRows(2, 4);
  {
    CPatchListCtrl* mainList = mainView->GetList();
    const std::unique_ptr<QMimeData> data(list->CreateDragData(list->GetSelectedRows()));
    const QRect cell = mainList->GetCellRect(6, 1);
    const QPoint pos(cell.left() + 30, cell.center().y());
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainList->viewport(), &enter);
    QDragMoveEvent move(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(mainList->viewport(), &move);
    SaveDrag(frame, QStringLiteral("drag-and-drop"), list->DragPixmap(list->GetSelectedRows()),
             mainList->viewport()->mapTo(frame, pos));
    QDragLeaveEvent leave;
    QApplication::sendEvent(mainList->viewport(), &leave);
  }

  // The dialogs.
  {
    CConfirmationFlags flags;
    CMidiWarningDlg confirm(CONFIRM_READ_USER, flags, frame);
    SaveDialog(confirm, QStringLiteral("confirm-read"));
    CSelectTargetDlg target(QZML::MODEL_QZMAX, frame);
    SaveDialog(target, QStringLiteral("select-target"));
    CSetGridDlg grid(0, frame);
    SaveDialog(grid, QStringLiteral("set-grid"));
    // As Set Up Font opens it on a fresh start: the program's font, black text.
    GP::CFontDialog font(frame);
    font.SetCurrentFont(QApplication::font());
    font.SetColor(Qt::black);
    font.resize(660, 440);
    SaveDialog(font, QStringLiteral("font"));
  }
  // As Find Unit leaves it.
  SetModalHook([](QDialog& dialog) {
    if (auto* setup = qobject_cast<CMidiSetupDialog*>(&dialog)) {
      setup->show();
      setup->FindUnit();
      SaveDialog(dialog, QStringLiteral("midi-setup"));
    }
    return int(QDialog::Rejected);
  });
  frame->RouteCommand(ID_SETUP_MIDI);
  SetModalHook(nullptr);
  SaveMessage(QMessageBox::Question, QString::fromLatin1(TextOutQuestionMessage(QUESTION_CONVERT_TO_QZ5)),
              QMessageBox::Yes | QMessageBox::No, frame, QStringLiteral("conversion-question"));
  SaveMessage(QMessageBox::Warning,
              CTextOutBox::ErrorText(TEXTOUT_ERR_NO_ANSWER) + QStringLiteral("\n\n") +
                  QString::fromLatin1(CApp::kFindUnitQuestion),
              QMessageBox::Yes | QMessageBox::No, frame, QStringLiteral("no-answer"));

  // The progress dialog as a read of all patches shows it.
  CProgressBar* progress = app->GetProgressBar();
  ShowReadProgress(progress, [&]() { Save(progress->GetDialog(), QStringLiteral("progress")); });

  // The help window on the manual beside this program.
  if (CHelpWindow::Open(app->GetManualPath(), frame)) {
    CHelpWindow* help = CHelpWindow::Instance();
    help->resize(680, 460);
    Settle();
    Save(help, QStringLiteral("help-window"));
    help->close();
  } else {
    s_shots.AddFailure();
  }

  app.Exit();
  return s_shots.Failures() == 0 ? 0 : 1;
}
