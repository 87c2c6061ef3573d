#pragma once
// The unit's patch layout: one table of the 25 kinds of block from which addresses, sizes,
// block sets, display texts, flat offsets and default contents are all derived.

#include <cstdint>
#include <string>

namespace QZML {

enum : int {
  AREA_NONE = 0,
  AREA_TEMPORARY = 0x11,
  AREA_USER = 0x21,
};

enum : std::uint32_t {
  ADDRESS_USER = 0x1000000,
  ADDRESS_USER_END = 0x1400000,
  ADDRESS_TEMPORARY = 0x1A00000,
  ADDRESS_TEMPORARY_END = 0x1C00000,
  PATCH_STRIDE = 0x4000,
  GROUP_STRIDE = 0x80,
};

enum : int {
  BLOCK_FX1 = 0x0101,
  BLOCK_COMP = 0x0201,
  BLOCK_WAH = 0x0301,
  BLOCK_LOOP_FX = 0x0401,
  BLOCK_PRE_LOOP_FX = 0x0501,
  BLOCK_OD_DS = 0x0601,
  BLOCK_PREAMP_SPEAKER = 0x0701,
  BLOCK_EQUALIZER = 0x0801,
  BLOCK_FX2 = 0x0901,
  BLOCK_DELAY = 0x0A01,
  BLOCK_CHORUS = 0x0B01,
  BLOCK_REVERB = 0x0C01,
  BLOCK_MASTER = 0x0D01,
  BLOCK_AMP_CTL_SW = 0x0E01,
  BLOCK_AMP_CTL_SW2 = 0x0F01,
  BLOCK_FX_CHAIN = 0x1001,
  BLOCK_NAME = 0x1101,
  BLOCK_CTL_PEDAL = 0x1201,
  BLOCK_EXP_PEDAL_SW = 0x1301,
  BLOCK_EXP_PEDAL = 0x1401,
  BLOCK_ASSIGN_QZ5 = 0x1501,
  BLOCK_ASSIGN_INPUT_SENS = 0x1601,
  BLOCK_ASSIGN_QZMAX = 0x1701,
  BLOCK_ASSIGN_EXP1 = 0x1801,
  BLOCK_ASSIGN_CC7 = 0x1901,
};

constexpr int kBlockKindCount = 25;
constexpr int kBlockCount = 43;       // block instances per patch
constexpr int kPatchImageSize = 880;  // flat patch image
constexpr int kNameSize = 16;

// One kind of block as the unit lays it out.
struct CBlockKind {
  int id;
  const char* text;        // display text; "PATCH ASSIGN %d" for the groups
  std::uint32_t offset;    // from the patch's first address (packed)
  int size[2];             // bytes exchanged with the unit, by target model
  bool read[2];            // requested from the unit, by target model
  bool written[2];         // sent to the unit, by target model
  int instances;           // 1, or 8 / 12 for the assign groups
  const char* defaults;    // default contents, hexadecimal text (see patch.cpp)
};

// One block instance of a patch in memory: its kind, sub index and place in the flat image.
struct CBlockInstance {
  const CBlockKind* kind;
  int sub;
  int flatOffset;
  int size;  // the size held in memory: always the QZ-MAX size
};

const CBlockKind* FindBlockKind(int blockId);
// The 43 instances in table order; index 0..42.
const CBlockInstance& BlockInstance(int index);
// Index 0..42 of a block id and sub index, or -1.
int FindBlockInstance(int blockId, int sub);
// The display text of a block, the groups numbered from 1 ("PATCH ASSIGN 3"); empty for an unknown id.
std::string BlockText(int blockId, int sub);

} // namespace QZML
