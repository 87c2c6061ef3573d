// Writes the library that the sample Standard MIDI Files are exported from: a few patches in the unit's
// default state, under sample names.
#include <cstdio>
#include <string>

#include "model/filedocument.h"
#include "model/patch.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: qz_samplelibrary OUT.qzl\n");
    return 2;
  }
  constexpr int kPatches = 5;
  QZML::CFileDocument document;
  QZML::CPatchArray& patches = document.m_current.m_patches;
  patches.Resize(kPatches);
  for (int i = 0; i < kPatches; ++i)
    if (QZML::CPatch* patch = patches.Get(static_cast<std::size_t>(i)))
      patch->SetName("Sample Patch " + std::to_string(i + 1));
  return document.SaveFile(argv[1]) ? 0 : 1;
}
