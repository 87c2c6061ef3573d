#include "tests/import/builders.h"

namespace testimport {
namespace {
const int kZklBlockSizes[21] = {54, 3, 7, 47, 10, 130, 8, 8, 8, 7, 1, 12, 16, 11, 11, 11, 11, 11, 11, 11, 11};
// QZ-3 row sizes.
const int kRowSizes[23] = {42, 17, 7, 16, 11, 124, 9, 8, 9, 7, 11, 16, 3, 9, 9, 12, 12, 12, 12, 12, 12, 12, 12};
} // namespace

void PutBE32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

ZklRecord ZklPatch(const std::string& name) {
  ZklRecord r;
  for (int i = 0; i < 16; ++i)
    r.image[295 + i] = i < static_cast<int>(name.size()) ? static_cast<std::uint8_t>(name[i]) : ' ';
  return r;
}

Bytes ZklBody(const ZklRecord& record) {
  Bytes out;
  int pos = 0;
  for (int size : kZklBlockSizes) {
    PutBE32(out, static_cast<std::uint32_t>(size));
    out.insert(out.end(), record.image.begin() + pos, record.image.begin() + pos + size);
    pos += size;
  }
  for (const std::string& memo : record.memos) {
    out.insert(out.end(), memo.begin(), memo.end());
    out.push_back(0);
  }
  return out;
}

Bytes ZklHeader(std::uint32_t count) {
  const std::string signature = "QZLibrarianFile0000             ";
  Bytes out(signature.begin(), signature.end());
  PutBE32(out, count);
  out.resize(160, 0);
  return out;
}

Bytes ZklFile(std::uint32_t count, const std::vector<Bytes>& bodies) {
  Bytes out = ZklHeader(count);
  for (const Bytes& body : bodies) {
    PutBE32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
  }
  return out;
}

Bytes ZklFile(const std::vector<ZklRecord>& records) {
  std::vector<Bytes> bodies;
  for (const ZklRecord& r : records)
    bodies.push_back(ZklBody(r));
  return ZklFile(static_cast<std::uint32_t>(records.size()), bodies);
}

std::uint32_t Qz3Address(int patch, int row, int offset) {
  return 0xC00000u + (static_cast<std::uint32_t>(patch) << 14) + (static_cast<std::uint32_t>(row) << 7) +
         static_cast<std::uint32_t>(offset);
}

Bytes Qz3DataSet(std::uint32_t address, const Bytes& data, std::uint8_t device) {
  Bytes m = {0xF0, 0x41, device, 0x00, 0x46, 0x12};
  Bytes body = {static_cast<std::uint8_t>((address >> 21) & 0x7F), static_cast<std::uint8_t>((address >> 14) & 0x7F),
                static_cast<std::uint8_t>((address >> 7) & 0x7F), static_cast<std::uint8_t>(address & 0x7F)};
  body.insert(body.end(), data.begin(), data.end());
  int sum = 0;
  for (std::uint8_t b : body)
    sum += b;
  m.insert(m.end(), body.begin(), body.end());
  m.push_back(static_cast<std::uint8_t>((128 - sum % 128) % 128));
  m.push_back(0xF7);
  return m;
}

Bytes Qz3Row(int patch, int row, const Bytes& values) {
  Bytes data = values;
  data.resize(static_cast<std::size_t>(kRowSizes[row]), 0);
  return Qz3DataSet(Qz3Address(patch, row, 0), data);
}

Bytes Vlq(std::uint32_t value) {
  Bytes out = {static_cast<std::uint8_t>(value & 0x7F)};
  while (value >>= 7)
    out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (value & 0x7F)));
  return out;
}

Bytes SysexEvent(const Bytes& message) {
  Bytes out = {0x00, 0xF0};
  Bytes length = Vlq(static_cast<std::uint32_t>(message.size() - 1));
  out.insert(out.end(), length.begin(), length.end());
  out.insert(out.end(), message.begin() + 1, message.end());
  return out;
}

Bytes Track(const std::vector<Bytes>& events, bool endOfTrack) {
  Bytes body;
  for (const Bytes& e : events)
    body.insert(body.end(), e.begin(), e.end());
  if (endOfTrack)
    body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00});
  Bytes out = {'M', 'T', 'r', 'k'};
  PutBE32(out, static_cast<std::uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

Bytes SmfHeader(int tracks) {
  return {'M',  'T',
          'h',  'd',
          0,    0,
          0,    6,
          0,    static_cast<std::uint8_t>(tracks > 1 ? 1 : 0),
          0,    static_cast<std::uint8_t>(tracks),
          0x01, 0xE0};
}

Bytes Qz3File(const std::vector<Bytes>& messages) {
  std::vector<Bytes> events;
  for (const Bytes& m : messages)
    events.push_back(SysexEvent(m));
  return Concat({SmfHeader(1), Track(events)});
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}

std::vector<std::pair<std::string, Bytes>> CorpusFiles() {
  std::vector<std::pair<std::string, Bytes>> files;

  // ZK-40: valid
  files.emplace_back("zkl/valid/empty.zkl", ZklFile({}));
  ZklRecord lead = ZklPatch("Lead Tone");
  lead.memos[0] = "first memo";
  lead.memos[3] = "fourth";
  lead.image[0] = 1; // FX1 on
  lead.image[1] = 1; // FX1 type that splits on c11 < c7
  lead.image[7] = 40;
  lead.image[11] = 10;
  lead.image[253] = 100; // delay 1811
  lead.image[254] = 5;
  lead.image[311] = 1; // assign 1 on, target 28 (no counterpart)
  lead.image[313] = 28;
  ZklRecord clean = ZklPatch("Clean");
  clean.image[1] = 0; // FX1 off; the chain entry moves
  clean.image[58] = 24;
  for (int i = 0; i < 12; ++i)
    clean.image[283 + i] = static_cast<std::uint8_t>(11 - i);
  ZklRecord wild = ZklPatch("Out Of Range");
  for (int i = 0; i < 295; ++i)
    wild.image[i] = 0x7F; // every value beyond its table
  files.emplace_back("zkl/valid/three-patches.zkl", ZklFile({lead, clean, wild}));
  // A body whose blocks claim more than the record holds, and one with no memos at all.
  Bytes overlong = ZklBody(ZklPatch("Overlong"));
  overlong[3] = 200; // block 1 claims 200 bytes
  files.emplace_back("zkl/valid/odd-records.zkl", ZklFile(2, {overlong, Bytes{0, 0, 0, 0}}));

  // ZK-40: invalid
  Bytes badSignature = ZklFile({ZklPatch("X")});
  badSignature[0] = 'X';
  files.emplace_back("zkl/invalid/bad-signature.zkl", badSignature);
  Bytes shortHeader = ZklHeader(0);
  shortHeader.resize(100);
  files.emplace_back("zkl/invalid/short-header.zkl", shortHeader);
  files.emplace_back("zkl/invalid/zero-length.zkl", ZklFile(1, {Bytes{}}));
  Bytes huge = ZklHeader(1);
  PutBE32(huge, 0xFFFFFFF0u);
  huge.insert(huge.end(), 64, 0);
  files.emplace_back("zkl/invalid/huge-length.zkl", huge);
  files.emplace_back("zkl/invalid/count-too-large.zkl", ZklFile(3, {ZklBody(ZklPatch("Only One"))}));
  Bytes truncated = ZklFile({ZklPatch("Cut")});
  truncated.resize(truncated.size() - 10);
  files.emplace_back("zkl/invalid/truncated-record.zkl", truncated);
  files.emplace_back("zkl/invalid/empty.zkl", Bytes{});

  // QZ-3: valid
  Bytes name = {'B', 'r', 'i', 'g', 'h', 't', 0x7E, ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', 0x7E};
  files.emplace_back("qz3/valid/two-patches.mid", Qz3File({Qz3Row(5, 11, name), Qz3Row(5, 6, {1, 0, 1, 91, 3}),
                                                           Qz3Row(2, 11, {'T', 'w', 'o'}), Qz3Row(2, 0, {1, 0, 40})}));
  std::vector<Bytes> full;
  for (int row = 0; row < 23; ++row) {
    Bytes values(static_cast<std::size_t>(kRowSizes[row]), 0x7F); // every value at or above its limit
    full.push_back(Qz3Row(0, row, values));
  }
  files.emplace_back("qz3/valid/all-rows-limits.mid", Qz3File(full));
  // Channel events with running status, a stray data byte after an exclusive event, a text event.
  Bytes mixed = Concat({SmfHeader(1), Track({{0x00, 0x90, 0x3C, 0x40},
                                             {0x10, 0x3E, 0x40},
                                             {0x00, 0xC0, 0x05},
                                             SysexEvent(Qz3Row(7, 11, {'M', 'i', 'x'})),
                                             {0x00, 0x22},
                                             {0x00, 0xFF, 0x01, 0x03, 'a', 'b', 'c'},
                                             {0x00, 0xF7, 0x2F},
                                             Bytes(0x2F, 0x00),
                                             SysexEvent(Qz3Row(7, 2, {1, 0, 17, 30}))})});
  files.emplace_back("qz3/valid/mixed-events.mid", mixed);
  files.emplace_back("qz3/valid/two-tracks.mid",
                     Concat({SmfHeader(2), Track({SysexEvent(Qz3Row(1, 11, {'O', 'n', 'e'}))}),
                             Track({SysexEvent(Qz3Row(9, 11, {'N', 'i', 'n', 'e'}))})}));
  // The file ends inside an exclusive event that claims more bytes than remain.
  Bytes cut = Qz3File({Qz3Row(3, 11, {'C', 'u', 't'}), Qz3Row(4, 11, {'L', 'o', 's', 't'})});
  cut.resize(cut.size() - 12);
  files.emplace_back("qz3/valid/truncated-tail.mid", cut);

  // QZ-3: invalid
  files.emplace_back("qz3/invalid/header-only.mid", Concat({SmfHeader(1), Track({})}));
  files.emplace_back("qz3/invalid/not-smf.mid", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 4, 'W', 'A', 'V', 'E'});
  files.emplace_back("qz3/invalid/no-track.mid", Concat({SmfHeader(1), Bytes{'X', 'T', 'r', 'k', 0, 0, 0, 0}}));
  files.emplace_back("qz3/invalid/other-unit.mid",
                     Qz3File({Bytes{0xF0, 0x41, 0x10, 0x00, 0x00, 0x0B, 0x12, 0x08, 0x00, 0x12, 0x00, 'A', 0x00, 0xF7},
                              Bytes{0xF0, 0x43, 0x10, 0x00, 0x46, 0x12, 0x60, 0x00, 0x00, 0x00, 0x01, 0x00, 0xF7}}));
  Bytes garbage = Qz3File({Qz3Row(0, 11, {'G'})});
  garbage.insert(garbage.end(), {'J', 'U', 'N', 'K', 0, 0});
  files.emplace_back("qz3/invalid/junk-after-track.mid", garbage);
  files.emplace_back("qz3/invalid/huge-lengths.mid",
                     Concat({SmfHeader(1), Bytes{'M', 'T', 'r', 'k', 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xF0, 0xFF, 0xFF,
                                                 0xFF, 0x7F, 0x41, 0x10}}));
  files.emplace_back(
      "qz3/invalid/stray-data-bytes.mid",
      Concat({SmfHeader(1), Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 8, 0x00, 0x22, 0x00, 0x33, 0x00, 0x44, 0x00, 0x55}}));
  return files;
}

} // namespace testimport
