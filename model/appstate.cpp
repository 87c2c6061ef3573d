#include "model/appstate.h"

namespace QZML {

const char* ModelName(int model) { return model == MODEL_QZ5 ? "QZ-5" : "QZ-MAX"; }

int UserPatchCount(int model) { return model == MODEL_QZ5 ? 140 : 200; }

CAppState& CAppState::Instance() {
  static CAppState state;
  return state;
}

} // namespace QZML
