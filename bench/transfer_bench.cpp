// Reads and writes the user patches of the built-in simulated unit at cable speed, through the same path
// the programs take: logical ports, CMidiOut and CMidiIn with its event thread, the request engine, the
// user-interface dispatcher and the system clock. For each transfer it prints the wall time, the least
// time the same traffic can take on a MIDI cable, and the processor time the process spent meanwhile.
//
// With --no-cable the unit answers at once (a unit on USB, the simulated unit of the programs): then the
// program's own time per exchange is the limit, and the figures are that time, the write's time against
// the unit's pauses alone, and the processor time while a silent unit is waited for.

#include <QCoreApplication>

#include <dirent.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchrow.h"
#include "midi/midienvironment.h"
#include "midi/midiindevice.h"
#include "midi/patchstream.h"
#include "midi/stack/midistack.h"
#include "model/parameteraddress.h"
#include "platform/qtdispatch.h"
#include "platform/uidispatch.h"
#include "platform/virtualmidi.h"
#include "sim/port/simport.h"
#include "sim/simrunner.h"
#include "textout/textout.h"
#include "tests/support/patchfill.h"

namespace {

struct COptions {
  int patches = 200;
  std::int64_t answerDelayUs = 1000;
  bool qtDispatcher = true;
  bool table = false;
  bool noCable = false;
};

void Usage() {
  std::fprintf(stderr,
               "usage: qz_bench_transfer [--patches N] [--answer-delay-us US] [--dispatcher qt|manual] [--no-cable]\n"
               "                         [--table]\n"
               "  Reads N user patches (default 200) from the simulated QZ-MAX at cable speed, then writes N.\n"
               "  --no-cable: the unit answers at once; reads all 200 and 20 patches, writes N (manual dispatcher\n"
               "  only), and waits for a silent unit.\n"
               "  --table prints tab-separated rows (figure, measured, target, verdict) for tools/bench.\n");
}

bool ParseOptions(int argc, char** argv, COptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--patches" && hasValue) {
      options.patches = std::atoi(argv[++i]);
    } else if (arg == "--answer-delay-us" && hasValue) {
      options.answerDelayUs = std::atoll(argv[++i]);
    } else if (arg == "--dispatcher" && hasValue) {
      const std::string value = argv[++i];
      if (value != "qt" && value != "manual")
        return false;
      options.qtDispatcher = value == "qt";
    } else if (arg == "--table") {
      options.table = true;
    } else if (arg == "--no-cable") {
      options.noCable = true;
    } else {
      return false;
    }
  }
  return options.patches >= 1 && options.patches <= 200 && options.answerDelayUs >= 0;
}

// What crossed the cable in each direction, counted where the messages enter and leave the program.
std::int64_t NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct CTraffic {
  struct CSent {
    std::int64_t atUs;
    std::int64_t bytes;
    bool dataSet;
  };

  std::atomic<std::int64_t> hostBytes{0}, hostMessages{0}, dataSetsSent{0};
  std::int64_t unitBytes = 0, unitMessages = 0;
  std::vector<CSent> sent;     // on the sending thread, the user-interface thread here
  std::vector<CSent> received; // on the user-interface thread, when logical input 0 got it

  void Reset() {
    hostBytes = hostMessages = dataSetsSent = 0;
    unitBytes = unitMessages = 0;
    sent.clear();
    sent.reserve(16384);
    received.clear();
    received.reserve(16384);
  }

  // Where a conversation loses time, per exchange of a request and its answer: from the moment the
  // answer's last byte was due at the host to its arrival at logical input 0 (the unit's own timing, the
  // input's event thread and the hop to the user-interface thread), and from there to the start of the
  // next request (the program's own work). Medians and 99th percentiles in microseconds.
  struct CLosses {
    double deliveryMedian = 0, delivery99 = 0, turnaroundMedian = 0, turnaround99 = 0, totalS = 0;
    std::size_t exchanges = 0;
  };
  CLosses Losses(std::int64_t answerDelayUs) const {
    CLosses losses;
    std::vector<double> delivery, turnaround;
    if (dataSetsSent.load() > 0)
      return losses; // a write: only its identity check is a conversation
    const std::size_t count = std::min(sent.size(), received.size());
    for (std::size_t i = 0; i < count; ++i) {
      const std::int64_t due = sent[i].atUs + (sent[i].bytes + received[i].bytes) * kSimByteTimeUs + answerDelayUs;
      delivery.push_back(static_cast<double>(received[i].atUs - due));
      if (i + 1 < sent.size())
        turnaround.push_back(static_cast<double>(sent[i + 1].atUs - received[i].atUs));
    }
    auto quantile = [](std::vector<double> values, double q) {
      if (values.empty())
        return 0.0;
      std::size_t k = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1));
      std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
      return values[k];
    };
    losses.exchanges = delivery.size();
    losses.deliveryMedian = quantile(delivery, 0.5);
    losses.delivery99 = quantile(delivery, 0.99);
    losses.turnaroundMedian = quantile(turnaround, 0.5);
    losses.turnaround99 = quantile(turnaround, 0.99);
    for (double value : delivery)
      losses.totalS += value * 1e-6;
    for (double value : turnaround)
      losses.totalS += value * 1e-6;
    return losses;
  }

  // The shortest silence on the host->unit line after a data set had arrived at the unit and before the
  // next message started: the time the unit really had to store it. -1 when no data set was followed by
  // another message.
  double LeastQuietAfterDataSetMs() const {
    double least = -1;
    std::int64_t lineFree = 0;
    for (std::size_t i = 0; i < sent.size(); ++i) {
      const std::int64_t start = std::max(sent[i].atUs, lineFree);
      if (i > 0 && sent[i - 1].dataSet) {
        const double quiet = static_cast<double>(start - lineFree) / 1000.0;
        if (least < 0 || quiet < least)
          least = quiet;
      }
      lineFree = start + sent[i].bytes * kSimByteTimeUs;
    }
    return least;
  }
};

// Sits behind logical input 0 beside the device reader and counts what the unit sent.
struct CCountingInput : CZelMidiIn {
  explicit CCountingInput(CTraffic& traffic) : m_traffic(traffic) {}
  void Receive(const QZML::CByteArray& bytes) override {
    m_traffic.unitBytes += static_cast<std::int64_t>(bytes.size());
    ++m_traffic.unitMessages;
    m_traffic.received.push_back({NowUs(), static_cast<std::int64_t>(bytes.size()), false});
  }
  CTraffic& m_traffic;
};

double Seconds(const timespec& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9; }

double ClockSeconds(clockid_t id) {
  timespec t{};
  clock_gettime(id, &t);
  return Seconds(t);
}

// The threads of this process, as the system numbers them.
std::vector<long> ThreadIds() {
  std::vector<long> ids;
  if (DIR* tasks = opendir("/proc/self/task")) {
    while (dirent* entry = readdir(tasks))
      if (entry->d_name[0] != '.')
        ids.push_back(std::atol(entry->d_name));
    closedir(tasks);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

std::vector<long> NewSince(const std::vector<long>& before) {
  std::vector<long> now = ThreadIds(), added;
  std::set_difference(now.begin(), now.end(), before.begin(), before.end(), std::back_inserter(added));
  return added;
}

// Processor seconds of one thread of this process (Linux names a thread's clock by its id).
double ThreadSeconds(long id) {
  const auto clock = static_cast<clockid_t>((~static_cast<unsigned>(id) << 3) | 6u);
  timespec t{};
  return clock_gettime(clock, &t) == 0 ? Seconds(t) : 0.0;
}

long VoluntarySwitches(long id) {
  std::ifstream status("/proc/self/task/" + std::to_string(id) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0)
      return std::atol(line.c_str() + 24);
  return 0;
}

// Which threads belong to the simulated unit; the rest (the user-interface thread, the MIDI input's event
// thread) are the program's.
struct CThreads {
  std::vector<long> unit;
};

struct CSample {
  double wall = 0, process = 0, uiThread = 0, unit = 0;
  long voluntarySwitches = 0, unitSwitches = 0;

  static CSample Now(const CThreads& threads) {
    CSample sample;
    sample.wall = ClockSeconds(CLOCK_MONOTONIC);
    sample.process = ClockSeconds(CLOCK_PROCESS_CPUTIME_ID);
    sample.uiThread = ClockSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (long id : threads.unit) {
      sample.unit += ThreadSeconds(id);
      sample.unitSwitches += VoluntarySwitches(id);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    sample.voluntarySwitches = usage.ru_nvcsw;
    return sample;
  }
};

struct CResult {
  std::string name;
  bool ok = false;
  double wall = 0, minimum = 0, process = 0, uiThread = 0, unit = 0, leastQuietMs = -1;
  CTraffic::CLosses losses;
  long switches = 0, unitSwitches = 0;
  std::int64_t hostBytes = 0, unitBytes = 0, hostMessages = 0, unitMessages = 0;
};

// The least time the counted traffic takes: every byte at 320 us on its line, each answer after the
// unit's answer delay, and the pause after each data set. Requests and answers cannot overlap, since each
// request waits for its answer; a data set and its pause cannot either.
double MinimumSeconds(const CTraffic& traffic, std::int64_t answerDelayUs) {
  const double bytes = static_cast<double>(traffic.hostBytes.load() + traffic.unitBytes);
  return (bytes * kSimByteTimeUs + static_cast<double>(traffic.unitMessages * answerDelayUs)) * 1e-6 +
         static_cast<double>(traffic.dataSetsSent.load()) * CZelMidiWriter::kPauseMs * 1e-3;
}

template <class TTransfer>
CResult Measure(const char* name, CTraffic& traffic, const CThreads& threads, std::int64_t answerDelayUs,
                TTransfer transfer) {
  traffic.Reset();
  CResult result;
  result.name = name;
  const CSample before = CSample::Now(threads);
  result.ok = transfer();
  const CSample after = CSample::Now(threads);
  result.wall = after.wall - before.wall;
  result.process = after.process - before.process;
  result.uiThread = after.uiThread - before.uiThread;
  result.switches = after.voluntarySwitches - before.voluntarySwitches;
  result.unit = after.unit - before.unit;
  result.unitSwitches = after.unitSwitches - before.unitSwitches;
  result.minimum = MinimumSeconds(traffic, answerDelayUs);
  result.hostBytes = traffic.hostBytes;
  result.unitBytes = traffic.unitBytes;
  result.hostMessages = traffic.hostMessages;
  result.unitMessages = traffic.unitMessages;
  result.leastQuietMs = traffic.LeastQuietAfterDataSetMs();
  result.losses = traffic.Losses(answerDelayUs);
  return result;
}

std::string LoadAverage() {
  std::ifstream file("/proc/loadavg");
  std::string one, five, fifteen;
  file >> one >> five >> fifteen;
  return file ? one + " " + five + " " + fifteen : std::string("unknown");
}

void PrintResults(const std::vector<CResult>& results, const COptions& options) {
  if (options.table) {
    for (const CResult& r : results) {
      const double ratio = r.wall / r.minimum;
      const double cpu = 100.0 * r.process / r.wall;
      PrintBenchRow(r.name + " at cable speed: wall / least possible",
                    r.ok ? Format("%.2f s / %.2f s = %.3f", r.wall, r.minimum, ratio) : std::string("failed"),
                    "ratio <= 1.05", Verdict(r.ok && ratio <= 1.05));
      PrintBenchRow(r.name + ": processor time / wall",
                    Format("%.2f %% in all: program %.2f %% (UI thread %.2f %%), simulated unit %.2f %%", cpu,
                           100.0 * (r.process - r.unit) / r.wall, 100.0 * r.uiThread / r.wall,
                           100.0 * r.unit / r.wall),
                    "<= 5 % of one core", Verdict(r.ok && cpu <= 5.0));
      PrintBenchRow(r.name + ": thread wake-ups per second",
                    Format("program %.0f, simulated unit %.0f",
                           static_cast<double>(r.switches - r.unitSwitches) / r.wall,
                           static_cast<double>(r.unitSwitches) / r.wall),
                    "-", "note");
      if (r.losses.exchanges > 0)
        PrintBenchRow(r.name + ": time lost per exchange, median (99th percentile)",
                      Format("answer to UI thread %.0f us (%.0f), UI thread to next request %.0f us (%.0f)",
                             r.losses.deliveryMedian, r.losses.delivery99, r.losses.turnaroundMedian,
                             r.losses.turnaround99),
                      "-", "note");
      if (r.leastQuietMs >= 0)
        PrintBenchRow(r.name + ": least quiet on the unit's line after a data set", Format("%.1f ms", r.leastQuietMs),
                      Format("%u ms pause", CZelMidiWriter::kPauseMs),
                      r.leastQuietMs + 0.5 >= CZelMidiWriter::kPauseMs ? "met" : "note");
    }
    return;
  }
  std::printf("answer delay %lld us, %s dispatcher\n", static_cast<long long>(options.answerDelayUs),
              options.qtDispatcher ? "Qt event loop" : "manual");
  std::printf("%-20s %8s %8s %6s %6s %6s %6s %9s %8s  %s\n", "transfer", "wall s", "min s", "ratio", "CPU %",
              "UI %", "unit %", "wakeups/s", "quiet ms", "bytes out/in");
  for (const CResult& r : results)
    std::printf("%-20s %8.2f %8.2f %6.3f %6.2f %6.2f %6.2f %9.0f %8.1f  %lld/%lld%s\n", r.name.c_str(), r.wall,
                r.minimum, r.wall / r.minimum, 100.0 * r.process / r.wall, 100.0 * r.uiThread / r.wall,
                100.0 * r.unit / r.wall, static_cast<double>(r.switches) / r.wall, r.leastQuietMs,
                static_cast<long long>(r.hostBytes), static_cast<long long>(r.unitBytes), r.ok ? "" : "  FAILED");
  for (const CResult& r : results)
    if (r.losses.exchanges > 0)
      std::printf("%s: per exchange, answer due -> UI thread median %.0f us (99%% %.0f), UI thread -> next request "
                  "median %.0f us (99%% %.0f); %.2f s lost in all\n",
                  r.name.c_str(), r.losses.deliveryMedian, r.losses.delivery99, r.losses.turnaroundMedian,
                  r.losses.turnaround99, r.losses.totalS);
}

// The system clock, noting how much longer than asked each sleep took: on a busy machine a thread woken
// from a sleep waits for a processor, which no program can help, and the write's figure shows apart what
// the program itself adds to the unit's pauses.
class CMeasuringClock : public QZP::IClock {
public:
  std::uint64_t NowMs() override { return QZP::SystemClock().NowMs(); }
  void SleepMs(std::uint32_t ms) override {
    const std::int64_t start = NowUs();
    QZP::SystemClock().SleepMs(ms);
    overshootUs += NowUs() - start - static_cast<std::int64_t>(ms) * 1000;
    ++sleeps;
  }
  std::int64_t overshootUs = 0;
  long sleeps = 0;
};

// The figures of a unit that answers at once. The reads and the silent unit are measured on the dispatcher
// of the options; a write pumps no events, so it is measured on the manual one only.
struct CFastResults {
  CResult read200, read20, write, silent;
  bool wrote = false;
  double writeOvershootS = 0; // what the write's sleeps took beyond the time asked
};

void PrintFastResults(const CFastResults& f, const COptions& options) {
  const char* path = options.qtDispatcher ? "the windowed program's event loop (no window)" : "qzml's path";
  const double perExchange200 =
      f.read200.unitMessages > 0 ? f.read200.wall * 1e6 / static_cast<double>(f.read200.unitMessages) : 0;
  const double perExchange20 =
      f.read20.unitMessages > 0 ? f.read20.wall * 1e6 / static_cast<double>(f.read20.unitMessages) : 0;
  const double silentCpu = 100.0 * f.silent.process / f.silent.wall;
  if (options.table) {
    PrintBenchRow(Format("Read 200 patches, no cable, %s", path),
                  f.read200.ok ? Format("%.2f s (CPU %.2f s), %.0f us per exchange", f.read200.wall, f.read200.process,
                                        perExchange200)
                               : std::string("failed"),
                  "<= 3 s", Verdict(f.read200.ok && f.read200.wall <= 3.0));
    PrintBenchRow(Format("Read 20 patches, no cable, %s", path),
                  f.read20.ok ? Format("%.3f s, %.0f us per exchange (%.3f of the 200-patch read)", f.read20.wall,
                                       perExchange20, f.read20.wall / f.read200.wall)
                              : std::string("failed"),
                  "<= 0.3 s", Verdict(f.read20.ok && f.read20.wall <= 0.3));
    if (f.wrote) {
      const double dataSets = static_cast<double>(f.write.hostMessages - 1);
      const double pauses = dataSets * CZelMidiWriter::kPauseMs * 1e-3;
      const double ratio = f.write.wall / pauses;
      const double ownUs = (f.write.wall - pauses - f.writeOvershootS) * 1e6 / dataSets;
      PrintBenchRow(Format("Write %d patches, no cable: wall / the unit's pauses alone", options.patches),
                    f.write.ok ? Format("%.2f s / %.2f s = %.4f (%.0f us per data set beyond the pause)", f.write.wall,
                                        pauses, ratio, (f.write.wall - pauses) * 1e6 / dataSets)
                               : std::string("failed"),
                    "ratio <= 1.02", Verdict(f.write.ok && ratio <= 1.02));
      PrintBenchRow("That write: the program's own time per data set, beyond the pause and the system's lateness "
                    "in ending it",
                    Format("%.0f us (the pauses ended %.0f us late on average)", ownUs,
                           f.writeOvershootS * 1e6 / dataSets),
                    "<= 400 us (2 % of 20 ms)", Verdict(f.write.ok && ownUs <= 400));
    }
    PrintBenchRow(Format("Waiting for a silent unit (two attempts of 3 s), %s: processor time / wall", path),
                  Format("%.3f %% of %.2f s (UI thread %.3f %%); %.0f thread wake-ups per second", silentCpu,
                         f.silent.wall, 100.0 * f.silent.uiThread / f.silent.wall,
                         static_cast<double>(f.silent.switches) / f.silent.wall),
                  "<= 5 % of one core", Verdict(silentCpu <= 5.0));
    return;
  }
  std::printf("no cable, %s\n", path);
  std::printf("read 200: %.3f s (CPU %.3f s), %.0f us per exchange, %lld answers%s\n", f.read200.wall,
              f.read200.process, perExchange200, static_cast<long long>(f.read200.unitMessages),
              f.read200.ok ? "" : "  FAILED");
  std::printf("read 20:  %.3f s, %.0f us per exchange%s\n", f.read20.wall, perExchange20, f.read20.ok ? "" : "  FAILED");
  if (f.wrote)
    std::printf("write %d: %.2f s for %lld data sets (%.2f s of pauses, which ended %.2f s late in all)%s\n",
                options.patches, f.write.wall, static_cast<long long>(f.write.hostMessages - 1),
                static_cast<double>(f.write.hostMessages - 1) * CZelMidiWriter::kPauseMs * 1e-3, f.writeOvershootS,
                f.write.ok ? "" : "  FAILED");
  std::printf("silent unit: %.2f s, CPU %.3f %% (UI thread %.3f %%), %.0f wake-ups/s\n", f.silent.wall, silentCpu,
              100.0 * f.silent.uiThread / f.silent.wall, static_cast<double>(f.silent.switches) / f.silent.wall);
}

} // namespace

int main(int argc, char** argv) {
  COptions options;
  if (!ParseOptions(argc, argv, options)) {
    Usage();
    return 2;
  }
  QCoreApplication app(argc, argv);
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);

  QZP::CQtUiDispatcher qtDispatcher(&app);
  QZP::CManualDispatcher manualDispatcher;
  QZP::IUiDispatcher& dispatcher =
      options.qtDispatcher ? static_cast<QZP::IUiDispatcher&>(qtDispatcher) : manualDispatcher;

  // The unit: cable speed on, a small answer delay, known patches in memory; or answering at once.
  CTraffic traffic;
  CMeasuringClock clock;
  CMidiStack stack;
  CSimOptions unitOptions = MakeSimulatorOptions(QZML::MODEL_QZMAX, 0x10, !options.noCable);
  unitOptions.answerDelayUs = options.noCable ? 0 : options.answerDelayUs;
  CSimPort* sim = stack.AddSimulator(unitOptions);
  if (!sim) {
    std::fprintf(stderr, "qz_bench_transfer: the simulated unit could not be installed\n");
    return 1;
  }
  sim->Stop();
  QZML::CPatchArray original;
  original.Resize(200);
  for (int i = 0; i < 200; ++i)
    FillPatch(*original.Get(i), 1000u + static_cast<unsigned>(i), "Unit " + std::to_string(i));
  sim->Unit().LoadUserPatches(original);
  sim->SetMonitor([&traffic](const std::uint8_t* bytes, std::size_t count) {
    traffic.hostBytes += static_cast<std::int64_t>(count);
    ++traffic.hostMessages;
    const bool dataSet = count > 6 && bytes[1] == 0x41 && bytes[6] == 0x12;
    if (dataSet)
      ++traffic.dataSetsSent;
    traffic.sent.push_back({NowUs(), static_cast<std::int64_t>(count), dataSet});
  });
  const std::vector<long> beforeUnit = ThreadIds();
  sim->Start();
  CThreads threads;
  threads.unit = NewSince(beforeUnit);

  CMidiMessageBoxStderr portMessages;
  stack.Start(dispatcher, &portMessages, nullptr, &clock);
  stack.PreparePorts(QZML::MODEL_QZMAX);
  stack.SetTextOuts(new CZelTextOutBuffer, new CZelTextOutBuffer);
  stack.ConnectUnit(QZP::CVirtualMidiBackend::kSimulatorName, QZP::CVirtualMidiBackend::kSimulatorName, 0x10);
  CMidiEnvironment& environment = stack.Environment();
  CCountingInput counter(traffic);
  environment.InDevices()[0]->Attach(&counter);

  CPumpingReader reader;
  QZML::CWriter writer;
  reader.Bind(environment);
  writer.Bind(environment);
  writer.SetReader(&reader);

  QZML::CPatchList numbers;
  for (int i = 0; i < options.patches; ++i)
    numbers.push_back(i);

  std::fprintf(stderr, "load average before: %s\n", LoadAverage().c_str());
  if (options.noCable) {
    CFastResults fast;
    QZML::CPatchArray read;
    read.Resize(200);
    QZML::CPatchList all, first20;
    for (int i = 0; i < 200; ++i)
      all.push_back(i);
    for (int i = 0; i < 20; ++i)
      first20.push_back(i);
    auto readAndCheck = [&](const char* name, const QZML::CPatchList& rows) {
      CResult result = Measure(name, traffic, threads, 0, [&] { return reader.ReadPatches(QZML::AREA_USER, rows, &read); });
      for (int i : rows)
        result.ok = result.ok && FirstDifferingBlock(*read.Get(i), *original.Get(i), QZML::CParameterAddress::IsRead).empty();
      return result;
    };
    std::fprintf(stderr, "reading 200 and 20 patches without a cable...\n");
    fast.read200 = readAndCheck("Read 200", all);
    fast.read20 = readAndCheck("Read 20", first20);
    if (!options.qtDispatcher) {
      QZML::CPatchArray written;
      written.Resize(200);
      for (int i = 0; i < 200; ++i)
        FillPatch(*written.Get(i), 5000u + static_cast<unsigned>(i), "Host " + std::to_string(i));
      std::fprintf(stderr, "writing %d patches without a cable (about %d s)...\n", options.patches,
                   options.patches * 35 * 20 / 1000);
      const std::int64_t overshootBefore = clock.overshootUs;
      fast.write = Measure("Write", traffic, threads, 0, [&] { return writer.WritePatches(QZML::AREA_USER, numbers, &written); });
      fast.writeOvershootS = static_cast<double>(clock.overshootUs - overshootBefore) * 1e-6;
      fast.wrote = true;
      sim->Stop();
      QZML::CPatchArray stored;
      sim->Unit().SaveUserPatches(stored);
      for (int i = 0; i < options.patches && fast.write.ok; ++i)
        fast.write.ok = FirstDifferingBlock(*stored.Get(i), *written.Get(i), QZML::CParameterAddress::IsWritten).empty();
      sim->Start();
    }
    // A silent unit: both attempts of the identity check run out.
    std::fprintf(stderr, "waiting for a silent unit...\n");
    sim->Stop();
    CSimOptions silentOptions = unitOptions;
    silentOptions.drop = CSimFault::Always();
    sim->Unit().SetOptions(silentOptions);
    sim->Start();
    fast.silent = Measure("Silent", traffic, threads, 0, [&] { return !reader.Identify(); });
    std::fprintf(stderr, "load average after: %s\n", LoadAverage().c_str());
    stack.Teardown();
    PrintFastResults(fast, options);
    return fast.read200.ok && fast.read20.ok && fast.silent.ok && (!fast.wrote || fast.write.ok) ? 0 : 1;
  }
  std::vector<CResult> results;
  const std::string count = std::to_string(options.patches);

  QZML::CPatchArray read;
  read.Resize(200);
  std::fprintf(stderr, "reading %d patches...\n", options.patches);
  results.push_back(Measure(("Read " + count + " patches").c_str(), traffic, threads, options.answerDelayUs,
                            [&] { return reader.ReadPatches(QZML::AREA_USER, numbers, &read); }));
  for (int i = 0; i < options.patches && results.back().ok; ++i)
    results.back().ok = FirstDifferingBlock(*read.Get(i), *original.Get(i), QZML::CParameterAddress::IsRead).empty();

  QZML::CPatchArray written;
  written.Resize(200);
  for (int i = 0; i < 200; ++i)
    FillPatch(*written.Get(i), 5000u + static_cast<unsigned>(i), "Host " + std::to_string(i));
  std::fprintf(stderr, "writing %d patches...\n", options.patches);
  results.push_back(Measure(("Write " + count + " patches").c_str(), traffic, threads, options.answerDelayUs,
                            [&] { return writer.WritePatches(QZML::AREA_USER, numbers, &written); }));
  // The unit has taken every data set once its line is quiet; its memory is looked at while it is off.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  sim->Stop();
  QZML::CPatchArray stored;
  sim->Unit().SaveUserPatches(stored);
  for (int i = 0; i < options.patches && results.back().ok; ++i)
    results.back().ok = FirstDifferingBlock(*stored.Get(i), *written.Get(i), QZML::CParameterAddress::IsWritten).empty();
  std::fprintf(stderr, "load average after: %s\n", LoadAverage().c_str());

  stack.Teardown();

  PrintResults(results, options);
  for (const CResult& r : results)
    if (!r.ok)
      return 1;
  return 0;
}
