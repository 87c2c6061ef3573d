#pragma once
// What both foreign importers share: the image every imported patch starts from, 7-bit pairs,
// effect-chain moves and bounded reading of input files.

#include <array>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>

#include "model/blocktable.h"
#include "model/bytes.h"

namespace QZML {

using CPatchImage = std::array<std::uint8_t, kPatchImageSize>;

// Flat offsets of the blocks the importers touch by name.
enum : int {
  OFFSET_FX1 = 0,
  OFFSET_FX2 = 219,
  OFFSET_DELAY_TIME = 442, // 7-bit pair
  OFFSET_REVERB = 474,
  OFFSET_FX_CHAIN = 496,
  OFFSET_NAME = 510,
  OFFSET_ASSIGN = 670, // QZ-MAX assign 1; each next one ASSIGN_SIZE further
  ASSIGN_SIZE = 17,
  FX_CHAIN_SIZE = 14,
  MAX_DELAY_TIME = 1800,
};

// The "INIT PATCH" image with the reverb bytes 2, 3 and 8 set to 04, 1B, 08, as foreign patches expect.
const CPatchImage& ImportDefaultImage();

inline int GetPair(const std::uint8_t* p) { return p[0] * 128 + p[1]; }
// Writes a value of up to 14 bits as upper and lower 7 bits.
inline void PutPair(std::uint8_t* p, int value) {
  p[0] = static_cast<std::uint8_t>((value >> 7) & 0x7F);
  p[1] = static_cast<std::uint8_t>(value & 0x7F);
}

// In the 14-entry effect chain at `chain`: takes the entry holding `moving` out, closes the gap and
// puts it back directly after the entry holding `anchor`. Nothing changes when either is missing.
void MoveChainEntryAfter(std::uint8_t* chain, std::uint8_t moving, std::uint8_t anchor);

// Reads up to `count` bytes, appending to out. Memory grows with the bytes that actually arrive,
// never with the count a file claims. False when the stream ends or fails first.
bool ReadBytes(std::istream& in, std::size_t count, CByteArray& out);
// Reads the rest of the stream. False when the stream fails other than by reaching its end.
bool ReadAll(std::istream& in, CByteArray& out);

// A read-only stream buffer over bytes in memory (no copy), for parsing buffers with stream code.
class CMemoryStreamBuf : public std::streambuf {
public:
  CMemoryStreamBuf(const std::uint8_t* data, std::size_t size);
};

} // namespace QZML
