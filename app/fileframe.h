#pragma once
// A library window's frame: "<model> : <title> *" while the library is modified.

#include "app/childframe.h"
#include "model/appstate.h"

class CFileFrame : public CChildFrame {
  Q_OBJECT
public:
  // state: for the target model's name in the caption.
  explicit CFileFrame(const QZML::CAppState& state, QWidget* parent = nullptr);

  QString GetFrameTitle() const override;

protected:
  // Asks to save a modified library.
  bool CanClose() override;

private:
  const QZML::CAppState& m_state;
};
