#pragma once
// The receiving half of the port level. The backend's thread only stores each incoming event into a
// lock-free ring (and an exclusive message into a queued packet buffer); the port's own event thread
// takes the events out and calls the handlers below; derived classes hand them to the UI thread.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "midi/midipacket.h"
#include "midi/midiservices.h"
#include "platform/wakeup.h"

class CMidiOut;

class CMidiAudioIn {
public:
  virtual ~CMidiAudioIn() = default;
  bool IsOpen() const { return m_port != nullptr; }

protected:
  std::unique_ptr<QZP::IMidiInPort> m_port; // null while closed
};

class CMidiIn : public CMidiAudioIn, private QZP::IMidiInputCallback {
public:
  // Event values: 0 or more is a packed short message.
  enum : std::int32_t {
    EVENT_EMPTY = -1,
    EVENT_LONG_DATA = -2,
    EVENT_OPEN = -3,
    EVENT_CLOSE = -4,
    EVENT_ERROR = -5,
    EVENT_LONG_ERROR = -6,
    EVENT_MORE_DATA = -7,
  };

  // Read and write index of a single-producer single-consumer ring; both run modulo the capacity and
  // the ring is empty when they are equal. The producer publishes with a release store of the write
  // index, the consumer frees a slot with a release store of the read index.
  class CRingIndex {
  public:
    virtual ~CRingIndex() = default;
    virtual std::uint32_t Capacity() const = 0;
    std::uint32_t Next(std::uint32_t index) const { return index + 1 == Capacity() ? 0 : index + 1; }

    std::atomic<std::uint32_t> m_read{0};
    std::atomic<std::uint32_t> m_write{0};
  };

  class CEventRing : public CRingIndex {
  public:
    static constexpr std::uint32_t kCapacity = 2048;
    std::uint32_t Capacity() const override { return kCapacity; }
    void Reset();
    // Producer: whether one more event fits. A full ring keeps its unread events; new ones are dropped.
    bool HasRoom() const;
    bool Push(std::int32_t event);
    // Consumer: EVENT_EMPTY when there is nothing to take.
    std::int32_t Pop();

  private:
    std::int32_t m_slots[kCapacity];
  };

  // The write index names the next packet to queue for input, the read index the next one to come back.
  class CPacketRing : public CRingIndex {
  public:
    static constexpr std::uint32_t kCapacity = 128;
    std::uint32_t Capacity() const override { return kCapacity; }
    CMidiPacket& At(std::uint32_t index) { return m_packets[index]; }
    void Reset();

  private:
    CMidiPacket m_packets[kCapacity];
  };

  static constexpr std::uint32_t kQueuedPackets = CPacketRing::kCapacity / 4;

  explicit CMidiIn(const CMidiServices& services);
  ~CMidiIn() override;
  CMidiIn(const CMidiIn&) = delete;
  CMidiIn& operator=(const CMidiIn&) = delete;

  // User-interface thread; each returns success and shows the system's error text on a failing call.
  bool Open(unsigned index);
  bool OpenByName(const std::string& name);
  bool Start();
  bool Stop();
  bool Close();
  // Takes one event and calls its handler; false only when the ring was empty.
  bool DispatchEvent();

  bool IsRunning() const { return m_running.load(); }
  // Events and exclusive messages lost because the ring was full, no buffer was queued, or the
  // message was longer than a buffer.
  std::uint32_t DroppedCount() const { return m_dropped.load(std::memory_order_relaxed); }

  // The hardware thru of a ThruConnection: the output every received message is also sent to
  // (user-interface thread; derived classes that reach it do the sending).
  void SetThru(CMidiOut* out) { m_thru = out; }
  CMidiOut* GetThru() const { return m_thru; }

protected:
  // Event thread.
  virtual void OnOpen() {}
  virtual void OnClose() {}
  virtual void OnShortData(std::uint32_t packed) { (void)packed; }
  virtual void OnLongData(const std::uint8_t* bytes, std::size_t count) {
    (void)bytes;
    (void)count;
  }
  virtual void OnError() {}
  virtual void OnLongError() {}
  virtual void OnMoreData() {}

  // Stops storing and waits for the event thread, whatever state the port is in (destructors).
  void Halt();

  CMidiServices m_services;

private:
  // Backend thread: store and nothing else.
  void MidiInputShort(std::uint32_t packed) override;
  void MidiInputLong(const std::uint8_t* bytes, std::size_t count) override;
  void MidiInputStatus(int status) override;

  void Store(std::int32_t event);
  // Hands the packet at the write index to input, when it is prepared.
  void QueuePacket();
  void EventThread();
  bool Check(bool ok);

  std::unique_ptr<std::thread> m_thread;
  std::atomic<bool> m_running{false};
  CEventRing m_events;
  CPacketRing m_packets;
  std::uint32_t m_fill = 0;         // backend thread: the next queued packet to fill
  std::atomic<int> m_inCallback{0}; // backend calls under way, so Stop can wait for them
  std::atomic<std::uint32_t> m_dropped{0};
  QZP::CWakeup m_wakeup; // signalled by the backend's thread after each store, and by Stop
  CMidiOut* m_thru = nullptr;
};

// Joins an opened input port and an opened output port; neither is owned.
struct ThruConnection {
  CMidiIn* m_in = nullptr;
  CMidiOut* m_out = nullptr;
  bool m_connected = false;

  bool Connect();
  bool Disconnect();
  // Disconnect, then forget both ports; the result of Disconnect.
  bool Clear();
};
