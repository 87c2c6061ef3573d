#include "app/imagedoc.h"

#include "model/appstate.h"
#include "model/convert.h"

CImageDoc::CImageDoc() { FitPatchCount(); }

void CImageDoc::FitPatchCount() {
  // The undo snapshot too: an Undo after a model switch must not bring back rows the unit does not have.
  const auto count = static_cast<std::size_t>(QZML::CAppState::Instance().GetUserPatchCount());
  GetPatches().Resize(count);
  if (m_data.m_snapshotValid)
    m_data.m_snapshot.m_patches.Resize(count);
}

void CImageDoc::AdaptToModelSwitch(int previous, bool convert) {
  QZML::AdaptToModelSwitch(m_data.m_current, previous, convert);
  QZML::AdaptToModelSwitch(m_data.m_snapshot, previous, convert);
  FitPatchCount();
}
