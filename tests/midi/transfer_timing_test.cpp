// How close a read at the cable's speed comes to the time its bytes need on the cable, and what it costs
// the processor. Run by hand (--gtest_also_run_disabled_tests): it takes real time and measures it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include <sys/resource.h>

#include "transfertestsupport.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

TEST(TransferTiming, DISABLED_ReadAtCableSpeed) {
  const char* env = std::getenv("QZ_TIMING_PATCHES");
  const int count = env ? std::atoi(env) : 10;
  QZML::CTargetModelScope model(QZML::MODEL_QZMAX);
  QZP::CVirtualMidiBackend backend;
  std::unique_ptr<CSimPort> sim = InstallSimulator(backend, QZML::MODEL_QZMAX, 0x10, true);
  QZP::CManualDispatcher dispatcher;
  CRecordingMessageBox box;
  CMidiServices services;
  services.backend = &backend;
  services.dispatcher = &dispatcher;
  services.messageBox = &box;
  CMidiEnvironment environment;
  environment.SetServices(services);
  environment.PreparePorts(QZML::MODEL_QZMAX);
  CCodeRecorder* errors = new CCodeRecorder;
  environment.SetTextOut(MIDI_TEXTOUT_ERROR_BUFFER, errors);
  QZP::CMemorySettings settings;
  CMidiSetup setup(environment, settings);
  setup.BindInput(environment.Inputs()[0], QZP::CVirtualMidiBackend::kSimulatorName, 0x10);
  setup.BindOutput(environment.Outputs()[0], QZP::CVirtualMidiBackend::kSimulatorName, 0x10);
  CReader reader;
  reader.Bind(environment);

  QZML::CPatchArray patches;
  patches.Resize(static_cast<std::size_t>(count));
  QZML::CPatchList numbers;
  for (int i = 0; i < count; ++i)
    numbers.push_back(i);

  // Per patch: 32 requests of 17 bytes and 32 answers of 13 bytes plus 737 data bytes; the identity
  // exchange is 6 + 15 bytes.
  const double perByte = 320e-6;
  const double minimum = (21 + count * (32 * 17 + 32 * 13 + 737)) * perByte;
  const double cpuBefore = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(reader.ReadPatches(QZML::AREA_USER, numbers, &patches));
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const double cpu = CpuSeconds() - cpuBefore;
  EXPECT_TRUE(errors->codes.empty());
  std::printf("%d patches: %.3f s, cable minimum %.3f s (+%.2f %%), processor %.3f s (%.2f %% of one core)\n", count,
              took, minimum, 100.0 * (took - minimum) / minimum, cpu, 100.0 * cpu / took);
  setup.DisconnectAll();
}
