#pragma once
// "Set Up Grid": grid lines in the patch lists off or on.

#include <QDialog>

class QRadioButton;

class CSetGridDlg : public QDialog {
  Q_OBJECT
public:
  explicit CSetGridDlg(int grid, QWidget* parent = nullptr);

  // 0 off, 1 on.
  int GetGrid() const;
  void SetGrid(int grid);
  QRadioButton* Button(int grid) const { return grid == 0 ? m_off : m_on; }

  // The command of the list views: the dialog, and on OK the new grid switch for every list.
  static void Run(QWidget* parent);

private:
  QRadioButton* m_off;
  QRadioButton* m_on;
};
