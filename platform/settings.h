#pragma once
// The per-user settings as sections of named values. Programs keep them with QSettings
// (platform/qtsettings.h); tests keep them in memory.

#include <map>
#include <string>
#include <utility>

namespace QZP {

class ISettingsStore {
public:
  virtual ~ISettingsStore() = default;
  // A missing value (or an integer that does not read as one) gives the default.
  virtual std::string ReadString(const std::string& section, const std::string& name, const std::string& def) = 0;
  virtual int ReadInt(const std::string& section, const std::string& name, int def) = 0;
  virtual void WriteString(const std::string& section, const std::string& name, const std::string& value) = 0;
  virtual void WriteInt(const std::string& section, const std::string& name, int value) = 0;
};

// Settings held in memory; every value is kept as text, as the INI files of the programs do.
class CMemorySettings : public ISettingsStore {
public:
  std::string ReadString(const std::string& section, const std::string& name, const std::string& def) override;
  int ReadInt(const std::string& section, const std::string& name, int def) override;
  void WriteString(const std::string& section, const std::string& name, const std::string& value) override;
  void WriteInt(const std::string& section, const std::string& name, int value) override;

  bool Has(const std::string& section, const std::string& name) const;

  std::map<std::pair<std::string, std::string>, std::string> m_values;
};

} // namespace QZP
