#include <gtest/gtest.h>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "model/appstate.h"

using namespace QZCli;

namespace {

int Parse(std::vector<std::string> args, CCommandLine& line, std::string& error) {
  return ParseCommandLine(args, line, error);
}

} // namespace

TEST(RowList, ListsAndRangesBecomeSortedDistinctIndices) {
  std::vector<int> rows;
  std::string error;
  ASSERT_TRUE(ParseRowList("7,1,3,5-7", 200, rows, error));
  EXPECT_EQ(rows, (std::vector<int>{0, 2, 4, 5, 6}));
  ASSERT_TRUE(ParseRowList("200", 200, rows, error));
  EXPECT_EQ(rows, (std::vector<int>{199}));
  ASSERT_TRUE(ParseRowList("1-140", 140, rows, error));
  EXPECT_EQ(rows.size(), 140u);
}

TEST(RowList, RefusesWhatIsNoRowList) {
  std::vector<int> rows{42};
  std::string error;
  for (const char* bad : {"", "0", "1,,2", "1,", ",1", "3-1", "1-", "-2", "a", "1.5", "+1", " 1", "1-2-3",
                          "99999999999", "201", "190-201"}) {
    EXPECT_FALSE(ParseRowList(bad, 200, rows, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  EXPECT_EQ(rows, (std::vector<int>{42})); // untouched on failure
}

TEST(PatchOperand, ANumberAfterTheLastColonAndOnlyThere) {
  CPatchOperand operand;
  std::string error;
  const std::pair<const char*, CPatchOperand> good[] = {
      {"a.qzl", {"a.qzl", -1}},           {"a.qzl:3", {"a.qzl", 2}},          {"dir:x/a.qzl:12", {"dir:x/a.qzl", 11}},
      {"take:2.qzl", {"take:2.qzl", -1}}, {"ends with:", {"ends with:", -1}},
  };
  for (const auto& [text, expected] : good) {
    ASSERT_TRUE(ParsePatchOperand(text, operand, error)) << text;
    EXPECT_EQ(operand.path, expected.path) << text;
    EXPECT_EQ(operand.row, expected.row) << text;
  }
  for (const char* text : {"a.qzl:0", ":3", "a.qzl:1234567890"})
    EXPECT_FALSE(ParsePatchOperand(text, operand, error)) << text;
}

TEST(CommandLine, GlobalOptionsBeforeTheCommand) {
  CCommandLine line;
  std::string error;
  ASSERT_EQ(
      Parse({"--model", "qz5", "--device-id=32", "--yes", "--midi-api", "jack", "convert", "a", "b"}, line, error),
      PARSE_RUN)
      << error;
  EXPECT_EQ(line.global.model, QZML::MODEL_QZ5);
  EXPECT_EQ(line.global.deviceId, 32);
  EXPECT_TRUE(line.global.yes);
  EXPECT_EQ(line.global.midiApi, "jack");
  EXPECT_STREQ(line.command->name, "convert");
  EXPECT_EQ(line.operands, (std::vector<std::string>{"a", "b"}));

  EXPECT_EQ(Parse({"list", "--yes", "a"}, line, error), PARSE_USAGE_ERROR);
  EXPECT_NE(error.find("before the command"), std::string::npos);

  // The unit found: its ports and device ID.
  ASSERT_EQ(Parse({"--device-id", "auto", "read", "--in", "auto", "--out", "auto", "o.qzl"}, line, error), PARSE_RUN)
      << error;
  EXPECT_TRUE(line.global.deviceIdAuto);
  EXPECT_EQ(line.Get("--in"), "auto");
  ASSERT_EQ(Parse({"--device-id=auto", "--device-id", "5", "detect"}, line, error), PARSE_RUN) << error;
  EXPECT_FALSE(line.global.deviceIdAuto);
  EXPECT_EQ(line.global.deviceId, 5);
}

TEST(CommandLine, CommandOptionsAnywhereAndOperandsAfterDoubleDash) {
  CCommandLine line;
  std::string error;
  ASSERT_EQ(Parse({"write", "x.qzl", "--out=B", "--temp", "3", "--in", "A", "--verify"}, line, error), PARSE_RUN)
      << error;
  EXPECT_EQ(line.Get("--in"), "A");
  EXPECT_EQ(line.Get("--out"), "B");
  EXPECT_EQ(line.tempRow, 2);
  EXPECT_TRUE(line.Has("--verify"));
  ASSERT_EQ(Parse({"export-smf", "--", "--select", "-"}, line, error), PARSE_RUN) << error;
  EXPECT_EQ(line.operands, (std::vector<std::string>{"--select", "-"}));
  EXPECT_TRUE(line.select.empty());
}

TEST(CommandLine, HelpWinsAndUsageErrorsSayWhy) {
  CCommandLine line;
  std::string error;
  EXPECT_EQ(Parse({"--help"}, line, error), PARSE_HELP);
  EXPECT_EQ(line.command, nullptr);
  EXPECT_EQ(Parse({"--model", "qz5", "--version"}, line, error), PARSE_VERSION);
  EXPECT_EQ(Parse({"read", "--bogus", "--help"}, line, error), PARSE_HELP);
  ASSERT_NE(line.command, nullptr);
  EXPECT_STREQ(line.command->name, "read");

  struct CCase {
    std::vector<std::string> args;
    const char* says;
  };
  const CCase cases[] = {
      {{}, "no command"},
      {{"frobnicate"}, "unknown command"},
      {{"--model", "qz7", "ports"}, "--model"},
      {{"--model"}, "needs a value"},
      {{"--device-id", "0", "ports"}, "1 to 32"},
      {{"--device-id", "33", "ports"}, "1 to 32"},
      {{"--midi-api", "oss", "ports"}, "--midi-api"},
      {{"--yes=1", "ports"}, "no value"},
      {{"list"}, "FILE missing"},
      {{"list", "a", "b"}, "unexpected operand"},
      {{"list", ""}, "empty file name"},
      {{"ports", "--select", "1"}, "unknown option"},
      {{"read", "--in", "A", "o.qzl"}, "--out"},
      {{"read", "--in", "A", "--out", "B", "--select", "1", "--temp", "o.qzl"}, "exclude"},
      {{"read", "--in", "A", "--out", "B", "--temp=1", "o.qzl"}, "no value"},
      {{"read", "--in", "A", "--in", "B", "o.qzl"}, "twice"},
      {{"--model", "qz5", "read", "--in", "A", "--out", "B", "--select", "141", "o.qzl"}, "beyond"},
      {{"write", "--in", "A", "--out", "B", "--temp", "0", "i.qzl"}, "--temp"},
      {{"export-smf", "--select", "x", "a", "b"}, "--select"},
      {{"simulate", "--name", ""}, "empty"},
      {{"--device-id", "auto", "detect"}, "only with read and write"},
      {{"--device-id", "auto", "simulate"}, "only with read and write"},
      {{"detect", "x"}, "unexpected operand"},
  };
  for (const CCase& c : cases) {
    error.clear();
    EXPECT_EQ(Parse(c.args, line, error), PARSE_USAGE_ERROR) << c.says;
    EXPECT_NE(error.find(c.says), std::string::npos) << error;
  }
}

TEST(CommandLine, EveryCommandHasItsHelp) {
  for (const CCommandSpec& spec : Commands()) {
    std::string help = HelpText(&spec);
    EXPECT_NE(help.find(std::string("qzml [GLOBAL OPTIONS] ") + spec.name), std::string::npos);
    EXPECT_NE(HelpText(nullptr).find(std::string("  ") + spec.name), std::string::npos);
    for (const COptionSpec& option : spec.options)
      EXPECT_NE(help.find(option.name), std::string::npos) << spec.name << " " << option.name;
  }
}

TEST(ListLine, TrimsTheNameAndKeepsEveryLineOneLine) {
  QZML::CPatch patch;
  patch.SetName("  Lead  ");
  patch.Memo1 = "a\tb";
  patch.Memo3 = "two\nlines";
  EXPECT_EQ(ListLine(7, patch), "7\t  Lead\ta b\t\ttwo lines\t\n");
  EXPECT_EQ(ListLine(1, QZML::CPatch()), "1\tINIT PATCH\t\t\t\t\n");
  // Foreign data may pad a name with zero bytes; they are no part of the name either.
  QZML::CPatch padded;
  padded.SetName("Two");
  QZML::CBlockRef name = padded.GetBlock(QZML::BLOCK_NAME, 0);
  ASSERT_TRUE(name);
  for (int i = 3; i < name.size; ++i)
    name.data[i] = 0;
  EXPECT_EQ(ListLine(2, padded), "2\tTwo\t\t\t\t\n");
}
