// The logical inputs' Receive path fed with any byte stream. The stream is cut into messages the way a
// port delivers them: F0 up to and including the next F7 (or the end) as one exclusive message whatever
// lies inside, a status byte with the data bytes its kind takes, a stray data byte alone. Each message
// goes to an input device with the program's logical inputs attached: the unit's input for either model,
// the through input that forwards, and inputs of other address widths.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "exclusive/orvanemessage.h"
#include "exclusive/shortmessage.h"
#include "fuzz/fuzzcheck.h"
#include "midi/midiindevice.h"
#include "midi/midiout.h"
#include "midi/zelmidiin.h"
#include "midi/zelmidiout.h"

namespace {

// What a handler sees has passed the input's checks.
class CCheckingHandler : public IZelMidiMessageHandler, public IZelMidiRequestHandler {
public:
  explicit CCheckingHandler(const CZelMidiIn& input) : m_input(input) {}

  bool OnShortMessage(std::uint32_t packed) override {
    QZ_FUZZ_CHECK((packed & 0xFF000000u) == 0);
    return true;
  }
  bool OnExclusive(const CZelLongMessage& message) override {
    QZ_FUZZ_CHECK(CZelLongMessage::IsValid(message.GetBytes()));
    QZ_FUZZ_CHECK(message[1] == 0x7E || message[1] == 0x7F);
    return true;
  }
  bool OnDataSet(const CZelOrvaneMessage& message) override {
    CheckAddressed(message);
    QZ_FUZZ_CHECK(message.GetField(ORVANE_FIELD_COMMAND) == OrvaneDataSetCommand());
    QZ_FUZZ_CHECK(message.GetChecksum() == message.CalcChecksum());
    // What a device reader takes from it.
    const std::uint32_t address = FromSevenBitBytes(message.GetField(ORVANE_FIELD_ADDRESS));
    const QZML::CByteArray data = message.GetField(ORVANE_FIELD_DATA);
    QZ_FUZZ_CHECK(data.size() + 4 <= message.size());
    (void)address;
    return true;
  }
  bool OnIdentityRequest(const CZelLongMessage& message) override {
    QZ_FUZZ_CHECK(message[1] == 0x7E && message.size() >= 5 && message[3] == 0x06 && message[4] == 0x01);
    return true;
  }
  bool OnRequest(const CZelOrvaneMessage& message) override {
    CheckAddressed(message);
    QZ_FUZZ_CHECK(message.GetField(ORVANE_FIELD_COMMAND) == OrvaneRequestCommand());
    (void)FromSevenBitBytes(message.GetField(ORVANE_FIELD_DATA));
    return true;
  }

private:
  void CheckAddressed(const CZelOrvaneMessage& message) const {
    QZ_FUZZ_CHECK(CZelLongMessage::IsValid(message.GetBytes()));
    QZ_FUZZ_CHECK(message[1] == m_input.m_manufacturerId);
    QZ_FUZZ_CHECK(message.GetField(ORVANE_FIELD_MODEL_ID) == m_input.m_modelId);
    QZ_FUZZ_CHECK(message.GetField(ORVANE_FIELD_DEVICE_ID) == QZML::CByteArray{m_input.m_deviceId});
    QZ_FUZZ_CHECK(message.GetField(ORVANE_FIELD_ADDRESS).size() ==
                  static_cast<std::size_t>(m_input.m_addressWidth > 0 ? m_input.m_addressWidth : 0));
  }
  const CZelMidiIn& m_input;
};

// The through output's device: what is forwarded must be the message as received.
class CCheckingOutDevice : public CZelMidiOutDevice {
public:
  bool Send(const QZML::CByteArray& bytes) override {
    QZ_FUZZ_CHECK(current && bytes == *current);
    ++sent;
    return true;
  }
  const QZML::CByteArray* current = nullptr;
  int sent = 0;
};

struct CRig {
  CRig() {
    const QZML::CByteArray qzmax{0x00, 0x00, 0x0B}, qz5{0x00, 0x00, 0x06};
    Configure(0, "QZMLibrarian", qzmax, 0x10, 4);
    Configure(1, "", {}, 0x00, 4);
    Configure(2, "QZMLibrarian", qz5, 0x00, 4);
    Configure(3, "width 0", qzmax, 0x10, 0);
    Configure(4, "width 1", qzmax, 0x10, 1);
    Configure(5, "width 7", qz5, 0x7F, 7);
    Configure(6, "width -1", qzmax, 0x10, -1);
    inputs[1].m_forward = &through;
    through.SetDevice(&out);
    handlers.reserve(kInputs);
    for (std::size_t i = 0; i < kInputs; ++i) {
      handlers.emplace_back(inputs[i]);
      device.Attach(&inputs[i]);
    }
    for (std::size_t i = 0; i < kInputs; ++i) {
      inputs[i].m_messageHandler = &handlers[i];
      inputs[i].m_requestHandler = &handlers[i];
      inputs[i].m_dataSetHandlers.push_back(&handlers[i]);
    }
    inputs[0].m_generalHandler = &handlers[0];
  }
  void Configure(std::size_t i, const char* name, const QZML::CByteArray& model, std::uint8_t id, int width) {
    inputs[i].m_name = name;
    inputs[i].m_modelId = model;
    inputs[i].m_deviceId = id;
    inputs[i].m_addressWidth = width;
  }

  static constexpr std::size_t kInputs = 7;
  CZelMidiIn inputs[kInputs];
  std::vector<CCheckingHandler> handlers;
  CZelMidiOut through;
  CCheckingOutDevice out;
  CZelMidiInDevice device;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static CRig rig;
  std::size_t pos = 0;
  while (pos < size) {
    std::size_t end = pos + 1;
    if (data[pos] == 0xF0) {
      while (end < size && data[end - 1] != 0xF7)
        ++end;
    } else if (data[pos] >= 0x80) {
      end = pos + static_cast<std::size_t>(ShortMessageLength(data[pos]));
      if (end > size)
        end = size;
    }
    const QZML::CByteArray message(data + pos, data + end);
    rig.out.current = &message;
    rig.device.Dispatch(message);
    rig.out.current = nullptr;
    pos = end;
  }
  // An empty message is ignored.
  rig.device.Dispatch({});
  return 0;
}
