#pragma once
// The user memory a new simulated unit of the windowed program starts with: distinct names a guitarist
// might give patches, so that a first Read All shows something to sort, rename and keep.

#include "model/patch.h"

// count patches with default contents and distinct names ("Clean Chorus", "Crunch Delay", ...); at most
// 200 distinct names, any further patches keep "INIT PATCH".
QZML::CPatchArray DemoUserPatches(int count);
