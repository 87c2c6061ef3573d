#pragma once
// The simulated unit as the built-in port pair "QZ-MAX Simulator" of the in-process MIDI backend, so the
// programs use it like any port. It joins the plain simulated unit (sim/) and the in-process backend
// (platform/), which know nothing of each other; only the programs and tests link this.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/virtualmidi.h"
#include "sim/simdevice.h"

// What the program sends to the pair's output reaches the unit; what the unit sends comes in at the
// pair's input. Without timing the unit answers at once on the sending thread; with timing its own
// thread delivers each answer when its bytes have crossed the cable, sleeping in between.
class CSimPort : public QZP::IVirtualMidiPeer {
public:
  // Adds the pair name to backend and switches the unit on. Not owned: backend, which must outlive this.
  // Pairs are added to or removed from the backend only while no timed unit is switched on.
  CSimPort(QZP::CVirtualMidiBackend& backend, const CSimOptions& options,
           const std::string& name = QZP::CVirtualMidiBackend::kSimulatorName);
  // Switches the unit off, then removes the pair.
  ~CSimPort() override;
  CSimPort(const CSimPort&) = delete;
  CSimPort& operator=(const CSimPort&) = delete;

  // False when the name was in use already (the unit is then not reachable).
  bool IsInstalled() const { return m_installed; }
  const std::string& GetName() const { return m_name; }

  // The unit: its memory and counters. Change options or memory only while switched off.
  CSimDevice& Device() { return m_device; }
  CSimUnit& Unit() { return m_device.Unit(); }
  // Switches the unit off (Stop) and on again with its current options (Start).
  bool Start() { return m_device.Start(); }
  void Stop() { m_device.Stop(); }

  // Sees every message the program sends to the unit, on the sending thread (set while switched off).
  void SetMonitor(std::function<void(const std::uint8_t*, std::size_t)> monitor) { m_monitor = std::move(monitor); }

  // Messages of the unit that reached the pair's input (any thread).
  int Delivered() const { return m_delivered.load(); }

  void FromProgram(const std::uint8_t* bytes, std::size_t count) override;
  // Without timing the unit has taken (and answered) a message when FromProgram returns; with timing its
  // own thread lets it arrive at the cable's speed, and the sender paces itself as on a real cable.
  bool TakesAtOnce() const override { return !m_device.IsTimed(); }

private:
  QZP::CVirtualMidiBackend& m_backend;
  std::string m_name;
  CSimDevice m_device;
  std::function<void(const std::uint8_t*, std::size_t)> m_monitor;
  bool m_installed = false;
  std::atomic<int> m_delivered{0};
};

// The options of the built-in simulated unit: model, device ID as on the wire (0x10 is shown as 17), and
// timing (answers paced at the cable's speed, 320 us per byte each way) on or off.
CSimOptions MakeSimulatorOptions(QZML::EModel model, std::uint8_t deviceId, bool timing);

// Installs "QZ-MAX Simulator" in backend and switches it on; null when the name is in use. The port pair
// lasts as long as the returned object.
std::unique_ptr<CSimPort> InstallSimulator(QZP::CVirtualMidiBackend& backend, QZML::EModel model, std::uint8_t deviceId,
                                           bool timing);
std::unique_ptr<CSimPort> InstallSimulator(QZP::CVirtualMidiBackend& backend, const CSimOptions& options);
