#pragma once
// ".syx" files: raw exclusive messages back to back (F0 ... F7, F0 ... F7, ...), the common way patch data is
// shared. The scanner cuts such bytes into messages and passes over what is no complete message.

#include <cstddef>
#include <functional>

#include "exclusive/longmessage.h"
#include "model/bytes.h"

// What a scan found: the complete messages handed on, and the malformed pieces passed over.
struct CSysExScan {
  int messages = 0;
  int skipped = 0;
};

// Walks bytes as exclusive messages and calls onMessage for each complete one (F0, data bytes below 0x80,
// F7). A message cut short (by the end of the bytes or by any other status byte, which then starts the next
// piece) is passed over, and so is each run of bytes outside a message; each counts once in skipped.
// Bounded by the input: every byte is looked at once, and a message is never longer than the input.
CSysExScan ScanSysEx(const QZML::CByteArray& bytes, const std::function<void(const CZelLongMessage&)>& onMessage);
