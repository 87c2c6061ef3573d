#include "model/listedit.h"

#include <algorithm>
#include <functional>

namespace QZML {
namespace ListEdit {

namespace {

bool Holds(const CParameterArray& array, int index) {
  return index >= 0 && static_cast<std::size_t>(index) < array.size();
}

} // namespace

void Copy(const CParameterArray& array, const std::vector<int>& indices, CParameterArray& clipboard) {
  if (&array == &clipboard)
    return;
  clipboard.Clear();
  for (int index : indices)
    if (Holds(array, index))
      clipboard.Add(array[static_cast<std::size_t>(index)]->Clone());
}

int Delete(CParameterArray& array, std::vector<int> indices) {
  // From the highest index down, so that the indices still to go keep their sets.
  std::sort(indices.begin(), indices.end(), std::greater<int>());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  int removed = 0;
  for (int index : indices)
    if (Holds(array, index)) {
      array.RemoveAt(static_cast<std::size_t>(index));
      ++removed;
    }
  return removed;
}

void Initialize(CParameterArray& array, const std::vector<int>& indices) {
  for (int index : indices)
    if (Holds(array, index))
      array[static_cast<std::size_t>(index)]->Initialize();
}

int Insert(CParameterArray& array, int at, const CParameterArray& clipboard) {
  if (&array == &clipboard)
    return 0;
  const std::size_t start = static_cast<std::size_t>(std::clamp(at, 0, static_cast<int>(array.size())));
  int inserted = 0;
  for (std::size_t i = 0; i < clipboard.size(); ++i)
    if (const CParameter* set = clipboard.At(i)) {
      array.InsertAt(start + static_cast<std::size_t>(inserted), set->Clone());
      ++inserted;
    }
  return inserted;
}

int Replace(CParameterArray& array, const std::vector<int>& indices, const CParameterArray& clipboard) {
  if (&array == &clipboard || clipboard.empty())
    return 0;
  int replaced = 0;
  for (std::size_t n = 0; n < indices.size(); ++n) {
    const CParameter* source = clipboard.At(n % clipboard.size());
    if (!source || !Holds(array, indices[n]))
      continue;
    ReplaceAt(array, indices[n], source->Clone());
    ++replaced;
  }
  return replaced;
}

bool Exchange(CParameterArray& array, const std::vector<int>& indices) {
  if (indices.size() < 2 || !Holds(array, indices.front()) || !Holds(array, indices.back()))
    return false;
  array.Swap(static_cast<std::size_t>(indices.front()), static_cast<std::size_t>(indices.back()));
  return true;
}

void ReplaceAt(CParameterArray& array, int index, std::unique_ptr<CParameter> element) {
  if (!Holds(array, index) || !element)
    return;
  // The new set goes in at the end and trades places with the old one, which then goes.
  array.Add(std::move(element));
  array.Swap(static_cast<std::size_t>(index), array.size() - 1);
  array.RemoveAt(array.size() - 1);
}

std::vector<int> DropOnto(CParameterArray& array, const std::vector<int>& targets, CParameterArray& dropped) {
  std::vector<int> landed;
  for (int index : targets) {
    if (dropped.empty())
      break;
    if (!Holds(array, index))
      continue;
    ReplaceAt(array, index, dropped.Detach(0));
    landed.push_back(index);
  }
  return landed;
}

std::vector<int> MovableSets(const std::vector<int>& indices, int at, int count) {
  std::vector<int> moved = indices;
  std::sort(moved.begin(), moved.end());
  moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
  if (moved.empty() || moved.size() != indices.size() || moved.front() < 0 || moved.back() >= count)
    return {};
  const bool run = moved.back() - moved.front() + 1 == static_cast<int>(moved.size());
  if (run && moved == indices && at >= moved.front() && at <= moved.back() + 1)
    return {};
  return moved;
}

std::vector<int> DropBetween(CParameterArray& array, const std::vector<int>& moved, int at, CParameterArray& dropped) {
  at = std::clamp(at, 0, static_cast<int>(array.size()));
  for (auto index = moved.rbegin(); index != moved.rend(); ++index) {
    if (!Holds(array, *index))
      continue;
    array.RemoveAt(static_cast<std::size_t>(*index));
    if (*index < at)
      --at;
  }
  std::vector<int> landed;
  while (!dropped.empty()) {
    const int index = at + static_cast<int>(landed.size());
    array.InsertAt(static_cast<std::size_t>(index), dropped.Detach(0));
    landed.push_back(index);
  }
  return landed;
}

} // namespace ListEdit
} // namespace QZML
