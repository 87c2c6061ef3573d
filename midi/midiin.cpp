#include "midi/midiin.h"

#include <cstring>
#include <system_error>

#include "midi/midiout.h"

void CMidiIn::CEventRing::Reset() {
  for (std::int32_t& slot : m_slots)
    slot = EVENT_EMPTY;
  m_read.store(0, std::memory_order_relaxed);
  m_write.store(0, std::memory_order_relaxed);
}

bool CMidiIn::CEventRing::HasRoom() const {
  // One slot stays free so that a full ring is not taken for an empty one.
  return Next(m_write.load(std::memory_order_relaxed)) != m_read.load(std::memory_order_acquire);
}

bool CMidiIn::CEventRing::Push(std::int32_t event) {
  if (!HasRoom())
    return false;
  std::uint32_t write = m_write.load(std::memory_order_relaxed);
  m_slots[write] = event;
  m_write.store(Next(write), std::memory_order_release);
  return true;
}

std::int32_t CMidiIn::CEventRing::Pop() {
  std::uint32_t read = m_read.load(std::memory_order_relaxed);
  if (read == m_write.load(std::memory_order_acquire))
    return EVENT_EMPTY;
  std::int32_t event = m_slots[read];
  m_slots[read] = EVENT_EMPTY;
  m_read.store(Next(read), std::memory_order_release);
  return event;
}

void CMidiIn::CPacketRing::Reset() {
  for (CMidiPacket& packet : m_packets)
    packet.Reset();
  m_read.store(0, std::memory_order_relaxed);
  m_write.store(0, std::memory_order_relaxed);
}

CMidiIn::CMidiIn(const CMidiServices& services) : m_services(services) {
  m_events.Reset();
  m_packets.Reset();
}

CMidiIn::~CMidiIn() {
  Close();
  Halt();
  // Closing the backend's port ends its calls into this object.
  m_port.reset();
}

void CMidiIn::Halt() {
  m_running.store(false);
  while (m_inCallback.load() != 0)
    std::this_thread::yield();
  m_wakeup.Signal();
  if (m_thread && m_thread->joinable())
    m_thread->join();
  m_thread.reset();
}

bool CMidiIn::Check(bool ok) {
  if (!ok && m_port)
    m_services.ShowMessage(m_port->ErrorText());
  return ok;
}

bool CMidiIn::Open(unsigned index) {
  if (!m_services.backend)
    return false;
  m_running.store(false);
  if (m_port)
    Close();
  std::unique_ptr<QZP::IMidiInPort> port = m_services.backend->OpenInput(index, this);
  if (!port) {
    m_services.ShowMessage(m_services.backend->ErrorText());
    return false;
  }
  m_port = std::move(port);
  return true;
}

bool CMidiIn::OpenByName(const std::string& name) {
  if (!m_services.backend)
    return false;
  std::vector<std::string> names = m_services.backend->InputNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name)
      return Open(static_cast<unsigned>(i));
  return false;
}

void CMidiIn::QueuePacket() {
  std::uint32_t write = m_packets.m_write.load(std::memory_order_relaxed);
  CMidiPacket& packet = m_packets.At(write);
  if (!(packet.m_flags & MIDI_HEADER_PREPARED))
    return;
  packet.m_bytesRecorded = 0;
  packet.m_flags = MIDI_HEADER_PREPARED | MIDI_HEADER_INQUEUE;
  m_packets.m_write.store(m_packets.Next(write), std::memory_order_release);
}

bool CMidiIn::Start() {
  if (!m_port || m_thread)
    return false;
  // The rings are set up before the flag lets the backend's thread store anything.
  m_events.Reset();
  m_packets.Reset();
  m_fill = 0;
  for (std::uint32_t i = 0; i < CPacketRing::kCapacity; ++i)
    m_packets.At(i).m_flags |= MIDI_HEADER_PREPARED;
  for (std::uint32_t i = 0; i < kQueuedPackets; ++i)
    QueuePacket();
  m_running.store(true);
  if (!Check(m_port->Start())) {
    m_running.store(false);
    return false;
  }
  try {
    m_thread = std::make_unique<std::thread>(&CMidiIn::EventThread, this);
  } catch (const std::system_error& e) {
    m_running.store(false);
    m_port->Stop();
    m_services.ShowMessage(e.what());
    return false;
  }
  return true;
}

void CMidiIn::EventThread() {
  // The flag is tested only after the ring was found empty; after it is cleared the ring is drained.
  // An event stored while the ring is being looked at has signalled, so the wait returns at once; every
  // store signals, and so do Stop and Halt after clearing the flag, so an idle thread needs no time
  // bound to notice either and sleeps until one comes.
  while (m_running.load()) {
    if (!DispatchEvent())
      m_wakeup.Wait(QZP::CWakeup::kForever);
  }
  while (DispatchEvent()) {
  }
}

bool CMidiIn::DispatchEvent() {
  std::int32_t event = m_events.Pop();
  switch (event) {
  case EVENT_EMPTY:
    return false;
  case EVENT_MORE_DATA:
    OnMoreData();
    break;
  case EVENT_LONG_ERROR:
    OnLongError();
    break;
  case EVENT_ERROR:
    OnError();
    break;
  case EVENT_CLOSE:
    OnClose();
    break;
  case EVENT_OPEN:
    OnOpen();
    break;
  case EVENT_LONG_DATA: {
    std::uint32_t read = m_packets.m_read.load(std::memory_order_relaxed);
    CMidiPacket& packet = m_packets.At(read);
    m_packets.m_read.store(m_packets.Next(read), std::memory_order_relaxed);
    // A buffer that came back empty is neither handed on nor replaced.
    if (packet.m_bytesRecorded > 0) {
      OnLongData(packet.m_data, packet.m_bytesRecorded);
      QueuePacket();
    }
    break;
  }
  default:
    if (event >= 0)
      OnShortData(static_cast<std::uint32_t>(event));
    break;
  }
  return true;
}

void CMidiIn::Store(std::int32_t event) {
  if (m_events.Push(event))
    m_wakeup.Signal();
  else
    m_dropped.fetch_add(1, std::memory_order_relaxed);
}

void CMidiIn::MidiInputShort(std::uint32_t packed) {
  m_inCallback.fetch_add(1);
  if (m_running.load())
    Store(static_cast<std::int32_t>(packed & 0xFFFFFF));
  m_inCallback.fetch_sub(1, std::memory_order_release);
}

void CMidiIn::MidiInputStatus(int status) {
  m_inCallback.fetch_add(1);
  if (m_running.load()) {
    switch (status) {
    case QZP::MIDI_INPUT_OPEN:
      Store(EVENT_OPEN);
      break;
    case QZP::MIDI_INPUT_CLOSE:
      Store(EVENT_CLOSE);
      break;
    case QZP::MIDI_INPUT_ERROR:
      Store(EVENT_ERROR);
      break;
    case QZP::MIDI_INPUT_LONG_ERROR:
      Store(EVENT_LONG_ERROR);
      break;
    case QZP::MIDI_INPUT_MORE_DATA:
      Store(EVENT_MORE_DATA);
      break;
    default:
      break;
    }
  }
  m_inCallback.fetch_sub(1, std::memory_order_release);
}

void CMidiIn::MidiInputLong(const std::uint8_t* bytes, std::size_t count) {
  m_inCallback.fetch_add(1);
  if (m_running.load()) {
    if (count > CMidiPacket::kBufferSize) {
      // Longer than a buffer: refused whole, never written past it.
      m_dropped.fetch_add(1, std::memory_order_relaxed);
      Store(EVENT_LONG_ERROR);
    } else if (!m_events.HasRoom() || m_fill == m_packets.m_write.load(std::memory_order_acquire)) {
      // No room for the event or no buffer queued: the message is lost, the rings stay in step.
      m_dropped.fetch_add(1, std::memory_order_relaxed);
    } else {
      CMidiPacket& packet = m_packets.At(m_fill);
      if (count > 0)
        std::memcpy(packet.m_data, bytes, count);
      packet.m_bytesRecorded = static_cast<std::uint32_t>(count);
      packet.m_flags = MIDI_HEADER_PREPARED | MIDI_HEADER_DONE;
      m_fill = m_packets.Next(m_fill);
      m_events.Push(EVENT_LONG_DATA);
      m_wakeup.Signal();
    }
  }
  m_inCallback.fetch_sub(1, std::memory_order_release);
}

bool CMidiIn::Stop() {
  if (!m_port)
    return false;
  m_running.store(false);
  // A backend call that saw the flag still set finishes its store before the thread drains.
  while (m_inCallback.load() != 0)
    std::this_thread::yield();
  m_wakeup.Signal();
  if (!Check(m_port->Stop()))
    return false;
  if (!Check(m_port->Reset()))
    return false;
  if (m_thread) {
    try {
      m_thread->join();
    } catch (const std::system_error&) {
      m_services.ShowMessage("MIDI In check event thread was not terminated normaly.");
      if (m_thread->joinable())
        m_thread->detach();
    }
    m_thread.reset();
  }
  for (std::uint32_t i = 0; i < CPacketRing::kCapacity; ++i)
    m_packets.At(i).m_flags &= ~(MIDI_HEADER_PREPARED | MIDI_HEADER_INQUEUE);
  return true;
}

bool CMidiIn::Close() {
  if (!m_port)
    return false;
  if (!Stop())
    return false;
  bool closed = Check(m_port->Close());
  m_port.reset();
  return closed;
}

bool ThruConnection::Connect() {
  if (m_connected)
    return true;
  if (!m_in || !m_out || !m_in->IsOpen() || !m_out->IsOpen())
    return false;
  m_in->SetThru(m_out);
  m_connected = true;
  return true;
}

bool ThruConnection::Disconnect() {
  if (!m_connected)
    return true;
  if (!m_in || !m_out || !m_in->IsOpen() || !m_out->IsOpen())
    return false;
  m_in->SetThru(nullptr);
  m_connected = false;
  return true;
}

bool ThruConnection::Clear() {
  bool result = Disconnect();
  m_in = nullptr;
  m_out = nullptr;
  return result;
}
