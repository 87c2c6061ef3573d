#include "gp/profile.h"

#include <QSettings>
#include <QStringList>

#include <algorithm>
#include <cstdint>

namespace GP {

namespace {

QString Key(const QString& section, const QString& entry) {
  return section.isEmpty() ? entry : section + QLatin1Char('/') + entry;
}

} // namespace

std::unique_ptr<QSettings> OpenProfile() {
  return std::make_unique<QSettings>(QSettings::UserScope, QString::fromLatin1(kProfileOrganization),
                                     QString::fromLatin1(kProfileApplication));
}

QString GetProfileString(const QString& section, const QString& entry, const QString& defaultValue) {
  const QVariant value = OpenProfile()->value(Key(section, entry));
  if (!value.isValid())
    return defaultValue;
  if (value.typeId() == QMetaType::QStringList)
    return value.toStringList().join(QLatin1Char(','));
  return value.toString();
}

int GetProfileInt(const QString& section, const QString& entry, int defaultValue) {
  const QVariant value = OpenProfile()->value(Key(section, entry));
  bool ok = false;
  const int result = value.toInt(&ok);
  return ok ? result : defaultValue;
}

void WriteProfileString(const QString& section, const QString& entry, const QString& value) {
  OpenProfile()->setValue(Key(section, entry), value);
}

void WriteProfileInt(const QString& section, const QString& entry, int value) {
  OpenProfile()->setValue(Key(section, entry), value);
}

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

} // namespace GP
