#pragma once
// The simulated unit ready to plug into a port: it answers at once on the sending thread when its
// options ask for no timing, and through a CSimRunner with its own thread otherwise. This is what the
// in-process port pair and the simulate command connect to.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "sim/simclock.h"
#include "sim/simrunner.h"
#include "sim/simunit.h"

class CSimDevice {
public:
  using COutput = std::function<void(const QZML::CByteArray&)>;

  // clock: null for the system clock; not owned.
  explicit CSimDevice(const CSimOptions& options = CSimOptions(), ISimClock* clock = nullptr);
  ~CSimDevice();
  CSimDevice(const CSimDevice&) = delete;
  CSimDevice& operator=(const CSimDevice&) = delete;

  // The unit, for its memory and options; to be used while the device is stopped.
  CSimUnit& Unit() { return m_unit; }

  // Where the unit's messages go; set while stopped. Without timing it is called on the thread that
  // calls FromHost, with timing on the runner's thread.
  void SetOutput(COutput output);

  // Switches the device on with the unit's current options; messages sent while it is off are lost.
  // Start and Stop only while no FromHost call can be running (the port is closed).
  bool Start();
  void Stop();
  bool IsRunning() const { return m_running.load(); }
  bool IsTimed() const { return m_runner != nullptr; }

  // One complete message from the host. Without timing, from one thread at a time.
  void FromHost(const std::uint8_t* bytes, std::size_t count);
  void FromHost(const QZML::CByteArray& message) { FromHost(message.data(), message.size()); }

private:
  CSimUnit m_unit;
  CSimSystemClock m_systemClock;
  ISimClock& m_clock;
  COutput m_output;
  std::unique_ptr<CSimRunner> m_runner;
  std::atomic<bool> m_running{false};
};
