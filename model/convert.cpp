#include "model/convert.h"

#include <array>
#include <cstring>

#include "model/appstate.h"
#include "model/patch.h"

namespace QZML {

// clang-format off
const CRangeRow kTargetToQzMax[7] = {
  //  lo   hi  new
  {    0, 141,   0},
  {  142, 144, 144},
  {  145, 460, 153},
  {  461, 463, 470},
  {  464, 464, 474},
  {  465, 474, 476},
  {  475, 480, 487},
};

const CRangeRow kByte8ToQzMax[6] = {
  {    0,   1,   1},
  {    2,   2,   0},
  {    3,   5,   3},
  {    6,   8,   8},
  {    9,  39,  11},
  {   40,  71,  42},
};

const CRangeRow kTargetToQz5[13] = {
  {    0, 141,   0},
  {  142, 143, kNoCounterpart},
  {  144, 146, 142},
  {  147, 152, kNoCounterpart},
  {  153, 468, 145},
  {  469, 469, kNoCounterpart},
  {  470, 472, 461},
  {  473, 473, kNoCounterpart},
  {  474, 474, 464},
  {  475, 475, kNoCounterpart},
  {  476, 485, 465},
  {  486, 486, kNoCounterpart},
  {  487, 492, 475},
};

const CRangeRow kByte8ToQz5[6] = {
  {    0,   0,   2},
  {    1,   2,   0},
  {    3,   5,   3},
  {    6,   6,   2},
  {    7,   7,   0},
  {    8,  73,   6},
};

const std::uint16_t kPedalFunctionTargets[kPedalFunctionCount] = {
  162, 174,   0, 129, 137, 141, 153, 160, 199, 211,
  425, 447, 455, 474, 476, 477, 478, 479, 480, 481,
  482, 483, 484, 485, 487, 488, 489, 490, 491, 492,
};
// clang-format on

namespace {

constexpr int kCtlPedalAssign = kOffsetAssignsQzMax + 11 * kAssignSize;    // QZ-MAX assign 12
constexpr int kExpPedalSwAssign = kOffsetAssignsQzMax + 10 * kAssignSize;  // QZ-MAX assign 11

unsigned GetPair(const std::uint8_t* p) { return unsigned(p[0]) * 128 + p[1]; }

void SetPair(std::uint8_t* p, unsigned value) {
  p[0] = static_cast<std::uint8_t>((value >> 7) & 0x7F);
  p[1] = static_cast<std::uint8_t>(value & 0x7F);
}

template <std::size_t N>
unsigned Map(const CRangeRow (&table)[N], unsigned value, bool* noCounterpart) {
  return MapRange(table, N, value, noCounterpart);
}

// A QZ-5 pedal (on/off byte, function number) as a QZ-MAX assign. A function number the table does not
// know has no target to give, so the assign keeps the source's bytes.
void PedalToAssign(const std::uint8_t* pedal, std::uint8_t* assign, std::uint8_t byte8) {
  std::uint8_t function = pedal[1];
  if (function >= kPedalFunctionCount)
    return;
  assign[0] = pedal[0];
  SetPair(assign + 2, kPedalFunctionTargets[function]);
  assign[4] = 0;
  assign[5] = 0;
  assign[6] = 0;
  assign[7] = 1;
  assign[8] = byte8;
  assign[9] = 1;
  assign[10] = 0;
  assign[11] = 127;
}

// A QZ-MAX assign back into a QZ-5 pedal, when its target is a pedal function and its mode one a pedal has.
void AssignToPedal(const std::uint8_t* assign, std::uint8_t* pedal) {
  unsigned target = GetPair(assign + 2);
  std::uint8_t mode = assign[8];
  if (mode != 1 && mode != 2 && mode != 4 && mode != 5 && mode != 7)
    return;
  for (int f = 0; f < kPedalFunctionCount; ++f) {
    if (target == kPedalFunctionTargets[f]) {
      pedal[0] = assign[0];
      pedal[1] = static_cast<std::uint8_t>(f);
    }
  }
}

} // namespace

unsigned MapRange(const CRangeRow* table, std::size_t rows, unsigned value, bool* noCounterpart) {
  for (std::size_t i = 0; i < rows; ++i) {
    const CRangeRow& row = table[i];
    if (value < row.lo || value > row.hi)
      continue;
    if (row.newLo == kNoCounterpart) {
      if (noCounterpart)
        *noCounterpart = true;
      continue;
    }
    return value - row.lo + row.newLo;
  }
  return value;
}

void ConvertPatchToQZMAX(const std::uint8_t* source, std::uint8_t* result) {
  std::array<std::uint8_t, kPatchImageSize> src;
  std::memcpy(src.data(), source, kPatchImageSize);
  std::memmove(result, source, kPatchImageSize);

  std::memcpy(result + kOffsetAssignsQzMax, src.data() + kOffsetAssignsQz5, kAssignsQz5 * kAssignSize);
  for (int k = 0; k < kAssignsQz5; ++k) {
    std::uint8_t* assign = result + kOffsetAssignsQzMax + k * kAssignSize;
    unsigned target = GetPair(assign + 2);
    unsigned mapped = Map(kTargetToQzMax, target, nullptr);
    if (mapped != target)
      SetPair(assign + 2, mapped);
    assign[8] = static_cast<std::uint8_t>(Map(kByte8ToQzMax, assign[8], nullptr));
  }

  std::memcpy(result + kOffsetAssignExp1, src.data() + kOffsetExpPedal, 3);
  PedalToAssign(src.data() + kOffsetCtlPedal, result + kCtlPedalAssign, 1);
  PedalToAssign(src.data() + kOffsetExpPedalSw, result + kExpPedalSwAssign, 2);

  for (int i = 0; i < kNameSize; ++i) {
    std::uint8_t& c = result[kOffsetName + i];
    if (c == 0x7F)
      c = '{';
    else if (c == 0x7E)
      c = '}';
  }
}

void ConvertPatchToQZ5(const std::uint8_t* source, std::uint8_t* result) {
  std::array<std::uint8_t, kPatchImageSize> src;
  std::memcpy(src.data(), source, kPatchImageSize);
  std::memmove(result, source, kPatchImageSize);

  std::memcpy(result + kOffsetAssignsQz5, src.data() + kOffsetAssignsQzMax, kAssignsQz5 * kAssignSize);
  for (int k = 0; k < kAssignsQz5; ++k) {
    std::uint8_t* assign = result + kOffsetAssignsQz5 + k * kAssignSize;
    unsigned target = GetPair(assign + 2);
    bool noCounterpart = false;
    unsigned mapped = Map(kTargetToQz5, target, &noCounterpart);
    if (noCounterpart)
      assign[0] = 0;
    if (mapped != target)
      SetPair(assign + 2, mapped);
    assign[8] = static_cast<std::uint8_t>(Map(kByte8ToQz5, assign[8], nullptr));
  }

  std::memcpy(result + kOffsetExpPedal, src.data() + kOffsetAssignExp1, 3);
  AssignToPedal(src.data() + kCtlPedalAssign, result + kOffsetCtlPedal);
  AssignToPedal(src.data() + kExpPedalSwAssign, result + kOffsetExpPedalSw);
}

void ConvertArray(CParameterArray& patches, EConversion direction) {
  if (direction != CONVERT_TO_QZMAX && direction != CONVERT_TO_QZ5)
    return;
  std::array<std::uint8_t, kPatchImageSize> source;
  std::array<std::uint8_t, kPatchImageSize> result;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    auto* patch = dynamic_cast<CPatch*>(patches[i]);
    if (!patch)
      continue;
    patch->GetData(source.data());
    if (direction == CONVERT_TO_QZMAX)
      ConvertPatchToQZMAX(source.data(), result.data());
    else
      ConvertPatchToQZ5(source.data(), result.data());
    patch->SetData(result.data());
  }
}

} // namespace QZML
