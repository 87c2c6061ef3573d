#pragma once
// The manual in the program's own window: its contents beside the page, back and forward through the pages
// seen, and a search on the page. It reads the manual's HTML pages straight from disk, so it needs no web
// browser.

#include <QMainWindow>
#include <QUrl>

class QAction;
class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

class CHelpWindow : public QMainWindow {
  Q_OBJECT
public:
  // Shows the one help window at the first page (made the first time, in front afterwards). False, after a
  // message, when the page is not there.
  static bool Open(const QString& firstPage, QWidget* parent);
  // The help window, while one is open.
  static CHelpWindow* Instance();

  explicit CHelpWindow(const QString& firstPage, QWidget* parent = nullptr);
  ~CHelpWindow() override;

  QTextBrowser* GetBrowser() const { return m_browser; }
  QTreeWidget* GetContents() const { return m_contents; }
  QAction* GetBackAction() const { return m_back; }
  QAction* GetForwardAction() const { return m_forward; }

  // Back to the first page.
  void ShowFirstPage();
  // Finds text on the page after the selection (before it, backward), going round at the end; false
  // when the page does not hold it.
  bool Find(const QString& text, bool backward = false);

private:
  void BuildContents();
  void OnSourceChanged(const QUrl& url);
  void OnFind(bool backward);

  QUrl m_firstPage;
  QTextBrowser* m_browser;
  QTreeWidget* m_contents;
  QLineEdit* m_findBox;
  QLabel* m_findResult;
  QAction* m_back = nullptr;
  QAction* m_forward = nullptr;
};
