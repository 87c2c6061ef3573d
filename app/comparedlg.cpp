#include "app/comparedlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

CCompareDialog::CCompareDialog(const QString& first, const QString& second,
                               const QZML::CPatchDifferences& differences, QWidget* parent)
    : QDialog(parent), m_first(new QLabel(first)), m_second(new QLabel(second)), m_summary(new QLabel),
      m_list(new QPlainTextEdit) {
  setObjectName(QStringLiteral("compareDialog"));
  setWindowTitle(tr("Compare"));
  m_first->setObjectName(QStringLiteral("compareFirst"));
  m_second->setObjectName(QStringLiteral("compareSecond"));
  m_summary->setObjectName(QStringLiteral("compareSummary"));
  m_list->setObjectName(QStringLiteral("compareList"));
  m_first->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_second->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_summary->setWordWrap(true);

  // The values line up in a fixed-width font; the user may select and copy the lines.
  const std::vector<std::string> lines = QZML::DescribeDifferences(differences);
  QStringList texts;
  for (const std::string& line : lines)
    texts.append(QString::fromStdString(line));
  m_list->setReadOnly(true);
  m_list->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  m_list->setPlainText(texts.join(QLatin1Char('\n')));
  // Identical patches need no list: the summary says so.
  if (differences.Equal()) {
    m_summary->setText(QString::fromStdString(lines.front()));
    m_list->setVisible(false);
  } else {
    m_summary->setText(tr("Differences: %1").arg(QString::fromStdString(QZML::SummarizeDifferences(differences))));
  }

  auto* sources = new QFormLayout;
  sources->addRow(tr("First:"), m_first);
  sources->addRow(tr("Second:"), m_second);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sources);
  layout->addWidget(m_summary);
  layout->addWidget(m_list, 1);
  layout->addWidget(buttons);

  // Room for the longest line and for a screenful of them (the byte lines are limited to that).
  const QFontMetrics metrics(m_list->font());
  int width = 0;
  for (const QString& text : texts)
    width = std::max(width, metrics.horizontalAdvance(text));
  const int rows = std::clamp(static_cast<int>(texts.size()), 3, 26);
  m_list->setMinimumSize(std::clamp(width + 6 * metrics.averageCharWidth(), 40 * metrics.averageCharWidth(),
                                    100 * metrics.averageCharWidth()),
                         rows * metrics.lineSpacing() + 2 * m_list->frameWidth() + 8);
}

QString CCompareDialog::GetText() const { return m_list->toPlainText(); }
