// `simulate`: the simulated unit on virtual ports of the MIDI system, for other programs to talk to.
#include <algorithm>
#include <cstdio>
#include <fstream>

#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/midisession.h"
#include "model/appstate.h"

namespace QZCli {

namespace {

// What arrives at the unit's MIDI In, on the MIDI system's thread: handed to the main thread, where the
// unit lives, so the unit never runs on two threads.
class CSimulatorInput : public QZP::IMidiInputCallback {
public:
  CSimulatorInput(QZP::IUiDispatcher& dispatcher, CSimDevice& device) : m_dispatcher(dispatcher), m_device(device) {}
  void MidiInputShort(std::uint32_t) override {} // the unit answers exclusive messages only
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override {
    QZML::CByteArray message(bytes, bytes + count);
    CSimDevice* device = &m_device;
    m_dispatcher.Post([device, message]() { device->FromHost(message); });
  }

private:
  QZP::IUiDispatcher& m_dispatcher;
  CSimDevice& m_device;
};

// The names in after that are not in before: the ports this process has just made.
std::vector<std::string> NewNames(const std::vector<std::string>& before, const std::vector<std::string>& after) {
  std::vector<std::string> names;
  for (const std::string& name : after)
    if (std::find(before.begin(), before.end(), name) == before.end())
      names.push_back(name);
  return names;
}

bool FileExists(const std::string& path) { return static_cast<bool>(std::ifstream(path, std::ios::binary)); }

} // namespace

bool RunSimulate(const CCommandLine& line, CTerminalTextOut& out) {
  const QZML::EModel model = line.global.model;
  const std::string name =
      line.Has("--name") ? line.Get("--name") : std::string(QZML::ModelName(model)) + " Simulated Unit";
  const std::string memory = line.Get("--memory");

  CSimDevice device(SimulatorOptions(model, line.global.deviceId));
  // What the memory file holds beyond the unit's patches, and its model, survive the run.
  QZML::CPatchArray stored;
  QZML::CDataModel storedModel = QZML::kModelOfTarget;
  if (!memory.empty() && FileExists(memory)) {
    // A memory file that cannot be read stops here, so that the exit does not overwrite it.
    if (!LoadLibrary(memory, stored, out, &storedModel))
      return false;
    device.Unit().LoadUserPatches(stored);
  }

  QZP::CRtMidiBackend backend;
  if (!backend.Init(line.global.midiApi, name)) {
    out.Message("No MIDI system for the simulated unit. " + backend.ErrorText());
    return false;
  }
  const std::vector<std::string> inputsBefore = backend.InputNames();
  const std::vector<std::string> outputsBefore = backend.OutputNames();

  QZP::CManualDispatcher dispatcher;
  CSimulatorInput input(dispatcher, device);
  std::unique_ptr<QZP::IMidiOutPort> midiOut = backend.OpenVirtualOutput("MIDI Out");
  std::unique_ptr<QZP::IMidiInPort> midiIn = midiOut ? backend.OpenVirtualInput("MIDI In", &input) : nullptr;
  if (!midiOut || !midiIn) {
    out.Message("The simulated unit's MIDI ports could not be made. " + backend.ErrorText());
    return false;
  }
  QZP::IMidiOutPort* send = midiOut.get();
  device.SetOutput([send](const QZML::CByteArray& message) { send->Send(message.data(), message.size()); });
  device.Start();
  InstallInterruptHandlers();
  midiIn->Start();

  // What to give qzml read/write (and other programs) to reach this unit, as `qzml ports` names it.
  std::string text;
  for (const std::string& port : NewNames(inputsBefore, backend.InputNames()))
    text += "in\t" + port + "\n";
  for (const std::string& port : NewNames(outputsBefore, backend.OutputNames()))
    text += "out\t" + port + "\n";
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
  std::fprintf(stderr, "qzml: a simulated %s with device ID %d on %s; Ctrl+C ends it.\n", QZML::ModelName(model),
               line.global.deviceId, backend.Name().c_str());
  std::fflush(stderr);

  while (!Interrupted())
    dispatcher.ProcessPending(50);

  midiIn->Stop();
  midiIn->Close();
  dispatcher.RunPending();
  device.Stop();
  midiOut->Close();

  if (memory.empty())
    return true;
  QZML::CPatchArray patches;
  device.Unit().SaveUserPatches(patches);
  // The unit keeps no memos: a patch that came back unchanged keeps the memos the file gave it.
  for (std::size_t i = 0; i < patches.size() && i < stored.size(); ++i) {
    QZML::CPatch* now = patches.Get(i);
    const QZML::CPatch* before = stored.Get(i);
    if (now && before && std::equal(now->Image(), now->Image() + QZML::kPatchImageSize, before->Image())) {
      now->Memo1 = before->Memo1;
      now->Memo2 = before->Memo2;
      now->Memo3 = before->Memo3;
      now->Memo4 = before->Memo4;
    }
  }
  for (std::size_t i = patches.size(); i < stored.size(); ++i)
    patches.Add(std::make_unique<QZML::CPatch>(*stored.Get(i)));
  return SaveLibrary(memory, patches, out, storedModel);
}

} // namespace QZCli
