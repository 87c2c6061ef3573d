// Dragged patches, which any program on the desktop can offer: any bytes either are refused or give at
// least one patch per index, and what was read drags again to bytes that read back the same.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzzcheck.h"
#include "model/patchdrag.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  QZML::CPatchDrag drag;
  if (!QZML::DecodePatchDrag(data, size, drag))
    return 0;
  QZ_FUZZ_CHECK(!drag.indices.empty() && drag.indices.size() == drag.patches.size());
  std::vector<int> all;
  for (std::size_t i = 0; i < drag.patches.size(); ++i)
    all.push_back(static_cast<int>(i));
  const QZML::CByteArray again = QZML::EncodePatchDrag(drag, drag.patches, all);
  QZML::CPatchDrag back;
  QZ_FUZZ_CHECK(QZML::DecodePatchDrag(again.data(), again.size(), back));
  QZ_FUZZ_CHECK(back.model == drag.model && back.fromLibrary == drag.fromLibrary && back.list == drag.list);
  for (std::size_t i = 0; i < drag.patches.size(); ++i) {
    QZ_FUZZ_CHECK(back.indices[i] == static_cast<int>(i));
    QZML::CByteArray first, second;
    drag.patches.Get(i)->WriteRecord(first);
    back.patches.Get(i)->WriteRecord(second);
    QZ_FUZZ_CHECK(first == second);
  }
  return 0;
}
