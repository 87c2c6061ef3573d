// The patch import from ".syx" files (the device reader's ImportSysEx) under both target models: any bytes
// leave the destination rows in place, each holding only 7-bit values, and every byte of the file is
// either in a complete message or in a skipped piece.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "midi/patchstream.h"
#include "midi/zelmidiout.h"
#include "model/appstate.h"

namespace {

// The file side of the reader never waits for the unit.
class CFileReader : public QZML::CReader {
public:
  void Pump() override {}
  void Reserved() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  for (int model : {QZML::MODEL_QZMAX, QZML::MODEL_QZ5}) {
    QZML::CTargetModelScope scope(model);
    CZelMidiOut port;
    port.m_deviceId = 0x10;
    const unsigned char* id = QZML::ModelId(model);
    port.m_modelId.assign(id, id + 3);
    CFileReader reader;
    reader.SetPort(&port);

    const std::size_t rows = static_cast<std::size_t>(QZML::UserPatchCount(model));
    QZML::CPatchArray destination;
    for (std::size_t i = 0; i < rows; ++i)
      destination.Add(std::make_unique<QZML::CPatch>());
    std::istringstream in(file, std::ios::binary);
    QZ_FUZZ_CHECK(reader.ImportSysEx(in, {0}, &destination));
    QZ_FUZZ_CHECK(destination.size() == rows);
    QZ_FUZZ_CHECK(HoldsOnlyUnitValues(destination));
    // A message takes at least two bytes and a skipped piece at least one.
    const CSysExScan& scan = reader.GetSysExScan();
    QZ_FUZZ_CHECK(scan.messages >= 0 && scan.skipped >= 0);
    QZ_FUZZ_CHECK(2 * static_cast<std::size_t>(scan.messages) + static_cast<std::size_t>(scan.skipped) <= size);
  }
  return 0;
}
