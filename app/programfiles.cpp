#include "app/programfiles.h"

#include "app/resource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The installation's data folder as seen from the folder of the installed program; set by the build.
#ifndef QZ_DATA_FROM_BIN
#define QZ_DATA_FROM_BIN "../share/qzmax-librarian"
#endif

namespace {

struct CPlaces {
  QString besideProgram;
  QString installed; // in the installation's data folder
};

CPlaces Places(CProgramFile file) {
  switch (file) {
  case CProgramFile::Manual: {
    // The same first page in both places; installed, the folder is the data folder's "manual".
    const QString beside = QString::fromLatin1(kManualPath);
    return {beside, QStringLiteral("manual/") + QFileInfo(beside).fileName()};
  }
  case CProgramFile::SampleSmf:
    return {QStringLiteral("SampleSMF"), QStringLiteral("SampleSMF")};
  }
  return {};
}

} // namespace

QStringList ProgramFileCandidates(CProgramFile file, const QString& programDir) {
  const QDir program(programDir.isEmpty() ? QCoreApplication::applicationDirPath() : programDir);
  const CPlaces places = Places(file);
  const QDir data(program.filePath(QStringLiteral(QZ_DATA_FROM_BIN)));
  return {QDir::cleanPath(program.filePath(places.besideProgram)), QDir::cleanPath(data.filePath(places.installed))};
}

QString ProgramFilePath(CProgramFile file, const QString& programDir) {
  const QStringList candidates = ProgramFileCandidates(file, programDir);
  for (const QString& candidate : candidates)
    if (QFileInfo::exists(candidate))
      return candidate;
  return candidates.front();
}
