#include "app/duplicatesdlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CSelectDuplicatesDlg::CSelectDuplicatesDlg(QWidget* parent)
    : QDialog(parent), m_name(new QCheckBox(tr("Include the &name"))) {
  setObjectName(QStringLiteral("selectDuplicatesDialog"));
  setWindowTitle(tr("Select Duplicates"));
  m_name->setObjectName(QStringLiteral("includeName"));
  m_name->setChecked(false);
  auto* text = new QLabel(tr("Selects every patch whose data equal those of a patch above it in the list."));
  text->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(m_name);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

bool CSelectDuplicatesDlg::IncludesName() const { return m_name->isChecked(); }
