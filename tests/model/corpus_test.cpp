#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "fakes.h"
#include "model/convert.h"
#include "model/filedocument.h"

// The library files in tests/corpus/qzl are frozen: every valid one must load and save back to the very same
// bytes, every invalid one must fail with its code. They also seed the file loader's fuzzing.
// DISABLED_WriteLibraryCorpus wrote them once (run it with --gtest_also_run_disabled_tests to add files).

namespace fs = std::filesystem;
using namespace QZML;

namespace {

const fs::path kFolder = fs::path(QZ_CORPUS_DIR) / "qzl";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const std::map<std::string, int> kInvalid = {
    {"invalid_short_header.qzl", TEXTOUT_ERR_FILE_TYPE},  {"invalid_signature.qzl", TEXTOUT_ERR_FILE_TYPE},
    {"invalid_zero_length.qzl", TEXTOUT_ERR_FILE_TYPE},   {"invalid_count_too_large.qzl", TEXTOUT_ERR_FILE_TYPE},
    {"invalid_huge_length.qzl", TEXTOUT_ERR_LOAD},        {"invalid_truncated_body.qzl", TEXTOUT_ERR_LOAD},
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
    guard.errors.Error(0);
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

void Write(const std::string& name, const std::string& bytes) {
  std::ofstream out(kFolder / name, std::ios::binary);
  out << bytes;
}

std::string Save(CFileDocument& doc) {
  std::ostringstream out(std::ios::binary);
  doc.Save(out);
  return out.str();
}

TEST(LibraryCorpus, DISABLED_WriteLibraryCorpus) {
  fs::create_directories(kFolder);
  CTargetModelScope model(MODEL_QZMAX);
  CFileDocument empty;
  Write("valid_empty.qzl", Save(empty));

  CFileDocument doc;
  doc.m_current.m_patches.Resize(3);
  CPatch* a = doc.m_current.m_patches.Get(0);
  a->SetName("Lead {solo}");
  a->Memo1 = "Verse, bridge & solo!";
  a->Memo3 = "  spaced  ";
  a->Image()[kOffsetAssignsQzMax] = 1;
  a->Image()[kOffsetAssignsQzMax + 3] = 30;
  a->Image()[kOffsetAssignsQzMax + 2] = 1;
  doc.m_current.m_patches.Get(1)->SetName("Clean");
  doc.m_current.m_patches.Get(2)->Memo4 = "last";
  std::string qzmax = Save(doc);
  Write("valid_qzmax_3.qzl", qzmax);
  {
    CTargetModelScope qz5(MODEL_QZ5);
    ConvertArray(doc.m_current.m_patches, CONVERT_TO_QZ5);
    doc.m_current.m_patches.RemoveAt(2);
    Write("valid_qz5_2.qzl", Save(doc));
  }

  std::size_t second = 160 + 4 + doc.m_current.m_patches.Get(0)->GetStoredSize();
  auto put32 = [](std::string s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      s[at + static_cast<std::size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
    return s;
  };
  Write("invalid_short_header.qzl", qzmax.substr(0, 100));
  Write("invalid_signature.qzl", "QZMLibrarianFile0000QZX" + qzmax.substr(23));
  Write("invalid_zero_length.qzl", put32(qzmax, second, 0));
  Write("invalid_count_too_large.qzl", put32(qzmax, 32, 4));
  Write("invalid_huge_length.qzl", put32(qzmax, second, 0xFFFFFFF0u));
  Write("invalid_truncated_body.qzl", qzmax.substr(0, second + 500));
}

} // namespace
