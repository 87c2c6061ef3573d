#pragma once
// Conversion tables are written as text in the notation of their source tables, so that each can be
// checked by eye: lists such as "1, 35, 8, 100*11, none*2, 133..134" and runs such as
// "2..4 -> 141..143; 28..30 -> none; 17..27 -> 2". Both are expanded once, on first use.

#include <cstddef>
#include <vector>

namespace QZML {

// The entry of a table position that has no counterpart.
constexpr int kNone = -1;

// Expands a comma-separated list. Items: "N", "N..M" (N, N+1, ... M), "none"; any item may be
// followed by "*count" to repeat it. False on any syntax error.
bool ExpandList(const char* text, std::vector<int>& out);

// Expands runs separated by ';' into a table of `size` entries. Each run is "a -> x" or "a..b -> x",
// where x is "o" (a maps to o, a+1 to o+1, ...), "o..p" (must be as long as a..b) or "none".
// Every index 0..size-1 must be given exactly once; false otherwise.
bool ExpandRuns(const char* text, int size, std::vector<int>& out);

// table[index], or fallback when index lies outside the table.
inline int Lookup(const std::vector<int>& table, long index, int fallback) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.size())
    return fallback;
  return table[static_cast<std::size_t>(index)];
}

} // namespace QZML
