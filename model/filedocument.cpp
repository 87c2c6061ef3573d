#include "model/filedocument.h"

#include <cstring>
#include <fstream>
#include <istream>
#include <ostream>

#include "model/appstate.h"
#include "model/convert.h"
#include "model/savefile.h"
#include "textout/textout.h"

namespace QZML {

const char kSignatureQzMax[CDocumentHeader::SIGNATURE_SIZE + 1] = "QZMLibrarianFile0000QZM         ";
const char kSignatureQz5[CDocumentHeader::SIGNATURE_SIZE + 1] = "QZMLibrarianFile0000QZ5         ";

namespace {

// A record body is read in pieces of this size, so a length that claims more than the file holds costs no
// more memory than the file itself.
constexpr std::size_t kReadChunk = 1 << 16;

bool WriteBE32(std::ostream& stream, std::uint32_t value) {
  const char bytes[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 8), static_cast<char>(value)};
  stream.write(bytes, 4);
  return static_cast<bool>(stream);
}

// The next 4 bytes as a big-endian number; 0 when the stream ends first.
std::uint32_t ReadBE32(std::istream& stream) {
  unsigned char bytes[4];
  if (!stream.read(reinterpret_cast<char*>(bytes), 4))
    return 0;
  return (std::uint32_t(bytes[0]) << 24) | (std::uint32_t(bytes[1]) << 16) | (std::uint32_t(bytes[2]) << 8) |
         std::uint32_t(bytes[3]);
}

// Reads exactly size bytes into body; false when the stream ends first.
bool ReadBody(std::istream& stream, std::uint32_t size, CByteArray& body) {
  body.clear();
  while (body.size() < size) {
    std::size_t piece = size - body.size();
    if (piece > kReadChunk)
      piece = kReadChunk;
    std::size_t start = body.size();
    body.resize(start + piece);
    stream.read(reinterpret_cast<char*>(body.data() + start), static_cast<std::streamsize>(piece));
    if (static_cast<std::size_t>(stream.gcount()) != piece)
      return false;
  }
  return true;
}

} // namespace

CZelTextOut* CFileDocument::GetErrorOutput() const {
  return m_errorOutput ? m_errorOutput : CAppState::Instance().GetErrorOutput();
}

bool CFileDocument::Fail(ETextOutError code) const {
  if (CZelTextOut* out = GetErrorOutput())
    out->Error(code);
  return false;
}

bool CFileDocument::Save(std::ostream& stream) {
  CDocumentHeader header;
  const char* signature = m_current.Model() == MODEL_QZMAX ? kSignatureQzMax : kSignatureQz5;
  std::memcpy(header.m_bytes, signature, CDocumentHeader::SIGNATURE_SIZE);
  const CPatchArray& patches = m_current.m_patches;
  header.SetHeaderField(0, static_cast<std::uint32_t>(patches.size()));
  stream.write(reinterpret_cast<const char*>(header.m_bytes), CDocumentHeader::SIZE);
  if (!stream)
    return Fail(TEXTOUT_ERR_SAVE);

  CByteArray body;
  for (std::size_t i = 0; i < patches.size(); ++i) {
    // The length is the body's own size, so a record always says truly how far it reaches.
    body.clear();
    if (const CPatch* patch = patches.Get(i))
      patch->WriteRecord(body);
    else
      CPatch().WriteRecord(body);
    if (!WriteBE32(stream, static_cast<std::uint32_t>(body.size())))
      return Fail(TEXTOUT_ERR_SAVE);
    stream.write(reinterpret_cast<const char*>(body.data()), static_cast<std::streamsize>(body.size()));
    if (!stream)
      return Fail(TEXTOUT_ERR_SAVE);
  }
  return true;
}

bool CFileDocument::Load(std::istream& stream, bool& converted) {
  converted = false;
  CDocumentHeader header;
  stream.read(reinterpret_cast<char*>(header.m_bytes), CDocumentHeader::SIZE);
  if (stream.gcount() != CDocumentHeader::SIZE)
    return Fail(TEXTOUT_ERR_FILE_TYPE);

  CAppState& state = CAppState::Instance();
  const EModel model = state.GetTargetModel();
  EModel fileModel;
  if (std::memcmp(header.m_bytes, kSignatureQzMax, CDocumentHeader::SIGNATURE_SIZE) == 0)
    fileModel = MODEL_QZMAX;
  else if (std::memcmp(header.m_bytes, kSignatureQz5, CDocumentHeader::SIGNATURE_SIZE) == 0)
    fileModel = MODEL_QZ5;
  else
    return Fail(TEXTOUT_ERR_FILE_TYPE);
  EConversion direction = CONVERT_NONE;
  if (fileModel != model && state.AskConversion(ConversionQuestionTo(model)))
    direction = ConversionTo(model);
  // Declined data stays what it is, so it is saved, sent and pasted as the file's model.
  m_current.m_model = fileModel == model || direction != CONVERT_NONE ? kModelOfTarget : CDataModel(fileModel);

  std::uint32_t count = header.GetHeaderField(0);
  CPatchArray& patches = m_current.m_patches;
  patches.Clear();
  CByteArray body;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t length = ReadBE32(stream);
    if (length == 0)
      return Fail(TEXTOUT_ERR_FILE_TYPE);
    if (!ReadBody(stream, length, body))
      return Fail(TEXTOUT_ERR_LOAD);
    auto patch = std::make_unique<CPatch>();
    // A body shorter than its blocks and memos keeps what it holds; the rest stays at the defaults.
    patch->ReadRecord(body.data(), body.size());
    patches.Add(std::move(patch));
  }

  if (direction != CONVERT_NONE) {
    ConvertArray(patches, direction);
    converted = true;
  }
  return true;
}

bool CFileDocument::SaveFile(const std::string& path) {
  return SaveFileAtomically(
      path, [this](std::ostream& stream) { return Save(stream); }, GetErrorOutput());
}

bool CFileDocument::LoadFile(const std::string& path, bool& converted) {
  converted = false;
  std::ifstream stream(path, std::ios::binary);
  if (!stream)
    return Fail(TEXTOUT_ERR_LOAD);
  return Load(stream, converted);
}

} // namespace QZML
