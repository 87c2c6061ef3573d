// Patches to and from Standard MIDI Files through the device writer's Export and the reader's Import.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "exclusive/smfbuffer.h"
#include "midi/patchstream.h"
#include "midi/zelmidiout.h"
#include "model/parameteraddress.h"
#include "model/savefile.h"
#include "transfertestsupport.h"

using QZML::AREA_TEMPORARY;
using QZML::AREA_USER;
using QZML::CByteArray;
using QZML::CParameterAddress;
using QZML::CPatchArray;

namespace {

// The file side needs no MIDI set-up: an unbound logical output supplies the addressing.
struct CFileStreams {
  explicit CFileStreams(int model, std::uint8_t deviceId = 0x10) : scope(model), reader(nullptr, nullptr) {
    port.m_deviceId = deviceId;
    const unsigned char* id = QZML::ModelId(model);
    port.m_modelId.assign(id, id + 3);
    reader.SetPort(&port);
    writer.SetPort(&port);
  }
  CByteArray Export(const QZML::CPatchList& numbers, CPatchArray& source) {
    std::ostringstream file(std::ios::binary);
    EXPECT_TRUE(writer.Export(file, AREA_USER, numbers, &source));
    const std::string text = file.str();
    return CByteArray(text.begin(), text.end());
  }
  bool Import(const CByteArray& bytes, CPatchArray& destination) {
    std::istringstream file(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    return reader.Import(file, {0}, &destination);
  }

  QZML::CTargetModelScope scope;
  CZelMidiOut port;
  CReader reader;
  QZML::CWriter writer;
};

// The exclusive events of a file with their delta times.
struct CEvents : CZelSmfBufferRead {
  void OnHeader(const CHeaderChunk& header) override {
    format = header.GetFormat();
    division = header.GetDivision();
  }
  void OnExclusiveEvent(std::uint32_t delta, const CZelLongMessage& message) override {
    deltas.push_back(delta);
    messages.push_back(message.GetBytes());
  }
  int format = -1;
  int division = -1;
  std::vector<std::uint32_t> deltas;
  std::vector<CByteArray> messages;
};

CPatchArray Rows(std::size_t count) {
  CPatchArray patches;
  patches.Resize(count);
  return patches;
}

bool WrittenAndSame(const QZML::CPatch& a, const QZML::CPatch& b) {
  std::string where;
  const bool same = SameBlocks(a, b, CParameterAddress::IsWritten, &where);
  EXPECT_TRUE(same) << where;
  return same;
}

CZelAddressing Addressing(std::uint8_t deviceId, CByteArray modelId = {0x00, 0x00, 0x0B}) {
  CZelAddressing port;
  port.deviceId = deviceId;
  port.modelId = std::move(modelId);
  return port;
}

std::uint32_t NameAddress(int area, int patch) { return CParameterAddress().GetBlockAddress(area, patch, QZML::BLOCK_NAME); }

CByteArray Name(const char* text) { return CByteArray(text, text + 16); }

} // namespace

TEST(SmfStream, ExportOfOnePatchImportsAtTheSameNumber) {
  CFileStreams streams(QZML::MODEL_QZMAX);
  CPatchArray main = Rows(200);
  FillPatch(*main.Get(3), 3, "{Lead} }x{");
  const CByteArray file = streams.Export({3}, main);

  // Format 0, one track, 96 ticks per quarter note, no tempo; it ends with the end of the track.
  ASSERT_GE(file.size(), 22u);
  EXPECT_EQ(CByteArray(file.end() - 4, file.end()), (CByteArray{0x00, 0xFF, 0x2F, 0x00}));
  CEvents events;
  events.SetSource(file);
  ASSERT_TRUE(events.Read());
  EXPECT_EQ(events.format, 0);
  EXPECT_EQ(events.GetTrackCount(), 1);
  EXPECT_EQ(events.division, 96);
  ASSERT_EQ(events.messages.size(), 35u);
  EXPECT_EQ(events.deltas[0], 12u); // "PATCH FX1": 143 bytes
  EXPECT_EQ(events.messages[0].size(), 143u);
  EXPECT_EQ(events.deltas[8], 17u); // "PATCH FX2"
  EXPECT_EQ(file[22], 0x0C);
  EXPECT_EQ(file[23], 0xF0);
  EXPECT_EQ(streams.writer.GetOutputBuffer(), file);

  CPatchArray empty = Rows(200);
  const QZML::CPatch fresh = *empty.Get(0);
  ASSERT_TRUE(streams.Import(file, empty));
  WrittenAndSame(*empty.Get(3), *main.Get(3));
  EXPECT_EQ(empty.Get(3)->GetName(), "{Lead} }x{      ");
  for (int row : {0, 2, 4, 199})
    EXPECT_TRUE(std::equal(fresh.Image(), fresh.Image() + 880, empty.Get(row)->Image()));
  EXPECT_EQ(streams.reader.GetFileBuffer(), file);
}

TEST(SmfStream, DeltaTimesFollowTheMessageLength) {
  // Data bytes -> ticks: a data set is 13 bytes longer than its data.
  const std::pair<std::size_t, std::uint32_t> table[] = {{1, 5}, {7, 5}, {8, 6}, {26, 6}, {40, 7}, {130, 12}, {220, 17}};
  for (const auto& entry : table)
    EXPECT_EQ(QZML::CWriter::DeltaTicks(entry.first + 13), entry.second) << entry.first;
}

TEST(SmfStream, QZ5ExportsItsWrittenBlocksInOrder) {
  CFileStreams streams(QZML::MODEL_QZ5);
  CPatchArray main = Rows(140);
  FillPatch(*main.Get(0), 10, "Five");
  FillPatch(*main.Get(139), 11, "Last");
  const CByteArray file = streams.Export({139, 0}, main);
  CEvents events;
  events.SetSource(file);
  ASSERT_TRUE(events.Read());
  ASSERT_EQ(events.messages.size(), 54u);
  CZelOrvaneMessage first;
  ASSERT_TRUE(first.Parse(events.messages[0], 4));
  EXPECT_EQ(first.GetField(ORVANE_FIELD_MODEL_ID), (CByteArray{0x00, 0x00, 0x06}));
  EXPECT_EQ(FromSevenBitBytes(first.GetField(ORVANE_FIELD_ADDRESS)), 0x1000000u + 139 * 0x4000u);

  CPatchArray back = Rows(140);
  ASSERT_TRUE(streams.Import(file, back));
  WrittenAndSame(*back.Get(139), *main.Get(139));
  WrittenAndSame(*back.Get(0), *main.Get(0));
}

TEST(SmfStream, ImportTakesOnlyGoodUserDataSetsOfItsDevice) {
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  CZelSmfBufferWrite smf;
  ASSERT_TRUE(smf.Begin());
  ASSERT_TRUE(smf.BeginTrack());
  const CZelAddressing own = Addressing(0x10);
  CZelOrvaneMessage badChecksum = MakeDataSet(own, NameAddress(AREA_USER, 1), Name("Bad checksum    "));
  badChecksum.SetField(ORVANE_FIELD_CHECKSUM, {static_cast<std::uint8_t>((badChecksum.GetChecksum() + 1) & 0x7F)});
  CZelLongMessage foreign;
  foreign.SetBytes({0xF0, 0x43, 0x10, 0x00, 0xF7});
  const CZelLongMessage events[] = {
      MakeDataSet(own, NameAddress(AREA_TEMPORARY, 0), Name("Temporary       ")),
      badChecksum,
      MakeDataSet(own, NameAddress(AREA_USER, 2), Name("Good \x7F" "2\x7E        ")),
      MakeDataSet(Addressing(0x10, {0x00, 0x00, 0x06}), NameAddress(AREA_USER, 4), Name("From a QZ-5     ")),
      MakeDataRequest(own, NameAddress(AREA_USER, 5), 16),
      MakeDataSet(own, 0x0C00000, Name("Nowhere         ")),
      foreign,
  };
  for (const CZelLongMessage& event : events)
    ASSERT_TRUE(smf.WriteExclusive(5, event));
  ASSERT_TRUE(smf.EndTrack());
  ASSERT_NE(smf.Finish(), 0u);

  CFileStreams streams(QZML::MODEL_QZMAX);
  CPatchArray main = Rows(6);
  const QZML::CPatch fresh = *main.Get(0);
  ASSERT_TRUE(streams.Import(smf.GetOutput(), main));
  EXPECT_EQ(main.Get(2)->GetName(), "Good {2}        ");
  EXPECT_EQ(main.Get(4)->GetName(), "From a QZ-5     ");
  for (int row : {0, 1, 3, 5})
    EXPECT_TRUE(std::equal(fresh.Image(), fresh.Image() + 880, main.Get(row)->Image())) << row;

  // Recorded with another device ID: nothing is taken, and that is no failure.
  CFileStreams other(QZML::MODEL_QZMAX, 0x11);
  CPatchArray untouched = Rows(6);
  ASSERT_TRUE(other.Import(smf.GetOutput(), untouched));
  for (int row = 0; row < 6; ++row)
    EXPECT_TRUE(std::equal(fresh.Image(), fresh.Image() + 880, untouched.Get(row)->Image())) << row;
}

TEST(SmfStream, FailingStreamsAndMalformedFiles) {
  CFileStreams streams(QZML::MODEL_QZMAX);
  CPatchArray main = Rows(3);
  FillPatch(*main.Get(1), 1, "One");

  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_FALSE(streams.writer.Export(broken, AREA_USER, {1}, &main));
  // A listed row that the list does not hold.
  std::ostringstream file;
  EXPECT_FALSE(streams.writer.Export(file, AREA_USER, {3}, &main));

  std::ifstream missing("/nonexistent/qz-max/none.mid", std::ios::binary);
  CPatchArray target = Rows(3);
  EXPECT_FALSE(streams.reader.Import(missing, {0}, &target));

  // Cut in the middle of its second data set: the first is filed, the file is refused.
  CByteArray whole = streams.Export({1}, main);
  CByteArray cut(whole.begin(), whole.begin() + 22 + 2 + 143 + 10);
  EXPECT_FALSE(streams.Import(cut, target));
  const int fx1 = 130;
  EXPECT_TRUE(std::equal(target.Get(1)->Image(), target.Get(1)->Image() + fx1, main.Get(1)->Image()));
  EXPECT_FALSE(std::equal(target.Get(1)->Image() + fx1, target.Get(1)->Image() + 139, main.Get(1)->Image() + fx1));
}

TEST(SmfStream, ExportSavesThroughAFileAndImportsFromIt) {
  CFileStreams streams(QZML::MODEL_QZMAX);
  CPatchArray main = Rows(200);
  for (int row : {0, 100, 199})
    FillPatch(*main.Get(row), static_cast<unsigned>(row), "Row " + std::to_string(row));
  char pattern[] = "/tmp/qz-smf-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string path = std::string(pattern) + "/all.mid";
  ASSERT_TRUE(QZML::SaveFileAtomically(path, [&](std::ostream& out) {
    return streams.writer.Export(out, AREA_USER, {0, 100, 199}, &main);
  }));

  std::ifstream in(path, std::ios::binary);
  CPatchArray back = Rows(200);
  ASSERT_TRUE(streams.reader.Import(in, {0}, &back));
  for (int row : {0, 100, 199})
    WrittenAndSame(*back.Get(row), *main.Get(row));
  std::remove(path.c_str());
  rmdir(pattern);
}
