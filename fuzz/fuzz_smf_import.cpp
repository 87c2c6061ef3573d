// The patch import from Standard MIDI Files (the device reader's Import) under both target models: any
// bytes leave the destination rows in place, each holding only 7-bit values.

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
    reader.Import(in, {0}, &destination);
    QZ_FUZZ_CHECK(destination.size() == rows);
    QZ_FUZZ_CHECK(HoldsOnlyUnitValues(destination));
  }
  return 0;
}
