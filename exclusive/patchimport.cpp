#include "exclusive/patchimport.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "exclusive/orvanemessage.h"
#include "model/appstate.h"
#include "model/convert.h"
#include "model/parameteraddress.h"

namespace QZML {

void CDataSetImport::Clear() {
  m_sets.clear();
  m_skipped = 0;
  m_filed = 0;
}

void CDataSetImport::Add(const CByteArray& bytes) {
  if (bytes.size() < 2 || bytes[0] != 0xF0 || bytes[1] != ORVANE_MANUFACTURER_ID)
    return;
  // Files always carry four address bytes, whatever the port's setting.
  CZelOrvaneMessage message;
  if (!message.Parse(bytes, 4)) {
    ++m_skipped;
    return;
  }
  const CByteArray deviceId = message.GetField(ORVANE_FIELD_DEVICE_ID);
  const CByteArray modelId = message.GetField(ORVANE_FIELD_MODEL_ID);
  const CByteArray address = message.GetField(ORVANE_FIELD_ADDRESS);
  std::optional<EModel> model;
  for (EModel candidate : {MODEL_QZMAX, MODEL_QZ5})
    if (modelId == CByteArray(ModelId(candidate), ModelId(candidate) + 3))
      model = candidate;
  // The user area only (08 or 09 as the first address byte).
  if (deviceId.size() != 1 || !model || message.GetField(ORVANE_FIELD_COMMAND) != OrvaneDataSetCommand() ||
      message.GetChecksum() != message.CalcChecksum() || address.empty() ||
      (address[0] != 0x08 && address[0] != 0x09)) {
    ++m_skipped;
    return;
  }
  m_sets.push_back(CDataSet{deviceId[0], *model, FromSevenBitBytes(address), message.GetField(ORVANE_FIELD_DATA)});
}

int CDataSetImport::Count(int deviceId, EModel model) const {
  return static_cast<int>(std::count_if(m_sets.begin(), m_sets.end(), [&](const CDataSet& set) {
    return set.deviceId == deviceId && set.model == model;
  }));
}

int CDataSetImport::MostCommonDeviceId() const {
  std::map<int, int> counts;
  for (const CDataSet& set : m_sets)
    ++counts[set.deviceId];
  int best = -1, bestCount = 0;
  for (const auto& [id, count] : counts)
    if (count > bestCount) {
      best = id;
      bestCount = count;
    }
  return best;
}

std::string CDataSetImport::DescribeFor(int deviceIdInUse) const {
  // Each device ID and model once, in the order the file has them.
  std::vector<std::pair<int, EModel>> held;
  for (const CDataSet& set : m_sets) {
    const std::pair<int, EModel> key{set.deviceId, set.model};
    if (std::find(held.begin(), held.end(), key) == held.end())
      held.push_back(key);
  }
  if (held.empty())
    return "This file holds no patches for the QZ-MAX or the QZ-5.";
  const EModel target = CAppState::Instance().GetTargetModel();
  if (Count(deviceIdInUse, target) > 0)
    return std::string("The patches in this file lie beyond the ") + std::to_string(UserPatchCount(target)) +
           " user patches of the " + ModelName(target) + ".";
  std::string text = "This file holds patches for ";
  for (std::size_t i = 0; i < held.size(); ++i) {
    if (i > 0)
      text += i + 1 == held.size() ? " and " : ", ";
    text += "device ID " + std::to_string(held[i].first + 1) + " (" + ModelName(held[i].second) + ")";
  }
  return text + "; the device ID in use is " + std::to_string(deviceIdInUse + 1) + ".";
}

CDataSetImport::EOutcome CDataSetImport::File(int deviceId, CPatchArray* destination) {
  m_filed = 0;
  CAppState& state = CAppState::Instance();
  const EModel target = state.GetTargetModel();
  const EModel other = OtherModel(target);
  if (Count(deviceId, target) > 0) {
    const CParameterAddress addressing;
    for (const CDataSet& set : m_sets)
      if (set.deviceId == deviceId && set.model == target &&
          addressing.StoreData(set.address, set.data.data(), set.data.size(), destination, -1))
        ++m_filed;
    return m_filed > 0 ? EOutcome::Filed : EOutcome::NothingForDevice;
  }
  if (Count(deviceId, other) == 0)
    return EOutcome::NothingForDevice;
  if (!state.AskConversion(ConversionQuestionTo(target)))
    return EOutcome::Declined;
  m_filed = FileConverted(deviceId, other, destination);
  return m_filed > 0 ? EOutcome::Filed : EOutcome::NothingForDevice;
}

int CDataSetImport::FileConverted(int deviceId, EModel model, CPatchArray* destination) const {
  if (!destination)
    return 0;
  // The other model's patches are put together from their data sets first (the two models share one
  // patch layout), then converted as a library of that model would be, then replace their rows.
  const CParameterAddress addressing;
  CPatchArray scratch;
  scratch.Resize(destination->size());
  std::set<int> rows;
  int filed = 0;
  for (const CDataSet& set : m_sets) {
    if (set.deviceId != deviceId || set.model != model)
      continue;
    if (addressing.StoreData(set.address, set.data.data(), set.data.size(), &scratch, -1)) {
      rows.insert(addressing.GetPatchIndex(set.address, AREA_USER));
      ++filed;
    }
  }
  CPatchArray converted;
  for (int row : rows)
    converted.Add(std::make_unique<CPatch>(*scratch.Get(static_cast<std::size_t>(row))));
  ConvertArray(converted, ConversionTo(CAppState::Instance().GetTargetModel()));
  std::size_t next = 0;
  for (int row : rows)
    if (CPatch* patch = destination->Get(static_cast<std::size_t>(row)))
      *patch = *converted.Get(next++);
  return filed;
}

} // namespace QZML
