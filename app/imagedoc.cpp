#include "app/imagedoc.h"

#include "model/appstate.h"
#include "model/convert.h"

#include <algorithm>

CImageDoc::CImageDoc(const QZML::CAppState& state) : m_state(state) {
  FitPatchCount();
  MarkAsInUnit();
}

void CImageDoc::FitPatchCount() {
  // The undo snapshot too: an Undo after a model switch must not bring back rows the unit does not have.
  const auto count = static_cast<std::size_t>(m_state.GetUserPatchCount());
  GetPatches().Resize(count);
  if (m_data.m_snapshotValid)
    m_data.m_snapshot.m_patches.Resize(count);
}

void CImageDoc::AdaptToModelSwitch(QZML::EModel previous, bool convert) {
  QZML::AdaptToModelSwitch(m_data.m_current, previous, convert);
  QZML::AdaptToModelSwitch(m_data.m_snapshot, previous, convert);
  FitPatchCount();
  MarkAsInUnit();
}

void CImageDoc::MarkAsInUnit() { m_inUnit = GetPatches(); }

void CImageDoc::MarkAsInUnit(const std::vector<int>& indices) {
  const QZML::CPatchArray& patches = GetPatches();
  if (m_inUnit.size() != patches.size()) {
    MarkAsInUnit();
    return;
  }
  for (int index : indices) {
    const auto at = static_cast<std::size_t>(index);
    const QZML::CPatch* patch = index >= 0 && at < patches.size() ? patches.Get(at) : nullptr;
    QZML::CPatch* kept = patch ? m_inUnit.Get(at) : nullptr;
    if (kept)
      kept->SetData(patch->Image());
  }
}

bool CImageDoc::HoldsUnwrittenChanges() const {
  // The unit holds the patch bytes only: memos are not compared.
  const QZML::CPatchArray& patches = m_data.m_current.m_patches;
  if (patches.size() != m_inUnit.size())
    return true;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    const QZML::CPatch* now = patches.Get(i);
    const QZML::CPatch* then = m_inUnit.Get(i);
    if (!now || !then)
      return now != then;
    if (!std::equal(now->Image(), now->Image() + QZML::kPatchImageSize, then->Image()))
      return true;
  }
  return false;
}
