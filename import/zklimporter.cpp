#include "import/zklimporter.h"

#include <algorithm>

#include "import/importcommon.h"
#include "import/tabletext.h"
#include "import/zkltables.h"

namespace QZML {
namespace {

// ZK-40 image positions with a meaning of their own.
enum : int {
  POS_FX1_TYPE = 1,
  POS_REMEMBERED_FIRST = 5, // c5..c12
  POS_REMEMBERED_LAST = 12,
  POS_AMP = 65,
  POS_GROUP_A = 66, // three groups of 15: 66..80, 81..95, 96..110
  POS_GROUP_B = 81,
  POS_GROUP_C = 96,
  POS_FX2_TYPE = 122,
  POS_DELAY_COARSE = 253,
  POS_DELAY_FINE = 254,
  POS_CHAIN_FIRST = 283,
  POS_CHAIN_LAST = 294,
  POS_ASSIGN = 311, // eight assigns of 11 bytes
  ZK_ASSIGN_SIZE = 11,
};

enum : int {
  TARGET_DELAY_BOTH = 218, // ZK-40 assign targets whose ranges are delay times
  TARGET_DELAY_OFFSET = 219,
};

int DelayTime(int value) { return value < 90 ? value * 20 : value + 1711; }

// The rest of one conversion: the import state and the two images.
class CConversion {
public:
  CConversion(const std::uint8_t* z, std::uint8_t* q) : m_t(ZKLTables()), m_z(z), m_q(q) {}

  void Run() {
    const CPatchImage& initial = ImportDefaultImage();
    std::copy(initial.begin(), initial.end(), m_q);
    for (int i = 0; i < CZKLPatch::IMAGE_SIZE; ++i)
      Position(i, m_z[i]);
    Groups();
    FinishFx1();
    for (int k = 0; k < 8; ++k)
      Assign(k);
  }

private:
  // table[v], or the default image's byte at the offset that receives it.
  int Value(const std::vector<int>& table, int v, int offset) const {
    return Lookup(table, v, ImportDefaultImage()[static_cast<std::size_t>(offset)]);
  }
  // A ZK-40 byte above 0x7F is no value of either unit (a damaged file): the QZ-MAX byte stays as it is,
  // as for a value beyond its table, so that every imported patch can be sent.
  void Put(int offset, int value) {
    if (offset >= 0 && offset < kPatchImageSize && value >= 0 && value < 0x80)
      m_q[offset] = static_cast<std::uint8_t>(value);
  }
  int c(int i) const { return m_remembered[i - POS_REMEMBERED_FIRST]; }

  void Position(int i, int v) {
    const int z1 = m_z[POS_FX1_TYPE];
    switch (i) {
    case POS_FX1_TYPE:
      if (v == 0) {
        m_f = 1;
      } else if (v == 1) {
        Put(2, 3);
        m_f = 2;
      } else {
        Put(2, Value(m_t.v1, v, 2));
      }
      return;
    case 13:
      if (v <= 4) {
        Put(28, Value(m_t.v13, v, 28));
      } else {
        if (m_q[2] == 4)
          Put(2, 5);
        Put(33, Value(m_t.v13, v, 33));
      }
      if (z1 == 5) {
        Put(2, 4);
        Put(28, 4);
      }
      return;
    case 14:
      if (z1 == 5)
        Put(29, 50);
      else
        Put(m_q[2] == 4 ? 29 : 34, v);
      return;
    case 15:
      if (z1 == 5)
        Put(30, 70);
      else
        Put(m_q[2] == 4 ? 30 : 35, v);
      return;
    case 16:
      if (z1 != 5)
        Put(m_q[2] == 4 ? 32 : 37, v);
      return;
    case 17:
      Put(3, Value(m_t.v17, v, 3));
      return;
    case 58:
      Put(160, Value(m_t.v58, v, 160));
      return;
    case POS_AMP:
      Put(169, v != 0 ? 1 : 0);
      m_m = v;
      return;
    case POS_FX2_TYPE:
      if (v == 16)
        Put(219, 0);
      else
        Put(221, Value(m_t.v122, v, 221));
      return;
    case POS_DELAY_COARSE:
      return;
    case POS_DELAY_FINE: {
      int a = m_z[POS_DELAY_COARSE];
      int t = a < 90 ? std::min(a * 20 + v, int(MAX_DELAY_TIME)) : a + 1711;
      PutPair(m_q + OFFSET_DELAY_TIME, t);
      return;
    }
    default:
      break;
    }
    if (i >= POS_REMEMBERED_FIRST && i <= POS_REMEMBERED_LAST) {
      m_remembered[i - POS_REMEMBERED_FIRST] = v;
      return;
    }
    int offset = m_t.position[static_cast<std::size_t>(i)];
    if (offset == kNone)
      return;
    if (i >= POS_CHAIN_FIRST && i <= POS_CHAIN_LAST)
      Put(offset, Value(m_t.chain, v, offset));
    else
      Put(offset, v);
  }

  // A group of 15 positions: its first through VG, its tenth through VH, the rest copied.
  void Group(int first) {
    const std::vector<int>& t = m_t.position;
    for (int j = first + 1; j < first + 15; ++j)
      Put(t[static_cast<std::size_t>(j)], m_z[j]);
    int g = t[static_cast<std::size_t>(first)];
    int h = t[static_cast<std::size_t>(first + 9)];
    Put(g, Value(m_t.vg, m_z[first], g));
    Put(h, Value(m_t.vh, m_z[first + 9], h));
  }

  void Groups() {
    Group(POS_GROUP_A);
    // The groups at 81 and 96 share their offsets; the amp type M picks the one that stays.
    if (m_m == 0 || m_m == 1)
      Group(POS_GROUP_B);
    else if (m_m == 2)
      Group(POS_GROUP_C);
  }

  void FinishFx1() {
    if (m_f == 1 && m_q[0] != 0) {
      Put(0, 0);
      Put(139, 1);
      MoveChainEntryAfter(m_q + OFFSET_FX_CHAIN, 2, 0);
    } else if (m_f == 2) {
      if (c(11) < c(7)) {
        Put(2, 2);
        Put(14, c(5));
        Put(15, c(6));
        Put(16, c(7));
        Put(17, c(8));
        Put(18, c(9));
        Put(20, c(12));
      } else {
        Put(2, 3);
        Put(21, c(5));
        Put(22, c(8));
        Put(23, c(9));
        Put(24, c(10));
        Put(25, c(11));
        Put(27, c(12));
      }
    }
  }

  void Assign(int k) {
    // QZ-MAX assign k, found through T from the ZK-40 assign's first position.
    int base = m_t.position[static_cast<std::size_t>(POS_ASSIGN + ZK_ASSIGN_SIZE * k)];
    if (base < 0 || base + ASSIGN_SIZE > kPatchImageSize)
      return;
    std::uint8_t* a = m_q + base;
    int u = GetPair(a + 2);
    if (u == TARGET_DELAY_BOTH) {
      PutPair(a + 4, DelayTime(a[5]));
      PutPair(a + 6, DelayTime(a[7]));
      u = Lookup(m_t.assign, u, kNone);
    } else if (u == TARGET_DELAY_OFFSET) {
      int d = GetPair(m_q + OFFSET_DELAY_TIME);
      if (d <= MAX_DELAY_TIME) {
        PutPair(a + 4, std::min(d + a[5], int(MAX_DELAY_TIME)));
        PutPair(a + 6, std::min(d + a[7], int(MAX_DELAY_TIME)));
      } else {
        a[0] = 0;
      }
      u = Lookup(m_t.assign, u, kNone);
    } else if (u >= 5 && u <= 12 && c(11) < c(7)) {
      u = Lookup(m_t.assignAlt, u - 5, kNone);
    } else {
      u = Lookup(m_t.assign, u, kNone);
    }
    if (u == kNone)
      a[0] = 0;
    else
      PutPair(a + 2, u);
    if (a[8] >= 3 && a[8] <= 65)
      a[8] = static_cast<std::uint8_t>(a[8] + 8);
  }

  const CZKLTables& m_t;
  const std::uint8_t* m_z;
  std::uint8_t* m_q;
  int m_f = 0;
  int m_m = 0;
  int m_remembered[8] = {};
};

} // namespace

void CZKLImporter::ConvertImage(const std::uint8_t* z, std::uint8_t* q) { CConversion(z, q).Run(); }

void CZKLImporter::ConvertPatch(const CZKLPatch& source, CPatch& target) {
  std::uint8_t q[kPatchImageSize];
  ConvertImage(source.Image(), q);
  target.SetData(q);
  for (int m = 0; m < 4; ++m)
    target.SetMemo(m, source.GetMemo(m));
}

bool CZKLImporter::Import(const std::string& path, CZelTextOut* errors) { return Convert(m_source.Load(path, errors)); }

bool CZKLImporter::Import(std::istream& in, CZelTextOut* errors) { return Convert(m_source.Load(in, errors)); }

bool CZKLImporter::Import(const std::uint8_t* data, std::size_t size, CZelTextOut* errors) {
  return Convert(m_source.Load(data, size, errors));
}

bool CZKLImporter::Convert(bool loaded) {
  CPatchArray& result = m_result.m_current.m_patches;
  result.Clear();
  if (loaded) {
    const CZKLPatchArray& source = m_source.m_data.m_patches;
    result.Resize(source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
      ConvertPatch(*source.Get(i), *result.Get(i));
  }
  m_source.Clear();
  return loaded;
}

} // namespace QZML
