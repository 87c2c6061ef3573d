#pragma once
// "Set Up MIDI Devices": the unit's input and output port with its device ID ("1".."32"), and the
// "Through" pair. Opening it closes and reopens every port from the stored choice; OK binds what it
// shows and stores it.

#include <QDialog>

#include <map>
#include <string>

#include "midi/midisetup.h"

class CAppMidi;
class QComboBox;
class QLabel;

class CMidiSetupDialog : public QDialog {
  Q_OBJECT
public:
  // label: the target model's name, shown beside the unit's ports.
  CMidiSetupDialog(CAppMidi& midi, const std::string& label, QWidget* parent = nullptr);

  // The drop-down list of a control id (4096, 4101, 4104, 4111, 4112).
  QComboBox* Combo(int id) const;
  QLabel* ModelLabel() const { return m_modelLabel; }

  void accept() override;

private:
  void FillFromForm(const CMidiSetupForm& form);
  void ReadIntoForm(CMidiSetupForm& form) const;

  CAppMidi& m_midi;
  CMidiSetupLayout m_layout;
  std::map<int, QComboBox*> m_combos;
  QLabel* m_modelLabel;
};
