#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

#include "testfiles.h"
#include "model/savefile.h"
#include "textout/textout.h"

namespace fs = std::filesystem;
using namespace QZML;

namespace {

class AtomicSave : public ::testing::Test {
protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("qz-save-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    target = folder / "library.qzl";
    WriteAll(target, "previous contents");
  }
  void TearDown() override { fs::remove_all(folder); }
  // Only the target remains: no temporary file is left behind.
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  fs::path folder, target;
  CZelTextOutBuffer errors;
};

TEST_F(AtomicSave, ReplacesTheFileWhenAllIsWritten) {
  ::chmod(target.c_str(), 0640);
  EXPECT_TRUE(SaveFileAtomically(target.string(), [](std::ostream& out) {
    out << std::string(200000, 'n');
    return true;
  }, &errors));
  EXPECT_EQ(ReadAll(target), std::string(200000, 'n'));
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(FilesInFolder(), 1u);
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_NONE);

  // Through a link, the file it points at is replaced and the link stays.
  fs::path link = folder / "link.qzl";
  fs::create_symlink(target, link);
  EXPECT_TRUE(SaveFileAtomically(link.string(), [](std::ostream& out) { return static_cast<bool>(out << "via"); }));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadAll(target), "via");
}

TEST_F(AtomicSave, AReadOnlyFileInAWritableFolderIsNeverReplaced) {
  // Holds for root as well: a file without any write permission counts as protected.
  ::chmod(target.c_str(), 0444);
  bool called = false;
  EXPECT_FALSE(SaveFileAtomically(target.string(), [&](std::ostream& out) {
    called = true;
    return static_cast<bool>(out << "new");
  }, &errors));
  EXPECT_FALSE(called);
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_SAVE);
  EXPECT_EQ(ReadAll(target), "previous contents");
  EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(AtomicSave, TheTemporaryFileLivesInTheTargetsOwnFolder) {
  // A sibling folder and the parent see nothing while the save runs; the target's folder sees one more file.
  const fs::path sub = folder / "sub";
  fs::create_directories(sub);
  const fs::path inner = sub / "inner.qzl";
  std::size_t inSub = 0, inParent = 0;
  EXPECT_TRUE(SaveFileAtomically(inner.string(), [&](std::ostream& out) {
    inSub = static_cast<std::size_t>(std::distance(fs::directory_iterator(sub), fs::directory_iterator()));
    inParent = FilesInFolder();
    return static_cast<bool>(out << "data");
  }));
  EXPECT_EQ(inSub, 1u);
  EXPECT_EQ(inParent, 2u); // library.qzl and sub/
  EXPECT_EQ(ReadAll(inner), "data");
}

TEST_F(AtomicSave, FailuresLeaveThePreviousFile) {
  // The writer gives up (it reports its own error).
  EXPECT_FALSE(SaveFileAtomically(target.string(), [](std::ostream& out) {
    out << "half";
    return false;
  }, &errors));
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_NONE);
  // The stream failed although the writer did not notice.
  EXPECT_FALSE(SaveFileAtomically(target.string(), [](std::ostream& out) {
    out.setstate(std::ios::badbit);
    return true;
  }, &errors));
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_SAVE);
  EXPECT_EQ(ReadAll(target), "previous contents");
  EXPECT_EQ(FilesInFolder(), 1u);

  // A folder that does not exist, a folder in the target's place.
  errors.Error(TEXTOUT_ERR_NONE);
  EXPECT_FALSE(SaveFileAtomically((folder / "missing" / "x.qzl").string(), [](std::ostream&) { return true; },
                                  &errors));
  EXPECT_EQ(errors.m_pendingError, TEXTOUT_ERR_SAVE);
  fs::create_directory(folder / "sub");
  EXPECT_FALSE(SaveFileAtomically((folder / "sub").string(), [](std::ostream&) { return true; }));
  EXPECT_TRUE(fs::is_directory(folder / "sub"));
}

} // namespace
