#pragma once
// A logical input of the program: decides on the user-interface thread whether a received message is
// meant for it, hands it to its handlers and may forward it to a logical output (software thru).

#include <vector>

#include "midi/zelmidi.h"

class CZelMidiOut;

class CZelMidiIn : public CZelMidi {
public:
  // User-interface thread. Short messages go to the handlers and are forwarded; universal exclusive
  // messages likewise, except identity requests, which only the request handler sees; the unit's
  // messages must match this port's maker, model ID and device ID: requests go to the request handler,
  // data sets with a good checksum to the handlers and are forwarded; everything else is dropped.
  virtual void Receive(const QZML::CByteArray& bytes);

  std::vector<IZelMidiMessageHandler*> m_dataSetHandlers; // further data-set receivers, not owned
  IZelMidiMessageHandler* m_generalHandler = nullptr;
  IZelMidiMessageHandler* m_messageHandler = nullptr; // the device reader on logical input 0
  IZelMidiRequestHandler* m_requestHandler = nullptr; // the device writer on logical input 0
  CZelMidiOut* m_forward = nullptr;                   // logical output 1 on logical input 1

private:
  void Forward(const QZML::CByteArray& bytes);
};
