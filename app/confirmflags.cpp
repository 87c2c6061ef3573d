#include "app/confirmflags.h"

#include "gp/profile.h"

namespace {

const char* const kNames[CONFIRM_COUNT] = {"ReadUser",        "ReadTemp",       "WriteUser",
                                           "WriteTempButton", "WriteTempClick", "ImportSMF"};

} // namespace

const char* CConfirmationFlags::Name(int index) {
  return index >= 0 && index < CONFIRM_COUNT ? kNames[index] : "";
}

int CConfirmationFlags::Get(int index) const { return index >= 0 && index < CONFIRM_COUNT ? m_flags[index] : 0; }

void CConfirmationFlags::Set(int index, int value) {
  if (index >= 0 && index < CONFIRM_COUNT)
    m_flags[index] = value;
}

void CConfirmationFlags::Load() {
  for (int i = 0; i < CONFIRM_COUNT; ++i)
    m_flags[i] = GP::GetProfileInt(QStringLiteral("Option"), QString::fromLatin1(kNames[i]), 0);
}

void CConfirmationFlags::Save() const {
  for (int i = 0; i < CONFIRM_COUNT; ++i)
    GP::WriteProfileInt(QStringLiteral("Option"), QString::fromLatin1(kNames[i]), m_flags[i]);
}
