#include "cli/terminaltextout.h"

#include "model/appstate.h"

std::string ErrorMessageText(ETextOutError code) {
  std::string text = TextOutErrorMessage(code);
  std::string::size_type at = text.find("%s");
  if (at != std::string::npos)
    text.replace(at, 2, QZML::CAppState::Instance().GetModelName());
  return text;
}

void CTerminalTextOut::Error(ETextOutError code) {
  if (code == TEXTOUT_ERR_NONE)
    return;
  Message(ErrorMessageText(code));
  if (code == TEXTOUT_ERR_NO_ANSWER)
    Message("'qzml detect' lists the units that answer, with their ports and device IDs.");
}

void CTerminalTextOut::ErrorDetail(ETextOutError code, const std::string& detail) {
  Error(code);
  if (code != TEXTOUT_ERR_NONE && !detail.empty())
    Message(detail);
}

EAnswer CTerminalTextOut::Ask(EAskKind kind, EQuestion code, int) {
  if (code == QUESTION_CONVERT_TO_QZMAX || code == QUESTION_CONVERT_TO_QZ5) {
    // Nobody is there to answer: the question and the answer given are shown, so a declined conversion
    // is never silent.
    std::fprintf(m_stream, "qzml: %s %s\n", TextOutQuestionMessage(code),
                 m_answerYes ? "Yes." : "No (--yes converts).");
    std::fflush(m_stream);
    return m_answerYes ? ANSWER_YES : ANSWER_NO;
  }
  // Any other question: the cautious answer.
  switch (kind) {
  case ASK_OK:
    return ANSWER_OK;
  case ASK_YES_NO:
    return ANSWER_NO;
  default:
    return ANSWER_CANCEL;
  }
}

void CTerminalTextOut::Output(const std::string& text) {
  std::fputs(text.c_str(), m_stream);
  std::fflush(m_stream);
}

void CTerminalTextOut::Message(const std::string& text) {
  ++m_messages;
  std::fprintf(m_stream, "qzml: %s\n", text.c_str());
  std::fflush(m_stream);
}
