// The request engine on its own: a logical output that only records, answers handed in by a scripted
// pump, and a fake clock that the pump moves.

#include <gtest/gtest.h>

#include <functional>

#include "midi/patchstream.h"
#include "midi/zelmidiout.h"
#include "miditestsupport.h"
#include "textout/textout.h"

using QZML::CByteArray;

namespace {

struct CCountingOut : CZelMidiOut {
  void SendMessage(const CZelLongMessage& message) override { Record(message); }
  void Send(const CZelLongMessage& message) override { Record(message); }
  void Record(const CZelLongMessage& message) {
    sent.push_back(message.GetBytes());
    if (onSend)
      onSend();
  }
  std::vector<CByteArray> sent;
  std::function<void()> onSend; // a unit answering before the send returns
};

struct CCodes : CZelTextOut {
  void Error(ETextOutError code) override { codes.push_back(code); }
  std::vector<ETextOutError> codes;
};

// Each pump runs the script, then lets half a second pass.
struct CScriptedReader : QZML::CReader {
  CScriptedReader() : QZML::CReader(&sink) {
    port.m_deviceId = 0x10;
    SetClock(&clock);
    SetPort(&port);
  }
  void Pump() override {
    ++pumps;
    if (script)
      script();
    clock.Advance(500);
  }
  void Reserved() override {}
  using CZelMidiReader::m_attempts;

  CCodes sink;
  QZP::CFakeClock clock;
  CCountingOut port;
  std::function<void()> script;
  int pumps = 0;
};

CZelLongMessage Universal(const CByteArray& bytes) {
  CZelLongMessage message;
  message.SetBytes(bytes);
  return message;
}

const CByteArray kQzMaxReply = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x0B, 0x02, 0, 0, 0, 0, 0, 0, 0xF7});

} // namespace

TEST(RequestEngine, OnlyTheAwaitedKindOfAnswerEndsAWait) {
  CScriptedReader reader;
  // No attempts: code 4 at once, nothing sent.
  reader.m_attempts = 0;
  EXPECT_FALSE(reader.Request(0x1000000, 130));
  EXPECT_TRUE(reader.port.sent.empty());
  EXPECT_EQ(reader.sink.codes, std::vector<ETextOutError>{TEXTOUT_ERR_NO_ANSWER});

  // A late identity reply does not pass for an awaited data set; the request goes out twice, 3 s apart.
  reader.m_attempts = 2;
  reader.script = [&] { EXPECT_FALSE(reader.OnExclusive(Universal(kQzMaxReply))); };
  const std::uint64_t start = reader.clock.NowMs();
  EXPECT_FALSE(reader.Request(0x1000000, 130));
  EXPECT_EQ(reader.port.sent.size(), 2u);
  EXPECT_EQ(reader.clock.NowMs() - start, 6000u);
  EXPECT_EQ(reader.sink.codes.size(), 2u);

  // Nor does a data set end an identity exchange.
  reader.script = [&] {
    CZelAddressing port;
    EXPECT_FALSE(reader.OnDataSet(MakeDataSet(port, 0x1000000, {1})));
    EXPECT_TRUE(reader.OnExclusive(Universal(kQzMaxReply)));
  };
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  EXPECT_TRUE(reader.Identify());
  EXPECT_EQ(reader.port.sent.back(), Bytes({0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7}));
  EXPECT_EQ(reader.GetState(), CZelMidiReader::STATE_IDLE);
}

TEST(RequestEngine, IdentityReplyMustNameTheTargetModel) {
  CByteArray qz5 = kQzMaxReply;
  qz5[6] = 0x06;
  CByteArray longer = kQzMaxReply;
  longer.insert(longer.end() - 1, 0x05);
  CByteArray shorter = kQzMaxReply;
  shorter.erase(shorter.end() - 2);
  CByteArray otherDevice = kQzMaxReply;
  otherDevice[2] = 0x11;
  struct CCase {
    QZML::EModel model;
    CByteArray reply;
    bool accepted;
  };
  const CCase cases[] = {
      {QZML::MODEL_QZMAX, kQzMaxReply, true},  {QZML::MODEL_QZMAX, qz5, false},   {QZML::MODEL_QZ5, qz5, true},
      {QZML::MODEL_QZ5, kQzMaxReply, false},   {QZML::MODEL_QZMAX, longer, true}, {QZML::MODEL_QZMAX, shorter, false},
      {QZML::MODEL_QZMAX, otherDevice, false},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(&c - cases);
    QZML::CTargetModelScope model(c.model);
    CScriptedReader reader;
    reader.script = [&] { reader.OnExclusive(Universal(c.reply)); };
    EXPECT_EQ(reader.Identify(), c.accepted);
    EXPECT_EQ(reader.port.sent.size(), c.accepted ? 1u : 2u);
    EXPECT_EQ(reader.sink.codes.size(), c.accepted ? 0u : 1u);
  }
}

TEST(RequestEngine, AnAnswerThatCameBeforeTheWaitEndsItWithoutWaiting) {
  // A unit that answers at once can have answered by the time the send returns (the simulated unit
  // answers on the sending thread). The engine must see that at once, not after the next event or the
  // end of the attempt; each pump here would let half a second pass.
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  CScriptedReader reader;
  reader.port.onSend = [&] {
    EXPECT_EQ(reader.GetState(), CZelMidiReader::STATE_WAITING); // armed before the request left
    EXPECT_TRUE(reader.CZelMidiReader::OnDataSet(MakeDataSet(reader.port.GetAddressing(), 0x1000000,
                                                             CByteArray(130, 0x01))));
  };
  const std::uint64_t start = reader.clock.NowMs();
  EXPECT_TRUE(reader.Request(0x1000000, 130));
  EXPECT_EQ(reader.pumps, 0);
  EXPECT_EQ(reader.clock.NowMs(), start);
  EXPECT_EQ(reader.port.sent.size(), 1u);

  reader.port.onSend = [&] { EXPECT_TRUE(reader.OnExclusive(Universal(kQzMaxReply))); };
  EXPECT_TRUE(reader.Identify());
  EXPECT_EQ(reader.pumps, 0);
  EXPECT_EQ(reader.clock.NowMs(), start);
  EXPECT_TRUE(reader.sink.codes.empty());

  // An answer that comes while pumping still ends the wait at the next look.
  reader.port.onSend = nullptr;
  reader.script = [&] { reader.CZelMidiReader::OnDataSet(MakeDataSet(reader.port.GetAddressing(), 0x1000000, CByteArray(130, 0x01))); };
  EXPECT_TRUE(reader.Request(0x1000000, 130));
  EXPECT_EQ(reader.pumps, 1);
}
