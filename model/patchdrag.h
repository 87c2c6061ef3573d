#pragma once
// The bytes of dragged patches. A drag carries copies of the patches with the model they were made for,
// the indices they came from, and which list of which running program they came from, so a drop works
// the same between windows, within one window and from another running program. Anything on the
// desktop can offer data of this type, so the reader trusts nothing: every length is checked against
// the bytes there are.
//
// Layout (numbers big-endian): "QZPD", version 1 (4 bytes), process (8), list (8), flags (4, 1 = the
// list is a library), model number (4), patch count (4); then per patch its index (4), its record's
// length (4) and the library file record body.

#include "model/bytes.h"
#include "model/patch.h"
#include "model/targetmodel.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace QZML {

struct CPatchDrag {
  std::uint64_t process = 0; // the running program the patches come from
  std::uint64_t list = 0;    // that program's number for the list dragged from
  bool fromLibrary = false;
  EModel model = MODEL_QZMAX;
  std::vector<int> indices; // where the patches came from, in row order
  CPatchArray patches;      // one per index
};

// The bytes of a drag of patches[indices] (a missing patch travels as a new one).
CByteArray EncodePatchDrag(const CPatchDrag& header, const CPatchArray& patches, const std::vector<int>& indices);

// Reads a drag; false unless the bytes are exactly one drag of at least one patch. With headerOnly the
// patches are not read and indices only takes the count.
bool DecodePatchDrag(const std::uint8_t* bytes, std::size_t size, CPatchDrag& drag, bool headerOnly = false);

} // namespace QZML
