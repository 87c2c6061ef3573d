#pragma once
// An input port known by its name, with the logical inputs attached to it. What the event thread
// takes from the port is posted to the user-interface thread, rebuilt into message bytes there and
// handed to every attached logical input in the order they were attached.

#include <memory>
#include <string>
#include <vector>

#include "midi/midiin.h"
#include "model/bytes.h"

class CZelMidiIn;

class CZelMidiInDevice {
public:
  virtual ~CZelMidiInDevice() = default;

  // Appends input unless it is listed already; false when it was.
  bool Attach(CZelMidiIn* input);
  bool Lists(const CZelMidiIn* input) const;
  const std::vector<CZelMidiIn*>& GetInputs() const { return m_inputs; }
  void DetachAll() { m_inputs.clear(); }
  // Hands bytes to every attached logical input's Receive, in list order.
  void Dispatch(const QZML::CByteArray& bytes);

protected:
  std::vector<CZelMidiIn*> m_inputs; // not owned
};

class CMidiInDevice : public CZelMidiInDevice, public CMidiIn {
public:
  CMidiInDevice(const CMidiServices& services, const std::string& name);
  // Runs the close sequence.
  ~CMidiInDevice() override;

  // Open sequence: the posting target, OpenByName, Start; any failed step fails the whole.
  bool OpenDevice();
  // Close sequence: the posting target goes first, so messages still on their way to the user-interface
  // thread are discarded; then Stop and, when it succeeded, Close.
  bool CloseDevice();

  const std::string& GetName() const { return m_name; }

protected:
  // Event thread: post to the user-interface thread while the posting target exists.
  void OnShortData(std::uint32_t packed) override;
  void OnLongData(const std::uint8_t* bytes, std::size_t count) override;

private:
  // Stands where the hidden window stood: posted work finds its device through it, or nothing once the
  // device has been closed.
  struct CTarget {
    CMidiInDevice* device;
  };
  // User-interface thread.
  static void DeliverShort(const std::shared_ptr<CTarget>& target, std::uint32_t packed);
  static void DeliverLong(const std::shared_ptr<CTarget>& target, const QZML::CByteArray& bytes);
  static void DispatchTo(const std::shared_ptr<CTarget>& target, const QZML::CByteArray& bytes);

  std::string m_name;
  std::shared_ptr<CTarget> m_target;
  std::weak_ptr<CTarget> m_targetRef; // what the event thread reads; set before the thread starts
};
