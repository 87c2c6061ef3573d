// The patch import from ".syx" files (the device reader's ImportSysEx) under both target models: any bytes
// leave the destination rows in place, each holding only 7-bit values, and every byte of the file is
// either in a complete message or in a skipped piece.

#include "fuzz/fileimport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzMainWindowImport(data, size, [size](QZML::CReader& reader, std::istream& in, QZML::CPatchArray& destination) {
    const bool filed = reader.ImportSysEx(in, {0}, &destination);
    // Raw bytes are never unreadable as a whole: either something was filed or the file says what it holds.
    QZ_FUZZ_CHECK(filed || reader.LastImportOutcome() != QZML::CDataSetImport::EOutcome::Unreadable);
    // A message takes two bytes at least, a skipped piece one.
    const CSysExScan& scan = reader.GetSysExScan();
    QZ_FUZZ_CHECK(scan.messages >= 0 && scan.skipped >= 0);
    QZ_FUZZ_CHECK(2 * static_cast<std::size_t>(scan.messages) + static_cast<std::size_t>(scan.skipped) <= size);
  });
  return 0;
}
