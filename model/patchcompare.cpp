#include "model/patchcompare.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

#include "model/appstate.h"

namespace QZML {
namespace {

EModel ResolveModel(CDataModel model) { return model.value_or(CAppState::Instance().GetTargetModel()); }

std::string TrimmedName(const CPatch& patch) {
  std::string name = patch.GetName();
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// A run of compared bytes in the flat image: neighbouring compared blocks are hashed and compared as one.
struct CSpan {
  int offset;
  int size;
};

std::vector<CSpan> ComparedSpans(bool withName, CDataModel model) {
  std::vector<CSpan> spans;
  for (const CComparedBlock& block : ComparedBlocks(withName, model)) {
    if (!spans.empty() && spans.back().offset + spans.back().size == block.flatOffset)
      spans.back().size += block.size;
    else
      spans.push_back(CSpan{block.flatOffset, block.size});
  }
  return spans;
}

std::size_t HashSpans(const CPatch& patch, const std::vector<CSpan>& spans) {
  std::size_t hash = 0;
  for (const CSpan& span : spans) {
    const std::string_view bytes(reinterpret_cast<const char*>(patch.Image() + span.offset),
                                 static_cast<std::size_t>(span.size));
    hash = hash * 1000003u ^ std::hash<std::string_view>()(bytes);
  }
  return hash;
}

bool EqualSpans(const CPatch& a, const CPatch& b, const std::vector<CSpan>& spans) {
  for (const CSpan& span : spans)
    if (std::memcmp(a.Image() + span.offset, b.Image() + span.offset, static_cast<std::size_t>(span.size)) != 0)
      return false;
  return true;
}

} // namespace

std::vector<CComparedBlock> ComparedBlocks(bool withName, CDataModel model) {
  const int index = ResolveModel(model) == MODEL_QZMAX ? 0 : 1;
  std::vector<CComparedBlock> blocks;
  for (int i = 0; i < kBlockCount; ++i) {
    const CBlockInstance& block = BlockInstance(i);
    const CBlockKind& kind = *block.kind;
    if (!kind.written[index] || (kind.id == BLOCK_NAME && !withName))
      continue;
    blocks.push_back(CComparedBlock{kind.id, block.sub, block.flatOffset, std::min(kind.size[index], block.size)});
  }
  return blocks;
}

CPatchDifferences ComparePatches(const CPatch& first, const CPatch& second, CDataModel model) {
  CPatchDifferences differences;
  for (const CComparedBlock& block : ComparedBlocks(false, model)) {
    const std::uint8_t* a = first.Image() + block.flatOffset;
    const std::uint8_t* b = second.Image() + block.flatOffset;
    if (std::memcmp(a, b, static_cast<std::size_t>(block.size)) == 0)
      continue;
    CBlockDifference difference{block.blockId, block.sub, BlockText(block.blockId, block.sub), block.size, {}};
    for (int offset = 0; offset < block.size; ++offset)
      if (a[offset] != b[offset])
        difference.bytes.push_back(CByteDifference{offset, a[offset], b[offset]});
    differences.blocks.push_back(std::move(difference));
  }
  if (first.GetName() != second.GetName())
    differences.texts.push_back(CTextDifference{"Name", TrimmedName(first), TrimmedName(second)});
  for (int memo = 0; memo < 4; ++memo)
    if (first.GetMemo(memo) != second.GetMemo(memo))
      differences.texts.push_back(
          CTextDifference{"Memo" + std::to_string(memo + 1), first.GetMemo(memo), second.GetMemo(memo)});
  return differences;
}

bool ComparePatchesOfModels(const CPatch& first, CDataModel firstData, const CPatch& second, CDataModel secondData,
                            CPatchDifferences& differences) {
  const EModel firstModel = ResolveModel(firstData);
  const EModel secondModel = ResolveModel(secondData);
  if (firstModel == secondModel) {
    differences = ComparePatches(first, second, firstModel);
    return true;
  }
  // One of two models is the target's: the other patch is brought to it.
  const EModel target = CAppState::Instance().GetTargetModel();
  const bool convertFirst = firstModel != target;
  CPatchArray copy;
  copy.Add(std::make_unique<CPatch>(convertFirst ? first : second));
  if (!CAppState::Instance().AdaptPatches(copy, convertFirst ? firstModel : secondModel, target))
    return false;
  differences =
      convertFirst ? ComparePatches(*copy.Get(0), second, target) : ComparePatches(first, *copy.Get(0), target);
  return true;
}

std::vector<std::string> DescribeDifferences(const CPatchDifferences& differences, int maxByteLines) {
  std::vector<std::string> lines;
  if (differences.Equal()) {
    lines.push_back("The patches are identical.");
    return lines;
  }
  int listed = 0;
  for (const CBlockDifference& block : differences.blocks) {
    const std::size_t count = block.bytes.size();
    lines.push_back(block.text + ": " + std::to_string(count) + " of " + std::to_string(block.size) +
                    (count == 1 ? " bytes differs" : " bytes differ"));
    std::size_t shown = 0;
    for (; shown < count && listed < maxByteLines; ++shown, ++listed) {
      const CByteDifference& byte = block.bytes[shown];
      lines.push_back("  offset " + std::to_string(byte.offset) + ": " + std::to_string(byte.first) + " / " +
                      std::to_string(byte.second));
    }
    if (shown < count)
      lines.push_back("  ... " + std::to_string(count - shown) + " more");
  }
  for (const CTextDifference& text : differences.texts)
    lines.push_back(text.what + ": " + Quoted(text.first) + " / " + Quoted(text.second));
  return lines;
}

std::string SummarizeDifferences(const CPatchDifferences& differences) {
  std::string summary;
  auto add = [&summary](const std::string& item) {
    if (!summary.empty())
      summary += ", ";
    summary += item;
  };
  for (const CBlockDifference& block : differences.blocks)
    add(block.text);
  for (const CTextDifference& text : differences.texts)
    add(text.what);
  return summary;
}

std::vector<CDuplicateGroup> FindDuplicates(const CPatchArray& patches, bool withName, CDataModel model) {
  const std::vector<CSpan> spans = ComparedSpans(withName, model);
  struct CKey {
    std::size_t hash;
    int row;
  };
  std::vector<CKey> keys;
  keys.reserve(patches.size());
  for (std::size_t row = 0; row < patches.size(); ++row)
    if (const CPatch* patch = patches.Get(row))
      keys.push_back(CKey{HashSpans(*patch, spans), static_cast<int>(row)});
  // Equal data hash alike: sorting by hash brings each group together, rows ascending within it.
  std::sort(keys.begin(), keys.end(),
            [](const CKey& a, const CKey& b) { return a.hash != b.hash ? a.hash < b.hash : a.row < b.row; });

  std::vector<CDuplicateGroup> groups;
  std::vector<CDuplicateGroup> classes;
  for (std::size_t begin = 0; begin < keys.size();) {
    std::size_t end = begin + 1;
    while (end < keys.size() && keys[end].hash == keys[begin].hash)
      ++end;
    if (end - begin > 1) {
      // Rows of one hash are almost always one group; a collision splits them by their bytes.
      classes.clear();
      for (std::size_t k = begin; k < end; ++k) {
        const CPatch& patch = *patches.Get(static_cast<std::size_t>(keys[k].row));
        auto same = std::find_if(classes.begin(), classes.end(), [&](const CDuplicateGroup& group) {
          return EqualSpans(*patches.Get(static_cast<std::size_t>(group.front())), patch, spans);
        });
        if (same == classes.end())
          classes.push_back(CDuplicateGroup{keys[k].row});
        else
          same->push_back(keys[k].row);
      }
      for (CDuplicateGroup& group : classes)
        if (group.size() > 1)
          groups.push_back(std::move(group));
    }
    begin = end;
  }
  std::sort(groups.begin(), groups.end(),
            [](const CDuplicateGroup& a, const CDuplicateGroup& b) { return a.front() < b.front(); });
  return groups;
}

std::vector<int> LaterDuplicates(const std::vector<CDuplicateGroup>& groups) {
  std::vector<int> rows;
  for (const CDuplicateGroup& group : groups)
    if (group.size() > 1)
      rows.insert(rows.end(), group.begin() + 1, group.end());
  std::sort(rows.begin(), rows.end());
  return rows;
}

} // namespace QZML
