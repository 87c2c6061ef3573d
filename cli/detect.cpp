// `detect`, and the ports and device ID of read and write given as "auto": the units that answer the
// identity request on the MIDI system's ports.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/interrupt.h"
#include "cli/midisession.h"
#include "midi/portname.h"
#include "midi/unitdetect.h"
#include "model/appstate.h"

namespace QZCli {

namespace {

// Ctrl+C is the search's Cancel; nothing is drawn.
class CInterruptible : public CZelProgressBar {
public:
  bool IsCancelled() override { return Interrupted(); }
};

// The built-in simulated unit is left out: it always answers, so it would tell nothing about what is
// connected, and "auto" must never take it for the unit (its ports are used by naming them).
CUnitSearch Search(CMidiSession& session) {
  CUnitDetector detector(session.Environment().GetServices());
  detector.LeaveOut(QZP::CVirtualMidiBackend::kSimulatorName);
  CInterruptible progress;
  detector.SetProgress(&progress);
  return detector.Run();
}

void TellSkipped(const CUnitSearch& search, CTerminalTextOut& out) {
  for (const CSkippedPort& port : search.skipped)
    out.Message(std::string("The MIDI ") + (port.input ? "input" : "output") + " port \"" + port.name +
                "\" could not be opened" + (port.reason.empty() ? "." : ": " + port.reason));
}

// Whether a unit's port is the one given by name (or any, for "auto").
bool Fits(const std::string& given, const std::string& port) {
  return given == "auto" || FindStoredPort(given, {port}) == 0;
}

std::string NobodyText(const CUnitSearch& search) {
  if (search.inputs.empty() && search.outputs.empty() && search.skipped.empty())
    return "No unit answered: there are no MIDI ports but the built-in simulated unit's (see 'qzml ports').";
  return "No unit answered the identity request. " + search.PortsText();
}

std::string UnitList(const std::vector<CFoundUnit>& units) {
  std::string text;
  for (const CFoundUnit& unit : units)
    text += (text.empty() ? "" : "; ") + DescribeUnit(unit);
  return text;
}

} // namespace

bool RunDetect(const CCommandLine& line, CTerminalTextOut& out) {
  InstallInterruptHandlers();
  CMidiSession session(line.global, out);
  if (!session.Start())
    return false;
  const CUnitSearch search = Search(session);
  if (search.cancelled) {
    out.Message("Cancelled.");
    return false;
  }
  TellSkipped(search, out);
  for (const CFoundUnit& unit : search.units)
    std::printf("%s\t%d\t%s\t%s\n", QZML::ModelName(unit.model), unit.deviceId + 1, unit.inPort.c_str(),
                unit.outPort.c_str());
  if (search.units.empty()) {
    out.Message(NobodyText(search));
    return false;
  }
  return true;
}

bool ConnectUnit(CMidiSession& session, const CCommandLine& line, CTerminalTextOut& out) {
  std::string in = line.Get("--in");
  std::string outPort = line.Get("--out");
  int deviceId = line.global.deviceId;
  if (in != "auto" && outPort != "auto" && !line.global.deviceIdAuto)
    return session.Connect(in, outPort, deviceId);

  const CUnitSearch search = Search(session);
  if (search.cancelled) {
    out.Message("Cancelled while looking for the unit.");
    return false;
  }
  std::vector<CFoundUnit> fitting, ofModel;
  for (const CFoundUnit& unit : search.units) {
    if (!Fits(in, unit.inPort) || !Fits(outPort, unit.outPort) ||
        (!line.global.deviceIdAuto && unit.deviceId + 1 != deviceId))
      continue;
    fitting.push_back(unit);
    if (unit.model == line.global.model)
      ofModel.push_back(unit);
  }
  const std::string model = QZML::ModelName(line.global.model);
  if (ofModel.size() > 1) {
    out.Message("Several units answered: " + UnitList(ofModel) +
                ". Name the one to use with --in, --out and --device-id.");
    return false;
  }
  if (ofModel.empty()) {
    TellSkipped(search, out);
    if (!fitting.empty())
      out.Message("No " + model + " answered, but: " + UnitList(fitting) + ". --model names the target model.");
    else if (!search.units.empty())
      out.Message("No " + model + " answered on the given ports and device ID; found: " + UnitList(search.units) + ".");
    else
      out.Message(NobodyText(search));
    return false;
  }
  const CFoundUnit& unit = ofModel.front();
  std::fprintf(stderr, "qzml: using the %s.\n", DescribeUnit(unit).c_str());
  std::fflush(stderr);
  return session.Connect(unit.inPort, unit.outPort, unit.deviceId + 1);
}

} // namespace QZCli
