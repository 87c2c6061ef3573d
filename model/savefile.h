#pragma once
// Saving a user's file without ever destroying the one it replaces: the data goes to a temporary file in the
// same folder, is flushed to the disk, and only then takes the target's name. Every writer of a user's file
// (library files, exported Standard MIDI Files, the command-line tool) saves through here.

#include <functional>
#include <iosfwd>
#include <string>

class CZelTextOut;

namespace QZML {

// Calls write with a byte stream (no text translation) and replaces path with what it wrote. False when
// write returns false, the stream fails, the file at path may not be written (read-only), or the new file
// cannot be created, flushed or renamed; the previous file
// at path is then left untouched and the temporary file removed. Failures other than write's own are
// reported as TEXTOUT_ERR_SAVE to errorOutput when given (write reports its own).
bool SaveFileAtomically(const std::string& path, const std::function<bool(std::ostream&)>& write,
                        CZelTextOut* errorOutput = nullptr);

} // namespace QZML
