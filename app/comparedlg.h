#pragma once
// "Compare": the differences of two patches, block by block by the blocks' own descriptions, then the
// name and the memos; two equal patches are said to be identical. Above the list, where each patch comes
// from (window, number and name).

#include <QDialog>
#include <QString>

#include "model/patchcompare.h"

class QLabel;
class QPlainTextEdit;

class CCompareDialog : public QDialog {
  Q_OBJECT
public:
  // first, second: where the patches come from, as the headings show it.
  CCompareDialog(const QString& first, const QString& second, const QZML::CPatchDifferences& differences,
                 QWidget* parent = nullptr);

  QLabel* FirstLabel() const { return m_first; }
  QLabel* SecondLabel() const { return m_second; }
  QLabel* SummaryLabel() const { return m_summary; }
  // The listed differences, one line each.
  QPlainTextEdit* DifferenceList() const { return m_list; }
  QString GetText() const;

private:
  QLabel* m_first;
  QLabel* m_second;
  QLabel* m_summary;
  QPlainTextEdit* m_list;
};
