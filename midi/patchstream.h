#pragma once
// The device reader and writer: patches travel as one data set per parameter block, to and from the
// unit (block after block, through logical output 0 and input 0) and to and from Standard MIDI Files
// (the same data sets as exclusive events of a single track).
//
// Both run on the user-interface thread. The program makes one of each at start-up
// (InstallPatchStreams), and the application state owns them until exit.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "exclusive/patchimport.h"
#include "exclusive/smf.h"
#include "exclusive/sysexfile.h"
#include "midi/zelmidireader.h"
#include "midi/zelprogressbar.h"
#include "model/appstate.h"
#include "model/patch.h"

class CMidiEnvironment;
class CZelMidiIn;

namespace QZP {
class IUiDispatcher;
}

namespace QZML {

// Row numbers of a patch array, in the order they are worked on.
using CPatchList = std::vector<int>;

// Whether patches of an area type are moved at all (the user and the temporary area).
inline bool IsPatchArea(int area) { return (area & 0x0F) == 1; }

// The identity request of the universal system exclusive messages, for a device ID.
CZelLongMessage IdentityRequest(std::uint8_t deviceId);
// The model whose identity reply bytes is, with the device ID it names; no value for any other message.
// A reply longer than the usual one is judged by its first eight family bytes.
std::optional<EModel> IdentityReplyModel(const CByteArray& bytes, std::uint8_t& deviceId);

class CReader : public CZelMidiReader, public CZelSmfRead, public IPatchStream {
public:
  // errorSink: where TEXTOUT_ERR_NO_ANSWER goes (the pending-error output); null for the environment's
  // MIDI_TEXTOUT_ERROR_BUFFER slot at the time of the report.
  explicit CReader(CZelTextOut* errorSink = nullptr);

  // The progress display; not owned. Null: the environment's progress sink, else a display of its own
  // that keeps position and text and never cancels.
  void SetProgress(CZelProgressBar* progress) { m_progress = progress; }
  CZelProgressBar& Progress();
  // Where the connection check looks and its TEXTOUT_ERR_MIDI_SETUP goes (the MIDI_TEXTOUT_MESSAGE_BOX
  // slot); not owned.
  void SetEnvironment(CMidiEnvironment* environment) { m_environment = environment; }
  CMidiEnvironment* GetEnvironment() const { return m_environment; }
  // Requests go through logical output 0, answers come from logical input 0 (this reader becomes its
  // message handler), time is the environment's clock. Again after the ports are made anew.
  virtual void Bind(CMidiEnvironment& environment);

  // Identity request and reply: true when the unit answers as the target model.
  bool Identify();
  // Reads the listed patches of area (AREA_USER or AREA_TEMPORARY) into the rows of destination with
  // those numbers; data of the temporary area goes to the first listed row. False on an incomplete
  // set-up (TEXTOUT_ERR_MIDI_SETUP at once), a unit that does not answer as the target model (TEXTOUT_ERR_NO_ANSWER
  // pending) and a cancel (no code); the patches read before stay filed.
  bool ReadPatches(int area, const CPatchList& numbers, CPatchArray* destination);
  // Every block of the target model's read set, in table order; the first failure stops.
  bool ReadPatch(int area, int number);
  bool ReadBlock(int area, int number, int blockId, int subIndex);

  // Reads a Standard MIDI File into destination: the unit's data sets for the user area, on this port's
  // device ID with good checksums, each filed at the patch its address names; everything else is skipped.
  // Data sets of the other model are filed only converted, after the conversion question. False when the
  // stream fails or the file is malformed (nothing is filed then), and when no data set was filed:
  // LastImport() tells why (its outcome, and what the file holds).
  bool Import(std::istream& file, const CPatchList& temporarySlots, CPatchArray* destination);
  // Reads a ".syx" file (raw exclusive messages back to back) into destination exactly as Import reads the
  // exclusive events of a Standard MIDI File: the same data sets filed, the same question, the same
  // outcomes in LastImport(). Malformed pieces (a message cut short, bytes between messages) are passed
  // over one by one and counted in GetSysExScan(); they never make the file unreadable.
  bool ImportSysEx(std::istream& file, const CPatchList& temporarySlots, CPatchArray* destination);
  // What the last import found as raw exclusive messages: complete ones and malformed pieces skipped (none
  // after a Standard MIDI File, whose malformed events make the whole file unreadable).
  const CSysExScan& GetSysExScan() const { return m_sysExScan; }
  // The device ID (on the wire) the unit's messages carry: requests, and the data sets Import files.
  std::uint8_t DeviceId() const { return PortAddressing().deviceId; }
  // The data sets of the last Import, kept so that they can be filed again for another device ID.
  CDataSetImport& LastImport() { return m_import; }
  CDataSetImport::EOutcome LastImportOutcome() const { return m_importOutcome; }

  // The identity reply test while an Exchange waits.
  bool OnExclusive(const CZelLongMessage& message) override;
  // Files the awaited data set into the destination.
  bool OnDataSet(const CZelOrvaneMessage& message) override;
  void OnExclusiveEvent(std::uint32_t delta, const CZelLongMessage& message) override;
  void ReadBytes(CByteArray& out, std::uint32_t position, std::uint32_t count) override;

  CPatchArray* GetDestination() const { return m_destination; }
  const CByteArray& GetFileBuffer() const { return m_fileBuffer; }

protected:
  CZelTextOut* GetErrorSink() const override;
  CZelAddressing PortAddressing() const;
  // Import and ImportSysEx: the file into the file buffer, its messages offered to m_import by collect
  // (false: the file is malformed), then the data sets for this port's device ID filed.
  bool ImportFile(std::istream& file, const CPatchList& temporarySlots, CPatchArray* destination,
                  const std::function<bool()>& collect);

  CZelProgressBar* m_progress = nullptr;
  CByteArray m_fileBuffer;
  CPatchArray* m_destination = nullptr;
  CPatchList m_temporarySlots;
  CDataSetImport m_import;
  CDataSetImport::EOutcome m_importOutcome = CDataSetImport::EOutcome::Unreadable;
  CSysExScan m_sysExScan;

private:
  CMidiEnvironment* m_environment = nullptr;
  CZelProgressBar m_ownProgress;
};

class CWriter : public CZelMidiWriter, public CZelSmfWrite, public IPatchStream {
public:
  // The delta time of an exported data set of length bytes (F0 to F7): 20 ms plus the time its bytes take,
  // at 96 ticks per quarter note and 500,000 us per quarter note, rounded down, plus one tick.
  static std::uint32_t DeltaTicks(std::size_t length) {
    return static_cast<std::uint32_t>((600 * length + 41664) / 10850 + 1);
  }

  CWriter();

  // Write is the engine's (a data set to the unit and the pause), not the file writer's.
  using CZelMidiWriter::Write;

  void SetProgress(CZelProgressBar* progress) { m_progress = progress; }
  CZelProgressBar& Progress();
  void SetEnvironment(CMidiEnvironment* environment) { m_environment = environment; }
  CMidiEnvironment* GetEnvironment() const { return m_environment; }
  // The reader whose identity check opens every write; not owned. Null: the application state's reader.
  void SetReader(CReader* reader) { m_reader = reader; }
  // Data sets go through logical output 0; requests arriving at logical input 0 come here and are
  // ignored; the pause is measured on the environment's clock.
  virtual void Bind(CMidiEnvironment& environment);

  // Sends the listed patches of source to area of the unit. False on an incomplete set-up (TEXTOUT_ERR_MIDI_SETUP at
  // once), a unit that does not answer as the target model (TEXTOUT_ERR_NO_ANSWER pending), a cancel (no code), a
  // listed row that source does not hold, a user patch number beyond the unit's (nothing sent), and a
  // data set the port could not send: the write stops there and one message (through the environment's
  // message box) names the last patch written completely and the first that was not. The unit keeps
  // what was sent before.
  bool WritePatches(int area, const CPatchList& numbers, CPatchArray* source);
  // Every block of the target model's written set, in table order.
  bool WritePatch(int area, int number);
  bool WriteBlock(int area, int number, int blockId, int subIndex);

  // Writes the listed patches as a format 0 file of one track, built in memory and written in one piece.
  // False only when the stream fails (or source lacks a listed row).
  bool Export(std::ostream& file, int area, const CPatchList& numbers, CPatchArray* source);
  // Writes the listed patches as a ".syx" file: the data sets that Export puts into its track, in the same
  // order and byte for byte, back to back without anything between them. False only when the stream fails
  // (or source lacks a listed row).
  bool ExportSysEx(std::ostream& file, int area, const CPatchList& numbers, CPatchArray* source);

  int WriteBytes(std::uint32_t position, const CByteArray& bytes) override;

  const CByteArray& GetOutputBuffer() const { return m_output; }
  CPatchArray* GetSource() const { return m_source; }

protected:
  CZelAddressing PortAddressing() const;

  // The message of a write that stopped at numbers[failed] because the port failed.
  std::string StoppedMessage(int area, const CPatchList& numbers, std::size_t failed) const;

  // m_fileMode: where WriteBlock sends a data set.
  enum : std::uint8_t { FILE_MODE_DEVICE = 0, FILE_MODE_SMF = 1, FILE_MODE_SYSEX = 2 };

  CZelProgressBar* m_progress = nullptr;
  CByteArray m_output;
  std::uint8_t m_fileMode = FILE_MODE_DEVICE;
  bool m_sendFailed = false;
  CPatchArray* m_source = nullptr;

private:
  CMidiEnvironment* m_environment = nullptr;
  CReader* m_reader = nullptr;
  CZelProgressBar m_ownProgress;
};

} // namespace QZML

// The device reader the program instantiates: while it waits it lets the user-interface thread run what
// the MIDI input posted (and, in the windowed program, painting), sleeping until the next event arrives
// or the attempt's time is up, so a transfer never keeps a processor busy.
class CPumpingReader : public QZML::CReader {
public:
  explicit CPumpingReader(CZelTextOut* errorSink = nullptr, QZP::IUiDispatcher* dispatcher = nullptr);

  void SetDispatcher(QZP::IUiDispatcher* dispatcher) { m_dispatcher = dispatcher; }
  // Also takes the environment's dispatcher.
  void Bind(CMidiEnvironment& environment) override;

  void Pump() override;
  void Reserved() override {}

private:
  QZP::IUiDispatcher* m_dispatcher;
};

// The program's reader and writer: made, bound to the environment's logical output 0 and input 0, and
// handed to the application state, which owns them (replacing any it held). Both report to the
// environment's text-output slots and progress sink as they are at the time.
struct CPatchStreams {
  CPumpingReader* reader;
  QZML::CWriter* writer;
};
CPatchStreams InstallPatchStreams(CMidiEnvironment& environment);
// The application state's reader and writer, or null.
CPumpingReader* DeviceReader();
QZML::CWriter* DeviceWriter();
