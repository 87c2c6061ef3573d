#include "import/qz3importer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

#include "import/importcommon.h"
#include "import/qz3tables.h"
#include "import/tabletext.h"
#include "textout/textout.h"

namespace QZML {
namespace {

constexpr std::uint32_t kPatchArea = 0xC00000; // packed address of QZ-3 patch 0, row 0
constexpr std::size_t kLongestMessage = 511;   // F0 and the bytes after it; longer ones are skipped

int DelayTime(int value) { return value < 91 ? value * 20 : value + 1710; }

// Adds to a 7-bit pair; the sum carries into the upper byte so both stay 7-bit.
void AddToPair(std::uint8_t* p, int add) { PutPair(p, std::min(GetPair(p) + add, 0x3FFF)); }

// One QZ-MAX patch being rebuilt from a QZ-3 patch, with the import state that goes with it.
struct CImage {
  CPatchImage q = ImportDefaultImage();
  int s = 1;      // switch of parameters 11..16
  int r[17] = {}; // row 1, applied when finishing
  int p = -1;     // delay coarse value; -1 until it arrives
  int e = 0;      // parameter 77
  int k = 0;      // parameter 101
  int g = 0;      // flags: 1 FX1 and 2 FX2 taken by row 1, 8 the loop through the OD/DS
};

enum : int { FLAG_FX1 = 1, FLAG_FX2 = 2, FLAG_LOOP = 8 };

class CDumpReader {
public:
  CDumpReader() : m_t(QZ3Tables()) { std::fill(std::begin(m_index), std::end(m_index), -1); }

  // False when the bytes are not a Standard MIDI File where the scan expects one; a scan that runs
  // past the end of the bytes simply ends.
  bool Scan(const std::uint8_t* bytes, std::size_t size) {
    m_b = bytes;
    m_size = size;
    m_pos = 0;
    if (!Tag("MThd"))
      return false;
    if (!Skip(4 + 4 + 2 + 2 + 2)) // tag, header length, format, track count, division
      return true;
    if (!Tag("MTrk"))
      return false;
    if (!Skip(8))
      return true;
    int running = 0;
    std::size_t n = 0;
    while (m_pos < m_size) {
      if (!Number(n) || m_pos >= m_size) // delta time
        break;
      int status = m_b[m_pos];
      if (status < 0x80) {
        // A data byte where a status belongs: the running status repeats; without one it is skipped.
        if (running == 0) {
          ++m_pos;
          continue;
        }
        if (!Skip(DataBytes(running)))
          break;
        continue;
      }
      ++m_pos;
      if (status < 0xF0) {
        running = status;
        if (!Skip(DataBytes(status)))
          break;
        continue;
      }
      running = 0;
      if (status == 0xF0) {
        if (!Number(n) || n > m_size - m_pos)
          break;
        if (n + 1 <= kLongestMessage)
          Message(m_b + m_pos, n);
        m_pos += n;
        continue;
      }
      if (status == 0xF7) { // an escaped exclusive: length and bytes, no type
        if (!Number(n) || !Skip(n))
          break;
        continue;
      }
      if (m_pos >= m_size)
        break;
      int type = m_b[m_pos++];
      if (!Number(n) || !Skip(n))
        break;
      if (type == 0x2F) { // end of track: the file ends here or a further track follows
        if (m_pos == m_size)
          break;
        if (!Tag("MTrk"))
          return false;
        if (!Skip(8))
          break;
      }
    }
    return true;
  }

  // Applies what only a whole patch tells and hands out the images in order of first appearance.
  void Finish(CPatchArray& out) {
    for (int patch = 0; patch < CQZ3Tables::PATCH_COUNT; ++patch)
      if (m_index[patch] >= 0)
        Finish(m_images[static_cast<std::size_t>(m_index[patch])]);
    out.Resize(m_images.size());
    for (std::size_t i = 0; i < m_images.size(); ++i)
      out[i]->SetData(m_images[i].q.data());
  }

  std::size_t Count() const { return m_images.size(); }

private:
  static std::size_t DataBytes(int status) { return status >= 0xC0 && status <= 0xDF ? 1 : 2; }

  bool Tag(const char* tag) { return m_size - m_pos >= 4 && std::memcmp(m_b + m_pos, tag, 4) == 0; }
  bool Skip(std::size_t n) {
    if (n > m_size - m_pos) {
      m_pos = m_size;
      return false;
    }
    m_pos += n;
    return true;
  }
  // A variable-length quantity of at most four bytes.
  bool Number(std::size_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (m_pos >= m_size)
        return false;
      int byte = m_b[m_pos++];
      value = (value << 7) | static_cast<std::size_t>(byte & 0x7F);
      if (byte < 0x80)
        break;
    }
    return true;
  }

  // The bytes after F0. Only the QZ-3's data set counts: 41, device, 00 46 12, four address bytes,
  // data, checksum, F7.
  void Message(const std::uint8_t* m, std::size_t n) {
    if (n < 9 || m[0] != 0x41 || m[2] != 0x00 || m[3] != 0x46 || m[4] != 0x12)
      return;
    for (int i = 5; i < 9; ++i)
      if (m[i] >= 0x80)
        return;
    std::uint32_t address =
        (std::uint32_t(m[5]) << 21) | (std::uint32_t(m[6]) << 14) | (std::uint32_t(m[7]) << 7) | std::uint32_t(m[8]);
    std::size_t end = 9; // the terminating F7, or the message's end when it has none
    while (end < n && m[end] < 0x80)
      ++end;
    for (std::size_t i = 9; i + 1 < end; ++i) // the byte before the end is the checksum
      Byte(address + static_cast<std::uint32_t>(i - 9), m[i]);
  }

  int Value(const std::vector<int>& table, int v, int offset) const {
    return Lookup(table, v, ImportDefaultImage()[static_cast<std::size_t>(offset)]);
  }

  void Byte(std::uint32_t address, int v) {
    if (address < kPatchArea)
      return;
    std::uint32_t d = address - kPatchArea;
    std::uint32_t patch = d >> 14, rowIndex = (d >> 7) & 0x7F, offset = d & 0x7F;
    if (patch >= CQZ3Tables::PATCH_COUNT || rowIndex >= CQZ3Tables::ROW_COUNT)
      return;
    const CQZ3Row& row = m_t.rows[rowIndex];
    if (offset >= static_cast<std::uint32_t>(row.size))
      return;
    if (m_index[patch] < 0) {
      m_index[patch] = static_cast<int>(m_images.size());
      m_images.emplace_back();
    }
    CImage& im = m_images[static_cast<std::size_t>(m_index[patch])];
    v = std::min(v, row.largest[offset]);
    Parameter(im, row.firstParameter + static_cast<int>(offset), row.offsets[offset], v);
  }

  void Parameter(CImage& im, int n, int mapped, int v) {
    std::uint8_t* q = im.q.data();
    auto put = [q](int at, int value) {
      if (at >= 0 && at < kPatchImageSize)
        q[at] = static_cast<std::uint8_t>(value);
    };
    switch (n) {
    case 2:
      put(2, Value(m_t.w2, v, 2));
      if ((v == 0 || v == 1) && q[0] != 0) {
        put(0, 0);
        put(130, 1);
        put(132, v);
      } else if (v == 2) {
        im.s = 1;
        put(33, 5);
      } else if (v == 3) {
        im.s = 0;
      }
      return;
    case 5:
    case 6:
      if (q[132] == 0)
        put(n == 5 ? 137 : 138, v);
      return;
    case 9:
    case 10:
      if (q[132] != 0)
        put(n == 9 ? 137 : 138, v);
      return;
    case 11:
    case 12:
    case 13:
      if (im.s == 1)
        put(35 + (n - 11), v);
      return;
    case 14:
    case 15:
    case 16:
      if (im.s == 0)
        put(n == 14 ? 33 : (n == 15 ? 35 : 37), v);
      return;
    case 61:
      put(160, Value(m_t.w61, v, 160));
      if (v == 17) {
        im.g |= FLAG_LOOP;
        put(144, q[158]);
        put(158, 0);
        put(146, 0);
        put(155, 3);
        put(156, 2);
      }
      return;
    case 62:
    case 65:
      put(n == 62 ? 161 : 164, v);
      if (im.g & FLAG_LOOP) {
        put(n == 62 ? 147 : 148, v);
        put(n == 62 ? 150 : 151, v);
      }
      return;
    case 68:
      put(172, Value(m_t.w68, v, 172));
      return;
    case 70:
    case 71:
    case 72:
    case 73:
      if (q[172] < 24 || q[172] > 26)
        put(mapped, v);
      return;
    case 77:
      im.e = v;
      return;
    case 78:
      put(183, im.e != 0 ? Value(m_t.w78, v, 183) : 0);
      return;
    case 85:
    case 88:
    case 209:
    case 212:
      put(mapped, v + 7);
      return;
    case 95:
      put(mapped, Value(m_t.w95, v, mapped));
      return;
    case 101:
      if (v != 0)
        im.k = 1;
      return;
    case 102:
      if (im.k == 1)
        put(mapped, v + 1);
      return;
    case 220:
      im.p = v;
      return;
    case 221:
      if (im.p >= 0) {
        int t = im.p < 91 ? std::min(im.p * 20 + v, int(MAX_DELAY_TIME)) : im.p + 1710;
        PutPair(q + OFFSET_DELAY_TIME, t);
      }
      return;
    case 236:
      put(476, Value(m_t.w236, v, 476));
      return;
    case 239:
      put(mapped, v + 1);
      return;
    default:
      break;
    }
    if (n >= 42 && n <= 58) {
      im.r[n - 42] = v;
    } else if (n >= 250 && n <= 260) {
      put(mapped, Value(m_t.chain, v, mapped));
    } else if (n >= 261 && n <= 272) {
      // Name characters 0..11 held as the program holds them; 12..15 pass unchanged.
      put(mapped, v == 0x7F ? '{' : (v == 0x7E ? '}' : v));
    } else {
      put(mapped, v);
    }
  }

  void Finish(CImage& im) {
    std::uint8_t* q = im.q.data();
    const int* r = im.r;
    bool fxChosen = false;
    if (r[0] != 0) {
      if (r[2] == 0 || r[2] == 2) {
        int first = r[2] == 0 ? 3 : 14;
        q[139] = 1;
        q[141] = static_cast<std::uint8_t>(Value(m_t.ww, r[first], 141));
        q[142] = static_cast<std::uint8_t>(r[first + 1]);
        q[143] = static_cast<std::uint8_t>(r[first + 2]);
      } else if (r[2] == 1) {
        int base = -1;
        if (q[OFFSET_FX1] == 0) {
          im.g |= FLAG_FX1;
          base = OFFSET_FX1;
        } else if (q[OFFSET_FX2] == 0) {
          im.g |= FLAG_FX2;
          base = OFFSET_FX2;
        }
        if (base >= 0) {
          fxChosen = true;
          std::uint8_t* fx = q + base;
          auto set = [fx](int at, int value) { fx[at] = static_cast<std::uint8_t>(value); };
          set(0, 1);
          if (r[12] < r[8]) {
            set(2, 2);
            for (int i = 0; i < 5; ++i)
              set(14 + i, r[6 + i]);
            set(20, r[13]);
          } else {
            set(2, 3);
            set(21, r[6]);
            set(22, r[9]);
            set(23, r[10]);
            set(24, r[11]);
            set(25, r[12]);
            set(27, r[13]);
          }
        }
      }
    }
    std::uint8_t* chain = q + OFFSET_FX_CHAIN;
    if (im.g & FLAG_FX1)
      MoveChainEntryAfter(chain, 0, 2);
    if (im.g & FLAG_FX2)
      MoveChainEntryAfter(chain, 7, 2);
    if (im.g & FLAG_LOOP)
      MoveChainEntryAfter(chain, 3, 4);

    std::uint8_t* assign11 = q + OFFSET_ASSIGN + ASSIGN_SIZE * 10;
    std::uint8_t* assign12 = q + OFFSET_ASSIGN + ASSIGN_SIZE * 11;
    assign12[8] = 1;
    assign12[10] = 0;
    assign12[11] = 100;
    assign11[8] = 2;
    assign11[10] = 0;
    assign11[11] = 100;

    for (int sub = 0; sub < 12; ++sub) {
      if (sub == 8 || sub == 9) // assigns 9 and 10 have no QZ-3 counterpart
        continue;
      std::uint8_t* a = q + OFFSET_ASSIGN + ASSIGN_SIZE * sub;
      int u = GetPair(a + 2);
      if (u == 77 || u == 80 || u == 190 || u == 193) {
        AddToPair(a + 4, 7);
        AddToPair(a + 6, 7);
      } else if (u == 200) {
        PutPair(a + 4, DelayTime(a[5]));
        PutPair(a + 6, DelayTime(a[7]));
      } else if (u == 201) {
        int d = GetPair(q + OFFSET_DELAY_TIME);
        if (d <= MAX_DELAY_TIME) {
          PutPair(a + 4, std::min(d + a[5], int(MAX_DELAY_TIME)));
          PutPair(a + 6, std::min(d + a[7], int(MAX_DELAY_TIME)));
        } else {
          a[0] = 0;
        }
      } else if (u == 217) {
        AddToPair(a + 4, 1);
        AddToPair(a + 6, 1);
      }
      int target = u >= 43 && u <= 50 && fxChosen && r[12] < r[8] ? Lookup(m_t.assignAlt, u - 43, kNone)
                                                                  : Lookup(m_t.assign, u, kNone);
      if (target == kNone)
        a[0] = 0;
      else
        PutPair(a + 2, target);
      if (sub < 10) {
        int b = a[8];
        if (b == 1 || b == 2)
          a[8] = static_cast<std::uint8_t>(3 - b);
        else if (b >= 6 && b <= 68)
          a[8] = static_cast<std::uint8_t>(b + 5);
      }
    }
  }

  const CQZ3Tables& m_t;
  const std::uint8_t* m_b = nullptr;
  std::size_t m_size = 0;
  std::size_t m_pos = 0;
  int m_index[CQZ3Tables::PATCH_COUNT];
  std::vector<CImage> m_images;
};

bool Fail(CZelTextOut* errors, ETextOutError code) {
  if (errors)
    errors->Error(code);
  return false;
}

} // namespace

bool CQZ3Importer::Import(const std::string& path, CZelTextOut* errors) {
  m_result.m_current.m_patches.Clear();
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return Fail(errors, TEXTOUT_ERR_LOAD);
  return Import(in, errors);
}

bool CQZ3Importer::Import(std::istream& in, CZelTextOut* errors) {
  m_result.m_current.m_patches.Clear();
  CByteArray bytes;
  if (!ReadAll(in, bytes) || bytes.empty())
    return Fail(errors, TEXTOUT_ERR_LOAD);
  return Import(bytes.data(), bytes.size(), errors);
}

bool CQZ3Importer::Import(const std::uint8_t* data, std::size_t size, CZelTextOut* errors) {
  m_result.m_current.m_patches.Clear();
  if (size == 0)
    return Fail(errors, TEXTOUT_ERR_LOAD);
  CDumpReader reader;
  if (!reader.Scan(data, size) || reader.Count() == 0)
    return Fail(errors, TEXTOUT_ERR_FILE_TYPE);
  reader.Finish(m_result.m_current.m_patches);
  return true;
}

} // namespace QZML
