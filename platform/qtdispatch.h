#pragma once
// Posting to the user-interface thread through Qt's event queue.

#include "platform/uidispatch.h"

class QObject;

namespace QZP {

class CQtUiDispatcher : public IUiDispatcher {
public:
  // context lives on the user-interface thread and outlives the dispatcher (the application object).
  explicit CQtUiDispatcher(QObject* context);

  void Post(std::function<void()> task) override;
  // Runs pending events other than user input; waits for the next one at most maxWaitMs.
  void ProcessPending(int maxWaitMs) override;

private:
  QObject* m_context;
};

} // namespace QZP
