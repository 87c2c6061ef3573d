#include "app/fileframe.h"

#include "app/filedoc.h"
#include "app/resource.h"
#include "model/appstate.h"

CFileFrame::CFileFrame(const QZML::CAppState& state, QWidget* parent)
    : CChildFrame(IDR_LIBRARYTYPE, parent), m_state(state) {}

QString CFileFrame::GetFrameTitle() const {
  const CDocumentBase* document = GetActiveDocument();
  return QStringLiteral("%1 : %2 %3")
      .arg(QString::fromLatin1(m_state.GetModelName()),
           document ? document->GetTitle() : QString(),
           document && document->IsModified() ? QStringLiteral("*") : QString());
}

bool CFileFrame::CanClose() {
  auto* document = qobject_cast<CFileDoc*>(GetActiveDocument());
  return !document || document->SaveModified();
}
