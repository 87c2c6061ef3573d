#pragma once
// The confirmation before a transfer, with "Don't show this dialog again.": OK stores the check box as
// the confirmation flag of the dialog's kind, so a ticked box skips later confirmations of that kind.

#include <QDialog>

#include "midi/transfer.h"

class QCheckBox;
class QLabel;

class CMidiWarningDlg : public QDialog {
  Q_OBJECT
public:
  // kind: 0 ReadUser .. 6 ImportSysEx. flags: where OK stores the check box; not owned.
  CMidiWarningDlg(int kind, CConfirmationFlags& flags, QWidget* parent = nullptr);

  int GetKind() const { return m_kind; }
  QLabel* GetText() const { return m_text; }
  QCheckBox* GetCheckBox() const { return m_check; }

  // The question of a kind, with the target model's name for kinds 0 to 4.
  static QString Question(int kind);
  // The confirmation of a command: true at once when the kind's flag is set, otherwise the dialog's OK.
  static bool Confirm(int kind, CConfirmationFlags& flags, QWidget* parent = nullptr);

  void accept() override;

private:
  int m_kind;
  CConfirmationFlags& m_flags;
  QLabel* m_text;
  QCheckBox* m_check;
};
