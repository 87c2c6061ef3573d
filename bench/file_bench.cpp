// In-process figures of the file work a user waits for: a large library file saved and loaded (through
// memory streams, and through a real file with the atomic save), patches exported to and imported
// from a Standard MIDI File, and the duplicates of a large library found.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "bench/benchrow.h"
#include "midi/patchstream.h"
#include "midi/zelmidiout.h"
#include "model/filedocument.h"
#include "model/patchcompare.h"
#include "textout/textout.h"

namespace {

constexpr int kLibraryPatches = 10000;
constexpr int kUnitPatches = 200;

void FillPatch(QZML::CPatch& patch, std::minstd_rand& random, int number) {
  for (int i = 0; i < QZML::kPatchImageSize; ++i)
    patch.Image()[i] = static_cast<std::uint8_t>(random() & 0x7F);
  patch.SetName("Patch " + std::to_string(number));
  patch.SetMemo(0, "Memo of patch " + std::to_string(number));
}

// A library of count patches with random contents and a memo each, as a user collects them.
void FillLibrary(QZML::CFileDocument& document, int count) {
  QZML::CPatchArray& patches = document.m_current.m_patches;
  patches.Clear();
  std::minstd_rand random(1);
  for (int i = 0; i < count; ++i) {
    auto patch = std::make_unique<QZML::CPatch>();
    FillPatch(*patch, random, i);
    patches.Add(std::move(patch));
  }
}

std::string SavedLibrary(int count) {
  QZML::CFileDocument document;
  FillLibrary(document, count);
  std::ostringstream out(std::ios::binary);
  document.Save(out);
  return out.str();
}

// A scratch folder for the real files, removed at exit.
class CScratch {
public:
  CScratch() {
    char folder[] = "/tmp/qz-bench-XXXXXX";
    if (mkdtemp(folder))
      m_folder = folder;
  }
  ~CScratch() {
    std::remove(Path("library.qzl").c_str());
    std::remove(Path("flush.bin").c_str());
    if (!m_folder.empty())
      rmdir(m_folder.c_str());
  }
  std::string Path(const char* name) const { return m_folder + "/" + name; }

private:
  std::string m_folder;
};

// A library document of the QZ-MAX, its errors kept in a buffer, holding count patches of FillLibrary.
struct CLibrary {
  explicit CLibrary(int count) : model(QZML::MODEL_QZMAX) {
    document.SetErrorOutput(&errors);
    if (count > 0)
      FillLibrary(document, count);
  }

  QZML::CTargetModelScope model;
  CZelTextOutBuffer errors;
  QZML::CFileDocument document;
};

CScratch& Scratch() {
  static CScratch scratch;
  return scratch;
}

void BM_LibrarySaveMemory(benchmark::State& state) {
  CLibrary library(kLibraryPatches);
  QZML::CFileDocument& document = library.document;
  // One stream for all rounds, rewound each time: the figure is the writing of the library, not the
  // growing of a 10 MB string.
  std::ostringstream out(std::ios::binary);
  std::size_t size = 0;
  for (auto _ : state) {
    out.seekp(0);
    if (!document.Save(out))
      state.SkipWithError("save failed");
    size = static_cast<std::size_t>(out.tellp());
  }
  state.counters["MB"] = static_cast<double>(size) / 1e6;
}

void BM_LibraryLoadMemory(benchmark::State& state) {
  CLibrary library(0);
  QZML::CFileDocument& document = library.document;
  const std::string bytes = SavedLibrary(kLibraryPatches);
  std::istringstream in(bytes, std::ios::binary);
  for (auto _ : state) {
    in.clear();
    in.seekg(0);
    bool converted = false;
    if (!document.Load(in, converted) || document.m_current.m_patches.size() != kLibraryPatches)
      state.SkipWithError("load failed");
  }
}

void BM_LibrarySaveFile(benchmark::State& state) {
  CLibrary library(kLibraryPatches);
  QZML::CFileDocument& document = library.document;
  const std::string path = Scratch().Path("library.qzl");
  for (auto _ : state)
    if (!document.SaveFile(path))
      state.SkipWithError("save failed");
}

void BM_LibraryLoadFile(benchmark::State& state) {
  CLibrary library(kLibraryPatches);
  QZML::CFileDocument& document = library.document;
  const std::string path = Scratch().Path("library.qzl");
  if (!document.SaveFile(path)) {
    state.SkipWithError("save failed");
    return;
  }
  for (auto _ : state) {
    bool converted = false;
    if (!document.LoadFile(path, converted) || document.m_current.m_patches.size() != kLibraryPatches)
      state.SkipWithError("load failed");
  }
}

// What this machine's disk takes to write and flush as many bytes as the library file holds, for a
// comparison with the atomic save above: not a figure of the program.
void BM_DiskFlush(benchmark::State& state) {
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  const std::string bytes = SavedLibrary(kLibraryPatches);
  const std::string path = Scratch().Path("flush.bin");
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0 && write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && fsync(fd) == 0;
    if (fd >= 0)
      close(fd);
    unlink(path.c_str());
    if (!ok)
      state.SkipWithError("write failed");
  }
}

// The file side needs no MIDI set-up: an unbound logical output supplies the addressing.
struct CFileStreams {
  CFileStreams() : model(QZML::MODEL_QZMAX) {
    port.m_deviceId = 0x10;
    port.m_modelId = {0x00, 0x00, 0x0B};
    reader.SetPort(&port);
    writer.SetPort(&port);
    patches.Resize(kUnitPatches);
    std::minstd_rand random(2);
    for (int i = 0; i < kUnitPatches; ++i) {
      FillPatch(*patches.Get(i), random, i);
      numbers.push_back(i);
    }
  }

  QZML::CTargetModelScope model;
  CZelMidiOut port;
  CPumpingReader reader;
  QZML::CWriter writer;
  QZML::CPatchArray patches;
  QZML::CPatchList numbers;
};

void BM_SmfExport200(benchmark::State& state) {
  CFileStreams streams;
  std::size_t size = 0;
  for (auto _ : state) {
    std::ostringstream out(std::ios::binary);
    if (!streams.writer.Export(out, QZML::AREA_USER, streams.numbers, &streams.patches))
      state.SkipWithError("export failed");
    size = static_cast<std::size_t>(out.tellp());
  }
  state.counters["KB"] = static_cast<double>(size) / 1e3;
}

void BM_SmfImport200(benchmark::State& state) {
  CFileStreams streams;
  std::ostringstream out(std::ios::binary);
  streams.writer.Export(out, QZML::AREA_USER, streams.numbers, &streams.patches);
  const std::string bytes = out.str();
  QZML::CPatchArray destination;
  destination.Resize(kUnitPatches);
  for (auto _ : state) {
    std::istringstream in(bytes, std::ios::binary);
    if (!streams.reader.Import(in, {0}, &destination))
      state.SkipWithError("import failed");
  }
  if (destination.Get(kUnitPatches - 1)->GetName() != streams.patches.Get(kUnitPatches - 1)->GetName())
    state.SkipWithError("import did not file the last patch");
}

// A collected library in which every tenth patch repeats an earlier one under another name.
void BM_Duplicates10000(benchmark::State& state) {
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  QZML::CFileDocument document;
  FillLibrary(document, kLibraryPatches);
  QZML::CPatchArray& patches = document.m_current.m_patches;
  for (int row = 10; row < kLibraryPatches; row += 10) {
    QZML::CPatch& copy = *patches.Get(static_cast<std::size_t>(row));
    copy.SetData(patches.Get(static_cast<std::size_t>(row / 10))->Image());
    copy.SetName("Copy " + std::to_string(row));
  }
  std::size_t groups = 0;
  for (auto _ : state) {
    groups = QZML::FindDuplicates(patches).size();
    benchmark::DoNotOptimize(groups);
  }
  if (groups == 0)
    state.SkipWithError("no duplicates found");
  state.counters["groups"] = static_cast<double>(groups);
}

BENCHMARK(BM_LibrarySaveMemory)->Name("library_save_10000/memory")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryLoadMemory)->Name("library_load_10000/memory")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibrarySaveFile)->Name("library_save_10000/file")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DiskFlush)->Name("disk_flush_10000")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LibraryLoadFile)->Name("library_load_10000/file")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SmfImport200)->Name("smf_import_200")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmfExport200)->Name("smf_export_200")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Duplicates10000)->Name("duplicates_10000")->Unit(benchmark::kMillisecond);

std::string Caption(const std::string& name) {
  static const char* const kCaptions[][2] = {
      {"library_save_10000/memory", "Save a 10,000-patch library (memory stream)"},
      {"library_load_10000/memory", "Load a 10,000-patch library (memory stream)"},
      {"library_save_10000/file", "Save a 10,000-patch library (file, atomic save)"},
      {"library_load_10000/file", "Load a 10,000-patch library (file)"},
      {"disk_flush_10000", "For comparison: write and flush as many bytes to this disk"},
      {"smf_import_200", "Import a 200-patch SMF"},
      {"smf_export_200", "Export 200 patches as SMF"},
      {"duplicates_10000", "Find the duplicates among 10,000 patches"},
  };
  for (const auto& caption : kCaptions)
    if (name == caption[0])
      return caption[1];
  return name;
}

// With --table: one row per figure (the median when repeated) for tools/bench, judged on real time.
class CTableReporter : public benchmark::BenchmarkReporter {
public:
  bool ReportContext(const Context&) override { return true; }
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool repeated = run.repetitions > 1;
      if (repeated ? (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
                   : run.run_type != Run::RT_Iteration)
        continue;
      const std::string name = Caption(run.run_name.function_name);
      if (run.error_occurred) {
        PrintBenchRow(name, "failed: " + run.error_message, "< 100 ms", Verdict(false));
        continue;
      }
      const double real = run.GetAdjustedRealTime();
      const double cpu = run.GetAdjustedCPUTime();
      if (run.run_name.function_name == "disk_flush_10000")
        PrintBenchRow(name, Format("%.1f ms", real), "-", "-");
      else
        PrintBenchRow(name, Format("%.1f ms (CPU %.1f ms)", real, cpu), "< 100 ms", Verdict(real < 100.0));
    }
  }
};

} // namespace

int main(int argc, char** argv) {
  bool table = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--table") == 0)
      table = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  if (table) {
    CTableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  } else {
    benchmark::RunSpecifiedBenchmarks();
  }
  benchmark::Shutdown();
  return 0;
}
