#include "app/selecttargetdlg.h"

#include "app/resource.h"
#include "model/appstate.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CSelectTargetDlg::CSelectTargetDlg(QZML::EModel model, QWidget* parent)
    : QDialog(parent), m_qzmax(new QRadioButton(QString::fromLatin1(QZML::ModelName(QZML::MODEL_QZMAX)))),
      m_qz5(new QRadioButton(QString::fromLatin1(QZML::ModelName(QZML::MODEL_QZ5)))) {
  setWindowTitle(tr("Select Target Model"));
  setObjectName(QStringLiteral("selectTargetDialog"));
  auto* group = new QGroupBox(tr("Target Model"));
  auto* radios = new QVBoxLayout(group);
  radios->addWidget(m_qzmax);
  radios->addWidget(m_qz5);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addWidget(buttons);
  buttons->setOrientation(Qt::Vertical);
  SetModel(model);
  setFixedSize(sizeHint());
}

std::optional<QZML::EModel> CSelectTargetDlg::GetModel() const {
  if (m_qzmax->isChecked())
    return QZML::MODEL_QZMAX;
  if (m_qz5->isChecked())
    return QZML::MODEL_QZ5;
  return std::nullopt;
}

void CSelectTargetDlg::SetModel(QZML::EModel model) {
  m_qzmax->setChecked(model == QZML::MODEL_QZMAX);
  m_qz5->setChecked(model == QZML::MODEL_QZ5);
}
