#pragma once
// The Main window's frame: "<model> : Main", and it cannot be closed: close requests (the close box,
// Ctrl+F4) are ignored, and the system menu's Close is disabled, until the program closes the document
// at exit. Without a stored position it opens at the top left of the area, as high as the area and as
// wide as its list's columns, so the list shows as many of the unit's patches as fit.

#include "app/childframe.h"
#include "model/appstate.h"

class CImageFrame : public CChildFrame {
  Q_OBJECT
public:
  // state: for the target model's name in the caption.
  explicit CImageFrame(const QZML::CAppState& state, QWidget* parent = nullptr);

  QString GetFrameTitle() const override;

  // The first placement once the frame and its area are shown: the area's full height at its top left,
  // and the width of the list's columns within the area, unless a position of this kind is stored.
  void PlaceFirstTime();

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  const QZML::CAppState& m_state;
};
