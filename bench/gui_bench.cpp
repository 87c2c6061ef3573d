// Figures of the windowed program with a large library: opening a 10,000-patch library file into a
// library window until its list has been painted, sorting that list by name until it has been painted
// again, typing one character into its filter box and dropping 1,000 rows from another window onto it
// (unsorted and sorted), each until painted, and the peak memory of the program with the Main window and
// such a library open; and Read All of the Main window from the built-in simulated unit, which answers at
// once, with the progress dialog on. Runs the program's own application object with the built-in ports
// only, settings in a temporary folder; meant for the offscreen platform (QT_QPA_PLATFORM=offscreen).

#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMimeData>
#include <QEvent>
#include <QPointer>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/appmidi.h"
#include "app/childframe.h"
#include "app/filedoc.h"
#include "app/fileview.h"
#include "app/mainframe.h"
#include "app/guiapplication.h"
#include "app/imagedoc.h"
#include "app/imageview.h"
#include "app/messagebox.h"
#include "app/patchlistctrl.h"
#include "bench/benchrow.h"
#include "midi/patchstream.h"
#include "model/appstate.h"
#include "model/filedocument.h"
#include "sim/port/simport.h"

namespace {

constexpr int kLibraryPatches = 10000;
constexpr int kDroppedPatches = 1000;
constexpr int kWaitLimitMs = 60000;

// Notes when a widget has finished a paint: a zero-time timer started from inside the paint event runs
// once the event (and the backing store flush it belongs to) is done.
class CPaintWatch : public QObject {
public:
  explicit CPaintWatch(QWidget* widget) : m_widget(widget) { widget->installEventFilter(this); }
  ~CPaintWatch() override {
    if (m_widget)
      m_widget->removeEventFilter(this);
  }
  void Reset() { m_painted = false; }
  bool Painted() const { return m_painted; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == m_widget && event->type() == QEvent::Paint)
      QTimer::singleShot(0, this, [this] { m_painted = true; });
    return false;
  }

private:
  QPointer<QWidget> m_widget; // the window may close first
  bool m_painted = false;
};

// Processes events until done() holds; false after the limit.
bool ProcessUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > kWaitLimitMs)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
  }
  return true;
}

// A library as users collect them: random contents, names from a few words in random order, a memo each.
bool WriteLibrary(const QString& path) {
  static const char* const kWords[] = {"Lead", "Crunch", "Clean", "Solo", "Ambient", "Metal", "Blues",
                                       "Funk", "Jazz", "Drive", "Fuzz",  "Chorus", "Delay", "Verb"};
  std::minstd_rand random(7);
  QZML::CFileDocument document;
  QZML::CPatchArray& patches = document.m_current.m_patches;
  for (int i = 0; i < kLibraryPatches; ++i) {
    auto patch = std::make_unique<QZML::CPatch>();
    for (int b = 0; b < QZML::kPatchImageSize; ++b)
      patch->Image()[b] = static_cast<std::uint8_t>(random() & 0x7F);
    std::string name = std::string(kWords[random() % 14]) + " " + kWords[random() % 14];
    name += " " + std::to_string(random() % 1000);
    patch->SetName(name.substr(0, 16));
    patch->SetMemo(0, "Collected " + std::to_string(i));
    patches.Add(std::move(patch));
  }
  return document.SaveFile(path.toStdString());
}

// The peak resident size of this program. getrusage's ru_maxrss keeps the peak of the process that
// started this one (it survives exec), so the memory map's own high-water mark comes first.
long PeakResidentKb() {
  if (std::FILE* status = std::fopen("/proc/self/status", "r")) {
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
      if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1)
        break;
    std::fclose(status);
    if (kb > 0)
      return kb;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

struct CFigures {
  std::vector<double> openMs, sortMs, sortBackMs, filterMs, dropMs, dropSortedMs; // wall time
  // processor time of the user-interface thread
  std::vector<double> openCpuMs, sortCpuMs, sortBackCpuMs, filterCpuMs, dropCpuMs, dropSortedCpuMs;
};

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

CFileView* LibraryView(CDocumentBase* document) {
  return document ? qobject_cast<CFileView*>(document->GetView()) : nullptr;
}

// Opens the library, sorts by name and back, closes it again; the times go into figures.
bool MeasureOnce(CApp& app, const QString& path, CFigures& figures) {
  QElapsedTimer timer;
  timer.start();
  double cpu = ThreadCpuMs();
  // What File Open does once the user has picked the file.
  CDocumentBase* document = app.OpenLibrary(path);
  CFileView* view = LibraryView(document);
  if (!view)
    return false;
  CPatchListCtrl* list = view->GetList();
  CPaintWatch watch(list->viewport());
  // Should a paint have happened already, this asks for the one the watch waits for; else it merges
  // with the paint under way.
  list->viewport()->update();
  if (!ProcessUntil([&] { return watch.Painted(); }))
    return false;
  figures.openMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  figures.openCpuMs.push_back(ThreadCpuMs() - cpu);
  if (list->GetItemCount() != kLibraryPatches + 1)
    return false;

  // One character typed into the filter box: every patch is looked at.
  QLineEdit* box = view->GetFilterBox();
  watch.Reset();
  timer.restart();
  cpu = ThreadCpuMs();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  QApplication::sendEvent(box, &press);
  QApplication::sendEvent(box, &release);
  if (!ProcessUntil([&] { return watch.Painted(); }))
    return false;
  figures.filterMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  figures.filterCpuMs.push_back(ThreadCpuMs() - cpu);
  if (box->text() != QStringLiteral("z") || list->GetItemCount() >= kLibraryPatches)
    return false;
  box->clear();
  watch.Reset();
  if (!ProcessUntil([&] { return watch.Painted(); }))
    return false;

  // 1,000 rows of another library window dropped onto the top row, as the drag delivers them; then Undo.
  QZML::CPatchArray dropped;
  for (int i = 0; i < kDroppedPatches; ++i)
    dropped.Add(list->GetPatchArray()->Get(static_cast<size_t>(i))->Clone());
  CFileDoc* source = app.NewLibraryWith(dropped);
  CFileView* sourceView = LibraryView(source);
  if (!sourceView)
    return false;
  std::vector<int> rows(kDroppedPatches);
  for (int i = 0; i < kDroppedPatches; ++i)
    rows[static_cast<size_t>(i)] = i;
  std::unique_ptr<QMimeData> data(sourceView->GetList()->CreateDragData(rows));
  // The library dropped on comes to the front again, over the new window.
  app.GetMainFrame()->GetMdiArea()->setActiveSubWindow(view->GetParentFrame());
  QCoreApplication::processEvents();
  const auto dropRows = [&](std::vector<double>& ms, std::vector<double>& cpuMs) {
    list->SetTopIndex(0);
    const QRect cell = list->GetCellRect(0, 1);
    const QPoint pos(cell.center().x(), cell.top() + 1);
    QDragEnterEvent enter(pos, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QCoreApplication::processEvents();
    watch.Reset();
    timer.restart();
    const double start = ThreadCpuMs();
    QDropEvent drop(QPointF(pos), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    if (!drop.isAccepted() || !ProcessUntil([&] { return watch.Painted(); }))
      return false;
    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    cpuMs.push_back(ThreadCpuMs() - start);
    if (list->GetPatchCount() != kLibraryPatches + kDroppedPatches)
      return false;
    view->OnEditUndo();
    return list->GetPatchCount() == kLibraryPatches;
  };
  if (!dropRows(figures.dropMs, figures.dropCpuMs))
    return false;

  for (int direction = 0; direction < 2; ++direction) {
    watch.Reset();
    timer.restart();
    cpu = ThreadCpuMs();
    list->Sort(CParameterListCtrl::COLUMN_NAME);
    if (!ProcessUntil([&] { return watch.Painted(); }))
      return false;
    (direction == 0 ? figures.sortMs : figures.sortBackMs).push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    (direction == 0 ? figures.sortCpuMs : figures.sortBackCpuMs).push_back(ThreadCpuMs() - cpu);
  }
  // The same drop onto the list sorted by name: the dropped rows land all over it.
  if (!dropRows(figures.dropSortedMs, figures.dropSortedCpuMs))
    return false;

  source->GetFrame()->CloseDocument();
  document->GetFrame()->CloseDocument();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return true;
}

// Read All of the Main window from the built-in simulated unit, which answers at once: the whole command as
// the user starts it (confirmation answered, progress dialog, undo copy, list refresh), and the reader
// alone with and without the progress dialog, which tells what the dialog costs.
struct CReadFigures {
  std::vector<double> commandMs, commandCpuMs, dialogMs, dialogCpuMs, plainMs, plainCpuMs;
};

constexpr int kUserPatches = 200;
constexpr int kExchangesPerRead = 1 + 32 * kUserPatches; // the identity check, then 32 blocks a patch

bool MainHoldsUnitPatches(CApp& app) {
  const QZML::CPatchArray& patches = app.GetMainDocument()->GetPatches();
  if (patches.size() != kUserPatches)
    return false;
  for (int i = 0; i < kUserPatches; ++i)
    if (patches.Get(i)->GetName().rfind("Unit " + std::to_string(i) + " ", 0) != 0)
      return false;
  return true;
}

void ClearMain(CApp& app) {
  QZML::CPatchArray& patches = app.GetMainDocument()->GetPatches();
  for (int i = 0; i < static_cast<int>(patches.size()); ++i)
    patches.Get(i)->SetName("INIT PATCH");
}

bool MeasureReadAll(CApp& app, CReadFigures& figures) {
  CImageView* view = app.GetMainView();
  CPumpingReader* reader = DeviceReader();
  if (!view || !reader)
    return false;
  QZML::CPatchList all;
  for (int i = 0; i < kUserPatches; ++i)
    all.push_back(i);
  QElapsedTimer timer;

  ClearMain(app);
  timer.start();
  const double cpu = ThreadCpuMs();
  view->ReadUser(true);
  figures.commandMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  figures.commandCpuMs.push_back(ThreadCpuMs() - cpu);
  if (!MainHoldsUnitPatches(app))
    return false;

  // The dialog's cost is work of the user-interface thread: its processor time tells it apart from the
  // waits for the MIDI input's thread, which on a busy machine vary far more than the dialog costs.
  ClearMain(app);
  timer.restart();
  double readCpu = ThreadCpuMs();
  const bool withDialog = reader->ReadPatches(QZML::AREA_USER, all, &app.GetMainDocument()->GetPatches());
  figures.dialogMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  figures.dialogCpuMs.push_back(ThreadCpuMs() - readCpu);
  if (!withDialog || !MainHoldsUnitPatches(app))
    return false;

  ClearMain(app);
  CZelProgressBar plain;
  reader->SetProgress(&plain);
  timer.restart();
  readCpu = ThreadCpuMs();
  const bool without = reader->ReadPatches(QZML::AREA_USER, all, &app.GetMainDocument()->GetPatches());
  figures.plainMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  figures.plainCpuMs.push_back(ThreadCpuMs() - readCpu);
  reader->SetProgress(nullptr);
  return without && MainHoldsUnitPatches(app);
}

// Main window, optionally a library window, then the peak resident size.
int MemoryRun(CApp& app, const QString& path) {
  if (!path.isEmpty()) {
    if (!app.OpenLibrary(path))
      return 1;
    ProcessUntil([] { return true; });
  }
  QElapsedTimer settle;
  settle.start();
  ProcessUntil([&] { return settle.elapsed() > 300; });
  std::printf("%ld\n", PeakResidentKb());
  return 0;
}

// The peak of a fresh program that opens what path names (nothing when empty); -1 when it failed.
long PeakOfChild(const QString& path) {
  QProcess child;
  QStringList arguments{QStringLiteral("--memory")};
  if (!path.isEmpty())
    arguments << path;
  child.start(QCoreApplication::applicationFilePath(), arguments);
  if (!child.waitForFinished(kWaitLimitMs) || child.exitCode() != 0)
    return -1;
  bool ok = false;
  const long kb = QString::fromLatin1(child.readAllStandardOutput()).trimmed().toLong(&ok);
  return ok ? kb : -1;
}

} // namespace

int main(int argc, char** argv) {
  bool table = false, memory = false;
  int repetitions = 5;
  QString memoryPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--table") == 0) {
      table = true;
    } else if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
      repetitions = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--memory") == 0) {
      memory = true;
      if (i + 1 < argc)
        memoryPath = QString::fromLocal8Bit(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: qz_bench_gui [--table] [--repetitions N]\n"
                           "  Opens a 10,000-patch library in the windowed program (offscreen) and sorts it;\n"
                           "  reads all 200 patches of the simulated unit into the Main window.\n");
      return 2;
    }
  }

  // Settings of this run only, in a temporary folder.
  QTemporaryDir settings;
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());

  int qtArgc = 1;
  CGuiApplication qt(qtArgc, argv);
  qt.setQuitOnLastWindowClosed(false);
  // Nothing should ask; if something does, the first button answers and the run is marked failed.
  bool asked = false;
  SetMessageBoxHook([&asked](const CMessageBoxRequest& request) {
    asked = true;
    std::fprintf(stderr, "qz_bench_gui: message box: %s\n", request.text.toLocal8Bit().constData());
    for (auto button : {QMessageBox::Ok, QMessageBox::No, QMessageBox::Cancel})
      if (request.buttons & button)
        return button;
    return QMessageBox::NoButton;
  });
  // The confirmation before Read All is answered OK, as the user would; anything else is refused.
  SetModalHook([](QDialog& dialog) {
    if (dialog.objectName() == QStringLiteral("midiWarningDialog")) {
      dialog.accept();
      return int(QDialog::Accepted);
    }
    dialog.reject();
    return int(QDialog::Rejected);
  });

  QZML::CAppState::Instance().SetTargetModelQuiet(QZML::MODEL_QZMAX);
  CAppOptions options;
  options.realMidi = false;
  options.simulator = true;
  options.instanceKey = QStringLiteral("qzmax-librarian-bench-%1").arg(QCoreApplication::applicationPid());
  CApp app(options);
  if (!app.InitInstance()) {
    std::fprintf(stderr, "qz_bench_gui: the program did not start\n");
    return 1;
  }
  ProcessUntil([] { return true; });

  int status = 0;
  if (memory) {
    status = MemoryRun(app, memoryPath);
  } else {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("large.qzl"));
    if (!WriteLibrary(path)) {
      std::fprintf(stderr, "qz_bench_gui: the library file could not be written\n");
      status = 1;
    }
    CFigures figures;
    for (int i = 0; i < repetitions && status == 0; ++i)
      if (!MeasureOnce(app, path, figures) || asked)
        status = 1;
    // The simulated unit holds patches named after their numbers, so that a read can be checked.
    CReadFigures reads;
    CSimPort* simulator = app.GetMidi() ? app.GetMidi()->Simulator() : nullptr;
    if (!simulator) {
      status = 1;
    } else {
      simulator->Stop();
      QZML::CPatchArray unit;
      unit.Resize(kUserPatches);
      for (int i = 0; i < kUserPatches; ++i)
        unit.Get(i)->SetName("Unit " + std::to_string(i));
      simulator->Unit().LoadUserPatches(unit);
      simulator->Start();
    }
    for (int i = 0; i < repetitions && status == 0; ++i)
      if (!MeasureReadAll(app, reads) || asked)
        status = 1;
    const long withLibrary = status == 0 ? PeakOfChild(path) : -1;
    const long mainOnly = status == 0 ? PeakOfChild(QString()) : -1;
    if (withLibrary < 0 || mainOnly < 0)
      status = 1;

    if (status != 0) {
      PrintBenchRow("Library window figures", "failed", "-", "MISSED");
    } else if (table) {
      const double open = Median(figures.openMs), sort = Median(figures.sortMs), back = Median(figures.sortBackMs);
      PrintBenchRow("Open a 10,000-patch library window until painted",
                    Format("%.1f ms (CPU %.1f ms)", open, Median(figures.openCpuMs)), "< 200 ms", Verdict(open < 200));
      PrintBenchRow("Sort that list by name until painted (ascending, descending)",
                    Format("%.1f ms, %.1f ms (CPU %.1f ms, %.1f ms)", sort, back, Median(figures.sortCpuMs),
                           Median(figures.sortBackCpuMs)),
                    "< 200 ms", Verdict(std::max(sort, back) < 200));
      const double filter = Median(figures.filterMs), drop = Median(figures.dropMs);
      PrintBenchRow("Type one character into that list's filter until painted",
                    Format("%.1f ms (CPU %.1f ms)", filter, Median(figures.filterCpuMs)), "<= 30 ms",
                    Verdict(filter <= 30));
      PrintBenchRow("Drop 1,000 rows from another window onto that list until painted",
                    Format("%.1f ms (CPU %.1f ms)", drop, Median(figures.dropCpuMs)), "<= 100 ms",
                    Verdict(drop <= 100));
      const double dropSorted = Median(figures.dropSortedMs);
      PrintBenchRow("The same drop onto that list sorted by name",
                    Format("%.1f ms (CPU %.1f ms)", dropSorted, Median(figures.dropSortedCpuMs)), "<= 100 ms",
                    Verdict(dropSorted <= 100));
      PrintBenchRow("Peak memory, Main window and the 10,000-patch library",
                    Format("%.1f MB (Main window alone %.1f MB)", withLibrary / 1024.0, mainOnly / 1024.0), "-", "-");
      const double command = Median(reads.commandMs), dialog = Median(reads.dialogMs);
      const double dialogCpu = Median(reads.dialogCpuMs), plainCpu = Median(reads.plainCpuMs);
      PrintBenchRow("Read All of 200 patches through the Main window, no cable (progress dialog on)",
                    Format("%.2f s (CPU %.2f s), %.0f us per exchange", command / 1e3, Median(reads.commandCpuMs) / 1e3,
                           command * 1e3 / kExchangesPerRead),
                    "<= 3 s", Verdict(command <= 3000));
      PrintBenchRow("The progress dialog's share of that read: UI thread's processor time with and without it, "
                    "difference / wall",
                    Format("%.0f ms - %.0f ms = %.0f ms of %.0f ms: %.1f %% (reader without the dialog: %.0f ms wall)",
                           dialogCpu, plainCpu, dialogCpu - plainCpu, dialog, 100.0 * (dialogCpu - plainCpu) / dialog,
                           Median(reads.plainMs)),
                    "<= 5 %", Verdict(dialogCpu - plainCpu <= 0.05 * dialog));
    } else {
      std::printf("open library window: median %.1f ms of %d (CPU %.1f ms)\n", Median(figures.openMs), repetitions,
                  Median(figures.openCpuMs));
      std::printf("sort by name:        median %.1f ms, back %.1f ms (CPU %.1f ms, %.1f ms)\n", Median(figures.sortMs),
                  Median(figures.sortBackMs), Median(figures.sortCpuMs), Median(figures.sortBackCpuMs));
      std::printf("filter one character: median %.1f ms (CPU %.1f ms)\n", Median(figures.filterMs),
                  Median(figures.filterCpuMs));
      std::printf("drop 1,000 rows:     median %.1f ms (CPU %.1f ms), sorted list %.1f ms (CPU %.1f ms)\n",
                  Median(figures.dropMs), Median(figures.dropCpuMs), Median(figures.dropSortedMs),
                  Median(figures.dropSortedCpuMs));
      std::printf("peak memory:         %.1f MB with the library, %.1f MB Main window alone\n", withLibrary / 1024.0,
                  mainOnly / 1024.0);
      std::printf("Read All (no cable): median %.0f ms (CPU %.0f ms), %.0f us per exchange; reader with the progress "
                  "dialog %.0f ms (CPU %.0f ms), without %.0f ms (CPU %.0f ms)\n",
                  Median(reads.commandMs), Median(reads.commandCpuMs), Median(reads.commandMs) * 1e3 / kExchangesPerRead,
                  Median(reads.dialogMs), Median(reads.dialogCpuMs), Median(reads.plainMs), Median(reads.plainCpuMs));
    }
  }
  app.ExitInstance();
  return status;
}
