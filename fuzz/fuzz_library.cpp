// Library file load under both target models, the conversion question answered Yes and No. A file that
// loads holds only 7-bit patch values and must save and load back to the same bytes; a file that fails
// must leave an error code.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz/fuzzcheck.h"
#include "model/appstate.h"
#include "model/filedocument.h"
#include "textout/textout.h"

namespace {

class CAnswering : public CZelTextOut {
public:
  EAnswer Ask(EAskKind, EQuestion, int) override {
    ++asked;
    return answer;
  }
  EAnswer answer = ANSWER_NO;
  int asked = 0;
};

std::string SaveToString(QZML::CFileDocument& doc) {
  std::ostringstream out(std::ios::binary);
  QZ_FUZZ_CHECK(doc.Save(out));
  return out.str();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CAnswering box;
  static CZelTextOutBuffer errors;
  QZML::CAppState& state = QZML::CAppState::Instance();
  state.SetMessageBoxOutput(&box);
  state.SetErrorOutput(&errors);

  const std::string file(reinterpret_cast<const char*>(data), size);
  for (QZML::EModel model : {QZML::MODEL_QZMAX, QZML::MODEL_QZ5}) {
    for (EAnswer answer : {ANSWER_YES, ANSWER_NO}) {
      state.SetTargetModelQuiet(model);
      box.answer = answer;
      box.asked = 0;
      errors.m_pendingError = TEXTOUT_ERR_NONE;

      QZML::CFileDocument doc;
      std::istringstream in(file, std::ios::binary);
      bool converted = false;
      const bool loaded = doc.Load(in, converted);
      QZ_FUZZ_CHECK(box.asked <= 1);
      if (!loaded) {
        QZ_FUZZ_CHECK(errors.m_pendingError == TEXTOUT_ERR_FILE_TYPE || errors.m_pendingError == TEXTOUT_ERR_LOAD);
        QZ_FUZZ_CHECK(!converted);
        continue;
      }
      QZ_FUZZ_CHECK(errors.m_pendingError == TEXTOUT_ERR_NONE);
      QZ_FUZZ_CHECK(!converted || (answer == ANSWER_YES && box.asked == 1));
      for (std::size_t i = 0; i < doc.m_current.m_patches.size(); ++i)
        QZ_FUZZ_CHECK(doc.m_current.m_patches[i]->GetName().size() == 16);
      QZ_FUZZ_CHECK(HoldsOnlyUnitValues(doc.m_current.m_patches));

      // What was loaded is saved under the model it holds: the target's, which loads again without a
      // question, or the file's own when the conversion was declined, which asks again and is declined again.
      const std::string saved = SaveToString(doc);
      QZML::CFileDocument again;
      std::istringstream back(saved, std::ios::binary);
      box.asked = 0;
      QZ_FUZZ_CHECK(again.Load(back, converted));
      QZ_FUZZ_CHECK(!converted && box.asked == (doc.m_current.Model() == model ? 0 : 1));
      QZ_FUZZ_CHECK(again.m_current.m_patches.size() == doc.m_current.m_patches.size());
      QZ_FUZZ_CHECK(SaveToString(again) == saved);
    }
  }
  state.SetMessageBoxOutput(nullptr);
  state.SetErrorOutput(nullptr);
  return 0;
}
