#pragma once
// Finds the units on the MIDI ports. The universal identity request (to every device, 0x7F) goes out on
// every output port while every input port listens; each reply of the QZ-MAX or the QZ-5 names the
// model and the unit's device ID, and the input it came in on. Then the outputs are asked one at a time,
// until every unit heard is tied to the output that reaches it. Each wait is bounded (kWindowMs per
// request), the whole search by kWindowMs for each output and two more (sending aside), measured on
// the services' clock. Ports that cannot be opened (another program holds them) are skipped and named; they never
// fail the search.
//
// Runs on the user-interface thread; the replies arrive through the services' dispatcher. The ports it
// searches must not be held by the MIDI environment meanwhile (an in-process input opens only once).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/midiservices.h"
#include "midi/zelprogressbar.h"
#include "model/targetmodel.h"

class CMidiOutDevice;

struct CFoundUnit {
  QZML::EModel model = QZML::MODEL_QZMAX;
  std::uint8_t deviceId = 0; // as on the wire; users count from 1 (0x10 is "17")
  std::string inPort;        // port names as the MIDI system lists them
  std::string outPort;

  bool operator==(const CFoundUnit& other) const {
    return model == other.model && deviceId == other.deviceId && inPort == other.inPort && outPort == other.outPort;
  }
};

// "QZ-MAX, device ID 17, on <in> / <out>"
std::string DescribeUnit(const CFoundUnit& unit);

struct CSkippedPort {
  bool input = true;
  std::string name;
  std::string reason; // the MIDI system's words
};

struct CUnitSearch {
  std::vector<CFoundUnit> units;     // in the order the outputs were asked
  std::vector<std::string> inputs;   // the ports listened on
  std::vector<std::string> outputs;  // the ports the request went out on
  std::vector<CSkippedPort> skipped; // ports that could not be opened
  bool cancelled = false;

  // "Ports tried: in A, B; out C. Not opened (in use?): in D." for the messages of a search without result.
  std::string PortsText() const;
};

class CUnitDetector {
public:
  static constexpr int kWindowMs = 300; // the longest wait for the replies to one request
  static constexpr int kSettleMs = 50;  // after a reply, the wait for further units on the same output

  // services: the MIDI system, the dispatcher and the clock to wait on; its message box is not used
  // (a port that will not open is reported in the result).
  explicit CUnitDetector(const CMidiServices& services);
  ~CUnitDetector();
  CUnitDetector(const CUnitDetector&) = delete;
  CUnitDetector& operator=(const CUnitDetector&) = delete;

  // Shows the search and is asked for Cancel while it waits; null for none. Not owned.
  void SetProgress(CZelProgressBar* progress) { m_progress = progress; }
  // A port of this name (in either direction) is not searched.
  void LeaveOut(const std::string& name) { m_leaveOut.push_back(name); }

  CUnitSearch Run();

  // Universal exclusive messages the inputs have delivered so far (tests wait for them).
  int MessagesReceived() const { return m_received; }

private:
  struct CInput;
  // Keeps the port layer's last message: why a port did not open.
  struct CReasons : IMidiMessageBox {
    void ShowMidiMessage(const std::string& text) override { last = text; }
    std::string last;
  };
  struct CReply {
    QZML::EModel model;
    std::uint8_t deviceId;
    std::size_t input;
  };

  void OnReply(std::size_t input, const std::vector<std::uint8_t>& bytes);
  void OpenPorts(const std::vector<std::string>& inNames, const std::vector<std::string>& outNames,
                 CUnitSearch& result);
  void ClosePorts();
  bool Send(std::size_t output);
  // Lets the replies in until windowMs have passed (or, with settle, kSettleMs after the latest reply).
  void Wait(bool settle, int windowMs);
  bool Cancelled();

  CMidiServices m_services;
  CReasons m_reasons;
  CZelProgressBar* m_progress = nullptr;
  std::vector<std::string> m_leaveOut;
  std::vector<std::unique_ptr<CInput>> m_inputs;
  std::vector<std::unique_ptr<CMidiOutDevice>> m_outputs;
  std::vector<CReply> m_replies;
  std::uint64_t m_lastReplyAt = 0;
  bool m_cancelled = false;
  int m_received = 0;
};
