#pragma once
// The text output of the command-line tool: every error code the layers report becomes the program's own
// message on stderr at once, the model-conversion questions are answered from --yes, and free text goes
// to stderr so that stdout carries only a command's data.

#include <cstdio>
#include <string>

#include "textout/textout.h"

class CTerminalTextOut : public CZelTextOut {
public:
  // stream: where messages go (stderr in the program); not owned.
  explicit CTerminalTextOut(std::FILE* stream = stderr) : m_stream(stream) {}

  // Whether the conversion questions are answered Yes.
  void SetAnswerYes(bool yes) { m_answerYes = yes; }

  void Error(ETextOutError code) override;
  void ErrorDetail(ETextOutError code, const std::string& detail) override;
  EAnswer Ask(EAskKind kind, EQuestion code, int reserved) override;
  void Output(const std::string& text) override;

  // Prints a message of the tool's own (a failure no error code describes).
  void Message(const std::string& text);

  // How many messages have been printed; a command that fails without one prints its own.
  int MessageCount() const { return m_messages; }

private:
  std::FILE* m_stream;
  bool m_answerYes = false;
  int m_messages = 0;
};

// The message of an error code as the user reads it: TEXTOUT_ERR_NO_ANSWER's "%s" filled with the target model's name.
std::string ErrorMessageText(ETextOutError code);
