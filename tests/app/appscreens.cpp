// Saves pictures of the main window and of every dialog into the folder given, for a look at them
// under a real X server:  xvfb-run -a -s "-screen 0 1280x800x24" build/bin/appscreens /tmp/shots
// With --root FILE it only saves the whole screen (what another program, started before, shows).
#include "apptestsupport.h"
#include "screenshots.h"
#include "windowtestsupport.h"

#include "app/imageview.h"

#include "app/appmidi.h"
#include "app/mainframe.h"
#include "app/midisetupdialog.h"
#include "app/midiwarningdlg.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "app/textoutbox.h"
#include "gp/fontdialog.h"
#include "midi/midienvironment.h"
#include "midi/transfer.h"
#include "sim/port/simport.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <cstdio>

namespace {

CScreenshots s_shots(5, 2);

void Settle() { s_shots.Settle(); }
void Save(QWidget* widget, const QString& name) { s_shots.Save(widget, name); }
void SaveDialog(QDialog& dialog, const QString& name) { s_shots.SaveDialog(dialog, name); }

} // namespace

int main(int argc, char** argv) {
  CGuiApplication qt(argc, argv);
  qt.setQuitOnLastWindowClosed(false);
  if (argc < 2) {
    std::fprintf(stderr, "usage: appscreens FOLDER\n");
    return 2;
  }
  if (QString::fromLocal8Bit(argv[1]) == QStringLiteral("--root") && argc > 2) {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen->grabWindow(0).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  }
  s_shots.SetFolder(QString::fromLocal8Bit(argv[1]));
  CTestSettings settings;
  CAppOptions options = TestOptions(true);
  options.files = QStringList{QStringLiteral(QZ_CORPUS_DIR "/zkl/valid/three-patches.zkl")};
  CStartedApp app(options);
  if (!app.Started())
    return 1;
  CMainFrame* frame = app->GetMainFrame();
  frame->resize(900, 600);
  Settle();
  Save(frame, QStringLiteral("main"));

  // The menus of the child windows, one after the other.
  int index = 0;
  for (QAction* action : frame->menuBar()->actions()) {
    if (!action->isVisible() || !action->menu())
      continue;
    QMenu* menu = action->menu();
    frame->menuBar()->setActiveAction(action);
    Settle();
    const QRect both = frame->frameGeometry().united(menu->frameGeometry());
    QPixmap shot = frame->screen()->grabWindow(0, both.x(), both.y(), both.width(), both.height());
    const QString path = QDir(s_shots.Folder()).filePath(QStringLiteral("menu%1.png").arg(index++));
    shot.save(path);
    std::printf("%s\n", qPrintable(path));
    menu->hide();
  }
  Settle();

  // The dialogs of the commands, pictured when they open.
  int shots = 0;
  SetModalHook([&](QDialog& dialog) {
    SaveDialog(dialog, QStringLiteral("dialog%1-%2").arg(shots++).arg(dialog.objectName()));
    return int(QDialog::Rejected);
  });
  for (int command : {ID_APP_ABOUT, ID_SETUP_TARGET_MODEL, ID_SETUP_GRID, ID_SETUP_MIDI})
    frame->RouteCommand(command);
  CMidiWarningDlg::Confirm(CONFIRM_READ_USER, app->GetFlags(), frame);
  CMidiWarningDlg::Confirm(CONFIRM_IMPORT_SMF, app->GetFlags(), frame);
  SetModalHook(nullptr);

  // Find Unit with two units out there: the choice, and the dialog after it was declined.
  {
    CSimPort max(app->GetMidi()->Virtual(), MakeSimulatorOptions(QZML::MODEL_QZMAX, 0x10, false), "QZ USB MIDI 24:0");
    CSimPort five(app->GetMidi()->Virtual(), MakeSimulatorOptions(QZML::MODEL_QZ5, 0x02, false), "QZ-5 USB 28:0");
    SetModalHook([&](QDialog& dialog) {
      if (auto* setup = qobject_cast<CMidiSetupDialog*>(&dialog)) {
        setup->show();
        setup->FindUnit();
      }
      SaveDialog(dialog, QStringLiteral("dialog%1-%2").arg(shots++).arg(dialog.objectName()));
      return int(QDialog::Rejected);
    });
    frame->RouteCommand(ID_SETUP_MIDI);
    SetModalHook(nullptr);
  }

  {
    GP::CFontDialog font(frame);
    font.SetColor(Qt::red);
    SaveDialog(font, QStringLiteral("font"));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("QZ-MAX Librarian"), CTextOutBox::ErrorText(3),
                    QMessageBox::Ok, frame);
    SaveDialog(box, QStringLiteral("messagebox"));
  }

  CProgressBar* progress = app->GetProgressBar();
  ShowReadProgress(progress, [&]() {
    Save(progress->GetDialog(), QStringLiteral("progress"));
    Save(frame, QStringLiteral("main-during-progress"));
  });

  // The Main window after reading every patch of the simulated unit, and a library with its row buttons.
  {
    CTestUi answers;
    CDialogAnswers confirm(answers);
    CFastTransfers fast;
    if (CSimPort* simulator = app->GetMidi()->Simulator()) {
      simulator->Stop();
      simulator->Unit().LoadUserPatches(NamedPatches(200, "Unit Patch "));
      simulator->Start();
    }
    CImageView* mainView = app->GetMainView();
    frame->GetMdiArea()->setActiveSubWindow(mainView->GetParentFrame());
    mainView->GetParentFrame()->resize(560, 420);
    frame->RouteCommand(ID_MIDI_READ_ALL);
    mainView->GetList()->SelectRows(2, 4);
    Save(frame, QStringLiteral("main-after-read"));
    CFileDoc* library = app->NewLibraryWith(NamedPatches(30, "Library "));
    ViewOf(library)->GetParentFrame()->resize(520, 360);
    ViewOf(library)->GetParentFrame()->move(300, 40);
    ViewOf(library)->GetList()->SetTopIndex(5);
    Save(frame, QStringLiteral("library-row-buttons"));
  }

  // A maximised library window and the window list.
  if (QMdiSubWindow* active = frame->GetMdiArea()->activeSubWindow())
    active->showMaximized();
  Settle();
  Save(frame, QStringLiteral("main-maximised"));
  app.Exit();
  return 0;
}
