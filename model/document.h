#pragma once
// The containers the windows edit: one patch array, and a document with one level of undo that toggles.

#include <cstdint>
#include <cstring>

#include "model/patch.h"
#include "model/targetmodel.h"

namespace QZML {

// One patch array, in list order, and the model its patches were made for. Data that the user chose
// not to convert (a library of the other model opened with "No", windows after a model switch
// answered "No") keeps its own model, so that it is never sent, saved or pasted as the other's.
class CData {
public:
  virtual ~CData() = default;
  // The model of the patches: the tag, or the target model when untagged.
  EModel Model() const;
  CPatchArray m_patches;
  CDataModel m_model = kModelOfTarget;
};

// The patches of one window plus the state before the last edit.
class CDocument {
public:
  virtual ~CDocument() = default;

  void ClearUndo() { m_snapshotValid = false; }
  bool CanUndo(int command) const { return command == 1 && m_snapshotValid; }
  // Kinds 0 and 1 take a snapshot of the current data; any other kind leaves none.
  void SaveUndo(int kind);
  // Exchanges current and snapshot, so a second Undo gives back the edited state.
  void Undo();

  CData m_current;
  CData m_snapshot;
  bool m_snapshotValid = false;
};

// The 160-byte header of a library file: a 32-byte signature, then 31 big-endian 32-bit fields.
class CDocumentHeader {
public:
  enum : int { SIZE = 160, SIGNATURE_SIZE = 32, FIELD_COUNT = 32 };
  CDocumentHeader() { std::memset(m_bytes, 0, sizeof m_bytes); }
  virtual ~CDocumentHeader() = default;

  std::uint32_t GetHeaderField(int index) const;
  void SetHeaderField(int index, std::uint32_t value);

  std::uint8_t m_bytes[SIZE];
};

} // namespace QZML
