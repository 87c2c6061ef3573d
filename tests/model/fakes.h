#pragma once
// Test stand-ins for the outputs and sinks the application state talks to, and a guard that restores
// the shared application state after each test.

#include <vector>

#include "model/appstate.h"
#include "textout/textout.h"

namespace qztest {

// A message-box output that answers every question with a preset answer and records what was asked.
class CScriptedTextOut : public CZelTextOutBuffer {
public:
  EAnswer Ask(EAskKind kind, EQuestion code, int) override {
    asked.push_back({kind, code});
    return answer;
  }
  struct CQuestion {
    EAskKind kind;
    EQuestion code;
  };
  std::vector<CQuestion> asked;
  EAnswer answer = ANSWER_NO;
};

class CRecordingModelIdSink : public QZML::IModelIdSink {
public:
  void SetModelId(const unsigned char id[3]) override { ids.push_back({id[0], id[1], id[2]}); }
  std::vector<std::vector<int>> ids;
};

// Plugs fresh fakes into the application state and puts everything back afterwards.
class CAppStateGuard {
public:
  CAppStateGuard() : m_model(State().GetTargetModel()) {
    State().SetMessageBoxOutput(&messageBox);
    State().SetErrorOutput(&errors);
    State().SetModelIdSink(&modelIds);
    State().GetClipboard().m_patches.Clear();
    State().GetClipboard().m_model = QZML::kModelOfTarget;
  }
  ~CAppStateGuard() {
    State().SetMessageBoxOutput(nullptr);
    State().SetErrorOutput(nullptr);
    State().SetModelIdSink(nullptr);
    State().GetClipboard().m_patches.Clear();
    State().GetClipboard().m_model = QZML::kModelOfTarget;
    State().SetTargetModelQuiet(m_model);
  }
  static QZML::CAppState& State() { return QZML::CAppState::Instance(); }

  CScriptedTextOut messageBox;
  CZelTextOutBuffer errors;
  CRecordingModelIdSink modelIds;

private:
  QZML::EModel m_model;
};

} // namespace qztest
