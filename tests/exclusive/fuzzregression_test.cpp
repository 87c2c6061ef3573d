#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exclusive/orvanemessage.h"

// Inputs that once broke a fuzz target stay in tests/corpus/regression/<target>/ and must keep holding.

using QZML::CByteArray;
namespace fs = std::filesystem;

namespace {

std::vector<std::pair<std::string, CByteArray>> RegressionInputs(const char* target) {
  std::vector<std::pair<std::string, CByteArray>> inputs;
  const fs::path dir = fs::path(QZ_CORPUS_DIR) / "regression" / target;
  if (!fs::is_directory(dir))
    return inputs;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    inputs.emplace_back(entry.path().filename().string(),
                        CByteArray(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  return inputs;
}

// Whatever a parse takes, its six fields reach from byte 2 to the byte before the last.
TEST(FuzzRegression, ParsedFieldsCoverTheWholeMessage) {
  const auto inputs = RegressionInputs("fuzz_message_parse");
  EXPECT_FALSE(inputs.empty());
  for (const auto& [name, bytes] : inputs) {
    for (int width = -1; width <= 5; ++width) {
      CZelOrvaneMessage m;
      if (!m.Parse(bytes, width))
        continue;
      std::int32_t next = 2;
      for (int i = 0; i < ORVANE_FIELD_COUNT; ++i) {
        EXPECT_EQ(m.GetFieldDescriptor(i).offset, next) << name << " width " << width << " field " << i;
        next += m.GetFieldDescriptor(i).length;
      }
      EXPECT_EQ(next + 1, static_cast<std::int32_t>(bytes.size())) << name << " width " << width;
    }
  }
}

} // namespace
