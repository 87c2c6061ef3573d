#pragma once
// The rig of the transfer tests: the simulated unit behind "QZ-MAX Simulator" in the in-process backend,
// the MIDI environment bound to it, the device reader and writer, and time on a fake clock.

#include <memory>
#include <string>
#include <vector>

#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "midi/patchstream.h"
#include "midi/stack/midistack.h"
#include "miditestsupport.h"
#include "patchfill.h"
#include "platform/settings.h"
#include "sim/port/simport.h"
#include "textout/textout.h"

// Posted work runs as usual. A wait with nothing to run waits in real time only while something is on
// its way (quiet() false), then moves the fake clock by the whole wait: time-outs pass at once, and an
// answer in flight is never taken for silence.
class CFakeTimeDispatcher : public QZP::IUiDispatcher {
public:
  explicit CFakeTimeDispatcher(QZP::CFakeClock& clock) : m_clock(clock) {}
  void Post(std::function<void()> task) override;
  void ProcessPending(int maxWaitMs) override;

  std::function<bool()> quiet; // null: nothing is ever on its way
  int idleWaits = 0;           // waits that moved the clock

private:
  QZP::CManualDispatcher m_inner;
  QZP::CFakeClock& m_clock;
  int m_ran = 0;
};

struct CCountingInput : CZelMidiIn {
  void Receive(const QZML::CByteArray&) override { ++received; }
  int received = 0;
};

struct CCodeRecorder : CZelTextOutBuffer {
  void Error(ETextOutError code) override { codes.push_back(code); }
  std::vector<ETextOutError> codes;
};

// Records the calls of a transfer; cancels from the n-th block text on (0: never).
struct CScriptedProgress : CZelProgressBar {
  void BeginText(int range, const std::string&, bool mayCancel) override {
    ++depth;
    ranges.push_back(mayCancel ? range : -1);
  }
  void End() override { --depth; }
  void SetText(const std::string& text) override { texts.push_back(text); }
  void SetPosition(int position) override { positions.push_back(position); }
  bool IsCancelled() override { return cancelAt > 0 && static_cast<int>(texts.size()) >= cancelAt; }

  int cancelAt = 0;
  int depth = 0;
  std::vector<int> ranges, positions; // ranges: -1 for a display begun without Cancel
  std::vector<std::string> texts;
};

// The file side of the device reader and writer needs no MIDI set-up: an unbound logical output supplies
// the addressing (a device ID as on the wire and the model's identifier).
struct CFileStreamRig {
  explicit CFileStreamRig(QZML::EModel model = QZML::MODEL_QZMAX, std::uint8_t deviceId = 0x10);

  QZML::CTargetModelScope scope;
  CZelMidiOut port;
  CPumpingReader reader;
  QZML::CWriter writer;
};

struct CTransferRig {
  CTransferRig(const CSimOptions& unit, QZML::EModel targetModel);
  ~CTransferRig();

  // Binds logical input 0 and output 0 to the simulator with the unit's device ID.
  void Connect();
  // What the program sent the unit: identity requests (0x7E) or the unit's messages of a command.
  std::vector<QZML::CByteArray> Sent(std::uint8_t command) const;

  // What the stack's services point to comes first, so it outlives the stack.
  QZML::CTargetModelScope model;
  std::vector<QZML::CByteArray> sent;
  QZP::CFakeClock clock;
  CFakeTimeDispatcher dispatcher;
  CRecordingMessageBox portMessages;
  CCountingInput arrived; // attached behind logical input 0
  QZP::CMemorySettings settings;
  CMidiStack stack; // with an environment of its own
  QZP::CVirtualMidiBackend& backend;
  CMidiEnvironment& environment;
  CSimPort* sim;
  CMidiSetup* setup;
  CCodeRecorder* messageBox; // owned by the environment's slots
  CCodeRecorder* errors;
  CScriptedProgress progress;
  CPumpingReader reader;
  QZML::CWriter writer;
};

// Fills every user patch of the unit with FillPatch(seed + n) named prefix + n + suffix.
void FillUnit(CSimUnit& unit, unsigned seed, const std::string& prefix, const std::string& suffix = "");
// The unit's user patch of that number.
QZML::CPatch UnitPatch(CTransferRig& rig, int number);

// Whether two patches agree on every block of a set at the target model's sizes (EXPECTs it, too).
bool SameBlocks(const QZML::CPatch& a, const QZML::CPatch& b, bool (*inSet)(int blockId));
