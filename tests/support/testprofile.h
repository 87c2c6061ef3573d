#pragma once
// Points the per-user profile at a fresh temporary folder for one test program.

#include "platform/qtsettings.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

class CTestProfile {
public:
  CTestProfile() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
  }
  static void Clear() { QZP::CQtSettings().Clear(); }
  bool IsValid() const { return m_dir.isValid(); }

private:
  QTemporaryDir m_dir;
};
