#pragma once
// The document manager: the document templates in the order they were registered, New and Open, the
// file-name prompt of library files and the recent-file list ("Recent File List", "File1".."File8").

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

#include "app/docview.h"

class CDocMan {
public:
  static constexpr int kRecentFileCount = 8;

  CDocMan();
  virtual ~CDocMan();

  // Takes ownership; the first template registered takes every file that is opened.
  void AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
  const std::vector<std::unique_ptr<CDocTemplate>>& GetTemplates() const { return m_templates; }

  // New: an untitled document of the first template whose document type has a name.
  CDocumentBase* OnFileNew();
  // Open: the prompt, then OpenDocumentFile.
  CDocumentBase* OnFileOpen();
  // Opens path with the first template; a document opened this way enters the recent-file list.
  CDocumentBase* OpenDocumentFile(const QString& path);

  // The file-name prompt of library files (open or save); true with the chosen full path.
  virtual bool DoPromptFileName(QString& path, bool open, CDocTemplate* docTemplate);

  bool SaveAllModified();
  void CloseAllDocuments();

  // Recent files, most recent first.
  void LoadRecentFileList();
  void SaveRecentFileList() const;
  void AddToRecentFileList(const QString& path);
  void RemoveFromRecentFileList(int index);
  const QStringList& GetRecentFiles() const { return m_recentFiles; }

private:
  std::vector<std::unique_ptr<CDocTemplate>> m_templates;
  QStringList m_recentFiles;
};
