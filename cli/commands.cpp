#include "cli/commands.h"

#include <cstdio>
#include <cstring>

#include "cli/midisession.h"
#include "import/qz3importer.h"
#include "import/zklimporter.h"
#include "model/appstate.h"
#include "model/filedocument.h"

namespace QZCli {

namespace {

// Tabs and line ends inside a name or memo would break the one-line, tab-separated format.
std::string Field(const std::string& text) {
  std::string field = text;
  for (char& c : field)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      c = ' ';
  return field;
}

// An imported library holds QZ-MAX data. For a QZ-5 target it is converted when the user agrees, as when
// a QZ-MAX library file is opened for the QZ-5; a file saved for the QZ-5 must hold QZ-5 data, so without
// the conversion nothing is saved.
bool AdaptImport(QZML::CPatchArray& patches, CTerminalTextOut& out) {
  QZML::CAppState& state = QZML::CAppState::Instance();
  if (state.AdaptPatches(patches, QZML::MODEL_QZMAX, state.GetTargetModel()))
    return true;
  out.Message(kConversionDeclined);
  return false;
}

// A ZK-40 librarian file, else a QZ-3 bulk dump, into patches; false, quietly, when the file is neither.
bool ImportForeign(const std::string& path, QZML::CPatchArray& patches) {
  CZelTextOutBuffer quiet;
  QZML::CZKLImporter zkl;
  if (zkl.Import(path, &quiet)) {
    patches = zkl.GetPatches();
    return true;
  }
  QZML::CQZ3Importer qz3;
  if (qz3.Import(path, &quiet)) {
    patches = qz3.GetPatches();
    return true;
  }
  return false;
}

template <class Importer> bool RunImport(const CCommandLine& line, CTerminalTextOut& out) {
  Importer importer;
  // The importers know why a file failed, but the librarian says only that it could not be loaded.
  CZelTextOutBuffer reason;
  if (!importer.Import(line.operands[0], &reason)) {
    out.Error(TEXTOUT_ERR_LOAD);
    return false;
  }
  QZML::CPatchArray patches = importer.GetPatches();
  return AdaptImport(patches, out) && SaveLibrary(line.operands[1], patches, out);
}

} // namespace

bool OpenAnyFile(const std::string& path, CTerminalTextOut& out, QZML::CPatchArray& patches) {
  return ImportForeign(path, patches) || LoadLibrary(path, patches, out);
}

bool OpenForComparing(const std::string& path, CTerminalTextOut& out, QZML::CPatchArray& patches,
                      QZML::CDataModel& model) {
  if (ImportForeign(path, patches)) {
    // Imported patches are QZ-MAX data, offered to a QZ-5 target as import-zkl offers them.
    QZML::CAppState& state = QZML::CAppState::Instance();
    model = state.AdaptPatches(patches, QZML::MODEL_QZMAX, state.GetTargetModel()) ? state.GetTargetModel()
                                                                                   : QZML::MODEL_QZMAX;
    return true;
  }
  return LoadLibrary(path, patches, out, &model);
}

std::string NameField(const QZML::CPatch& patch) {
  std::string name = Field(patch.GetName());
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

std::string ListLine(int number, const QZML::CPatch& patch) {
  std::string text = std::to_string(number) + "\t" + NameField(patch);
  for (int memo = 0; memo < 4; ++memo)
    text += "\t" + Field(patch.GetMemo(memo));
  text += "\n";
  return text;
}

bool LoadLibrary(const std::string& path, QZML::CPatchArray& patches, CTerminalTextOut& out, QZML::CDataModel* model) {
  QZML::CFileDocument document;
  document.SetErrorOutput(&out);
  bool converted = false;
  if (!document.LoadFile(path, converted))
    return false;
  patches = document.m_current.m_patches;
  if (model)
    *model = document.m_current.Model();
  return true;
}

bool LoadTargetLibrary(const std::string& path, QZML::CPatchArray& patches, CTerminalTextOut& out) {
  QZML::CDataModel model = QZML::kModelOfTarget;
  if (!LoadLibrary(path, patches, out, &model))
    return false;
  if (model == QZML::CAppState::Instance().GetTargetModel())
    return true;
  out.Message(kConversionDeclined);
  return false;
}

bool SaveLibrary(const std::string& path, const QZML::CPatchArray& patches, CTerminalTextOut& out,
                 QZML::CDataModel model) {
  QZML::CFileDocument document;
  document.SetErrorOutput(&out);
  document.m_current.m_patches = patches;
  document.m_current.m_model = model;
  return document.SaveFile(path);
}

bool RunList(const CCommandLine& line, CTerminalTextOut& out) {
  QZML::CPatchArray patches;
  if (!OpenAnyFile(line.operands[0], out, patches))
    return false;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    const QZML::CPatch* patch = patches.Get(i);
    std::string text = ListLine(static_cast<int>(i + 1), patch ? *patch : QZML::CPatch());
    std::fwrite(text.data(), 1, text.size(), stdout);
  }
  return true;
}

bool RunImportZkl(const CCommandLine& line, CTerminalTextOut& out) { return RunImport<QZML::CZKLImporter>(line, out); }

bool RunImportQz3(const CCommandLine& line, CTerminalTextOut& out) { return RunImport<QZML::CQZ3Importer>(line, out); }

bool RunConvert(const CCommandLine& line, CTerminalTextOut& out) {
  QZML::CPatchArray patches;
  return LoadTargetLibrary(line.operands[0], patches, out) && SaveLibrary(line.operands[1], patches, out);
}

int RunCommand(const CCommandLine& line, CTerminalTextOut& out) {
  struct CEntry {
    const char* name;
    bool (*run)(const CCommandLine&, CTerminalTextOut&);
  };
  static const CEntry kEntries[] = {
      {"list", RunList},
      {"import-zkl", RunImportZkl},
      {"import-qz3", RunImportQz3},
      {"convert", RunConvert},
      {"import-smf", RunImportSmf},
      {"export-smf", RunExportSmf},
      {"duplicates", RunDuplicates},
      {"import-syx", RunImportSysEx},
      {"export-syx", RunExportSysEx},
      {"ports", RunPorts},
      {"read", RunRead},
      {"write", RunWrite},
      {"detect", RunDetect},
      {"simulate", RunSimulate},
  };
  // diff's status tells equal from different, so its failures take status 2, as diff(1) does.
  if (std::strcmp(line.command->name, "diff") == 0) {
    const int status = RunDiff(line, out);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      out.Message("The output could not be written.");
      return 2;
    }
    return status;
  }
  for (const CEntry& entry : kEntries) {
    if (std::strcmp(entry.name, line.command->name) != 0)
      continue;
    int before = out.MessageCount();
    bool ok = entry.run(line, out);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
      out.Message("The output could not be written.");
      return 1;
    }
    if (ok)
      return 0;
    if (out.MessageCount() == before)
      out.Message("The command failed.");
    return 1;
  }
  out.Message(std::string("The command '") + line.command->name + "' is not available in this build.");
  return 1;
}

} // namespace QZCli
