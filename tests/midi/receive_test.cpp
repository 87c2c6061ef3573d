#include <gtest/gtest.h>

#include "midi/midiout.h"
#include "midi/zelmidiin.h"
#include "midi/zelmidiout.h"
#include "miditestsupport.h"

namespace {

// Logical input 1 style: handlers installed and a forward target bound to a recording port.
struct ReceiveRules : ::testing::Test {
  ReceiveRules() : device(rig.services, "Peer") {
    EXPECT_TRUE(device.OpenByName("Peer"));
    forward.SetDevice(&device);
    input.m_deviceId = 0x10;
    input.m_modelId = {0x00, 0x00, 0x0B};
    input.m_messageHandler = &handler;
    input.m_requestHandler = &handler;
    input.m_generalHandler = &general;
    input.m_forward = &forward;
  }
  const std::vector<QZML::CByteArray>& Forwarded() const { return rig.peer.received; }

  CLoopbackRig rig;
  CMidiOutDevice device;
  CZelMidiOut forward;
  CZelMidiIn input;
  CRecordingHandler handler, general;
};

TEST_F(ReceiveRules, ShortMessagesGoToBothHandlersAndOn) {
  input.Receive(Bytes({0x90, 0x3C, 0x64}));
  EXPECT_EQ(handler.shorts, (std::vector<std::uint32_t>{0x643C90}));
  EXPECT_EQ(general.shorts, handler.shorts);
  EXPECT_EQ(Forwarded(), (std::vector<QZML::CByteArray>{Bytes({0x90, 0x3C, 0x64})}));
  // Real-time bytes are forwarded but not handled.
  input.Receive(Bytes({0xFE}));
  EXPECT_EQ(handler.shorts.size(), 1u);
  EXPECT_EQ(Forwarded().size(), 2u);
  input.Receive({});
  EXPECT_EQ(Forwarded().size(), 2u);
  // Without a bound device nothing goes on, but the message is still handled.
  forward.SetDevice(nullptr);
  input.Receive(Bytes({0x90, 0x3C, 0x64}));
  EXPECT_EQ(handler.shorts.size(), 2u);
  EXPECT_EQ(Forwarded().size(), 2u);
}

TEST_F(ReceiveRules, UniversalAndForeignExclusive) {
  const QZML::CByteArray identityRequest = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7});
  input.Receive(identityRequest);
  EXPECT_EQ(handler.identityRequests, (std::vector<QZML::CByteArray>{identityRequest}));
  EXPECT_TRUE(handler.exclusives.empty());
  EXPECT_TRUE(Forwarded().empty());

  const QZML::CByteArray identityReply = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x0B, 0x01, 0xF7});
  input.Receive(identityReply);
  EXPECT_EQ(general.exclusives, (std::vector<QZML::CByteArray>{identityReply}));
  EXPECT_EQ(handler.exclusives, (std::vector<QZML::CByteArray>{identityReply}));
  EXPECT_EQ(Forwarded(), (std::vector<QZML::CByteArray>{identityReply}));

  input.Receive(Bytes({0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7})); // another maker
  input.Receive(Bytes({0xF0, 0x7E, 0x10, 0x86, 0x02, 0xF7})); // not a valid exclusive message
  input.Receive(Bytes({0xF0}));
  EXPECT_EQ(handler.exclusives.size(), 1u);
  EXPECT_EQ(Forwarded().size(), 1u);
}

TEST_F(ReceiveRules, DataSetsMustMatchThePort) {
  const QZML::CByteArray good = DataSet(0x10, 0x1000000, Bytes({0x40, 0x01}));
  input.Receive(good);
  EXPECT_EQ(handler.dataSets, (std::vector<QZML::CByteArray>{good}));
  EXPECT_EQ(Forwarded(), (std::vector<QZML::CByteArray>{good}));

  QZML::CByteArray badChecksum = good;
  badChecksum.at(badChecksum.size() - 2) ^= 0x01; // the checksum; at() also tells GCC the index is in range
  QZML::CByteArray otherModel = good;
  otherModel[5] = 0x06;
  QZML::CByteArray longerModel =
      Bytes({0xF0, 0x41, 0x10, 0x00, 0x00, 0x00, 0x0B, 0x12, 0x08, 0x00, 0x00, 0x00, 0x40, 0x38, 0xF7});
  QZML::CByteArray otherCommand = good;
  otherCommand[6] = 0x13;
  for (const QZML::CByteArray& bytes : {DataSet(0x11, 0x1000000, Bytes({0x40})), badChecksum, otherModel, longerModel,
                                        otherCommand, Bytes({0xF0, 0x41, 0x10, 0x00, 0x00, 0xF7})})
    input.Receive(bytes);
  EXPECT_EQ(handler.dataSets.size(), 1u);
  EXPECT_EQ(Forwarded().size(), 1u);

  // Further data-set handlers come first.
  CRecordingHandler extra;
  input.m_dataSetHandlers.push_back(&extra);
  input.Receive(good);
  EXPECT_EQ(extra.dataSets.size(), 1u);
  EXPECT_EQ(handler.dataSets.size(), 2u);
}

TEST_F(ReceiveRules, RequestsAreHandledNotForwarded) {
  CZelAddressing port;
  port.modelId = {0x00, 0x00, 0x0B};
  const QZML::CByteArray request = MakeDataRequest(port, 0x1000000, 0x10).GetBytes();
  input.Receive(request);
  EXPECT_EQ(handler.requests, (std::vector<QZML::CByteArray>{request}));
  EXPECT_TRUE(Forwarded().empty());
  // The checksum of a request is not looked at.
  QZML::CByteArray odd = request;
  odd[odd.size() - 2] ^= 0x01;
  input.Receive(odd);
  EXPECT_EQ(handler.requests.size(), 2u);
}

} // namespace
