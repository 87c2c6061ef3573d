#pragma once
// Text output: how the non-window layers report errors, ask questions and write free text.
// Callers hold a CZelTextOut pointer and never own it; which object receives the report
// decides what the user sees (a message box, a buffer read at idle time, stderr, a test).

#include <string>

// Error codes reported through Error().
enum class ETextOutError : int {
  None = 0,
  Load = 1,      // "This file could not be loaded."
  Save = 2,      // "This file could not be saved."
  MidiSetup = 3, // MIDI devices are not set up
  NoAnswer = 4,  // the unit does not answer
  FileType = 5,  // "Cannot read files of this type."
};
inline constexpr ETextOutError TEXTOUT_ERR_NONE = ETextOutError::None;
inline constexpr ETextOutError TEXTOUT_ERR_LOAD = ETextOutError::Load;
inline constexpr ETextOutError TEXTOUT_ERR_SAVE = ETextOutError::Save;
inline constexpr ETextOutError TEXTOUT_ERR_MIDI_SETUP = ETextOutError::MidiSetup;
inline constexpr ETextOutError TEXTOUT_ERR_NO_ANSWER = ETextOutError::NoAnswer;
inline constexpr ETextOutError TEXTOUT_ERR_FILE_TYPE = ETextOutError::FileType;

// Question kinds and answers of Ask().
enum class EAskKind : int {
  Ok = 0,
  OkCancel = 1,
  YesNo = 2,
  YesNoCancel = 3,
};
inline constexpr EAskKind ASK_OK = EAskKind::Ok;
inline constexpr EAskKind ASK_OK_CANCEL = EAskKind::OkCancel;
inline constexpr EAskKind ASK_YES_NO = EAskKind::YesNo;
inline constexpr EAskKind ASK_YES_NO_CANCEL = EAskKind::YesNoCancel;

enum class EAnswer : int {
  Ok = 0,
  Cancel = 1,
  Yes = 2,
  No = 3,
};
inline constexpr EAnswer ANSWER_OK = EAnswer::Ok;
inline constexpr EAnswer ANSWER_CANCEL = EAnswer::Cancel;
inline constexpr EAnswer ANSWER_YES = EAnswer::Yes;
inline constexpr EAnswer ANSWER_NO = EAnswer::No;

// Question codes: the model conversion questions. Other values ask with no text of their own.
enum class EQuestion : int {
  ConvertToQzMax = 12,
  ConvertToQz5 = 13,
};
inline constexpr EQuestion QUESTION_CONVERT_TO_QZMAX = EQuestion::ConvertToQzMax;
inline constexpr EQuestion QUESTION_CONVERT_TO_QZ5 = EQuestion::ConvertToQz5;

class CZelTextOut {
public:
  CZelTextOut() = default;
  virtual ~CZelTextOut() = default;

  virtual void Error(ETextOutError code);
  // An error code and a line about this case (which port, say), shown after the code's message. Outputs
  // that show no text report the code alone.
  virtual void ErrorDetail(ETextOutError code, const std::string& detail);
  virtual void Write(const std::string& text);
  virtual void Printf(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  virtual void Indent(int delta);
  virtual EAnswer Ask(EAskKind kind, EQuestion code, int reserved);
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
  void Error(ETextOutError code) override;
  void Output(const std::string& text) override;

  ETextOutError m_pendingError = TEXTOUT_ERR_NONE;
  std::string m_text;
};

// The fixed message text of an error code; %s in TEXTOUT_ERR_NO_ANSWER's text stands for the model name.
const char* TextOutErrorMessage(ETextOutError code);
// The text of a question code; empty for a code that asks with no text.
const char* TextOutQuestionMessage(EQuestion code);
