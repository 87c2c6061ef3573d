#include "windowtestsupport.h"

#include "app/appmidi.h"
#include "app/imagedoc.h"
#include "app/midiwarningdlg.h"
#include "app/profiledfiledialog.h"
#include "midi/patchstream.h"
#include "model/filedocument.h"
#include "sim/port/simport.h"

#include <QFileInfo>

QZML::CPatchArray NamedPatches(int count, const char* prefix) {
  QZML::CPatchArray patches;
  patches.Resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    patches.Get(static_cast<std::size_t>(i))->SetName(prefix + std::to_string(i));
  return patches;
}

QString Name(const QZML::CPatchArray& patches, int index) {
  const QZML::CPatch* patch = patches.Get(static_cast<std::size_t>(index));
  return patch ? QString::fromStdString(patch->GetName()).trimmed() : QStringLiteral("<none>");
}

QStringList Names(const QZML::CPatchArray& patches) {
  QStringList names;
  for (int i = 0; i < static_cast<int>(patches.size()); ++i)
    names.append(Name(patches, i));
  return names;
}

CFileDoc* Library(CApp& app, const QZML::CPatchArray& patches, QZML::CDataModel model) {
  CFileDoc* document = app.NewLibraryWith(patches, model);
  if (document)
    document->SetModifiedFlag(false);
  return document;
}

CFileDoc* Library(CApp& app, int count, const char* prefix) { return Library(app, NamedPatches(count, prefix)); }

CFileView* ViewOf(CFileDoc* document) {
  return document ? qobject_cast<CFileView*>(document->GetView()) : nullptr;
}

QString Caption(CDocumentBase* document) { return document->GetView()->GetParentFrame()->windowTitle(); }

void NameMain(CApp& app, const char* prefix) {
  CImageDoc* doc = app.GetMainDocument();
  doc->GetPatches() = NamedPatches(static_cast<int>(doc->GetPatches().size()), prefix);
  doc->UpdateAllViews();
}

bool LoadUnit(CApp& app, const QZML::CPatchArray& patches) {
  CSimPort* simulator = app.GetMidi()->Simulator();
  if (!simulator)
    return false;
  simulator->Stop();
  simulator->Unit().LoadUserPatches(patches);
  return simulator->Start();
}

QZML::CPatchArray UnitPatches(CApp& app) {
  CSimPort* simulator = app.GetMidi()->Simulator();
  QZML::CPatchArray patches;
  if (simulator) {
    simulator->Stop();
    simulator->Unit().SaveUserPatches(patches);
    simulator->Start();
  }
  return patches;
}

QString UnitTemporaryName(CApp& app) {
  CSimPort* simulator = app.GetMidi()->Simulator();
  if (!simulator)
    return QString();
  simulator->Stop();
  QZML::CPatch temporary;
  simulator->Unit().GetTemporaryPatch(temporary);
  simulator->Start();
  return QString::fromStdString(temporary.GetName()).trimmed();
}

bool SaveLibraryFile(const QString& path, const QZML::CPatchArray& patches) {
  QZML::CFileDocument file;
  file.m_current.m_patches = patches;
  return file.SaveFile(path.toStdString());
}

CDialogAnswers::CDialogAnswers(CTestUi& ui) {
  ui.OnModal([this](QDialog& dialog) {
    if (auto* file = qobject_cast<CProfiledFileDialog*>(&dialog)) {
      m_folders.append(QFileInfo(file->directory().absolutePath()).absoluteFilePath());
      const QStringList selected = file->selectedFiles();
      m_names.append(selected.isEmpty() ? QString() : QFileInfo(selected.front()).fileName());
      if (!m_moveTo.isEmpty()) {
        file->setDirectory(m_moveTo);
        emit file->directoryEntered(m_moveTo);
      }
      m_titles.append(file->windowTitle());
      const QString path = m_files.isEmpty() ? QString() : m_files.takeFirst();
      if (path.isEmpty()) {
        dialog.done(QDialog::Rejected);
        return int(QDialog::Rejected);
      }
      file->selectFile(path);
      dialog.done(QDialog::Accepted);
      return int(QDialog::Accepted);
    }
    if (auto* warning = qobject_cast<CMidiWarningDlg*>(&dialog)) {
      ++m_confirmations;
      m_kinds.append(warning->GetKind());
      dialog.accept();
      return int(QDialog::Accepted);
    }
    dialog.reject();
    return int(QDialog::Rejected);
  });
}

CFastTransfers::CFastTransfers() {
  if (CPumpingReader* reader = DeviceReader())
    reader->SetClock(&m_clock);
  if (QZML::CWriter* writer = DeviceWriter())
    writer->SetClock(&m_clock);
}

CFastTransfers::~CFastTransfers() {
  if (CPumpingReader* reader = DeviceReader())
    reader->SetClock(nullptr);
  if (QZML::CWriter* writer = DeviceWriter())
    writer->SetClock(nullptr);
}
