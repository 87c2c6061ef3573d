#include "textout/textout.h"

#include <cstdarg>
#include <cstdio>

void CZelTextOut::Error(ETextOutError) {}

void CZelTextOut::ErrorDetail(ETextOutError code, const std::string&) { Error(code); }

void CZelTextOut::Write(const std::string& text) {
  std::string out;
  out.reserve(text.size() + m_indent.size());
  for (char c : text) {
    if (m_atLineStart)
      out += m_indent;
    out += c;
    m_atLineStart = (c == '\n') ? 1 : 0;
  }
  Output(out);
}

void CZelTextOut::Printf(const char* format, ...) {
  // 512 bytes as the callers expect; vsnprintf cuts a longer result instead of overrunning.
  char buffer[512];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0)
    return;
  Write(buffer);
}

void CZelTextOut::Indent(int delta) {
  long length = static_cast<long>(m_indent.size()) + delta;
  if (length < 0)
    length = 0;
  m_indent.assign(static_cast<size_t>(length), ' ');
}

EAnswer CZelTextOut::Ask(EAskKind, EQuestion, int) { return ANSWER_OK; }

int CZelTextOut::Query(int, int, int) { return 0; }

void CZelTextOut::Output(const std::string&) {}

void CZelTextOutBuffer::Error(ETextOutError code) { m_pendingError = code; }

void CZelTextOutBuffer::Output(const std::string& text) { m_text += text; }

const char* TextOutErrorMessage(ETextOutError code) {
  switch (code) {
  case TEXTOUT_ERR_NONE:
    return "";
  case TEXTOUT_ERR_LOAD:
    return "This file could not be loaded.";
  case TEXTOUT_ERR_SAVE:
    return "This file could not be saved.";
  case TEXTOUT_ERR_MIDI_SETUP:
    return "MIDI devices aren't set up.\nMake sure the settings in the \"Set Up MIDI Devices\" dialog box.";
  case TEXTOUT_ERR_NO_ANSWER:
    return "It appears that the %s is unconnected or connected incorrectly. Please check the connections.\n"
           "Check that the MIDI input and output ports lead to the unit, that the device ID is the one set on "
           "the unit, and that the target model is the unit's model.";
  case TEXTOUT_ERR_FILE_TYPE:
    return "Cannot read files of this type.";
  default:
    return "Undefined error.";
  }
}

const char* TextOutQuestionMessage(EQuestion code) {
  switch (code) {
  case QUESTION_CONVERT_TO_QZMAX:
    return "Are you sure you want to convert this QZ-5 data to QZ-MAX data?";
  case QUESTION_CONVERT_TO_QZ5:
    return "Are you sure you want to convert this QZ-MAX data to QZ-5 data?";
  default:
    return "";
  }
}
