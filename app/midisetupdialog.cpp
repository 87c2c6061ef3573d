#include "app/midisetupdialog.h"

#include "app/appmidi.h"
#include "app/messagebox.h"
#include "app/resource.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

CMidiSetupDialog::CMidiSetupDialog(CAppMidi& midi, const std::string& label, QWidget* parent)
    : QDialog(parent), m_midi(midi), m_layout(StandardMidiSetupLayout(label)),
      m_modelLabel(new QLabel(QString::fromLatin1(kProductModelName))) {
  setObjectName(QStringLiteral("midiSetupDialog"));
  setWindowTitle(tr("Set Up MIDI Devices"));
  auto combo = [this](int id, int minimumChars) {
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("combo%1").arg(id));
    box->setMinimumContentsLength(minimumChars);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combos[id] = box;
    return box;
  };
  QComboBox* in = combo(IDC_MIDI_IN_DEVICE, 22);
  QComboBox* out = combo(IDC_MIDI_OUT_DEVICE, 22);
  QComboBox* id = combo(IDC_MIDI_DEVICE_ID, 3);
  QComboBox* thruIn = combo(IDC_MIDI_THRU_IN_DEVICE, 22);
  QComboBox* thruOut = combo(IDC_MIDI_THRU_OUT_DEVICE, 22);
  id->setMaxVisibleItems(16);

  auto labelFor = [](const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
  };
  auto* unit = new QGroupBox;
  auto* unitGrid = new QGridLayout(unit);
  m_modelLabel->setObjectName(QStringLiteral("label%1").arg(IDC_MIDI_MODEL_LABEL));
  // The two groups' columns line up: the same label width, the same room for the device ID.
  const QFontMetrics metrics = m_modelLabel->fontMetrics();
  const int labelWidth = std::max(metrics.horizontalAdvance(QStringLiteral("QZ-MAX")),
                                  metrics.horizontalAdvance(tr("Through"))) +
                         metrics.averageCharWidth();
  const int idWidth = id->sizeHint().width();
  id->setFixedWidth(idWidth);
  m_modelLabel->setFixedWidth(labelWidth);
  unitGrid->addWidget(labelFor(tr("&Input:"), in), 0, 1);
  unitGrid->addWidget(labelFor(tr("&Output:"), out), 0, 2);
  unitGrid->addWidget(labelFor(tr("&Device ID"), id), 0, 3);
  unitGrid->addWidget(m_modelLabel, 1, 0);
  unitGrid->addWidget(in, 1, 1);
  unitGrid->addWidget(out, 1, 2);
  unitGrid->addWidget(id, 1, 3);
  unitGrid->setColumnStretch(1, 1);
  unitGrid->setColumnStretch(2, 1);

  auto* thru = new QGroupBox;
  auto* thruGrid = new QGridLayout(thru);
  auto* through = new QLabel(tr("Through"));
  through->setFixedWidth(labelWidth);
  thruGrid->addWidget(labelFor(tr("I&nput:"), thruIn), 0, 1);
  thruGrid->addWidget(labelFor(tr("O&utput:"), thruOut), 0, 2);
  thruGrid->addWidget(through, 1, 0);
  thruGrid->addWidget(thruIn, 1, 1);
  thruGrid->addWidget(thruOut, 1, 2);
  // Keeps the Through columns under the unit's.
  thruGrid->addItem(new QSpacerItem(idWidth, 0, QSizePolicy::Fixed), 1, 3);
  thruGrid->setColumnStretch(1, 1);
  thruGrid->setColumnStretch(2, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMidiSetupDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(unit);
  layout->addWidget(thru);
  layout->addWidget(buttons);

  // Initialisation: every port closed and reopened from the stored choice (and the simulated unit when
  // it is bound for this run), then the lists.
  CMidiSetupForm form;
  InitMidiSetupForm(m_midi.Setup(), m_layout, form);
  if (m_midi.GetSimulatorOverride()) {
    m_midi.BindSimulator();
    CMidiEnvironment& environment = m_midi.Environment();
    form.combos[IDC_MIDI_IN_DEVICE].Select(m_midi.Setup().InputDeviceName(environment.Inputs()[0]));
    form.combos[IDC_MIDI_OUT_DEVICE].Select(m_midi.Setup().OutputDeviceName(environment.Outputs()[0]));
    // The shared device ID box goes with the unit's ports here, or OK would move them off the
    // simulated unit's ID.
    form.combos[IDC_MIDI_DEVICE_ID].Select(std::to_string(kSimulatorDeviceId + 1));
  }
  FillFromForm(form);
  setFixedHeight(sizeHint().height());
}

QComboBox* CMidiSetupDialog::Combo(int id) const {
  auto it = m_combos.find(id);
  return it == m_combos.end() ? nullptr : it->second;
}

void CMidiSetupDialog::FillFromForm(const CMidiSetupForm& form) {
  for (auto& [id, box] : m_combos) {
    auto it = form.combos.find(id);
    box->clear();
    if (it == form.combos.end()) {
      box->setEnabled(false);
      continue;
    }
    for (const std::string& item : it->second.items)
      box->addItem(QString::fromStdString(item));
    box->setCurrentIndex(it->second.selected);
    box->setEnabled(it->second.enabled);
  }
  if (!form.label.empty())
    m_modelLabel->setText(QString::fromStdString(form.label));
}

void CMidiSetupDialog::ReadIntoForm(CMidiSetupForm& form) const {
  for (const auto& [id, box] : m_combos) {
    CMidiSetupCombo& combo = form.combos[id];
    for (int i = 0; i < box->count(); ++i)
      combo.items.push_back(box->itemText(i).toStdString());
    combo.selected = box->currentIndex();
    combo.enabled = box->isEnabled();
  }
}

void CMidiSetupDialog::accept() {
  QDialog::accept();
  CMidiSetupForm form;
  ReadIntoForm(form);
  CWaitCursor wait;
  ApplyMidiSetupForm(m_midi.Setup(), m_layout, form);
  // The user's choice is stored now; the simulated unit of this run gives way to it.
  m_midi.SetSimulatorOverride(false);
}
