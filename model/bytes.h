#pragma once
// The byte sequence used for messages, blocks and file buffers.

#include <cstdint>
#include <vector>

namespace QZML {
using CByteArray = std::vector<std::uint8_t>;
}
