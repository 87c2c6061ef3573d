#include "platform/settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace QZP {

// Whole text as a decimal int, with optional sign and surrounding blanks; false for anything else.
static bool ParseInt(const std::string& text, int& value) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(begin, &end, 10);
  if (end == begin || errno == ERANGE || v < INT_MIN || v > INT_MAX)
    return false;
  while (*end == ' ' || *end == '\t')
    ++end;
  if (*end != '\0')
    return false;
  value = static_cast<int>(v);
  return true;
}

std::string CMemorySettings::ReadString(const std::string& section, const std::string& name, const std::string& def) {
  auto it = m_values.find({section, name});
  return it == m_values.end() ? def : it->second;
}

int CMemorySettings::ReadInt(const std::string& section, const std::string& name, int def) {
  auto it = m_values.find({section, name});
  int value = 0;
  if (it == m_values.end() || !ParseInt(it->second, value))
    return def;
  return value;
}

void CMemorySettings::WriteString(const std::string& section, const std::string& name, const std::string& value) {
  m_values[{section, name}] = value;
}

void CMemorySettings::WriteInt(const std::string& section, const std::string& name, int value) {
  m_values[{section, name}] = std::to_string(value);
}

bool CMemorySettings::Has(const std::string& section, const std::string& name) const {
  return m_values.count({section, name}) != 0;
}

} // namespace QZP
