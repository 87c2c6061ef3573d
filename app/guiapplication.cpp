#include "app/guiapplication.h"

CGuiApplication::CGuiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool CGuiApplication::notify(QObject* receiver, QEvent* event) {
  struct CDepth {
    int& depth;
    explicit CDepth(int& d) : depth(d) { ++depth; }
    ~CDepth() { --depth; }
  } scope(m_depth);
  return QApplication::notify(receiver, event);
}

int CGuiApplication::NotifyDepth() {
  auto* app = qobject_cast<CGuiApplication*>(QCoreApplication::instance());
  return app ? app->m_depth : 0;
}
