#pragma once
// The Main window's document: the unit's user memory as one patch array of N patches (200 for the
// QZ-MAX, 140 for the QZ-5) with one undo snapshot. It is never saved and never marked in its caption.

#include "app/docview.h"
#include "model/document.h"

class CImageDoc : public CDocumentBase {
  Q_OBJECT
public:
  CImageDoc();

  QZML::CDocument& GetData() { return m_data; }
  QZML::CPatchArray& GetPatches() { return m_data.m_current.m_patches; }

  // N default patches, N of the target model now.
  bool OnNewDocument() override;
  // Brings the patch array to N of the current target model: default patches appended, or the surplus
  // at the end dropped.
  void FitPatchCount();
  // Converts the current patches and the undo snapshot (direction 1 to QZ-MAX, 2 to QZ-5).
  void Convert(int direction);

private:
  QZML::CDocument m_data;
};
