#include "model/appstate.h"

#include "model/convert.h"
#include "textout/textout.h"

namespace QZML {

const char* ModelName(int model) { return model == MODEL_QZ5 ? "QZ-5" : "QZ-MAX"; }

int UserPatchCount(int model) { return model == MODEL_QZ5 ? 140 : 200; }

const unsigned char* ModelId(int model) {
  static const unsigned char kQzMax[3] = {0x00, 0x00, 0x0B};
  static const unsigned char kQz5[3] = {0x00, 0x00, 0x06};
  return model == MODEL_QZ5 ? kQz5 : kQzMax;
}

CAppState& CAppState::Instance() {
  static CAppState state;
  return state;
}

bool CAppState::AskConversion(int questionCode) const {
  return m_messageBox && m_messageBox->Ask(ASK_YES_NO, questionCode, 0) == ANSWER_YES;
}

int CAppState::SetTargetModel(int model, bool quiet) {
  // Only the two models exist; anything else (a damaged setting) would leave sizes, names and file
  // signatures disagreeing about which model is meant.
  if (model != MODEL_QZMAX && model != MODEL_QZ5)
    return CONVERT_NONE;
  m_targetModel = model;
  if (quiet)
    return CONVERT_NONE;
  if (m_modelIdSink)
    m_modelIdSink->SetModelId(ModelId(model));
  int direction = model == MODEL_QZMAX ? CONVERT_TO_QZMAX : CONVERT_TO_QZ5;
  int question = model == MODEL_QZMAX ? QUESTION_CONVERT_TO_QZMAX : QUESTION_CONVERT_TO_QZ5;
  if (!AskConversion(question))
    return CONVERT_NONE;
  ConvertArray(m_clipboard.m_patches, direction);
  return direction;
}

} // namespace QZML
