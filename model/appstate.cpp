#include "model/appstate.h"

#include "model/convert.h"
#include "textout/textout.h"

namespace QZML {

const char* ModelName(EModel model) { return model == MODEL_QZ5 ? "QZ-5" : "QZ-MAX"; }

int UserPatchCount(EModel model) { return model == MODEL_QZ5 ? 140 : 200; }

const unsigned char* ModelId(EModel model) {
  static const unsigned char kQzMax[3] = {0x00, 0x00, 0x0B};
  static const unsigned char kQz5[3] = {0x00, 0x00, 0x06};
  return model == MODEL_QZ5 ? kQz5 : kQzMax;
}

EConversion ConversionTo(EModel model) { return model == MODEL_QZ5 ? CONVERT_TO_QZ5 : CONVERT_TO_QZMAX; }

EQuestion ConversionQuestionTo(EModel model) {
  return model == MODEL_QZ5 ? QUESTION_CONVERT_TO_QZ5 : QUESTION_CONVERT_TO_QZMAX;
}

void AdaptToModelSwitch(CData& data, EModel previous, bool convert) {
  const EModel target = CAppState::Instance().GetTargetModel();
  const EModel model = data.m_model.value_or(previous);
  if (!convert) {
    data.m_model = model;
    return;
  }
  if (model != target)
    ConvertArray(data.m_patches, ConversionTo(target));
  data.m_model = kModelOfTarget;
}

CAppState& CAppState::Instance() {
  static CAppState state;
  return state;
}

bool CAppState::AskConversion(EQuestion question) const {
  return m_messageBox && m_messageBox->Ask(ASK_YES_NO, question, 0) == ANSWER_YES;
}

bool CAppState::AdaptPatches(CPatchArray& patches, EModel dataModel, EModel toModel) const {
  if (dataModel == toModel)
    return true;
  if (!AskConversion(ConversionQuestionTo(toModel)))
    return false;
  ConvertArray(patches, ConversionTo(toModel));
  return true;
}

EConversion CAppState::SetTargetModel(EModel model, bool quiet) {
  // Only the two models exist; anything else (a damaged setting) would leave sizes, names and file
  // signatures disagreeing about which model is meant.
  if (model != MODEL_QZMAX && model != MODEL_QZ5)
    return CONVERT_NONE;
  const EModel previous = m_targetModel;
  m_targetModel = model;
  if (quiet)
    return CONVERT_NONE;
  if (m_modelIdSink)
    m_modelIdSink->SetModelId(ModelId(model));
  const bool convert = AskConversion(ConversionQuestionTo(model));
  AdaptToModelSwitch(m_clipboard, previous, convert);
  return convert ? ConversionTo(model) : CONVERT_NONE;
}

} // namespace QZML
