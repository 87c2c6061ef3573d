#include "app/app.h"

#include "app/aboutdialog.h"
#include "app/appicon.h"
#include "app/appmidi.h"
#include "app/filedoc.h"
#include "app/fileframe.h"
#include "app/fileview.h"
#include "app/guiapplication.h"
#include "app/imagedoc.h"
#include "app/imageframe.h"
#include "app/imageview.h"
#include "app/mainframe.h"
#include "app/messagebox.h"
#include "app/midisetupdialog.h"
#include "app/helpwindow.h"
#include "app/profiledfiledialog.h"
#include "app/programfiles.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "app/selecttargetdlg.h"
#include "app/singleinstance.h"
#include "app/textoutbox.h"
#include "gp/mdichildwndex.h"
#include "platform/qtsettings.h"
#include "platform/settingsections.h"
#include "import/qz3importer.h"
#include "import/zklimporter.h"
#include "midi/midienvironment.h"
#include "midi/patchstream.h"
#include "model/appstate.h"
#include "qzversion.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace {

const QString kOptionSection = QString::fromLatin1(QZP::kSectionOption);
const QString kRecentSection = QString::fromLatin1(QZP::kSectionRecentFiles);

QString RecentEntry(int index) { return QStringLiteral("File%1").arg(index + 1); }

} // namespace

bool ParseCommandLine(const QStringList& arguments, CAppOptions& options, QString& error) {
  QStringList path;
  for (int i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument == QStringLiteral("--simulator")) {
      options.simulator = true;
    } else if (argument == QStringLiteral("--midi-api") || argument.startsWith(QStringLiteral("--midi-api="))) {
      QString api;
      if (argument.contains(QLatin1Char('=')))
        api = argument.section(QLatin1Char('='), 1);
      else if (i + 1 < arguments.size())
        api = arguments.at(++i);
      if (api != QStringLiteral("auto") && api != QStringLiteral("alsa") && api != QStringLiteral("jack")) {
        error = QStringLiteral("--midi-api takes auto, alsa or jack");
        return false;
      }
      options.midiApi = api.toStdString();
    } else if (argument == QStringLiteral("--")) {
      path.append(arguments.mid(i + 1));
      break;
    } else if (argument.startsWith(QStringLiteral("--"))) {
      error = QStringLiteral("unknown option %1").arg(argument);
      return false;
    } else {
      path.append(argument);
    }
  }
  // Every other argument names a file.
  options.files = path;
  return true;
}

CApp::CApp(const CAppOptions& options, QObject* parent) : QObject(parent), m_options(options) {}

CApp::~CApp() {
  if (!m_exited && m_started)
    ExitInstance();
  // Frames and documents closed with deleteLater go now, while what they refer to still exists.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool CApp::InitInstance() {
  m_started = true;
  QCoreApplication::setOrganizationName(QString::fromLatin1(QZP::kSettingsOrganization));
  QCoreApplication::setApplicationName(QString::fromLatin1(QZP::kSettingsApplication));
  QCoreApplication::setApplicationVersion(QStringLiteral(QZ_VERSION));

  // 1. One program per user: a second start hands its files over and ends without saving anything.
  QStringList handOver;
  for (const QString& file : CommandLineFiles())
    handOver.append(QFileInfo(file).absoluteFilePath());
  m_singleInstance = std::make_unique<CSingleInstance>(m_options.instanceKey);
  if (!m_singleInstance->Claim(handOver)) {
    m_earlyExit = true;
    return false;
  }
  connect(m_singleInstance.get(), &CSingleInstance::FileReceived, this, &CApp::OnSecondInstance);

  // 2. Settings live under "Orvane" / "QZ-MAX Librarian"; the recent files come with them.
  LoadRecentFiles();

  // 3-5. Opening files from the desktop: the installed desktop entry and MIME type do this.

  // 6. The main frame, where it was last closed.
  m_mainFrame = std::make_unique<CMainFrame>(*this);
  m_mainFrame->setWindowIcon(AppIcon());

  // 7. The "Option" settings; the stored target model applies without any question or conversion.
  LoadSaveSettings(false);

  // 8. The Main window.
  m_mainDocument = new CImageDoc(GetState());
  m_mainView = new CImageView(*this, m_mainDocument);
  ShowFrame(new CImageFrame(GetState()), m_mainView);

  // 9. The error buffer, the message boxes and the progress dialog, plugged into the MIDI environment.
  CMidiEnvironment& environment = CMidiEnvironment::Instance();
  m_errorBuffer = new CZelTextOutBuffer;
  environment.SetTextOut(MIDI_TEXTOUT_ERROR_BUFFER, m_errorBuffer);
  m_textOutBox = new CTextOutBox;
  environment.SetTextOut(MIDI_TEXTOUT_MESSAGE_BOX, m_textOutBox);
  auto progress = std::make_unique<CProgressBar>(m_mainFrame.get());
  m_progress = progress.get();
  environment.SetProgress(std::move(progress));
  QZML::CAppState& state = GetState();
  state.SetMessageBoxOutput(m_textOutBox);
  state.SetErrorOutput(m_errorBuffer);

  // 10. The MIDI systems, then the unit's ports and the Through pair, every port closed.
  m_midi = std::make_unique<CAppMidi>(this, m_settingsStore, m_options.midiApi, m_options.realMidi,
                                      state.GetTargetModel());
  if (!m_midi->Start())
    AppMessageBox(nullptr, QMessageBox::Warning,
                  tr("The MIDI system \"%1\" could not be started. %2")
                      .arg(QString::fromStdString(m_options.midiApi), QString::fromStdString(m_midi->StartError())));
  // The built-in simulated unit keeps what was written to it in earlier runs.
  m_midi->LoadSimulatorMemory(CAppMidi::SimulatorMemoryPath(state.GetTargetModel()));
  environment.CloseDevices();
  environment.PreparePorts(state.GetTargetModel());
  state.SetModelIdSink(&environment);

  // 11. The device reader and writer: through logical output 0, answers from logical input 0, errors
  // into the buffer above, progress into the dialog; the application state owns them.
  InstallPatchStreams(environment);

  // 12. The stored port choice, or the simulated unit for this run.
  m_midi->SetSimulatorOverride(m_options.simulator);
  m_midi->LoadSetup();

  // Idle work runs when the outermost event loop is about to wait.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CApp::OnAboutToBlock);

  // 13. The command line's file.
  if (!ProcessCommandLine())
    return false;

  // 14. Shown and ready for dropped files; the area has its size now, and the Main window takes its height.
  m_mainFrame->show();
  if (m_mainView)
    if (auto* mainFrame = qobject_cast<CImageFrame*>(m_mainView->GetParentFrame()))
      mainFrame->PlaceFirstTime();
  m_mainFrame->setAcceptDrops(true);
  return true;
}

int CApp::ExitInstance(int exitCode) {
  if (m_exited)
    return exitCode;
  m_exited = true;
  if (m_earlyExit)
    return exitCode;
  // 1. The "Option" section.
  LoadSaveSettings(true);
  SaveRecentFiles();
  // 2. The Main window and the libraries go with their documents, without asking.
  if (m_mainFrame)
    for (QMdiSubWindow* child : m_mainFrame->GetMdiArea()->subWindowList())
      if (auto* frame = qobject_cast<CChildFrame*>(child))
        frame->CloseDocument();
  // 3, 4, 5. The reader and writer, the ports, then the outputs and the progress dialog.
  QZML::CAppState& state = GetState();
  state.DeleteReaderWriter();
  if (m_midi) {
    m_midi->DisconnectAll();
    m_midi->SaveSimulatorMemory();
  }
  state.SetMessageBoxOutput(nullptr);
  state.SetErrorOutput(nullptr);
  state.SetModelIdSink(nullptr);
  CMidiEnvironment::Instance().Teardown();
  m_errorBuffer = nullptr;
  m_textOutBox = nullptr;
  m_progress = nullptr;
  m_midi.reset();
  // The frame writes its position as it goes.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  m_mainFrame.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  return exitCode;
}

void CApp::LoadSaveSettings(bool save) {
  QZML::CAppState& state = GetState();
  if (save) {
    m_listFont.SaveProfile(kOptionSection, QStringLiteral("Font"));
    m_settingsStore.SetInt(kOptionSection, QStringLiteral("GridSw"), state.GetGridSwitch());
    m_flags.Save(m_settingsStore);
    m_settingsStore.SetInt(kOptionSection, QStringLiteral("TargetModel"), QZML::ModelNumber(state.GetTargetModel()));
    m_settingsStore.Sync();
    return;
  }
  m_listFont.LoadProfile(kOptionSection, QStringLiteral("Font"));
  state.SetGridSwitch(m_settingsStore.Int(kOptionSection, QStringLiteral("GridSw"), 0));
  m_flags.Load(m_settingsStore);
  // A stored number that is no model (a damaged setting) leaves the target model as it is.
  const std::optional<QZML::EModel> model =
      QZML::ModelFromNumber(m_settingsStore.Int(kOptionSection, QStringLiteral("TargetModel"), 0));
  // Child frames take their stored positions from now on.
  GP::CMDIChildWndEx::SetPositionMode(GP::CMDIChildWndEx::EPositionMode::Saved);
  if (model && *model != state.GetTargetModel())
    state.SetTargetModel(*model, true);
}

QZML::CAppState& CApp::GetState() const { return QZML::CAppState::Instance(); }

CImageView* CApp::GetMainView() const { return m_mainView; }

CImageDoc* CApp::GetMainDocument() const {
  // Gone for the program once its frame closes, even before the frame is deleted.
  CChildFrame* frame = m_mainDocument ? m_mainDocument->GetFrame() : nullptr;
  return frame && !frame->IsDocumentClosing() ? m_mainDocument.data() : nullptr;
}

std::vector<CFileDoc*> CApp::GetLibraries() const {
  std::vector<CFileDoc*> libraries;
  if (!m_mainFrame)
    return libraries;
  for (QMdiSubWindow* child : m_mainFrame->GetMdiArea()->subWindowList(QMdiArea::CreationOrder))
    if (auto* frame = qobject_cast<CFileFrame*>(child))
      if (!frame->IsDocumentClosing())
        if (auto* document = qobject_cast<CFileDoc*>(frame->GetActiveDocument()))
          libraries.push_back(document);
  return libraries;
}

CFileDoc* CApp::FindLibrary(const QString& path) const {
  const QFileInfo wanted(path);
  for (CFileDoc* document : GetLibraries()) {
    if (document->GetPathName().isEmpty())
      continue;
    const QFileInfo open(document->GetPathName());
    if (open == wanted || open.absoluteFilePath() == wanted.absoluteFilePath())
      return document;
  }
  return nullptr;
}

void CApp::ShowFrame(CChildFrame* frame, CViewBase* view) {
  frame->SetView(view);
  connect(this, &CApp::targetModelChanged, frame, &CChildFrame::OnUpdateFrameTitle);
  connect(frame, &QWidget::windowTitleChanged, m_mainFrame.get(), &CMainFrame::OnUpdateFrameTitle);
  m_mainFrame->AddChild(frame);
  // A new child takes the view's preferred size within three quarters of the area, so the windows
  // under it stay in sight; a stored position (Save Current Position) still wins.
  // Before the frame is first shown the area has no size yet; the frame's own stands in for it.
  QMdiArea* area = m_mainFrame->GetMdiArea();
  const QSize room = area->isVisible() ? area->viewport()->size() : m_mainFrame->size() - QSize(0, 100);
  if (room.width() > 100 && room.height() > 100 && !frame->HasSavedSize())
    frame->resize(frame->sizeHint().boundedTo(room * 3 / 4));
  view->OnUpdate(0);
  m_mainFrame->OnUpdateFrameTitle();
  frame->show();
  area->setActiveSubWindow(frame);
}

CFileDoc* CApp::NewLibrary() {
  if (!m_mainFrame)
    return nullptr;
  auto* document = new CFileDoc(this);
  document->SetTitle(QStringLiteral("Untitled%1").arg(++m_untitledCount));
  ShowFrame(new CFileFrame(GetState()), new CFileView(*this, document));
  return document;
}

CFileDoc* CApp::OpenLibrary(const QString& path) {
  if (path.isEmpty() || !m_mainFrame)
    return nullptr;
  CFileDoc* document = FindLibrary(path);
  if (document) {
    CChildFrame* frame = document->GetFrame();
    if (frame->isMinimized())
      frame->showNormal();
    m_mainFrame->GetMdiArea()->setActiveSubWindow(frame);
  } else {
    auto loaded = std::make_unique<CFileDoc>(this);
    if (!loaded->OnOpenDocument(path))
      return nullptr;
    document = loaded.release();
    document->SetPathName(QFileInfo(path).absoluteFilePath());
    ShowFrame(new CFileFrame(GetState()), new CFileView(*this, document));
  }
  AddRecentFile(document->GetPathName());
  return document;
}

CFileDoc* CApp::PromptOpenLibrary() {
  // The box starts with the file name last confirmed in a library dialog.
  QString path;
  if (!CProfiledFileDialog::Prompt(CProfiledFileDialog::LIBRARY_OPEN, path, QApplication::activeWindow()))
    return nullptr;
  return OpenLibrary(path);
}

bool CApp::SaveAllModified() {
  for (CFileDoc* document : GetLibraries())
    if (!document->SaveModified())
      return false;
  return true;
}

void CApp::LoadRecentFiles() {
  m_recentFiles.clear();
  for (int i = 0; i < kRecentFileCount; ++i) {
    const QString path = QZP::CQtSettings().String(kRecentSection, RecentEntry(i));
    if (!path.isEmpty())
      m_recentFiles.append(path);
  }
}

void CApp::SaveRecentFiles() const {
  for (int i = 0; i < kRecentFileCount; ++i)
    QZP::CQtSettings().SetString(kRecentSection, RecentEntry(i), i < m_recentFiles.size() ? m_recentFiles.at(i) : QString());
}

void CApp::AddRecentFile(const QString& path) {
  if (path.isEmpty())
    return;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  m_recentFiles.removeAll(absolute);
  m_recentFiles.prepend(absolute);
  while (m_recentFiles.size() > kRecentFileCount)
    m_recentFiles.removeLast();
}

void CApp::RemoveRecentFile(int index) {
  if (index >= 0 && index < m_recentFiles.size())
    m_recentFiles.removeAt(index);
}


QStringList CApp::CommandLineFiles() const {
  QStringList files;
  for (const QString& file : m_options.files)
    if (!file.trimmed().isEmpty())
      files.append(file.trimmed());
  // A path with blanks that a launcher passed unquoted arrives in pieces: when the pieces do not all
  // name files but together they do, they are that one file.
  const QString joined = m_options.files.join(QLatin1Char(' '));
  const bool allExist =
      std::all_of(files.begin(), files.end(), [](const QString& file) { return QFileInfo::exists(file); });
  if (files.size() > 1 && !allExist && QFileInfo(joined).isFile())
    files = QStringList{joined};
  return files;
}

bool CApp::ProcessCommandLine() {
  // Each file as a dropped one: opened or imported, a failure said and the next one tried. Relative paths
  // are taken from the current folder. The start ends only when none of them could be opened.
  const QStringList files = CommandLineFiles();
  if (files.isEmpty())
    return true;
  bool any = false;
  for (const QString& file : files)
    any = OpenAnyFile(QFileInfo(file).absoluteFilePath()) || any;
  return any;
}

CFileDoc* CApp::NewLibraryWith(const QZML::CPatchArray& patches, QZML::CDataModel model) {
  CFileDoc* document = NewLibrary();
  if (!document)
    return nullptr;
  document->GetPatches() = patches;
  document->GetData().m_current.m_model = model;
  document->SetModifiedFlag(true);
  document->UpdateAllViews();
  return document;
}

CFileDoc* CApp::NewImportedLibrary(QZML::CPatchArray patches) {
  // The importers make QZ-MAX patches: for a QZ-5 they are converted as a QZ-MAX library file would be,
  // and without the conversion the library keeps them as the QZ-MAX data they are.
  QZML::CAppState& state = GetState();
  const bool adapted = state.AdaptPatches(patches, QZML::MODEL_QZMAX, state.GetTargetModel());
  return NewLibraryWith(patches, adapted ? QZML::CDataModel() : QZML::CDataModel(QZML::MODEL_QZMAX));
}

bool CApp::OpenAnyFile(const QString& path) {
  CFileDoc::SetReportLoadErrors(false);
  const std::string file = path.toStdString();
  bool opened = false;
  {
    QZML::CZKLImporter zkl;
    if (zkl.Import(file, m_errorBuffer)) {
      opened = NewImportedLibrary(zkl.GetPatches()) != nullptr;
    } else {
      if (m_errorBuffer)
        m_errorBuffer->m_pendingError = TEXTOUT_ERR_NONE;
      QZML::CQZ3Importer qz3;
      if (qz3.Import(file, m_errorBuffer)) {
        opened = NewImportedLibrary(qz3.GetPatches()) != nullptr;
      } else {
        if (m_errorBuffer)
          m_errorBuffer->m_pendingError = TEXTOUT_ERR_NONE;
        opened = OpenLibrary(path) != nullptr;
        if (!opened) {
          // A file that did not open may have left no code of its own.
          if (m_errorBuffer && m_errorBuffer->m_pendingError == TEXTOUT_ERR_NONE)
            m_errorBuffer->m_pendingError = TEXTOUT_ERR_LOAD;
          ShowPendingError();
        }
      }
    }
  }
  CFileDoc::SetReportLoadErrors(true);
  return opened;
}

void CApp::OnDropFiles(const QStringList& paths) {
  CWaitCursor wait;
  for (const QString& path : paths)
    OpenAnyFile(path);
}

void CApp::ShowPendingError() {
  if (!m_errorBuffer)
    return;
  const ETextOutError code = m_errorBuffer->m_pendingError;
  m_errorBuffer->m_pendingError = TEXTOUT_ERR_NONE;
  if (code == TEXTOUT_ERR_NO_ANSWER && m_midi) {
    // The unit did not answer: rather than leave the user to guess ports and device ID, offer to look.
    if (AppMessageBox(QApplication::activeWindow(), QMessageBox::Warning,
                      CTextOutBox::ErrorText(code) + QStringLiteral("\n\n") + tr(kFindUnitQuestion),
                      QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
      RunMidiSetup(true);
    return;
  }
  if (code != TEXTOUT_ERR_NONE && m_textOutBox)
    m_textOutBox->Error(code);
}

void CApp::OnAboutToBlock() {
  // Only the outermost loop: not a command pumping events, not a modal dialog's loop.
  if (CGuiApplication::NotifyDepth() != 0 || QApplication::activeModalWidget())
    return;
  if (m_progress && m_progress->GetDepth() > 0)
    return;
  if (!m_mainFrame || m_exited)
    return;
  // Message boxes and file loads wait for the event loop proper.
  if (!m_reportScheduled &&
      ((m_errorBuffer && m_errorBuffer->m_pendingError != TEXTOUT_ERR_NONE) || !m_handOvers.isEmpty())) {
    m_reportScheduled = true;
    QTimer::singleShot(0, this, &CApp::ReportPendingError);
  }
}

void CApp::ReportPendingError() {
  m_reportScheduled = false;
  ShowPendingError();
  ProcessHandOvers();
}

void CApp::OnSecondInstance(const QString& path) {
  // The frame comes forward at once; the file waits until no command is running.
  if (m_mainFrame) {
    if (m_mainFrame->isMinimized())
      m_mainFrame->showNormal();
    m_mainFrame->show();
    m_mainFrame->raise();
    m_mainFrame->activateWindow();
  }
  m_handOvers.append(path);
  if (CGuiApplication::NotifyDepth() <= 1 && !QApplication::activeModalWidget() &&
      !(m_progress && m_progress->GetDepth() > 0) && !m_reportScheduled) {
    m_reportScheduled = true;
    QTimer::singleShot(0, this, &CApp::ReportPendingError);
  }
}

void CApp::ProcessHandOvers() {
  const QStringList paths = m_handOvers;
  m_handOvers.clear();
  for (const QString& path : paths) {
    if (!path.isEmpty()) {
      CWaitCursor wait;
      OpenAnyFile(path);
    }
    emit HandOverDone(path);
  }
}

void CApp::ChangeTargetModel(QZML::EModel model) {
  QZML::CAppState& state = GetState();
  if (model == state.GetTargetModel())
    return;
  CWaitCursor wait;
  const QZML::EModel previous = state.GetTargetModel();
  const bool convert = state.SetTargetModel(model, false) != QZML::CONVERT_NONE;
  if (CImageDoc* main = GetMainDocument()) {
    main->AdaptToModelSwitch(previous, convert);
    main->UpdateAllViews();
  }
  for (CFileDoc* document : GetLibraries())
    if (document->AdaptToModelSwitch(previous, convert)) {
      document->SetModifiedFlag(true);
      document->UpdateAllViews();
    }
  emit targetModelChanged();
  if (m_mainFrame)
    m_mainFrame->OnUpdateFrameTitle();
}

void CApp::ChangeGrid(int grid) {
  GetState().SetGridSwitch(grid);
  if (m_mainView)
    m_mainView->ApplyGrid();
  for (CFileDoc* document : GetLibraries())
    if (auto* view = qobject_cast<CListFormView*>(document->GetView()))
      view->ApplyGrid();
}

void CApp::NotifyFontChanged() {
  if (m_mainView)
    m_mainView->OnUpdate(HINT_FONT_CHANGED);
  for (CFileDoc* document : GetLibraries())
    document->UpdateAllViews(HINT_FONT_CHANGED);
}

QString CApp::GetManualPath() const {
  if (m_manualPath.isEmpty())
    m_manualPath = ProgramFilePath(CProgramFile::Manual);
  return m_manualPath;
}

const CCommandTable<CApp>& CApp::Commands() {
  static const CCommandTable<CApp> table = {
      {{ID_FILE_NEW, "&New", Ctrl(Qt::Key_N), "Create a new library", EMenu::File, 10, 10, true},
       [](CApp& a) { a.NewLibrary(); }},
      {{ID_FILE_OPEN, "&Open...", Ctrl(Qt::Key_O), "Open an existing library", EMenu::File, 12, 11, true},
       [](CApp& a) { a.PromptOpenLibrary(); }},
      {{ID_FILE_IMPORT_ZKL, "Import &ZK-40 Librarian File...", 0, "Open a ZK-40 librarian file as a new library",
        EMenu::File, 30},
       [](CApp& a) { a.ImportForeign(true); }},
      {{ID_FILE_IMPORT_QZ3, "Import QZ-&3 Bulk Dump File...", 0, "Open a QZ-3 bulk dump as a new library",
        EMenu::File, 31},
       [](CApp& a) { a.ImportForeign(false); }},
      {{ID_SETUP_MIDI, "Set Up &MIDI Devices...", 0, "Choose the MIDI ports and device ID", EMenu::Setup, 10},
       [](CApp& a) { a.OnSetupMidi(); }},
      {{ID_SETUP_FONT, "Set Up &Font...", 0, "Choose the font of the patch lists", EMenu::Setup, 11},
       [](CApp& a) { a.OnSetupFont(); }},
      {{ID_SETUP_TARGET_MODEL, "Select &Target Model...", 0, "Choose the model the librarian works with",
        EMenu::Setup, 13},
       [](CApp& a) { a.OnSelectTargetModel(); }},
      {{ID_SETUP_RESTORE_CONFIRMATIONS, "&Restore Confirmations", 0,
        "Ask again every confirmation that was switched off", EMenu::Setup, 20},
       [](CApp& a) { a.OnRestoreConfirmations(); }},
      {{ID_HELP_MANUAL, "QZ-MAX Librarian &Manual", Qt::Key_F1, "Open the manual", EMenu::Help, 10, 30, true},
       [](CApp& a) { a.OnHelpManual(); }},
      {{ID_APP_ABOUT, "&About QZ-MAX Librarian...", 0, "Show the program's version and copyright", EMenu::Help, 20, 0,
        true},
       [](CApp& a) { a.OnAppAbout(); }},
  };
  return table;
}

void CApp::OnAppAbout() {
  CAboutDialog dialog(m_mainFrame.get());
  DoModal(dialog);
}

void CApp::OnSetupMidi() { RunMidiSetup(false); }

void CApp::RunMidiSetup(bool findUnit) {
  if (!m_midi)
    return;
  CMidiSetupDialog dialog(*m_midi, GetState().GetModelName(), nullptr);
  // The dialog opens with what the search found, for the user to check and confirm with OK.
  if (findUnit)
    dialog.FindUnit();
  // A unit of the other model found there switches the target model as Select Target Model does.
  if (DoModal(dialog) == QDialog::Accepted)
    ChangeTargetModel(dialog.GetTargetModel());
}

void CApp::OnRestoreConfirmations() {
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    m_flags.Set(kind, 0);
  // Kept at once: the next start asks as well, whatever becomes of this run.
  m_flags.Save(m_settingsStore);
  m_settingsStore.Sync();
  if (m_mainFrame)
    m_mainFrame->statusBar()->showMessage(tr("Every confirmation is asked again."), 5000);
}

void CApp::OnSetupFont() {
  if (m_listFont.ChooseFont(m_mainFrame.get()) == 1)
    NotifyFontChanged();
}

void CApp::OnHelpManual() {
  // The program's own window: no web browser needed, and a missing manual is said.
  CHelpWindow::Open(GetManualPath(), m_mainFrame.get());
}

void CApp::OnSelectTargetModel() {
  CSelectTargetDlg dialog(GetState().GetTargetModel(), m_mainFrame.get());
  const std::optional<QZML::EModel> model = DoModal(dialog) == QDialog::Accepted ? dialog.GetModel() : std::nullopt;
  if (model)
    ChangeTargetModel(*model);
}

void CApp::ImportForeign(bool zkl) {
  QString path;
  if (!CProfiledFileDialog::Prompt(zkl ? CProfiledFileDialog::IMPORT_ZKL : CProfiledFileDialog::IMPORT_QZ3, path))
    return;
  CWaitCursor wait;
  bool imported = false;
  if (zkl) {
    QZML::CZKLImporter importer;
    imported = importer.Import(path.toStdString()) && NewImportedLibrary(importer.GetPatches());
  } else {
    QZML::CQZ3Importer importer;
    imported = importer.Import(path.toStdString()) && NewImportedLibrary(importer.GetPatches());
  }
  if (!imported)
    AppMessageBox(nullptr, QMessageBox::Warning, CTextOutBox::ErrorText(TEXTOUT_ERR_LOAD));
}
