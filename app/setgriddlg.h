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

  // Asks with the current setting; -1 when cancelled, else the chosen grid switch.
  static int Ask(int grid, QWidget* parent);

private:
  QRadioButton* m_off;
  QRadioButton* m_on;
};
