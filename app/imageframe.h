#pragma once
// The Main window's frame: "<model> : Main", and it cannot be closed (no close button; close requests
// are ignored until the program closes the document at exit).

#include "app/childframe.h"

class CImageFrame : public CChildFrame {
  Q_OBJECT
public:
  explicit CImageFrame(QWidget* parent = nullptr);

  QString GetFrameTitle() const override;

protected:
  void closeEvent(QCloseEvent* event) override;
};
