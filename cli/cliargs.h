#pragma once
// The command line of qzml: global options before the command, then the command's own options and
// operands. Parsing checks everything that can be checked without opening a file or a port, so a
// usage error always ends the program with status 2 before anything is touched.

#include <map>
#include <string>
#include <vector>

#include "model/targetmodel.h"

namespace QZCli {

struct CGlobalOptions {
  QZML::EModel model = QZML::MODEL_QZMAX;
  int deviceId = 17; // as users count, 1..32; the wire value is one less
  bool deviceIdAuto = false; // --device-id auto: the device ID of the unit found (read, write)
  bool yes = false;  // answer Yes to the conversion questions
  std::string midiApi = "auto";
};

struct COptionSpec {
  const char* name;  // with the leading "--"
  const char* value; // the value's placeholder in the help, or null for a switch
};

struct CCommandSpec {
  const char* name;
  std::vector<COptionSpec> options;
  std::vector<const char*> operands; // placeholders; exactly this many are required
  const char* synopsis;              // the options and operands as the help shows them
  const char* summary;               // one line for the tool's help
  const char* description;
};

// Every command the tool knows, in the order of the help.
const std::vector<CCommandSpec>& Commands();
const CCommandSpec* FindCommand(const std::string& name);

// A file operand with an optional patch number: "A.qzl" or "A.qzl:3".
struct CPatchOperand {
  std::string path;
  int row = -1; // 0-based; -1 for the whole file
};

struct CCommandLine {
  CGlobalOptions global;
  const CCommandSpec* command = nullptr;
  std::map<std::string, std::string> options; // by name with "--"; a switch holds ""
  std::vector<std::string> operands;

  // Rows of --select as 0-based indices, sorted and distinct (empty without --select).
  std::vector<int> select;
  // write --temp N: the library row as a 0-based index; -1 without --temp.
  int tempRow = -1;
  // diff: the two files and their patch numbers.
  std::vector<CPatchOperand> patchOperands;

  bool Has(const char* name) const { return options.count(name) != 0; }
  std::string Get(const char* name) const;
};

enum : int {
  PARSE_RUN = 0,         // line holds a command to run
  PARSE_HELP = 1,        // help was asked for: print HelpText(line.command)
  PARSE_USAGE_ERROR = 2, // error holds the reason
  PARSE_VERSION = 3,     // --version: print the version line
};

// args: the arguments after the program name.
int ParseCommandLine(const std::vector<std::string>& args, CCommandLine& line, std::string& error);

// The help of the tool (command null) or of one command.
std::string HelpText(const CCommandSpec* command);
// The short usage shown with a usage error.
std::string UsageHint(const CCommandSpec* command);

// A list of 1-based rows such as "1,3,5-7", each row 1..limit, into 0-based indices, sorted and
// distinct. False with a reason for anything else (empty items, 0, reversed ranges, rows past limit).
bool ParseRowList(const std::string& text, int limit, std::vector<int>& rows, std::string& error);

// "FILE:N" with N a patch number from 1 into the file and the 0-based row; text without a ":N" ending is
// the whole file. False with a reason for a patch number 0 or a missing file name.
bool ParsePatchOperand(const std::string& text, CPatchOperand& operand, std::string& error);

// A decimal number of at most 9 digits, nothing else; false otherwise.
bool ParseNumber(const std::string& text, int& value);

} // namespace QZCli
