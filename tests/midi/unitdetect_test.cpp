// Finding the units on the ports: simulated units and silent ports of the in-process backend, replies
// carried by the ports' threads, time on a fake clock.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

#include "midi/midiout.h"
#include "midi/unitdetect.h"
#include "sim/port/simport.h"
#include "transfertestsupport.h"

using QZML::MODEL_QZ5;
using QZML::MODEL_QZMAX;

namespace {

// A unit that listens on one pair and answers into the input of another, as a unit wired to two
// different interfaces would.
struct CCrossedUnit : QZP::IVirtualMidiPeer {
  CCrossedUnit(QZP::CVirtualMidiBackend& backend, const std::string& answerOn, QZML::EModel model,
               std::uint8_t deviceId)
      : device(MakeSimulatorOptions(model, deviceId, false)) {
    device.SetOutput([this, &backend, answerOn](const QZML::CByteArray& message) {
      if (backend.ToProgram(answerOn, message.data(), message.size()))
        ++delivered;
    });
    device.Start();
  }
  void FromProgram(const std::uint8_t* bytes, std::size_t count) override { device.FromHost(bytes, count); }

  CSimDevice device;
  std::atomic<int> delivered{0};
};

struct CDetectRig {
  CDetectRig() : dispatcher(clock) {
    services.backend = &backend;
    services.dispatcher = &dispatcher;
    services.clock = &clock;
  }

  // A simulated unit behind its own pair.
  void AddUnit(const std::string& name, QZML::EModel model, std::uint8_t deviceId) {
    sims.push_back(std::make_unique<CSimPort>(backend, MakeSimulatorOptions(model, deviceId, false), name));
    CSimPort* sim = sims.back().get();
    delivered.push_back([sim] { return sim->Delivered(); });
  }
  void AddSilent(const std::string& name) {
    silent.push_back(std::make_unique<CRecordingPeer>());
    backend.AddPeer(name, silent.back().get());
  }
  void AddCrossed(const std::string& listensOn, const std::string& answersOn, QZML::EModel model,
                  std::uint8_t deviceId) {
    crossed.push_back(std::make_unique<CCrossedUnit>(backend, answersOn, model, deviceId));
    CCrossedUnit* unit = crossed.back().get();
    backend.AddPeer(listensOn, unit);
    delivered.push_back([unit] { return unit->delivered.load(); });
  }

  int Delivered() const {
    int sent = 0;
    for (const auto& count : delivered)
      sent += count();
    return sent;
  }

  CUnitSearch Run(CUnitDetector& detector) {
    // Nothing is on its way once every answer sent during this search has been taken in.
    const int before = Delivered();
    dispatcher.quiet = [this, &detector, before] { return Delivered() - before == detector.MessagesReceived(); };
    const std::uint64_t start = clock.NowMs();
    CUnitSearch search = detector.Run();
    elapsed = clock.NowMs() - start;
    return search;
  }

  QZP::CVirtualMidiBackend backend;
  QZP::CFakeClock clock;
  CFakeTimeDispatcher dispatcher;
  CMidiServices services;
  std::vector<std::unique_ptr<CSimPort>> sims;
  std::vector<std::unique_ptr<CRecordingPeer>> silent;
  std::vector<std::unique_ptr<CCrossedUnit>> crossed;
  std::vector<std::function<int()>> delivered;
  std::uint64_t elapsed = 0;
};

const QZML::CByteArray kRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
// What sending the request takes on the cable.
const std::uint64_t kSendMs = CMidiOut::TransmissionMs(kRequest.size());

} // namespace

TEST(UnitDetect, FindsEachUnitWithItsModelDeviceIdAndPortsAndNothingOnASilentPort) {
  CDetectRig rig;
  rig.AddUnit(QZP::CVirtualMidiBackend::kSimulatorName, MODEL_QZMAX, 0x10);
  rig.AddSilent("Silent");
  rig.AddUnit("QZ-5 Interface", MODEL_QZ5, 0x02);
  CUnitDetector detector(rig.services);
  CScriptedProgress progress;
  detector.SetProgress(&progress);
  const CUnitSearch search = rig.Run(detector);

  ASSERT_EQ(search.units.size(), 2u);
  EXPECT_EQ(search.units[0], (CFoundUnit{MODEL_QZMAX, 0x10, "QZ-MAX Simulator", "QZ-MAX Simulator"}));
  EXPECT_EQ(search.units[1], (CFoundUnit{MODEL_QZ5, 0x02, "QZ-5 Interface", "QZ-5 Interface"}));
  EXPECT_EQ(DescribeUnit(search.units[1]), "QZ-5, device ID 3, on QZ-5 Interface / QZ-5 Interface");
  EXPECT_EQ(search.inputs, (std::vector<std::string>{"QZ-MAX Simulator", "Silent", "QZ-5 Interface"}));
  EXPECT_EQ(search.outputs, search.inputs);
  EXPECT_TRUE(search.skipped.empty());
  EXPECT_FALSE(search.cancelled);
  // The silent port was asked with everyone else; each unit's own port was then asked alone, and the
  // silent one not again, since both units were tied to their outputs by then.
  EXPECT_EQ(rig.silent[0]->received, std::vector<QZML::CByteArray>{kRequest});
  EXPECT_EQ(rig.sims[0]->Unit().Counters().identityRequests, 2);
  // Of the five requests only the one to the silent port waits for a cable: the simulated units have
  // taken theirs when the send returns.
  EXPECT_EQ(rig.elapsed, CUnitDetector::kWindowMs + 2 * CUnitDetector::kSettleMs + 1 * kSendMs);
  EXPECT_EQ(progress.depth, 0);
  EXPECT_EQ(progress.ranges, std::vector<int>{4});

  // Left out, the built-in unit is neither asked nor listened to.
  CUnitDetector without(rig.services);
  without.LeaveOut(QZP::CVirtualMidiBackend::kSimulatorName);
  const CUnitSearch rest = rig.Run(without);
  ASSERT_EQ(rest.units.size(), 1u);
  EXPECT_EQ(rest.units[0].inPort, "QZ-5 Interface");
  EXPECT_EQ(rest.inputs, (std::vector<std::string>{"Silent", "QZ-5 Interface"}));
  EXPECT_EQ(rig.sims[0]->Unit().Counters().identityRequests, 2);
}

TEST(UnitDetect, TiesAUnitToTheOutputThatReachesItWithinTheBound) {
  CDetectRig rig;
  // The unit listens on "Out Only" and answers on "In Only"; two silent ports and the loopback of "In
  // Only" are asked before its output is found.
  rig.AddSilent("Silent 1");
  rig.backend.AddLoopback("In Only");
  rig.AddSilent("Silent 2");
  rig.AddCrossed("Out Only", "In Only", MODEL_QZMAX, 0x10);
  CUnitDetector detector(rig.services);
  const CUnitSearch search = rig.Run(detector);
  ASSERT_EQ(search.units.size(), 1u);
  EXPECT_EQ(search.units[0], (CFoundUnit{MODEL_QZMAX, 0x10, "In Only", "Out Only"}));
  // Everyone at once, then "In Only" (named like the input that heard it), the two silent ports, and
  // the unit's output; the two requests into the loopback need no cable time.
  EXPECT_EQ(rig.elapsed, 4 * CUnitDetector::kWindowMs + CUnitDetector::kSettleMs + 6 * kSendMs);
  EXPECT_EQ(rig.silent[1]->received.size(), 2u);

  // A unit whose answer to its output alone is lost gets asked again.
  CDetectRig lossy;
  lossy.AddSilent("Silent");
  CSimOptions options = MakeSimulatorOptions(MODEL_QZ5, 0x05, false);
  options.drop = CSimFault::Nth(2);
  lossy.sims.push_back(std::make_unique<CSimPort>(lossy.backend, options, "Lossy"));
  CSimPort* sim = lossy.sims.back().get();
  lossy.delivered.push_back([sim] { return sim->Delivered(); });
  CUnitDetector again(lossy.services);
  const CUnitSearch found = lossy.Run(again);
  ASSERT_EQ(found.units.size(), 1u);
  EXPECT_EQ(found.units[0].outPort, "Lossy");
  EXPECT_EQ(sim->Unit().Counters().identityRequests, 3);
  EXPECT_LE(lossy.elapsed, 4 * (CUnitDetector::kWindowMs + kSendMs));

  // Nobody there: one window.
  CDetectRig empty;
  for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"})
    empty.AddSilent(name);
  CUnitDetector none(empty.services);
  const CUnitSearch nothing = empty.Run(none);
  EXPECT_TRUE(nothing.units.empty());
  EXPECT_EQ(nothing.outputs.size(), 10u);
  EXPECT_EQ(empty.elapsed, CUnitDetector::kWindowMs + 10 * kSendMs);
  EXPECT_EQ(nothing.PortsText(), "Ports tried: in \"A\", \"B\", \"C\", \"D\", \"E\", \"F\", \"G\", \"H\", \"I\", "
                                 "\"J\"; out \"A\", \"B\", \"C\", \"D\", \"E\", \"F\", \"G\", \"H\", \"I\", \"J\".");

  // Ten ports with the unit's output asked last stay well within five seconds.
  CDetectRig ten;
  for (const char* name : {"A", "B", "C", "D", "E", "F", "G", "H"})
    ten.AddSilent(name);
  ten.backend.AddLoopback("Reply");
  ten.AddCrossed("Request", "Reply", MODEL_QZ5, 0x1F);
  CUnitDetector last(ten.services);
  ASSERT_EQ(ten.Run(last).units.size(), 1u);
  EXPECT_LE(ten.elapsed, 11 * (CUnitDetector::kWindowMs + kSendMs));
  EXPECT_LT(ten.elapsed, 5000u);
}

TEST(UnitDetect, SkipsAndNamesABusyPortAndStopsOnCancel) {
  CDetectRig rig;
  rig.AddUnit("Unit", MODEL_QZMAX, 0x10);
  rig.AddSilent("Busy");
  struct : QZP::IMidiInputCallback {
    void MidiInputShort(std::uint32_t) override {}
    void MidiInputLong(const std::uint8_t*, std::size_t) override {}
  } elsewhere;
  std::unique_ptr<QZP::IMidiInPort> held = rig.backend.OpenInput(1, &elsewhere);
  ASSERT_TRUE(held);
  CUnitDetector detector(rig.services);
  const CUnitSearch search = rig.Run(detector);
  ASSERT_EQ(search.units.size(), 1u);
  EXPECT_EQ(search.units[0].inPort, "Unit");
  ASSERT_EQ(search.skipped.size(), 1u);
  EXPECT_TRUE(search.skipped[0].input);
  EXPECT_EQ(search.skipped[0].name, "Busy");
  EXPECT_EQ(search.skipped[0].reason, "The MIDI input port \"Busy\" is already in use.");
  EXPECT_EQ(search.inputs, std::vector<std::string>{"Unit"});
  EXPECT_EQ(search.outputs, (std::vector<std::string>{"Unit", "Busy"}));
  EXPECT_EQ(search.PortsText(), "Ports tried: in \"Unit\"; out \"Unit\", \"Busy\". Could not be opened (in use by "
                                "another program?): in \"Busy\".");

  // Cancel while the first output is asked alone: what was tied so far, and every port closed again.
  held.reset();
  rig.AddCrossed("Late", "Busy", MODEL_QZ5, 0x00);
  CUnitDetector cancelled(rig.services);
  CScriptedProgress progress;
  progress.cancelAt = 1;
  cancelled.SetProgress(&progress);
  const CUnitSearch partial = rig.Run(cancelled);
  EXPECT_TRUE(partial.cancelled);
  EXPECT_LE(partial.units.size(), 1u);
  EXPECT_EQ(progress.depth, 0);
  EXPECT_TRUE(rig.backend.OpenInput(0, &elsewhere)) << "the search left an input open";
}
