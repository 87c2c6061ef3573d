#pragma once
// Patches for tests and benchmarks: filled with known bytes, and compared block by block at the sizes the
// target model transfers. Plain C++, no test framework: the benchmarks use it too.

#include <cstddef>
#include <string>

#include "model/patch.h"

QZML::CPatchArray Rows(std::size_t count);
// Every block of a patch as random 7-bit bytes from seed, then the name.
void FillPatch(QZML::CPatch& patch, unsigned seed, const std::string& name);
// The description of the first block of a set (inSet of its block id) in which a and b differ, at the
// target model's sizes; empty when they agree on all of them.
std::string FirstDifferingBlock(const QZML::CPatch& a, const QZML::CPatch& b, bool (*inSet)(int blockId));
bool SameImage(const QZML::CPatch& a, const QZML::CPatch& b);
