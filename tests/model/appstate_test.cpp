#include <gtest/gtest.h>

#include <cstring>

#include "fakes.h"
#include "model/convert.h"

using namespace QZML;
using qztest::CAppStateGuard;

namespace {

class AppState : public ::testing::Test {
protected:
  void SetUp() override {
    State().SetTargetModelQuiet(MODEL_QZMAX);
    CPatchArray& clip = State().GetClipboard().m_patches;
    clip.Resize(2);
    clip.Get(1)->Image()[kOffsetAssignsQzMax + 2] = 1;
    clip.Get(1)->Image()[kOffsetAssignsQzMax + 3] = 30;  // QZ-MAX target 158
  }
  static CAppState& State() { return CAppState::Instance(); }
  const std::uint8_t* Clip(std::size_t i) { return State().GetClipboard().m_patches.Get(i)->Image(); }

  CAppStateGuard guard;
};

TEST_F(AppState, QuietSwitchAsksAndConvertsNothing) {
  std::uint8_t before[kPatchImageSize];
  std::memcpy(before, Clip(1), kPatchImageSize);
  guard.messageBox.answer = ANSWER_YES;
  EXPECT_EQ(State().SetTargetModel(MODEL_QZ5, true), CONVERT_NONE);
  EXPECT_EQ(State().GetTargetModel(), MODEL_QZ5);
  EXPECT_STREQ(State().GetModelName(), "QZ-5");
  EXPECT_EQ(State().GetUserPatchCount(), 140);
  EXPECT_TRUE(guard.messageBox.asked.empty());

  EXPECT_TRUE(guard.modelIds.ids.empty());
  EXPECT_EQ(std::memcmp(before, Clip(1), kPatchImageSize), 0);
}

TEST_F(AppState, NoKeepsTheClipboardButTheModelChanges) {
  std::uint8_t before[kPatchImageSize];
  std::memcpy(before, Clip(1), kPatchImageSize);
  guard.messageBox.answer = ANSWER_NO;
  EXPECT_EQ(State().SetTargetModel(MODEL_QZ5, false), CONVERT_NONE);
  EXPECT_EQ(State().GetTargetModel(), MODEL_QZ5);
  ASSERT_EQ(guard.modelIds.ids.size(), 1u);
  EXPECT_EQ(guard.modelIds.ids[0], (std::vector<int>{0x00, 0x00, 0x06}));
  ASSERT_EQ(guard.messageBox.asked.size(), 1u);
  EXPECT_EQ(guard.messageBox.asked[0].kind, ASK_YES_NO);
  EXPECT_EQ(guard.messageBox.asked[0].code, QUESTION_CONVERT_TO_QZ5);
  EXPECT_EQ(std::memcmp(before, Clip(1), kPatchImageSize), 0);
  // Any answer but Yes (Cancel, a closed box) is No.
  guard.messageBox.answer = ANSWER_CANCEL;
  EXPECT_EQ(State().SetTargetModel(MODEL_QZMAX, false), CONVERT_NONE);
  EXPECT_EQ(guard.modelIds.ids[1], (std::vector<int>{0x00, 0x00, 0x0B}));
  EXPECT_EQ(guard.messageBox.asked[1].code, QUESTION_CONVERT_TO_QZMAX);
}

TEST_F(AppState, YesConvertsTheClipboard) {
  guard.messageBox.answer = ANSWER_YES;
  EXPECT_EQ(State().SetTargetModel(MODEL_QZ5, false), CONVERT_TO_QZ5);
  EXPECT_EQ(Clip(1)[kOffsetAssignsQz5 + 2], 1);
  EXPECT_EQ(Clip(1)[kOffsetAssignsQz5 + 3], 22);  // 150
  EXPECT_EQ(State().SetTargetModel(MODEL_QZMAX, false), CONVERT_TO_QZMAX);
  EXPECT_EQ(Clip(1)[kOffsetAssignsQzMax + 3], 30);
  EXPECT_STREQ(State().GetModelName(), "QZ-MAX");
}

TEST_F(AppState, WithoutAMessageBoxNothingIsConvertedAndOtherValuesAreRefused) {
  State().SetMessageBoxOutput(nullptr);
  EXPECT_EQ(State().SetTargetModel(MODEL_QZ5, false), CONVERT_NONE);
  EXPECT_EQ(State().GetTargetModel(), MODEL_QZ5);
  State().SetMessageBoxOutput(&guard.messageBox);
  guard.messageBox.answer = ANSWER_YES;
  for (int model : {2, -1, 255}) {
    EXPECT_EQ(State().SetTargetModel(static_cast<EModel>(model), false), CONVERT_NONE);
    EXPECT_EQ(State().GetTargetModel(), MODEL_QZ5);
  }
  EXPECT_TRUE(guard.messageBox.asked.empty());

  // The stored numbers of the models, and nothing else, read back as models.
  for (EModel model : {MODEL_QZMAX, MODEL_QZ5})
    EXPECT_EQ(ModelFromNumber(ModelNumber(model)), model);
  EXPECT_EQ(ModelNumber(MODEL_QZMAX), 0);
  EXPECT_EQ(ModelNumber(MODEL_QZ5), 1);
  for (long long number : {2LL, -1LL, 255LL, 0x100000000LL})
    EXPECT_FALSE(ModelFromNumber(number).has_value()) << number;
}

struct CFakeReader : IPatchStream {
  explicit CFakeReader(bool& deleted) : m_deleted(deleted) {}
  ~CFakeReader() override { m_deleted = true; }
  bool& m_deleted;
};
struct COtherStream : IPatchStream {};

TEST_F(AppState, OwnsReaderAndWriter) {
  bool deleted = false;
  State().SetReader(std::make_unique<CFakeReader>(deleted));
  State().SetWriter(std::make_unique<COtherStream>());
  EXPECT_NE(State().GetReader<CFakeReader>(), nullptr);
  EXPECT_EQ(State().GetWriter<CFakeReader>(), nullptr);
  EXPECT_NE(State().GetWriter<COtherStream>(), nullptr);
  State().DeleteReaderWriter();
  EXPECT_TRUE(deleted);
  EXPECT_EQ(State().GetReader<CFakeReader>(), nullptr);
}

} // namespace
