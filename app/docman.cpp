#include "app/docman.h"

#include "app/profiledfiledialog.h"
#include "app/resource.h"
#include "platform/qtsettings.h"
#include "platform/settingsections.h"

#include <QApplication>
#include <QFileInfo>

namespace {

const QString kRecentSection = QString::fromLatin1(QZP::kSectionRecentFiles);

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
  // The box starts with the file name last confirmed in a library dialog, not the document's title.
  (void)docTemplate;
  return CProfiledFileDialog::Prompt(open ? CProfiledFileDialog::LIBRARY_OPEN : CProfiledFileDialog::LIBRARY_SAVE,
                                     path, QApplication::activeWindow());
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
    const QString path = QZP::CQtSettings().String(kRecentSection, RecentEntry(i));
    if (!path.isEmpty())
      m_recentFiles.append(path);
  }
}

void CDocMan::SaveRecentFileList() const {
  for (int i = 0; i < kRecentFileCount; ++i)
    QZP::CQtSettings().SetString(kRecentSection, RecentEntry(i), i < m_recentFiles.size() ? m_recentFiles.at(i) : QString());
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
