#pragma once
// Documents and views. A document is a QObject that holds its title, path and modified flag and says
// when they change (titleChanged, modifiedChanged) and when its content did (contentChanged); its frame
// and view connect to these signals. A document belongs to the frame that shows it and goes with it.

#include <QPointer>
#include <QString>
#include <QWidget>

class CChildFrame;
class CViewBase;

class CDocumentBase : public QObject {
  Q_OBJECT
public:
  const QString& GetTitle() const { return m_title; }
  void SetTitle(const QString& title);
  const QString& GetPathName() const { return m_path; }
  // Sets the path and the title from its file name.
  void SetPathName(const QString& path);

  bool IsModified() const { return m_modified; }
  void SetModifiedFlag(bool modified = true);

  // The frame the document belongs to (its parent), and the view in it; null before it is shown.
  CChildFrame* GetFrame() const;
  CViewBase* GetView() const;

  // Tells the views that the content changed; hint 1 (HINT_FONT_CHANGED) when the list font did.
  void UpdateAllViews(int hint = 0) { emit contentChanged(hint); }

signals:
  void modifiedChanged(bool modified);
  void titleChanged(const QString& title);
  void contentChanged(int hint);

private:
  QString m_title;
  QString m_path;
  bool m_modified = false;
};

class CViewBase : public QWidget {
  Q_OBJECT
public:
  explicit CViewBase(CDocumentBase* document, QWidget* parent = nullptr);

  CDocumentBase* GetDocument() const { return m_document; }
  CChildFrame* GetParentFrame() const;

  // The document changed; hint 1 (HINT_FONT_CHANGED) when the list font did.
  virtual void OnUpdate(int hint);

signals:
  // Something the enabling rules of the view's commands depend on changed (selection, rows, undo
  // snapshot, clipboard, modified flag).
  void commandStateChanged();

private:
  QPointer<CDocumentBase> m_document;
};
