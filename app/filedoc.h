#pragma once
// A library window's document: the patches of one library file (".qzl") or of an untitled library,
// with one undo snapshot. It loads and saves itself, reporting errors through the application it is
// given (none in tests of the list alone).

#include "app/docview.h"
#include "model/filedocument.h"

class CApp;

class CFileDoc : public CDocumentBase {
  Q_OBJECT
public:
  explicit CFileDoc(CApp* app = nullptr);

  QZML::CFileDocument& GetData() { return m_data; }
  QZML::CPatchArray& GetPatches() { return m_data.m_current.m_patches; }

  // Loads the library file; a file of the other model is converted when the user agrees, and the
  // document is then marked modified. Errors are shown unless the error report is switched off.
  bool OnOpenDocument(const QString& path);
  // Saves the library file; "This file could not be saved." when that fails.
  bool OnSaveDocument(const QString& path);
  // "Save changes to %1?" for a modified library; false when the user cancelled or the save failed.
  bool SaveModified();
  // Save (to the path, or through Save As when there is none) and Save As (an empty path prompts).
  bool DoFileSave() { return DoSave(GetPathName()); }
  bool DoSave(const QString& path);

  // After the target model switched away from previous: with convert, patches of another model are
  // converted (true when that changed anything); without, they keep the model they were made for.
  bool AdaptToModelSwitch(QZML::EModel previous, bool convert);

  // The program-wide switch of the load's error report: off while OpenAnyFile tries a file.
  static void SetReportLoadErrors(bool report);
  static bool GetReportLoadErrors();

private:
  CApp* m_app;
  QZML::CFileDocument m_data;
};
