#pragma once
// The Qt application object of the program. It counts how deeply events are being delivered, so the
// idle work runs only when control is back in the outermost event loop (not while a command pumps
// events during a transfer, nor inside a modal dialog).

#include <QApplication>

class CGuiApplication : public QApplication {
  Q_OBJECT
public:
  CGuiApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Events being delivered now (0 when the event loop waits); 0 without a CGuiApplication.
  static int NotifyDepth();

private:
  int m_depth = 0;
};
