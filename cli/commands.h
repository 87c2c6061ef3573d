#pragma once
// The commands of qzml. Each returns true on success; a failure has printed its message through the
// terminal output (or the caller prints a general one).

#include <string>

#include "cli/cliargs.h"
#include "cli/terminaltextout.h"
#include "model/document.h"
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

// Saves patches as a library file, atomically, with the signature of model (the target model by default).
bool SaveLibrary(const std::string& path, const QZML::CPatchArray& patches, CTerminalTextOut& out,
                 QZML::CDataModel model = QZML::kModelOfTarget);
// Loads a library file; the conversion question goes to the terminal output. model (when given) receives
// the model of the loaded patches: the file's own when the conversion was declined.
bool LoadLibrary(const std::string& path, QZML::CPatchArray& patches, CTerminalTextOut& out,
                 QZML::CDataModel* model = nullptr);
// Loads a library file whose patches are to be used as the target model's (sent, exported, converted):
// a declined conversion fails with "Conversion declined: nothing written."
bool LoadTargetLibrary(const std::string& path, QZML::CPatchArray& patches, CTerminalTextOut& out);

// The message of every command that stops because the user (no --yes) declined a model conversion.
inline constexpr const char* kConversionDeclined = "Conversion declined: nothing written.";

// Opens a file as OpenAnyFile does, for comparing its patches: model receives the model of their data.
// Imported patches (QZ-MAX data) and a library of the other model are converted when the conversion
// question is answered Yes, and stay their own model's data otherwise.
bool OpenForComparing(const std::string& path, CTerminalTextOut& out, QZML::CPatchArray& patches,
                      QZML::CDataModel& model);

// diff answers like diff(1): 0 equal, 1 different, 2 on any trouble.
int RunDiff(const CCommandLine& line, CTerminalTextOut& out);
bool RunDuplicates(const CCommandLine& line, CTerminalTextOut& out);

bool RunImportSmf(const CCommandLine& line, CTerminalTextOut& out);
bool RunExportSmf(const CCommandLine& line, CTerminalTextOut& out);
bool RunImportSysEx(const CCommandLine& line, CTerminalTextOut& out);
bool RunExportSysEx(const CCommandLine& line, CTerminalTextOut& out);
bool RunRead(const CCommandLine& line, CTerminalTextOut& out);
bool RunWrite(const CCommandLine& line, CTerminalTextOut& out);
bool RunDetect(const CCommandLine& line, CTerminalTextOut& out);

// Runs the command of a parsed line and gives the exit status (0 or 1).
int RunCommand(const CCommandLine& line, CTerminalTextOut& out);

} // namespace QZCli
