#include "app/fileframe.h"

#include "app/filedoc.h"
#include "app/resource.h"
#include "model/appstate.h"

CFileFrame::CFileFrame(QWidget* parent) : CChildFrame(IDR_LIBRARYTYPE, parent) {}

QString CFileFrame::GetFrameTitle() const {
  const CDocumentBase* document = GetActiveDocument();
  return QStringLiteral("%1 : %2 %3")
      .arg(QString::fromLatin1(QZML::CAppState::Instance().GetModelName()),
           document ? document->GetTitle() : QString(),
           document && document->IsModified() ? QStringLiteral("*") : QString());
}

bool CFileFrame::CanClose() {
  auto* document = qobject_cast<CFileDoc*>(GetActiveDocument());
  return !document || document->SaveModified();
}
