#pragma once
// "Select Target Model": QZ-MAX or QZ-5. The command (CApp) applies the change after OK.

#include <QDialog>

class QRadioButton;

class CSelectTargetDlg : public QDialog {
  Q_OBJECT
public:
  // model: the choice shown on opening (the current target model).
  explicit CSelectTargetDlg(int model, QWidget* parent = nullptr);

  // 0 QZ-MAX, 1 QZ-5; what the radio group shows.
  int GetModel() const;
  void SetModel(int model);
  QRadioButton* Button(int model) const { return model == 0 ? m_qzmax : m_qz5; }

private:
  QRadioButton* m_qzmax;
  QRadioButton* m_qz5;
};
