#include "midi/transfer.h"

#include "midi/midienvironment.h"
#include "platform/settings.h"
#include "textout/textout.h"

std::string UnconnectedPortsText(CMidiEnvironment& environment) {
  std::string text;
  auto add = [&text](const char* kind, const std::string& name) {
    if (name.empty())
      return;
    if (!text.empty())
      text += "\n";
    text += std::string("The MIDI ") + kind + " port \"" + name + "\" is not connected.";
  };
  if (!environment.Inputs().empty())
    add("input", environment.Inputs()[0].m_unconnectedDevice);
  if (!environment.Outputs().empty())
    add("output", environment.Outputs()[0].m_unconnectedDevice);
  return text;
}

bool CheckMidiConnection(CMidiEnvironment& environment) {
  if (environment.IsSetupComplete())
    return true;
  if (CZelTextOut* box = environment.GetTextOut(MIDI_TEXTOUT_MESSAGE_BOX)) {
    const std::string ports = UnconnectedPortsText(environment);
    if (ports.empty())
      box->Error(TEXTOUT_ERR_MIDI_SETUP);
    else
      box->ErrorDetail(TEXTOUT_ERR_MIDI_SETUP, ports);
  }
  return false;
}

namespace {

const char* const kFlagNames[CONFIRM_KIND_COUNT] = {"ReadUser",        "ReadTemp",       "WriteUser",
                                                    "WriteTempButton", "WriteTempClick", "ImportSMF",
                                                    "ImportSysEx"};

const char* const kQuestions[CONFIRM_KIND_COUNT] = {
    "Are you sure you want to load the data from the user area of the %s?",
    "Are you sure you want to load the data from the temporary area of the %s?",
    "Are you sure you want to overwrite the user area of the %s?",
    "Are you sure you want to overwrite the temporary area of the %s?",
    "Are you sure you want to overwrite the temporary area of the %s?",
    "Are you sure you want to read the SMF file and overwrite the main window?",
    "Are you sure you want to read the SysEx file and overwrite the main window?",
};

} // namespace

const char* ConfirmationFlagName(int kind) {
  return kind >= 0 && kind < CONFIRM_KIND_COUNT ? kFlagNames[kind] : nullptr;
}

std::string ConfirmationText(int kind, const std::string& modelName) {
  if (kind < 0 || kind >= CONFIRM_KIND_COUNT)
    return {};
  std::string text = kQuestions[kind];
  const std::size_t at = text.find("%s");
  if (at != std::string::npos)
    text.replace(at, 2, modelName);
  return text;
}

void CConfirmationFlags::Load(QZP::ISettingsStore& settings) {
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    m_flags[kind] = settings.ReadInt(kSection, kFlagNames[kind], 0);
}

void CConfirmationFlags::Save(QZP::ISettingsStore& settings) const {
  for (int kind = 0; kind < CONFIRM_KIND_COUNT; ++kind)
    settings.WriteInt(kSection, kFlagNames[kind], m_flags[kind]);
}

bool ConfirmTransfer(CConfirmationFlags& flags, int kind, const std::string& modelName,
                     const std::function<CConfirmationAnswer(int kind, const std::string& text)>& ask) {
  if (kind < 0 || kind >= CONFIRM_KIND_COUNT)
    return false;
  if (!flags.MustAsk(kind))
    return true;
  if (!ask)
    return false;
  const CConfirmationAnswer answer = ask(kind, ConfirmationText(kind, modelName));
  if (!answer.ok)
    return false;
  flags.Set(kind, answer.dontShowAgain ? 1 : 0);
  return true;
}
