#include "import/tabletext.h"

#include <cstring>

namespace QZML {
namespace {

class CCursor {
public:
  explicit CCursor(const char* text) : m_p(text) {}

  void SkipSpace() {
    while (*m_p == ' ' || *m_p == '\n' || *m_p == '\t')
      ++m_p;
  }
  bool AtEnd() {
    SkipSpace();
    return *m_p == '\0';
  }
  bool Accept(const char* token) {
    SkipSpace();
    std::size_t n = std::strlen(token);
    if (std::strncmp(m_p, token, n) != 0)
      return false;
    m_p += n;
    return true;
  }
  bool Number(int& value) {
    SkipSpace();
    if (*m_p < '0' || *m_p > '9')
      return false;
    long v = 0;
    while (*m_p >= '0' && *m_p <= '9') {
      v = v * 10 + (*m_p - '0');
      if (v > 1000000)
        return false;
      ++m_p;
    }
    value = static_cast<int>(v);
    return true;
  }
  // "N" or "N..M"; first == last for a single number, and dots tells which form it was.
  bool Range(int& first, int& last, bool* dots = nullptr) {
    if (!Number(first))
      return false;
    last = first;
    bool hasDots = Accept("..");
    if (dots)
      *dots = hasDots;
    if (hasDots && (!Number(last) || last < first))
      return false;
    return true;
  }

private:
  const char* m_p;
};

} // namespace

bool ExpandList(const char* text, std::vector<int>& out) {
  out.clear();
  CCursor c(text);
  if (c.AtEnd())
    return true;
  for (;;) {
    std::vector<int> item;
    int first = 0, last = 0;
    if (c.Accept("none")) {
      item.push_back(kNone);
    } else if (c.Range(first, last)) {
      for (int v = first; v <= last; ++v)
        item.push_back(v);
    } else {
      return false;
    }
    int count = 1;
    if (c.Accept("*") && (!c.Number(count) || count < 1))
      return false;
    for (int i = 0; i < count; ++i)
      out.insert(out.end(), item.begin(), item.end());
    if (c.AtEnd())
      return true;
    if (!c.Accept(","))
      return false;
  }
}

bool ExpandRuns(const char* text, int size, std::vector<int>& out) {
  out.assign(static_cast<std::size_t>(size), kNone);
  std::vector<bool> given(static_cast<std::size_t>(size), false);
  CCursor c(text);
  for (;;) {
    int a = 0, b = 0;
    if (!c.Range(a, b) || !c.Accept("->") || b >= size)
      return false;
    int o = kNone;
    if (!c.Accept("none")) {
      int p = 0;
      bool dots = false;
      if (!c.Range(o, p, &dots) || (dots && p - o != b - a))
        return false;
    }
    for (int i = a; i <= b; ++i) {
      if (given[static_cast<std::size_t>(i)])
        return false;
      given[static_cast<std::size_t>(i)] = true;
      out[static_cast<std::size_t>(i)] = o == kNone ? kNone : o + (i - a);
    }
    if (c.AtEnd())
      break;
    if (!c.Accept(";"))
      return false;
  }
  for (bool g : given)
    if (!g)
      return false;
  return true;
}

} // namespace QZML
