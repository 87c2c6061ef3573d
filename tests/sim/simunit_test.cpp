#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "exclusive/orvanemessage.h"
#include "model/parameteraddress.h"
#include "sim/demopatches.h"
#include "sim/simunit.h"

using QZML::CByteArray;

namespace {

constexpr std::uint32_t kUser128Name = (0x09u << 21) | (0x00u << 14) | (0x12u << 7);  // 09 00 12 00

CZelAddressing Port(QZML::EModel model, std::uint8_t deviceId = 0x10) {
  CZelAddressing port;
  port.deviceId = deviceId;
  port.modelId = CSimUnit::ModelIdBytes(model);
  return port;
}

// A unit and everything it sends.
struct CBench {
  explicit CBench(CSimOptions options = CSimOptions()) : unit(options) {
    unit.SetOutput([this](const CByteArray& m) { sent.push_back(m); });
  }
  CByteArray Request(std::uint32_t address, std::uint32_t size) {
    return MakeDataRequest(Port(unit.Options().model), address, size).GetBytes();
  }
  // Requests and returns the one data set that answers, parsed; fails the test otherwise.
  CZelOrvaneMessage Read(std::uint32_t address, std::uint32_t size) {
    sent.clear();
    unit.Receive(Request(address, size));
    CZelOrvaneMessage answer;
    EXPECT_EQ(sent.size(), 1u);
    if (sent.size() == 1) {
      EXPECT_TRUE(answer.Parse(sent[0], 4));
    }
    return answer;
  }
  CSimUnit unit;
  std::vector<CByteArray> sent;
};

std::string Text(const CByteArray& bytes) { return std::string(bytes.begin(), bytes.end()); }

} // namespace

TEST(SimUnit, AnswersTheIdentityRequestWithItsModel) {
  CBench qzmax;
  qzmax.unit.Receive({0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7});
  const CByteArray maxReply = {0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x0B, 0x02,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
  ASSERT_EQ(qzmax.sent.size(), 1u);
  EXPECT_EQ(qzmax.sent[0], maxReply);

  CSimOptions options;
  options.model = QZML::MODEL_QZ5;
  options.deviceId = 0x03;
  CBench qz5(options);
  qz5.unit.Receive({0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7});  // another device
  EXPECT_TRUE(qz5.sent.empty());
  qz5.unit.Receive({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});  // all call: the reply names its own ID
  const CByteArray qz5Reply = {0xF0, 0x7E, 0x03, 0x06, 0x02, 0x41, 0x06, 0x02,
                               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
  ASSERT_EQ(qz5.sent.size(), 1u);
  EXPECT_EQ(qz5.sent[0], qz5Reply);
  EXPECT_EQ(qz5.unit.Counters().identityRequests, 1);
  EXPECT_EQ(qz5.unit.Counters().ignored, 1);
}

TEST(SimUnit, MemoryStartsWithInitPatchBlocksAtTheirAddresses) {
  CBench bench;
  CZelOrvaneMessage name = bench.Read(kUser128Name, 16);
  EXPECT_EQ(FromSevenBitBytes(name.GetField(ORVANE_FIELD_ADDRESS)), kUser128Name);
  EXPECT_EQ(Text(name.GetField(ORVANE_FIELD_DATA)), "INIT PATCH      ");
  EXPECT_EQ(name.GetChecksum(), name.CalcChecksum());
  EXPECT_EQ(name.GetField(ORVANE_FIELD_MODEL_ID), (CByteArray{0x00, 0x00, 0x0B}));

  // Every block of the last user patch and of the temporary patch holds its default bytes.
  const auto& image = QZML::CPatch::DefaultImage();
  QZML::CParameterAddress map;
  for (int area : {QZML::AREA_USER, QZML::AREA_TEMPORARY}) {
    for (int i = 0; i < QZML::kBlockCount; ++i) {
      const QZML::CBlockInstance& block = QZML::BlockInstance(i);
      std::uint32_t address = map.GetParameterAddress(area, 199, block.kind->id, block.sub);
      CByteArray data = bench.Read(address, static_cast<std::uint32_t>(block.size)).GetField(ORVANE_FIELD_DATA);
      EXPECT_EQ(data, CByteArray(image.begin() + block.flatOffset, image.begin() + block.flatOffset + block.size))
          << map.GetDescription(area, 199, block.kind->id, block.sub);
    }
  }

  // A request running past "PATCH FX1" (130 bytes) into unused addresses gets zeros there.
  CByteArray row = bench.Read(QZML::ADDRESS_USER, 256).GetField(ORVANE_FIELD_DATA);
  ASSERT_EQ(row.size(), 256u);
  EXPECT_EQ(CByteArray(row.begin() + 130, row.end()), CByteArray(126, 0));
}

TEST(SimUnit, IgnoresRequestsOutsideItsMemory) {
  CSimOptions options;
  options.model = QZML::MODEL_QZ5;
  CBench bench(options);
  QZML::CParameterAddress map;
  std::uint32_t last = map.GetParameterAddress(QZML::AREA_USER, 139, QZML::BLOCK_NAME, 0);
  EXPECT_EQ(Text(bench.Read(last, 16).GetField(ORVANE_FIELD_DATA)), "INIT PATCH      ");

  const std::uint32_t outside[][2] = {
      {map.GetParameterAddress(QZML::AREA_USER, 140, QZML::BLOCK_NAME, 0), 16},  // no patch 141 on a QZ-5
      {QZML::ADDRESS_USER + 140 * QZML::PATCH_STRIDE - 8, 16},                  // runs past the last patch
      {QZML::ADDRESS_TEMPORARY + QZML::PATCH_STRIDE - 1, 2},                    // runs past the temporary patch
      {QZML::ADDRESS_USER - 1, 2},
      {0, 16},
      {QZML::ADDRESS_USER, 0x0FFFFFFF},                                         // the largest size there is
  };
  for (const auto& range : outside) {
    bench.sent.clear();
    bench.unit.Receive(bench.Request(range[0], range[1]));
    EXPECT_TRUE(bench.sent.empty()) << std::hex << range[0];
  }
  EXPECT_EQ(bench.unit.Counters().ignored, 6);

  // Switching the model keeps memory and grows or shrinks the user area.
  options.model = QZML::MODEL_QZMAX;
  bench.unit.SetOptions(options);
  EXPECT_EQ(bench.unit.UserPatchCount(), 200);
  CByteArray bytes;
  EXPECT_TRUE(bench.unit.ReadMemory(map.GetParameterAddress(QZML::AREA_USER, 199, QZML::BLOCK_NAME, 0), 16, bytes));
  EXPECT_EQ(Text(bytes), "INIT PATCH      ");
}

TEST(SimUnit, StoresDataSetsAndAnswersWithThem) {
  CBench bench;
  CZelAddressing port = Port(QZML::MODEL_QZMAX);
  const CByteArray name = {'B', 'r', 'i', 'g', 'h', 't', ' ', 'L', 'e', 'a', 'd', ' ', ' ', ' ', 0x7E, 0x7F};
  bench.unit.Receive(MakeDataSet(port, kUser128Name, name).GetBytes());
  EXPECT_TRUE(bench.sent.empty());  // data sets need no answer
  EXPECT_EQ(bench.unit.Counters().dataSets, 1);
  EXPECT_EQ(bench.Read(kUser128Name, 16).GetField(ORVANE_FIELD_DATA), name);

  // As a patch the name reads with the librarian's characters, and setting it maps them back.
  QZML::CPatch patch;
  ASSERT_TRUE(bench.unit.GetUserPatch(128, patch));
  EXPECT_EQ(patch.GetName(), "Bright Lead   }{");
  patch.SetName("{Other}");
  patch.GetBlock(QZML::BLOCK_FX1, 0).data[0] = 0x85;  // not a 7-bit value: kept as its low 7 bits
  ASSERT_TRUE(bench.unit.SetUserPatch(5, patch));
  CByteArray bytes;
  bench.unit.ReadMemory(QZML::ADDRESS_USER + 5 * QZML::PATCH_STRIDE + 0x900, 7, bytes);
  EXPECT_EQ(bytes, (CByteArray{0x7F, 'O', 't', 'h', 'e', 'r', 0x7E}));
  EXPECT_EQ(bench.Read(QZML::ADDRESS_USER + 5 * QZML::PATCH_STRIDE, 1).GetField(ORVANE_FIELD_DATA),
            CByteArray{0x05});
  EXPECT_FALSE(bench.unit.SetUserPatch(200, patch));
  EXPECT_FALSE(bench.unit.GetUserPatch(-1, patch));

  // The temporary patch is memory of its own.
  bench.unit.Receive(MakeDataSet(port, QZML::ADDRESS_TEMPORARY + 0x900, {'T'}).GetBytes());
  bench.unit.GetTemporaryPatch(patch);
  EXPECT_EQ(patch.GetName(), "TNIT PATCH      ");
  EXPECT_TRUE(bench.unit.GetUserPatch(0, patch));
  EXPECT_EQ(patch.GetName(), "INIT PATCH      ");

  // A data set running past the memory is not stored at all.
  bench.unit.Receive(MakeDataSet(port, QZML::ADDRESS_USER + 200 * QZML::PATCH_STRIDE - 1, {1, 2}).GetBytes());
  EXPECT_EQ(bench.unit.Counters().dataSets, 2);
}

TEST(SimUnit, UserPatchesLoadAndSaveAsPatchArrays) {
  QZML::CPatchArray library;
  library.Resize(3);
  library.Get(1)->SetName("Second }");
  library.Get(1)->Memo1 = "memos stay in the library";
  library.Get(2)->GetBlock(QZML::BLOCK_ASSIGN_QZMAX, 11).data[16] = 0x33;

  CSimUnit unit;
  unit.LoadUserPatches(library);
  QZML::CPatchArray saved;
  unit.SaveUserPatches(saved);
  ASSERT_EQ(saved.size(), 200u);
  EXPECT_EQ(saved.Get(1)->GetName(), "Second }        ");
  EXPECT_TRUE(saved.Get(1)->Memo1.empty());
  EXPECT_EQ(saved.Get(2)->GetBlock(QZML::BLOCK_ASSIGN_QZMAX, 11).data[16], 0x33);
  for (std::size_t n : {0u, 2u, 3u, 199u})
    EXPECT_EQ(saved.Get(n)->GetName(), "INIT PATCH      ") << n;

  // A QZ-5 takes only its 140 patches from a longer array.
  CSimOptions options;
  options.model = QZML::MODEL_QZ5;
  CSimUnit qz5(options);
  saved.Get(139)->SetName("last");
  qz5.LoadUserPatches(saved);
  QZML::CPatchArray small;
  qz5.SaveUserPatches(small);
  ASSERT_EQ(small.size(), 140u);
  EXPECT_EQ(small.Get(139)->GetName(), "last            ");
  qz5.InitializeMemory();
  qz5.SaveUserPatches(small);
  EXPECT_EQ(small.Get(1)->GetName(), "INIT PATCH      ");
}

TEST(SimUnit, IgnoresWhatIsNotForIt) {
  CBench bench;
  const CByteArray good = bench.Request(kUser128Name, 16);
  CByteArray badChecksum = good;
  badChecksum[badChecksum.size() - 2] ^= 0x01;
  CByteArray otherMaker = good;
  otherMaker[1] = 0x43;
  CByteArray unterminated = good;
  unterminated.back() = 0x00;
  CByteArray shortSize = MakeDataRequest(Port(QZML::MODEL_QZMAX), kUser128Name, 16).GetBytes();
  shortSize.erase(shortSize.begin() + 11);  // three size bytes (the removed one was 00, the checksum holds)
  CByteArray storedBadChecksum = MakeDataSet(Port(QZML::MODEL_QZMAX), kUser128Name, {'X'}).GetBytes();
  storedBadChecksum[storedBadChecksum.size() - 2] ^= 0x01;

  const std::vector<CByteArray> ignored = {
      MakeDataRequest(Port(QZML::MODEL_QZMAX, 0x11), kUser128Name, 16).GetBytes(),  // another device
      MakeDataRequest(Port(QZML::MODEL_QZMAX, 0x7F), kUser128Name, 16).GetBytes(),  // no all call for data
      MakeDataRequest(Port(QZML::MODEL_QZ5), kUser128Name, 16).GetBytes(),          // another model
      badChecksum,
      otherMaker,
      unterminated,
      shortSize,
      storedBadChecksum,
      {0xFE},                                    // active sensing
      {0xB0, 0x07, 0x64},                        // a short message
      {0xF0, 0x41, 0x10, 0x00, 0x00, 0xF7},      // ends inside the model ID
      {0xF0, 0x7E, 0x10, 0x06, 0x01, 0x00, 0xF7},  // identity request of the wrong length
      {0xF0, 0x7E, 0x10, 0x06, 0x02, 0xF7},
      {},
  };
  for (const CByteArray& message : ignored)
    bench.unit.Receive(message);
  EXPECT_TRUE(bench.sent.empty());
  EXPECT_EQ(bench.unit.Counters().ignored, static_cast<int>(ignored.size()));
  EXPECT_EQ(bench.unit.Counters().dataSets, 0);
  EXPECT_EQ(Text(bench.Read(kUser128Name, 16).GetField(ORVANE_FIELD_DATA)), "INIT PATCH      ");
}

TEST(SimUnit, FaultsHitTheChosenAnswers) {
  const CByteArray identity = {0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7};
  auto answersTo = [&](CSimOptions options, int requests) {
    CBench bench(options);
    bench.unit.Receive(identity);  // answer 1
    for (int i = 0; i < requests; ++i)
      bench.unit.Receive(bench.Request(QZML::ADDRESS_USER + static_cast<std::uint32_t>(i) * 0x80, 4));
    EXPECT_EQ(bench.unit.Counters().answers, requests + 1);
    return bench.sent;
  };

  CSimOptions silent;
  silent.drop = CSimFault::Always();
  EXPECT_TRUE(answersTo(silent, 3).empty());

  CSimOptions dropSecond;
  dropSecond.drop = CSimFault::Nth(2);
  std::vector<CByteArray> sent = answersTo(dropSecond, 3);
  ASSERT_EQ(sent.size(), 3u);
  CZelOrvaneMessage answer;
  ASSERT_TRUE(answer.Parse(sent[1], 4));  // answer 2, to the first request, was dropped
  EXPECT_EQ(FromSevenBitBytes(answer.GetField(ORVANE_FIELD_ADDRESS)), QZML::ADDRESS_USER + 0x80);

  CSimOptions goesSilent;
  goesSilent.drop = CSimFault::From(3);
  EXPECT_EQ(answersTo(goesSilent, 5).size(), 2u);

  CSimOptions badChecksum;
  badChecksum.badChecksum = CSimFault::Nth(2);
  sent = answersTo(badChecksum, 2);
  ASSERT_EQ(sent.size(), 3u);
  ASSERT_TRUE(answer.Parse(sent[1], 4));
  EXPECT_NE(answer.GetChecksum(), answer.CalcChecksum());
  EXPECT_LT(answer.GetChecksum(), 0x80);
  ASSERT_TRUE(answer.Parse(sent[2], 4));
  EXPECT_EQ(answer.GetChecksum(), answer.CalcChecksum());

  CSimOptions otherAddress;
  otherAddress.otherAddress = CSimFault::Always();
  sent = answersTo(otherAddress, 1);
  ASSERT_EQ(sent.size(), 2u);
  ASSERT_TRUE(answer.Parse(sent[1], 4));
  EXPECT_EQ(FromSevenBitBytes(answer.GetField(ORVANE_FIELD_ADDRESS)), QZML::ADDRESS_USER + 0x80);
  EXPECT_EQ(answer.GetField(ORVANE_FIELD_DATA).size(), 4u);
  EXPECT_EQ(answer.GetChecksum(), answer.CalcChecksum());

  CSimOptions flood;
  flood.activeSensing = 2;
  sent = answersTo(flood, 1);
  ASSERT_EQ(sent.size(), 6u);
  EXPECT_EQ(sent[0], CByteArray{0xFE});
  EXPECT_EQ(sent[1], CByteArray{0xFE});
  EXPECT_EQ(sent[2][0], 0xF0);
  EXPECT_EQ(sent[4], CByteArray{0xFE});
  EXPECT_EQ(sent[5][1], 0x41);
}

TEST(DemoUserPatches, GiveEveryPatchOfAUnitADistinctNameThatFits) {
  const QZML::CPatchArray patches = DemoUserPatches(200);
  ASSERT_EQ(patches.size(), 200u);
  std::set<std::string> names;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    const std::string name = patches.Get(i)->GetName();
    // Whole words within the 16 characters, never the default.
    EXPECT_EQ(name.size(), 16u);
    EXPECT_NE(name, "INIT PATCH      ");
    EXPECT_NE(name.front(), ' ');
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 200u);
  EXPECT_EQ(patches.Get(0)->GetName(), "Clean Chorus    ");
  // A QZ-5 takes the first 140; beyond 200 the patches keep their defaults.
  EXPECT_EQ(DemoUserPatches(140).Get(139)->GetName(), patches.Get(139)->GetName());
  EXPECT_EQ(DemoUserPatches(201).Get(200)->GetName(), "INIT PATCH      ");
  EXPECT_EQ(DemoUserPatches(0).size(), 0u);
}
