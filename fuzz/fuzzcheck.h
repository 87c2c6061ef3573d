#pragma once
// What the fuzz targets share: a broken promise of the code under test stops the run like a crash,
// so it is kept as a finding with the input that caused it.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define QZ_FUZZ_CHECK(condition)                                                                                    \
  do {                                                                                                              \
    if (!(condition)) {                                                                                             \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                            \
      std::abort();                                                                                                 \
    }                                                                                                               \
  } while (0)

#include "model/patch.h"

// Every patch that comes in from outside holds only the unit's 7-bit values, so that it can be sent.
// Not traced for coverage: a compare per byte would cost more than the parsing it checks.
#if defined(__clang__)
__attribute__((no_sanitize("coverage")))
#endif
inline bool HoldsOnlyUnitValues(const QZML::CPatchArray& patches) {
  unsigned joined = 0;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    const QZML::CPatch* patch = patches.Get(i);
    if (!patch)
      return false;
    const std::uint8_t* image = patch->Image();
    for (int j = 0; j < QZML::kPatchImageSize; ++j)
      joined |= image[j];
  }
  return (joined & 0x80) == 0;
}
