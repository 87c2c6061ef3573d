#include "cli/cliargs.h"

#include <algorithm>

#include "model/appstate.h"

namespace QZCli {

namespace {

const char kGlobalHelp[] = "GLOBAL OPTIONS (before the command)\n"
                           "  --model qzmax|qz5           target model (default qzmax)\n"
                           "  --device-id N|auto          the unit's device ID, 1..32 (default 17); auto (read,\n"
                           "                              write): the ID of the unit found, as with 'detect'\n"
                           "  --yes                       answer Yes to the model-conversion questions (default: No)\n"
                           "  --midi-api auto|alsa|jack   MIDI system to use (default auto)\n"
                           "  --help                      show this help; COMMAND --help shows a command's help\n"
                           "  --version                   show the version and the revision it was built from\n";

const char kExitHelp[] = "EXIT STATUS\n"
                         "  0 success, 1 the operation failed (the reason on stderr), 2 usage error\n";

} // namespace

const std::vector<CCommandSpec>& Commands() {
  static const std::vector<CCommandSpec> commands = {
      {"list",
       {},
       {"FILE"},
       "FILE",
       "number, name and memos of each patch of a file",
       "Lists the patches of a ZK-40 librarian file, a QZ-3 bulk dump or a library file, one line per\n"
       "patch: number (from 1), name, memo 1 to 4, separated by tabs. The file is tried as a ZK-40\n"
       "librarian file first, then as a QZ-3 bulk dump, then as a library file.\n"},
      {"import-zkl",
       {},
       {"IN", "OUT.qzl"},
       "IN OUT.qzl",
       "ZK-40 librarian file -> library file",
       "Imports a ZK-40 librarian file and saves its patches as a library file.\n"},
      {"import-qz3",
       {},
       {"IN", "OUT.qzl"},
       "IN OUT.qzl",
       "QZ-3 bulk dump -> library file",
       "Imports a QZ-3 bulk dump (a Standard MIDI File) and saves its patches as a library file.\n"},
      {"import-smf",
       {},
       {"IN.mid", "OUT.qzl"},
       "IN.mid OUT.qzl",
       "patch Standard MIDI File -> library of all user patches",
       "Reads a Standard MIDI File of patch data into a library of all user patches of the model\n"
       "(200 for qzmax, 140 for qz5, \"INIT PATCH\" where the file has no data) and saves it.\n"},
      {"export-smf",
       {{"--select", "LIST"}},
       {"IN.qzl", "OUT.mid"},
       "[--select LIST] IN.qzl OUT.mid",
       "library -> patch Standard MIDI File",
       "Exports library patches 1..K as user patches 1..K into a Standard MIDI File; the library may\n"
       "hold no more patches than the model has user patches. --select exports only the listed rows\n"
       "(1-based, like 1,3,5-7).\n"},
      {"convert",
       {},
       {"IN.qzl", "OUT.qzl"},
       "IN.qzl OUT.qzl",
       "library file -> library file of --model",
       "Loads a library file and saves it for the model given with --model. Data of the other model is\n"
       "converted only with --yes.\n"},
      {"ports",
       {},
       {},
       "",
       "list the MIDI ports",
       "Lists the MIDI ports: lines \"in<TAB>NAME\" and \"out<TAB>NAME\".\n"},
      {"read",
       {{"--in", "PORT"}, {"--out", "PORT"}, {"--select", "LIST"}, {"--temp", nullptr}},
       {"OUT.qzl"},
       "--in PORT --out PORT [--select LIST | --temp] OUT.qzl",
       "unit -> library file",
       "Reads the unit's user patches (all of them, or the listed ones into their rows; the other rows\n"
       "stay \"INIT PATCH\") and saves them as a library file; with --temp reads the temporary patch into\n"
       "a library of one patch. Progress goes to stderr; Ctrl+C cancels. OUT is written only on success.\n"
       "A PORT of auto (and --device-id auto) is the one of the single unit of --model that 'detect'\n"
       "finds; when none or several answer, nothing is read.\n"},
      {"write",
       {{"--in", "PORT"}, {"--out", "PORT"}, {"--select", "LIST"}, {"--temp", "N"}, {"--verify", nullptr}},
       {"IN.qzl"},
       "--in PORT --out PORT [--select LIST | --temp N] [--verify] IN.qzl",
       "library file -> unit",
       "Writes library patches 1..K to the unit's user patches 1..K (or only the listed rows); with\n"
       "--temp N writes library patch N to the temporary patch. --verify reads the written patches back\n"
       "and reports every patch and block that differs (exit status 1). Progress goes to stderr; Ctrl+C\n"
       "cancels. A PORT of auto (and --device-id auto) is the one of the single unit of --model that\n"
       "'detect' finds; when none or several answer, nothing is written.\n"},
      {"detect",
       {},
       {},
       "",
       "find the units on the MIDI ports",
       "Sends the identity request on every MIDI output port, listens on every input port, and prints one\n"
       "line per QZ-MAX or QZ-5 that answers: model, device ID, input port and output port, separated by\n"
       "tabs; the ports as 'qzml ports' names them. A port another program holds is skipped and named on\n"
       "stderr. The built-in simulated unit is not searched: it is always there (name its ports to use it).\n"
       "Exit status 0 when a unit answered, 1 when none did. Ctrl+C cancels.\n"},
      {"diff",
       {},
       {"A.qzl[:N]", "B.qzl[:M]"},
       "A.qzl[:N] B.qzl[:M]",
       "differences of two patches, or of two libraries patch by patch",
       "Compares patch N of A with patch M of B block by block: each differing block with how many of its\n"
       "bytes differ, the first differing bytes with their offsets and both values, then the name and the\n"
       "memos. Without patch numbers the libraries are compared patch by patch, one line per differing\n"
       "patch number: the number and what differs. Only the blocks the model sends to the unit count.\n"
       "Data of two models are compared only once converted to one (--yes). Like diff(1), the exit status\n"
       "is 0 when equal, 1 when different and 2 on any trouble (usage, a file that cannot be read).\n"},
      {"duplicates",
       {{"--include-name", nullptr}},
       {"FILE"},
       "[--include-name] FILE",
       "groups of patches with equal data",
       "Lists the groups of patches whose data are equal, one line per group: the patch numbers (from 1)\n"
       "and names, separated by tabs, as \"3 Lead<TAB>17 Lead copy\". Names and memos are ignored unless\n"
       "--include-name is given (then the name counts, the memos still not). Only the blocks the model of\n"
       "the data sends to the unit count. FILE is opened as by list.\n"},
      {"import-syx",
       {},
       {"IN.syx", "OUT.qzl"},
       "IN.syx OUT.qzl",
       "raw exclusive messages (.syx) -> library of all user patches",
       "Reads a file of raw exclusive messages into a library of all user patches of the model, with the\n"
       "filter and messages of import-smf, and saves it. Malformed pieces (a message cut short, bytes\n"
       "between messages) are skipped and counted on stderr.\n"},
      {"export-syx",
       {{"--select", "LIST"}},
       {"IN.qzl", "OUT.syx"},
       "[--select LIST] IN.qzl OUT.syx",
       "library -> raw exclusive messages (.syx)",
       "Writes the exclusive messages that export-smf puts into its file for the same patches, back to back\n"
       "without anything between them.\n"},
      {"simulate",
       {{"--name", "NAME"}, {"--memory", "FILE.qzl"}},
       {},
       "[--name NAME] [--memory FILE.qzl]",
       "a simulated unit on virtual MIDI ports",
       "Runs a simulated unit of --model, answering on --device-id, on virtual MIDI ports of the MIDI\n"
       "system (named after --name) until interrupted (SIGINT, SIGTERM). It prints the names of its ports\n"
       "as 'qzml ports' lists them: the \"in\" line is the PORT for --in, the \"out\" line the one for --out.\n"
       "With --memory its user memory is loaded from FILE when it exists and saved to FILE at exit.\n"},
  };
  return commands;
}

const CCommandSpec* FindCommand(const std::string& name) {
  for (const CCommandSpec& spec : Commands())
    if (name == spec.name)
      return &spec;
  return nullptr;
}

std::string CCommandLine::Get(const char* name) const {
  auto it = options.find(name);
  return it == options.end() ? std::string() : it->second;
}

bool ParseNumber(const std::string& text, int& value) {
  if (text.empty() || text.size() > 9)
    return false;
  int result = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    result = result * 10 + (c - '0');
  }
  value = result;
  return true;
}

bool ParseRowList(const std::string& text, int limit, std::vector<int>& rows, std::string& error) {
  std::vector<int> result;
  std::string::size_type start = 0;
  while (true) {
    std::string::size_type comma = text.find(',', start);
    std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    std::string::size_type dash = item.find('-');
    int first = 0, last = 0;
    bool ok = dash == std::string::npos
                  ? ParseNumber(item, first) && (last = first, true)
                  : ParseNumber(item.substr(0, dash), first) && ParseNumber(item.substr(dash + 1), last);
    if (!ok || first < 1 || last < first) {
      error = "bad row list '" + text + "' (rows count from 1, like 1,3,5-7)";
      return false;
    }
    if (last > limit) {
      error = "row " + std::to_string(last) + " is beyond the " + std::to_string(limit) + " user patches";
      return false;
    }
    for (int row = first; row <= last; ++row)
      result.push_back(row - 1);
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  std::sort(result.begin(), result.end());
  result.erase(std::unique(result.begin(), result.end()), result.end());
  rows = std::move(result);
  return true;
}

bool ParsePatchOperand(const std::string& text, CPatchOperand& operand, std::string& error) {
  operand = CPatchOperand{text, -1};
  const std::string::size_type colon = text.rfind(':');
  if (colon == std::string::npos || colon + 1 >= text.size())
    return true;
  const std::string digits = text.substr(colon + 1);
  if (digits.find_first_not_of("0123456789") != std::string::npos)
    return true; // a ":" of the file name itself
  int number = 0;
  if (!ParseNumber(digits, number) || number < 1) {
    error = "bad patch number in '" + text + "' (patches count from 1)";
    return false;
  }
  if (colon == 0) {
    error = "no file name in '" + text + "'";
    return false;
  }
  operand = CPatchOperand{text.substr(0, colon), number - 1};
  return true;
}

namespace {

// Splits "--name=value"; value is set only when there is an "=".
void SplitOption(const std::string& arg, std::string& name, std::string& value, bool& hasValue) {
  std::string::size_type eq = arg.find('=');
  hasValue = eq != std::string::npos;
  name = hasValue ? arg.substr(0, eq) : arg;
  value = hasValue ? arg.substr(eq + 1) : std::string();
}

bool IsHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

int ParseGlobal(const std::string& name, const std::string& value, CGlobalOptions& global, std::string& error) {
  if (name == "--model") {
    if (value == "qzmax")
      global.model = QZML::MODEL_QZMAX;
    else if (value == "qz5")
      global.model = QZML::MODEL_QZ5;
    else {
      error = "--model must be qzmax or qz5, not '" + value + "'";
      return PARSE_USAGE_ERROR;
    }
  } else if (name == "--device-id") {
    if (value == "auto") {
      global.deviceIdAuto = true;
      return PARSE_RUN;
    }
    global.deviceIdAuto = false;
    int id = 0;
    if (!ParseNumber(value, id) || id < 1 || id > 32) {
      error = "--device-id must be a number from 1 to 32 or auto, not '" + value + "'";
      return PARSE_USAGE_ERROR;
    }
    global.deviceId = id;
  } else if (name == "--midi-api") {
    if (value != "auto" && value != "alsa" && value != "jack") {
      error = "--midi-api must be auto, alsa or jack, not '" + value + "'";
      return PARSE_USAGE_ERROR;
    }
    global.midiApi = value;
  }
  return PARSE_RUN;
}

// The checks of one command's options that need no file.
int CheckCommand(CCommandLine& line, std::string& error) {
  const std::string name = line.command->name;
  const int userCount = QZML::UserPatchCount(line.global.model);
  if (line.global.deviceIdAuto && name != "read" && name != "write") {
    error = "--device-id auto goes only with read and write";
    return PARSE_USAGE_ERROR;
  }
  if (name == "read" || name == "write") {
    if (!line.Has("--in") || !line.Has("--out")) {
      error = name + " needs --in PORT and --out PORT (PORT may be auto)";
      return PARSE_USAGE_ERROR;
    }
    if (line.Has("--select") && line.Has("--temp")) {
      error = "--select and --temp exclude each other";
      return PARSE_USAGE_ERROR;
    }
  }
  if (line.Has("--select") && !ParseRowList(line.Get("--select"), userCount, line.select, error)) {
    error = "--select: " + error;
    return PARSE_USAGE_ERROR;
  }
  if (name == "write" && line.Has("--temp")) {
    int row = 0;
    if (!ParseNumber(line.Get("--temp"), row) || row < 1) {
      error = "--temp needs a library row from 1 on, not '" + line.Get("--temp") + "'";
      return PARSE_USAGE_ERROR;
    }
    line.tempRow = row - 1;
  }
  if (name == "diff") {
    for (const std::string& text : line.operands) {
      CPatchOperand operand;
      if (!ParsePatchOperand(text, operand, error))
        return PARSE_USAGE_ERROR;
      line.patchOperands.push_back(operand);
    }
    if ((line.patchOperands[0].row < 0) != (line.patchOperands[1].row < 0)) {
      error = "diff: give a patch number for both files or for neither";
      return PARSE_USAGE_ERROR;
    }
  }
  if (name == "simulate" && line.Has("--name") && line.Get("--name").empty()) {
    error = "--name must not be empty";
    return PARSE_USAGE_ERROR;
  }
  return PARSE_RUN;
}

} // namespace

int ParseCommandLine(const std::vector<std::string>& args, CCommandLine& line, std::string& error) {
  line = CCommandLine();
  std::size_t i = 0;
  // Global options, up to the command.
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (IsHelp(arg))
      return PARSE_HELP;
    if (arg == "--version")
      return PARSE_VERSION;
    if (arg.compare(0, 2, "--") != 0)
      break;
    std::string name, value;
    bool hasValue = false;
    SplitOption(arg, name, value, hasValue);
    if (name == "--yes") {
      if (hasValue) {
        error = "--yes takes no value";
        return PARSE_USAGE_ERROR;
      }
      line.global.yes = true;
      continue;
    }
    if (name != "--model" && name != "--device-id" && name != "--midi-api") {
      error = "unknown option '" + name + "'";
      return PARSE_USAGE_ERROR;
    }
    if (!hasValue) {
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return PARSE_USAGE_ERROR;
      }
      value = args[++i];
    }
    if (ParseGlobal(name, value, line.global, error) != PARSE_RUN)
      return PARSE_USAGE_ERROR;
  }
  if (i >= args.size()) {
    error = "no command given";
    return PARSE_USAGE_ERROR;
  }
  line.command = FindCommand(args[i]);
  if (!line.command) {
    error = "unknown command '" + args[i] + "'";
    return PARSE_USAGE_ERROR;
  }
  ++i;

  // A request for help wins over everything else on the line.
  for (std::size_t j = i; j < args.size() && args[j] != "--"; ++j)
    if (IsHelp(args[j]))
      return PARSE_HELP;

  bool operandsOnly = false;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
      line.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      operandsOnly = true;
      continue;
    }
    std::string name, value;
    bool hasValue = false;
    SplitOption(arg, name, value, hasValue);
    const COptionSpec* spec = nullptr;
    for (const COptionSpec& option : line.command->options)
      if (name == option.name)
        spec = &option;
    if (!spec) {
      if (name == "--model" || name == "--device-id" || name == "--midi-api" || name == "--yes")
        error = name + " is a global option and goes before the command";
      else
        error = "unknown option '" + name + "' for " + line.command->name;
      return PARSE_USAGE_ERROR;
    }
    if (line.options.count(name)) {
      error = name + " given twice";
      return PARSE_USAGE_ERROR;
    }
    if (!spec->value) {
      if (hasValue) {
        error = name + " takes no value";
        return PARSE_USAGE_ERROR;
      }
    } else if (!hasValue) {
      if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return PARSE_USAGE_ERROR;
      }
      value = args[++i];
    }
    line.options[name] = value;
  }

  const std::size_t wanted = line.command->operands.size();
  if (line.operands.size() != wanted) {
    if (line.operands.size() < wanted)
      error = std::string(line.command->name) + ": " + line.command->operands[line.operands.size()] + " missing";
    else
      error = std::string(line.command->name) + ": unexpected operand '" + line.operands[wanted] + "'";
    return PARSE_USAGE_ERROR;
  }
  for (const std::string& operand : line.operands)
    if (operand.empty()) {
      error = std::string(line.command->name) + ": an empty file name";
      return PARSE_USAGE_ERROR;
    }
  return CheckCommand(line, error);
}

std::string HelpText(const CCommandSpec* command) {
  if (command) {
    std::string text = std::string("usage: qzml [GLOBAL OPTIONS] ") + command->name;
    if (*command->synopsis)
      text += std::string(" ") + command->synopsis;
    text += "\n\n";
    text += command->description;
    text += "\n";
    text += kGlobalHelp;
    text += "\n";
    text += kExitHelp;
    return text;
  }
  std::string text = "usage: qzml [GLOBAL OPTIONS] COMMAND [ARGS]\n\n"
                     "The QZ-MAX Librarian on the command line: lists, imports, exports and converts patch files,\n"
                     "reads patches from and writes them to the unit, and runs a simulated unit.\n\n";
  text += kGlobalHelp;
  text += "\nCOMMANDS\n";
  for (const CCommandSpec& spec : Commands()) {
    std::string head = std::string("  ") + spec.name;
    if (*spec.synopsis)
      head += std::string(" ") + spec.synopsis;
    text += head + "\n      " + spec.summary + "\n";
  }
  text += "\nPORT is a port name as 'qzml ports' prints it, or auto: the port of the single unit that\n"
          "'qzml detect' finds. 'qzml COMMAND --help' describes a command.\n\n";
  text += kExitHelp;
  return text;
}

std::string UsageHint(const CCommandSpec* command) {
  if (command)
    return std::string("usage: qzml [GLOBAL OPTIONS] ") + command->name + (*command->synopsis ? " " : "") +
           command->synopsis + "\nTry 'qzml " + command->name + " --help' for more information.\n";
  return "usage: qzml [GLOBAL OPTIONS] COMMAND [ARGS]\nTry 'qzml --help' for more information.\n";
}

} // namespace QZCli
