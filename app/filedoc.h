#pragma once
// A library window's document: the patches of one library file (".qzl") or of an untitled library,
// with one undo snapshot.

#include "app/docview.h"
#include "model/filedocument.h"

class CFileDoc : public CDocumentBase {
  Q_OBJECT
public:
  CFileDoc();

  QZML::CFileDocument& GetData() { return m_data; }
  QZML::CPatchArray& GetPatches() { return m_data.m_current.m_patches; }

  bool OnNewDocument() override;
  // Loads the library file; a file of the other model is converted when the user agrees, and the
  // document is then marked modified. Errors are shown unless the error report is switched off.
  bool OnOpenDocument(const QString& path) override;
  // Saves the library file; "This file could not be saved." when that fails.
  bool OnSaveDocument(const QString& path) override;

  // After the target model switched away from previous: with convert, patches of another model are
  // converted (true when that changed anything); without, they keep the model they were made for.
  bool AdaptToModelSwitch(int previous, bool convert);

  // The program-wide switch of the load's error report: off while OpenAnyFile tries a file.
  static void SetReportLoadErrors(bool report);
  static bool GetReportLoadErrors();

private:
  QZML::CFileDocument m_data;
};
