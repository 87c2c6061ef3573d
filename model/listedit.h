#pragma once
// The list editing commands (copy, delete, initialize, insert, replace, exchange) and the placing of
// dropped sets, on an array of sets and the indices of the selected ones in the list's row order.
//
// A list may be sorted, so the selected indices come in row order, not index order; each operation
// says which order it uses. Indices outside the array are left out. An array is never edited from
// itself (a clipboard that is the array does nothing).

#include "model/parameter.h"

#include <vector>

namespace QZML {
namespace ListEdit {

// The clipboard becomes copies of the selected sets, in row order.
void Copy(const CParameterArray& array, const std::vector<int>& indices, CParameterArray& clipboard);

// Removes the selected sets; returns how many went.
int Delete(CParameterArray& array, std::vector<int> indices);

// Sets the selected sets to the new-set contents.
void Initialize(CParameterArray& array, const std::vector<int>& indices);

// Puts copies of the clipboard's sets in before index at (at the end when at is past it); returns how
// many went in. The inserted sets are then at [at, at + count), at clamped to the array.
int Insert(CParameterArray& array, int at, const CParameterArray& clipboard);

// Overwrites the selected sets, in row order, with the clipboard's sets, starting again at the first
// when the clipboard is shorter than the selection. Returns how many were replaced.
int Replace(CParameterArray& array, const std::vector<int>& indices, const CParameterArray& clipboard);

// Exchanges the first and the last selected set; false when fewer than two are selected.
bool Exchange(CParameterArray& array, const std::vector<int>& indices);

// Puts element at index in place of the set there, which goes; nothing when index is outside.
void ReplaceAt(CParameterArray& array, int index, std::unique_ptr<CParameter> element);

// Dropped sets: each set of dropped goes in place of the set at the target of the same place (ascending
// targets); dropped is emptied of what went. Returns the indices that took a set.
std::vector<int> DropOnto(CParameterArray& array, const std::vector<int>& targets, CParameterArray& dropped);

// A move of the sets at indices (in the order they were dragged) within an array of count sets to in
// between, before index at: the indices in ascending order, or none when the move is refused (a repeated
// index or one outside the array) or changes nothing (a run dropped in order onto or next to itself).
std::vector<int> MovableSets(const std::vector<int>& indices, int at, int count);

// Dropped sets in between: first the sets at moved (a move within the array; ascending, without repeats)
// go, then every set of dropped goes in before what was at index at (at the end when at is past it).
// Returns the indices the dropped sets landed at, ascending.
std::vector<int> DropBetween(CParameterArray& array, const std::vector<int>& moved, int at, CParameterArray& dropped);

} // namespace ListEdit
} // namespace QZML
