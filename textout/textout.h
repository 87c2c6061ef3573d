#pragma once
// Text output: how the non-window layers report errors, ask questions and write free text.
// Callers hold a CZelTextOut pointer and never own it; which object receives the report
// decides what the user sees (a message box, a buffer read at idle time, stderr, a test).

#include <string>

// Error codes reported through Error().
enum : int {
  TEXTOUT_ERR_NONE = 0,
  TEXTOUT_ERR_LOAD = 1,       // "This file could not be loaded."
  TEXTOUT_ERR_SAVE = 2,       // "This file could not be saved."
  TEXTOUT_ERR_MIDI_SETUP = 3, // MIDI devices are not set up
  TEXTOUT_ERR_NO_ANSWER = 4,  // the unit does not answer
  TEXTOUT_ERR_FILE_TYPE = 5,  // "Cannot read files of this type."
};

// Question kinds and answers of Ask().
enum : int {
  ASK_OK = 0,
  ASK_OK_CANCEL = 1,
  ASK_YES_NO = 2,
  ASK_YES_NO_CANCEL = 3,
};
enum : int {
  ANSWER_OK = 0,
  ANSWER_CANCEL = 1,
  ANSWER_YES = 2,
  ANSWER_NO = 3,
};
// Question codes: the model conversion questions.
enum : int {
  QUESTION_CONVERT_TO_QZMAX = 12,
  QUESTION_CONVERT_TO_QZ5 = 13,
};

class CZelTextOut {
public:
  CZelTextOut() = default;
  virtual ~CZelTextOut() = default;

  virtual void Error(int code);
  // An error code and a line about this case (which port, say), shown after the code's message. Outputs
  // that show no text report the code alone.
  virtual void ErrorDetail(int code, const std::string& detail);
  virtual void Write(const std::string& text);
  virtual void Printf(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  virtual void Indent(int delta);
  virtual int Ask(int kind, int code, int reserved);
  virtual int Query(int a, int b, int c);
  virtual void Output(const std::string& text);

  const std::string& GetIndent() const { return m_indent; }

protected:
  std::string m_indent;
  int m_atLineStart = 1;
};

// Keeps the last reported error (to be shown later, when the program is idle) and the text written.
class CZelTextOutBuffer : public CZelTextOut {
public:
  void Error(int code) override;
  void Output(const std::string& text) override;

  int m_pendingError = 0;
  std::string m_text;
};

// The fixed message text of an error code; %s in code 4 stands for the model name.
const char* TextOutErrorMessage(int code);
// The text of a question code; empty for a code that asks with no text.
const char* TextOutQuestionMessage(int code);
