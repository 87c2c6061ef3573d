#pragma once
// "Set Up MIDI Devices": the unit's input and output port with its device ID ("1".."32"), and the
// "Through" pair. Opening it closes and reopens every port from the stored choice; OK binds what it
// shows and stores it. "Find Unit" asks every port for the units there and fills in the one chosen.

#include <QDialog>

#include <map>
#include <string>
#include <vector>

#include "midi/midisetup.h"
#include "midi/unitdetect.h"

class CAppMidi;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

class CMidiSetupDialog : public QDialog {
  Q_OBJECT
public:
  // label: the target model's name, shown beside the unit's ports.
  CMidiSetupDialog(CAppMidi& midi, const std::string& label, QWidget* parent = nullptr);

  // The drop-down list of a control id (4096, 4101, 4104, 4111, 4112).
  QComboBox* Combo(int id) const;
  QLabel* ModelLabel() const { return m_modelLabel; }
  QPushButton* FindUnitButton() const { return m_findUnit; }
  // What the last Find Unit came to; empty before.
  QLabel* FindUnitStatus() const { return m_status; }

  // Find Unit: searches every port with a progress display that can be cancelled; one unit is filled in,
  // of several the user picks one, none is reported with the ports tried.
  void FindUnit();
  // The target model the dialog ends with: a unit of the other model, once chosen, switches it (the
  // caller does, after OK, with the conversion question of Select Target Model).
  QZML::EModel GetTargetModel() const { return m_targetModel; }

  void accept() override;

private:
  void FillFromForm(const CMidiSetupForm& form);
  void ReadIntoForm(CMidiSetupForm& form) const;
  // Puts a unit's ports and device ID into the unit's row.
  void Fill(const CFoundUnit& unit);
  // Asks which unit to take; null when the user declines.
  const CFoundUnit* Choose(const std::vector<CFoundUnit>& units);

  CAppMidi& m_midi;
  CMidiSetupLayout m_layout;
  std::map<int, QComboBox*> m_combos;
  QLabel* m_modelLabel;
  QPushButton* m_findUnit;
  QLabel* m_status;
  QZML::EModel m_targetModel;
};

// The choice among the units that answered, each "QZ-MAX, device ID 17, on <in> / <out>"; a unit of the
// other model with the note that the target model will be switched.
class CFindUnitChoiceDialog : public QDialog {
  Q_OBJECT
public:
  CFindUnitChoiceDialog(const std::vector<CFoundUnit>& units, QZML::EModel targetModel, QWidget* parent = nullptr);
  QListWidget* List() const { return m_list; }
  // The row chosen, or -1.
  int Chosen() const;

private:
  QListWidget* m_list;
};
