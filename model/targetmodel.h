#pragma once
// The two models the program works with, the direction of a conversion between their data, and the
// model of some data (a model of its own, or whatever the target model is).

#include <cstdint>
#include <optional>

namespace QZML {

// The values are those stored in the "TargetModel" setting, library files and the clipboard format;
// they never change.
enum class EModel : std::int32_t {
  QzMax = 0,
  Qz5 = 1,
};
inline constexpr EModel MODEL_QZMAX = EModel::QzMax;
inline constexpr EModel MODEL_QZ5 = EModel::Qz5;

// Conversion directions between the two models' data.
enum class EConversion : std::int32_t {
  None = 0,
  ToQzMax = 1,
  ToQz5 = 2,
};
inline constexpr EConversion CONVERT_NONE = EConversion::None;
inline constexpr EConversion CONVERT_TO_QZMAX = EConversion::ToQzMax;
inline constexpr EConversion CONVERT_TO_QZ5 = EConversion::ToQz5;

// The model of some patches: a model, or no value for data that is whatever the target model is at the
// time (the usual case).
using CDataModel = std::optional<EModel>;
inline constexpr std::nullopt_t kModelOfTarget = std::nullopt;

// The stored number of a model, and the model a stored number stands for: no value for a number that is
// no model (a damaged setting or file), which the reader must refuse.
constexpr std::int32_t ModelNumber(EModel model) { return static_cast<std::int32_t>(model); }
constexpr std::optional<EModel> ModelFromNumber(long long number) {
  if (number == ModelNumber(EModel::QzMax))
    return EModel::QzMax;
  if (number == ModelNumber(EModel::Qz5))
    return EModel::Qz5;
  return std::nullopt;
}

constexpr EModel OtherModel(EModel model) { return model == EModel::QzMax ? EModel::Qz5 : EModel::QzMax; }

} // namespace QZML
