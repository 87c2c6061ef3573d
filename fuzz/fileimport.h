#pragma once
// What the file import targets share: the device reader's file side under each target model, importing
// into a fresh Main window of that model, and what every import promises whatever the bytes: the rows stay
// in place, each holding only 7-bit values.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "midi/patchstream.h"
#include "midi/zelmidiout.h"
#include "model/appstate.h"

// The file side of the reader never waits for the unit.
class CFuzzFileReader : public QZML::CReader {
public:
  void Pump() override {}
  void Reserved() override {}
};

// import(reader, stream, destination) reads the bytes as one kind of file.
template <class TImport> void FuzzMainWindowImport(const std::uint8_t* data, std::size_t size, TImport import) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  for (QZML::EModel model : {QZML::MODEL_QZMAX, QZML::MODEL_QZ5}) {
    QZML::CTargetModelScope scope(model);
    CZelMidiOut port;
    port.m_deviceId = 0x10;
    const unsigned char* id = QZML::ModelId(model);
    port.m_modelId.assign(id, id + 3);
    CFuzzFileReader reader;
    reader.SetPort(&port);

    const std::size_t rows = static_cast<std::size_t>(QZML::UserPatchCount(model));
    QZML::CPatchArray destination;
    for (std::size_t i = 0; i < rows; ++i)
      destination.Add(std::make_unique<QZML::CPatch>());
    std::istringstream in(file, std::ios::binary);
    import(reader, in, destination);
    QZ_FUZZ_CHECK(destination.size() == rows);
    QZ_FUZZ_CHECK(HoldsOnlyUnitValues(destination));
  }
}
