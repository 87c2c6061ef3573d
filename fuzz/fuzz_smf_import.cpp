// The patch import from Standard MIDI Files (the device reader's Import) under both target models: any
// bytes leave the destination rows in place, each holding only 7-bit values.

#include "fuzz/fileimport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzMainWindowImport(data, size, [](QZML::CReader& reader, std::istream& in, QZML::CPatchArray& destination) {
    reader.Import(in, {0}, &destination);
  });
  return 0;
}
