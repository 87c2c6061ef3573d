#include "app/fileview.h"

CFileView::CFileView(CFileDoc* document, QWidget* parent) : CListFormView(document, true, parent) {
  SetListOrigin(45, 10);
  SetLabelOrigin(0, 5);
  setMinimumSize(DialogRect(0, 0, 245, 74).size());
}

CFileDoc* CFileView::GetFileDoc() const { return static_cast<CFileDoc*>(GetDocument()); }

QZML::CPatchArray* CFileView::GetPatchArray() const {
  CFileDoc* document = GetFileDoc();
  return document ? &document->GetPatches() : nullptr;
}

QZML::CDocument* CFileView::GetLibraryData() const {
  CFileDoc* document = GetFileDoc();
  return document ? &document->GetData() : nullptr;
}

void CFileView::OnUpdate(CViewBase* sender, int hint) {
  (void)sender;
  ApplyListFont();
  ApplyGrid();
  RefreshList(hint);
}
