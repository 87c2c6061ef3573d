#pragma once
// Conversion of patch data between the two target models. QZ-5 and QZ-MAX data keep the same layout but use
// different blocks for the assigns and pedals and number the assign targets differently.

#include <cstddef>
#include <cstdint>

#include "model/parameter.h"
#include "model/targetmodel.h"

namespace QZML {

// One row of a renumbering table: lo..hi becomes newLo.. (value + newLo - lo); newLo kNoCounterpart means
// that the value has no counterpart in the other model.
struct CRangeRow {
  std::uint16_t lo, hi, newLo;
};
constexpr std::uint16_t kNoCounterpart = 65535;

// Offsets in the flat patch image.
constexpr int kOffsetName = 510;
constexpr int kOffsetCtlPedal = 526;     // "PATCH CTL PEDAL", QZ-5 data
constexpr int kOffsetExpPedalSw = 528;   // "PATCH EXP PEDAL SW", QZ-5 data
constexpr int kOffsetExpPedal = 530;     // "PATCH EXP PEDAL", QZ-5 data
constexpr int kOffsetAssignsQz5 = 533;   // eight assigns of QZ-5 data
constexpr int kOffsetAssignsQzMax = 670; // twelve assigns of QZ-MAX data
constexpr int kOffsetAssignExp1 = 874;   // "PATCH ASSIGN EXP1", QZ-MAX data
constexpr int kAssignSize = 17;
constexpr int kAssignsQz5 = 8;
constexpr int kAssignsQzMax = 12;
constexpr int kPedalFunctionCount = 30;

extern const CRangeRow kTargetToQzMax[7];  // assign target, QZ-5 -> QZ-MAX
extern const CRangeRow kByte8ToQzMax[6];   // assign byte 8, QZ-5 -> QZ-MAX
extern const CRangeRow kTargetToQz5[13];   // assign target, QZ-MAX -> QZ-5
extern const CRangeRow kByte8ToQz5[6];     // assign byte 8, QZ-MAX -> QZ-5
// QZ-MAX assign target of each QZ-5 pedal function number.
extern const std::uint16_t kPedalFunctionTargets[kPedalFunctionCount];

// Renumbers value with a table: the first row that holds it decides; rows without counterpart set
// *noCounterpart and the search goes on. A value no row holds comes back unchanged.
unsigned MapRange(const CRangeRow* table, std::size_t rows, unsigned value, bool* noCounterpart);

// 880-byte flat patch images in and out; source and result may be the same buffer.
void ConvertPatchToQZMAX(const std::uint8_t* source, std::uint8_t* result);
void ConvertPatchToQZ5(const std::uint8_t* source, std::uint8_t* result);

// Converts every patch of the array in the direction; CONVERT_NONE (or a value that is no direction), and
// any element that is not a patch, leaves it as it is. Memos are not touched.
void ConvertArray(CParameterArray& patches, EConversion direction);

} // namespace QZML
