#include "cli/interrupt.h"

#include <csignal>

#ifndef _WIN32
#include <signal.h>
#endif

namespace QZCli {

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

extern "C" void OnInterrupt(int) { g_interrupted = 1; }

} // namespace

void InstallInterruptHandlers() {
#ifndef _WIN32
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  // The first Ctrl+C asks politely; the handler then gives way to the default, so a second one ends the
  // program even when a wait does not look at the flag.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  action.sa_flags = 0;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
#else
  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
#endif
}

bool Interrupted() { return g_interrupted != 0; }

void SetInterrupted(bool interrupted) { g_interrupted = interrupted ? 1 : 0; }

} // namespace QZCli
