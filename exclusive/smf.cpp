#include "exclusive/smf.h"

#include <algorithm>
#include <cstring>

#include "exclusive/shortmessage.h"

namespace {

// Largest piece asked of ReadBytes at once: a length field can announce up to 256 MiB, and
// the buffer must only grow with bytes the source really has.
const std::uint32_t kReadPiece = 4096;

} // namespace

// ---- CZelSmf ----

void CZelSmf::CHeaderChunk::Reset() {
  std::memcpy(bytes, "MThd", 4);
  SetLength(6);
  SetFormat(0);
  SetTrackCount(0);
  SetDivision(96);
}

bool CZelSmf::CHeaderChunk::HasMagic() const { return std::memcmp(bytes, "MThd", 4) == 0; }

void CZelSmf::CTrackChunk::Reset() {
  std::memcpy(bytes, "MTrk", 4);
  SetLength(0);
}

bool CZelSmf::CTrackChunk::HasMagic() const { return std::memcmp(bytes, "MTrk", 4) == 0; }

std::uint16_t CZelSmf::GetBigEndian16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

std::uint32_t CZelSmf::GetBigEndian32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

void CZelSmf::SetBigEndian16(std::uint8_t* p, std::uint16_t value) {
  p[0] = static_cast<std::uint8_t>(value >> 8);
  p[1] = static_cast<std::uint8_t>(value);
}

void CZelSmf::SetBigEndian32(std::uint8_t* p, std::uint32_t value) {
  p[0] = static_cast<std::uint8_t>(value >> 24);
  p[1] = static_cast<std::uint8_t>(value >> 16);
  p[2] = static_cast<std::uint8_t>(value >> 8);
  p[3] = static_cast<std::uint8_t>(value);
}

QZML::CByteArray CZelSmf::EncodeVarLen(std::uint32_t value) {
  QZML::CByteArray bytes;
  bool started = false;
  for (int shift = 21; shift >= 0; shift -= 7) {
    const std::uint8_t group = static_cast<std::uint8_t>((value >> shift) & 0x7F);
    if (!started && group == 0 && shift > 0)
      continue;
    started = true;
    bytes.push_back(shift > 0 ? static_cast<std::uint8_t>(group | 0x80) : group);
  }
  return bytes;
}

// ---- CZelSmfRead ----

void CZelSmfRead::OnHeader(const CHeaderChunk&) {}
void CZelSmfRead::OnTrackHeader(const CTrackChunk&) {}
void CZelSmfRead::OnShortEvent(std::uint32_t, std::uint32_t) {}
void CZelSmfRead::OnExclusiveEvent(std::uint32_t, const CZelLongMessage&) {}
void CZelSmfRead::OnMetaEvent(std::uint32_t, const CMetaEvent&) {}

bool CZelSmfRead::ReadExact(QZML::CByteArray& out, std::uint32_t count) {
  QZML::CByteArray piece;
  while (count > 0) {
    const std::uint32_t want = std::min(count, kReadPiece);
    // The position is 32-bit; a source beyond 4 GiB cannot be addressed.
    if (static_cast<std::uint64_t>(m_position) + want > 0xFFFFFFFFu)
      return false;
    piece.clear();
    ReadBytes(piece, m_position, want);
    if (piece.size() > want)
      return false;
    out.insert(out.end(), piece.begin(), piece.end());
    m_position += static_cast<std::uint32_t>(piece.size());
    if (piece.size() < want)
      return false;
    count -= want;
  }
  return true;
}

bool CZelSmfRead::ReadByte(std::uint8_t& value) {
  QZML::CByteArray one;
  if (!ReadExact(one, 1))
    return false;
  value = one[0];
  return true;
}

std::int32_t CZelSmfRead::ReadVarLen() {
  std::int32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    std::uint8_t byte = 0;
    if (!ReadByte(byte))
      return -1;
    value = (value << 7) | (byte & 0x7F);
    if (!(byte & 0x80))
      return value;
  }
  return -1;
}

bool CZelSmfRead::ReadHeader() {
  QZML::CByteArray bytes;
  if (!ReadExact(bytes, 14))
    return false;
  CHeaderChunk header;
  std::memcpy(header.bytes, bytes.data(), 14);
  if (!header.HasMagic() || header.GetLength() != 6)
    return false;
  OnHeader(header);
  m_trackCount = header.GetTrackCount();
  return true;
}

bool CZelSmfRead::ReadTrackHeader() {
  QZML::CByteArray bytes;
  if (!ReadExact(bytes, 8))
    return false;
  CTrackChunk track;
  std::memcpy(track.bytes, bytes.data(), 8);
  if (!track.HasMagic())
    return false;
  OnTrackHeader(track);
  return true;
}

bool CZelSmfRead::ReadEvent() {
  const std::int32_t delta = ReadVarLen();
  if (delta < 0)
    return false;
  std::uint8_t status = 0;
  if (!ReadByte(status))
    return false;

  if (status == 0xF0 || status == 0xF7) {
    const std::int32_t length = ReadVarLen();
    if (length < 0)
      return false;
    QZML::CByteArray bytes;
    if (status == 0xF0)
      bytes.push_back(0xF0);
    if (!ReadExact(bytes, static_cast<std::uint32_t>(length)))
      return false;
    CZelLongMessage message;
    message.SetBytes(bytes);
    OnExclusiveEvent(static_cast<std::uint32_t>(delta), message);
    return true;
  }

  if (status == 0xFF) {
    std::uint8_t type = 0;
    if (!ReadByte(type))
      return false;
    const std::int32_t length = ReadVarLen();
    if (length < 0)
      return false;
    CMetaEvent event;
    event.type = type;
    if (!ReadExact(event.data, static_cast<std::uint32_t>(length)))
      return false;
    OnMetaEvent(static_cast<std::uint32_t>(delta), event);
    if (type == META_END_OF_TRACK)
      m_endOfTrack = 1;
    return true;
  }

  // Channel message. A data byte in status place is read again under the running status.
  if (status < 0x80) {
    --m_position;
    status = m_runningStatus;
  }
  // No running status in effect: the data byte starts the next event. The delta read above
  // consumed at least one byte, so the walk still moves forward.
  if (status < 0x80)
    return true;
  if (status >= 0xF1)
    return true;
  const std::uint32_t count = ShortMessageLength(status) - 1;
  QZML::CByteArray data;
  if (!ReadExact(data, count))
    return false;
  m_runningStatus = status;
  OnShortEvent(static_cast<std::uint32_t>(delta), PackShortMessage(status, data[0], count > 1 ? data[1] : 0));
  return true;
}

bool CZelSmfRead::Read() {
  m_trackCount = 0;
  m_position = 0;
  m_endOfTrack = 0;
  m_runningStatus = 0;
  if (!ReadHeader())
    return false;
  for (int track = 0; track < m_trackCount; ++track) {
    if (!ReadTrackHeader())
      return false;
    m_endOfTrack = 0;
    while (!m_endOfTrack)
      if (!ReadEvent())
        return false;
  }
  return true;
}

// ---- CZelSmfWrite ----

bool CZelSmfWrite::Write(const QZML::CByteArray& bytes) {
  const int written = WriteBytes(m_position, bytes);
  if (written < 0 || static_cast<std::size_t>(written) < bytes.size())
    return false;
  m_position += static_cast<std::uint32_t>(bytes.size());
  return true;
}

bool CZelSmfWrite::Write(const std::uint8_t* bytes, std::size_t count) {
  return Write(QZML::CByteArray(bytes, bytes + count));
}

bool CZelSmfWrite::Begin() {
  m_trackCount = 0;
  m_position = 0;
  m_trackStart = 0;
  m_header.Reset();
  m_track.Reset();
  return Write(m_header.bytes, sizeof m_header.bytes);
}

bool CZelSmfWrite::BeginTrack() {
  m_trackStart = m_position;
  m_track.Reset();
  return Write(m_track.bytes, sizeof m_track.bytes);
}

bool CZelSmfWrite::WriteVarLen(std::uint32_t value) { return Write(EncodeVarLen(value)); }

bool CZelSmfWrite::WriteExclusive(std::uint32_t delta, const CZelLongMessage& message) {
  // A length that does not fit four 7-bit groups would be written cut and break the file.
  if (message.size() == 0 || message.size() - 1 > MAX_VAR_LEN)
    return false;
  const QZML::CByteArray& bytes = message.GetBytes();
  static const std::uint8_t kStart = 0xF0;
  return WriteVarLen(delta) && Write(&kStart, 1) && WriteVarLen(static_cast<std::uint32_t>(bytes.size() - 1)) &&
         Write(bytes.data() + 1, bytes.size() - 1);
}

bool CZelSmfWrite::WriteMeta(std::uint32_t delta, const CMetaEvent& event) {
  if (event.type < 0 || event.type > 0xFF || event.data.size() > MAX_VAR_LEN)
    return false;
  const std::uint8_t head[2] = {0xFF, static_cast<std::uint8_t>(event.type)};
  if (!WriteVarLen(delta) || !Write(head, 2) || !WriteVarLen(static_cast<std::uint32_t>(event.data.size())))
    return false;
  return event.data.empty() || Write(event.data);
}

bool CZelSmfWrite::EndTrack() {
  // A track without its end-of-track event cannot be read back, so its failure fails the track.
  CMetaEvent end;
  end.type = META_END_OF_TRACK;
  if (!WriteMeta(0, end))
    return false;
  const std::uint32_t trackEnd = m_position;
  m_track.SetLength(trackEnd - m_trackStart - 8);
  m_position = m_trackStart;
  const bool ok = Write(m_track.bytes, sizeof m_track.bytes);
  m_position = trackEnd;
  if (ok)
    ++m_trackCount;
  return ok;
}

std::uint32_t CZelSmfWrite::Finish() {
  m_header.SetTrackCount(static_cast<std::int16_t>(m_trackCount));
  const std::uint32_t end = m_position;
  m_position = 0;
  const bool ok = Write(m_header.bytes, sizeof m_header.bytes);
  m_position = end;
  return ok ? end : 0;
}
