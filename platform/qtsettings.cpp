#include "platform/qtsettings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

#include <algorithm>
#include <cstdint>

namespace QZP {

namespace {

QString Key(const QString& section, const QString& name) {
  return section.isEmpty() ? name : section + QLatin1Char('/') + name;
}

QString Key(const std::string& section, const std::string& name) {
  return Key(QString::fromStdString(section), QString::fromStdString(name));
}

} // namespace

CQtSettings::CQtSettings()
    : m_settings(std::make_unique<QSettings>(QSettings::UserScope, QString::fromLatin1(kSettingsOrganization),
                                             QString::fromLatin1(kSettingsApplication))) {}

CQtSettings::CQtSettings(const std::string& iniPath)
    : m_settings(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

CQtSettings::~CQtSettings() = default;

QString CQtSettings::Folder() const {
  const QString file = m_settings->fileName();
  const QFileInfo info(file);
  if (info.isAbsolute() && !file.startsWith(QLatin1Char('\\')))
    return info.absolutePath();
  return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

std::string CQtSettings::ReadString(const std::string& section, const std::string& name, const std::string& def) {
  const QString value = String(QString::fromStdString(section), QString::fromStdString(name));
  return value.isNull() ? def : value.toStdString();
}

int CQtSettings::ReadInt(const std::string& section, const std::string& name, int def) {
  return Int(QString::fromStdString(section), QString::fromStdString(name), def);
}

void CQtSettings::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  m_settings->setValue(Key(section, name), QString::fromStdString(value));
}

void CQtSettings::WriteInt(const std::string& section, const std::string& name, int value) {
  m_settings->setValue(Key(section, name), value);
}

QString CQtSettings::String(const QString& section, const QString& name, const QString& def) const {
  const QVariant value = m_settings->value(Key(section, name));
  if (!value.isValid())
    return def;
  if (value.typeId() == QMetaType::QStringList)
    return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

int CQtSettings::Int(const QString& section, const QString& name, int def) const {
  const QVariant value = m_settings->value(Key(section, name));
  if (!value.isValid())
    return def;
  bool ok = false;
  const int result = value.toString().trimmed().toInt(&ok);
  return ok ? result : def;
}

void CQtSettings::SetString(const QString& section, const QString& name, const QString& value) {
  m_settings->setValue(Key(section, name), value);
}

void CQtSettings::SetInt(const QString& section, const QString& name, int value) {
  m_settings->setValue(Key(section, name), value);
}

int CQtSettings::Integers(const QString& section, const QString& name, int* values, int count) const {
  return ScanIntegers(String(section, name), values, count);
}

void CQtSettings::SetIntegers(const QString& section, const QString& name, const int* values, int count) {
  SetString(section, name, FormatIntegers(values, count));
}

QByteArray CQtSettings::Bytes(const QString& section, const QString& name) const {
  return m_settings->value(Key(section, name)).toByteArray();
}

void CQtSettings::SetBytes(const QString& section, const QString& name, const QByteArray& value) {
  m_settings->setValue(Key(section, name), value);
}

void CQtSettings::Clear() { m_settings->clear(); }

void CQtSettings::Sync() { m_settings->sync(); }

int ScanIntegers(const QString& text, int* values, int count) {
  const qsizetype size = text.size();
  qsizetype pos = 0;
  int stored = 0;
  while (stored < count) {
    if (stored > 0) {
      if (pos >= size || text.at(pos) != QLatin1Char(','))
        break;
      ++pos;
    }
    while (pos < size && text.at(pos).isSpace())
      ++pos;
    bool negative = false;
    if (pos < size && (text.at(pos) == QLatin1Char('-') || text.at(pos) == QLatin1Char('+'))) {
      negative = text.at(pos) == QLatin1Char('-');
      ++pos;
    }
    const qsizetype digits = pos;
    qint64 magnitude = 0;
    while (pos < size && text.at(pos) >= QLatin1Char('0') && text.at(pos) <= QLatin1Char('9')) {
      if (magnitude <= INT64_C(0x100000000))
        magnitude = magnitude * 10 + (text.at(pos).unicode() - '0');
      ++pos;
    }
    if (pos == digits)
      break;
    const qint64 value = negative ? -magnitude : magnitude;
    values[stored++] = static_cast<int>(std::clamp<qint64>(value, INT32_MIN, INT32_MAX));
  }
  return stored;
}

QString FormatIntegers(const int* values, int count) {
  QStringList parts;
  for (int i = 0; i < count; ++i)
    parts.append(QString::number(values[i]));
  return parts.join(QLatin1Char(','));
}

} // namespace QZP
