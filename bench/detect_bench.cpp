// Looks for the unit among ten in-process port pairs as the programs do (the Qt dispatcher, the system
// clock, the MIDI input's event thread): once with the unit answering at cable speed on the pair asked
// last and eight silent pairs besides, and once with nobody there. Prints the wall time of each search.

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchrow.h"
#include "midi/unitdetect.h"
#include "platform/qtdispatch.h"
#include "platform/virtualmidi.h"
#include "sim/port/simport.h"
#include "sim/simdevice.h"

namespace {

constexpr int kPairs = 10;
constexpr double kTargetS = 5.0;

struct CSilent : QZP::IVirtualMidiPeer {
  void FromProgram(const std::uint8_t*, std::size_t) override {}
};

// A unit at cable speed that listens on one pair and answers into another, so that the output reaching it
// is not found by its name and is asked last.
struct CCrossedUnit : QZP::IVirtualMidiPeer {
  CCrossedUnit(QZP::CVirtualMidiBackend& backend, const std::string& answerOn)
      : device(MakeSimulatorOptions(QZML::MODEL_QZMAX, 0x10, true)) {
    device.SetOutput([&backend, answerOn](const QZML::CByteArray& message) {
      backend.ToProgram(answerOn, message.data(), message.size());
    });
    device.Start();
  }
  void FromProgram(const std::uint8_t* bytes, std::size_t count) override { device.FromHost(bytes, count); }
  CSimDevice device;
};

struct CTimedSearch {
  double seconds = 0;
  CUnitSearch search;
};

CTimedSearch Search(QZP::IMidiBackend& backend, QZP::IUiDispatcher& dispatcher) {
  CMidiServices services;
  services.backend = &backend;
  services.dispatcher = &dispatcher;
  CUnitDetector detector(services);
  const auto start = std::chrono::steady_clock::now();
  CTimedSearch timed;
  timed.search = detector.Run();
  timed.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return timed;
}

} // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const bool table = argc > 1 && std::strcmp(argv[1], "--table") == 0;
  if (argc > 1 && !table) {
    std::fprintf(stderr, "usage: qz_bench_detect [--table]\n");
    return 2;
  }
  QZP::CQtUiDispatcher dispatcher(&app);
  std::vector<std::unique_ptr<CSilent>> silent;

  // The unit's output comes last; its input is named so that no output looks like it.
  QZP::CVirtualMidiBackend backend;
  for (int i = 0; i < kPairs - 2; ++i) {
    silent.push_back(std::make_unique<CSilent>());
    backend.AddPeer("Silent " + std::to_string(i + 1), silent.back().get());
  }
  backend.AddLoopback("Unit's MIDI Out");
  CCrossedUnit unit(backend, "Unit's MIDI Out");
  backend.AddPeer("Unit's MIDI In", &unit);
  const CTimedSearch found = Search(backend, dispatcher);
  unit.device.Stop();
  const bool foundOne = found.search.units.size() == 1 && found.search.units[0].outPort == "Unit's MIDI In";

  QZP::CVirtualMidiBackend empty;
  for (int i = 0; i < kPairs; ++i) {
    silent.push_back(std::make_unique<CSilent>());
    empty.AddPeer("Silent " + std::to_string(i + 1), silent.back().get());
  }
  const CTimedSearch nobody = Search(empty, dispatcher);

  if (table) {
    PrintBenchRow(Format("Find Unit, %d port pairs, the unit's output asked last", kPairs),
                  foundOne ? Format("%.2f s", found.seconds) : std::string("unit not found"),
                  Format("< %.0f s", kTargetS), Verdict(foundOne && found.seconds < kTargetS));
    PrintBenchRow(Format("Find Unit, %d port pairs, nobody there", kPairs), Format("%.2f s", nobody.seconds),
                  Format("< %.0f s", kTargetS), Verdict(nobody.search.units.empty() && nobody.seconds < kTargetS));
  } else {
    std::printf("unit's output asked last: %.3f s, %s\n", found.seconds, foundOne ? "found" : "NOT FOUND");
    std::printf("nobody there:             %.3f s\n", nobody.seconds);
  }
  return foundOne && nobody.search.units.empty() ? 0 : 1;
}
