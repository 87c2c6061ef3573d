#pragma once
// The rig of the transfer tests: the simulated unit behind "QZ-MAX Simulator" in the in-process backend,
// the MIDI environment bound to it, the device reader and writer, and time on a fake clock.

#include <memory>
#include <string>
#include <vector>

#include "midi/midienvironment.h"
#include "midi/midisetup.h"
#include "midi/patchstream.h"
#include "miditestsupport.h"
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

// A logical input that only counts what reaches the user-interface thread.
struct CCountingInput : CZelMidiIn {
  void Receive(const QZML::CByteArray&) override { ++received; }
  int received = 0;
};

// Keeps every code and question.
struct CCodeRecorder : CZelTextOutBuffer {
  void Error(int code) override {
    codes.push_back(code);
    CZelTextOutBuffer::Error(code);
  }
  std::vector<int> codes;
};

// A progress display that records its calls and cancels at the n-th block text (0: never).
struct CScriptedProgress : CZelProgressBar {
  void BeginText(int range, const std::string& text, bool mayCancel) override {
    ++depth;
    ranges.push_back(range);
    cancelShown = mayCancel;
    CZelProgressBar::BeginText(range, text, mayCancel);
  }
  void End() override { --depth; }
  void SetText(const std::string& text) override {
    texts.push_back(text);
    CZelProgressBar::SetText(text);
  }
  void SetPosition(int position) override {
    positions.push_back(position);
    CZelProgressBar::SetPosition(position);
  }
  bool IsCancelled() override { return cancelAt > 0 && static_cast<int>(texts.size()) >= cancelAt; }

  int cancelAt = 0;
  int depth = 0;
  bool cancelShown = false;
  std::vector<int> ranges, positions;
  std::vector<std::string> texts;
};

struct CTransferRig {
  // A unit of the given options; the ports (and the target model) are those of targetModel.
  CTransferRig(const CSimOptions& unit, int targetModel);
  ~CTransferRig();

  // Binds logical input 0 and output 0 to the simulator with the unit's device ID.
  void Connect();
  // The messages of a command the program sent the unit (0x11 requests, 0x12 data sets).
  std::vector<QZML::CByteArray> Sent(std::uint8_t command) const;
  int IdentityRequestsSent() const;
  QZML::CPatchArray Patches(std::size_t count) const;

  QZML::CTargetModelScope model;
  QZP::CVirtualMidiBackend backend;
  std::unique_ptr<CSimPort> sim;
  std::vector<QZML::CByteArray> sent; // everything the program sent the unit
  QZP::CFakeClock clock;
  CFakeTimeDispatcher dispatcher;
  CRecordingMessageBox portMessages;
  CCountingInput arrived; // attached behind logical input 0
  CMidiEnvironment environment;
  CCodeRecorder* messageBox; // owned by the environment's slots
  CCodeRecorder* errors;
  CScriptedProgress progress;
  QZP::CMemorySettings settings;
  std::unique_ptr<CMidiSetup> setup;
  CReader reader;
  QZML::CWriter writer;
};

// Every block of a patch as random 7-bit bytes, with a name holding the braces.
void FillPatch(QZML::CPatch& patch, unsigned seed, const std::string& name);
// Whether two patches agree on every block of a set, at the target model's sizes; describes the first
// difference in where.
bool SameBlocks(const QZML::CPatch& a, const QZML::CPatch& b, bool (*inSet)(int blockId), std::string* where);
