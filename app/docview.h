#pragma once
// The small document/view framework the windows are built on: a document template makes a document, a
// child frame and a view for it; a document keeps its views, its title, path and modified flag; a view
// is a widget that shows its document and is told when the document changed (update hints).

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class CChildFrame;
class CDocTemplate;
class CViewBase;
namespace GP {
class CMDIFrameWndEx;
}

class CDocumentBase : public QObject {
  Q_OBJECT
public:
  CDocumentBase();
  ~CDocumentBase() override;

  CDocTemplate* GetDocTemplate() const { return m_template; }

  // A new, empty document; false cancels its creation.
  virtual bool OnNewDocument();
  // Loads the document from path; false cancels its creation (the document has said why).
  virtual bool OnOpenDocument(const QString& path);
  // Saves to path; false when it failed (the document has said why).
  virtual bool OnSaveDocument(const QString& path);
  // Destroys every frame showing the document, then the document itself (later, when it is safe).
  virtual void OnCloseDocument();
  // Before a frame closes: when it is the document's last one, asks to save a modified document.
  virtual bool CanCloseFrame(CChildFrame* frame);
  // "Save changes to %1?" for a modified document; false when the user cancelled or the save failed.
  virtual bool SaveModified();
  // Save (to the path, or through Save As when there is none) and Save As.
  bool DoFileSave();
  bool DoSave(const QString& path, bool replacePath = true);

  const QString& GetTitle() const { return m_title; }
  virtual void SetTitle(const QString& title);
  const QString& GetPathName() const { return m_path; }
  // Sets the path and the title from its file name.
  virtual void SetPathName(const QString& path);

  bool IsModified() const { return m_modified; }
  virtual void SetModifiedFlag(bool modified = true);

  const std::vector<CViewBase*>& GetViews() const { return m_views; }
  CViewBase* GetFirstView() const { return m_views.empty() ? nullptr : m_views.front(); }
  void UpdateAllViews(CViewBase* sender, int hint = 0);
  // Renews the captions of every frame showing the document.
  void UpdateFrameTitles();

  // Called by the views.
  void AddView(CViewBase* view);
  void RemoveView(CViewBase* view);

signals:
  void modifiedChanged(bool modified);
  void titleChanged(const QString& title);

private:
  friend class CDocTemplate;
  CDocTemplate* m_template = nullptr;
  QString m_title;
  QString m_path;
  bool m_modified = false;
  bool m_closing = false;
  std::vector<CViewBase*> m_views;
};

class CViewBase : public QWidget {
  Q_OBJECT
public:
  explicit CViewBase(CDocumentBase* document, QWidget* parent = nullptr);
  ~CViewBase() override;

  CDocumentBase* GetDocument() const { return m_document; }
  CChildFrame* GetParentFrame() const;

  // The first update after the frame is made; by default an update with hint 0.
  virtual void OnInitialUpdate();
  // The document changed; hint 1 (HINT_FONT_CHANGED) when the list font did.
  virtual void OnUpdate(CViewBase* sender, int hint);

signals:
  // Something the enabling rules of the view's commands depend on changed (selection, rows, undo
  // snapshot, clipboard, modified flag).
  void commandStateChanged();

private:
  QPointer<CDocumentBase> m_document;
};

// A document type: its strings (the framework's "\n"-separated document string), the classes of its
// document, frame and view, and its open documents.
class CDocTemplate {
public:
  using CDocFactory = std::function<CDocumentBase*()>;
  using CFrameFactory = std::function<CChildFrame*()>;
  using CViewFactory = std::function<CViewBase*(CDocumentBase*)>;

  enum DocStringIndex {
    windowTitle = 0,
    docName = 1, // new documents are titled this plus a number
    fileNewName = 2,
    filterName = 3,
    filterExt = 4,
    regFileTypeId = 5,
    regFileTypeName = 6,
  };

  CDocTemplate(int id, const QString& docString, CDocFactory document, CFrameFactory frame, CViewFactory view);
  ~CDocTemplate();
  CDocTemplate(const CDocTemplate&) = delete;
  CDocTemplate& operator=(const CDocTemplate&) = delete;

  int GetId() const { return m_id; }
  QString GetDocString(DocStringIndex index) const;
  // Where new child frames go. Not owned.
  void SetMainFrame(GP::CMDIFrameWndEx* frame) { m_mainFrame = frame; }

  // The open documents, in the order they were made.
  std::vector<CDocumentBase*> GetDocuments() const;

  // The framework's steps: a document (added to this template, not yet initialised), a frame with its
  // view for it, and the first update that makes the frame visible.
  CDocumentBase* CreateNewDocument();
  CChildFrame* CreateNewFrame(CDocumentBase* document);
  void InitialUpdateFrame(CChildFrame* frame, CDocumentBase* document, bool makeVisible = true);
  // An empty path makes a new untitled document; a path that is open already brings its window to the
  // front; otherwise the document is loaded. Null when creation or loading failed.
  CDocumentBase* OpenDocumentFile(const QString& path);
  // The open document of that file, or null.
  CDocumentBase* FindDocument(const QString& path) const;

  // Asks about every modified document; false when the user cancelled.
  bool SaveAllModified();
  // Closes every document without asking.
  void CloseAllDocuments();

  // Called by a document that closes: the template forgets it and deletes it later.
  void RemoveDocument(CDocumentBase* document);

private:
  void SetDefaultTitle(CDocumentBase* document);
  void DestroyDocument(CDocumentBase* document);

  int m_id;
  QStringList m_strings;
  CDocFactory m_documentFactory;
  CFrameFactory m_frameFactory;
  CViewFactory m_viewFactory;
  GP::CMDIFrameWndEx* m_mainFrame = nullptr;
  std::vector<std::unique_ptr<CDocumentBase>> m_documents;
  int m_untitledCount = 0;
};
