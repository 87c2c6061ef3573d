#include "app/aboutdialog.h"

#include "app/appicon.h"
#include "qzversion.h"
#include "app/resource.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>

CAboutDialog::CAboutDialog(QWidget* parent, const bool* withBuildDigits)
    : QDialog(parent), m_description(new QLabel(QStringLiteral(QZ_APP_FILE_DESCRIPTION))),
      m_version(new QLabel), m_copyright(new QLabel(QStringLiteral(QZ_APP_LEGAL_COPYRIGHT))) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("About ") + QStringLiteral(QZ_APP_FILE_DESCRIPTION));
  const bool digits = withBuildDigits ? *withBuildDigits
                                      : (QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0;
  m_version->setText(VersionLine(digits));
  m_description->setObjectName(QStringLiteral("about%1").arg(IDC_ABOUT_DESCRIPTION));
  m_version->setObjectName(QStringLiteral("about%1").arg(IDC_ABOUT_VERSION));
  m_copyright->setObjectName(QStringLiteral("about%1").arg(IDC_ABOUT_COPYRIGHT));

  auto* icon = new QLabel;
  icon->setPixmap(AppIconPixmap(48));
  auto* lines = new QVBoxLayout;
  lines->addWidget(m_description);
  lines->addWidget(m_version);
  lines->addWidget(m_copyright);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, Qt::Vertical);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addSpacing(8);
  layout->addLayout(lines, 1);
  layout->addSpacing(16);
  layout->addWidget(buttons, 0, Qt::AlignTop);
  setFixedSize(sizeHint());
}

QLabel* CAboutDialog::Line(int id) const {
  switch (id) {
  case IDC_ABOUT_DESCRIPTION:
    return m_description;
  case IDC_ABOUT_VERSION:
    return m_version;
  case IDC_ABOUT_COPYRIGHT:
    return m_copyright;
  default:
    return nullptr;
  }
}

QString CAboutDialog::VersionLine(bool withBuildDigits) {
  QString line = QStringLiteral("Version ") + QStringLiteral(QZ_APP_FILE_VERSION);
  if (withBuildDigits) {
    QString digits;
    for (const QString& part : QStringLiteral(QZ_APP_PRODUCT_VERSION).split(QLatin1Char(',')))
      digits += QString::number(part.trimmed().toInt());
    line += QStringLiteral(" (%1)").arg(digits);
  }
  return line;
}
