#include "midi/patchstream.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "exclusive/orvanemessage.h"
#include "exclusive/smfbuffer.h"
#include "midi/midienvironment.h"
#include "midi/transfer.h"
#include "model/parameteraddress.h"
#include "platform/uidispatch.h"
#include "textout/textout.h"

namespace QZML {
namespace {

// The eight bytes after the maker byte 0x41 in the identity reply of each model.
const std::uint8_t kIdentityFamily[2][8] = {
    {0x0B, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // QZ-MAX
    {0x06, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // QZ-5
};

CZelAddressing DefaultAddressing() {
  CZelAddressing addressing;
  const unsigned char* id = ModelId(CAppState::Instance().GetTargetModel());
  addressing.modelId.assign(id, id + 3);
  return addressing;
}

// Walks the block instances of a patch in table order, calling visit for those in the set.
template <class TInSet, class TVisit> bool ForEachBlock(TInSet inSet, TVisit visit) {
  for (int index = 0; index < kBlockCount; ++index) {
    const CBlockInstance& instance = BlockInstance(index);
    if (!inSet(instance.kind->id))
      continue;
    if (!visit(instance.kind->id, instance.sub))
      return false;
  }
  return true;
}

} // namespace

CZelLongMessage IdentityRequest(std::uint8_t deviceId) {
  CZelLongMessage message;
  message.SetManufacturerId(0x7E);
  message.SetBody({deviceId, 0x06, 0x01});
  return message;
}

std::optional<EModel> IdentityReplyModel(const CByteArray& bytes, std::uint8_t& deviceId) {
  // F0 7E, device ID, 06 02 41, the eight family bytes, F7.
  const std::uint8_t head[3] = {0x06, 0x02, 0x41};
  if (bytes.size() < 2 + 4 + 8 + 1 || bytes[0] != 0xF0 || bytes[1] != 0x7E ||
      !std::equal(head, head + 3, bytes.begin() + 3))
    return std::nullopt;
  const auto family = bytes.begin() + 6;
  for (EModel model : {MODEL_QZMAX, MODEL_QZ5}) {
    const std::uint8_t* expected = kIdentityFamily[ModelNumber(model)];
    if (std::equal(expected, expected + 8, family)) {
      deviceId = bytes[2];
      return model;
    }
  }
  return std::nullopt;
}

// ---- CReader ----

CReader::CReader(CZelTextOut* errorSink) : CZelMidiReader(errorSink) {}

CZelProgressBar& CReader::Progress() {
  if (m_progress)
    return *m_progress;
  if (m_environment && m_environment->GetProgress())
    return *m_environment->GetProgress();
  return m_ownProgress;
}

void CReader::Bind(CMidiEnvironment& environment) {
  m_environment = &environment;
  SetPort(environment.Outputs().empty() ? nullptr : &environment.Outputs()[0]);
  if (!environment.Inputs().empty())
    environment.Inputs()[0].m_messageHandler = this;
  SetClock(environment.GetServices().clock);
}

CZelTextOut* CReader::GetErrorSink() const {
  if (m_errorSink)
    return m_errorSink;
  return m_environment ? m_environment->GetTextOut(MIDI_TEXTOUT_ERROR_BUFFER) : nullptr;
}

CZelAddressing CReader::PortAddressing() const { return m_port ? m_port->GetAddressing() : DefaultAddressing(); }

bool CReader::Identify() { return Exchange(IdentityRequest(PortAddressing().deviceId)); }

bool CReader::OnExclusive(const CZelLongMessage& message) {
  if (!CZelMidiReader::OnExclusive(message))
    return false;
  std::uint8_t deviceId = 0;
  const std::optional<EModel> model = IdentityReplyModel(message.GetBytes(), deviceId);
  if (model != CAppState::Instance().GetTargetModel() || deviceId != PortAddressing().deviceId) {
    m_state = STATE_WAITING;
    return false;
  }
  return true;
}

bool CReader::OnDataSet(const CZelOrvaneMessage& message) {
  if (!CZelMidiReader::OnDataSet(message))
    return false;
  const CByteArray data = message.GetField(ORVANE_FIELD_DATA);
  const int slot = m_temporarySlots.empty() ? -1 : m_temporarySlots.front();
  CParameterAddress().StoreData(FromSevenBitBytes(message.GetField(ORVANE_FIELD_ADDRESS)), data.data(), data.size(),
                                m_destination, slot);
  return true;
}

bool CReader::ReadPatches(int area, const CPatchList& numbers, CPatchArray* destination) {
  m_destination = destination;
  m_temporarySlots = numbers;
  if (!m_environment || !CheckMidiConnection(*m_environment))
    return false;
  if (!Identify())
    return false;
  CZelProgressBar& progress = Progress();
  progress.BeginPatches(static_cast<int>(numbers.size()), CZelProgressBar::WORK_READ, true);
  bool ok = true;
  int position = 0;
  for (int number : numbers) {
    progress.SetPosition(++position);
    if (IsPatchArea(area) && !ReadPatch(area, number)) {
      ok = false;
      break;
    }
  }
  progress.End();
  return ok;
}

bool CReader::ReadPatch(int area, int number) {
  return ForEachBlock(CParameterAddress::IsRead,
                      [&](int blockId, int sub) { return ReadBlock(area, number, blockId, sub); });
}

bool CReader::ReadBlock(int area, int number, int blockId, int subIndex) {
  CParameterAddress addressing;
  CZelProgressBar& progress = Progress();
  progress.SetText(addressing.GetDescription(area, number, blockId, subIndex));
  if (progress.IsCancelled())
    return false;
  return Request(addressing.GetParameterAddress(area, number, blockId, subIndex),
                 addressing.GetBlockSize(area, blockId) & 0xFF);
}

bool CReader::ImportFile(std::istream& file, const CPatchList& temporarySlots, CPatchArray* destination,
                         const std::function<bool()>& collect) {
  m_destination = destination;
  m_temporarySlots = temporarySlots;
  m_import.Clear();
  m_importOutcome = CDataSetImport::EOutcome::Unreadable;
  m_sysExScan = CSysExScan();
  // Everything is collected before anything is filed: a malformed file changes nothing.
  if (!ReadStreamToBuffer(file, m_fileBuffer) || !collect())
    return false;
  m_importOutcome = m_import.File(PortAddressing().deviceId, destination);
  return m_importOutcome == CDataSetImport::EOutcome::Filed;
}

bool CReader::Import(std::istream& file, const CPatchList& temporarySlots, CPatchArray* destination) {
  return ImportFile(file, temporarySlots, destination, [this] { return Read(); });
}

bool CReader::ImportSysEx(std::istream& file, const CPatchList& temporarySlots, CPatchArray* destination) {
  return ImportFile(file, temporarySlots, destination, [this] {
    m_sysExScan = ScanSysEx(m_fileBuffer, [this](const CZelLongMessage& message) { OnExclusiveEvent(0, message); });
    return true;
  });
}

void CReader::ReadBytes(CByteArray& out, std::uint32_t position, std::uint32_t count) {
  ReadBufferBytes(m_fileBuffer, out, position, count);
}

void CReader::OnExclusiveEvent(std::uint32_t, const CZelLongMessage& message) { m_import.Add(message.GetBytes()); }

// ---- CWriter ----

CWriter::CWriter() = default;

CZelProgressBar& CWriter::Progress() {
  if (m_progress)
    return *m_progress;
  if (m_environment && m_environment->GetProgress())
    return *m_environment->GetProgress();
  return m_ownProgress;
}

void CWriter::Bind(CMidiEnvironment& environment) {
  m_environment = &environment;
  SetPort(environment.Outputs().empty() ? nullptr : &environment.Outputs()[0]);
  if (!environment.Inputs().empty())
    environment.Inputs()[0].m_requestHandler = this;
  SetClock(environment.GetServices().clock);
}

CZelAddressing CWriter::PortAddressing() const { return m_port ? m_port->GetAddressing() : DefaultAddressing(); }

namespace {

// Keeps the port layer from showing a message per failed data set while a write runs: the write stops at
// the first failure and tells the user once.
class CQuietDevice {
public:
  explicit CQuietDevice(CZelMidiOut* port) : m_device(port ? port->GetDevice() : nullptr) {
    if (m_device)
      m_device->SetQuiet(true);
  }
  ~CQuietDevice() {
    if (m_device)
      m_device->SetQuiet(false);
  }
  CQuietDevice(const CQuietDevice&) = delete;
  CQuietDevice& operator=(const CQuietDevice&) = delete;

private:
  CZelMidiOutDevice* m_device;
};

} // namespace

std::string CWriter::StoppedMessage(int area, const CPatchList& numbers, std::size_t failed) const {
  std::string text = "Writing to the " + std::string(CAppState::Instance().GetModelName()) +
                     " stopped: the MIDI output failed";
  const std::string reason = m_port ? m_port->LastSendError() : std::string();
  if (!reason.empty())
    text += " (" + reason + ")";
  text += ".\n";
  if (area == AREA_TEMPORARY)
    return text + "The temporary patch was not written.";
  const std::string first = std::to_string(numbers[failed] + 1);
  if (failed == 0)
    return text + "No patch was written completely; patch " + first + " and those after it were not written.";
  return text + "The last patch written completely is patch " + std::to_string(numbers[failed - 1] + 1) +
         "; patch " + first + " and those after it were not written.";
}

bool CWriter::WritePatches(int area, const CPatchList& numbers, CPatchArray* source) {
  m_source = source;
  if (!m_environment || !CheckMidiConnection(*m_environment))
    return false;
  // A row beyond the unit's user patches has no place on the unit: nothing is sent.
  const int userCount = CAppState::Instance().GetUserPatchCount();
  for (int number : numbers)
    if (area == AREA_USER && (number < 0 || number >= userCount)) {
      m_environment->GetServices().ShowMessage("Patch " + std::to_string(number + 1) + " is beyond the " +
                                               std::to_string(userCount) + " user patches of the " +
                                               CAppState::Instance().GetModelName() + "; nothing was sent.");
      return false;
    }
  CReader* reader = m_reader ? m_reader : CAppState::Instance().GetReader<CReader>();
  if (!reader) {
    // Without a reader nothing can tell whether the unit is there: the set-up is not complete.
    if (CZelTextOut* box = m_environment->GetTextOut(MIDI_TEXTOUT_MESSAGE_BOX))
      box->Error(TEXTOUT_ERR_MIDI_SETUP);
    return false;
  }
  if (!reader->Identify())
    return false;
  m_fileMode = FILE_MODE_DEVICE;
  m_sendFailed = false;
  CQuietDevice quiet(m_port);
  CZelProgressBar& progress = Progress();
  progress.BeginPatches(static_cast<int>(numbers.size()), CZelProgressBar::WORK_WRITE, true);
  bool ok = true;
  std::size_t position = 0;
  for (int number : numbers) {
    progress.SetPosition(static_cast<int>(++position));
    if (IsPatchArea(area) && !WritePatch(area, number)) {
      ok = false;
      break;
    }
  }
  progress.End();
  if (m_sendFailed)
    m_environment->GetServices().ShowMessage(StoppedMessage(area, numbers, position - 1));
  return ok;
}

bool CWriter::WritePatch(int area, int number) {
  return ForEachBlock(CParameterAddress::IsWritten,
                      [&](int blockId, int sub) { return WriteBlock(area, number, blockId, sub); });
}

bool CWriter::WriteBlock(int area, int number, int blockId, int subIndex) {
  CParameterAddress addressing;
  const std::uint32_t address = addressing.GetParameterAddress(area, number, blockId, subIndex);
  const CBlockRef block = addressing.GetBlockData(number, blockId, subIndex, m_source);
  // A row the source does not hold has nothing to send.
  if (!block)
    return false;
  const int size = std::min(std::max(addressing.GetBlockSize(area, blockId), 0), block.size);
  CByteArray data(block.data, block.data + size);
  if (blockId == BLOCK_NAME) {
    for (std::uint8_t& byte : data) {
      if (byte == '{')
        byte = 0x7F;
      else if (byte == '}')
        byte = 0x7E;
    }
  }
  if (m_fileMode != FILE_MODE_DEVICE) {
    const CZelOrvaneMessage message = MakeDataSet(PortAddressing(), address, data);
    if (m_fileMode == FILE_MODE_SYSEX) {
      m_output.insert(m_output.end(), message.begin(), message.end());
      return true;
    }
    return WriteExclusive(DeltaTicks(message.size()), message);
  }
  CZelProgressBar& progress = Progress();
  progress.SetText(addressing.GetDescription(area, number, blockId, subIndex));
  if (progress.IsCancelled())
    return false;
  if (!Write(address, data)) {
    m_sendFailed = true;
    return false;
  }
  return true;
}

bool CWriter::Export(std::ostream& file, int area, const CPatchList& numbers, CPatchArray* source) {
  m_source = source;
  m_output.clear();
  if (!Begin())
    return false;
  m_fileMode = FILE_MODE_SMF;
  if (!BeginTrack())
    return false;
  for (int number : numbers)
    if (IsPatchArea(area) && !WritePatch(area, number))
      return false;
  if (!EndTrack())
    return false;
  Finish();
  file.write(reinterpret_cast<const char*>(m_output.data()), static_cast<std::streamsize>(m_output.size()));
  return !file.fail();
}

bool CWriter::ExportSysEx(std::ostream& file, int area, const CPatchList& numbers, CPatchArray* source) {
  m_source = source;
  m_output.clear();
  m_fileMode = FILE_MODE_SYSEX;
  for (int number : numbers)
    if (IsPatchArea(area) && !WritePatch(area, number))
      return false;
  file.write(reinterpret_cast<const char*>(m_output.data()), static_cast<std::streamsize>(m_output.size()));
  return !file.fail();
}

int CWriter::WriteBytes(std::uint32_t position, const CByteArray& bytes) {
  return WriteBufferBytes(m_output, position, bytes);
}

} // namespace QZML

// ---- CPumpingReader ----

CPumpingReader::CPumpingReader(CZelTextOut* errorSink, QZP::IUiDispatcher* dispatcher)
    : QZML::CReader(errorSink), m_dispatcher(dispatcher) {}

void CPumpingReader::Bind(CMidiEnvironment& environment) {
  QZML::CReader::Bind(environment);
  m_dispatcher = environment.GetServices().dispatcher;
}

void CPumpingReader::Pump() {
  const int wait = RemainingMs();
  if (m_dispatcher)
    m_dispatcher->ProcessPending(wait);
  else if (wait > 0)
    Clock().SleepMs(static_cast<std::uint32_t>(wait)); // nothing can arrive: the attempt runs out
}

CPatchStreams InstallPatchStreams(CMidiEnvironment& environment) {
  auto reader = std::make_unique<CPumpingReader>();
  auto writer = std::make_unique<QZML::CWriter>();
  reader->Bind(environment);
  writer->Bind(environment);
  CPatchStreams streams{reader.get(), writer.get()};
  QZML::CAppState& state = QZML::CAppState::Instance();
  state.SetReader(std::move(reader));
  state.SetWriter(std::move(writer));
  return streams;
}

CPumpingReader* DeviceReader() { return QZML::CAppState::Instance().GetReader<CPumpingReader>(); }

QZML::CWriter* DeviceWriter() { return QZML::CAppState::Instance().GetWriter<QZML::CWriter>(); }
