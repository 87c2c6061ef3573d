#pragma once
// A library window's view: the patch list with its End of Line row, left of it the per-row temporary
// buttons under the "Temporary Read/Write" label.

#include "app/filedoc.h"
#include "app/listformview.h"

class CFileView : public CListFormView {
  Q_OBJECT
public:
  explicit CFileView(CFileDoc* document, QWidget* parent = nullptr);

  CFileDoc* GetFileDoc() const;
  QZML::CPatchArray* GetPatchArray() const override;
  QZML::CDocument* GetLibraryData() const override;

  // Close, Save and Save As of the library.
  static const CCommandTable<CFileView>& Commands();
  bool OnCommand(int id) override;

  // Applies the font and colour and rebuilds the list.
  void OnUpdate(CViewBase* sender, int hint) override;

protected:
  void MarkModified() override;
};
