#pragma once
// A library window's frame: "<model> : <title> *" while the library is modified.

#include "app/childframe.h"

class CFileFrame : public CChildFrame {
  Q_OBJECT
public:
  explicit CFileFrame(QWidget* parent = nullptr);

  QString GetFrameTitle() const override;

protected:
  // Asks to save a modified library.
  bool CanClose() override;
};
