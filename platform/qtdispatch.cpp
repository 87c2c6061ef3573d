#include "platform/qtdispatch.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

namespace QZP {

CQtUiDispatcher::CQtUiDispatcher(QObject* context) : m_context(context) {}

void CQtUiDispatcher::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(
      m_context, [task = std::move(task)]() { task(); }, Qt::QueuedConnection);
}

void CQtUiDispatcher::ProcessPending(int maxWaitMs) {
  if (maxWaitMs <= 0) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return;
  }
  // A timer bounds the wait for more events; pending ones are processed without waiting.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  wake.start(maxWaitMs);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
}

} // namespace QZP
