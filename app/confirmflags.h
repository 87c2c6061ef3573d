#pragma once
// The six confirmation flags of the transfers: 0 asks before the command, anything else does not ask
// again. Kept in the "Option" section under their names.

enum : int {
  CONFIRM_READ_USER = 0,
  CONFIRM_READ_TEMP = 1,
  CONFIRM_WRITE_USER = 2,
  CONFIRM_WRITE_TEMP_BUTTON = 3,
  CONFIRM_WRITE_TEMP_CLICK = 4,
  CONFIRM_IMPORT_SMF = 5,
  CONFIRM_COUNT = 6,
};

class CConfirmationFlags {
public:
  // "ReadUser", "ReadTemp", "WriteUser", "WriteTempButton", "WriteTempClick", "ImportSMF".
  static const char* Name(int index);

  // An index outside 0..5 reads as 0 and is never written.
  int Get(int index) const;
  void Set(int index, int value);

  void Load();
  void Save() const;

private:
  int m_flags[CONFIRM_COUNT] = {};
};
