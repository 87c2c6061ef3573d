#include "app/fileview.h"

#include "app/childframe.h"
#include "app/resource.h"

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

void CFileView::MarkModified() {
  if (CFileDoc* document = GetFileDoc())
    document->SetModifiedFlag(true);
}

const CCommandTable<CFileView>& CFileView::Commands() {
  static const CCommandTable<CFileView> table = {
      {{ID_FILE_CLOSE, "&Close", 0, "Close the active library", EMenu::File, 13},
       [](CFileView& v) {
         if (CChildFrame* frame = v.GetParentFrame())
           frame->close();
       }},
      {{ID_FILE_SAVE, "&Save", Ctrl(Qt::Key_S), "Save the active library", EMenu::File, 14, 12},
       [](CFileView& v) { v.GetFileDoc()->DoFileSave(); }},
      {{ID_FILE_SAVE_AS, "Save &As...", 0, "Save the active library with a new name", EMenu::File, 15},
       [](CFileView& v) { v.GetFileDoc()->DoSave(QString()); }},
  };
  return table;
}

bool CFileView::OnCommand(int id) { return RunCommand(Commands(), *this, id) || CListFormView::OnCommand(id); }
