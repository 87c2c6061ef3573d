#pragma once
// The Main window's frame: "<model> : Main", and it cannot be closed: close requests (the close box,
// Ctrl+F4) are ignored, and the system menu's Close is disabled, until the program closes the document
// at exit.

#include "app/childframe.h"

class CImageFrame : public CChildFrame {
  Q_OBJECT
public:
  explicit CImageFrame(QWidget* parent = nullptr);

  QString GetFrameTitle() const override;

protected:
  void closeEvent(QCloseEvent* event) override;
};
