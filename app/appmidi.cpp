#include "app/appmidi.h"

#include "app/messagebox.h"

#include "model/appstate.h"
#include "model/filedocument.h"
#include "platform/qtsettings.h"
#include "sim/demopatches.h"
#include "textout/textout.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

// Whether the file starts as a library file of model: the conversion question of a library of the other
// model has no place at start-up.
bool IsLibraryOf(const QString& path, QZML::EModel model) {
  std::ifstream file(path.toStdString(), std::ios::binary);
  char signature[QZML::CDocumentHeader::SIGNATURE_SIZE];
  if (!file.read(signature, sizeof signature))
    return false;
  const char* expected = model == QZML::MODEL_QZMAX ? QZML::kSignatureQzMax : QZML::kSignatureQz5;
  return std::memcmp(signature, expected, sizeof signature) == 0;
}

bool SameImages(const QZML::CPatchArray& a, const QZML::CPatchArray& b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const QZML::CPatch* first = a.Get(i);
    const QZML::CPatch* second = b.Get(i);
    if (!first || !second || !std::equal(first->Image(), first->Image() + QZML::kPatchImageSize, second->Image()))
      return false;
  }
  return true;
}

} // namespace

void CMidiMessageBoxQt::ShowMidiMessage(const std::string& text) {
  AppMessageBox(QApplication::activeWindow(), QMessageBox::Warning, QString::fromStdString(text));
}

CAppMidi::CAppMidi(QObject* context, QZP::ISettingsStore& settings, const std::string& midiApi, bool realMidi,
                   QZML::EModel simulatorModel)
    : m_midiApi(midiApi), m_realMidi(realMidi), m_simulatorModel(simulatorModel), m_dispatcher(context),
      m_settings(settings), m_stack(&CMidiEnvironment::Instance()) {}

CAppMidi::~CAppMidi() = default;

bool CAppMidi::Start() {
  bool ok = true;
  if (m_realMidi && !m_stack.AddRealMidi(m_midiApi, "QZ-MAX Librarian") && m_midiApi != "auto") {
    m_startError = m_stack.RealMidiError();
    ok = false;
  }
  // Answers at once: a user trying the program should not wait for a cable's speed.
  m_stack.AddSimulator(MakeSimulatorOptions(m_simulatorModel, kSimulatorDeviceId, false));
  m_stack.Start(m_dispatcher, &m_messageBox, &m_settings);
  return ok;
}

void CAppMidi::LoadSetup() {
  m_stack.Setup().Load();
  if (m_simulatorOverride)
    BindSimulator();
}

void CAppMidi::BindSimulator() {
  CMidiEnvironment& environment = m_stack.Environment();
  if (environment.Inputs().empty() || environment.Outputs().empty())
    return;
  CZelMidiIn& input = environment.Inputs()[0];
  CZelMidiOut& output = environment.Outputs()[0];
  // Whatever device the stored choice gave the unit's ports makes way for the simulated unit.
  for (auto& device : environment.InDevices()) {
    const std::vector<CZelMidiIn*> inputs = device->GetInputs();
    device->DetachAll();
    for (CZelMidiIn* other : inputs)
      if (other != &input)
        device->Attach(other);
  }
  output.SetDevice(nullptr);
  const std::string name = QZP::CVirtualMidiBackend::kSimulatorName;
  m_stack.ConnectUnit(name, name, kSimulatorDeviceId);
}

void CAppMidi::DisconnectAll() { m_stack.DisconnectAll(); }

QString CAppMidi::SimulatorMemoryPath(QZML::EModel model) {
  return QDir(QZP::CQtSettings().Folder())
      .filePath(QStringLiteral("simulator-%1.qzl").arg(QString::fromLatin1(QZML::ModelName(model))));
}

void CAppMidi::LoadSimulatorMemory(const QString& path) {
  m_simulatorMemoryPath = path;
  CSimPort* simulator = m_stack.Simulator();
  if (!simulator)
    return;
  CSimUnit& unit = simulator->Unit();
  simulator->Stop();
  unit.LoadUserPatches(DemoUserPatches(unit.UserPatchCount()));
  if (!path.isEmpty() && QFileInfo(path).isFile() && IsLibraryOf(path, unit.Options().model)) {
    QZML::CFileDocument stored;
    CZelTextOutBuffer errors; // a damaged file leaves the demonstration patches, without a message
    stored.SetErrorOutput(&errors);
    bool converted = false;
    if (stored.LoadFile(path.toStdString(), converted))
      unit.LoadUserPatches(stored.m_current.m_patches);
  }
  unit.SaveUserPatches(m_simulatorMemory);
  simulator->Start();
}

bool CAppMidi::SaveSimulatorMemory() {
  CSimPort* simulator = m_stack.Simulator();
  if (!simulator || m_simulatorMemoryPath.isEmpty())
    return true;
  QZML::CFileDocument memory;
  simulator->Unit().SaveUserPatches(memory.m_current.m_patches);
  if (SameImages(memory.m_current.m_patches, m_simulatorMemory))
    return true;
  memory.m_current.m_model = simulator->Unit().Options().model;
  CZelTextOutBuffer errors;
  memory.SetErrorOutput(&errors);
  QDir().mkpath(QFileInfo(m_simulatorMemoryPath).absolutePath());
  if (!memory.SaveFile(m_simulatorMemoryPath.toStdString()))
    return false;
  m_simulatorMemory = memory.m_current.m_patches;
  return true;
}
