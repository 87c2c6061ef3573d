// qzmax-librarian: the windowed librarian.
#include "app/app.h"
#include "app/guiapplication.h"
#include "app/programfiles.h"
#include "qzversion.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] = "usage: qzmax-librarian [--simulator] [--midi-api auto|alsa|jack] [FILE...]\n";

// The options, and where the manual is; needs no display.
int PrintHelp() {
  std::fputs(kUsage, stdout);
  std::fputs("\n"
             "  --simulator                 use the built-in simulated unit \"QZ-MAX Simulator\" for this run\n"
             "  --midi-api auto|alsa|jack   the MIDI system to use (default auto: the first that starts)\n"
             "  --help                      show this help\n"
             "  --version                   show the version and the revision it was built from\n"
             "  FILE...                     library files to open, or ZK-40 librarian files or QZ-3 bulk dumps\n"
             "                              to import, each in a window of its own\n\n",
             stdout);
  const QString manual = ProgramFilePath(CProgramFile::Manual);
  if (QFileInfo(manual).isFile()) {
    std::printf("Manual: %s\n", qPrintable(QDir::toNativeSeparators(manual)));
  } else {
    std::printf("Manual: not found; looked for %s\n",
                qPrintable(QDir::toNativeSeparators(ProgramFileCandidates(CProgramFile::Manual).join(" and "))));
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

// Whether one of the options is on the command line (before a "--").
bool HasOption(int argc, char** argv, const char* name, const char* shortName = nullptr) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
    if (std::strcmp(argv[i], name) == 0 || (shortName && std::strcmp(argv[i], shortName) == 0))
      return true;
  return false;
}

} // namespace

int main(int argc, char** argv) {
  if (HasOption(argc, argv, "--help", "-h")) {
    QCoreApplication core(argc, argv);
    return PrintHelp();
  }
  if (HasOption(argc, argv, "--version")) {
    std::puts(QZ_VERSION_LINE("qzmax-librarian"));
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  CGuiApplication qt(argc, argv);
  CAppOptions options;
  QString error;
  if (!ParseCommandLine(QCoreApplication::arguments().mid(1), options, error)) {
    std::fprintf(stderr, "qzmax-librarian: %s\n", error.toLocal8Bit().constData());
    std::fputs(kUsage, stderr);
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
