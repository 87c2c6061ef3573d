#include "app/docman.h"

#include "app/resource.h"
#include "gp/profile.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {

const QString kRecentSection = QStringLiteral("Recent File List");

QString RecentEntry(int index) { return QStringLiteral("File%1").arg(index + 1); }

} // namespace

CDocMan::CDocMan() = default;

CDocMan::~CDocMan() = default;

void CDocMan::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate) {
  m_templates.push_back(std::move(docTemplate));
}

CDocumentBase* CDocMan::OnFileNew() {
  for (const auto& docTemplate : m_templates)
    if (!docTemplate->GetDocString(CDocTemplate::fileNewName).isEmpty())
      return docTemplate->OpenDocumentFile(QString());
  return nullptr;
}

CDocumentBase* CDocMan::OnFileOpen() {
  QString path;
  if (!DoPromptFileName(path, true, m_templates.empty() ? nullptr : m_templates.front().get()))
    return nullptr;
  return OpenDocumentFile(path);
}

CDocumentBase* CDocMan::OpenDocumentFile(const QString& path) {
  if (m_templates.empty() || path.isEmpty())
    return nullptr;
  CDocumentBase* document = m_templates.front()->OpenDocumentFile(path);
  if (document)
    AddToRecentFileList(document->GetPathName());
  return document;
}

bool CDocMan::DoPromptFileName(QString& path, bool open, CDocTemplate* docTemplate) {
  QString filter;
  if (docTemplate) {
    const QString ext = docTemplate->GetDocString(CDocTemplate::filterExt);
    filter = QStringLiteral("%1 Librarian Files (*%2);;All Files (*)").arg(QString::fromLatin1(kProductModelName), ext);
  }
  QWidget* parent = QApplication::activeWindow();
  const QString chosen = open ? QFileDialog::getOpenFileName(parent, QObject::tr("Open"), path, filter)
                              : QFileDialog::getSaveFileName(parent, QObject::tr("Save As"), path, filter);
  if (chosen.isEmpty())
    return false;
  path = chosen;
  if (!open && QFileInfo(path).suffix().isEmpty())
    path += QString::fromLatin1(kLibraryExtension);
  return true;
}

bool CDocMan::SaveAllModified() {
  for (const auto& docTemplate : m_templates)
    if (!docTemplate->SaveAllModified())
      return false;
  return true;
}

void CDocMan::CloseAllDocuments() {
  for (const auto& docTemplate : m_templates)
    docTemplate->CloseAllDocuments();
}

void CDocMan::LoadRecentFileList() {
  m_recentFiles.clear();
  for (int i = 0; i < kRecentFileCount; ++i) {
    const QString path = GP::GetProfileString(kRecentSection, RecentEntry(i));
    if (!path.isEmpty())
      m_recentFiles.append(path);
  }
}

void CDocMan::SaveRecentFileList() const {
  for (int i = 0; i < kRecentFileCount; ++i)
    GP::WriteProfileString(kRecentSection, RecentEntry(i), i < m_recentFiles.size() ? m_recentFiles.at(i) : QString());
}

void CDocMan::AddToRecentFileList(const QString& path) {
  if (path.isEmpty())
    return;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  m_recentFiles.removeAll(absolute);
  m_recentFiles.prepend(absolute);
  while (m_recentFiles.size() > kRecentFileCount)
    m_recentFiles.removeLast();
}

void CDocMan::RemoveFromRecentFileList(int index) {
  if (index >= 0 && index < m_recentFiles.size())
    m_recentFiles.removeAt(index);
}
