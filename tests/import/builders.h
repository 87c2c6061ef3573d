#pragma once
// Builders of ZK-40 librarian files and QZ-3 bulk dumps for the tests and for tests/corpus.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testimport {

using Bytes = std::vector<std::uint8_t>;

// ---- ZK-40 librarian files
struct ZklRecord {
  std::array<std::uint8_t, 399> image{};
  std::string memos[4];
};
ZklRecord ZklPatch(const std::string& name);
Bytes ZklBody(const ZklRecord& record); // 21 blocks as length and bytes, then the memos
Bytes ZklHeader(std::uint32_t count);
// Header with the given count, then each body with its 4-byte length.
Bytes ZklFile(std::uint32_t count, const std::vector<Bytes>& bodies);
Bytes ZklFile(const std::vector<ZklRecord>& records);
void PutBE32(Bytes& out, std::uint32_t value);

// ---- QZ-3 bulk dumps (Standard MIDI Files)
std::uint32_t Qz3Address(int patch, int row, int offset);
// F0 41 device 00 46 12 address data checksum F7.
Bytes Qz3DataSet(std::uint32_t address, const Bytes& data, std::uint8_t device = 0x10);
// One row of a patch with the given values; missing values are 0.
Bytes Qz3Row(int patch, int row, const Bytes& values);
// A track event: delta time 0, then the exclusive event F0 <length> <bytes after F0>.
Bytes SysexEvent(const Bytes& message);
Bytes Vlq(std::uint32_t value);
// MTrk chunk of the given event bytes (each event carries its own delta time), closed by end of track.
Bytes Track(const std::vector<Bytes>& events, bool endOfTrack = true);
Bytes SmfHeader(int tracks);
// A one-track file of exclusive events.
Bytes Qz3File(const std::vector<Bytes>& messages);
Bytes Concat(std::initializer_list<Bytes> parts);

// ---- the corpus: name (relative to tests/corpus) and contents
std::vector<std::pair<std::string, Bytes>> CorpusFiles();

} // namespace testimport
