#pragma once
// A document that is loaded from and saved to a library file (".qzl"): a 160-byte header whose signature
// names the model of the data, then one length-prefixed record per patch.

#include <iosfwd>
#include <string>

#include "model/document.h"
#include "textout/textout.h"

namespace QZML {

extern const char kSignatureQzMax[CDocumentHeader::SIGNATURE_SIZE + 1];
extern const char kSignatureQz5[CDocumentHeader::SIGNATURE_SIZE + 1];

class CFileDocument : public CDocument {
public:
  // Writes the current data with the signature of the model its patches were made for (the target model
  // unless the user declined a conversion). On a write failure: TEXTOUT_ERR_SAVE, false.
  bool Save(std::ostream& stream);
  // Replaces the current data with the file's patches. A file of the other model is converted when the user
  // says Yes (converted is then set); after No the data keeps the file's model (m_current.m_model).
  // Codes: 5 not a library file, a missing or zero record length; 1 a record body that ends early. On
  // failure the patches read so far stay in the current data.
  bool Load(std::istream& stream, bool& converted);

  // The same through a file: saving replaces the file only once all of it is written.
  bool SaveFile(const std::string& path);
  bool LoadFile(const std::string& path, bool& converted);

  // Where error codes go; when not set, the application state's pending-error output. Not owned.
  void SetErrorOutput(CZelTextOut* output) { m_errorOutput = output; }
  CZelTextOut* GetErrorOutput() const;

private:
  bool Fail(ETextOutError code) const;

  CZelTextOut* m_errorOutput = nullptr;
};

} // namespace QZML
