#pragma once
// What the fuzz targets share: a broken promise of the code under test stops the run like a crash,
// so it is kept as a finding with the input that caused it.

#include <cstdio>
#include <cstdlib>

#define QZ_FUZZ_CHECK(condition)                                                                                    \
  do {                                                                                                              \
    if (!(condition)) {                                                                                             \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                            \
      std::abort();                                                                                                 \
    }                                                                                                               \
  } while (0)
