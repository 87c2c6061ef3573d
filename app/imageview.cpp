#include "app/imageview.h"

#include "app/app.h"
#include "app/mainframe.h"
#include "app/patchlistctrl.h"
#include "app/resource.h"

#include <QGroupBox>
#include <QPushButton>

CImageView::CImageView(CImageDoc* document, QWidget* parent)
    : CListFormView(document, false, parent), m_readGroup(new QGroupBox(tr("Read"), this)),
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
  // The buttons are the menu's transfer commands and take the same route.
  const int commands[] = {ID_MIDI_READ_ALL, ID_MIDI_READ_SELECTED, ID_MIDI_WRITE_ALL, ID_MIDI_WRITE_SELECTED};
  for (int i = 0; i < 4; ++i) {
    QPushButton* button = buttons[i].button;
    button->setObjectName(QStringLiteral("button%1").arg(buttons[i].id));
    button->setGeometry(buttons[i].rect);
    button->raise();
    const int command = commands[i];
    connect(button, &QPushButton::clicked, this, [command]() {
      if (CApp* app = CApp::Instance())
        if (CMainFrame* main = app->GetMainFrame())
          main->RouteCommand(command);
    });
  }
  // Both "Selected" buttons start disabled; the idle update enables them with a selection.
  m_readSelected->setEnabled(false);
  m_writeSelected->setEnabled(false);
  SetListOrigin(45, 45);
  SetLabelOrigin(0, 40);
  setMinimumSize(DialogRect(0, 0, 245, 74).size());
  if (CApp* app = CApp::Instance())
    app->SetMainView(this);
}

CImageView::~CImageView() {
  if (CApp* app = CApp::Instance())
    if (app->GetMainView() == this)
      app->SetMainView(nullptr);
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

void CImageView::OnUpdate(CViewBase* sender, int hint) {
  (void)sender;
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

bool CImageView::OnCommand(int id) { return CListFormView::OnCommand(id); }

bool CImageView::OnUpdateCommand(CCmdUI& ui) {
  const int id = ui.GetId();
  // Close, Save and Save As never apply to the Main window.
  if (id == ID_FILE_CLOSE || id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS) {
    ui.Enable(false);
    return true;
  }
  return CListFormView::OnUpdateCommand(ui);
}
