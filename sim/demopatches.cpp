#include "sim/demopatches.h"

#include <cstddef>
#include <iterator>
#include <string>

namespace {

// Styles of at most 8 characters and effects of at most 7, so that "style effect" fits the 16 characters
// of a name.
const char* const kStyles[] = {"Clean",   "Crunch", "Blues",    "Lead",     "Rhythm", "Jazz",  "Funk",
                               "Country", "Metal",  "Ambient",  "Surf",     "Fuzz",   "Indie", "Punk",
                               "Grunge",  "Texas",  "Acoustic", "Shoegaze", "Stoner", "Doom",  "Britpop",
                               "Gospel",  "Reggae", "Djent",    "Worship"};
const char* const kEffects[] = {"Chorus", "Delay", "Reverb", "Drive", "Wah", "Phaser", "Tremolo", "Boost"};

constexpr int kStyleCount = static_cast<int>(std::size(kStyles));
constexpr int kEffectCount = static_cast<int>(std::size(kEffects));

} // namespace

QZML::CPatchArray DemoUserPatches(int count) {
  QZML::CPatchArray patches;
  if (count <= 0)
    return patches;
  patches.Resize(static_cast<std::size_t>(count));
  // Patch i has style i mod 25 and, for each style, a different effect in each run of 25 patches, so
  // neighbouring patches differ and no name comes twice.
  for (int i = 0; i < count && i < kStyleCount * kEffectCount; ++i) {
    const int style = i % kStyleCount;
    const int effect = (i / kStyleCount + style) % kEffectCount;
    if (QZML::CPatch* patch = patches.Get(static_cast<std::size_t>(i)))
      patch->SetName(std::string(kStyles[style]) + " " + kEffects[effect]);
  }
  return patches;
}
