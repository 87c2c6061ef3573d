#pragma once
// The settings of the programs in QSettings: sections are groups, names are kept as they are.

#include <memory>

#include "platform/settings.h"

class QSettings;

namespace QZP {

class CQtSettings : public ISettingsStore {
public:
  // The per-user settings of the program (organisation "Orvane", application "QZ-MAX Librarian").
  CQtSettings();
  // Settings kept in the INI file at path (tests, portable set-ups).
  explicit CQtSettings(const std::string& iniPath);
  ~CQtSettings() override;

  std::string ReadString(const std::string& section, const std::string& name, const std::string& def) override;
  int ReadInt(const std::string& section, const std::string& name, int def) override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, int value) override;

  void Sync();

private:
  std::unique_ptr<QSettings> m_settings;
};

} // namespace QZP
