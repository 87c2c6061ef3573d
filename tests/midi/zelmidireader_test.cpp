// The request engine on its own: a logical output that only records, answers handed in by a scripted
// pump, and a fake clock that the pump moves.

#include <gtest/gtest.h>

#include <functional>

#include "exclusive/longmessage.h"
#include "midi/patchstream.h"
#include "midi/zelmidiout.h"
#include "miditestsupport.h"
#include "textout/textout.h"

using QZML::CByteArray;

namespace {

struct CCountingOut : CZelMidiOut {
  CCountingOut() {
    m_deviceId = 0x10;
    m_modelId = {0x00, 0x00, 0x0B};
  }
  void SendMessage(const CZelLongMessage& message) override {
    sent.push_back(message.GetBytes());
    CZelMidiOut::SendMessage(message);
  }
  void Send(const CZelLongMessage& message) override {
    sent.push_back(message.GetBytes());
    CZelMidiOut::Send(message);
  }
  std::vector<CByteArray> sent;
};

struct CCodes : CZelTextOut {
  void Error(int code) override { codes.push_back(code); }
  std::vector<int> codes;
};

// Each pump first runs the script, then lets half a second pass.
template <class TBase>
struct CScripted : TBase {
  template <class... TArgs>
  explicit CScripted(TArgs&&... args) : TBase(std::forward<TArgs>(args)...) {
    this->SetClock(&clock);
    this->SetPort(&port);
  }
  void Pump() override {
    ++pumps;
    if (script)
      script();
    clock.Advance(500);
  }
  void Reserved() override {}
  void SetAttempts(int attempts) { this->m_attempts = attempts; }

  QZP::CFakeClock clock;
  CCountingOut port;
  std::function<void()> script;
  int pumps = 0;
};
using CEngine = CScripted<CZelMidiReader>;
using CIdentity = CScripted<QZML::CReader>;

CZelOrvaneMessage Answer(std::uint32_t address, std::size_t size) {
  CZelAddressing port;
  port.modelId = {0x00, 0x00, 0x0B};
  return MakeDataSet(port, address, CByteArray(size, 0x01));
}

CZelLongMessage Universal(const CByteArray& bytes) {
  CZelLongMessage message;
  EXPECT_TRUE(message.SetBytes(bytes));
  return message;
}

} // namespace

TEST(RequestEngine, OtherAddressesAndSizesDoNotEndTheWait) {
  CCodes sink;
  CEngine engine(&sink);
  engine.script = [&] {
    EXPECT_FALSE(engine.OnDataSet(Answer(0x1000080, 9)));
    EXPECT_FALSE(engine.OnDataSet(Answer(0x1000100, 8)));
    EXPECT_FALSE(engine.OnExclusive(Universal({0xF0, 0x7E, 0x10, 0x06, 0x02, 0xF7})));
  };
  const std::uint64_t start = engine.clock.NowMs();
  EXPECT_FALSE(engine.Request(0x1000100, 9));
  ASSERT_EQ(engine.port.sent.size(), 2u);
  EXPECT_EQ(engine.port.sent[0], MakeDataRequest(engine.port.GetAddressing(), 0x1000100, 9).GetBytes());
  EXPECT_EQ(engine.port.sent[1], engine.port.sent[0]);
  EXPECT_EQ(sink.codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
  EXPECT_EQ(engine.clock.NowMs() - start, 6000u);
  EXPECT_EQ(engine.pumps, 12);
  EXPECT_EQ(engine.GetState(), CZelMidiReader::STATE_IDLE);

  // Nothing awaited: an answer changes nothing.
  EXPECT_FALSE(engine.OnDataSet(Answer(0x1000100, 9)));
  EXPECT_EQ(engine.GetState(), CZelMidiReader::STATE_IDLE);
}

TEST(RequestEngine, AnAnswerInTheSecondAttemptReportsNothing) {
  CCodes sink;
  CEngine engine(&sink);
  engine.script = [&] {
    if (engine.port.sent.size() == 2) {
      EXPECT_TRUE(engine.OnDataSet(Answer(0x1000100, 9)));
    }
  };
  EXPECT_TRUE(engine.Request(0x1000100, 9));
  EXPECT_EQ(engine.pumps, 7);
  EXPECT_TRUE(sink.codes.empty());
  EXPECT_EQ(engine.GetState(), CZelMidiReader::STATE_IDLE);
}

TEST(RequestEngine, ExchangeEndsAtAUniversalMessageOnly) {
  CCodes sink;
  CEngine engine(&sink);
  const CZelLongMessage request = QZML::IdentityRequest(0x10);
  engine.script = [&] {
    if (engine.pumps == 1) {
      EXPECT_FALSE(engine.OnDataSet(Answer(0x1000000, 1))); // no address is awaited
    } else {
      EXPECT_TRUE(engine.OnExclusive(Universal({0xF0, 0x7E, 0x10, 0x06, 0x02, 0xF7})));
    }
  };
  EXPECT_TRUE(engine.Exchange(request));
  EXPECT_EQ(engine.pumps, 2);
  EXPECT_EQ(engine.port.sent, std::vector<CByteArray>{Bytes({0xF0, 0x7E, 0x10, 0x06, 0x01, 0xF7})});

  // A late universal message does not pass for an awaited data set.
  engine.script = [&] { EXPECT_FALSE(engine.OnExclusive(Universal({0xF0, 0x7E, 0x10, 0x06, 0x02, 0xF7}))); };
  EXPECT_FALSE(engine.Request(0x1000000, 1));
  EXPECT_EQ(sink.codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
}

TEST(RequestEngine, NoAttemptsReportAtOnceAndSendNothing) {
  CCodes sink;
  CEngine engine(&sink);
  engine.SetAttempts(0);
  EXPECT_FALSE(engine.Request(0x1000000, 130));
  EXPECT_TRUE(engine.port.sent.empty());
  EXPECT_EQ(engine.pumps, 0);
  EXPECT_EQ(sink.codes, std::vector<int>{TEXTOUT_ERR_NO_ANSWER});
}

TEST(RequestEngine, WriteSendsADataSetThenPauses) {
  CZelMidiWriter writer;
  QZP::CFakeClock clock;
  CCountingOut port;
  writer.SetClock(&clock);
  EXPECT_TRUE(writer.Write(0x1000900, {0x41, 0x42})); // no port: only the pause
  writer.SetPort(&port);
  EXPECT_TRUE(writer.Write(0x1000900, {0x41, 0x42}));
  EXPECT_EQ(port.sent, std::vector<CByteArray>{MakeDataSet(port.GetAddressing(), 0x1000900, {0x41, 0x42}).GetBytes()});
  EXPECT_EQ(clock.m_sleeps, (std::vector<std::uint32_t>{20, 20}));
}

TEST(RequestEngine, IdentityReplyMustNameTheTargetModel) {
  const CByteArray qzmax = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x0B, 0x02, 0, 0, 0, 0, 0, 0, 0xF7});
  const CByteArray qz5 = Bytes({0xF0, 0x7E, 0x10, 0x06, 0x02, 0x41, 0x06, 0x02, 0, 0, 0, 0, 0, 0, 0xF7});
  CByteArray longer = qzmax;
  longer.insert(longer.end() - 1, 0x05);
  CByteArray shorter = qzmax;
  shorter.erase(shorter.end() - 2);
  CByteArray otherDevice = qzmax;
  otherDevice[2] = 0x11;
  CByteArray notIdentity = qzmax;
  notIdentity[4] = 0x03;

  struct CCase {
    const char* what;
    int model;
    CByteArray reply;
    bool accepted;
  };
  const CCase cases[] = {
      {"QZ-MAX", QZML::MODEL_QZMAX, qzmax, true},    {"QZ-5 for a QZ-MAX", QZML::MODEL_QZMAX, qz5, false},
      {"QZ-5", QZML::MODEL_QZ5, qz5, true},          {"QZ-MAX for a QZ-5", QZML::MODEL_QZ5, qzmax, false},
      {"longer", QZML::MODEL_QZMAX, longer, true},   {"shorter", QZML::MODEL_QZMAX, shorter, false},
      {"device", QZML::MODEL_QZMAX, otherDevice, false}, {"other", QZML::MODEL_QZMAX, notIdentity, false},
  };
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.what);
    QZML::CTargetModelScope model(c.model);
    CCodes sink;
    CIdentity reader(&sink);
    reader.script = [&] { EXPECT_EQ(reader.OnExclusive(Universal(c.reply)), c.accepted); };
    EXPECT_EQ(reader.Identify(), c.accepted);
    EXPECT_EQ(reader.port.sent.size(), c.accepted ? 1u : 2u);
    EXPECT_EQ(sink.codes.size(), c.accepted ? 0u : 1u);
  }
}
