#include "app/filedoc.h"

#include "app/app.h"
#include "app/messagebox.h"
#include "app/profiledfiledialog.h"
#include "model/appstate.h"
#include "model/convert.h"
#include "textout/textout.h"

#include <QApplication>
#include <QFileInfo>

namespace {

bool s_reportLoadErrors = true;

} // namespace

CFileDoc::CFileDoc(CApp* app) : m_app(app) {}

void CFileDoc::SetReportLoadErrors(bool report) { s_reportLoadErrors = report; }

bool CFileDoc::GetReportLoadErrors() { return s_reportLoadErrors; }

bool CFileDoc::OnOpenDocument(const QString& path) {
  CZelTextOutBuffer* pending = m_app ? m_app->GetErrorBuffer() : nullptr;
  m_data.SetErrorOutput(pending);
  bool converted = false;
  const bool loaded = m_data.LoadFile(path.toStdString(), converted);
  if (!loaded) {
    if (s_reportLoadErrors && m_app)
      m_app->ShowPendingError();
    return false;
  }
  m_data.ClearUndo();
  SetModifiedFlag(converted);
  return true;
}

bool CFileDoc::OnSaveDocument(const QString& path) {
  CZelTextOutBuffer* pending = m_app ? m_app->GetErrorBuffer() : nullptr;
  m_data.SetErrorOutput(pending);
  if (!m_data.SaveFile(path.toStdString())) {
    if (pending && pending->m_pendingError == TEXTOUT_ERR_NONE)
      pending->Error(TEXTOUT_ERR_SAVE);
    if (m_app)
      m_app->ShowPendingError();
    return false;
  }
  SetModifiedFlag(false);
  return true;
}

bool CFileDoc::SaveModified() {
  if (!IsModified())
    return true;
  const QString name = GetPathName().isEmpty() ? GetTitle() : QFileInfo(GetPathName()).fileName();
  switch (AppMessageBox(nullptr, QMessageBox::Question, tr("Save changes to %1?").arg(name),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
  case QMessageBox::Yes:
    return DoFileSave();
  case QMessageBox::No:
    return true;
  default:
    return false;
  }
}

bool CFileDoc::DoSave(const QString& path) {
  QString target = path;
  // A library with a file of its own proposes that file; otherwise the box starts with the file name
  // last confirmed in a library dialog, not the document's title.
  if (target.isEmpty() && !CProfiledFileDialog::Prompt(CProfiledFileDialog::LIBRARY_SAVE, target,
                                                       QApplication::activeWindow(), GetPathName()))
    return false;
  if (!OnSaveDocument(target))
    return false;
  SetPathName(target);
  if (m_app)
    m_app->AddRecentFile(target);
  return true;
}

bool CFileDoc::AdaptToModelSwitch(QZML::EModel previous, bool convert) {
  // The data's own model from before the switch: untagged data was the previous target's.
  const QZML::EModel model = m_data.m_current.m_model.value_or(previous);
  const bool changes = convert && model != QZML::CAppState::Instance().GetTargetModel();
  QZML::AdaptToModelSwitch(m_data.m_current, previous, convert);
  QZML::AdaptToModelSwitch(m_data.m_snapshot, previous, convert);
  return changes;
}
