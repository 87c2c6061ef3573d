#pragma once
// Standard MIDI File container: an event-driven reader and a chunk-laying writer.
//
// Neither class touches a file. The reader fetches bytes through ReadBytes(position, count) and the
// writer stores them through WriteBytes(position, bytes): position-addressed byte operations, because
// the writer goes back to fill in chunk lengths and the reader is bounded by what ReadBytes delivers.
// Derived classes supply them over whatever holds the file; CZelSmfBufferRead / CZelSmfBufferWrite
// (smfbuffer.h) do it over an in-memory byte buffer, and a disk file is read into or written from
// such a buffer in one piece (ReadStreamToBuffer), as the files are small.

#include <cstdint>

#include "exclusive/longmessage.h"
#include "model/bytes.h"

// Common base: the chunk records and the big-endian numbers of the format.
class CZelSmf {
public:
  // The 14 header chunk bytes as in the file: "MThd", length, format, track count, division.
  struct CHeaderChunk {
    std::uint8_t bytes[14];

    CHeaderChunk() { Reset(); }
    // "MThd", 6, format 0, no tracks, 96 ticks per quarter note.
    void Reset();
    bool HasMagic() const;
    std::uint32_t GetLength() const { return GetBigEndian32(bytes + 4); }
    std::int16_t GetFormat() const { return static_cast<std::int16_t>(GetBigEndian16(bytes + 8)); }
    std::int16_t GetTrackCount() const { return static_cast<std::int16_t>(GetBigEndian16(bytes + 10)); }
    std::uint16_t GetDivision() const { return GetBigEndian16(bytes + 12); }
    void SetLength(std::uint32_t value) { SetBigEndian32(bytes + 4, value); }
    void SetFormat(std::int16_t value) { SetBigEndian16(bytes + 8, static_cast<std::uint16_t>(value)); }
    void SetTrackCount(std::int16_t value) { SetBigEndian16(bytes + 10, static_cast<std::uint16_t>(value)); }
    void SetDivision(std::uint16_t value) { SetBigEndian16(bytes + 12, value); }
  };

  // The 8 track chunk header bytes: "MTrk" and the length of the events that follow.
  struct CTrackChunk {
    std::uint8_t bytes[8];

    CTrackChunk() { Reset(); }
    void Reset();  // "MTrk", length 0
    bool HasMagic() const;
    std::uint32_t GetLength() const { return GetBigEndian32(bytes + 4); }
    void SetLength(std::uint32_t value) { SetBigEndian32(bytes + 4, value); }
  };

  // A meta event; type -1 is the empty event.
  struct CMetaEvent {
    std::int32_t type = -1;
    QZML::CByteArray data;
  };

  enum : std::int32_t { META_END_OF_TRACK = 0x2F };
  // Variable-length quantities hold at most four 7-bit groups.
  enum : std::uint32_t { MAX_VAR_LEN = 0x0FFFFFFF };

  static std::uint16_t GetBigEndian16(const std::uint8_t* p);
  static std::uint32_t GetBigEndian32(const std::uint8_t* p);
  static void SetBigEndian16(std::uint8_t* p, std::uint16_t value);
  static void SetBigEndian32(std::uint8_t* p, std::uint32_t value);
  // 1 to 4 bytes, leading zero groups left out; bits from 28 up are dropped.
  static QZML::CByteArray EncodeVarLen(std::uint32_t value);

protected:
  CZelSmf() = default;
  ~CZelSmf() = default;
};

// Walks a whole file and hands each event to the On... operations, in file order.
// Tracks end at their end-of-track event; the track length field is not used.
class CZelSmfRead : public CZelSmf {
public:
  CZelSmfRead() = default;
  virtual ~CZelSmfRead() = default;

  virtual void OnHeader(const CHeaderChunk& header);
  virtual void OnTrackHeader(const CTrackChunk& track);
  virtual void OnShortEvent(std::uint32_t delta, std::uint32_t packedMessage);
  // A message whose inner bytes break the exclusive rule arrives as the empty message F0 00 F7.
  virtual void OnExclusiveEvent(std::uint32_t delta, const CZelLongMessage& message);
  virtual void OnMetaEvent(std::uint32_t delta, const CMetaEvent& event);
  // Replaces out with the source's bytes from position, at most count of them: fewer when the
  // source ends earlier, none at or past its end. Must not move the reader's position.
  virtual void ReadBytes(QZML::CByteArray& out, std::uint32_t position, std::uint32_t count) = 0;

  // True when the header and as many tracks as it announces were read completely. Stops at the
  // first malformed spot; what the operations received before it stays received.
  bool Read();

  std::int16_t GetTrackCount() const { return m_trackCount; }
  std::uint32_t GetPosition() const { return m_position; }

protected:
  bool ReadHeader();
  bool ReadTrackHeader();
  bool ReadEvent();
  // The value, or -1 when the source ends or a fourth byte still has bit 7 set.
  std::int32_t ReadVarLen();

  std::int16_t m_trackCount = 0;
  std::uint32_t m_position = 0;
  std::uint8_t m_endOfTrack = 0;
  std::uint8_t m_runningStatus = 0;

private:
  // Appends exactly count bytes at the position and advances past them; false when the source
  // has fewer. Reads in bounded pieces, so a length field never sizes a buffer by itself.
  bool ReadExact(QZML::CByteArray& out, std::uint32_t count);
  bool ReadByte(std::uint8_t& value);
};

// Lays out a format 0 file: Begin, then per track BeginTrack, events, EndTrack; then Finish.
class CZelSmfWrite : public CZelSmf {
public:
  CZelSmfWrite() = default;
  virtual ~CZelSmfWrite() = default;

  // Stores bytes at position, overwriting and growing the target as needed; returns the number
  // stored. Fewer than bytes.size() is a failure.
  virtual int WriteBytes(std::uint32_t position, const QZML::CByteArray& bytes) = 0;

  bool Begin();
  bool BeginTrack();
  // Delta, F0, the length of the bytes after F0, those bytes (ending with F7).
  bool WriteExclusive(std::uint32_t delta, const CZelLongMessage& message);
  bool WriteMeta(std::uint32_t delta, const CMetaEvent& event);
  bool WriteVarLen(std::uint32_t value);
  // Writes end-of-track and fills in the track length (every byte after the track header).
  bool EndTrack();
  // Writes the final track count into the header; the file's length, or 0 on failure.
  std::uint32_t Finish();

  std::int32_t GetTrackCount() const { return m_trackCount; }
  std::uint32_t GetPosition() const { return m_position; }

protected:
  bool Write(const QZML::CByteArray& bytes);
  bool Write(const std::uint8_t* bytes, std::size_t count);

  std::int32_t m_trackCount = 0;
  std::uint32_t m_position = 0;
  std::uint32_t m_trackStart = 0;
  CHeaderChunk m_header;
  CTrackChunk m_track;
};
