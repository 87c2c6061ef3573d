#include "transfertestsupport.h"

#include <gtest/gtest.h>

#include <random>

#include "model/parameteraddress.h"

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

CTransferRig::CTransferRig(const CSimOptions& unit, int targetModel) : model(targetModel), dispatcher(clock) {
  sim = InstallSimulator(backend, unit);
  sim->Stop();
  sim->SetMonitor([this](const std::uint8_t* bytes, std::size_t count) { sent.emplace_back(bytes, bytes + count); });
  sim->Start();

  CMidiServices services;
  services.backend = &backend;
  services.dispatcher = &dispatcher;
  services.clock = &clock;
  services.messageBox = &portMessages;
  environment.SetServices(services);
  environment.PreparePorts(targetModel);
  environment.SetTextOut(MIDI_TEXTOUT_MESSAGE_BOX, messageBox = new CCodeRecorder);
  environment.SetTextOut(MIDI_TEXTOUT_ERROR_BUFFER, errors = new CCodeRecorder);
  setup = std::make_unique<CMidiSetup>(environment, settings);
  reader.Bind(environment);
  reader.SetProgress(&progress);
  writer.Bind(environment);
  writer.SetProgress(&progress);
  writer.SetReader(&reader);
}

CTransferRig::~CTransferRig() {
  setup->DisconnectAll();
  environment.Teardown();
}

void CTransferRig::Connect() {
  const int id = sim->Unit().Options().deviceId;
  setup->BindInput(environment.Inputs()[0], QZP::CVirtualMidiBackend::kSimulatorName, id);
  setup->BindOutput(environment.Outputs()[0], QZP::CVirtualMidiBackend::kSimulatorName, id);
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

QZML::CPatchArray Rows(std::size_t count) {
  QZML::CPatchArray patches;
  patches.Resize(count);
  return patches;
}

void FillPatch(QZML::CPatch& patch, unsigned seed, const std::string& name) {
  std::mt19937 random(seed);
  for (int i = 0; i < QZML::kPatchImageSize; ++i)
    patch.Image()[i] = static_cast<std::uint8_t>(random() & 0x7F);
  patch.SetName(name);
}

bool SameBlocks(const QZML::CPatch& a, const QZML::CPatch& b, bool (*inSet)(int blockId)) {
  QZML::CParameterAddress addressing;
  for (int index = 0; index < QZML::kBlockCount; ++index) {
    const QZML::CBlockInstance& block = QZML::BlockInstance(index);
    const int size = addressing.GetBlockSize(QZML::AREA_USER, block.kind->id);
    if (inSet(block.kind->id) &&
        !std::equal(a.Image() + block.flatOffset, a.Image() + block.flatOffset + size, b.Image() + block.flatOffset)) {
      ADD_FAILURE() << "differs in " << addressing.GetDescription(QZML::AREA_USER, 0, block.kind->id, block.sub);
      return false;
    }
  }
  return true;
}

bool SameImage(const QZML::CPatch& a, const QZML::CPatch& b) {
  return std::equal(a.Image(), a.Image() + QZML::kPatchImageSize, b.Image());
}
