#include "app/imagedoc.h"

#include "model/appstate.h"
#include "model/convert.h"

CImageDoc::CImageDoc() = default;

bool CImageDoc::OnNewDocument() {
  if (!CDocumentBase::OnNewDocument())
    return false;
  GetPatches().Clear();
  FitPatchCount();
  return true;
}

void CImageDoc::FitPatchCount() {
  GetPatches().Resize(static_cast<std::size_t>(QZML::CAppState::Instance().GetUserPatchCount()));
}

void CImageDoc::Convert(int direction) {
  QZML::ConvertArray(m_data.m_current.m_patches, direction);
  QZML::ConvertArray(m_data.m_snapshot.m_patches, direction);
}
