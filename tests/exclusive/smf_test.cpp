#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exclusive/shortmessage.h"
#include "exclusive/smfbuffer.h"

using QZML::CByteArray;

namespace {

// Records every event and the largest piece ever asked of ReadBytes.
class CRecorder : public CZelSmfBufferRead {
public:
  using CZelSmfBufferRead::CZelSmfBufferRead;
  void OnShortEvent(std::uint32_t delta, std::uint32_t packed) override {
    deltas.push_back(delta);
    shorts.push_back(packed);
  }
  void OnExclusiveEvent(std::uint32_t delta, const CZelLongMessage& message) override {
    deltas.push_back(delta);
    exclusives.push_back(message.GetBytes());
  }
  void OnMetaEvent(std::uint32_t delta, const CMetaEvent& event) override {
    deltas.push_back(delta);
    metas.push_back(event.type);
  }
  void ReadBytes(CByteArray& out, std::uint32_t position, std::uint32_t count) override {
    largestAsk = std::max(largestAsk, count);
    CZelSmfBufferRead::ReadBytes(out, position, count);
  }
  std::vector<std::uint32_t> deltas, shorts;
  std::vector<CByteArray> exclusives;
  std::vector<std::int32_t> metas;
  std::uint32_t largestAsk = 0;
};

CByteArray Header(std::uint16_t tracks, std::uint32_t length = 6) {
  CByteArray h = {'M', 'T', 'h', 'd', 0, 0, 0, 0, 0, 0, 0, 0, 0, 96};
  CZelSmf::SetBigEndian32(h.data() + 4, length);
  CZelSmf::SetBigEndian16(h.data() + 10, tracks);
  if (length > 6)
    h.resize(8 + length, 0);
  return h;
}

// One file: header for one track, a track chunk whose length field is right, the events.
CByteArray File(const CByteArray& events, const char* magic = "MTrk") {
  CByteArray f = Header(1);
  f.insert(f.end(), magic, magic + 4);
  f.resize(f.size() + 4);
  CZelSmf::SetBigEndian32(f.data() + f.size() - 4, static_cast<std::uint32_t>(events.size()));
  f.insert(f.end(), events.begin(), events.end());
  return f;
}

const CByteArray kEnd = {0x00, 0xFF, 0x2F, 0x00};

CByteArray Cat(CByteArray a, const CByteArray& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(SmfVarLen, DeltaEncodingsAndTheFourByteLimit) {
  EXPECT_EQ(CZelSmf::EncodeVarLen(0), (CByteArray{0x00}));
  EXPECT_EQ(CZelSmf::EncodeVarLen(128), (CByteArray{0x81, 0x00}));
  EXPECT_EQ(CZelSmf::EncodeVarLen(1u << 21), (CByteArray{0x81, 0x80, 0x80, 0x00}));
  EXPECT_EQ(CZelSmf::EncodeVarLen((1u << 28) - 1), (CByteArray{0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_EQ(CZelSmf::EncodeVarLen(1u << 28), (CByteArray{0x00}));

  CRecorder longest(File(Cat({0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00}, kEnd)));
  ASSERT_TRUE(longest.Read());
  EXPECT_EQ(longest.deltas.front(), (1u << 28) - 1);

  // A fifth byte is beyond the format: the event fails instead of reading on or overflowing.
  CRecorder tooLong(File(Cat({0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00}, kEnd)));
  EXPECT_FALSE(tooLong.Read());
  EXPECT_TRUE(tooLong.metas.empty());
}

TEST(SmfRead, RunningStatusSurvivesAMetaEvent) {
  CRecorder r(File(Cat({0x00, 0x90, 0x3C, 0x40,        // note on
                        0x00, 0x3E, 0x40,              // running status
                        0x00, 0xFF, 0x01, 0x01, 'x',   // text
                        0x10, 0x40, 0x40,              // still note on
                        0x00, 0xC3, 0x05},             // program change
                       kEnd)));
  ASSERT_TRUE(r.Read());
  EXPECT_EQ(r.shorts, (std::vector<std::uint32_t>{PackShortMessage(0x90, 0x3C, 0x40), PackShortMessage(0x90, 0x3E, 0x40),
                                                  PackShortMessage(0x90, 0x40, 0x40), PackShortMessage(0xC3, 0x05, 0)}));
  EXPECT_EQ(r.metas, (std::vector<std::int32_t>{0x01, 0x2F}));
  EXPECT_EQ(r.deltas[3], 0x10u);
}

TEST(SmfRead, HeaderMustBeSixBytesLong) {
  CRecorder longer(Cat(Header(1, 8), File(kEnd)));
  EXPECT_FALSE(longer.Read());
  CRecorder none(Header(0));
  EXPECT_TRUE(none.Read());
  CByteArray shortHeader = Header(1);
  shortHeader.pop_back();
  CRecorder truncated(shortHeader);
  EXPECT_FALSE(truncated.Read());
}

TEST(SmfRead, ChunkOtherThanATrackFails) {
  CRecorder r(File(kEnd, "XVND"));
  EXPECT_FALSE(r.Read());
  // A wrong track length does not matter: the track ends at its end-of-track event.
  CByteArray f = File(kEnd);
  CZelSmf::SetBigEndian32(f.data() + 18, 9999);
  CRecorder wrongLength(f);
  EXPECT_TRUE(wrongLength.Read());
}

TEST(SmfRead, TrackWithoutEndOfTrackFailsWhenTheDataRunsOut) {
  CRecorder r(File({0x00, 0x90, 0x3C, 0x40, 0x00, 0xF0, 0x05, 0x41, 0x10, 0x42, 0x12, 0xF7}));
  EXPECT_FALSE(r.Read());
  // What arrived before the failure stays delivered.
  ASSERT_EQ(r.exclusives.size(), 1u);
  EXPECT_EQ(r.exclusives[0], (CByteArray{0xF0, 0x41, 0x10, 0x42, 0x12, 0xF7}));
  EXPECT_EQ(r.shorts.size(), 1u);
}

TEST(SmfRead, LengthsLargerThanTheDataFailWithoutBigReads) {
  for (std::uint8_t kind : {0xF0, 0xF7}) {
    CRecorder r(File(Cat({0x00, kind, 0xFF, 0xFF, 0xFF, 0x7F, 0x41, 0x10, 0xF7}, kEnd)));
    EXPECT_FALSE(r.Read());
    EXPECT_TRUE(r.exclusives.empty());
    EXPECT_LE(r.largestAsk, 4096u);
  }
  CRecorder meta(File({0x00, 0xFF, 0x2F, 0xFF, 0xFF, 0xFF, 0x7F}));
  EXPECT_FALSE(meta.Read());
  EXPECT_LE(meta.largestAsk, 4096u);
  // An exclusive event with an inner status byte arrives as the empty message.
  CRecorder inner(File(Cat({0x00, 0xF0, 0x03, 0x41, 0x90, 0xF7}, kEnd)));
  ASSERT_TRUE(inner.Read());
  ASSERT_EQ(inner.exclusives.size(), 1u);
  EXPECT_EQ(inner.exclusives[0], (CByteArray{0xF0, 0x00, 0xF7}));
}

TEST(SmfWrite, TrackLengthCountsEveryByteAfterTheTrackHeader) {
  CZelLongMessage message;
  ASSERT_TRUE(message.SetBytes({0xF0, 0x41, 0x10, 0x42, 0x12, 0xF7}));
  CZelSmfBufferWrite w;
  ASSERT_TRUE(w.Begin());
  ASSERT_TRUE(w.BeginTrack());
  ASSERT_TRUE(w.WriteExclusive(200, message));
  ASSERT_TRUE(w.EndTrack());
  const std::uint32_t length = w.Finish();
  const CByteArray& out = w.GetOutput();
  // 14 + 8 + (2 delta bytes + F0 + 1 length byte + 5) + 4.
  EXPECT_EQ(length, 35u);
  ASSERT_EQ(out.size(), 35u);
  EXPECT_EQ(CZelSmf::GetBigEndian16(out.data() + 10), 1);
  EXPECT_EQ(CZelSmf::GetBigEndian16(out.data() + 12), 96);
  EXPECT_EQ(CZelSmf::GetBigEndian32(out.data() + 18), out.size() - 22);
  EXPECT_EQ(CByteArray(out.end() - 4, out.end()), kEnd);

  CRecorder back(out);
  ASSERT_TRUE(back.Read());
  EXPECT_EQ(back.exclusives, (std::vector<CByteArray>{message.GetBytes()}));
  EXPECT_EQ(back.deltas.front(), 200u);
}

// Writes whatever fits into a fixed capacity, as a full disk would.
class CLimitedWrite : public CZelSmfBufferWrite {
public:
  explicit CLimitedWrite(std::size_t capacity) : m_capacity(capacity) {}
  int WriteBytes(std::uint32_t position, const CByteArray& bytes) override {
    if (position + bytes.size() > m_capacity)
      return 0;
    return CZelSmfBufferWrite::WriteBytes(position, bytes);
  }

private:
  std::size_t m_capacity;
};

TEST(SmfWrite, TrackWhoseEndCannotBeWrittenFails) {
  CLimitedWrite w(23);
  ASSERT_TRUE(w.Begin());
  ASSERT_TRUE(w.BeginTrack());
  EXPECT_FALSE(w.EndTrack());
  EXPECT_EQ(w.GetTrackCount(), 0);
}

TEST(SmfCorpus, ValidFilesReadAndInvalidFilesFail) {
  int seen = 0;
  for (const auto& entry : std::filesystem::directory_iterator(QZ_CORPUS_DIR "/smf")) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".mid")
      continue;
    std::ifstream in(entry.path(), std::ios::binary);
    CByteArray bytes;
    ASSERT_TRUE(ReadStreamToBuffer(in, bytes)) << name;
    CRecorder r(bytes);
    EXPECT_EQ(r.Read(), name.rfind("valid-", 0) == 0) << name;
    ++seen;
  }
  EXPECT_GE(seen, 8);
}

} // namespace
