#include "app/progressbar.h"

#include "app/messagebox.h"
#include "app/resource.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CProgressDialog::CProgressDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_count(new QLabel(this)),
      m_text(new QLabel(this)), m_bar(new QProgressBar(this)), m_cancel(new QPushButton(tr("Cancel"), this)) {
  setObjectName(QStringLiteral("progressDialog"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  m_count->setObjectName(QStringLiteral("progressCount"));
  m_text->setObjectName(QStringLiteral("progressText"));
  m_text->setMinimumWidth(m_text->fontMetrics().averageCharWidth() * 48);
  m_bar->setObjectName(QStringLiteral("progressBar"));
  m_bar->setTextVisible(false);
  m_cancel->setObjectName(QStringLiteral("progressCancel"));
  m_cancel->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_count);
  layout->addWidget(m_text);
  layout->addWidget(m_bar);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(m_cancel);
  layout->addLayout(buttons);
  connect(m_cancel, &QPushButton::clicked, this, &CProgressDialog::CancelPressed);
}

void CProgressDialog::reject() { emit CancelPressed(); }

CProgressBar::CProgressBar(QWidget* owner) : m_owner(owner) {
  m_refresh.setSingleShot(true);
  QObject::connect(&m_refresh, &QTimer::timeout, [this]() { Refresh(); });
}

CProgressBar::~CProgressBar() {
  if (m_dialog)
    delete m_dialog.data();
  if (m_depth > 0 && m_owner)
    m_owner->setEnabled(true);
}

QString CProgressBar::CodeText(int code) {
  switch (code) {
  case 1:
    return QString::fromLatin1(kProgressGettingData);
  case 2:
    return QString::fromLatin1(kProgressSynchronizing);
  default:
    return QString();
  }
}

void CProgressBar::BeginCode(int range, int code, bool mayCancel) {
  CZelProgressBar::BeginCode(range, code, mayCancel);
  Begin(range, CodeText(code), mayCancel);
}

void CProgressBar::BeginText(int range, const std::string& text, bool mayCancel) {
  CZelProgressBar::BeginText(range, text, mayCancel);
  Begin(range, QString::fromStdString(text), mayCancel);
}

void CProgressBar::Begin(int range, const QString& text, bool mayCancel) {
  if (++m_depth != 1)
    return;
  if (m_owner)
    m_owner->setEnabled(false);
  auto* dialog = new CProgressDialog(m_owner);
  m_dialog = dialog;
  QObject::connect(dialog, &CProgressDialog::CancelPressed, [this]() { Cancel(); });
  m_mayCancel = mayCancel;
  m_cancelled = false;
  m_shownText = text;
  dialog->CancelButton()->setVisible(mayCancel);
  const QString count = QString::fromStdString(CountText());
  dialog->Count()->setVisible(!count.isEmpty());
  dialog->Count()->setText(count);
  dialog->Text()->setText(text);
  dialog->Bar()->setRange(0, range > 0 ? range : 0);
  dialog->Bar()->setValue(0);
  dialog->adjustSize();
  if (m_owner) {
    const QRect owner = m_owner->frameGeometry();
    dialog->move(owner.center() - dialog->rect().center());
  }
  // Input to the disabled main window is refused anyway; the dialog stays above it.
  dialog->setEnabled(true);
  dialog->show();
  dialog->raise();
  dialog->repaint();
  m_shownAt = m_pumpedAt = Clock().NowMs();
}

void CProgressBar::End() {
  if (m_depth <= 0)
    return;
  if (--m_depth != 0)
    return;
  m_refresh.stop();
  if (m_owner)
    m_owner->setEnabled(true);
  if (m_dialog) {
    m_dialog->hide();
    m_dialog->deleteLater();
    m_dialog = nullptr;
  }
}

void CProgressBar::Pump() {
  m_pumpedAt = Clock().NowMs();
  QCoreApplication::processEvents();
  CWaitCursor::Restore();
}

void CProgressBar::Changed() {
  const std::uint64_t since = Clock().NowMs() - m_shownAt;
  if (since >= kRefreshMs)
    Refresh();
  else if (!m_refresh.isActive())
    m_refresh.start(static_cast<int>(kRefreshMs - since));
}

void CProgressBar::Refresh() {
  m_refresh.stop();
  if (m_depth != 1 || !m_dialog)
    return;
  // Setting a label schedules its repaint, which the next pass of the event loop does (the transfer's
  // own waits run it, and so does the Cancel question).
  m_dialog->Count()->setText(QString::fromStdString(CountText()));
  m_dialog->Text()->setText(m_shownText);
  m_dialog->Bar()->setValue(m_position);
  m_shownAt = Clock().NowMs();
}

void CProgressBar::SetPosition(int position) {
  CZelProgressBar::SetPosition(position);
  if (m_depth == 1)
    Changed();
}

void CProgressBar::SetCode(int code) {
  CZelProgressBar::SetCode(code);
  if (m_depth != 1)
    return;
  m_shownText = CodeText(code);
  Changed();
}

void CProgressBar::SetText(const std::string& text) {
  CZelProgressBar::SetText(text);
  if (m_depth != 1)
    return;
  m_shownText = QString::fromStdString(text);
  Changed();
}

void CProgressBar::SetRange(int range) {
  CZelProgressBar::SetRange(range);
  if (m_dialog)
    m_dialog->Bar()->setRange(0, range > 0 ? range : 0);
}

bool CProgressBar::IsCancelled() {
  if (m_depth > 0 && Clock().NowMs() - m_pumpedAt >= kRefreshMs)
    Pump();
  return m_cancelled;
}

void CProgressBar::Cancel() {
  if (m_depth > 0 && m_mayCancel)
    m_cancelled = true;
}
