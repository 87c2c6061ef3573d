#include "app/docview.h"

#include "app/childframe.h"

#include <QFileInfo>

void CDocumentBase::SetTitle(const QString& title) {
  m_title = title;
  emit titleChanged(title);
}

void CDocumentBase::SetPathName(const QString& path) {
  m_path = path;
  SetTitle(QFileInfo(path).fileName());
}

void CDocumentBase::SetModifiedFlag(bool modified) {
  if (m_modified == modified)
    return;
  m_modified = modified;
  emit modifiedChanged(modified);
}

CChildFrame* CDocumentBase::GetFrame() const { return qobject_cast<CChildFrame*>(parent()); }

CViewBase* CDocumentBase::GetView() const {
  CChildFrame* frame = GetFrame();
  return frame ? frame->GetActiveView() : nullptr;
}

CViewBase::CViewBase(CDocumentBase* document, QWidget* parent) : QWidget(parent), m_document(document) {
  if (document) {
    connect(document, &CDocumentBase::contentChanged, this, &CViewBase::OnUpdate);
    connect(document, &CDocumentBase::modifiedChanged, this, &CViewBase::commandStateChanged);
  }
}

CChildFrame* CViewBase::GetParentFrame() const {
  for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget())
    if (auto* frame = qobject_cast<CChildFrame*>(widget))
      return frame;
  return nullptr;
}

void CViewBase::OnUpdate(int hint) {
  (void)hint;
  update();
}
