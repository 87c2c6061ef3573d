#include "app/midisetupdialog.h"

#include "app/appmidi.h"
#include "app/messagebox.h"
#include "app/progressbar.h"
#include "app/resource.h"
#include "model/appstate.h"
#include "platform/virtualmidi.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString ModelText(QZML::EModel model) { return QString::fromLatin1(QZML::ModelName(model)); }

} // namespace

CMidiSetupDialog::CMidiSetupDialog(CAppMidi& midi, const std::string& label, QWidget* parent)
    : QDialog(parent), m_midi(midi), m_layout(StandardMidiSetupLayout(label)),
      m_modelLabel(new QLabel(QString::fromLatin1(kProductModelName))), m_findUnit(new QPushButton(tr("&Find Unit"))),
      m_status(new QLabel), m_targetModel(QZML::CAppState::Instance().GetTargetModel()) {
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

  m_status->setObjectName(QStringLiteral("findUnitStatus"));
  m_status->setWordWrap(true);
  m_status->setVisible(false);
  m_findUnit->setObjectName(QStringLiteral("findUnitButton"));
  m_findUnit->setAutoDefault(false);
  m_findUnit->setToolTip(tr("Ask every MIDI port for the units there and fill in the one found"));
  connect(m_findUnit, &QPushButton::clicked, this, &CMidiSetupDialog::FindUnit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMidiSetupDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(m_findUnit);
  bottom->addStretch();
  bottom->addWidget(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(unit);
  layout->addWidget(thru);
  layout->addWidget(m_status);
  layout->addLayout(bottom);

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

void CMidiSetupDialog::FindUnit() {
  // Every port is let go for the search (the unit's own ones included) and bound as stored again after.
  m_midi.DisconnectAll();
  CUnitSearch search;
  {
    CProgressBar progress(this);
    CUnitDetector detector(m_midi.Environment().GetServices());
    detector.SetProgress(&progress);
    search = detector.Run();
  }
  m_midi.LoadSetup();

  // The built-in simulated unit always answers; beside a unit out there it is no choice worth asking.
  std::vector<CFoundUnit> units = search.units;
  auto builtIn = [](const CFoundUnit& unit) {
    return unit.inPort == QZP::CVirtualMidiBackend::kSimulatorName ||
           unit.outPort == QZP::CVirtualMidiBackend::kSimulatorName;
  };
  if (!std::all_of(units.begin(), units.end(), builtIn))
    units.erase(std::remove_if(units.begin(), units.end(), builtIn), units.end());

  QString status;
  if (search.cancelled) {
    status = tr("Find Unit was cancelled.");
  } else if (units.empty()) {
    status = tr("No unit answered.");
    AppMessageBox(this, QMessageBox::Information,
                  tr("No unit answered on the MIDI ports. Check that the unit is switched on and connected.") +
                      QStringLiteral("\n\n") + Text(search.PortsText()));
  } else if (const CFoundUnit* unit = Choose(units)) {
    Fill(*unit);
    status = tr("Found: %1.").arg(Text(DescribeUnit(*unit)));
    if (unit->model != m_targetModel) {
      m_targetModel = unit->model;
      m_modelLabel->setText(ModelText(m_targetModel));
      status += QLatin1Char(' ') + tr("OK switches the target model to %1.").arg(ModelText(m_targetModel));
    }
  } else {
    status = tr("No unit was chosen.");
  }
  m_status->setText(status);
  m_status->setVisible(true);
  setFixedHeight(sizeHint().height());
}

const CFoundUnit* CMidiSetupDialog::Choose(const std::vector<CFoundUnit>& units) {
  if (units.size() == 1) {
    const CFoundUnit& unit = units.front();
    if (unit.model == m_targetModel)
      return &unit;
    const QString text = tr("The unit that answered is a %1: %2.\nTo use it, the target model will be switched to "
                            "%1.\n\nUse it?")
                             .arg(ModelText(unit.model), Text(DescribeUnit(unit)));
    return AppMessageBox(this, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
               ? &unit
               : nullptr;
  }
  CFindUnitChoiceDialog choice(units, m_targetModel, this);
  if (DoModal(choice) != QDialog::Accepted || choice.Chosen() < 0)
    return nullptr;
  return &units[static_cast<std::size_t>(choice.Chosen())];
}

void CMidiSetupDialog::Fill(const CFoundUnit& unit) {
  auto select = [](QComboBox* box, const std::string& name) {
    // A port that came after the dialog opened goes in before "(none)".
    int index = box->findText(Text(name), Qt::MatchExactly);
    if (index < 0) {
      index = std::max(0, box->count() - 1);
      box->insertItem(index, Text(name));
    }
    box->setCurrentIndex(index);
  };
  const CMidiDeviceRow& in = m_layout.inputs.front();
  const CMidiDeviceRow& out = m_layout.outputs.front();
  select(Combo(in.deviceCombo), unit.inPort);
  select(Combo(out.deviceCombo), unit.outPort);
  if (unit.deviceId >= in.lowestId && unit.deviceId <= in.highestId)
    Combo(in.idCombo)->setCurrentIndex(unit.deviceId - in.lowestId);
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

CFindUnitChoiceDialog::CFindUnitChoiceDialog(const std::vector<CFoundUnit>& units, QZML::EModel targetModel,
                                             QWidget* parent)
    : QDialog(parent), m_list(new QListWidget) {
  setObjectName(QStringLiteral("findUnitChoice"));
  setWindowTitle(tr("Find Unit"));
  m_list->setObjectName(QStringLiteral("findUnitList"));
  for (const CFoundUnit& unit : units) {
    QString text = Text(DescribeUnit(unit));
    if (unit.model != targetModel)
      text += QLatin1Char(' ') + tr("(the target model will be switched to %1)").arg(ModelText(unit.model));
    m_list->addItem(text);
  }
  m_list->setCurrentRow(0);
  const QFontMetrics metrics = m_list->fontMetrics();
  int width = 0;
  for (int row = 0; row < m_list->count(); ++row)
    width = std::max(width, metrics.horizontalAdvance(m_list->item(row)->text()));
  m_list->setMinimumWidth(std::min(width + 4 * metrics.averageCharWidth(), 900));
  // Room for the units there are, up to eight rows.
  const int rows = std::min(m_list->count(), 8);
  m_list->setFixedHeight(rows * m_list->sizeHintForRow(0) + 2 * m_list->frameWidth() + 4);
  connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Several units answered. Which one is to be used?")));
  layout->addWidget(m_list);
  layout->addWidget(buttons);
}

int CFindUnitChoiceDialog::Chosen() const { return m_list->currentRow(); }
