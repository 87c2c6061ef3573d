#pragma once
// The message-box output: errors and questions of the lower layers shown to the user at once.

#include <QString>

#include "textout/textout.h"

class CTextOutBox : public CZelTextOut {
public:
  // A warning box with OK and the code's text (the unit that does not answer with the target model's
  // name); a value that is no error code shows "Undefined error.".
  void Error(ETextOutError code) override;
  // The code's text, an empty line, then the detail.
  void ErrorDetail(ETextOutError code, const std::string& detail) override;
  // A question box with the kind's buttons and the question's text (empty for a code without one); a
  // box closed any other way than with OK, Yes or No answers Cancel.
  EAnswer Ask(EAskKind kind, EQuestion code, int reserved) override;

  // The text of an error code as the user reads it.
  static QString ErrorText(ETextOutError code);
};
