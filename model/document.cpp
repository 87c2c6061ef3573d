#include "model/document.h"

#include <utility>

#include "model/appstate.h"

namespace QZML {

EModel CData::Model() const { return m_model.value_or(CAppState::Instance().GetTargetModel()); }

void CDocument::SaveUndo(int kind) {
  m_snapshotValid = false;
  if (kind == 0 || kind == 1) {
    m_snapshot.m_patches.CopyContents(m_current.m_patches);
    m_snapshot.m_model = m_current.m_model;
    m_snapshotValid = true;
  }
}

void CDocument::Undo() {
  if (!m_snapshotValid)
    return;
  m_current.m_patches.SwapContents(m_snapshot.m_patches);
  std::swap(m_current.m_model, m_snapshot.m_model);
}

std::uint32_t CDocumentHeader::GetHeaderField(int index) const {
  int offset = SIGNATURE_SIZE + 4 * index;
  if (index < 0 || offset + 4 > SIZE)
    return 0;
  return (std::uint32_t(m_bytes[offset]) << 24) | (std::uint32_t(m_bytes[offset + 1]) << 16) |
         (std::uint32_t(m_bytes[offset + 2]) << 8) | std::uint32_t(m_bytes[offset + 3]);
}

void CDocumentHeader::SetHeaderField(int index, std::uint32_t value) {
  int offset = SIGNATURE_SIZE + 4 * index;
  if (index < 0 || offset + 4 > SIZE)
    return;
  m_bytes[offset] = static_cast<std::uint8_t>(value >> 24);
  m_bytes[offset + 1] = static_cast<std::uint8_t>(value >> 16);
  m_bytes[offset + 2] = static_cast<std::uint8_t>(value >> 8);
  m_bytes[offset + 3] = static_cast<std::uint8_t>(value);
}

} // namespace QZML
