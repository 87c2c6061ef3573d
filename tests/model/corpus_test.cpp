#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "fakes.h"
#include "model/filedocument.h"
#include "testfiles.h"

// The library files in tests/corpus/qzl are frozen: every valid one must load and save back to the very same
// bytes, every invalid one must fail with its code. They also seed the file loader's fuzzing.
// valid_qzmax_3.qzl holds names with "{" "}", memos with spaces and punctuation, an edited assign;
// valid_qz5_2.qzl is its first two patches converted; the invalid ones are it cut or with one field broken.

namespace fs = std::filesystem;
using namespace QZML;

namespace {

const fs::path kFolder = fs::path(QZ_CORPUS_DIR) / "qzl";

const std::map<std::string, ETextOutError> kInvalid = {
    {"invalid_short_header.qzl", TEXTOUT_ERR_FILE_TYPE}, {"invalid_signature.qzl", TEXTOUT_ERR_FILE_TYPE},
    {"invalid_zero_length.qzl", TEXTOUT_ERR_FILE_TYPE},  {"invalid_count_too_large.qzl", TEXTOUT_ERR_FILE_TYPE},
    {"invalid_huge_length.qzl", TEXTOUT_ERR_LOAD},       {"invalid_truncated_body.qzl", TEXTOUT_ERR_LOAD},
};

TEST(LibraryCorpus, ValidFilesRoundTripAndInvalidFilesFail) {
  qztest::CAppStateGuard guard;
  std::size_t valid = 0, invalid = 0;
  for (const auto& entry : fs::directory_iterator(kFolder)) {
    std::string name = entry.path().filename().string();
    std::string bytes = ReadAll(entry.path());
    bool isQz5 = bytes.compare(0, 23, "QZMLibrarianFile0000QZ5") == 0;
    CTargetModelScope model(isQz5 ? MODEL_QZ5 : MODEL_QZMAX);
    CFileDocument doc;
    bool converted = false;
    guard.errors.Error(TEXTOUT_ERR_NONE);
    std::istringstream in(bytes, std::ios::binary);
    bool loaded = doc.Load(in, converted);
    if (name.rfind("valid_", 0) == 0) {
      ++valid;
      EXPECT_TRUE(loaded) << name;
      std::ostringstream out(std::ios::binary);
      EXPECT_TRUE(doc.Save(out));
      EXPECT_EQ(out.str(), bytes) << name;
    } else {
      ++invalid;
      ASSERT_EQ(kInvalid.count(name), 1u) << name;
      EXPECT_FALSE(loaded) << name;
      EXPECT_EQ(guard.errors.m_pendingError, kInvalid.at(name)) << name;
    }
  }
  EXPECT_GE(valid, 3u);
  EXPECT_EQ(invalid, kInvalid.size());
  EXPECT_TRUE(guard.messageBox.asked.empty());
}

} // namespace
