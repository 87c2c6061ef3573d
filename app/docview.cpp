#include "app/docview.h"

#include "app/app.h"
#include "app/childframe.h"
#include "app/docman.h"
#include "app/messagebox.h"
#include "app/resource.h"
#include "gp/mdiframewndex.h"

#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>

CDocumentBase::CDocumentBase() = default;

CDocumentBase::~CDocumentBase() = default;

bool CDocumentBase::OnNewDocument() {
  m_path.clear();
  SetModifiedFlag(false);
  return true;
}

bool CDocumentBase::OnOpenDocument(const QString& path) {
  (void)path;
  return false;
}

bool CDocumentBase::OnSaveDocument(const QString& path) {
  (void)path;
  return false;
}

void CDocumentBase::OnCloseDocument() {
  if (m_closing)
    return;
  m_closing = true;
  // Frames go later: one of them may be the frame whose close brought us here.
  std::vector<CViewBase*> views = m_views;
  for (CViewBase* view : views) {
    if (CChildFrame* frame = view->GetParentFrame()) {
      frame->SetDocumentClosing();
      frame->hide();
      frame->deleteLater();
    }
  }
  if (m_template)
    m_template->RemoveDocument(this);
}

bool CDocumentBase::CanCloseFrame(CChildFrame* frame) {
  for (CViewBase* view : m_views)
    if (view->GetParentFrame() != frame)
      return true; // another frame keeps the document open
  return SaveModified();
}

bool CDocumentBase::SaveModified() {
  if (!IsModified())
    return true;
  const QString name = m_path.isEmpty() ? m_title : QFileInfo(m_path).fileName();
  switch (AppMessageBox(nullptr, QMessageBox::Question, QObject::tr("Save changes to %1?").arg(name),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
  case QMessageBox::Yes:
    return DoFileSave();
  case QMessageBox::No:
    return true;
  default:
    return false;
  }
}

bool CDocumentBase::DoFileSave() { return DoSave(m_path); }

bool CDocumentBase::DoSave(const QString& path, bool replacePath) {
  QString target = path;
  if (target.isEmpty()) {
    CApp* app = CApp::Instance();
    if (!app || !app->GetDocManager().DoPromptFileName(target, false, m_template))
      return false;
  }
  if (!OnSaveDocument(target))
    return false;
  if (replacePath) {
    SetPathName(target);
    if (CApp* app = CApp::Instance())
      app->GetDocManager().AddToRecentFileList(target);
  }
  return true;
}

void CDocumentBase::SetTitle(const QString& title) {
  m_title = title;
  UpdateFrameTitles();
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
  UpdateFrameTitles();
  emit modifiedChanged(modified);
}

void CDocumentBase::UpdateAllViews(CViewBase* sender, int hint) {
  std::vector<CViewBase*> views = m_views;
  for (CViewBase* view : views)
    if (view != sender)
      view->OnUpdate(sender, hint);
}

void CDocumentBase::UpdateFrameTitles() {
  for (CViewBase* view : m_views)
    if (CChildFrame* frame = view->GetParentFrame())
      frame->OnUpdateFrameTitle();
}

void CDocumentBase::AddView(CViewBase* view) {
  if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
    m_views.push_back(view);
}

void CDocumentBase::RemoveView(CViewBase* view) {
  m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

CViewBase::CViewBase(CDocumentBase* document, QWidget* parent) : QWidget(parent), m_document(document) {
  if (document) {
    document->AddView(this);
    connect(document, &CDocumentBase::modifiedChanged, this, &CViewBase::commandStateChanged);
  }
}

CViewBase::~CViewBase() {
  if (m_document)
    m_document->RemoveView(this);
}

CChildFrame* CViewBase::GetParentFrame() const {
  for (QWidget* widget = parentWidget(); widget; widget = widget->parentWidget())
    if (auto* frame = qobject_cast<CChildFrame*>(widget))
      return frame;
  return nullptr;
}

void CViewBase::OnInitialUpdate() { OnUpdate(nullptr, 0); }

void CViewBase::OnUpdate(CViewBase* sender, int hint) {
  (void)sender;
  (void)hint;
  update();
}

CDocTemplate::CDocTemplate(int id, const QString& docString, CDocFactory document, CFrameFactory frame,
                           CViewFactory view)
    : m_id(id), m_strings(docString.split(QLatin1Char('\n'))), m_documentFactory(std::move(document)),
      m_frameFactory(std::move(frame)), m_viewFactory(std::move(view)) {}

CDocTemplate::~CDocTemplate() {
  // Views may outlive this (they sit in frames the main frame deletes); they hold guarded pointers.
  m_documents.clear();
}

QString CDocTemplate::GetDocString(DocStringIndex index) const {
  return index < m_strings.size() ? m_strings.at(index) : QString();
}

std::vector<CDocumentBase*> CDocTemplate::GetDocuments() const {
  std::vector<CDocumentBase*> documents;
  for (const auto& document : m_documents)
    if (!document->m_closing)
      documents.push_back(document.get());
  return documents;
}

CDocumentBase* CDocTemplate::CreateNewDocument() {
  CDocumentBase* document = m_documentFactory();
  if (!document)
    return nullptr;
  document->m_template = this;
  m_documents.emplace_back(document);
  return document;
}

CChildFrame* CDocTemplate::CreateNewFrame(CDocumentBase* document) {
  CChildFrame* frame = m_frameFactory();
  CViewBase* view = m_viewFactory(document);
  frame->SetView(view);
  if (m_mainFrame) {
    m_mainFrame->AddChild(frame);
    // A new child takes the view's preferred size within three quarters of the area, so the windows
    // under it stay in sight; a stored position (Save Current Position) still wins.
    // Before the frame is first shown the area has no size yet; the frame's own stands in for it.
    QMdiArea* area = m_mainFrame->GetMdiArea();
    const QSize room = area->isVisible() ? area->viewport()->size() : m_mainFrame->size() - QSize(0, 100);
    if (room.width() > 100 && room.height() > 100 && !frame->HasSavedSize())
      frame->resize(frame->sizeHint().boundedTo(room * 3 / 4));
  }
  return frame;
}

void CDocTemplate::InitialUpdateFrame(CChildFrame* frame, CDocumentBase* document, bool makeVisible) {
  (void)document;
  if (CViewBase* view = frame->GetActiveView())
    view->OnInitialUpdate();
  frame->OnUpdateFrameTitle();
  if (makeVisible) {
    frame->show();
    if (QMdiArea* area = frame->mdiArea())
      area->setActiveSubWindow(frame);
  }
}

CDocumentBase* CDocTemplate::FindDocument(const QString& path) const {
  const QFileInfo wanted(path);
  for (const auto& document : m_documents) {
    if (document->m_closing || document->GetPathName().isEmpty())
      continue;
    const QFileInfo open(document->GetPathName());
    if (open == wanted || open.absoluteFilePath() == wanted.absoluteFilePath())
      return document.get();
  }
  return nullptr;
}

CDocumentBase* CDocTemplate::OpenDocumentFile(const QString& path) {
  if (!path.isEmpty()) {
    if (CDocumentBase* open = FindDocument(path)) {
      if (CViewBase* view = open->GetFirstView())
        if (CChildFrame* frame = view->GetParentFrame()) {
          if (frame->isMinimized())
            frame->showNormal();
          if (QMdiArea* area = frame->mdiArea())
            area->setActiveSubWindow(frame);
        }
      return open;
    }
  }
  CDocumentBase* document = CreateNewDocument();
  if (!document)
    return nullptr;
  if (path.isEmpty()) {
    SetDefaultTitle(document);
    if (!document->OnNewDocument()) {
      DestroyDocument(document);
      return nullptr;
    }
  } else {
    if (!document->OnOpenDocument(path)) {
      DestroyDocument(document);
      return nullptr;
    }
    document->SetPathName(QFileInfo(path).absoluteFilePath());
  }
  CChildFrame* frame = CreateNewFrame(document);
  InitialUpdateFrame(frame, document);
  return document;
}

void CDocTemplate::SetDefaultTitle(CDocumentBase* document) {
  const QString name = GetDocString(docName);
  document->SetTitle(name.isEmpty() ? QString() : name + QString::number(++m_untitledCount));
}

bool CDocTemplate::SaveAllModified() {
  for (CDocumentBase* document : GetDocuments())
    if (!document->SaveModified())
      return false;
  return true;
}

void CDocTemplate::CloseAllDocuments() {
  for (CDocumentBase* document : GetDocuments())
    document->OnCloseDocument();
}

void CDocTemplate::RemoveDocument(CDocumentBase* document) {
  auto it = std::find_if(m_documents.begin(), m_documents.end(),
                         [document](const std::unique_ptr<CDocumentBase>& held) { return held.get() == document; });
  if (it == m_documents.end())
    return;
  it->release()->deleteLater();
  m_documents.erase(it);
}

void CDocTemplate::DestroyDocument(CDocumentBase* document) {
  auto it = std::find_if(m_documents.begin(), m_documents.end(),
                         [document](const std::unique_ptr<CDocumentBase>& held) { return held.get() == document; });
  if (it != m_documents.end())
    m_documents.erase(it);
}
