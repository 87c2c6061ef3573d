#pragma once
// The program's file dialogs: each purpose remembers, in a section of its own, the folder last shown,
// the file name last confirmed and the filter last chosen ("InitialDirectory", "InitialFileName",
// "InitialFilterIndex"), and the next dialog of that purpose starts from them. Dialogs run through
// DoModal, so tests answer them like any other modal dialog.

#include <QFileDialog>
#include <QString>
#include <QStringList>

class CProfiledFileDialog : public QFileDialog {
  Q_OBJECT
public:
  // What a dialog is for: its kind, filter, settings section and defaults.
  enum Purpose : int {
    LIBRARY_OPEN,
    LIBRARY_SAVE,
    IMPORT_ZKL,
    IMPORT_QZ3,
    IMPORT_SMF,
    EXPORT_SMF,
    IMPORT_SYSEX,
    EXPORT_SYSEX,
  };

  static constexpr const char* kFolderEntry = "InitialDirectory";
  static constexpr const char* kFileNameEntry = "InitialFileName";
  static constexpr const char* kFilterEntry = "InitialFilterIndex";

  // open: an open dialog (the file must exist) or a save dialog (the folder must exist; asks before
  // replacing a file).
  CProfiledFileDialog(bool open, QWidget* parent = nullptr);

  // A filter in the bar-separated form "Text(*.x)|*.x|All Files(*.*)|*.*||".
  void SetFilter(const QString& filter);
  // The pairs read before and written after the dialog; an empty section or entry is not used.
  void LoadInitialFolder(const QString& section, const QString& entry, const QString& defaultFolder);
  void LoadInitialFileName(const QString& section, const QString& entry, const QString& defaultName);
  void LoadInitialFilterIndex(const QString& section, const QString& entry, int defaultIndex);
  // Starts in folder instead.
  void ShowFolder(const QString& folder);
  // Runs the dialog; QDialog::Accepted when the user chose a file.
  int Run();
  // The chosen file after an accepted run.
  QString GetPathName() const;

  // The settings section of a purpose ("QZL", "ZKL", "QZ3", "SMF", "SYX").
  static QString Section(Purpose purpose);
  // The folder the SMF dialogs start in the first time: "SampleSMF" beside the program.
  static QString SampleSmfFolder();
  // Shows the dialog of a purpose; true with the chosen path. A proposal (a document's own file) puts its
  // folder and name in place of those the purpose remembered.
  static bool Prompt(Purpose purpose, QString& path, QWidget* parent = nullptr, const QString& proposal = QString());

private:
  void OnFolderShown(const QString& folder);

  bool m_open;
  QStringList m_filters;
  QString m_currentFolder;
  QString m_folderSection, m_folderEntry;
  QString m_nameSection, m_nameEntry;
  QString m_filterSection, m_filterEntry;
};
