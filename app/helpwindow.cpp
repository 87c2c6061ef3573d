#include "app/helpwindow.h"

#include "app/appicon.h"
#include "app/messagebox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QToolBar>
#include <QTextCursor>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <vector>

namespace {

QPointer<CHelpWindow> s_window;

// A page and the place on it; "page.htm#" and "page.htm" are the same place.
QUrl Normalised(const QUrl& url) {
  QUrl result = url.adjusted(QUrl::NormalizePathSegments);
  if (result.fragment().isEmpty())
    result.setFragment(QString());
  return result;
}

} // namespace

bool CHelpWindow::Open(const QString& firstPage, QWidget* parent) {
  if (!QFileInfo(firstPage).isFile()) {
    AppMessageBox(parent, QMessageBox::Warning,
                  tr("The manual was not found. It belongs in %1.").arg(QDir::toNativeSeparators(firstPage)));
    return false;
  }
  if (!s_window)
    s_window = new CHelpWindow(firstPage, parent);
  s_window->show();
  if (s_window->isMinimized())
    s_window->showNormal();
  s_window->raise();
  s_window->activateWindow();
  return true;
}

CHelpWindow* CHelpWindow::Instance() { return s_window; }

CHelpWindow::CHelpWindow(const QString& firstPage, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_firstPage(QUrl::fromLocalFile(QFileInfo(firstPage).absoluteFilePath())),
      m_browser(new QTextBrowser), m_contents(new QTreeWidget), m_findBox(new QLineEdit), m_findResult(new QLabel) {
  setObjectName(QStringLiteral("helpWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(AppIcon());
  m_browser->setObjectName(QStringLiteral("helpBrowser"));
  m_browser->setOpenExternalLinks(true);
  m_contents->setObjectName(QStringLiteral("helpContents"));
  m_contents->setHeaderLabel(tr("Contents"));
  m_findBox->setObjectName(QStringLiteral("helpFind"));
  m_findBox->setClearButtonEnabled(true);
  m_findBox->setMaximumWidth(240);

  auto* split = new QSplitter;
  split->addWidget(m_contents);
  split->addWidget(m_browser);
  split->setStretchFactor(1, 1);
  split->setSizes({220, 680});
  setCentralWidget(split);

  QToolBar* bar = addToolBar(tr("Navigation"));
  bar->setObjectName(QStringLiteral("helpToolBar"));
  bar->setMovable(false);
  m_back = bar->addAction(tr("Back"), m_browser, &QTextBrowser::backward);
  m_back->setShortcut(QKeySequence::Back);
  m_forward = bar->addAction(tr("Forward"), m_browser, &QTextBrowser::forward);
  m_forward->setShortcut(QKeySequence::Forward);
  bar->addAction(tr("Contents"), this, &CHelpWindow::ShowFirstPage);
  bar->addSeparator();
  bar->addWidget(new QLabel(tr("Find:") + QLatin1Char(' ')));
  bar->addWidget(m_findBox);
  QAction* previous = bar->addAction(tr("Previous"), this, [this]() { OnFind(true); });
  previous->setShortcut(QKeySequence::FindPrevious);
  QAction* next = bar->addAction(tr("Next"), this, [this]() { OnFind(false); });
  next->setShortcut(QKeySequence::FindNext);
  bar->addWidget(m_findResult);
  auto* find = new QAction(this);
  find->setShortcut(QKeySequence::Find);
  connect(find, &QAction::triggered, this, [this]() {
    m_findBox->setFocus();
    m_findBox->selectAll();
  });
  addAction(find);
  connect(m_findBox, &QLineEdit::returnPressed, this, [this]() { OnFind(false); });
  connect(m_findBox, &QLineEdit::textChanged, m_findResult, &QLabel::clear);

  m_back->setEnabled(false);
  m_forward->setEnabled(false);
  connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
  connect(m_browser, &QTextBrowser::sourceChanged, this, &CHelpWindow::OnSourceChanged);
  connect(m_contents, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const QUrl url = item->data(0, Qt::UserRole).toUrl();
    if (url.isValid())
      m_browser->setSource(url);
  });
  connect(m_contents, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
    const QUrl url = item->data(0, Qt::UserRole).toUrl();
    if (url.isValid() && Normalised(url) != Normalised(m_browser->source()))
      m_browser->setSource(url);
  });

  BuildContents();
  resize(960, 720);
  m_browser->setSource(m_firstPage);
}

CHelpWindow::~CHelpWindow() = default;

void CHelpWindow::BuildContents() {
  // The contents are the links in the lists of the first page, a nested list a level deeper.
  QFile file(m_firstPage.toLocalFile());
  if (!file.open(QIODevice::ReadOnly))
    return;
  QTextDocument page;
  page.setHtml(QString::fromUtf8(file.readAll()));
  std::vector<QTreeWidgetItem*> parents;
  for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
    const QTextList* list = block.textList();
    if (!list)
      continue;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QString href = fragment.charFormat().anchorHref();
      if (!fragment.isValid() || href.isEmpty())
        continue;
      const int level = std::max(list->format().indent(), 1);
      parents.resize(static_cast<size_t>(level - 1), nullptr);
      QTreeWidgetItem* parent = parents.empty() ? nullptr : parents.back();
      auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
      item->setText(0, fragment.text().simplified());
      item->setData(0, Qt::UserRole, m_firstPage.resolved(QUrl(href)));
      parents.push_back(item);
      break; // one entry per line of the list
    }
  }
}

void CHelpWindow::ShowFirstPage() { m_browser->setSource(m_firstPage); }

void CHelpWindow::OnSourceChanged(const QUrl& url) {
  const QString title = m_browser->documentTitle();
  setWindowTitle(title.isEmpty() ? tr("QZ-MAX Librarian Manual") : title);
  m_findResult->clear();
  // The contents follow the page: the entry for this place, else the one for the page.
  const QUrl here = Normalised(url);
  QUrl page = here;
  page.setFragment(QString());
  QTreeWidgetItem* best = nullptr;
  for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
    const QUrl entry = Normalised((*it)->data(0, Qt::UserRole).toUrl());
    if (entry == here) {
      best = *it;
      break;
    }
    if (!best && entry == page)
      best = *it;
  }
  if (best) {
    const QSignalBlocker block(m_contents);
    m_contents->setCurrentItem(best);
    m_contents->scrollToItem(best);
  }
}

bool CHelpWindow::Find(const QString& text, bool backward) {
  if (text.isEmpty())
    return false;
  const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (m_browser->find(text, flags))
    return true;
  // Round the end of the page, once.
  QTextCursor cursor = m_browser->textCursor();
  cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  m_browser->setTextCursor(cursor);
  return m_browser->find(text, flags);
}

void CHelpWindow::OnFind(bool backward) {
  const QString text = m_findBox->text();
  if (text.isEmpty()) {
    m_findBox->setFocus();
    return;
  }
  m_findResult->setText(Find(text, backward) ? QString() : QLatin1Char(' ') + tr("Not found on this page."));
}
