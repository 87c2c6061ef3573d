#pragma once
// The Main window's document: the unit's user memory as one patch array of N patches (200 for the
// QZ-MAX, 140 for the QZ-5) with one undo snapshot. It is never saved and never marked in its caption.

#include "app/docview.h"
#include "model/appstate.h"
#include "model/document.h"

#include <vector>

class CImageDoc : public CDocumentBase {
  Q_OBJECT
public:
  // N default patches, N of the target model now; state tells the target model.
  explicit CImageDoc(const QZML::CAppState& state);

  QZML::CDocument& GetData() { return m_data; }
  QZML::CPatchArray& GetPatches() { return m_data.m_current.m_patches; }

  // Brings the patch array to N of the current target model: default patches appended, or the surplus
  // at the end dropped.
  void FitPatchCount();
  // After the target model switched away from previous: with convert, patches of another model are
  // converted; without, they keep the model they were made for. The row count follows the new model.
  void AdaptToModelSwitch(QZML::EModel previous, bool convert);

  // What the window last had in common with the unit: its patches as they were after the last read,
  // write, SMF import or model switch (all rows, or the rows of a partial read or write).
  void MarkAsInUnit();
  void MarkAsInUnit(const std::vector<int>& indices);
  // Whether the patches differ from that: changes that quitting would lose.
  bool HoldsUnwrittenChanges() const;

private:
  const QZML::CAppState& m_state;
  QZML::CDocument m_data;
  QZML::CPatchArray m_inUnit;
};
