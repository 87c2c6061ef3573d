#pragma once
// Where the files that come with the program are: beside the program (the build tree, or a folder the
// program was copied into together with them), or else in the data folder of the installation
// (share/qzmax-librarian/ under the prefix). Every look-up of such a file goes through here.

#include <QString>
#include <QStringList>

enum class CProgramFile {
  Manual,    // the manual's first page
  SampleSmf, // the folder of sample Standard MIDI Files, where the SMF dialogs start
};

// The places of the file, in the order they are tried. programDir: the folder of the running program
// (empty: this process's).
QStringList ProgramFileCandidates(CProgramFile file, const QString& programDir = QString());
// The first place that exists; the place beside the program when none does.
QString ProgramFilePath(CProgramFile file, const QString& programDir = QString());
