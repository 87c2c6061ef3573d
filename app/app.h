#pragma once
// The application object: the start-up sequence, the single-instance rule, the Main window and the
// library windows (made here, each frame owning its document), the recent files, the "Option" settings, the pending-error report when the event loop is idle, the commands that need no
// window (About, Set Up MIDI Devices, Set Up Font, Select Target Model, the manual, New, Open, the two
// foreign imports) and the orderly shut-down. It creates what all windows share and keeps it to the end.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

#include "app/commands.h"
#include "gp/fontex.h"
#include "midi/transfer.h"
#include "platform/qtsettings.h"
#include "model/document.h"
#include "model/patch.h"

class CFileDoc;
class CImageDoc;
class CImageView;
class CMainFrame;
class CMidiSetup;
class CProgressBar;
class CSingleInstance;
class CTextOutBox;
class CZelTextOutBuffer;
class CAppMidi;
class CChildFrame;
class CViewBase;
namespace QZML {
class CAppState;
}

// What the command line asks for.
struct CAppOptions {
  bool simulator = false;         // --simulator: the built-in simulated unit for this run, not stored
  std::string midiApi = "auto";   // --midi-api auto|alsa|jack
  bool realMidi = true;           // false: only the built-in ports (tests)
  QString instanceKey;            // the single-instance rendezvous; empty: the user's default
  QStringList files;              // the files to open or import, in order
};

// Splits the arguments (without the program name). False with a message for an unknown option.
bool ParseCommandLine(const QStringList& arguments, CAppOptions& options, QString& error);

class CApp : public QObject {
  Q_OBJECT
public:
  explicit CApp(const CAppOptions& options = CAppOptions(), QObject* parent = nullptr);
  ~CApp() override;
  CApp(const CApp&) = delete;
  CApp& operator=(const CApp&) = delete;

  // Start-up; false ends the program at once (another instance runs, or none of the command line's
  // files could be opened).
  bool InitInstance();
  // Shut-down: saves the settings unless start-up ended early, closes the Main window, the reader and
  // writer, the ports and the outputs. Returns the exit code.
  int ExitInstance(int exitCode = 0);

  bool IsEarlyExit() const { return m_earlyExit; }

  // The "Option" section: the font, "GridSw", the six confirmation flags, "TargetModel".
  void LoadSaveSettings(bool save);
  int GetFlag(int index) const { return m_flags.Get(index); }
  void SetFlag(int index, int value) { m_flags.Set(index, value); }
  CConfirmationFlags& GetFlags() { return m_flags; }

  // The state the windows work on: target model, clipboard, grid, the device reader and writer.
  QZML::CAppState& GetState() const;
  CMainFrame* GetMainFrame() const { return m_mainFrame.get(); }
  CImageView* GetMainView() const;
  CImageDoc* GetMainDocument() const;

  // The open libraries, in the order they were made.
  std::vector<CFileDoc*> GetLibraries() const;
  // The open library of that file, or null.
  CFileDoc* FindLibrary(const QString& path) const;
  // New: an untitled library window ("Untitled1", "Untitled2", ...).
  CFileDoc* NewLibrary();
  // Opens the library file (it enters the recent files); a file that is open already brings its window
  // to the front. Null when it could not be loaded.
  CFileDoc* OpenLibrary(const QString& path);
  // Open: the library file prompt, then OpenLibrary.
  CFileDoc* PromptOpenLibrary();
  // Asks about every modified library; false when the user cancelled.
  bool SaveAllModified();

  // Recent files ("Recent File List", "File1".."File8"), most recent first.
  static constexpr int kRecentFileCount = 8;
  const QStringList& GetRecentFiles() const { return m_recentFiles; }
  void AddRecentFile(const QString& path);
  void RemoveRecentFile(int index);
  GP::CFontEx& GetListFont() { return m_listFont; }
  CAppMidi* GetMidi() const { return m_midi.get(); }
  CZelTextOutBuffer* GetErrorBuffer() const { return m_errorBuffer; }
  CTextOutBox* GetTextOutBox() const { return m_textOutBox; }
  CProgressBar* GetProgressBar() const { return m_progress; }

  // Command line and dropped files: a ZK-40 librarian file or a QZ-3 bulk dump opens as a new untitled,
  // modified library window; anything else is opened as a library file. False after an error message.
  bool OpenAnyFile(const QString& path);
  // Every dropped file in turn, under the wait cursor.
  void OnDropFiles(const QStringList& paths);
  // A new untitled library window holding a copy of patches made for model (the target model by default),
  // marked modified.
  CFileDoc* NewLibraryWith(const QZML::CPatchArray& patches, QZML::CDataModel model = QZML::kModelOfTarget);
  // The same for the QZ-MAX patches of a foreign import: converted for a QZ-5 when the user agrees.
  CFileDoc* NewImportedLibrary(QZML::CPatchArray patches);

  // Shows the error buffer's code through the message boxes and clears it (nothing for TEXTOUT_ERR_NONE). A unit
  // that did not answer is offered a search: Yes runs Find Unit in Set Up MIDI Devices.
  void ShowPendingError();
  // The question added to the no-answer message.
  static constexpr const char* kFindUnitQuestion = "Run Find Unit to look for the unit on every MIDI port?";

  // Select Target Model after OK: the whole change (question, conversions, Main row count, captions).
  void ChangeTargetModel(QZML::EModel model);
  // Set Up Grid after OK: the grid switch and every list.
  void ChangeGrid(int grid);
  // The font changed: the Main view and every library view rebuild their lists.
  void NotifyFontChanged();

  // The manual's first page: beside the program, or in the installation's data folder.
  QString GetManualPath() const;

  // The commands that need no window: New, Open, the foreign imports, the set-ups, the manual, About.
  static const CCommandTable<CApp>& Commands();
  void OnAppAbout();
  void OnSetupMidi();
  // Set Up MIDI Devices, after a Find Unit when findUnit; OK applies it (ports, device ID, target model).
  void RunMidiSetup(bool findUnit);
  void OnSetupFont();
  // Restore Confirmations: every "Don't show this dialog again." flag off, stored at once.
  void OnRestoreConfirmations();
  void OnHelpManual();
  void OnSelectTargetModel();

signals:
  // A file handed over by a second start has been dealt with (tests wait for it).
  void HandOverDone(const QString& path);
  // The target model changed: the captions name it.
  void targetModelChanged();

private:
  // When the outermost event loop goes idle: the pending-error report and handed-over files.
  void OnAboutToBlock();
  void ReportPendingError();
  void OnSecondInstance(const QString& path);
  void ProcessHandOvers();
  bool ProcessCommandLine();
  // The command line's files (a path split at its blanks joined again).
  QStringList CommandLineFiles() const;
  void ImportForeign(bool zkl);
  // Puts view into frame, the frame into the main frame's area, and shows it active.
  void ShowFrame(CChildFrame* frame, CViewBase* view);
  void LoadRecentFiles();
  void SaveRecentFiles() const;

  CAppOptions m_options;
  QPointer<CImageDoc> m_mainDocument;
  QPointer<CImageView> m_mainView;
  QStringList m_recentFiles;
  int m_untitledCount = 0;
  bool m_earlyExit = false;
  bool m_started = false;
  bool m_exited = false;
  QZP::CQtSettings m_settingsStore; // the per-user settings for the layers below the windows
  CConfirmationFlags m_flags;
  GP::CFontEx m_listFont;
  std::unique_ptr<CSingleInstance> m_singleInstance;
  std::unique_ptr<CMainFrame> m_mainFrame;
  std::unique_ptr<CAppMidi> m_midi;
  CZelTextOutBuffer* m_errorBuffer = nullptr; // held by the MIDI environment's slot 1
  CTextOutBox* m_textOutBox = nullptr;        // held by slot 0
  CProgressBar* m_progress = nullptr;         // the MIDI environment's progress sink
  bool m_reportScheduled = false;
  QStringList m_handOvers;
  mutable QString m_manualPath;
};
