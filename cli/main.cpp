// qzml: the librarian on the command line, built on the same layers as the windowed program.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cliargs.h"
#include "cli/commands.h"
#include "cli/terminaltextout.h"
#include "model/appstate.h"
#include "qzversion.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  QZCli::CCommandLine line;
  std::string error;
  switch (QZCli::ParseCommandLine(args, line, error)) {
  case QZCli::PARSE_HELP:
    std::fputs(QZCli::HelpText(line.command).c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  case QZCli::PARSE_VERSION:
    std::puts(QZ_VERSION_LINE("qzml"));
    return std::fflush(stdout) == 0 ? 0 : 1;
  case QZCli::PARSE_USAGE_ERROR:
    std::fprintf(stderr, "qzml: %s\n%s", error.c_str(), QZCli::UsageHint(line.command).c_str());
    return 2;
  default:
    break;
  }

  CTerminalTextOut terminal;
  terminal.SetAnswerYes(line.global.yes);
  QZML::CAppState& state = QZML::CAppState::Instance();
  state.SetTargetModelQuiet(line.global.model);
  state.SetMessageBoxOutput(&terminal);
  state.SetErrorOutput(&terminal);
  int status = QZCli::RunCommand(line, terminal);
  state.SetMessageBoxOutput(nullptr);
  state.SetErrorOutput(nullptr);
  return status;
}
