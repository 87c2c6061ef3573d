#include "platform/qtsettings.h"

#include <QSettings>
#include <QString>

namespace QZP {

static QString Key(const std::string& section, const std::string& name) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

CQtSettings::CQtSettings()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Orvane"), QStringLiteral("QZ-MAX Librarian"))) {}

CQtSettings::CQtSettings(const std::string& iniPath)
    : m_settings(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

CQtSettings::~CQtSettings() = default;

std::string CQtSettings::ReadString(const std::string& section, const std::string& name, const std::string& def) {
  QVariant value = m_settings->value(Key(section, name));
  return value.isValid() ? value.toString().toStdString() : def;
}

int CQtSettings::ReadInt(const std::string& section, const std::string& name, int def) {
  QVariant value = m_settings->value(Key(section, name));
  if (!value.isValid())
    return def;
  bool ok = false;
  int result = value.toString().trimmed().toInt(&ok);
  return ok ? result : def;
}

void CQtSettings::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  m_settings->setValue(Key(section, name), QString::fromStdString(value));
}

void CQtSettings::WriteInt(const std::string& section, const std::string& name, int value) {
  m_settings->setValue(Key(section, name), value);
}

void CQtSettings::Sync() { m_settings->sync(); }

} // namespace QZP
