#include "transfertestsupport.h"

#include <gtest/gtest.h>

void CFakeTimeDispatcher::Post(std::function<void()> task) {
  m_inner.Post([this, task = std::move(task)] {
    ++m_ran;
    task();
  });
}

void CFakeTimeDispatcher::ProcessPending(int maxWaitMs) {
  const int before = m_ran;
  m_inner.RunPending();
  if (m_ran != before || maxWaitMs <= 0)
    return;
  // Bounded, so a message lost on the way fails the test instead of hanging it.
  for (int i = 0; i < 1000 && quiet && !quiet(); ++i) {
    m_inner.ProcessPending(10);
    if (m_ran != before)
      return;
  }
  ++idleWaits;
  m_clock.Advance(static_cast<std::uint64_t>(maxWaitMs));
}

CFileStreamRig::CFileStreamRig(QZML::EModel model, std::uint8_t deviceId) : scope(model) {
  port.m_deviceId = deviceId;
  const unsigned char* id = QZML::ModelId(model);
  port.m_modelId.assign(id, id + 3);
  reader.SetPort(&port);
  writer.SetPort(&port);
}

CTransferRig::CTransferRig(const CSimOptions& unit, QZML::EModel targetModel)
    : model(targetModel), dispatcher(clock), backend(stack.BuiltInPorts()), environment(stack.Environment()),
      sim(stack.AddSimulator(unit)) {
  sim->Stop();
  sim->SetMonitor([this](const std::uint8_t* bytes, std::size_t count) { sent.emplace_back(bytes, bytes + count); });
  sim->Start();

  stack.Start(dispatcher, &portMessages, &settings, &clock);
  stack.PreparePorts(targetModel);
  stack.SetTextOuts(messageBox = new CCodeRecorder, errors = new CCodeRecorder);
  setup = &stack.Setup();
  reader.Bind(environment);
  reader.SetProgress(&progress);
  writer.Bind(environment);
  writer.SetProgress(&progress);
  writer.SetReader(&reader);
}

CTransferRig::~CTransferRig() { stack.Teardown(); }

void CTransferRig::Connect() {
  const int id = sim->Unit().Options().deviceId;
  stack.ConnectUnit(QZP::CVirtualMidiBackend::kSimulatorName, QZP::CVirtualMidiBackend::kSimulatorName, id);
  environment.InDevices()[0]->Attach(&arrived);
  dispatcher.quiet = [this] { return sim->Delivered() == arrived.received; };
}

std::vector<QZML::CByteArray> CTransferRig::Sent(std::uint8_t command) const {
  std::vector<QZML::CByteArray> found;
  for (const QZML::CByteArray& message : sent) {
    if (command == 0x7E ? message[1] == 0x7E : message.size() > 6 && message[1] == 0x41 && message[6] == command)
      found.push_back(message);
  }
  return found;
}

void FillUnit(CSimUnit& unit, unsigned seed, const std::string& prefix, const std::string& suffix) {
  for (int i = 0; i < unit.UserPatchCount(); ++i) {
    QZML::CPatch patch;
    FillPatch(patch, seed + static_cast<unsigned>(i), prefix + std::to_string(i) + suffix);
    unit.SetUserPatch(i, patch);
  }
}

QZML::CPatch UnitPatch(CTransferRig& rig, int number) {
  QZML::CPatch patch;
  rig.sim->Unit().GetUserPatch(number, patch);
  return patch;
}

bool SameBlocks(const QZML::CPatch& a, const QZML::CPatch& b, bool (*inSet)(int blockId)) {
  const std::string differing = FirstDifferingBlock(a, b, inSet);
  if (!differing.empty())
    ADD_FAILURE() << "differs in " << differing;
  return differing.empty();
}
