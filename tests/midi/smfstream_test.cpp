// Patches to and from Standard MIDI Files through the device writer's Export and the reader's Import.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "exclusive/smfbuffer.h"
#include "midi/zelmidiout.h"
#include "model/convert.h"
#include "model/parameteraddress.h"
#include "model/savefile.h"
#include "transfertestsupport.h"

using namespace QZML;

namespace {

struct CFileStreams : CFileStreamRig {
  explicit CFileStreams(std::uint8_t deviceId = 0x10) : CFileStreamRig(MODEL_QZMAX, deviceId) {}
  bool Import(const CByteArray& bytes, CPatchArray& destination) {
    std::istringstream file(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    return reader.Import(file, {0}, &destination);
  }
};

struct CEvents : CZelSmfBufferRead {
  void OnExclusiveEvent(std::uint32_t delta, const CZelLongMessage& message) override {
    deltas.push_back(delta);
    sizes.push_back(message.size());
  }
  std::vector<std::uint32_t> deltas;
  std::vector<std::size_t> sizes;
};

CByteArray Name(const char* text) { return CByteArray(text, text + 16); }

struct CScriptedAnswers : CZelTextOut {
  EAnswer Ask(EAskKind, EQuestion code, int) override {
    codes.push_back(code);
    return answer;
  }
  std::vector<EQuestion> codes;
  EAnswer answer = ANSWER_NO;
};

} // namespace

TEST(SmfStream, ExportOfOnePatchImportsAtTheSameNumberThroughAFile) {
  CFileStreams streams;
  CPatchArray main = Rows(200);
  FillPatch(*main.Get(3), 3, "{Lead} }x{");
  char folder[] = "/tmp/qz-smf-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string path = std::string(folder) + "/one.mid";
  ASSERT_TRUE(
      SaveFileAtomically(path, [&](std::ostream& out) { return streams.writer.Export(out, AREA_USER, {3}, &main); }));

  // Format 0, one track, 96 ticks per quarter note, no tempo, 35 data sets, then the end of the track.
  const CByteArray& file = streams.writer.GetOutputBuffer();
  ASSERT_GT(file.size(), 26u);
  EXPECT_EQ(CByteArray(file.begin() + 8, file.begin() + 14), (CByteArray{0, 0, 0, 1, 0, 0x60}));
  EXPECT_EQ(CByteArray(file.end() - 4, file.end()), (CByteArray{0x00, 0xFF, 0x2F, 0x00}));
  CEvents events;
  events.SetSource(file);
  ASSERT_TRUE(events.Read());
  ASSERT_EQ(events.sizes.size(), 35u);
  EXPECT_EQ(events.sizes[0], 143u); // "PATCH FX1"
  EXPECT_EQ(events.deltas[0], 12u);
  EXPECT_EQ(events.deltas[8], 17u); // "PATCH FX2"
  const std::pair<std::size_t, std::uint32_t> ticks[] = {{1, 5},  {7, 5},    {8, 6},   {26, 6},
                                                         {40, 7}, {130, 12}, {220, 17}};
  for (const auto& entry : ticks)
    EXPECT_EQ(QZML::CWriter::DeltaTicks(entry.first + 13), entry.second) << entry.first << " data bytes";

  std::ifstream in(path, std::ios::binary);
  CPatchArray empty = Rows(200);
  ASSERT_TRUE(streams.reader.Import(in, {0}, &empty));
  SameBlocks(*empty.Get(3), *main.Get(3), CParameterAddress::IsWritten);
  EXPECT_EQ(empty.Get(3)->GetName(), "{Lead} }x{      ");
  for (int row : {0, 2, 4, 199})
    EXPECT_TRUE(SameImage(*empty.Get(row), *main.Get(0)));
  std::remove(path.c_str());
  rmdir(folder);
}

TEST(SmfStream, ImportTakesOnlyGoodUserDataSetsOfItsDevice) {
  CFileStreams streams;
  const CZelAddressing own = streams.port.GetAddressing();
  CZelAddressing qz5 = own;
  qz5.modelId = {0x00, 0x00, 0x06};
  CParameterAddress address;
  CZelOrvaneMessage badChecksum =
      MakeDataSet(own, address.GetBlockAddress(AREA_USER, 1, BLOCK_NAME), Name("Bad checksum    "));
  badChecksum.SetField(ORVANE_FIELD_CHECKSUM, {static_cast<std::uint8_t>((badChecksum.GetChecksum() + 1) & 0x7F)});
  CZelLongMessage foreign;
  foreign.SetBytes({0xF0, 0x43, 0x10, 0x00, 0xF7});
  const CZelLongMessage events[] = {
      MakeDataSet(own, address.GetBlockAddress(AREA_TEMPORARY, 0, BLOCK_NAME), Name("Temporary       ")),
      badChecksum,
      MakeDataSet(own, address.GetBlockAddress(AREA_USER, 2, BLOCK_NAME),
                  Name("Good \x7F"
                       "2\x7E        ")),
      MakeDataSet(qz5, address.GetBlockAddress(AREA_USER, 4, BLOCK_NAME), Name("From a QZ-5     ")),
      MakeDataRequest(own, address.GetBlockAddress(AREA_USER, 5, BLOCK_NAME), 16),
      MakeDataSet(own, 0x0C00000, Name("Nowhere         ")),
      foreign,
  };
  CZelSmfBufferWrite smf;
  ASSERT_TRUE(smf.Begin() && smf.BeginTrack());
  for (const CZelLongMessage& event : events)
    ASSERT_TRUE(smf.WriteExclusive(5, event));
  ASSERT_TRUE(smf.EndTrack() && smf.Finish() != 0);

  CPatchArray main = Rows(6);
  const CPatch fresh = *main.Get(0);
  ASSERT_TRUE(streams.Import(smf.GetOutput(), main));
  EXPECT_EQ(streams.reader.LastImport().Filed(), 1);
  EXPECT_EQ(main.Get(2)->GetName(), "Good {2}        ");
  // The QZ-5's data set is no QZ-MAX data: it is not filed beside the QZ-MAX ones.
  for (int row : {0, 1, 3, 4, 5})
    EXPECT_TRUE(SameImage(*main.Get(row), fresh)) << row;

  // Recorded with another device ID: nothing is taken, the import fails and says what the file holds.
  CFileStreams other(0x11);
  CPatchArray untouched = Rows(6);
  EXPECT_FALSE(other.Import(smf.GetOutput(), untouched));
  EXPECT_EQ(other.reader.LastImportOutcome(), CDataSetImport::EOutcome::NothingForDevice);
  EXPECT_EQ(other.reader.LastImport().DescribeFor(0x11),
            "This file holds patches for device ID 17 (QZ-MAX) and device ID 17 (QZ-5); the device ID in use is 18.");
  for (int row = 0; row < 6; ++row)
    EXPECT_TRUE(SameImage(*untouched.Get(row), fresh)) << row;
  // Filed anyway for the device ID the file was made for.
  EXPECT_EQ(other.reader.LastImport().MostCommonDeviceId(), 0x10);
  EXPECT_EQ(other.reader.LastImport().File(0x10, &untouched), CDataSetImport::EOutcome::Filed);
  EXPECT_EQ(untouched.Get(2)->GetName(), "Good {2}        ");
}

TEST(SmfStream, TheOtherModelsPatchesAreFiledOnlyConvertedAndOnlyWhenTheUserAgrees) {
  // A QZ-5 export of two patches, imported by a QZ-MAX Main window.
  CPatchArray qz5 = Rows(140);
  CByteArray file;
  {
    CTargetModelScope model(MODEL_QZ5);
    CZelMidiOut port;
    port.m_deviceId = 0x10;
    port.m_modelId = {0x00, 0x00, 0x06};
    QZML::CWriter writer;
    writer.SetPort(&port);
    qz5.Get(1)->SetName("Five one");
    // QZ-5 assign 1 aims at target 150, which is 158 on the QZ-MAX.
    qz5.Get(1)->Image()[kOffsetAssignsQz5 + 2] = 1;
    qz5.Get(1)->Image()[kOffsetAssignsQz5 + 3] = 22;
    std::ostringstream out;
    ASSERT_TRUE(writer.Export(out, AREA_USER, {1, 3}, &qz5));
    file = writer.GetOutputBuffer();
  }
  CFileStreams streams;
  CScriptedAnswers answers;
  CAppState::Instance().SetMessageBoxOutput(&answers);
  CPatchArray main = Rows(200);
  const CPatch fresh = *main.Get(0);
  answers.answer = ANSWER_NO;
  EXPECT_FALSE(streams.Import(file, main));
  EXPECT_EQ(streams.reader.LastImportOutcome(), CDataSetImport::EOutcome::Declined);
  EXPECT_EQ(answers.codes, std::vector<EQuestion>{QUESTION_CONVERT_TO_QZMAX});
  for (int row = 0; row < 200; ++row)
    ASSERT_TRUE(SameImage(*main.Get(row), fresh)) << row;

  answers.answer = ANSWER_YES;
  EXPECT_TRUE(streams.Import(file, main));
  EXPECT_EQ(main.Get(1)->GetName(), "Five one        ");
  EXPECT_EQ(main.Get(1)->Image()[kOffsetAssignsQzMax + 2], 1);
  EXPECT_EQ(main.Get(1)->Image()[kOffsetAssignsQzMax + 3], 30);
  EXPECT_FALSE(SameImage(*main.Get(3), fresh)); // converted defaults of the QZ-5
  EXPECT_TRUE(SameImage(*main.Get(2), fresh));
  CAppState::Instance().SetMessageBoxOutput(nullptr);
}

TEST(SmfStream, FailingStreamsAndMalformedFiles) {
  CFileStreams streams;
  CPatchArray main = Rows(3);
  FillPatch(*main.Get(1), 1, "One");
  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_FALSE(streams.writer.Export(broken, AREA_USER, {1}, &main));
  std::ostringstream file;
  EXPECT_FALSE(streams.writer.Export(file, AREA_USER, {3}, &main)); // a row the list does not hold
  std::ifstream missing("/nonexistent/qz-max/none.mid", std::ios::binary);
  CPatchArray target = Rows(3);
  EXPECT_FALSE(streams.reader.Import(missing, {0}, &target));

  // Cut inside its second data set: the file is refused and nothing of it is filed.
  ASSERT_TRUE(streams.writer.Export(file, AREA_USER, {1}, &main));
  const CByteArray& whole = streams.writer.GetOutputBuffer();
  const CPatch fresh = *target.Get(1);
  EXPECT_FALSE(streams.Import(CByteArray(whole.begin(), whole.begin() + 22 + 146 + 10), target));
  EXPECT_EQ(streams.reader.LastImportOutcome(), CDataSetImport::EOutcome::Unreadable);
  EXPECT_TRUE(SameImage(*target.Get(1), fresh));

  // A well-formed file without any of the unit's data sets is no success either.
  CZelSmfBufferWrite empty;
  ASSERT_TRUE(empty.Begin() && empty.BeginTrack() && empty.EndTrack() && empty.Finish() != 0);
  EXPECT_FALSE(streams.Import(empty.GetOutput(), target));
  EXPECT_EQ(streams.reader.LastImport().DescribeFor(0x10), "This file holds no patches for the QZ-MAX or the QZ-5.");
}
