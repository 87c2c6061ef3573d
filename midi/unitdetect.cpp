#include "midi/unitdetect.h"

#include <algorithm>

#include "exclusive/longmessage.h"
#include "midi/midiindevice.h"
#include "midi/midiout.h"
#include "midi/patchstream.h"
#include "midi/portname.h"
#include "midi/zelmidiin.h"
#include "model/appstate.h"

namespace {

// Every device listens to this number in a universal message.
constexpr std::uint8_t kAllDevices = 0x7F;

std::string JoinNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + ("\"" + name + "\"");
  return text.empty() ? std::string("none") : text;
}

} // namespace

std::string DescribeUnit(const CFoundUnit& unit) {
  return std::string(QZML::ModelName(unit.model)) + ", device ID " + std::to_string(unit.deviceId + 1) + ", on " +
         unit.inPort + " / " + unit.outPort;
}

std::string CUnitSearch::PortsText() const {
  std::string text = "Ports tried: in " + JoinNames(inputs) + "; out " + JoinNames(outputs) + ".";
  std::vector<std::string> in, out;
  for (const CSkippedPort& port : skipped)
    (port.input ? in : out).push_back(port.name);
  if (!in.empty() || !out.empty()) {
    text += " Could not be opened (in use by another program?):";
    if (!in.empty())
      text += " in " + JoinNames(in) + (out.empty() ? "." : ";");
    if (!out.empty())
      text += " out " + JoinNames(out) + ".";
  }
  return text;
}

// One input port that listens, with a logical input of its own that hands over the universal messages.
struct CUnitDetector::CInput : IZelMidiMessageHandler {
  CInput(CUnitDetector& owner, std::size_t index, const CMidiServices& services, const std::string& name)
      : owner(owner), index(index), device(services, name) {
    logical.m_messageHandler = this;
    device.Attach(&logical);
  }
  bool OnExclusive(const CZelLongMessage& message) override {
    owner.OnReply(index, message.GetBytes());
    return true;
  }

  CUnitDetector& owner;
  std::size_t index;
  CZelMidiIn logical; // outlives the device, which hands it messages
  CMidiInDevice device;
};

CUnitDetector::CUnitDetector(const CMidiServices& services) : m_services(services) {
  m_services.messageBox = &m_reasons;
}

CUnitDetector::~CUnitDetector() { ClosePorts(); }

void CUnitDetector::OnReply(std::size_t input, const std::vector<std::uint8_t>& bytes) {
  ++m_received;
  std::uint8_t deviceId = 0;
  const std::optional<QZML::EModel> model = QZML::IdentityReplyModel(bytes, deviceId);
  if (!model)
    return;
  m_replies.push_back(CReply{*model, deviceId, input});
  m_lastReplyAt = m_services.Clock().NowMs();
}

void CUnitDetector::OpenPorts(const std::vector<std::string>& inNames, const std::vector<std::string>& outNames,
                              CUnitSearch& result) {
  for (const std::string& name : inNames) {
    m_reasons.last.clear();
    auto input = std::make_unique<CInput>(*this, m_inputs.size(), m_services, name);
    if (input->device.OpenDevice()) {
      m_inputs.push_back(std::move(input));
      result.inputs.push_back(name);
    } else {
      result.skipped.push_back(CSkippedPort{true, name, m_reasons.last});
    }
  }
  for (const std::string& name : outNames) {
    m_reasons.last.clear();
    auto output = std::make_unique<CMidiOutDevice>(m_services, name);
    if (output->OpenByName(name)) {
      m_outputs.push_back(std::move(output));
      result.outputs.push_back(name);
    } else {
      result.skipped.push_back(CSkippedPort{false, name, m_reasons.last});
    }
  }
}

void CUnitDetector::ClosePorts() {
  for (auto& input : m_inputs)
    input->device.CloseDevice();
  m_inputs.clear();
  for (auto& output : m_outputs)
    output->Close();
  m_outputs.clear();
}

bool CUnitDetector::Send(std::size_t output) {
  return m_outputs[output]->SendLong(QZML::IdentityRequest(kAllDevices).GetBytes());
}

bool CUnitDetector::Cancelled() {
  if (!m_cancelled && m_progress && m_progress->IsCancelled())
    m_cancelled = true;
  return m_cancelled;
}

void CUnitDetector::Wait(bool settle, int windowMs) {
  QZP::IClock& clock = m_services.Clock();
  const std::uint64_t deadline = clock.NowMs() + static_cast<std::uint64_t>(windowMs);
  while (!Cancelled()) {
    std::uint64_t end = deadline;
    if (settle && !m_replies.empty())
      end = std::min(end, m_lastReplyAt + kSettleMs);
    const std::uint64_t now = clock.NowMs();
    if (now >= end)
      return;
    m_services.dispatcher->ProcessPending(static_cast<int>(end - now));
  }
}

CUnitSearch CUnitDetector::Run() {
  CUnitSearch result;
  m_cancelled = false;
  m_replies.clear();
  if (!m_services.backend || !m_services.dispatcher)
    return result;
  auto searched = [this](std::vector<std::string> names) {
    names.erase(std::remove_if(names.begin(), names.end(),
                               [this](const std::string& name) {
                                 return std::find(m_leaveOut.begin(), m_leaveOut.end(), name) != m_leaveOut.end();
                               }),
                names.end());
    return names;
  };
  const std::vector<std::string> inNames = searched(m_services.backend->InputNames());
  const std::vector<std::string> outNames = searched(m_services.backend->OutputNames());

  CZelProgressBar quiet;
  CZelProgressBar& progress = m_progress ? *m_progress : quiet;
  progress.BeginText(static_cast<int>(outNames.size()) + 1, "Looking for the unit on every MIDI port...", true);
  OpenPorts(inNames, outNames, result);

  // Everyone at once: which units are there at all, and on which inputs.
  for (std::size_t output = 0; output < m_outputs.size(); ++output)
    Send(output);
  if (!m_outputs.empty() && !m_inputs.empty())
    Wait(false, kWindowMs);
  std::vector<CReply> heard = m_replies;
  std::vector<bool> tied(heard.size(), false);
  progress.SetPosition(1);

  // Then one output at a time, those named like an input that heard a unit first (a USB interface lists
  // its in and out under one name), until every unit heard is tied to its output.
  auto likely = [&](std::size_t output) {
    const std::string stable = StablePortName(m_outputs[output]->GetName());
    return std::any_of(heard.begin(), heard.end(), [&](const CReply& reply) {
      return StablePortName(m_inputs[reply.input]->device.GetName()) == stable;
    });
  };
  std::vector<std::size_t> order;
  for (bool first : {true, false})
    for (std::size_t output = 0; output < m_outputs.size(); ++output)
      if (likely(output) == first)
        order.push_back(output);
  // An output that stayed silent when asked alone gets a second turn while a unit heard is still not
  // tied to its output (an answer lost or late), in what is left of one window per output and one
  // more.
  QZP::IClock& clock = m_services.Clock();
  const std::uint64_t budgetEnd = clock.NowMs() + static_cast<std::uint64_t>(kWindowMs) * (m_outputs.size() + 1);
  std::vector<std::size_t> silent;
  int step = 1;
  for (int turn = 0; turn < 2; ++turn) {
    for (std::size_t output : turn == 0 ? order : silent) {
      if (heard.empty() || std::all_of(tied.begin(), tied.end(), [](bool t) { return t; }) || Cancelled())
        break;
      const std::uint64_t now = clock.NowMs();
      const int window = now >= budgetEnd ? 0 : static_cast<int>(std::min<std::uint64_t>(kWindowMs, budgetEnd - now));
      if (turn > 0 && window < kSettleMs)
        break;
      const std::string& outName = m_outputs[output]->GetName();
      progress.SetText("Asking the MIDI output port \"" + outName + "\"...");
      // Replies still on their way belong to the request before.
      m_services.dispatcher->ProcessPending(0);
      m_replies.clear();
      if (Send(output))
        Wait(true, window);
      if (m_replies.empty() && turn == 0)
        silent.push_back(output);
      for (const CReply& reply : m_replies) {
        CFoundUnit unit{reply.model, reply.deviceId, m_inputs[reply.input]->device.GetName(), outName};
        if (std::find(result.units.begin(), result.units.end(), unit) == result.units.end())
          result.units.push_back(unit);
        for (std::size_t i = 0; i < heard.size(); ++i)
          if (heard[i].model == reply.model && heard[i].deviceId == reply.deviceId && heard[i].input == reply.input)
            tied[i] = true;
      }
      if (turn == 0)
        progress.SetPosition(++step);
    }
  }
  result.cancelled = m_cancelled;
  ClosePorts();
  progress.End();
  return result;
}
