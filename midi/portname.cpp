#include "midi/portname.h"

namespace {

const char kNotConnected[] = " (not connected)";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Moves at back over the digits before it; false when there are none.
bool SkipDigitsBack(const std::string& text, std::size_t& at) {
  const std::size_t end = at;
  while (at > 0 && IsDigit(text[at - 1]))
    --at;
  return at != end;
}

// Splits "<base> #<n>" (n from 2 on, at most three digits); false for anything else.
bool SplitPlace(const std::string& stored, std::string& base, int& place) {
  std::size_t at = stored.size();
  if (!SkipDigitsBack(stored, at) || stored.size() - at > 3 || at < 3 || stored[at - 1] != '#' || stored[at - 2] != ' ')
    return false;
  place = std::stoi(stored.substr(at));
  base = stored.substr(0, at - 2);
  return place >= 2;
}

int FindPlace(const std::string& base, int place, const std::vector<std::string>& names) {
  int seen = 0;
  for (std::size_t i = 0; i < names.size(); ++i)
    if (StablePortName(names[i]) == base && ++seen == place)
      return static_cast<int>(i);
  return -1;
}

} // namespace

std::string StablePortName(const std::string& name) {
  std::size_t at = name.size();
  if (!SkipDigitsBack(name, at) || at == 0 || name[at - 1] != ':')
    return name;
  --at;
  if (!SkipDigitsBack(name, at) || at < 2 || name[at - 1] != ' ')
    return name;
  return name.substr(0, at - 1);
}

std::string StoredPortName(const std::string& name, const std::vector<std::string>& names) {
  const std::string stable = StablePortName(name);
  int place = 0;
  for (const std::string& other : names) {
    if (StablePortName(other) != stable)
      continue;
    ++place;
    if (other == name)
      return place == 1 ? stable : stable + " #" + std::to_string(place);
  }
  // Gone from the list meanwhile: its place is not known.
  return stable;
}

int FindStoredPort(const std::string& stored, const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == stored)
      return static_cast<int>(i);
  std::string base;
  int place = 1;
  if (SplitPlace(stored, base, place)) {
    const int found = FindPlace(base, place, names);
    if (found >= 0)
      return found;
  }
  // A name stored with its numbers by an earlier version binds to the first port of that name.
  return FindPlace(StablePortName(stored), 1, names);
}

std::string NotConnectedText(const std::string& stored) { return stored + kNotConnected; }

std::string FromNotConnectedText(const std::string& text) {
  const std::size_t length = sizeof kNotConnected - 1;
  if (text.size() > length && text.compare(text.size() - length, length, kNotConnected) == 0)
    return text.substr(0, text.size() - length);
  return text;
}
