#pragma once
// "Select Target Model": QZ-MAX or QZ-5. The command (CApp) applies the change after OK.

#include <QDialog>

#include <optional>

#include "model/targetmodel.h"

class QRadioButton;

class CSelectTargetDlg : public QDialog {
  Q_OBJECT
public:
  // model: the choice shown on opening (the current target model).
  explicit CSelectTargetDlg(QZML::EModel model, QWidget* parent = nullptr);

  // What the radio group shows; no value while neither button is checked.
  std::optional<QZML::EModel> GetModel() const;
  void SetModel(QZML::EModel model);
  QRadioButton* Button(QZML::EModel model) const { return model == QZML::MODEL_QZMAX ? m_qzmax : m_qz5; }

private:
  QRadioButton* m_qzmax;
  QRadioButton* m_qz5;
};
