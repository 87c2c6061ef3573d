// Saving a library and exporting a Standard MIDI File onto a full disk or into a read-only folder: the
// previous file stays as it was, no temporary file is left, and the failure reaches the user as
// "This file could not be saved.".

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "midi/patchstream.h"
#include "model/filedocument.h"
#include "model/savefile.h"
#include "testfiles.h"
#include "textout/textout.h"

namespace fs = std::filesystem;
using namespace QZML;

namespace {

// Every write past 50,000 bytes fails as on a full disk (and raises no signal).
class CFullDisk {
public:
  CFullDisk() {
    m_handler = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &m_saved);
    rlimit limited = m_saved;
    limited.rlim_cur = 50000;
    m_ok = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
  }
  ~CFullDisk() {
    ::setrlimit(RLIMIT_FSIZE, &m_saved);
    std::signal(SIGXFSZ, m_handler);
  }
  bool Ok() const { return m_ok; }

private:
  void (*m_handler)(int);
  rlimit m_saved{};
  bool m_ok = false;
};

// The folder loses its write permission. An administrator would write there all the same, so this
// thread also gives up overriding permissions until the scope ends (capabilities are per thread).
class CReadOnlyFolder {
public:
  explicit CReadOnlyFolder(const fs::path& folder) : m_folder(folder) {
    fs::permissions(folder, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    m_header.version = _LINUX_CAPABILITY_VERSION_3;
    m_ok = ::syscall(SYS_capget, &m_header, m_saved) == 0;
    __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
    lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER);
    m_ok = m_ok && ::syscall(SYS_capset, &m_header, lowered) == 0;
  }
  ~CReadOnlyFolder() {
    ::syscall(SYS_capset, &m_header, m_saved);
    fs::permissions(m_folder, fs::perms::owner_write, fs::perm_options::add);
  }
  // Whether a file can in fact not be made in the folder.
  bool Ok() const {
    if (!m_ok)
      return false;
    const fs::path probe = m_folder / "probe";
    const bool made = static_cast<bool>(std::ofstream(probe));
    fs::remove(probe);
    return !made;
  }

private:
  fs::path m_folder;
  __user_cap_header_struct m_header{};
  __user_cap_data_struct m_saved[2]{};
  bool m_ok = false;
};

class SaveFaults : public ::testing::Test {
protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("qz-faults-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (int i = 0; i < 100; ++i) { // over 100 kB as a library, more as a MIDI file
      auto patch = std::make_unique<CPatch>();
      patch->SetName("Row " + std::to_string(i));
      patches.Add(std::move(patch));
      rows.push_back(i);
    }
  }
  void TearDown() override { fs::remove_all(folder); }

  fs::path Previous(const std::string& name) {
    const fs::path path = folder / name;
    std::ofstream(path, std::ios::binary) << "previous contents";
    return path;
  }
  void ExpectUntouched(const fs::path& path) {
    EXPECT_EQ(ReadAll(path), "previous contents");
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
      EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();
  }
  bool Export(const fs::path& path, CZelTextOut* output) {
    return SaveFileAtomically(
        path.string(), [this](std::ostream& file) { return writer.Export(file, AREA_USER, rows, &patches); }, output);
  }

  fs::path folder;
  CPatchArray patches;
  CPatchList rows;
  CWriter writer;
  CZelTextOutBuffer output;
};

TEST_F(SaveFaults, ReadOnlyFolderKeepsBothFilesAndReportsCode2) {
  const fs::path library = Previous("library.qzl");
  const fs::path midi = Previous("patches.mid");
  CFileDocument document;
  document.SetErrorOutput(&output);
  document.m_current.m_patches = patches;
  {
    CReadOnlyFolder readOnly(folder);
    if (!readOnly.Ok())
      GTEST_SKIP() << "this system lets the test write into a read-only folder";
    EXPECT_FALSE(document.SaveFile(library.string()));
    EXPECT_EQ(output.m_pendingError, TEXTOUT_ERR_SAVE);
    output.Error(TEXTOUT_ERR_NONE);
    EXPECT_FALSE(Export(midi, &output));
    EXPECT_EQ(output.m_pendingError, TEXTOUT_ERR_SAVE);
  }
  EXPECT_STREQ(TextOutErrorMessage(output.m_pendingError), "This file could not be saved.");
  ExpectUntouched(library);
  ExpectUntouched(midi);
  // Writable again, both go through.
  EXPECT_TRUE(document.SaveFile(library.string()));
  EXPECT_TRUE(Export(midi, &output));
  EXPECT_GT(fs::file_size(midi), 100000u);
}

// A full disk: the library's save reports code 2 itself; the exporter fails on its stream and says
// nothing itself: the caller reports code 2 (the windows and the command-line tool do), never the core a
// second time.
TEST_F(SaveFaults, FullDiskKeepsBothPreviousFiles) {
  const fs::path library = Previous("library.qzl");
  const fs::path midi = Previous("patches.mid");
  CFileDocument document;
  document.SetErrorOutput(&output);
  document.m_current.m_patches = patches;
  CZelTextOutBuffer exportOutput;
  bool savedLibrary = true, exported = true;
  {
    CFullDisk full;
    ASSERT_TRUE(full.Ok());
    savedLibrary = document.SaveFile(library.string());
    exported = Export(midi, &exportOutput);
  }
  EXPECT_FALSE(savedLibrary);
  EXPECT_EQ(output.m_pendingError, TEXTOUT_ERR_SAVE);
  EXPECT_FALSE(exported);
  EXPECT_EQ(exportOutput.m_pendingError, TEXTOUT_ERR_NONE);
  ExpectUntouched(library);
  ExpectUntouched(midi);

  // Room again: what is written is whole; the library loads back, the MIDI file holds the writer's bytes.
  ASSERT_TRUE(document.SaveFile(library.string()));
  CFileDocument loaded;
  bool converted = false;
  ASSERT_TRUE(loaded.LoadFile(library.string(), converted));
  EXPECT_EQ(loaded.m_current.m_patches.size(), 100u);
  ASSERT_TRUE(Export(midi, &exportOutput));
  const CByteArray& built = writer.GetOutputBuffer();
  EXPECT_EQ(ReadAll(midi), std::string(built.begin(), built.end()));
}

} // namespace
