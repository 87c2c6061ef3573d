#pragma once
// What the JACK tests share: the skip (or, under QZ_REQUIRE_JACK, the failure) without a server, the
// Qt event loop the ports post to, and the full name the server gives one of our own ports.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/rtmidibackend.h"

#define REQUIRE_JACK()                                                                                                 \
  if (!QZP::CRtMidiBackend::JackServerRunning()) {                                                                     \
    if (std::getenv("QZ_REQUIRE_JACK"))                                                                                \
      FAIL() << "no JACK server is running";                                                                           \
    GTEST_SKIP() << "no JACK server is running";                                                                       \
  }

// The application object of one test.
class CJackTestApp {
public:
  CJackTestApp() : m_app(m_argc, m_argv) {}
  QCoreApplication* App() { return &m_app; }

private:
  int m_argc = 1;
  char m_name[11] = "jack_tests";
  char* m_argv[2] = {m_name, nullptr};
  QCoreApplication m_app;
};

// The first name that ends in tail ("client:port" as the server lists it), or empty.
inline std::string EndingWith(const std::vector<std::string>& names, const std::string& tail) {
  for (const std::string& name : names)
    if (name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0)
      return name;
  return {};
}
