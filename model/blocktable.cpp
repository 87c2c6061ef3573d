#include "model/blocktable.h"

#include <array>
#include <cstddef>
#include <cstdio>

namespace QZML {
namespace {

// "PATCH FX2" starts with four bytes of its own, then repeats bytes 4..129 of "PATCH FX1".
#define FX1_HEAD "00 00 00 00 "
#define FX_TAIL                                                                                      \
  "32 32 32 32 00 00 3C 0B 14 19 01 01 32 1E 32 00 32 01 1E 32 32 32 00 32 00 32 32 32 32 00 32 32 " \
  "32 32 64 55 32 00 46 32 37 00 00 64 00 19 32 4B 50 00 00 64 00 00 28 64 50 2D 01 50 46 32 64 00 " \
  "32 64 64 28 32 32 32 46 00 32 64 00 32 32 32 20 28 32 00 01 46 55 32 1E 55 08 03 32 03 32 03 32 " \
  "01 00 02 32 32 64 32 64 00 32 32 00 28 1E 28 32 32 19 00 00 14 0E 01 14 17 01 14 14 09 14 "
#define FX2_HEAD "00 00 16 00 "
#define FX2_OWN                                                                                      \
  "00 0C 00 00 00 64 15 00 00 64 00 64 00 01 18 3C 00 00 00 64 01 18 28 00 00 64 64 18 30 00 64 00 " \
  "00 32 32 01 1E 55 32 32 32 09 1E 28 10 32 28 32 08 64 00 00 50 50 00 32 00 64 00 50 02 00 00 32 " \
  "32 32 00 00 32 32 01 14 00 00 28 00 01 32 32 10 32 32 32 00 32 32 03 10 14 0A"
// "INIT PATCH" and six spaces.
#define INIT_NAME "49 4E 49 54 20 50 41 54 43 48 20 20 20 20 20 20"

// clang-format off
//  id        display text                 offset  size QZMAX/QZ5  read QZMAX/QZ5  written QZMAX/QZ5  n   default bytes
const CBlockKind kKinds[kBlockKindCount] = {
  {0x0101, "PATCH FX1",                 0x000,  {130, 130}, {true,  true},  {true,  true},  1, FX1_HEAD FX_TAIL},
  {0x0201, "PATCH COMP",                0x100,  {9, 9},     {true,  true},  {true,  true},  1, "00 00 00 32 32 3C 28 32 32"},
  {0x0301, "PATCH WAH",                 0x180,  {5, 5},     {true,  true},  {true,  true},  1, "00 00 00 64 64"},
  {0x0401, "PATCH LOOP FX",             0x200,  {13, 5},    {true,  true},  {true,  true},  1, "00 00 00 32 32 00 32 32 00 32 32 02 00"},
  {0x0501, "PATCH PRE LOOP FX",         0x280,  {1, 1},     {true,  false}, {true,  false}, 1, "00"},
  {0x0601, "PATCH OD/DS",               0x300,  {8, 8},     {true,  true},  {true,  true},  1, "00 00 04 32 32 32 32 00"},
  {0x0701, "PATCH PREAMP/SPEAKER",      0x380,  {40, 40},   {true,  true},  {true,  true},  1,
   "00 00 00 00 32 00 00 32 32 32 32 00 32 00 01 00 32 01 01 01 05 64 00 00 32 32 32 32 00 32 00 01 00 32 01 01 01 05 64 00"},
  {0x0801, "PATCH EQUALIZER",           0x400,  {13, 13},   {true,  true},  {true,  true},  1, "00 00 00 14 0E 01 14 17 01 14 14 09 14"},
  {0x0901, "PATCH FX2",                 0x480,  {220, 220}, {true,  true},  {true,  true},  1, FX2_HEAD FX_TAIL FX2_OWN},
  {0x0A01, "PATCH DELAY",               0x580,  {26, 26},   {true,  true},  {true,  true},  1,
   "00 00 00 03 10 32 14 09 00 64 14 09 0F 03 10 14 09 0F 28 32 00 28 64 64 0F 64"},
  {0x0B01, "PATCH CHORUS",              0x600,  {9, 9},     {true,  true},  {true,  true},  1, "00 00 00 28 32 08 00 09 64"},
  {0x0C01, "PATCH REVERB",              0x680,  {10, 10},   {true,  true},  {true,  true},  1, "00 00 02 18 00 03 05 08 05 64"},
  {0x0D01, "PATCH MASTER",              0x700,  {10, 9},    {true,  true},  {true,  true},  1, "01 1E 1E 00 32 00 50 64 02 00"},
  {0x0E01, "PATCH AMP CTL SW",          0x780,  {1, 1},     {true,  true},  {true,  true},  1, "00"},
  {0x0F01, "PATCH AMP CTL SW2",         0x800,  {1, 1},     {true,  false}, {true,  false}, 1, "00"},
  {0x1001, "PATCH FX CHAIN",            0x880,  {14, 14},   {true,  true},  {true,  true},  1, "00 01 02 03 04 05 06 0B 0C 07 08 09 0A 0D"},
  {0x1101, "PATCH NAME",                0x900,  {16, 16},   {true,  true},  {true,  true},  1, INIT_NAME},
  {0x1201, "PATCH CTL PEDAL",           0x980,  {2, 2},     {false, true},  {true,  true},  1, "01 00"},
  {0x1301, "PATCH EXP PEDAL SW",        0xA00,  {2, 2},     {false, true},  {true,  true},  1, "01 04"},
  {0x1401, "PATCH EXP PEDAL",           0xA80,  {3, 3},     {false, true},  {true,  true},  1, "01 00 64"},
  {0x1501, "PATCH ASSIGN %d",           0xB00,  {17, 17},   {false, true},  {false, true},  8, "00 00 01 11 00 00 00 01 00 01 00 7F 04 1E 00 14 01"},
  {0x1601, "PATCH ASSIGN INPUT SENS",   0xF00,  {1, 1},     {true,  true},  {true,  true},  1, "32"},
  {0x1701, "PATCH ASSIGN %d",           0x1000, {17, 17},   {true,  false}, {true,  false}, 12, "00 00 01 22 00 00 00 01 07 01 00 7F 08 1E 00 14 01"},
  {0x1801, "PATCH ASSIGN EXP1",         0x1600, {3, 3},     {true,  false}, {true,  false}, 1, "01 00 64"},
  {0x1901, "PATCH ASSIGN CC#7",         0x1680, {3, 3},     {true,  false}, {true,  false}, 1, "01 00 64"},
};
// clang-format on

struct CInstanceTable {
  std::array<CBlockInstance, kBlockCount> items{};
  CInstanceTable() {
    int index = 0;
    int flat = 0;
    for (const CBlockKind& kind : kKinds) {
      for (int sub = 0; sub < kind.instances; ++sub) {
        items[index++] = CBlockInstance{&kind, sub, flat, kind.size[0]};
        flat += kind.size[0];
      }
    }
  }
};

const CInstanceTable& Instances() {
  static const CInstanceTable table;
  return table;
}

} // namespace

const CBlockKind* FindBlockKind(int blockId) {
  // Block ids are (number << 8) | 1 for numbers 1..25, in table order.
  if ((blockId & 0xFF) != 1)
    return nullptr;
  int number = blockId >> 8;
  if (number < 1 || number > kBlockKindCount)
    return nullptr;
  return &kKinds[number - 1];
}

const CBlockInstance& BlockInstance(int index) { return Instances().items[static_cast<std::size_t>(index)]; }

int FindBlockInstance(int blockId, int sub) {
  const CBlockKind* kind = FindBlockKind(blockId);
  if (!kind || sub < 0 || sub >= kind->instances)
    return -1;
  for (int i = 0; i < kBlockCount; ++i) {
    const CBlockInstance& instance = Instances().items[static_cast<std::size_t>(i)];
    if (instance.kind == kind)
      return i + sub;
  }
  return -1;
}

std::string BlockText(int blockId, int sub) {
  const CBlockKind* kind = FindBlockKind(blockId);
  if (!kind)
    return std::string();
  if (kind->instances == 1)
    return kind->text;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, kind->text, sub + 1);
  return buffer;
}

} // namespace QZML
