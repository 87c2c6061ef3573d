#pragma once
// The simulated unit at the other end of the cable: a QZ-MAX or QZ-5 with its user patches and
// temporary patch in memory. It answers the identity request with the identity reply of its model,
// answers every data request with one data set of the same address and length, stores every data set
// it receives, and ignores everything else (another device ID or model, bad checksums, other makers,
// short messages). Faults can be switched on for tests.
//
// Memory: the user area 08 00 00 00 up to the last user patch's end and the temporary patch
// 0D 00 00 00, each patch 0x4000 addresses (128 rows of 128). Each block lies at its address with its
// "INIT PATCH" defaults; the addresses between blocks hold zeros. A request or data set is served only
// when its whole range lies inside the user area or inside the temporary patch; otherwise it is ignored.
//
// CSimUnit itself has no notion of time: Receive answers at once through the output. CSimRunner adds
// the answer delay and the cable's speed.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "model/appstate.h"
#include "model/bytes.h"
#include "model/patch.h"

// Which of the unit's answers a fault hits. Answers are counted from 1 over every identity reply and
// data set the unit means to send.
struct CSimFault {
  int first = 0;  // 0: no answer
  int count = 1;  // answers first .. first + count - 1; 0: every answer from first on

  static CSimFault None() { return {}; }
  static CSimFault Nth(int n) { return {n, 1}; }
  static CSimFault From(int n) { return {n, 0}; }
  static CSimFault Always() { return {1, 0}; }

  bool Hits(int answer) const {
    if (first <= 0 || answer < first)
      return false;
    return count <= 0 || answer - first < count;
  }
};

struct CSimOptions {
  QZML::EModel model = QZML::MODEL_QZMAX;
  std::uint8_t deviceId = 0x10;  // wire value; users count from 1 (17 = 0x10)

  // Timing, applied by CSimRunner.
  std::int64_t answerDelayUs = 0;  // from a message's arrival to the start of its answer
  bool cableSpeed = false;         // 320 us per byte on each direction of the cable

  // Faults for tests.
  CSimFault drop;          // answers not sent: Always() a silent unit, From(n) goes silent at answer n
  CSimFault badChecksum;   // data sets sent with a wrong checksum
  CSimFault otherAddress;  // data sets sent with the address one row (0x80) further on
  int activeSensing = 0;   // active sensing bytes (FE) sent ahead of every answer
};

// What the unit has seen and done; for tests.
struct CSimCounters {
  int identityRequests = 0;  // identity requests addressed to it
  int dataRequests = 0;      // data requests answered (or meant to be)
  int dataSets = 0;          // data sets stored
  int ignored = 0;           // messages not for it, malformed, or outside its memory
  int answers = 0;           // answers meant to be sent, dropped ones included
  int dropped = 0;
};

constexpr std::uint32_t kSimPatchSpan = QZML::PATCH_STRIDE;

class CSimUnit {
public:
  using COutput = std::function<void(const QZML::CByteArray&)>;

  explicit CSimUnit(const CSimOptions& options = CSimOptions());

  const CSimOptions& Options() const { return m_options; }
  // New options; memory is kept. A change of model resizes the user area (new patches are "INIT PATCH").
  // Not while a runner's thread is running.
  void SetOptions(const CSimOptions& options);

  // Where the unit's messages go, one complete message per call, on the thread that calls Receive.
  void SetOutput(COutput output) { m_output = std::move(output); }

  // One complete message from the host (F0 ... F7, or a short message, which is ignored).
  void Receive(const QZML::CByteArray& message);

  const CSimCounters& Counters() const { return m_counters; }
  void ResetCounters() { m_counters = CSimCounters(); }

  // The identity reply of a model for a device ID: F0 7E dd 06 02 41 then 8 model bytes, F7.
  static QZML::CByteArray IdentityReply(QZML::EModel model, std::uint8_t deviceId);
  // The model identifier field of the unit's messages: 00 00 0B or 00 00 06.
  static QZML::CByteArray ModelIdBytes(QZML::EModel model);

  // Memory, for tests and the simulate command. Not to be used while a runner's thread is running.
  int UserPatchCount() const { return m_userCount; }
  // Raw bytes as the unit holds them; false when the range is not wholly inside memory.
  bool ReadMemory(std::uint32_t address, std::size_t size, QZML::CByteArray& out) const;
  bool WriteMemory(std::uint32_t address, const std::uint8_t* data, std::size_t size);
  // A user patch (0 .. UserPatchCount-1) as the librarian holds it: every block at its QZ-MAX size, the
  // name codes 7E/7F as "}"/"{", no memos. Setting maps the name back and keeps 7 bits of each byte.
  bool GetUserPatch(int number, QZML::CPatch& patch) const;
  bool SetUserPatch(int number, const QZML::CPatch& patch);
  void GetTemporaryPatch(QZML::CPatch& patch) const;
  void SetTemporaryPatch(const QZML::CPatch& patch);
  // All user patches into patches (resized to UserPatchCount), or from patches: as many as both hold;
  // the rest of the memory is left alone. Missing elements are skipped.
  void SaveUserPatches(QZML::CPatchArray& patches) const;
  void LoadUserPatches(const QZML::CPatchArray& patches);
  // Every patch back to "INIT PATCH" and zeros between the blocks.
  void InitializeMemory();

private:
  std::uint8_t* Locate(std::uint32_t address, std::size_t size);
  const std::uint8_t* Locate(std::uint32_t address, std::size_t size) const;
  static void InitializePatch(std::uint8_t* base);
  static void PatchFromMemory(const std::uint8_t* base, QZML::CPatch& patch);
  static void PatchToMemory(const QZML::CPatch& patch, std::uint8_t* base);

  bool AnswerIdentity(const QZML::CByteArray& message);
  bool AnswerOrvane(const QZML::CByteArray& message);
  // Counts one answer; false when it is to be dropped.
  bool NextAnswer();
  void SendDataSet(std::uint32_t address, const QZML::CByteArray& data);
  void Send(const QZML::CByteArray& message);

  CSimOptions m_options;
  int m_userCount = 0;
  QZML::CByteArray m_user;       // m_userCount patches of kSimPatchSpan bytes
  QZML::CByteArray m_temporary;  // one patch
  CSimCounters m_counters;
  COutput m_output;
};
