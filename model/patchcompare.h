#pragma once
// Comparing patches: the differences of two patches block by block, and groups of equal patches in a list.
//
// Two patches are compared on what makes their sound on the unit: the blocks their model sends, at the
// sizes it sends them. Bytes the unit never receives (the other model's assigns, the unsent tail of a
// QZ-5 block) do not count, so a patch and its copy that went through another model's conversion or
// importer still compare equal. The name and the memos are compared apart from the blocks.
//
// The model is that of the patches' data: the target model (kModelOfTarget) unless a list kept its own
// (CData::Model()). Patches of two models are compared only once converted to one (ComparePatchesOfModels).

#include <cstdint>
#include <string>
#include <vector>

#include "model/document.h"
#include "model/patch.h"

namespace QZML {

// One compared block of a model, in the flat patch image.
struct CComparedBlock {
  int blockId;
  int sub;
  int flatOffset;
  int size; // the bytes the model sends
};

// The compared blocks of a model in table order; "PATCH NAME" only when withName.
std::vector<CComparedBlock> ComparedBlocks(bool withName, CDataModel model = kModelOfTarget);

// One byte that differs: its offset inside the block and the two values.
struct CByteDifference {
  int offset;
  std::uint8_t first;
  std::uint8_t second;
};

// One block that differs, with every differing byte in offset order.
struct CBlockDifference {
  int blockId;
  int sub;
  std::string text; // the block's own description: "PATCH FX1", "PATCH ASSIGN 3"
  int size;         // bytes compared
  std::vector<CByteDifference> bytes;
};

// The name or a memo, when it differs: what ("Name", "Memo1".."Memo4") and both texts (the name without its
// trailing spaces).
struct CTextDifference {
  std::string what;
  std::string first;
  std::string second;
};

struct CPatchDifferences {
  std::vector<CBlockDifference> blocks; // in table order
  std::vector<CTextDifference> texts;   // name first, then the memos in order
  bool Equal() const { return blocks.empty() && texts.empty(); }
};

// The differences of two patches whose data are both of model.
CPatchDifferences ComparePatches(const CPatch& first, const CPatch& second, CDataModel model = kModelOfTarget);

// The differences of a patch of firstModel's data and one of secondModel's (models, or kModelOfTarget).
// Of one model they are compared as they are; of two, the one that is not the target model's is converted
// to it on a copy, after the conversion question (CAppState::AdaptPatches). False, with nothing compared,
// when the user declines: patches of two models are never compared raw.
bool ComparePatchesOfModels(const CPatch& first, CDataModel firstModel, const CPatch& second, CDataModel secondModel,
                            CPatchDifferences& differences);

// Byte lines listed in all by DescribeDifferences by default: with the block and text lines, a screenful.
constexpr int kListedByteDifferences = 16;

// The differences for a reader, one line each: per block "PATCH FX1: 12 of 130 bytes differ", below it the
// bytes as "  offset 12: 50 / 51" (at most maxByteLines of them in all, then "  ... N more" per block), then
// the name and memos as `Name: "Lead" / "Clean"`. Equal patches give the single line
// "The patches are identical."
std::vector<std::string> DescribeDifferences(const CPatchDifferences& differences,
                                             int maxByteLines = kListedByteDifferences);

// What differs in one line: the block texts, then "Name" and the memos, separated by ", ".
std::string SummarizeDifferences(const CPatchDifferences& differences);

// Rows of a list whose patch data are equal, in ascending order; the groups ordered by their first row.
using CDuplicateGroup = std::vector<int>;

// The groups of two or more rows (0-based) of a list of model's data whose compared blocks are equal, the
// name included only when withName; memos never count. Rows that hold no patch belong to no group.
// Found by hashing, so a list of ten thousand patches takes milliseconds.
std::vector<CDuplicateGroup> FindDuplicates(const CPatchArray& patches, bool withName = false,
                                            CDataModel model = kModelOfTarget);

// Every row of the groups but the first of each: the rows whose data equal an earlier row's, ascending.
std::vector<int> LaterDuplicates(const std::vector<CDuplicateGroup>& groups);

} // namespace QZML
