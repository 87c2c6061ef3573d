#pragma once
// The one application-wide state object the model layer reads: above all the target model,
// which decides block sizes, block sets and the number of user patches.

#include <string>

class CZelTextOut;

namespace QZML {

enum : int {
  MODEL_QZMAX = 0,
  MODEL_QZ5 = 1,
};

// Receives the target model's identifier bytes for the unit's MIDI ports (00 00 0B or 00 00 06).
// The MIDI layer implements it; the model layer only calls it, so it never depends on MIDI.
class IModelIdSink {
public:
  virtual ~IModelIdSink() = default;
  virtual void SetModelId(const unsigned char modelId[3]) = 0;
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

  // Where questions are asked at once (the message-box output) and where the unit's model identifier goes.
  // Neither is owned; both may be null (no question is then answered Yes; no port is told).
  void SetMessageBoxOutput(CZelTextOut* output) { m_messageBox = output; }
  CZelTextOut* GetMessageBoxOutput() const { return m_messageBox; }
  void SetModelIdSink(IModelIdSink* sink) { m_modelIdSink = sink; }
  IModelIdSink* GetModelIdSink() const { return m_modelIdSink; }

private:
  CAppState() = default;
  int m_targetModel = MODEL_QZMAX;
  CZelTextOut* m_messageBox = nullptr;
  IModelIdSink* m_modelIdSink = nullptr;
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
