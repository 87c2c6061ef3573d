#pragma once
// Whole files as bytes, for the tests that look at what was saved.

#include <filesystem>
#include <string>

// The file's bytes; empty when it cannot be read.
std::string ReadAll(const std::filesystem::path& path);
// Replaces the file with bytes.
void WriteAll(const std::filesystem::path& path, const std::string& bytes);
