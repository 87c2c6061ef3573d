#pragma once
// The per-user settings of the programs (organisation "Orvane", application "QZ-MAX Librarian") in
// QSettings: the registry on Windows, an INI file elsewhere. Sections are groups, names are kept as
// stored. The layers below the windows see it as an ISettingsStore of std::string values; the windows
// read and write Qt strings, integers, lists of integers and Qt's own state blobs through the same class.
// Section names: platform/settingsections.h.

#include <QByteArray>
#include <QString>

#include <memory>

#include "platform/settings.h"

class QSettings;

namespace QZP {

inline constexpr const char* kSettingsOrganization = "Orvane";
inline constexpr const char* kSettingsApplication = "QZ-MAX Librarian";

class CQtSettings : public ISettingsStore {
public:
  // The per-user settings of the program.
  CQtSettings();
  // Settings kept in the INI file at path (tests, portable set-ups).
  explicit CQtSettings(const std::string& iniPath);
  ~CQtSettings() override;

  // A missing value reads as the default (a null QString when none is given); a value stored as a list
  // (an unquoted "1,2,3" in an INI file) reads back joined with commas; an integer that does not read as
  // one gives the default.
  std::string ReadString(const std::string& section, const std::string& name, const std::string& def) override;
  int ReadInt(const std::string& section, const std::string& name, int def) override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, int value) override;

  QString String(const QString& section, const QString& name, const QString& def = QString()) const;
  int Int(const QString& section, const QString& name, int def = 0) const;
  void SetString(const QString& section, const QString& name, const QString& value);
  void SetInt(const QString& section, const QString& name, int value);
  // Comma-separated integers (window places, column widths): reads up to count of them into values as
  // ScanIntegers does and returns how many; fields after the first bad one keep their values.
  int Integers(const QString& section, const QString& name, int* values, int count) const;
  void SetIntegers(const QString& section, const QString& name, const int* values, int count);
  // What Qt keeps in its own form (the tool bar's state); empty when missing.
  QByteArray Bytes(const QString& section, const QString& name) const;
  void SetBytes(const QString& section, const QString& name, const QByteArray& value);

  // The folder where the program keeps files of its own beside the settings (the settings' own folder
  // where they are a file, the user's application data folder where they are the registry).
  QString Folder() const;

  // Forgets everything stored.
  void Clear();
  void Sync();

private:
  std::unique_ptr<QSettings> m_settings;
};

// Reads up to count comma-separated integers from the start of text ("%d,%d,..." as C's scanf reads
// them: blanks before a number are skipped, a comma must follow it directly). Stops at the first field
// that does not parse and leaves that field and the rest of values untouched. Numbers beyond the
// 32-bit range are clamped. Returns how many fields were stored.
int ScanIntegers(const QString& text, int* values, int count);
// The numbers joined with commas.
QString FormatIntegers(const int* values, int count);

} // namespace QZP
