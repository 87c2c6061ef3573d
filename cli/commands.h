#pragma once
// The commands of qzml. Each returns true on success; a failure has printed its message through the
// terminal output (or the caller prints a general one).

#include <string>

#include "cli/cliargs.h"
#include "cli/terminaltextout.h"
#include "model/patch.h"

namespace QZCli {

// Opens a file as the librarian opens a file given on its command line: a ZK-40 librarian file first,
// then a QZ-3 bulk dump, then a library file (whose errors, and only those, are reported).
bool OpenAnyFile(const std::string& path, CTerminalTextOut& out, QZML::CPatchArray& patches);

// A patch's name for one line of output: trailing spaces removed, control characters as spaces.
std::string NameField(const QZML::CPatch& patch);

// One line of `list`: "<n>\t<name>\t<memo1>\t<memo2>\t<memo3>\t<memo4>\n", n counted from 1.
std::string ListLine(int number, const QZML::CPatch& patch);

bool RunList(const CCommandLine& line, CTerminalTextOut& out);
bool RunImportZkl(const CCommandLine& line, CTerminalTextOut& out);
bool RunImportQz3(const CCommandLine& line, CTerminalTextOut& out);
bool RunConvert(const CCommandLine& line, CTerminalTextOut& out);

// Saves patches as a library file of the target model, atomically.
bool SaveLibrary(const std::string& path, const QZML::CPatchArray& patches, CTerminalTextOut& out);
// Loads a library file; the conversion question goes to the terminal output. ofTargetModel, when given, is set
// to whether the patches are the target model's data (a file of the other model converted, or not).
bool LoadLibrary(const std::string& path, QZML::CPatchArray& patches, CTerminalTextOut& out,
                 bool* ofTargetModel = nullptr);

// Opens a file as OpenAnyFile does, with its data in the target model's terms: imported data (QZ-MAX data)
// converted for the QZ-5 and a library of the other model converted, each when the conversion question is
// answered Yes. Declined: "Conversion declined: nothing compared." and false, for data of another model
// are never compared raw.
bool OpenForComparing(const std::string& path, CTerminalTextOut& out, QZML::CPatchArray& patches);

// diff answers like diff(1): 0 equal, 1 different, 2 on any trouble.
int RunDiff(const CCommandLine& line, CTerminalTextOut& out);
bool RunDuplicates(const CCommandLine& line, CTerminalTextOut& out);

bool RunImportSmf(const CCommandLine& line, CTerminalTextOut& out);
bool RunExportSmf(const CCommandLine& line, CTerminalTextOut& out);
bool RunImportSysEx(const CCommandLine& line, CTerminalTextOut& out);
bool RunExportSysEx(const CCommandLine& line, CTerminalTextOut& out);
bool RunRead(const CCommandLine& line, CTerminalTextOut& out);
bool RunWrite(const CCommandLine& line, CTerminalTextOut& out);

// Runs the command of a parsed line and gives the exit status (0 or 1).
int RunCommand(const CCommandLine& line, CTerminalTextOut& out);

} // namespace QZCli
