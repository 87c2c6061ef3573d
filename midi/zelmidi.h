#pragma once
// The logical ports as the rest of the program sees them: the addressing of the unit shared by inputs
// and outputs, the sending interface of a logical output, and the handlers a logical input hands the
// accepted messages to. Header only, so the message layer can use it without linking the ports.

#include <cstdint>
#include <string>

#include "exclusive/orvanemessage.h"
#include "model/bytes.h"

class CZelLongMessage;

// One logical port: its name and the unit's addressing.
class CZelMidi {
public:
  virtual ~CZelMidi() = default;

  CZelAddressing GetAddressing() const { return {m_manufacturerId, m_deviceId, m_modelId, m_addressWidth}; }

  std::string m_name;
  std::uint8_t m_manufacturerId = ORVANE_MANUFACTURER_ID;
  std::uint8_t m_deviceId = ORVANE_DEFAULT_DEVICE_ID; // shown to the user as value + 1
  QZML::CByteArray m_modelId;                         // 00 00 0B (QZ-MAX) or 00 00 06 (QZ-5)
  int m_addressWidth = 4;                             // 7-bit groups of the address and size fields
  // The stored name of the port chosen for this one while that port is missing or busy; it is kept as
  // the choice until the user makes another.
  std::string m_unconnectedDevice;
};

// The sending side of a logical output. The interface's own operations do nothing.
class IZelMidiOut {
public:
  virtual ~IZelMidiOut() = default;
  // A packed short message: status in bits 0-7, data in bits 8-15 and 16-23.
  virtual void SendShort(std::uint32_t packed) { (void)packed; }
  virtual void Send(const CZelLongMessage& message) { (void)message; }
  // Same as Send; the message builders call this one.
  virtual void SendMessage(const CZelLongMessage& message) { (void)message; }
  virtual void SendDataSet(std::uint32_t address, const QZML::CByteArray& data) {
    (void)address;
    (void)data;
  }
  virtual void SendRequest(std::uint32_t address, std::uint32_t size) {
    (void)address;
    (void)size;
  }
  virtual QZML::CByteArray GetLastMessage() const { return {}; }
};

// Receives what a logical input accepts (the device reader on logical input 0). Results are not used.
class IZelMidiMessageHandler {
public:
  virtual ~IZelMidiMessageHandler() = default;
  virtual bool OnShortMessage(std::uint32_t packed) {
    (void)packed;
    return true;
  }
  // A universal exclusive message (0x7E or 0x7F) other than an identity request.
  virtual bool OnExclusive(const CZelLongMessage& message) {
    (void)message;
    return false;
  }
  // An accepted data set of the unit (addressing and checksum already checked).
  virtual bool OnDataSet(const CZelOrvaneMessage& message) {
    (void)message;
    return false;
  }
};

// Receives the requests that reach a logical input (the device writer on logical input 0 ignores them).
class IZelMidiRequestHandler {
public:
  virtual ~IZelMidiRequestHandler() = default;
  virtual bool OnIdentityRequest(const CZelLongMessage& message) {
    (void)message;
    return true;
  }
  virtual bool OnRequest(const CZelOrvaneMessage& message) {
    (void)message;
    return true;
  }
};
