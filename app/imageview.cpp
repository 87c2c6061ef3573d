#include "app/imageview.h"

#include "app/app.h"
#include "app/messagebox.h"
#include "app/midiwarningdlg.h"
#include "app/patchlistctrl.h"
#include "app/profiledfiledialog.h"
#include "app/resource.h"
#include "app/textoutbox.h"
#include "midi/patchstream.h"
#include "model/blocktable.h"
#include "model/savefile.h"

#include <QGroupBox>
#include <QPushButton>

#include <fstream>

CImageView::CImageView(CApp& app, CImageDoc* document, QWidget* parent)
    : CListFormView(app, document, false, parent), m_readGroup(new QGroupBox(tr("Read"), this)),
      m_writeGroup(new QGroupBox(tr("Write"), this)), m_readAll(new QPushButton(tr("All"), this)),
      m_readSelected(new QPushButton(tr("Selected"), this)), m_writeAll(new QPushButton(tr("All"), this)),
      m_writeSelected(new QPushButton(tr("Selected"), this)) {
  m_readGroup->setGeometry(DialogRect(45, 5, 95, 35));
  m_writeGroup->setGeometry(DialogRect(145, 5, 95, 35));
  const struct {
    QPushButton* button;
    int id;
    QRect rect;
  } buttons[] = {{m_readAll, IDC_READ_ALL, DialogRect(50, 17, 40, 15)},
                 {m_readSelected, IDC_READ_SELECTED, DialogRect(95, 17, 40, 15)},
                 {m_writeAll, IDC_WRITE_ALL, DialogRect(150, 17, 40, 15)},
                 {m_writeSelected, IDC_WRITE_SELECTED, DialogRect(195, 17, 40, 15)}};
  // The buttons are the menu's transfer commands.
  const int commands[] = {ID_MIDI_READ_ALL, ID_MIDI_READ_SELECTED, ID_MIDI_WRITE_ALL, ID_MIDI_WRITE_SELECTED};
  for (int i = 0; i < 4; ++i) {
    QPushButton* button = buttons[i].button;
    button->setObjectName(QStringLiteral("button%1").arg(buttons[i].id));
    button->setGeometry(buttons[i].rect);
    button->raise();
    const int command = commands[i];
    connect(button, &QPushButton::clicked, this, [this, command]() {
      OnCommand(command);
      emit commandStateChanged();
    });
  }
  // The "Selected" buttons follow the selection.
  connect(this, &CViewBase::commandStateChanged, this, &CImageView::UpdateButtons);
  UpdateButtons();
  SetListOrigin(45, 45);
  SetLabelOrigin(0, 40);
  setMinimumSize(DialogRect(0, 0, 245, 74).size());
}

CImageDoc* CImageView::GetImageDoc() const { return static_cast<CImageDoc*>(GetDocument()); }

QZML::CPatchArray* CImageView::GetPatchArray() const {
  CImageDoc* document = GetImageDoc();
  return document ? &document->GetPatches() : nullptr;
}

QZML::CDocument* CImageView::GetLibraryData() const {
  CImageDoc* document = GetImageDoc();
  return document ? &document->GetData() : nullptr;
}

bool CImageView::HasSelection() const { return GetList()->GetSelectedCount() > 0; }

QPushButton* CImageView::GetButton(int id) const {
  switch (id) {
  case IDC_READ_ALL:
    return m_readAll;
  case IDC_READ_SELECTED:
    return m_readSelected;
  case IDC_WRITE_ALL:
    return m_writeAll;
  case IDC_WRITE_SELECTED:
    return m_writeSelected;
  default:
    return nullptr;
  }
}

void CImageView::OnUpdate(int hint) {
  ApplyListFont();
  ApplyGrid();
  if (CImageDoc* document = GetImageDoc())
    document->FitPatchCount();
  RefreshList(hint);
}

void CImageView::UpdateButtons() {
  const bool selection = HasSelection();
  m_readSelected->setEnabled(selection);
  m_writeSelected->setEnabled(selection);
}

void CImageView::FitPatchCount() {
  if (CImageDoc* document = GetImageDoc())
    document->FitPatchCount();
}

bool CImageView::AdaptToTarget() {
  QZML::CDocument* data = GetLibraryData();
  if (!data)
    return false;
  if (!m_state.AdaptPatches(data->m_current.m_patches, data->m_current.Model(), m_state.GetTargetModel()))
    return false;
  data->m_current.m_model = QZML::kModelOfTarget;
  GetList()->Refresh(true);
  return true;
}

QZML::CPatchArray* CImageView::PatchesForUnit(QZML::CPatchArray& converted) {
  QZML::CDocument* data = GetLibraryData();
  QZML::CPatchArray* patches = GetPatchArray();
  if (!data || !patches)
    return nullptr;
  const QZML::EModel model = data->m_current.Model();
  if (model == m_state.GetTargetModel())
    return patches;
  converted = *patches;
  return m_state.AdaptPatches(converted, model, m_state.GetTargetModel()) ? &converted : nullptr;
}

void CImageView::ReadUser(bool all) {
  QZML::CDocument* data = GetLibraryData();
  QZML::CPatchArray* patches = GetPatchArray();
  if (!data || !patches || (!all && !HasSelection()))
    return;
  if (!CMidiWarningDlg::Confirm(CONFIRM_READ_USER, m_app.GetFlags(), this))
    return;
  // Read All replaces every row, so only a partial read has to bring the other rows to the target model.
  if (!all && !AdaptToTarget())
    return;
  CWaitCursor wait;
  const std::vector<int> indices = all ? GetList()->GetAllIndices() : GetList()->GetSelectedIndices();
  data->SaveUndo(1);
  CPumpingReader* reader = m_state.GetReader<CPumpingReader>();
  if (reader && reader->ReadPatches(QZML::AREA_USER, indices, patches)) {
    if (all)
      data->m_current.m_model = QZML::kModelOfTarget;
    GetImageDoc()->MarkAsInUnit(indices);
  } else {
    // A read that did not finish leaves the patches as they were, and a later Undo must not bring the
    // half-read ones back.
    data->Undo();
    data->ClearUndo();
  }
  GetList()->Refresh(true);
}

void CImageView::WriteUser(bool all) {
  if (!GetPatchArray() || (!all && !HasSelection()))
    return;
  if (!CMidiWarningDlg::Confirm(CONFIRM_WRITE_USER, m_app.GetFlags(), this))
    return;
  QZML::CPatchArray converted;
  QZML::CPatchArray* patches = PatchesForUnit(converted);
  if (!patches)
    return;
  CWaitCursor wait;
  const std::vector<int> indices = all ? GetList()->GetAllIndices() : GetList()->GetSelectedIndices();
  QZML::CWriter* writer = m_state.GetWriter<QZML::CWriter>();
  if (writer && writer->WritePatches(QZML::AREA_USER, indices, patches))
    GetImageDoc()->MarkAsInUnit(indices);
}

namespace {

// How many malformed pieces a SysEx file had: they are passed over, and the user is told.
QString SkippedText(int skipped) {
  return skipped == 1 ? CImageView::tr("1 malformed message was skipped.")
                      : CImageView::tr("%1 malformed messages were skipped.").arg(skipped);
}

} // namespace

int CImageView::ImportFile(bool sysEx, QZML::CPatchArray& patches) {
  QString path;
  if (!CProfiledFileDialog::Prompt(sysEx ? CProfiledFileDialog::IMPORT_SYSEX : CProfiledFileDialog::IMPORT_SMF, path,
                                   this))
    return SMF_CANCELLED;
  CWaitCursor wait;
  std::ifstream file(path.toStdString(), std::ios::binary);
  CPumpingReader* reader = m_state.GetReader<CPumpingReader>();
  if (!file || !reader)
    return SMF_FAILED;
  const bool imported =
      sysEx ? reader->ImportSysEx(file, QZML::CPatchList{0}, &patches) : reader->Import(file, QZML::CPatchList{0}, &patches);
  // Malformed pieces of a SysEx file are told with the import's outcome, whatever it is.
  const int skipped = reader->GetSysExScan().skipped;
  const QString skippedLine = skipped > 0 ? QStringLiteral("\n\n") + SkippedText(skipped) : QString();
  if (imported) {
    if (skipped > 0)
      AppMessageBox(this, QMessageBox::Information, SkippedText(skipped));
    return SMF_DONE;
  }
  using EOutcome = QZML::CDataSetImport::EOutcome;
  EOutcome outcome = reader->LastImportOutcome();
  if (outcome == EOutcome::NothingForDevice) {
    // Never a Main window of blank patches: say what the file holds, and offer it when it holds patches
    // for another device ID.
    QZML::CDataSetImport& found = reader->LastImport();
    const QString text = QString::fromStdString(found.DescribeFor(reader->DeviceId()));
    const int other = found.MostCommonDeviceId();
    if (other < 0) {
      AppMessageBox(this, QMessageBox::Warning, text + skippedLine);
      return SMF_REPORTED;
    }
    if (AppMessageBox(this, QMessageBox::Question, text + skippedLine + tr("\n\nImport them anyway?"),
                      QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
      return SMF_REPORTED;
    outcome = found.File(other, &patches);
    if (outcome == EOutcome::Filed)
      return SMF_DONE;
    if (outcome == EOutcome::NothingForDevice) {
      AppMessageBox(this, QMessageBox::Warning, QString::fromStdString(found.DescribeFor(other)));
      return SMF_REPORTED;
    }
  }
  if (outcome == EOutcome::Declined) {
    AppMessageBox(this, QMessageBox::Information, tr("Conversion declined: nothing was imported.") + skippedLine);
    return SMF_REPORTED;
  }
  return outcome == EOutcome::Unreadable ? SMF_FAILED : SMF_REPORTED;
}

int CImageView::ExportFile(bool sysEx, const std::vector<int>& indices, QZML::CPatchArray& patches) {
  QString path;
  if (!CProfiledFileDialog::Prompt(sysEx ? CProfiledFileDialog::EXPORT_SYSEX : CProfiledFileDialog::EXPORT_SMF, path,
                                   this))
    return SMF_CANCELLED;
  CWaitCursor wait;
  QZML::CWriter* writer = m_state.GetWriter<QZML::CWriter>();
  if (!writer)
    return SMF_FAILED;
  // The file is replaced only once all of it is written: a failed export keeps the old one.
  const bool saved = QZML::SaveFileAtomically(path.toStdString(), [&](std::ostream& file) {
    return sysEx ? writer->ExportSysEx(file, QZML::AREA_USER, indices, &patches)
                 : writer->Export(file, QZML::AREA_USER, indices, &patches);
  });
  return saved ? SMF_DONE : SMF_FAILED;
}

void CImageView::ImportCommand(bool sysEx) {
  QZML::CDocument* data = GetLibraryData();
  QZML::CPatchArray* patches = GetPatchArray();
  if (!data || !patches)
    return;
  if (!CMidiWarningDlg::Confirm(sysEx ? CONFIRM_IMPORT_SYSEX : CONFIRM_IMPORT_SMF, m_app.GetFlags(), this))
    return;
  if (!AdaptToTarget())
    return;
  data->SaveUndo(1);
  const int result = ImportFile(sysEx, *patches);
  if (result == SMF_DONE)
    GetImageDoc()->MarkAsInUnit();
  else if (result == SMF_FAILED)
    AppMessageBox(this, QMessageBox::Warning, CTextOutBox::ErrorText(TEXTOUT_ERR_LOAD));
  GetList()->Refresh(true);
}

void CImageView::ExportCommand(bool sysEx, bool all) {
  const std::vector<int> indices = all ? GetList()->GetAllIndices() : GetList()->GetSelectedIndices();
  QZML::CPatchArray converted;
  QZML::CPatchArray* patches = indices.empty() ? nullptr : PatchesForUnit(converted);
  if (!patches)
    return;
  if (ExportFile(sysEx, indices, *patches) == SMF_FAILED)
    AppMessageBox(this, QMessageBox::Warning, CTextOutBox::ErrorText(TEXTOUT_ERR_SAVE));
}

void CImageView::OnImportSmf() { ImportCommand(false); }

void CImageView::OnExportSmf(bool all) { ExportCommand(false, all); }

void CImageView::OnImportSysEx() { ImportCommand(true); }

void CImageView::OnExportSysEx(bool all) { ExportCommand(true, all); }

const CCommandTable<CImageView>& CImageView::Commands() {
  static const CCommandTable<CImageView> table = {
      {{ID_FILE_IMPORT_SMF, "&Import SMF...", 0, "Read a Standard MIDI File into the Main window", EMenu::File, 20},
       [](CImageView& v) { v.OnImportSmf(); }},
      {{ID_FILE_EXPORT_SMF_ALL, "&All Data...", 0, "Write every patch of the Main window to a Standard MIDI File",
        EMenu::ExportSmf, 10},
       [](CImageView& v) { v.OnExportSmf(true); }},
      {{ID_FILE_EXPORT_SMF_SELECTED, "&Selected Data...", 0,
        "Write the selected patches of the Main window to a Standard MIDI File", EMenu::ExportSmf, 11},
       [](CImageView& v) { v.OnExportSmf(false); },
       [](const CImageView& v) { return v.HasSelection(); }},
      {{ID_FILE_IMPORT_SYSEX, "Import S&ysEx...", 0, "Read a SysEx file into the Main window", EMenu::File, 22},
       [](CImageView& v) { v.OnImportSysEx(); }},
      {{ID_FILE_EXPORT_SYSEX_ALL, "&All Data...", 0, "Write every patch of the Main window to a SysEx file",
        EMenu::ExportSysEx, 10},
       [](CImageView& v) { v.OnExportSysEx(true); }},
      {{ID_FILE_EXPORT_SYSEX_SELECTED, "&Selected Data...", 0,
        "Write the selected patches of the Main window to a SysEx file", EMenu::ExportSysEx, 11},
       [](CImageView& v) { v.OnExportSysEx(false); },
       [](const CImageView& v) { return v.HasSelection(); }},
      {{ID_MIDI_READ_ALL, "Read &All Data", 0, "Read every user patch from the unit", EMenu::Midi, 10},
       [](CImageView& v) { v.ReadUser(true); }},
      {{ID_MIDI_READ_SELECTED, "Read &Selected Data", 0, "Read the selected user patches from the unit", EMenu::Midi,
        11},
       [](CImageView& v) { v.ReadUser(false); },
       [](const CImageView& v) { return v.HasSelection(); }},
      {{ID_MIDI_WRITE_ALL, "&Write All Data", 0, "Write every patch to the unit's user area", EMenu::Midi, 20},
       [](CImageView& v) { v.WriteUser(true); }},
      {{ID_MIDI_WRITE_SELECTED, "W&rite Selected Data", 0, "Write the selected patches to the unit's user area",
        EMenu::Midi, 21},
       [](CImageView& v) { v.WriteUser(false); },
       [](const CImageView& v) { return v.HasSelection(); }},
  };
  return table;
}

bool CImageView::OnCommand(int id) { return RunCommand(Commands(), *this, id) || CListFormView::OnCommand(id); }
