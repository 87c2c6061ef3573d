#include "app/midiwarningdlg.h"

#include "app/confirmflags.h"
#include "app/messagebox.h"
#include "app/resource.h"
#include "model/appstate.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// Strings 3088, 3092, 3089, 3090 (twice) and 3093.
const char* const kQuestions[CONFIRM_COUNT] = {
    "Are you sure you want to load the data from the user area of the %s?",
    "Are you sure you want to load the data from the temporary area of the %s?",
    "Are you sure you want to overwrite the user area of the %s?",
    "Are you sure you want to overwrite the temporary area of the %s?",
    "Are you sure you want to overwrite the temporary area of the %s?",
    "Are you sure you want to read the SMF file and overwrite the main window?",
};

} // namespace

QString CMidiWarningDlg::Question(int kind) {
  if (kind < 0 || kind >= CONFIRM_COUNT)
    return QString();
  QString text = QString::fromLatin1(kQuestions[kind]);
  if (kind != CONFIRM_IMPORT_SMF)
    text.replace(QStringLiteral("%s"), QString::fromLatin1(QZML::CAppState::Instance().GetModelName()));
  return text;
}

CMidiWarningDlg::CMidiWarningDlg(int kind, CConfirmationFlags& flags, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_flags(flags), m_text(new QLabel(Question(kind))),
      m_check(new QCheckBox(tr("Don't show this dialog again."))) {
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
  if (flags.Get(kind) != 0)
    return true;
  CMidiWarningDlg dialog(kind, flags, parent);
  return DoModal(dialog) == QDialog::Accepted;
}
