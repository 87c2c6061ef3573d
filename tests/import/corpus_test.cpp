#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "import/qz3importer.h"
#include "import/zklimporter.h"
#include "tests/import/builders.h"

using namespace QZML;
using namespace testimport;
namespace fs = std::filesystem;

namespace {

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The committed corpus is what the builders make; QZ_WRITE_CORPUS=1 writes it anew.
TEST(ImportCorpus, FilesAreWhatTheBuildersMake) {
  const bool write = std::getenv("QZ_WRITE_CORPUS") != nullptr;
  for (const auto& [name, bytes] : CorpusFiles()) {
    fs::path path = fs::path(QZ_CORPUS_DIR) / name;
    if (write) {
      fs::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    EXPECT_EQ(ReadFile(path), bytes) << name;
  }
}

// Every valid file imports, every invalid one fails, and each needs only its own importer.
TEST(ImportCorpus, ValidImportInvalidFail) {
  int seen = 0;
  for (const char* kind : {"zkl", "qz3"}) {
    for (const char* validity : {"valid", "invalid"}) {
      fs::path dir = fs::path(QZ_CORPUS_DIR) / kind / validity;
      ASSERT_TRUE(fs::is_directory(dir)) << dir;
      for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string path = entry.path().string();
        bool expected = std::string(validity) == "valid";
        CZKLImporter zkl;
        CQZ3Importer qz3;
        bool asZkl = zkl.Import(path);
        bool asQz3 = qz3.Import(path);
        EXPECT_EQ(std::string(kind) == "zkl" ? asZkl : asQz3, expected) << path;
        EXPECT_FALSE(std::string(kind) == "zkl" ? asQz3 : asZkl) << path;
        ++seen;
      }
    }
  }
  EXPECT_EQ(seen, static_cast<int>(CorpusFiles().size()));
}

TEST(ImportCorpus, ValidFilesGiveTheirPatches) {
  CZKLImporter zkl;
  ASSERT_TRUE(zkl.Import(std::string(QZ_CORPUS_DIR) + "/zkl/valid/three-patches.zkl"));
  ASSERT_EQ(zkl.GetPatches().size(), 3u);
  EXPECT_EQ(zkl.GetPatches()[0]->GetName(), "Lead Tone       ");
  EXPECT_EQ(zkl.GetPatches()[0]->Memo1, "first memo");
  EXPECT_EQ(zkl.GetPatches()[2]->GetName(), "Out Of Range    ");

  CQZ3Importer qz3;
  ASSERT_TRUE(qz3.Import(std::string(QZ_CORPUS_DIR) + "/qz3/valid/two-patches.mid"));
  ASSERT_EQ(qz3.GetPatches().size(), 2u);
  EXPECT_EQ(qz3.GetPatches()[0]->GetName(), "Bright}        ~");
  EXPECT_EQ(qz3.GetPatches()[1]->GetName().substr(0, 3), "Two");
  ASSERT_TRUE(qz3.Import(std::string(QZ_CORPUS_DIR) + "/qz3/valid/mixed-events.mid"));
  EXPECT_EQ(qz3.GetPatches().size(), 1u);
  ASSERT_TRUE(qz3.Import(std::string(QZ_CORPUS_DIR) + "/qz3/valid/truncated-tail.mid"));
  EXPECT_EQ(qz3.GetPatches().size(), 1u);
}

} // namespace
