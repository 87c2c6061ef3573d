#pragma once
// The per-user profile of the program (organisation "Orvane", application "QZ-MAX Librarian"):
// the registry on Windows, an INI file elsewhere. Sections are settings groups; names are kept as stored.

#include <QString>

#include <memory>

class QSettings;

namespace GP {

inline constexpr const char* kProfileOrganization = "Orvane";
inline constexpr const char* kProfileApplication = "QZ-MAX Librarian";

std::unique_ptr<QSettings> OpenProfile();

// A value that was stored as a list (an unquoted "1,2,3" in an INI file) reads back joined with commas.
QString GetProfileString(const QString& section, const QString& entry, const QString& defaultValue = QString());
// Missing or non-numeric integers read as the default.
int GetProfileInt(const QString& section, const QString& entry, int defaultValue = 0);
void WriteProfileString(const QString& section, const QString& entry, const QString& value);
void WriteProfileInt(const QString& section, const QString& entry, int value);

// Reads up to count comma-separated integers from the start of text ("%d,%d,..." as C's scanf reads
// them: blanks before a number are skipped, a comma must follow it directly). Stops at the first field
// that does not parse and leaves that field and the rest of values untouched. Numbers beyond the
// 32-bit range are clamped. Returns how many fields were stored.
int ScanIntegers(const QString& text, int* values, int count);
// The numbers joined with commas.
QString FormatIntegers(const int* values, int count);

} // namespace GP
