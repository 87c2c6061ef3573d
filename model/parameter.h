#pragma once
// Parameter sets (a patch and its four memos) and the owning arrays every list is made of.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace QZML {

// The abstract parameter set: four free memo texts plus the interface each concrete set implements.
class CParameter {
public:
  CParameter() = default;
  CParameter(const CParameter&) = default;
  CParameter& operator=(const CParameter&) = default;
  virtual ~CParameter() = default;

  virtual void Initialize();
  virtual std::unique_ptr<CParameter> Clone() const = 0;
  // Becomes a copy of other when it is of the same class; false (nothing changed) otherwise.
  virtual bool CopyFrom(const CParameter& /*other*/) { return false; }
  virtual void SetName(const std::string& text) = 0;
  virtual std::string GetName() const = 0;
  // Flat image of the set; the buffer holds at least the concrete set's image size.
  virtual void GetData(std::uint8_t* buffer) const = 0;
  virtual void SetData(const std::uint8_t* buffer) = 0;
  virtual unsigned GetStoredSize() const;
  // Order against another set for a list sorted by column (0 position, 1 name, 2..5 memos).
  virtual int Compare(int column, const CParameter& other, unsigned ownPosition, unsigned otherPosition,
                      bool reverse) const;

  const std::string& GetMemo(int index) const;  // index 0..3
  void SetMemo(int index, const std::string& text);

  std::string Memo1, Memo2, Memo3, Memo4;
};

// A growable array that owns its elements: every element is deleted by the array, and copies clone.
class CParameterArray {
public:
  CParameterArray() = default;
  CParameterArray(const CParameterArray& other);
  CParameterArray& operator=(const CParameterArray& other);
  CParameterArray(CParameterArray&&) noexcept = default;
  CParameterArray& operator=(CParameterArray&&) noexcept = default;
  virtual ~CParameterArray() = default;

  virtual std::unique_ptr<CParameter> CreateElement() const = 0;

  // Cuts to count, or grows with new default elements.
  void Resize(std::size_t count);

  std::size_t size() const { return m_items.size(); }
  bool empty() const { return m_items.empty(); }
  CParameter* operator[](std::size_t index) const { return m_items[index].get(); }
  CParameter* At(std::size_t index) const { return index < m_items.size() ? m_items[index].get() : nullptr; }

  void Add(std::unique_ptr<CParameter> element) { m_items.push_back(std::move(element)); }
  void InsertAt(std::size_t index, std::unique_ptr<CParameter> element);
  void RemoveAt(std::size_t index);                     // deletes the element
  std::unique_ptr<CParameter> Detach(std::size_t index); // caller takes ownership
  void Swap(std::size_t a, std::size_t b);
  void Clear() { m_items.clear(); }
  // Exchanges the whole contents with another array (undo snapshot toggling).
  void SwapContents(CParameterArray& other) { m_items.swap(other.m_items); }
  // Becomes a copy of other like assignment, but copies into the elements it has where it can instead of
  // making new ones: an undo snapshot of a large library then costs copies, not an allocation per element.
  // After an exception the contents are unspecified (the caller's snapshot is invalid until it returns).
  void CopyContents(const CParameterArray& other);

private:
  std::vector<std::unique_ptr<CParameter>> m_items;
};

// An array whose new elements are default T.
template <class T>
class CConcreteParameterArray : public CParameterArray {
public:
  std::unique_ptr<CParameter> CreateElement() const override { return std::make_unique<T>(); }
  // The element at index as T, or null when it is missing or of another class.
  T* Get(std::size_t index) const { return dynamic_cast<T*>(At(index)); }
};

} // namespace QZML
