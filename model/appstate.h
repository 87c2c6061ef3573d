#pragma once
// The one application-wide state object the model layer reads: above all the target model,
// which decides block sizes, block sets and the number of user patches.

#include <string>

namespace QZML {

enum : int {
  MODEL_QZMAX = 0,
  MODEL_QZ5 = 1,
};

// Display name ("QZ-MAX", "QZ-5") and user patch count (200, 140) of a model.
const char* ModelName(int model);
int UserPatchCount(int model);

class CAppState {
public:
  static CAppState& Instance();

  int GetTargetModel() const { return m_targetModel; }
  const char* GetModelName() const { return ModelName(m_targetModel); }
  int GetUserPatchCount() const { return UserPatchCount(m_targetModel); }

  // Quiet form only: switches the model without asking or converting anything.
  void SetTargetModelQuiet(int model) { m_targetModel = model; }

private:
  CAppState() = default;
  int m_targetModel = MODEL_QZMAX;
};

// Switches the target model for the lifetime of a scope (tests, tools that work on one model).
class CTargetModelScope {
public:
  explicit CTargetModelScope(int model) : m_saved(CAppState::Instance().GetTargetModel()) {
    CAppState::Instance().SetTargetModelQuiet(model);
  }
  ~CTargetModelScope() { CAppState::Instance().SetTargetModelQuiet(m_saved); }
  CTargetModelScope(const CTargetModelScope&) = delete;
  CTargetModelScope& operator=(const CTargetModelScope&) = delete;

private:
  int m_saved;
};

} // namespace QZML
