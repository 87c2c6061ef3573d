#pragma once
// Shared pieces of the MIDI tests: recorded messages, recording handlers, a scripted backend whose
// input callback the test calls itself, and a fixture over in-process loopback ports.

#include <memory>
#include <string>
#include <vector>

#include "exclusive/longmessage.h"
#include "exclusive/orvanemessage.h"
#include "midi/midiservices.h"
#include "midi/zelmidi.h"
#include "midi/zelmidiin.h"
#include "platform/clock.h"
#include "platform/uidispatch.h"
#include "platform/virtualmidi.h"

struct CRecordingMessageBox : IMidiMessageBox {
  void ShowMidiMessage(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

// A peer that keeps what the program sent; optionally moves a fake clock on each message.
struct CRecordingPeer : QZP::IVirtualMidiPeer {
  void FromProgram(const std::uint8_t* bytes, std::size_t count) override {
    received.emplace_back(bytes, bytes + count);
    if (clock)
      clock->Advance(advanceMs);
  }
  std::vector<QZML::CByteArray> received;
  QZP::CFakeClock* clock = nullptr;
  std::uint64_t advanceMs = 0;
};

struct CRecordingHandler : IZelMidiMessageHandler, IZelMidiRequestHandler {
  bool OnShortMessage(std::uint32_t packed) override {
    shorts.push_back(packed);
    return true;
  }
  bool OnExclusive(const CZelLongMessage& message) override {
    exclusives.push_back(message.GetBytes());
    return true;
  }
  bool OnDataSet(const CZelOrvaneMessage& message) override {
    dataSets.push_back(message.GetBytes());
    return true;
  }
  bool OnIdentityRequest(const CZelLongMessage& message) override {
    identityRequests.push_back(message.GetBytes());
    return true;
  }
  bool OnRequest(const CZelOrvaneMessage& message) override {
    requests.push_back(message.GetBytes());
    return true;
  }
  std::vector<std::uint32_t> shorts;
  std::vector<QZML::CByteArray> exclusives, dataSets, identityRequests, requests;
};

// A logical input that keeps every message it is given, then accepts it as usual.
struct CRecordingInput : CZelMidiIn {
  void Receive(const QZML::CByteArray& bytes) override {
    received.push_back(bytes);
    CZelMidiIn::Receive(bytes);
  }
  std::vector<QZML::CByteArray> received;
};

// One input port "Scripted" whose callback the test drives by hand, as the backend's thread would.
class CScriptedBackend : public QZP::IMidiBackend {
public:
  std::string Name() const override { return "scripted"; }
  std::vector<std::string> InputNames() override { return {"Scripted"}; }
  std::vector<std::string> OutputNames() override { return {}; }
  std::unique_ptr<QZP::IMidiOutPort> OpenOutput(unsigned) override { return nullptr; }
  std::unique_ptr<QZP::IMidiInPort> OpenInput(unsigned index, QZP::IMidiInputCallback* callback) override;
  std::string ErrorText() const override { return "scripted failure"; }

  QZP::IMidiInputCallback* callback = nullptr;
};

// Loopback pairs "Loop A" and "Loop B", a peer pair "Peer", a manual dispatcher and a fake clock.
struct CLoopbackRig {
  CLoopbackRig();
  QZP::CVirtualMidiBackend backend;
  QZP::CManualDispatcher dispatcher;
  QZP::CFakeClock clock;
  CRecordingMessageBox box;
  CRecordingPeer peer;
  CMidiServices services;
};

QZML::CByteArray Bytes(std::initializer_list<int> values);
// A data set of the QZ-MAX with a correct checksum.
QZML::CByteArray DataSet(std::uint8_t deviceId, std::uint32_t address, const QZML::CByteArray& data);
