#include "app/setgriddlg.h"

#include "app/messagebox.h"
#include "model/appstate.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

CSetGridDlg::CSetGridDlg(int grid, QWidget* parent)
    : QDialog(parent), m_off(new QRadioButton(tr("Grid &OFF"))), m_on(new QRadioButton(tr("Grid O&N"))) {
  setWindowTitle(tr("Set Up Grid"));
  setObjectName(QStringLiteral("setGridDialog"));
  auto* group = new QGroupBox;
  auto* radios = new QVBoxLayout(group);
  radios->addWidget(m_off);
  radios->addWidget(m_on);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Vertical);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(group, 1);
  layout->addWidget(buttons);
  SetGrid(grid);
  setFixedSize(sizeHint());
}

int CSetGridDlg::GetGrid() const {
  if (m_off->isChecked())
    return 0;
  if (m_on->isChecked())
    return 1;
  return -1;
}

void CSetGridDlg::SetGrid(int grid) {
  m_off->setChecked(grid == 0);
  m_on->setChecked(grid != 0);
}

int CSetGridDlg::Ask(int grid, QWidget* parent) {
  CSetGridDlg dialog(grid != 0 ? 1 : 0, parent);
  return DoModal(dialog) == QDialog::Accepted ? dialog.GetGrid() : -1;
}
