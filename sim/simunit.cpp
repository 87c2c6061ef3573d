#include "sim/simunit.h"

#include <algorithm>
#include <cstring>

#include "exclusive/orvanemessage.h"
#include "model/parameteraddress.h"

using QZML::CByteArray;

namespace {

constexpr std::uint8_t kUniversalNonRealtime = 0x7E;
constexpr std::uint8_t kAllCall = 0x7F;
constexpr int kAddressWidth = 4;

CZelAddressing Addressing(const CSimOptions& options) {
  CZelAddressing port;
  port.deviceId = options.deviceId;
  port.modelId = CSimUnit::ModelIdBytes(options.model);
  port.addressWidth = kAddressWidth;
  return port;
}

// Offset of a block instance from its patch's first address.
std::uint32_t BlockOffset(int index) {
  const QZML::CBlockInstance& block = QZML::BlockInstance(index);
  return QZML::CParameterAddress().GetParameterAddress(QZML::AREA_USER, 0, block.kind->id, block.sub) -
         QZML::ADDRESS_USER;
}

} // namespace

CSimUnit::CSimUnit(const CSimOptions& options) : m_temporary(kSimPatchSpan) {
  SetOptions(options);
  InitializePatch(m_temporary.data());
}

void CSimUnit::SetOptions(const CSimOptions& options) {
  m_options = options;
  int count = QZML::UserPatchCount(options.model);
  if (count == m_userCount)
    return;
  m_user.resize(static_cast<std::size_t>(count) * kSimPatchSpan);
  for (int n = m_userCount; n < count; ++n)
    InitializePatch(m_user.data() + static_cast<std::size_t>(n) * kSimPatchSpan);
  m_userCount = count;
}

CByteArray CSimUnit::ModelIdBytes(QZML::EModel model) {
  const unsigned char* id = QZML::ModelId(model);
  return CByteArray(id, id + 3);
}

CByteArray CSimUnit::IdentityReply(QZML::EModel model, std::uint8_t deviceId) {
  std::uint8_t family = model == QZML::MODEL_QZ5 ? 0x06 : 0x0B;
  return {0xF0, kUniversalNonRealtime, deviceId, 0x06, 0x02, ORVANE_MANUFACTURER_ID,
          family, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF7};
}

void CSimUnit::Receive(const CByteArray& message) {
  bool taken = false;
  if (message.size() >= 2 && message.front() == 0xF0 && message.back() == 0xF7) {
    if (message[1] == kUniversalNonRealtime)
      taken = AnswerIdentity(message);
    else if (message[1] == ORVANE_MANUFACTURER_ID)
      taken = AnswerOrvane(message);
  }
  if (!taken)
    ++m_counters.ignored;
}

bool CSimUnit::AnswerIdentity(const CByteArray& message) {
  if (message.size() != 6 || message[3] != 0x06 || message[4] != 0x01)
    return false;
  if (message[2] != m_options.deviceId && message[2] != kAllCall)
    return false;
  ++m_counters.identityRequests;
  if (NextAnswer())
    Send(IdentityReply(m_options.model, m_options.deviceId));
  return true;
}

bool CSimUnit::AnswerOrvane(const CByteArray& message) {
  CZelOrvaneMessage parsed;
  if (!parsed.Parse(message, kAddressWidth))
    return false;
  if (parsed.GetField(ORVANE_FIELD_MODEL_ID) != ModelIdBytes(m_options.model))
    return false;
  if (parsed.GetField(ORVANE_FIELD_DEVICE_ID) != CByteArray{m_options.deviceId})
    return false;
  if (parsed.GetChecksum() != parsed.CalcChecksum())
    return false;
  CByteArray command = parsed.GetField(ORVANE_FIELD_COMMAND);
  std::uint32_t address = FromSevenBitBytes(parsed.GetField(ORVANE_FIELD_ADDRESS));
  CByteArray data = parsed.GetField(ORVANE_FIELD_DATA);

  if (command == OrvaneRequestCommand()) {
    if (data.size() != kAddressWidth)
      return false;
    std::uint32_t size = FromSevenBitBytes(data);
    const std::uint8_t* source = Locate(address, size);
    if (!source)
      return false;
    ++m_counters.dataRequests;
    SendDataSet(address, CByteArray(source, source + size));
    return true;
  }
  if (command == OrvaneDataSetCommand()) {
    if (!WriteMemory(address, data.data(), data.size()))
      return false;
    ++m_counters.dataSets;
    return true;
  }
  return false;
}

bool CSimUnit::NextAnswer() {
  int answer = ++m_counters.answers;
  if (m_options.drop.Hits(answer)) {
    ++m_counters.dropped;
    return false;
  }
  return true;
}

void CSimUnit::SendDataSet(std::uint32_t address, const CByteArray& data) {
  if (!NextAnswer())
    return;
  int answer = m_counters.answers;
  if (m_options.otherAddress.Hits(answer))
    address += QZML::GROUP_STRIDE;
  CZelOrvaneMessage reply = MakeDataSet(Addressing(m_options), address, data);
  if (m_options.badChecksum.Hits(answer))
    reply.SetField(ORVANE_FIELD_CHECKSUM, {static_cast<std::uint8_t>((reply.CalcChecksum() + 1) & 0x7F)});
  Send(reply.GetBytes());
}

void CSimUnit::Send(const CByteArray& message) {
  if (!m_output)
    return;
  static const CByteArray kActiveSensing = {0xFE};
  for (int i = 0; i < m_options.activeSensing; ++i)
    m_output(kActiveSensing);
  m_output(message);
}

std::uint8_t* CSimUnit::Locate(std::uint32_t address, std::size_t size) {
  return const_cast<std::uint8_t*>(static_cast<const CSimUnit*>(this)->Locate(address, size));
}

const std::uint8_t* CSimUnit::Locate(std::uint32_t address, std::size_t size) const {
  // Compared as lengths so that no sum can wrap.
  auto inside = [&](std::uint32_t start, std::size_t length) {
    return address >= start && address - start <= length && size <= length - (address - start);
  };
  if (inside(QZML::ADDRESS_USER, m_user.size()))
    return m_user.data() + (address - QZML::ADDRESS_USER);
  if (inside(QZML::ADDRESS_TEMPORARY, m_temporary.size()))
    return m_temporary.data() + (address - QZML::ADDRESS_TEMPORARY);
  return nullptr;
}

bool CSimUnit::ReadMemory(std::uint32_t address, std::size_t size, CByteArray& out) const {
  const std::uint8_t* source = Locate(address, size);
  if (!source)
    return false;
  out.assign(source, source + size);
  return true;
}

bool CSimUnit::WriteMemory(std::uint32_t address, const std::uint8_t* data, std::size_t size) {
  std::uint8_t* target = Locate(address, size);
  if (!target)
    return false;
  if (size > 0)
    std::memcpy(target, data, size);
  return true;
}

void CSimUnit::InitializePatch(std::uint8_t* base) {
  std::memset(base, 0, kSimPatchSpan);
  const auto& image = QZML::CPatch::DefaultImage();
  for (int i = 0; i < QZML::kBlockCount; ++i) {
    const QZML::CBlockInstance& block = QZML::BlockInstance(i);
    std::memcpy(base + BlockOffset(i), image.data() + block.flatOffset, static_cast<std::size_t>(block.size));
  }
}

void CSimUnit::InitializeMemory() {
  for (int n = 0; n < m_userCount; ++n)
    InitializePatch(m_user.data() + static_cast<std::size_t>(n) * kSimPatchSpan);
  InitializePatch(m_temporary.data());
}

void CSimUnit::PatchFromMemory(const std::uint8_t* base, QZML::CPatch& patch) {
  patch.Initialize();
  for (int i = 0; i < QZML::kBlockCount; ++i) {
    QZML::CBlockRef block = patch.Block(i);
    std::memcpy(block.data, base + BlockOffset(i), static_cast<std::size_t>(block.size));
    if (QZML::BlockInstance(i).kind->id == QZML::BLOCK_NAME) {
      for (int c = 0; c < block.size; ++c) {
        if (block.data[c] == 0x7E)
          block.data[c] = '}';
        else if (block.data[c] == 0x7F)
          block.data[c] = '{';
      }
    }
  }
}

void CSimUnit::PatchToMemory(const QZML::CPatch& patch, std::uint8_t* base) {
  const std::uint8_t* image = patch.Image();
  for (int i = 0; i < QZML::kBlockCount; ++i) {
    const QZML::CBlockInstance& block = QZML::BlockInstance(i);
    std::uint8_t* target = base + BlockOffset(i);
    bool name = block.kind->id == QZML::BLOCK_NAME;
    for (int c = 0; c < block.size; ++c) {
      std::uint8_t value = image[block.flatOffset + c];
      if (name && value == '}')
        value = 0x7E;
      else if (name && value == '{')
        value = 0x7F;
      // The unit holds 7-bit values; a byte above that could not be sent in a message.
      target[c] = value & 0x7F;
    }
  }
}

bool CSimUnit::GetUserPatch(int number, QZML::CPatch& patch) const {
  if (number < 0 || number >= m_userCount)
    return false;
  PatchFromMemory(m_user.data() + static_cast<std::size_t>(number) * kSimPatchSpan, patch);
  return true;
}

bool CSimUnit::SetUserPatch(int number, const QZML::CPatch& patch) {
  if (number < 0 || number >= m_userCount)
    return false;
  PatchToMemory(patch, m_user.data() + static_cast<std::size_t>(number) * kSimPatchSpan);
  return true;
}

void CSimUnit::GetTemporaryPatch(QZML::CPatch& patch) const { PatchFromMemory(m_temporary.data(), patch); }

void CSimUnit::SetTemporaryPatch(const QZML::CPatch& patch) { PatchToMemory(patch, m_temporary.data()); }

void CSimUnit::SaveUserPatches(QZML::CPatchArray& patches) const {
  patches.Clear();
  for (int n = 0; n < m_userCount; ++n) {
    auto patch = std::make_unique<QZML::CPatch>();
    GetUserPatch(n, *patch);
    patches.Add(std::move(patch));
  }
}

void CSimUnit::LoadUserPatches(const QZML::CPatchArray& patches) {
  std::size_t count = std::min(patches.size(), static_cast<std::size_t>(m_userCount));
  for (std::size_t n = 0; n < count; ++n) {
    if (const QZML::CPatch* patch = patches.Get(n))
      SetUserPatch(static_cast<int>(n), *patch);
  }
}
