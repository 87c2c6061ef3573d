#pragma once
// The Main window's view: the Read and Write groups with their "All" and "Selected" buttons above the
// patch list, which has one row per user patch of the unit and no End of Line row. The view is the
// application's Main view (font changes and Set Up Grid reach it directly).

#include "app/imagedoc.h"
#include "app/listformview.h"

class QGroupBox;
class QPushButton;

class CImageView : public CListFormView {
  Q_OBJECT
public:
  explicit CImageView(CImageDoc* document, QWidget* parent = nullptr);
  ~CImageView() override;

  CImageDoc* GetImageDoc() const;
  QZML::CPatchArray* GetPatchArray() const override;
  QZML::CDocument* GetLibraryData() const override;

  // Applies the font and colour, brings the array to the target model's patch count and rebuilds the list.
  void OnUpdate(CViewBase* sender, int hint) override;

  bool OnCommand(int id) override;
  bool OnUpdateCommand(CCmdUI& ui) override;

  // Whether the list has selected rows (the "Selected" buttons and commands).
  virtual bool HasSelection() const;

  // Idle update: the "Selected" buttons are enabled exactly while the list has a selection.
  void UpdateButtons();

  QPushButton* GetButton(int id) const;

private:
  QGroupBox* m_readGroup;
  QGroupBox* m_writeGroup;
  QPushButton* m_readAll;
  QPushButton* m_readSelected;
  QPushButton* m_writeAll;
  QPushButton* m_writeSelected;
};
