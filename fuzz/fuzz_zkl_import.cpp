// ZK-40 librarian file import: any bytes either give converted patches or fail with an error code and
// leave no patches behind; a converted patch holds only 7-bit values.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzzcheck.h"
#include "import/zklimporter.h"
#include "textout/textout.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CZelTextOutBuffer errors;
  QZML::CZKLImporter importer;
  if (!importer.Import(data, size, &errors)) {
    QZ_FUZZ_CHECK(errors.m_pendingError == TEXTOUT_ERR_FILE_TYPE || errors.m_pendingError == TEXTOUT_ERR_LOAD);
    QZ_FUZZ_CHECK(importer.GetPatches().size() == 0);
    return 0;
  }
  QZ_FUZZ_CHECK(errors.m_pendingError == TEXTOUT_ERR_NONE);
  // Every record takes at least five bytes after the 160-byte header.
  QZ_FUZZ_CHECK(importer.GetPatches().size() <= (size - 160) / 5);
  for (std::size_t i = 0; i < importer.GetPatches().size(); ++i)
    QZ_FUZZ_CHECK(importer.GetPatches()[i]->GetName().size() == 16);
  QZ_FUZZ_CHECK(HoldsOnlyUnitValues(importer.GetPatches()));
  return 0;
}
