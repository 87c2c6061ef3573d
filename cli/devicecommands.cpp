// The commands that go through the device reader and writer: import-smf, export-smf, import-syx, export-syx,
// read, write.
#include <cstdio>
#include <fstream>
#include <string>

#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/midisession.h"
#include "cli/terminalprogress.h"
#include "cli/verify.h"
#include "midi/patchstream.h"
#include "model/appstate.h"
#include "model/savefile.h"

namespace QZCli {

namespace {

// N patches in their default state: a fresh Main window.
QZML::CPatchArray DefaultPatches(int count) {
  QZML::CPatchArray patches;
  patches.Resize(static_cast<std::size_t>(count));
  return patches;
}

QZML::CPatchList AllRows(int count) {
  QZML::CPatchList rows;
  for (int i = 0; i < count; ++i)
    rows.push_back(i);
  return rows;
}

// A library to send: every listed row one of its patches and, unless only the temporary patch is written,
// no more patches than the unit holds.
bool CheckLibrary(const QZML::CPatchArray& library, const std::vector<int>& rows, CTerminalTextOut& out,
                  bool temporary = false) {
  const int count = static_cast<int>(library.size());
  const int userCount = QZML::CAppState::Instance().GetUserPatchCount();
  if (count > userCount && !temporary) {
    out.Message("The library holds " + std::to_string(count) + " patches; the " +
                QZML::CAppState::Instance().GetModelName() + " has " + std::to_string(userCount) + " user patches.");
    return false;
  }
  if (count == 0) {
    out.Message("The library holds no patches.");
    return false;
  }
  for (int row : rows)
    if (row >= count) {
      out.Message("Row " + std::to_string(row + 1) + " is beyond the library's " + std::to_string(count) + " patches.");
      return false;
    }
  return true;
}

// The progress display on stderr, owned by the environment like the windowed program's dialog.
CTerminalProgress* InstallProgress(CMidiSession& session) {
  auto progress = std::make_unique<CTerminalProgress>(stderr, IsTerminal(stderr));
  CTerminalProgress* raw = progress.get();
  session.Environment().SetProgress(std::move(progress));
  return raw;
}

// A transfer that returned false: a cancel has no code of its own, so it is told here, with what it left.
void TellCancel(CTerminalTextOut& out, const char* consequence) {
  if (Interrupted())
    out.Message(std::string("Cancelled; ") + consequence);
}

} // namespace

namespace {

// import-smf and import-syx: the file read by the device reader into a fresh Main window of all user
// patches, saved as a library. A file that holds nothing for this unit must not become a library of blank
// patches: the reader's outcome says what the file holds instead.
bool ImportIntoMain(const CCommandLine& line, CTerminalTextOut& out,
                    bool (CPumpingReader::*importFile)(std::istream&, const QZML::CPatchList&, QZML::CPatchArray*)) {
  CMidiSession session(line.global, out);
  session.StartOffline();
  QZML::CPatchArray patches = DefaultPatches(QZML::CAppState::Instance().GetUserPatchCount());
  std::ifstream file(line.operands[0], std::ios::binary);
  CPumpingReader* reader = DeviceReader();
  const bool imported = file && (reader->*importFile)(file, QZML::CPatchList{0}, &patches);
  if (const int skipped = reader->GetSysExScan().skipped)
    out.Message(std::to_string(skipped) + (skipped == 1 ? " malformed message was" : " malformed messages were") +
                " skipped.");
  if (!imported) {
    switch (reader->LastImportOutcome()) {
    case QZML::CDataSetImport::EOutcome::NothingForDevice:
      out.Message(reader->LastImport().DescribeFor(line.global.deviceId - 1));
      break;
    case QZML::CDataSetImport::EOutcome::Declined:
      out.Message(kConversionDeclined);
      break;
    default:
      out.Error(TEXTOUT_ERR_LOAD);
      break;
    }
    return false;
  }
  return SaveLibrary(line.operands[1], patches, out);
}

} // namespace

bool RunImportSmf(const CCommandLine& line, CTerminalTextOut& out) {
  return ImportIntoMain(line, out, &CPumpingReader::Import);
}

bool RunImportSysEx(const CCommandLine& line, CTerminalTextOut& out) {
  return ImportIntoMain(line, out, &CPumpingReader::ImportSysEx);
}

namespace {

// export-smf and export-syx: library patches 1..K (or the selected rows) as user patches, written by the
// device writer's export into a file that is replaced only once complete.
bool ExportLibrary(const CCommandLine& line, CTerminalTextOut& out,
                   bool (QZML::CWriter::*exportFile)(std::ostream&, int, const QZML::CPatchList&, QZML::CPatchArray*)) {
  QZML::CPatchArray library;
  if (!LoadTargetLibrary(line.operands[0], library, out) || !CheckLibrary(library, line.select, out))
    return false;
  const QZML::CPatchList rows = line.Has("--select") ? line.select : AllRows(static_cast<int>(library.size()));
  CMidiSession session(line.global, out);
  session.StartOffline();
  QZML::CWriter* writer = DeviceWriter();
  if (!QZML::SaveFileAtomically(line.operands[1], [&](std::ostream& file) {
        return (writer->*exportFile)(file, QZML::AREA_USER, rows, &library);
      })) {
    out.Error(TEXTOUT_ERR_SAVE);
    return false;
  }
  return true;
}

} // namespace

bool RunExportSmf(const CCommandLine& line, CTerminalTextOut& out) {
  return ExportLibrary(line, out, &QZML::CWriter::Export);
}

bool RunExportSysEx(const CCommandLine& line, CTerminalTextOut& out) {
  return ExportLibrary(line, out, &QZML::CWriter::ExportSysEx);
}

bool RunRead(const CCommandLine& line, CTerminalTextOut& out) {
  InstallInterruptHandlers();
  CMidiSession session(line.global, out);
  if (!session.Start() || !ConnectUnit(session, line, out))
    return false;
  const bool temporary = line.Has("--temp");
  const int userCount = QZML::CAppState::Instance().GetUserPatchCount();
  QZML::CPatchArray patches = DefaultPatches(temporary ? 1 : userCount);
  QZML::CPatchList rows = temporary ? QZML::CPatchList{0} : line.Has("--select") ? line.select : AllRows(userCount);
  InstallProgress(session)->SetLabel("reading");
  if (!DeviceReader()->ReadPatches(temporary ? QZML::AREA_TEMPORARY : QZML::AREA_USER, rows, &patches)) {
    TellCancel(out, "nothing was saved.");
    return false;
  }
  return SaveLibrary(line.operands[0], patches, out);
}

bool RunWrite(const CCommandLine& line, CTerminalTextOut& out) {
  InstallInterruptHandlers();
  QZML::CPatchArray library;
  const bool temporary = line.tempRow >= 0;
  if (!LoadTargetLibrary(line.operands[0], library, out) ||
      !CheckLibrary(library, temporary ? std::vector<int>{line.tempRow} : line.select, out, temporary))
    return false;
  const int area = temporary ? QZML::AREA_TEMPORARY : QZML::AREA_USER;
  const QZML::CPatchList rows = temporary              ? QZML::CPatchList{line.tempRow}
                                : line.Has("--select") ? line.select
                                                       : AllRows(static_cast<int>(library.size()));

  CMidiSession session(line.global, out);
  if (!session.Start() || !ConnectUnit(session, line, out))
    return false;
  CTerminalProgress* progress = InstallProgress(session);
  progress->SetLabel("writing");
  const int portMessages = session.PortMessageCount();
  if (!DeviceWriter()->WritePatches(area, rows, &library)) {
    TellCancel(out, "the unit keeps the patches sent before.");
    return false;
  }
  // The port goes on after a failed send; the unit then lacks what the message named.
  if (session.PortMessageCount() != portMessages) {
    out.Message("Not every patch reached the unit.");
    return false;
  }
  if (!line.Has("--verify"))
    return true;

  progress->SetLabel("verifying");
  const int userCount = QZML::CAppState::Instance().GetUserPatchCount();
  QZML::CPatchArray readBack = DefaultPatches(temporary ? 1 : userCount);
  std::vector<CVerifyItem> items;
  QZML::CPatchList readRows;
  for (int row : rows) {
    items.push_back(CVerifyItem{row, temporary ? 0 : row, row});
    readRows.push_back(temporary ? 0 : row);
  }
  if (!DeviceReader()->ReadPatches(area, readRows, &readBack)) {
    TellCancel(out, "the patches were written but not all of them checked.");
    return false;
  }
  std::vector<std::string> differences = CompareWritten(area, items, library, readBack);
  for (const std::string& difference : differences)
    out.Message("differs: " + difference);
  if (!differences.empty()) {
    out.Message(std::to_string(differences.size()) + (differences.size() == 1 ? " block" : " blocks") +
                " read back differently from what was written.");
    return false;
  }
  std::fprintf(stderr, "qzml: every written block read back the same.\n");
  return true;
}

} // namespace QZCli
