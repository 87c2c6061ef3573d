#pragma once
// What the window tests share: named patches, the names a window holds, and answers to the modal
// dialogs of the commands (confirmations and file dialogs).

#include "apptestsupport.h"

#include "app/childframe.h"
#include "app/filedoc.h"
#include "app/fileview.h"
#include "app/patchlistctrl.h"
#include "model/patch.h"
#include "platform/clock.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

// count patches named prefix0, prefix1, ...
QZML::CPatchArray NamedPatches(int count, const char* prefix = "P");
// The names of the patches, without the padding.
QStringList Names(const QZML::CPatchArray& patches);
QString Name(const QZML::CPatchArray& patches, int index);
// A new library window holding the patches (of the target model unless another is named), not
// modified; or holding count patches named prefix0, prefix1, ...
CFileDoc* Library(CApp& app, const QZML::CPatchArray& patches, QZML::CDataModel model = QZML::kModelOfTarget);
CFileDoc* Library(CApp& app, int count, const char* prefix = "P");
// The view of a library document and its list.
CFileView* ViewOf(CFileDoc* document);
QString Caption(CDocumentBase* document);
// Names the Main window's patches prefix0, prefix1, ... (as many as it holds).
void NameMain(CApp& app, const char* prefix = "M");
// The user patches of the simulated unit of the test start: loads them (the unit restarted; false when
// it does not start again), or reads them back.
bool LoadUnit(CApp& app, const QZML::CPatchArray& patches);
QZML::CPatchArray UnitPatches(CApp& app);
// The name of the patch in the simulated unit's temporary area, without the padding.
QString UnitTemporaryName(CApp& app);
// Saves the patches as a library file (of the target model); false when that fails.
bool SaveLibraryFile(const QString& path, const QZML::CPatchArray& patches);

// Answers every modal dialog: confirmations with OK, file dialogs with the next queued path (an empty
// one cancels). Records what the file dialogs showed when they opened.
class CDialogAnswers {
public:
  explicit CDialogAnswers(CTestUi& ui);
  void File(const QString& path) { m_files.append(path); }
  // What each file dialog offered when it opened: its folder and the file name in its box.
  QStringList m_folders;
  QStringList m_names;
  QStringList m_titles;
  int m_confirmations = 0;
  // The kind of each confirmation shown (CONFIRM_READ_USER ...), in order.
  QList<int> m_kinds;
  // When set, a file dialog first "moves" to this folder (as the user would), then answers.
  QString m_moveTo;

private:
  QStringList m_files;
};

// A clock for the device reader and writer of a test: pauses take no time, and every reading moves
// it on a millisecond, so a wait that never ends still runs out.
class CTestClock : public QZP::IClock {
public:
  std::uint64_t NowMs() override { return ++m_now; }
  void SleepMs(std::uint32_t ms) override { m_now += ms; }

private:
  std::uint64_t m_now = 1000;
};
// Puts the clock into the program's reader and writer for the life of the object.
class CFastTransfers {
public:
  CFastTransfers();
  ~CFastTransfers();

private:
  CTestClock m_clock;
};
