#pragma once
// The Main window's view: the Read and Write groups with their "All" and "Selected" buttons above the
// patch list, which has one row per user patch of the unit and no End of Line row.

#include "app/imagedoc.h"
#include "app/listformview.h"

class QGroupBox;
class QPushButton;

class CImageView : public CListFormView {
  Q_OBJECT
public:
  CImageView(CApp& app, CImageDoc* document, QWidget* parent = nullptr);

  CImageDoc* GetImageDoc() const;
  QZML::CPatchArray* GetPatchArray() const override;
  QZML::CDocument* GetLibraryData() const override;

  // Applies the font and colour, brings the array to the target model's patch count and rebuilds the list.
  void OnUpdate(int hint) override;

  // The transfers and the Standard MIDI Files.
  static const CCommandTable<CImageView>& Commands();
  bool OnCommand(int id) override;

  // Whether the list has selected rows (the "Selected" buttons and commands).
  virtual bool HasSelection() const;

  // The "Selected" buttons are enabled exactly while the list has a selection.
  void UpdateButtons();

  QPushButton* GetButton(int id) const;

  // Results of the SMF file steps; SMF_REPORTED: failed, and the user has been told why.
  enum : int { SMF_DONE = 1, SMF_CANCELLED = 2, SMF_FAILED = 3, SMF_REPORTED = 4 };

  // The transfers of the user area, the Standard MIDI Files and the SysEx (".syx") files; each asks its
  // confirmation first. A SysEx file is read and written by the same rules as a Standard MIDI File.
  void ReadUser(bool all);
  void WriteUser(bool all);
  void OnImportSmf();
  void OnExportSmf(bool all);
  void OnImportSysEx();
  void OnExportSysEx(bool all);

protected:
  bool IsFixedSize() const override { return true; }
  void FitPatchCount() override;

private:
  // Main's data made for the other model (after a model switch answered No) becomes the target model's
  // before patches from the unit or a file join it: the conversion question, and Yes converts it in
  // place. False on No.
  bool AdaptToTarget();
  // The patches to send or export: Main's own, or a converted copy in converted when Main holds the other
  // model's data and the user agrees; null on No.
  QZML::CPatchArray* PatchesForUnit(QZML::CPatchArray& converted);
  // The import and export commands and their file steps for either kind of file.
  void ImportCommand(bool sysEx);
  void ExportCommand(bool sysEx, bool all);
  int ImportFile(bool sysEx, QZML::CPatchArray& patches);
  int ExportFile(bool sysEx, const std::vector<int>& indices, QZML::CPatchArray& patches);

private:
  QGroupBox* m_readGroup;
  QGroupBox* m_writeGroup;
  QPushButton* m_readAll;
  QPushButton* m_readSelected;
  QPushButton* m_writeAll;
  QPushButton* m_writeSelected;
};
