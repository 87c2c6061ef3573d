#include "app/midiwarningdlg.h"

#include "app/messagebox.h"
#include "app/resource.h"
#include "model/appstate.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

QString CMidiWarningDlg::Question(int kind) {
  return QString::fromStdString(ConfirmationText(kind, QZML::CAppState::Instance().GetModelName()));
}

CMidiWarningDlg::CMidiWarningDlg(int kind, CConfirmationFlags& flags, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_flags(flags), m_text(new QLabel(Question(kind))),
      m_check(new QCheckBox(QString::fromLatin1(kConfirmationCheckText))) {
  setObjectName(QStringLiteral("midiWarningDialog"));
  setWindowTitle(QString::fromLatin1(kAppTitle));
  m_text->setObjectName(QStringLiteral("warning%1").arg(IDC_WARNING_TEXT));
  m_check->setObjectName(QStringLiteral("warning%1").arg(IDC_WARNING_CHECK));
  m_check->setChecked(false);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMidiWarningDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text);
  auto* check = new QHBoxLayout;
  check->addSpacing(m_text->fontMetrics().averageCharWidth() * 3);
  check->addWidget(m_check);
  layout->addLayout(check);
  layout->addSpacing(4);
  layout->addWidget(buttons);
  setFixedSize(sizeHint());
}

void CMidiWarningDlg::accept() {
  m_flags.Set(m_kind, m_check->isChecked() ? 1 : 0);
  QDialog::accept();
}

bool CMidiWarningDlg::Confirm(int kind, CConfirmationFlags& flags, QWidget* parent) {
  return ConfirmTransfer(flags, kind, QZML::CAppState::Instance().GetModelName(),
                         [&flags, parent](int asked, const std::string&) {
                           CMidiWarningDlg dialog(asked, flags, parent);
                           CConfirmationAnswer answer;
                           answer.ok = DoModal(dialog) == QDialog::Accepted;
                           answer.dontShowAgain = dialog.GetCheckBox()->isChecked();
                           return answer;
                         });
}
