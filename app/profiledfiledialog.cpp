#include "app/profiledfiledialog.h"

#include "app/messagebox.h"
#include "app/programfiles.h"
#include "app/resource.h"
#include "platform/qtsettings.h"
#include "platform/settingsections.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char kSmfFilter[] = "Standard MIDI Files(*.mid)|*.mid|All Files(*.*)|*.*||";
const char kSysExFilter[] = "SysEx files (*.syx)|*.syx|All Files(*.*)|*.*||";

bool Used(const QString& section, const QString& entry) { return !section.isEmpty() && !entry.isEmpty(); }

} // namespace

CProfiledFileDialog::CProfiledFileDialog(bool open, QWidget* parent) : QFileDialog(parent), m_open(open) {
  setObjectName(QStringLiteral("profiledFileDialog"));
  setOption(QFileDialog::ReadOnly, false);
  if (open) {
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
  } else {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
  }
  setWindowTitle(open ? tr("Open") : tr("Save As"));
  connect(this, &QFileDialog::directoryEntered, this, &CProfiledFileDialog::OnFolderShown);
}

void CProfiledFileDialog::SetFilter(const QString& filter) {
  // Pairs of shown text and pattern list; the shown text carries the patterns in brackets, which is
  // where the dialog takes them from, so they are written the way this platform matches them.
  const QStringList parts = filter.split(QLatin1Char('|'));
  m_filters.clear();
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString text = parts.at(i);
    const QString patterns = parts.at(i + 1);
    if (text.isEmpty())
      break;
    const int bracket = text.lastIndexOf(QLatin1Char('('));
    if (bracket > 0 && text.endsWith(QLatin1Char(')')))
      text.truncate(bracket);
    QString own = patterns;
    own.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    own.replace(QLatin1Char(';'), QLatin1Char(' '));
    m_filters.append(QStringLiteral("%1(%2)").arg(text, own));
  }
  setNameFilters(m_filters);
}

void CProfiledFileDialog::LoadInitialFolder(const QString& section, const QString& entry, const QString& defaultFolder) {
  m_folderSection = section;
  m_folderEntry = entry;
  QString folder = defaultFolder;
  if (Used(section, entry))
    folder = QZP::CQtSettings().String(section, entry, defaultFolder);
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
    setDirectory(folder);
    m_currentFolder = QDir(folder).absolutePath();
  } else {
    m_currentFolder = directory().absolutePath();
  }
}

void CProfiledFileDialog::ShowFolder(const QString& folder) {
  setDirectory(folder);
  m_currentFolder = QDir(folder).absolutePath();
}

void CProfiledFileDialog::LoadInitialFileName(const QString& section, const QString& entry, const QString& defaultName) {
  m_nameSection = section;
  m_nameEntry = entry;
  QString name = defaultName;
  if (Used(section, entry))
    name = QZP::CQtSettings().String(section, entry, defaultName);
  if (!name.isEmpty())
    selectFile(name);
}

void CProfiledFileDialog::LoadInitialFilterIndex(const QString& section, const QString& entry, int defaultIndex) {
  m_filterSection = section;
  m_filterEntry = entry;
  int index = defaultIndex;
  if (Used(section, entry))
    index = QZP::CQtSettings().Int(section, entry, defaultIndex);
  // Counted from 1; 0 and anything out of range is the first filter.
  if (index >= 1 && index <= m_filters.size())
    selectNameFilter(m_filters.at(index - 1));
}

void CProfiledFileDialog::OnFolderShown(const QString& folder) {
  m_currentFolder = QDir(folder).absolutePath();
  QString shown = QDir::toNativeSeparators(m_currentFolder);
  if (!shown.endsWith(QDir::separator()))
    shown += QDir::separator();
  setWindowTitle(QStringLiteral("%1 - %2").arg(m_open ? tr("Open") : tr("Save As"), shown));
}

int CProfiledFileDialog::Run() {
  OnFolderShown(m_currentFolder.isEmpty() ? directory().absolutePath() : m_currentFolder);
  const int result = DoModal(*this);
  // The dialog may have been left in another folder than the one it last reported.
  const QString chosen = result == QDialog::Accepted ? GetPathName() : QString();
  if (!chosen.isEmpty())
    m_currentFolder = QFileInfo(chosen).absolutePath();
  if (Used(m_folderSection, m_folderEntry) && !m_currentFolder.isEmpty())
    QZP::CQtSettings().SetString(m_folderSection, m_folderEntry, m_currentFolder);
  if (result == QDialog::Accepted && Used(m_nameSection, m_nameEntry) && !chosen.isEmpty())
    QZP::CQtSettings().SetString(m_nameSection, m_nameEntry, QFileInfo(chosen).fileName());
  if (Used(m_filterSection, m_filterEntry)) {
    const int index = static_cast<int>(m_filters.indexOf(selectedNameFilter()));
    QZP::CQtSettings().SetInt(m_filterSection, m_filterEntry, index < 0 ? 1 : index + 1);
  }
  return result;
}

QString CProfiledFileDialog::GetPathName() const {
  const QStringList files = selectedFiles();
  return files.isEmpty() ? QString() : QFileInfo(files.front()).absoluteFilePath();
}

QString CProfiledFileDialog::Section(Purpose purpose) {
  switch (purpose) {
  case LIBRARY_OPEN:
  case LIBRARY_SAVE:
    return QString::fromLatin1(QZP::kSectionLibraryFiles);
  case IMPORT_ZKL:
    return QString::fromLatin1(QZP::kSectionZklFiles);
  case IMPORT_QZ3:
    return QString::fromLatin1(QZP::kSectionQz3Files);
  case IMPORT_SMF:
  case EXPORT_SMF:
    return QString::fromLatin1(QZP::kSectionSmfFiles);
  case IMPORT_SYSEX:
  case EXPORT_SYSEX:
    return QString::fromLatin1(QZP::kSectionSysExFiles);
  }
  return QString();
}

QString CProfiledFileDialog::SampleSmfFolder() {
  static const QString folder = ProgramFilePath(CProgramFile::SampleSmf);
  return folder;
}

bool CProfiledFileDialog::Prompt(Purpose purpose, QString& path, QWidget* parent, const QString& proposal) {
  const bool open = purpose == LIBRARY_OPEN || purpose == IMPORT_ZKL || purpose == IMPORT_QZ3 || purpose == IMPORT_SMF ||
                    purpose == IMPORT_SYSEX;
  const QString section = Section(purpose);
  const QString folderEntry = QString::fromLatin1(kFolderEntry);
  const QString nameEntry = QString::fromLatin1(kFileNameEntry);
  CProfiledFileDialog dialog(open, parent);
  QString defaultFolder;
  QString defaultSuffix;
  switch (purpose) {
  case LIBRARY_OPEN:
  case LIBRARY_SAVE: {
    const QString ext = QString::fromLatin1(kLibraryExtension);
    dialog.SetFilter(QStringLiteral("%1 Librarian Files(*%2)|*%2|All Files(*.*)|*.*||")
                         .arg(QString::fromLatin1(kProductModelName), ext));
    defaultSuffix = QStringLiteral("qzl");
    break;
  }
  case IMPORT_ZKL:
    dialog.SetFilter(QStringLiteral("ZK-40 Librarian Files(*.zkl)|*.zkl|All Files(*.*)|*.*||"));
    defaultSuffix = QStringLiteral("zkl");
    break;
  case IMPORT_QZ3:
    dialog.SetFilter(QStringLiteral("QZ-3 Bulk Dump Files(*.mid)|*.mid|All Files(*.*)|*.*||"));
    defaultSuffix = QStringLiteral("mid");
    break;
  case IMPORT_SMF:
  case EXPORT_SMF:
    dialog.SetFilter(QString::fromLatin1(kSmfFilter));
    defaultFolder = SampleSmfFolder();
    if (QFileInfo(QZP::CQtSettings().String(section, nameEntry)).suffix().isEmpty())
      defaultSuffix = QStringLiteral("mid");
    break;
  case IMPORT_SYSEX:
  case EXPORT_SYSEX:
    dialog.SetFilter(QString::fromLatin1(kSysExFilter));
    if (QFileInfo(QZP::CQtSettings().String(section, nameEntry)).suffix().isEmpty())
      defaultSuffix = QStringLiteral("syx");
    break;
  }
  dialog.setDefaultSuffix(defaultSuffix);
  // The SMF and SysEx dialogs keep their size.
  dialog.setSizeGripEnabled(purpose != IMPORT_SMF && purpose != EXPORT_SMF && purpose != IMPORT_SYSEX &&
                            purpose != EXPORT_SYSEX);
  dialog.LoadInitialFolder(section, folderEntry, defaultFolder);
  dialog.LoadInitialFileName(section, nameEntry, QString());
  if (!proposal.isEmpty()) {
    const QFileInfo proposed(proposal);
    if (proposed.absoluteDir().exists())
      dialog.ShowFolder(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
  }
  dialog.LoadInitialFilterIndex(section, QString::fromLatin1(kFilterEntry), 1);
  if (dialog.Run() != QDialog::Accepted)
    return false;
  const QString chosen = dialog.GetPathName();
  if (chosen.isEmpty())
    return false;
  path = chosen;
  return true;
}
