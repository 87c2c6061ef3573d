#include "app/filedoc.h"

#include "app/app.h"
#include "model/appstate.h"
#include "model/convert.h"
#include "textout/textout.h"

namespace {

bool s_reportLoadErrors = true;

} // namespace

CFileDoc::CFileDoc() = default;

void CFileDoc::SetReportLoadErrors(bool report) { s_reportLoadErrors = report; }

bool CFileDoc::GetReportLoadErrors() { return s_reportLoadErrors; }

bool CFileDoc::OnNewDocument() {
  if (!CDocumentBase::OnNewDocument())
    return false;
  GetPatches().Clear();
  m_data.ClearUndo();
  return true;
}

bool CFileDoc::OnOpenDocument(const QString& path) {
  CApp* app = CApp::Instance();
  CZelTextOutBuffer* pending = app ? app->GetErrorBuffer() : nullptr;
  m_data.SetErrorOutput(pending);
  bool converted = false;
  const bool loaded = m_data.LoadFile(path.toStdString(), converted);
  if (!loaded) {
    if (s_reportLoadErrors && app)
      app->ShowPendingError();
    return false;
  }
  m_data.ClearUndo();
  SetModifiedFlag(converted);
  return true;
}

bool CFileDoc::OnSaveDocument(const QString& path) {
  CApp* app = CApp::Instance();
  CZelTextOutBuffer* pending = app ? app->GetErrorBuffer() : nullptr;
  m_data.SetErrorOutput(pending);
  if (!m_data.SaveFile(path.toStdString())) {
    if (pending && pending->m_pendingError == TEXTOUT_ERR_NONE)
      pending->Error(TEXTOUT_ERR_SAVE);
    if (app)
      app->ShowPendingError();
    return false;
  }
  SetModifiedFlag(false);
  return true;
}

bool CFileDoc::AdaptToModelSwitch(int previous, bool convert) {
  // The data's own model from before the switch: untagged data was the previous target's.
  const int model = m_data.m_current.m_model >= 0 ? m_data.m_current.m_model : previous;
  const bool changes = convert && model != QZML::CAppState::Instance().GetTargetModel();
  QZML::AdaptToModelSwitch(m_data.m_current, previous, convert);
  QZML::AdaptToModelSwitch(m_data.m_snapshot, previous, convert);
  return changes;
}
