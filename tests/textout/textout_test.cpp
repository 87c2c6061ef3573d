#include <gtest/gtest.h>

#include "textout/textout.h"

namespace {

TEST(TextOut, IndentAppliesAtLineStarts) {
  CZelTextOutBuffer out;
  out.Indent(2);
  out.Write("a\nb");
  EXPECT_EQ(out.m_text, "  a\n  b");
  out.Write("c");
  EXPECT_EQ(out.m_text, "  a\n  bc");
  out.Write("\n");
  out.Indent(2);
  out.Write("d");
  EXPECT_EQ(out.m_text, "  a\n  bc\n    d");
  out.Indent(-10);
  EXPECT_EQ(out.GetIndent(), "");
}

TEST(TextOut, PrintfIsBounded) {
  CZelTextOutBuffer out;
  out.Printf("%d-%s", 7, "x");
  EXPECT_EQ(out.m_text, "7-x");
  std::string big(2000, 'q');
  out.Printf("%s", big.c_str());
  EXPECT_EQ(out.m_text.size(), 3u + 511u);
}

TEST(TextOut, BufferKeepsTheLastErrorAndAsksNothing) {
  CZelTextOutBuffer out;
  out.Error(TEXTOUT_ERR_NO_ANSWER);
  out.Error(TEXTOUT_ERR_LOAD);
  EXPECT_EQ(out.m_pendingError, TEXTOUT_ERR_LOAD);
  out.Error(TEXTOUT_ERR_NONE);
  EXPECT_EQ(out.m_pendingError, TEXTOUT_ERR_NONE);
  EXPECT_EQ(out.Ask(ASK_YES_NO, QUESTION_CONVERT_TO_QZ5, 0), ANSWER_OK);
  EXPECT_STREQ(TextOutErrorMessage(static_cast<ETextOutError>(99)), "Undefined error.");
  EXPECT_STREQ(TextOutErrorMessage(TEXTOUT_ERR_FILE_TYPE), "Cannot read files of this type.");
  EXPECT_STREQ(TextOutQuestionMessage(QUESTION_CONVERT_TO_QZ5),
               "Are you sure you want to convert this QZ-MAX data to QZ-5 data?");
  EXPECT_STREQ(TextOutQuestionMessage(QUESTION_CONVERT_TO_QZMAX),
               "Are you sure you want to convert this QZ-5 data to QZ-MAX data?");
  EXPECT_STREQ(TextOutQuestionMessage(static_cast<EQuestion>(3)), "");
}

} // namespace
