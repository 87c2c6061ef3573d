#include "platform/wakeup.h"

#include <chrono>
#include <thread>

#if defined(__unix__) || defined(__APPLE__)
#define QZ_WAKEUP_PIPE 1
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#endif

namespace QZP {

#ifdef QZ_WAKEUP_PIPE

CWakeup::CWakeup() {
  int fds[2];
  if (pipe(fds) != 0)
    return;
  for (int fd : fds) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  m_read = fds[0];
  m_write = fds[1];
}

CWakeup::~CWakeup() {
  if (m_read >= 0)
    close(m_read);
  if (m_write >= 0)
    close(m_write);
}

void CWakeup::Signal() {
  if (m_write < 0)
    return;
  // A full pipe already wakes the waiter; the byte is not needed then.
  const char byte = 1;
  ssize_t written = write(m_write, &byte, 1);
  (void)written;
}

void CWakeup::Wait(int maxWaitMs) {
  if (m_read < 0) {
    if (maxWaitMs != 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return;
  }
  if (maxWaitMs != 0) {
    pollfd fd{m_read, POLLIN, 0};
    int result;
    do {
      result = poll(&fd, 1, maxWaitMs < 0 ? -1 : maxWaitMs);
    } while (result < 0 && errno == EINTR);
  }
  char buffer[64];
  while (read(m_read, buffer, sizeof buffer) > 0) {
  }
}

#else

CWakeup::CWakeup() = default;
CWakeup::~CWakeup() = default;
void CWakeup::Signal() {}
void CWakeup::Wait(int maxWaitMs) {
  if (maxWaitMs != 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

#endif

} // namespace QZP
