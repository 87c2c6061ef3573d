// The commands that compare patches: diff and duplicates.
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "model/patchcompare.h"

namespace QZCli {

namespace {

void PrintLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

const QZML::CPatch& PatchAt(const QZML::CPatchArray& patches, std::size_t row) {
  static const QZML::CPatch kDefault;
  const QZML::CPatch* patch = patches.Get(row);
  return patch ? *patch : kDefault;
}

} // namespace

int RunDiff(const CCommandLine& line, CTerminalTextOut& out) {
  QZML::CPatchArray files[2];
  QZML::CDataModel models[2] = {QZML::kModelOfTarget, QZML::kModelOfTarget};
  for (int i = 0; i < 2; ++i) {
    const CPatchOperand& operand = line.patchOperands[static_cast<std::size_t>(i)];
    if (!OpenForComparing(operand.path, out, files[i], models[i]))
      return 2;
    if (operand.row >= static_cast<int>(files[i].size())) {
      out.Message(operand.path + " holds " + std::to_string(files[i].size()) + " patches; there is no patch " +
                  std::to_string(operand.row + 1) + ".");
      return 2;
    }
  }

  // Either file's conversion was offered while it was opened; declined, its data stay another model's.
  if (models[0] != models[1]) {
    out.Message("Conversion declined: nothing compared.");
    return 2;
  }
  const QZML::CDataModel model = models[0];

  const int rowA = line.patchOperands[0].row;
  const int rowB = line.patchOperands[1].row;
  if (rowA >= 0) {
    const QZML::CPatchDifferences differences = QZML::ComparePatches(
        PatchAt(files[0], static_cast<std::size_t>(rowA)), PatchAt(files[1], static_cast<std::size_t>(rowB)), model);
    for (const std::string& text : QZML::DescribeDifferences(differences))
      PrintLine(text);
    return differences.Equal() ? 0 : 1;
  }

  // Whole libraries: one line per patch number that differs, or that only one of them holds.
  bool equal = true;
  const std::size_t common = std::min(files[0].size(), files[1].size());
  for (std::size_t row = 0; row < common; ++row) {
    const QZML::CPatchDifferences differences =
        QZML::ComparePatches(PatchAt(files[0], row), PatchAt(files[1], row), model);
    if (differences.Equal())
      continue;
    equal = false;
    PrintLine(std::to_string(row + 1) + "\t" + QZML::SummarizeDifferences(differences));
  }
  for (int i = 0; i < 2; ++i)
    for (std::size_t row = common; row < files[i].size(); ++row) {
      equal = false;
      PrintLine(std::to_string(row + 1) + "\tonly in " + line.patchOperands[static_cast<std::size_t>(i)].path);
    }
  return equal ? 0 : 1;
}

bool RunDuplicates(const CCommandLine& line, CTerminalTextOut& out) {
  QZML::CPatchArray patches;
  QZML::CDataModel model = QZML::kModelOfTarget;
  if (!OpenForComparing(line.operands[0], out, patches, model))
    return false;
  // One file holds one model's data: compared as that model's, converted or not.
  for (const QZML::CDuplicateGroup& group : QZML::FindDuplicates(patches, line.Has("--include-name"), model)) {
    std::string text;
    for (int row : group) {
      if (!text.empty())
        text += "\t";
      text += std::to_string(row + 1) + " " + NameField(PatchAt(patches, static_cast<std::size_t>(row)));
    }
    PrintLine(text);
  }
  return true;
}

} // namespace QZCli
