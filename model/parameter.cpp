#include "model/parameter.h"

#include <cctype>
#include <utility>

namespace QZML {

void CParameter::Initialize() {
  Memo1.clear();
  Memo2.clear();
  Memo3.clear();
  Memo4.clear();
}

unsigned CParameter::GetStoredSize() const {
  return static_cast<unsigned>(Memo1.size() + Memo2.size() + Memo3.size() + Memo4.size() + 4);
}

const std::string& CParameter::GetMemo(int index) const {
  switch (index) {
  case 1:
    return Memo2;
  case 2:
    return Memo3;
  case 3:
    return Memo4;
  default:
    return Memo1;
  }
}

void CParameter::SetMemo(int index, const std::string& text) {
  switch (index) {
  case 0:
    Memo1 = text;
    break;
  case 1:
    Memo2 = text;
    break;
  case 2:
    Memo3 = text;
    break;
  case 3:
    Memo4 = text;
    break;
  default:
    break;
  }
}

namespace {

// Byte-wise comparison as unsigned characters; a text that begins another sorts first.
int CompareBytes(const std::string& a, const std::string& b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

unsigned char UpperByte(char c) {
  auto u = static_cast<unsigned char>(c);
  return u >= 'a' && u <= 'z' ? static_cast<unsigned char>(u - 'a' + 'A') : u;
}

// CompareBytes of both texts with a-z taken as A-Z, without copying them: a list sort makes this
// comparison some hundred thousand times.
int CompareBytesIgnoringCase(const std::string& a, const std::string& b) {
  std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char x = UpperByte(a[i]);
    unsigned char y = UpperByte(b[i]);
    if (x != y)
      return x < y ? -1 : 1;
  }
  if (a.size() == b.size())
    return 0;
  return a.size() < b.size() ? -1 : 1;
}

} // namespace

int CParameter::Compare(int column, const CParameter& other, unsigned ownPosition, unsigned otherPosition,
                        bool reverse) const {
  int order = ownPosition < otherPosition ? -1 : (ownPosition > otherPosition ? 1 : 0);
  if (reverse)
    order = -order;
  if (column <= 0 || column > 5)
    return order;
  // Names are made on request; memos are compared where they are.
  std::string ownName, theirName;
  const std::string* own = &ownName;
  const std::string* theirs = &theirName;
  if (column == 1) {
    ownName = GetName();
    theirName = other.GetName();
  } else {
    own = &GetMemo(column - 2);
    theirs = &other.GetMemo(column - 2);
  }
  if (*own == *theirs)
    return order;
  int result = CompareBytesIgnoringCase(*own, *theirs);
  if (result != 0)
    return result;
  return CompareBytes(*own, *theirs) < 0 ? -1 : 1;
}

CParameterArray::CParameterArray(const CParameterArray& other) {
  m_items.reserve(other.m_items.size());
  for (const auto& element : other.m_items)
    m_items.push_back(element ? element->Clone() : nullptr);
}

CParameterArray& CParameterArray::operator=(const CParameterArray& other) {
  if (this == &other)
    return *this;
  // Clone first, so that an exception while cloning leaves this array as it was.
  std::vector<std::unique_ptr<CParameter>> copy;
  copy.reserve(other.m_items.size());
  for (const auto& element : other.m_items)
    copy.push_back(element ? element->Clone() : nullptr);
  m_items = std::move(copy);
  return *this;
}

void CParameterArray::CopyContents(const CParameterArray& other) {
  if (this == &other)
    return;
  const std::size_t count = other.m_items.size();
  if (m_items.size() > count)
    m_items.resize(count);
  m_items.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const CParameter* source = other.m_items[i].get();
    if (i < m_items.size()) {
      if (!source)
        m_items[i].reset();
      else if (!m_items[i] || !m_items[i]->CopyFrom(*source))
        m_items[i] = source->Clone();
    } else {
      m_items.push_back(source ? source->Clone() : nullptr);
    }
  }
}

void CParameterArray::Resize(std::size_t count) {
  if (count < m_items.size()) {
    m_items.resize(count);
    return;
  }
  m_items.reserve(count);
  while (m_items.size() < count)
    m_items.push_back(CreateElement());
}

void CParameterArray::InsertAt(std::size_t index, std::unique_ptr<CParameter> element) {
  if (index > m_items.size())
    index = m_items.size();
  m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index), std::move(element));
}

void CParameterArray::RemoveAt(std::size_t index) {
  if (index < m_items.size())
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
}

std::unique_ptr<CParameter> CParameterArray::Detach(std::size_t index) {
  if (index >= m_items.size())
    return nullptr;
  std::unique_ptr<CParameter> element = std::move(m_items[index]);
  m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
  return element;
}

void CParameterArray::Swap(std::size_t a, std::size_t b) {
  if (a < m_items.size() && b < m_items.size())
    std::swap(m_items[a], m_items[b]);
}

} // namespace QZML
