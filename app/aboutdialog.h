#pragma once
// The About box: the program's icon, its description, version and copyright. With Ctrl held down as it
// opens, the version line also shows the build digits.

#include <QDialog>

class QLabel;

class CAboutDialog : public QDialog {
  Q_OBJECT
public:
  // withBuildDigits: null asks the keyboard whether Ctrl is down.
  explicit CAboutDialog(QWidget* parent = nullptr, const bool* withBuildDigits = nullptr);

  QLabel* Line(int id) const;

  // "Version 1.00", and with build digits " (1004)" for the product version 1,0,0,4.
  static QString VersionLine(bool withBuildDigits);

private:
  QLabel* m_description;
  QLabel* m_version;
  QLabel* m_copyright;
};
