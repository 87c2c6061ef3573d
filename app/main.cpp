// qzmax-librarian: the windowed librarian.
#include "app/app.h"
#include "app/guiapplication.h"

#include <cstdio>

int main(int argc, char** argv) {
  CGuiApplication qt(argc, argv);
  CAppOptions options;
  QString error;
  if (!ParseCommandLine(QCoreApplication::arguments().mid(1), options, error)) {
    std::fprintf(stderr, "qzmax-librarian: %s\n", error.toLocal8Bit().constData());
    std::fprintf(stderr, "usage: qzmax-librarian [--simulator] [--midi-api auto|alsa|jack] [FILE]\n");
    return 2;
  }
  // Tests start a second program against their own first one.
  options.instanceKey = qEnvironmentVariable("QZMAX_LIBRARIAN_INSTANCE");
  CApp app(options);
  if (!app.InitInstance())
    return app.ExitInstance(app.IsEarlyExit() ? 0 : 1);
  const int code = CGuiApplication::exec();
  return app.ExitInstance(code);
}
