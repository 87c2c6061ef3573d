#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <streambuf>
#include <string>

#include "fakes.h"
#include "model/convert.h"
#include "model/filedocument.h"

using namespace QZML;
using qztest::CAppStateGuard;

namespace {

void AddPatch(CFileDocument& doc, const std::string& name, const std::string& memo1 = "",
              const std::string& memo4 = "") {
  auto patch = std::make_unique<CPatch>();
  patch->SetName(name);
  patch->Memo1 = memo1;
  patch->Memo4 = memo4;
  doc.m_current.m_patches.Add(std::move(patch));
}

std::string SaveToString(CFileDocument& doc) {
  std::ostringstream out(std::ios::binary);
  EXPECT_TRUE(doc.Save(out));
  return out.str();
}

bool LoadFromString(CFileDocument& doc, const std::string& bytes, bool& converted) {
  std::istringstream in(bytes, std::ios::binary);
  return doc.Load(in, converted);
}

void PutBE32(std::string& s, std::size_t at, std::uint32_t v) {
  s[at] = static_cast<char>(v >> 24);
  s[at + 1] = static_cast<char>(v >> 16);
  s[at + 2] = static_cast<char>(v >> 8);
  s[at + 3] = static_cast<char>(v);
}

// A byte sink that refuses everything after its first `capacity` bytes.
class CFullStreamBuf : public std::streambuf {
public:
  explicit CFullStreamBuf(std::size_t capacity) : m_left(capacity) {}

protected:
  int_type overflow(int_type ch) override {
    if (traits_type::eq_int_type(ch, traits_type::eof()) || m_left == 0)
      return traits_type::eof();
    --m_left;
    return ch;
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    std::streamsize taken = n < static_cast<std::streamsize>(m_left) ? n : static_cast<std::streamsize>(m_left);
    m_left -= static_cast<std::size_t>(taken);
    return taken;
  }

private:
  std::size_t m_left;
};

class LibraryFile : public ::testing::Test {
protected:
  CAppStateGuard guard;
  CTargetModelScope model{MODEL_QZMAX};
};

TEST_F(LibraryFile, RoundTripIsByteForByte) {
  CFileDocument doc;
  AddPatch(doc, "Lead {x}", "Verse, bridge & solo! (v2)", "  two  spaces ");
  AddPatch(doc, "Empty memos");
  AddPatch(doc, "Third", "", "last memo only");
  doc.m_current.m_patches.Get(1)->Image()[300] = 0x5A;
  // The exact bytes of the format are held by the frozen files of the library corpus test.
  std::string file = SaveToString(doc);
  ASSERT_EQ(file.size(), 160 + (4 + 1056 + 26 + 14) + (4 + 1056) + (4 + 1056 + 14));

  CFileDocument loaded;
  AddPatch(loaded, "replaced");
  bool converted = true;
  ASSERT_TRUE(LoadFromString(loaded, file, converted));
  EXPECT_FALSE(converted);
  EXPECT_TRUE(guard.messageBox.asked.empty());
  ASSERT_EQ(loaded.m_current.m_patches.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const CPatch* a = doc.m_current.m_patches.Get(i);
    const CPatch* b = loaded.m_current.m_patches.Get(i);
    EXPECT_EQ(std::memcmp(a->Image(), b->Image(), kPatchImageSize), 0);
    for (int m = 0; m < 4; ++m)
      EXPECT_EQ(a->GetMemo(m), b->GetMemo(m));
  }
  EXPECT_EQ(SaveToString(loaded), file);
  EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_NONE);
}

TEST_F(LibraryFile, OtherModelAsksAndConvertsOnYesOnly) {
  CFileDocument doc;
  AddPatch(doc, "Max patch");
  CPatch* source = doc.m_current.m_patches.Get(0);
  source->Image()[kOffsetAssignsQzMax + 2] = 1;
  source->Image()[kOffsetAssignsQzMax + 3] = 30;  // target 158
  std::string qzMaxFile = SaveToString(doc);

  CTargetModelScope qz5(MODEL_QZ5);
  CFileDocument no;
  bool converted = true;
  guard.messageBox.answer = ANSWER_NO;
  ASSERT_TRUE(LoadFromString(no, qzMaxFile, converted));
  EXPECT_FALSE(converted);
  ASSERT_EQ(guard.messageBox.asked.size(), 1u);
  EXPECT_EQ(guard.messageBox.asked[0].kind, ASK_YES_NO);
  EXPECT_EQ(guard.messageBox.asked[0].code, QUESTION_CONVERT_TO_QZ5);
  EXPECT_EQ(std::memcmp(no.m_current.m_patches.Get(0)->Image(), source->Image(), kPatchImageSize), 0);

  CFileDocument yes;
  guard.messageBox.answer = ANSWER_YES;
  ASSERT_TRUE(LoadFromString(yes, qzMaxFile, converted));
  EXPECT_TRUE(converted);
  std::uint8_t expected[kPatchImageSize];
  ConvertPatchToQZ5(source->Image(), expected);
  EXPECT_EQ(std::memcmp(yes.m_current.m_patches.Get(0)->Image(), expected, kPatchImageSize), 0);
  EXPECT_EQ(yes.m_current.m_patches.Get(0)->Image()[kOffsetAssignsQz5 + 3], 22);  // 150

  // A QZ-5 file opened as QZ-MAX asks question 12.
  std::string qz5File = SaveToString(yes);
  CTargetModelScope max(MODEL_QZMAX);
  CFileDocument back;
  ASSERT_TRUE(LoadFromString(back, qz5File, converted));
  EXPECT_TRUE(converted);
  EXPECT_EQ(guard.messageBox.asked.back().code, QUESTION_CONVERT_TO_QZMAX);
}

TEST_F(LibraryFile, TruncatedFilesFailWithTheirCode) {
  CFileDocument doc;
  AddPatch(doc, "one", "memo");
  AddPatch(doc, "two");
  std::string file = SaveToString(doc);
  std::size_t firstEnd = 160 + 4 + 1056 + 4;
  struct {
    std::size_t size;
    ETextOutError code;
    std::size_t kept;
  } cases[] = {
      {0, TEXTOUT_ERR_FILE_TYPE, 9},          // not even a header: nothing changes
      {100, TEXTOUT_ERR_FILE_TYPE, 9},
      {159, TEXTOUT_ERR_FILE_TYPE, 9},
      {160, TEXTOUT_ERR_FILE_TYPE, 0},        // no record length
      {162, TEXTOUT_ERR_FILE_TYPE, 0},        // inside a record length
      {164, TEXTOUT_ERR_LOAD, 0},             // no body
      {700, TEXTOUT_ERR_LOAD, 0},             // inside a body
      {firstEnd - 1, TEXTOUT_ERR_LOAD, 0},    // one byte short
      {firstEnd, TEXTOUT_ERR_FILE_TYPE, 1},   // count says more records than there are
      {firstEnd + 3, TEXTOUT_ERR_FILE_TYPE, 1},
      {firstEnd + 4, TEXTOUT_ERR_LOAD, 1},
      {file.size() - 1, TEXTOUT_ERR_LOAD, 1},
  };
  for (const auto& c : cases) {
    CFileDocument loaded;
    loaded.m_current.m_patches.Resize(9);
    guard.errors.Error(TEXTOUT_ERR_NONE);
    bool converted = false;
    EXPECT_FALSE(LoadFromString(loaded, file.substr(0, c.size), converted)) << c.size;
    EXPECT_EQ(guard.errors.m_pendingError, c.code) << c.size;
    EXPECT_EQ(loaded.m_current.m_patches.size(), c.kept) << c.size;
  }
  // The patch read before the failure is whole.
  CFileDocument loaded;
  bool converted = false;
  EXPECT_FALSE(LoadFromString(loaded, file.substr(0, firstEnd + 10), converted));
  EXPECT_EQ(loaded.m_current.m_patches.Get(0)->GetName(), "one             ");
  EXPECT_EQ(loaded.m_current.m_patches.Get(0)->Memo1, "memo");
}

TEST_F(LibraryFile, BadLengthsAndSignatures) {
  CFileDocument doc;
  AddPatch(doc, "one");
  AddPatch(doc, "two");
  std::string file = SaveToString(doc);
  std::size_t second = 160 + 1060;
  bool converted = false;

  // A record length of zero.
  std::string zero = file;
  PutBE32(zero, second, 0);
  CFileDocument a;
  EXPECT_FALSE(LoadFromString(a, zero, converted));
  EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_FILE_TYPE);
  EXPECT_EQ(a.m_current.m_patches.size(), 1u);

  // A record length near 4 GiB in a small file: fails as a short body without taking that much memory.
  for (std::uint32_t huge : {0xFFFFFFFFu, 0x7FFFFFF0u, 1060u + 1u}) {
    std::string big = file;
    PutBE32(big, second, huge);
    CFileDocument b;
    guard.errors.Error(TEXTOUT_ERR_NONE);
    EXPECT_FALSE(LoadFromString(b, big, converted));
    EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_LOAD);
    EXPECT_EQ(b.m_current.m_patches.size(), 1u);
  }

  // A huge count with no records fails at the first missing length, promptly.
  std::string count = file.substr(0, 160);
  PutBE32(count, 32, 0xFFFFFFFFu);
  CFileDocument c;
  EXPECT_FALSE(LoadFromString(c, count, converted));
  EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_FILE_TYPE);

  // Block lengths inside a short record never reach into the next record.
  std::string shortRecord = file;
  PutBE32(shortRecord, 160, 8);                   // record one: 8 bytes
  PutBE32(shortRecord, 164, 0x00001000);          // whose first block claims 4096
  shortRecord.erase(172, 1060 - 12);              // the body is those 8 bytes only
  CFileDocument d;
  guard.errors.Error(TEXTOUT_ERR_NONE);
  EXPECT_TRUE(LoadFromString(d, shortRecord, converted));
  ASSERT_EQ(d.m_current.m_patches.size(), 2u);
  EXPECT_EQ(d.m_current.m_patches.Get(0)->GetName(), "INIT PATCH      ");
  EXPECT_EQ(d.m_current.m_patches.Get(1)->GetName(), "two             ");

  // Anything but the two signatures, even one character off, is not read and changes nothing.
  for (std::size_t at : {std::size_t(0), std::size_t(22), std::size_t(31)}) {
    std::string other = file;
    other[at] = 'x';
    CFileDocument e;
    AddPatch(e, "kept");
    guard.errors.Error(TEXTOUT_ERR_NONE);
    EXPECT_FALSE(LoadFromString(e, other, converted));
    EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_FILE_TYPE);
    EXPECT_EQ(e.m_current.m_patches.size(), 1u);
  }
  EXPECT_TRUE(guard.messageBox.asked.empty());
}

// A damaged file's bytes above 0x7F are no values of the unit: they keep the default, the rest is read.
TEST_F(LibraryFile, BytesAboveSevenBitsKeepTheDefault) {
  CFileDocument doc;
  AddPatch(doc, "Clean");
  std::string file = SaveToString(doc);
  // Record length at 160, the first block's length at 164, its bytes from 168.
  file[168] = static_cast<char>(0xFF);
  file[169] = 0x05;
  file[170] = static_cast<char>(0x80);
  CFileDocument loaded;
  bool converted = false;
  ASSERT_TRUE(LoadFromString(loaded, file, converted));
  const std::uint8_t* image = loaded.m_current.m_patches.Get(0)->Image();
  EXPECT_EQ(image[0], CPatch::DefaultImage()[0]);
  EXPECT_EQ(image[1], 0x05);
  EXPECT_EQ(image[2], CPatch::DefaultImage()[2]);
  EXPECT_EQ(loaded.m_current.m_patches.Get(0)->GetName(), "Clean           ");
}

TEST_F(LibraryFile, WriteFailuresReportCode2) {
  CFileDocument doc;
  AddPatch(doc, "one");
  AddPatch(doc, "two");
  for (std::size_t capacity : {0u, 100u, 160u, 162u, 1000u, 1223u, 2279u}) {
    CFullStreamBuf full(capacity);
    std::ostream out(&full);
    guard.errors.Error(TEXTOUT_ERR_NONE);
    EXPECT_FALSE(doc.Save(out)) << capacity;
    EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_SAVE) << capacity;
  }
  CFullStreamBuf roomy(2280);
  std::ostream out(&roomy);
  EXPECT_TRUE(doc.Save(out));
}

TEST_F(LibraryFile, ErrorsGoToTheDocumentsOwnOutputWhenSet) {
  CZelTextOutBuffer own;
  CFileDocument doc;
  doc.SetErrorOutput(&own);
  bool converted = false;
  EXPECT_FALSE(LoadFromString(doc, "short", converted));
  EXPECT_EQ(own.m_pendingError, TEXTOUT_ERR_FILE_TYPE);
  EXPECT_EQ(guard.errors.m_pendingError, TEXTOUT_ERR_NONE);
  EXPECT_FALSE(doc.LoadFile("/nonexistent/folder/x.qzl", converted));
  EXPECT_EQ(own.m_pendingError, TEXTOUT_ERR_LOAD);
}

} // namespace
