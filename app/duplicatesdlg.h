#pragma once
// "Select Duplicates": whether the name counts when patches are compared (off: the same sound under
// another name is a duplicate too). Memos never count.

#include <QDialog>

class QCheckBox;

class CSelectDuplicatesDlg : public QDialog {
  Q_OBJECT
public:
  explicit CSelectDuplicatesDlg(QWidget* parent = nullptr);

  bool IncludesName() const;
  QCheckBox* NameCheckBox() const { return m_name; }

private:
  QCheckBox* m_name;
};
