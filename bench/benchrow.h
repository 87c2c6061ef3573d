#pragma once
// One line of the table tools/bench prints: the figure, what was measured, the target and whether it was
// met, separated by tabs so the script can line the programs' rows up as one table.

#include <cstdio>
#include <string>

inline void PrintBenchRow(const std::string& figure, const std::string& measured, const std::string& target,
                          const char* verdict) {
  std::printf("%s\t%s\t%s\t%s\n", figure.c_str(), measured.c_str(), target.c_str(), verdict);
  std::fflush(stdout);
}

inline const char* Verdict(bool met) { return met ? "met" : "MISSED"; }

template <class... TArgs> std::string Format(const char* format, TArgs... args) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}
