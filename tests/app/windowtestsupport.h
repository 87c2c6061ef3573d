#pragma once
// What the window tests share: named patches, the names a window holds, and answers to the modal
// dialogs of the commands (confirmations and file dialogs).

#include "apptestsupport.h"

#include "app/childframe.h"
#include "app/filedoc.h"
#include "app/fileview.h"
#include "app/patchlistctrl.h"
#include "model/patch.h"

#include <QFileDialog>
#include <QString>
#include <QStringList>

// count patches named prefix0, prefix1, ...
QZML::CPatchArray NamedPatches(int count, const char* prefix = "P");
// The names of the patches, without the padding.
QStringList Names(const QZML::CPatchArray& patches);
QString Name(const QZML::CPatchArray& patches, int index);
// The view of a library document and its list.
CFileView* ViewOf(CFileDoc* document);
QString Caption(CDocumentBase* document);

// Answers every modal dialog: confirmations with OK, file dialogs with the next queued path (an empty
// one cancels). Records what the file dialogs showed when they opened.
class CDialogAnswers {
public:
  explicit CDialogAnswers(CTestUi& ui);
  void File(const QString& path) { m_files.append(path); }
  // What each file dialog offered when it opened: its folder and the file name in its box.
  QStringList m_folders;
  QStringList m_names;
  QStringList m_titles;
  int m_confirmations = 0;
  // When set, a file dialog first "moves" to this folder (as the user would), then answers.
  QString m_moveTo;

private:
  QStringList m_files;
};
