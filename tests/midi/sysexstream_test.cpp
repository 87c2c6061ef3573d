// Patches to and from ".syx" files (raw exclusive messages) through the device writer and reader.

#include <gtest/gtest.h>

#include <sstream>

#include "exclusive/smfbuffer.h"
#include "midi/zelmidiout.h"
#include "model/parameteraddress.h"
#include "transfertestsupport.h"

using namespace QZML;

namespace {

struct CSysExFiles : CFileStreamRig {
  explicit CSysExFiles(EModel model = MODEL_QZMAX) : CFileStreamRig(model) {}
  CByteArray Export(const CPatchList& rows, CPatchArray& source) {
    std::ostringstream out(std::ios::binary);
    EXPECT_TRUE(writer.ExportSysEx(out, AREA_USER, rows, &source));
    const std::string bytes = out.str();
    return CByteArray(bytes.begin(), bytes.end());
  }
  bool Import(const CByteArray& bytes, CPatchArray& destination) {
    std::istringstream in(std::string(bytes.begin(), bytes.end()), std::ios::binary);
    return reader.ImportSysEx(in, {0}, &destination);
  }
};

CPatchList AllRows(int count) {
  CPatchList rows;
  for (int i = 0; i < count; ++i)
    rows.push_back(i);
  return rows;
}

// The exclusive events of a Standard MIDI File, back to back.
struct CExclusiveBytes : CZelSmfBufferRead {
  void OnExclusiveEvent(std::uint32_t, const CZelLongMessage& message) override {
    bytes.insert(bytes.end(), message.begin(), message.end());
  }
  CByteArray bytes;
};

} // namespace

TEST(SysExStream, TwoHundredPatchesComeBackEqualAndAsTheSmfExportsExclusiveBytes) {
  for (EModel model : {MODEL_QZMAX, MODEL_QZ5}) {
    CSysExFiles files(model);
    const int count = UserPatchCount(model);
    CPatchArray main = Rows(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
      FillPatch(*main.Get(static_cast<std::size_t>(row)), 500u + static_cast<unsigned>(row),
                "Patch {" + std::to_string(row) + "}");
    const CByteArray syx = files.Export(AllRows(count), main);

    std::ostringstream smf(std::ios::binary);
    ASSERT_TRUE(files.writer.Export(smf, AREA_USER, AllRows(count), &main));
    const std::string smfBytes = smf.str();
    CExclusiveBytes events;
    events.SetSource(CByteArray(smfBytes.begin(), smfBytes.end()));
    ASSERT_TRUE(events.Read());
    EXPECT_EQ(syx, events.bytes) << ModelName(model);

    CPatchArray fresh = Rows(static_cast<std::size_t>(count));
    ASSERT_TRUE(files.Import(syx, fresh));
    EXPECT_EQ(files.reader.GetSysExScan().messages, count * (model == MODEL_QZMAX ? 35 : 27));
    EXPECT_EQ(files.reader.GetSysExScan().skipped, 0);
    for (int row = 0; row < count; ++row) {
      ASSERT_TRUE(SameBlocks(*fresh.Get(static_cast<std::size_t>(row)), *main.Get(static_cast<std::size_t>(row)),
                             CParameterAddress::IsWritten))
          << ModelName(model) << " row " << row;
      EXPECT_EQ(fresh.Get(static_cast<std::size_t>(row))->GetName(),
                main.Get(static_cast<std::size_t>(row))->GetName());
    }
  }
}

TEST(SysExStream, ATruncatedLastMessageLeavesTheCompleteOnesFiled) {
  CSysExFiles files;
  CPatchArray main = Rows(3);
  FillPatch(*main.Get(1), 1, "Complete");
  FillPatch(*main.Get(2), 2, "Cut short");
  CByteArray syx = files.Export({1, 2}, main);
  // Cut inside the last data set of patch 3 ("PATCH ASSIGN CC#7", 3 data bytes): its F7 and checksum go.
  syx.resize(syx.size() - 2);

  CPatchArray fresh = Rows(3);
  ASSERT_TRUE(files.Import(syx, fresh));
  EXPECT_EQ(files.reader.GetSysExScan().messages, 2 * 35 - 1);
  EXPECT_EQ(files.reader.GetSysExScan().skipped, 1);
  SameBlocks(*fresh.Get(1), *main.Get(1), CParameterAddress::IsWritten);
  EXPECT_EQ(fresh.Get(2)->GetName(), "Cut short       ");
  const CBlockRef cc7 = fresh.Get(2)->GetBlock(BLOCK_ASSIGN_CC7, 0);
  EXPECT_TRUE(std::equal(cc7.data, cc7.data + cc7.size, CPatch().GetBlock(BLOCK_ASSIGN_CC7, 0).data));
}

TEST(SysExStream, TheSmfImportsFilterAndOutcomes) {
  CSysExFiles files;
  CPatchArray main = Rows(2);
  FillPatch(*main.Get(1), 1, "Device 17");
  const CByteArray syx = files.Export({1}, main);

  // Recorded for device ID 17, read on 18: nothing filed, and the import says what the file holds.
  files.port.m_deviceId = 0x11;
  CPatchArray fresh = Rows(2);
  EXPECT_FALSE(files.Import(syx, fresh));
  EXPECT_EQ(files.reader.LastImportOutcome(), CDataSetImport::EOutcome::NothingForDevice);
  EXPECT_EQ(files.reader.LastImport().DescribeFor(0x11),
            "This file holds patches for device ID 17 (QZ-MAX); the device ID in use is 18.");
  EXPECT_EQ(fresh.Get(1)->GetName(), "INIT PATCH      ");

  // Bytes that are no message at all: every piece skipped, nothing for the unit.
  EXPECT_FALSE(files.Import({'n', 'o', 0xF0, 0x41, 0x10}, fresh));
  EXPECT_EQ(files.reader.GetSysExScan().skipped, 2);
  EXPECT_EQ(files.reader.LastImport().DescribeFor(0x11), "This file holds no patches for the QZ-MAX or the QZ-5.");
}

TEST(SysExStream, FailingStreams) {
  CSysExFiles files;
  CPatchArray main = Rows(2);
  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_FALSE(files.writer.ExportSysEx(broken, AREA_USER, {1}, &main));
  std::ostringstream out;
  EXPECT_FALSE(files.writer.ExportSysEx(out, AREA_USER, {2}, &main)); // a row the list does not hold
  std::istringstream unreadable;
  unreadable.setstate(std::ios::badbit);
  EXPECT_FALSE(files.reader.ImportSysEx(unreadable, {0}, &main));
}
