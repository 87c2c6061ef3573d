#pragma once
// The message-box output: errors and questions of the lower layers shown to the user at once.

#include <QString>

#include "textout/textout.h"

class CTextOutBox : public CZelTextOut {
public:
  // A warning box with OK: 1 "This file could not be loaded.", 2 "This file could not be saved.",
  // 3 MIDI devices not set up, 4 the unit does not answer (with the target model's name),
  // 5 "Cannot read files of this type.", anything else "Undefined error.".
  void Error(int code) override;
  // The code's text, an empty line, then the detail.
  void ErrorDetail(int code, const std::string& detail) override;
  // kind: 0 OK, 1 OK/Cancel, 2 Yes/No, 3 Yes/No/Cancel; code 12 or 13 the conversion questions, any
  // other an empty question. Answers OK 0, Cancel 1, Yes 2, No 3, anything else 1.
  int Ask(int kind, int code, int reserved) override;

  // The text of an error code as the user reads it.
  static QString ErrorText(int code);
};
