#pragma once
// Patches from a file of exclusive messages (a Standard MIDI File, a .syx file): the unit's data sets are
// collected first and filed only once it is known for which device ID and model the file was made, so a
// file made for another device ID never turns into a library of blank patches, and a file of the other
// model is never filed as if it were this model's.

#include <cstdint>
#include <string>
#include <vector>

#include "model/bytes.h"
#include "model/patch.h"
#include "model/targetmodel.h"

namespace QZML {

class CDataSetImport {
public:
  enum class EOutcome {
    Filed,            // at least one data set went into the destination
    NothingForDevice, // the file holds no data set for the device ID in use (DescribeFor says what it holds)
    Declined,         // the data sets are the other model's and the user declined the conversion
    Unreadable,       // the file itself could not be read (set by the file's reader, never by File)
  };

  // Forgets every message offered so far.
  void Clear();
  // Offers one complete exclusive message (F0 .. F7). A data set of the QZ-MAX or the QZ-5 for the user
  // area with a good checksum is kept; any other message of the unit's maker is counted as skipped.
  void Add(const CByteArray& bytes);

  // Data sets kept, in all and for one device ID (as on the wire, 0..31) and model.
  int Count() const { return static_cast<int>(m_sets.size()); }
  int Count(int deviceId, EModel model) const;
  // Messages of the unit's maker that were not usable data sets.
  int Skipped() const { return m_skipped; }
  // The device ID (wire) most data sets are for; -1 when none was kept.
  int MostCommonDeviceId() const;

  // What the file holds, for the message of an import that filed nothing: "This file holds patches for
  // device ID 17 (QZ-MAX); the device ID in use is 1." (device IDs as users count them, from 1).
  std::string DescribeFor(int deviceIdInUse) const;

  // Files the data sets for deviceId (wire) into destination, each at the user patch its address names.
  // Data sets of the target model go in as they are; when there are none but some of the other model,
  // the conversion question is asked through the application state, and Yes files those patches
  // converted to the target model (No files nothing). Filed() tells how many data sets went in.
  EOutcome File(int deviceId, CPatchArray* destination);
  int Filed() const { return m_filed; }

private:
  struct CDataSet {
    std::uint8_t deviceId;
    EModel model;
    std::uint32_t address;
    CByteArray data;
  };

  int FileConverted(int deviceId, EModel model, CPatchArray* destination) const;

  std::vector<CDataSet> m_sets;
  int m_skipped = 0;
  int m_filed = 0;
};

} // namespace QZML
