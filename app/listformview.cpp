#include "app/listformview.h"

#include "app/app.h"
#include "app/childframe.h"
#include "app/comparedlg.h"
#include "app/duplicatesdlg.h"
#include "app/mainframe.h"
#include "app/messagebox.h"
#include "app/midiwarningdlg.h"
#include "app/patchlistctrl.h"
#include "app/resource.h"
#include "app/setgriddlg.h"
#include "midi/patchstream.h"
#include "model/appstate.h"
#include "model/blocktable.h"
#include "model/convert.h"
#include "model/listedit.h"
#include "model/patchcompare.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The edge kept free to the right of and below the list, in dialog units.
constexpr int kListMargin = 5;

// Row buttons, in pixels from the list's left edge: the write button spans from 32 to 12 left of it,
// the read button lies 27 further left.
constexpr int kWriteButtonLeft = 32;
constexpr int kButtonWidth = 20;
constexpr int kReadButtonOffset = 27;
// At most this many pairs; the buttons' object names number them from these.
constexpr int kMaxRowButtons = 256;
constexpr int kRowWriteName = 4130;
constexpr int kRowReadName = 4386;

} // namespace

CListFormView::CListFormView(CApp& app, CDocumentBase* document, bool endOfLine, QWidget* parent)
    : CViewBase(document, parent), m_app(app), m_state(app.GetState()), m_endOfLine(endOfLine),
      m_tempLabel(new QLabel(tr("Temporary\nRead/Write"), this)), m_listArea(new QFrame(this)),
      m_filterBox(new QLineEdit(m_listArea)), m_filterCount(new QLabel(m_listArea)),
      m_list(new CPatchListCtrl(m_state, endOfLine, m_listArea)) {
  m_tempLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_listArea->setObjectName(QStringLiteral("patchListArea"));
  m_filterBox->setObjectName(QStringLiteral("patchFilter"));
  m_filterBox->setPlaceholderText(tr("Filter by name or memo"));
  m_filterBox->setClearButtonEnabled(true);
  m_filterBox->setToolTip(tr("Shows only the patches whose name or memos contain this text (Ctrl+F; Escape clears)"));
  // Files dropped here open as anywhere else in the window.
  m_filterBox->setAcceptDrops(false);
  m_filterBox->installEventFilter(this);
  m_filterCount->setObjectName(QStringLiteral("patchFilterCount"));
  auto* layout = new QVBoxLayout(m_listArea);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* filterRow = new QHBoxLayout;
  filterRow->addWidget(m_filterBox, 1);
  filterRow->addWidget(m_filterCount);
  layout->addLayout(filterRow);
  layout->addWidget(m_list, 1);
  connect(m_list, &CParameterListCtrl::scrolled, this, [this]() { OnListScrolled(); });
  // What the list commands depend on changed: the selection, the current row (Compare), the rows, the undo
  // snapshot.
  connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CViewBase::commandStateChanged);
  connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &CViewBase::commandStateChanged);
  connect(m_list, &CParameterListCtrl::scrolled, this, &CViewBase::commandStateChanged);
  connect(m_list, &CParameterListCtrl::cellsEdited, this, &CViewBase::commandStateChanged);
  connect(m_list, &CParameterListCtrl::patchDoubleClicked, this, [this](int index) { OnListDoubleClicked(index); });
  connect(m_filterBox, &QLineEdit::textChanged, this, [this](const QString& text) {
    CWaitCursor wait;
    m_list->SetFilterText(text);
  });
  connect(m_list, &CParameterListCtrl::shownCountChanged, this,
          [this](int shown, int total) { m_filterCount->setText(tr("%1 of %2 shown").arg(shown).arg(total)); });
  m_list->SetDropHandler([this](CPatchListCtrl::SDrop& drop) { return DropPatches(drop); });
  m_list->SetMoveOutHandler([this](const std::vector<int>& indices) { RemoveMovedPatches(indices); });
  m_list->SetFilesHandler([this](const QStringList& files) { m_app.OnDropFiles(files); });
  // The page grows and shrinks with the list's viewport.
  m_list->viewport()->installEventFilter(this);
  SetLabelOrigin(0, 5);
}

CListFormView::~CListFormView() {
  // The list goes after this part of the view: it reports nothing more here.
  disconnect(m_list->selectionModel(), nullptr, this, nullptr);
  disconnect(m_list, nullptr, this, nullptr);
}

QRect CListFormView::DialogRect(int x, int y, int width, int height) const {
  const QFontMetrics metrics(font());
  const int baseX = metrics.averageCharWidth();
  const int baseY = metrics.height();
  return QRect(x * baseX / 4, y * baseY / 8, width * baseX / 4, height * baseY / 8);
}

QSize CListFormView::sizeHint() const { return DialogRect(0, 0, 330, 230).size(); }

void CListFormView::SetLabelOrigin(int x, int y) { m_tempLabel->setGeometry(DialogRect(x, y, 45, 15)); }

void CListFormView::resizeEvent(QResizeEvent* event) {
  CViewBase::resizeEvent(event);
  const QRect origin = DialogRect(m_listX, m_listY, kListMargin, kListMargin);
  const QRect area(origin.topLeft(), QPoint(width() - 1 - origin.width(), height() - 1 - origin.height()));
  m_listArea->setGeometry(area.isValid() ? area : QRect(origin.topLeft(), QSize(0, 0)));
  LayOutRowButtons();
}

bool CListFormView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list->viewport() && event->type() == QEvent::Resize)
    LayOutRowButtons();
  if (watched == m_filterBox && event->type() == QEvent::KeyPress) {
    // Escape clears the filter (and, when it is clear, goes back to the list); Down and Enter go to the list.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && !m_filterBox->text().isEmpty()) {
      m_filterBox->clear();
      return true;
    }
    if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Down || key->key() == Qt::Key_Return ||
        key->key() == Qt::Key_Enter) {
      m_list->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }
  return CViewBase::eventFilter(watched, event);
}

namespace {

// The relative luminance of a colour, as the contrast of text against its background is judged.
double Luminance(const QColor& color) {
  auto channel = [](double value) {
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) + 0.0722 * channel(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
  const double first = Luminance(a) + 0.05;
  const double second = Luminance(b) + 0.05;
  return first > second ? first / second : second / first;
}

// Below this the text is hard to read (3 is the usual least contrast for text).
constexpr double kLeastContrast = 3.0;

} // namespace

QColor CListFormView::ListTextColor(quint32 colorRef, const QColor& background, const QColor& paletteText) {
  if (colorRef == 0)
    return paletteText;
  const QColor stored = GP::CFontEx::FromColorRef(colorRef);
  return Contrast(stored, background) < kLeastContrast ? paletteText : stored;
}

void CListFormView::ApplyListFont() {
  const GP::CFontEx& listFont = m_app.GetListFont();
  if (listFont.HasFont())
    m_listArea->setFont(listFont.GetFont());
  // Taken from the application's palette: the area's own has the text colour set below.
  const QPalette desktop = QApplication::palette(m_list);
  const QColor background = desktop.color(QPalette::Active, QPalette::Base);
  const QColor text =
      ListTextColor(listFont.GetColorRef(), background, desktop.color(QPalette::Active, QPalette::Text));
  QPalette palette = m_listArea->palette();
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::WindowText, text);
  m_listArea->setPalette(palette);
  m_list->SetTextColor(text);
}

void CListFormView::changeEvent(QEvent* event) {
  CViewBase::changeEvent(event);
  if (event->type() == QEvent::PaletteChange)
    ApplyListFont();
}

void CListFormView::ApplyGrid() { m_list->ApplyGrid(); }

void CListFormView::RefreshList(int hint) {
  if (!m_list->IsBound())
    m_list->Bind(GetLibraryData(), GetDocument());
  if (hint == HINT_FONT_CHANGED)
    m_list->SaveColumnWidths();
  m_list->Rebuild();
  // The buttons of the old rows go; the new page gets its own.
  DestroyRowButtons();
  LayOutRowButtons();
}

// ---- row buttons ----

QPushButton* CListFormView::GetRowWriteButton(int k) const {
  return k >= 0 && k < GetRowButtonCount() ? m_writeButtons[static_cast<size_t>(k)] : nullptr;
}

QPushButton* CListFormView::GetRowReadButton(int k) const {
  return k >= 0 && k < GetRowButtonCount() ? m_readButtons[static_cast<size_t>(k)] : nullptr;
}

void CListFormView::DestroyRowButtons() {
  for (QPushButton* button : m_writeButtons)
    delete button;
  for (QPushButton* button : m_readButtons)
    delete button;
  m_writeButtons.clear();
  m_readButtons.clear();
  update();
}

int CListFormView::GetPageTopRow() const {
  // At the end of the list the top row may be cut by the header; the page starts below it.
  const int top = std::max(m_list->GetTopIndex(), 0);
  return top + 1 < m_list->GetItemCount() && m_list->GetCellRect(top, 0).top() < 0 ? top + 1 : top;
}

void CListFormView::LayOutRowButtons() {
  const int top = GetPageTopRow();
  // One pair per patch row on the page; End of Line and the rows below the last patch get none.
  int count = std::min(m_list->GetCountPerPage(), m_list->GetShownPatchCount() - top);
  count = std::clamp(count, 0, kMaxRowButtons);
  if (m_list->GetColumnCount() == 0 || !m_list->isVisibleTo(this))
    count = 0;
  const bool fewer = count < GetRowButtonCount();
  while (GetRowButtonCount() > count) {
    delete m_writeButtons.back();
    delete m_readButtons.back();
    m_writeButtons.pop_back();
    m_readButtons.pop_back();
  }
  while (GetRowButtonCount() < count) {
    const int k = GetRowButtonCount();
    auto* write = new QPushButton(this);
    auto* read = new QPushButton(this);
    write->setObjectName(QStringLiteral("rowWrite%1").arg(kRowWriteName + k));
    read->setObjectName(QStringLiteral("rowRead%1").arg(kRowReadName + k));
    write->setToolTip(tr("Write this patch to the temporary area"));
    read->setToolTip(tr("Read the temporary area into this row"));
    write->setFocusPolicy(Qt::NoFocus);
    read->setFocusPolicy(Qt::NoFocus);
    connect(write, &QPushButton::clicked, this, [this, k]() { OnRowWrite(k); });
    connect(read, &QPushButton::clicked, this, [this, k]() { OnRowRead(k); });
    m_writeButtons.push_back(write);
    m_readButtons.push_back(read);
  }
  const QWidget* viewport = m_list->viewport();
  const int listLeft = m_list->mapTo(this, QPoint(0, 0)).x();
  for (int k = 0; k < count; ++k) {
    const QRect cell = m_list->GetCellRect(top + k, 0);
    const int y = viewport->mapTo(this, QPoint(0, cell.top())).y();
    const int height = std::max(cell.height() - 2, 1);
    m_writeButtons[static_cast<size_t>(k)]->setGeometry(listLeft - kWriteButtonLeft, y + 1, kButtonWidth, height);
    m_readButtons[static_cast<size_t>(k)]->setGeometry(listLeft - kWriteButtonLeft - kReadButtonOffset, y + 1,
                                                       kButtonWidth, height);
    m_writeButtons[static_cast<size_t>(k)]->show();
    m_readButtons[static_cast<size_t>(k)]->show();
  }
  if (fewer)
    update();
}

void CListFormView::OnRowWrite(int k) {
  QPushButton* button = GetRowWriteButton(k);
  const int row = GetPageTopRow() + k;
  if (button && m_list->IsPatchRow(row))
    SendToTemporary(m_list->GetRowIndex(row), CONFIRM_WRITE_TEMP_BUTTON);
  if ((button = GetRowWriteButton(k)))
    button->setDown(false);
}

void CListFormView::SendToTemporary(int index, int kind) {
  QZML::CPatchArray* patches = GetPatchArray();
  if (!patches || index < 0 || index >= static_cast<int>(patches->size()))
    return;
  if (!CMidiWarningDlg::Confirm(kind, m_app.GetFlags(), this))
    return;
  // A patch of the other model's data goes to the unit only converted, and only when the user agrees.
  QZML::CPatchArray one;
  one.Add(std::make_unique<QZML::CPatch>(*patches->Get(static_cast<std::size_t>(index))));
  if (!m_state.AdaptPatches(one, GetLibraryData()->m_current.Model(), m_state.GetTargetModel()))
    return;
  CWaitCursor wait;
  // Errors come through the pending-error report, or at once for an incomplete set-up.
  if (QZML::CWriter* writer = m_state.GetWriter<QZML::CWriter>())
    writer->WritePatches(QZML::AREA_TEMPORARY, QZML::CPatchList{0}, &one);
}

void CListFormView::OnRowRead(int k) {
  if (!GetRowReadButton(k))
    return;
  if (!CMidiWarningDlg::Confirm(CONFIRM_READ_TEMP, m_app.GetFlags(), this)) {
    if (QPushButton* button = GetRowReadButton(k))
      button->setDown(false);
    return;
  }
  const int row = GetPageTopRow() + k;
  QZML::CPatchArray* patches = GetPatchArray();
  QZML::CDocument* data = GetLibraryData();
  // A window of the other model's data takes the unit's patch only converted to its model.
  const QZML::EModel model = data ? data->m_current.Model() : m_state.GetTargetModel();
  const bool convert = model != m_state.GetTargetModel();
  bool read = false;
  if (patches && data && m_list->IsPatchRow(row) &&
      (!convert || m_state.AskConversion(QZML::ConversionQuestionTo(model)))) {
    const int index = m_list->GetRowIndex(row);
    CWaitCursor wait;
    data->SaveUndo(1);
    CPumpingReader* reader = m_state.GetReader<CPumpingReader>();
    read = reader && reader->ReadPatches(QZML::AREA_TEMPORARY, QZML::CPatchList{index}, patches);
    if (read && convert) {
      QZML::CPatchArray one;
      one.Add(std::make_unique<QZML::CPatch>(*patches->Get(static_cast<std::size_t>(index))));
      QZML::ConvertArray(one, QZML::ConversionTo(model));
      *patches->Get(static_cast<std::size_t>(index)) = *one.Get(0);
    }
    if (!read) {
      // The row gets its patch back, and a later Undo must not bring the half-read one back.
      data->Undo();
      data->ClearUndo();
    }
    m_list->Refresh(true);
  }
  if (QPushButton* button = GetRowReadButton(k))
    button->setDown(false);
  if (read)
    MarkModified();
  emit commandStateChanged(); // the undo snapshot
}

void CListFormView::OnListDoubleClicked(int index) { SendToTemporary(index, CONFIRM_WRITE_TEMP_CLICK); }

void CListFormView::FocusFilter() {
  m_filterBox->setFocus(Qt::ShortcutFocusReason);
  m_filterBox->selectAll();
}

// ---- drag and drop ----

bool CListFormView::DropPatches(CPatchListCtrl::SDrop& drop) {
  QZML::CDocument* data = GetLibraryData();
  QZML::CPatchArray* patches = GetPatchArray();
  const int dropped = static_cast<int>(drop.patches.size());
  if (!data || !patches || dropped == 0 || drop.indices.size() != drop.patches.size())
    return false;
  const bool within = drop.source == m_list;
  const int count = static_cast<int>(patches->size());
  const int rowIndex = m_list->GetRowIndex(drop.row);
  // Before the drop row's patch (a sorted list drops by patch index, as Insert does); End of Line, or
  // behind the last row, appends.
  const int at = rowIndex >= 0 && rowIndex < count ? rowIndex : count;
  std::vector<int> moved; // the patches a move within the list takes out, ascending
  std::vector<int> targets;
  if (IsFixedSize()) {
    // The shown patches from the drop row's on, in index order: hidden rows are never changed.
    if (rowIndex < 0 || rowIndex >= count)
      return false;
    for (int row = 0; row < m_list->GetItemCount(); ++row)
      if (m_list->IsPatchRow(row) && m_list->GetRowIndex(row) >= rowIndex)
        targets.push_back(m_list->GetRowIndex(row));
    std::sort(targets.begin(), targets.end());
    if (static_cast<int>(targets.size()) > dropped)
      targets.resize(static_cast<size_t>(dropped));
    if (targets.empty())
      return false;
  } else if (within && drop.move) {
    moved = QZML::ListEdit::MovableSets(drop.indices, at, count);
    if (moved.empty())
      return false;
  }
  // Patches made for the other model go in converted, when the user agrees.
  if (!m_state.AdaptPatches(drop.patches, drop.model, data->m_current.Model()))
    return false;

  CWaitCursor wait;
  SaveUndo();
  const std::vector<int> landed = IsFixedSize() ? QZML::ListEdit::DropOnto(*patches, targets, drop.patches)
                                                : QZML::ListEdit::DropBetween(*patches, moved, at, drop.patches);
  FitPatchCount();
  m_list->KeepShown(landed);
  m_list->Refresh(false);
  m_list->SelectIndices(landed);
  MarkModified();

  // A move between windows: what landed leaves its source.
  if (drop.move && !within && drop.source) {
    std::vector<int> taken(drop.indices.begin(), drop.indices.begin() + static_cast<long>(landed.size()));
    drop.source->TakeMovedPatches(taken);
  }
  return true;
}

void CListFormView::RemoveMovedPatches(const std::vector<int>& indices) {
  QZML::CPatchArray* patches = GetPatchArray();
  if (!patches || IsFixedSize() || indices.empty())
    return;
  const auto [lowest, highest] = std::minmax_element(indices.begin(), indices.end());
  if (*highest >= static_cast<int>(patches->size()) || *lowest < 0)
    return;
  CWaitCursor wait;
  SaveUndo();
  QZML::ListEdit::Delete(*patches, indices);
  m_list->Refresh(false);
  MarkModified();
}

// ---- list editing ----

void CListFormView::SaveUndo() {
  if (QZML::CDocument* data = GetLibraryData())
    data->SaveUndo(1);
}

bool CListFormView::IsPatchSelected() const {
  // End of Line never counts as a patch (it is the last row; with a filter set its number is not the
  // patch count).
  return m_list->GetSelectedCount() != 0 && m_list->IsPatchRow(m_list->GetFirstSelectedRow());
}

bool CListFormView::IsCommandEnabled(int id) const {
  const CCommand<CListFormView>* row = FindCommand(Commands(), id);
  return row && IsEnabled(*row, *this);
}

void CListFormView::OnEditUndo() {
  QZML::CDocument* data = GetLibraryData();
  if (!data || !IsCommandEnabled(ID_EDIT_UNDO))
    return;
  CWaitCursor wait;
  data->Undo();
  m_list->Refresh(false);
  MarkModified();
}

void CListFormView::OnEditCut() {
  if (IsCommandEnabled(ID_EDIT_CUT))
    DeleteSelected(true);
}

void CListFormView::DeleteSelected(bool toClipboard) {
  CWaitCursor wait;
  SaveUndo();
  if (toClipboard)
    CopyToClipboard();
  m_list->Delete();
  FitPatchCount();
  m_list->Refresh(false);
  MarkModified();
}

void CListFormView::OnEditCopy() {
  if (!IsCommandEnabled(ID_EDIT_COPY))
    return;
  CWaitCursor wait;
  CopyToClipboard();
}

void CListFormView::CopyToClipboard() {
  m_list->Copy();
  emit commandStateChanged();
  // The clipboard carries the model of what it holds, so a paste into a window of the other model converts.
  if (const QZML::CDocument* data = GetLibraryData())
    m_state.GetClipboard().m_model = data->m_current.m_model;
}

namespace {

// For the life of a paste, the clipboard holds its patches converted to the model of the window pasted
// into; afterwards it holds what it held before.
class CClipboardForPaste {
public:
  CClipboardForPaste(QZML::CAppState& state, QZML::EModel windowModel) : m_state(state) {
    QZML::CData& clipboard = state.GetClipboard();
    const QZML::EModel model = clipboard.Model();
    if (model == windowModel || clipboard.m_patches.empty())
      return;
    QZML::CPatchArray converted = clipboard.m_patches;
    m_ready = state.AdaptPatches(converted, model, windowModel);
    if (m_ready) {
      clipboard.m_patches.SwapContents(converted);
      m_saved.m_patches.SwapContents(converted);
      m_swapped = true;
    }
  }
  ~CClipboardForPaste() {
    if (m_swapped)
      m_state.GetClipboard().m_patches.SwapContents(m_saved.m_patches);
  }
  CClipboardForPaste(const CClipboardForPaste&) = delete;
  CClipboardForPaste& operator=(const CClipboardForPaste&) = delete;
  // False when the user declined the conversion: nothing is to be pasted.
  bool Ready() const { return m_ready; }

private:
  QZML::CAppState& m_state;
  QZML::CData m_saved;
  bool m_ready = true;
  bool m_swapped = false;
};

} // namespace

void CListFormView::OnEditInsert() { Paste(ID_EDIT_INSERT); }

void CListFormView::OnEditReplace() { Paste(ID_EDIT_REPLACE); }

void CListFormView::Paste(int command) {
  if (!IsCommandEnabled(command))
    return;
  CClipboardForPaste clipboard(m_state, GetLibraryData()->m_current.Model());
  if (!clipboard.Ready())
    return;
  CWaitCursor wait;
  SaveUndo();
  if (command == ID_EDIT_REPLACE) {
    m_list->Replace();
    m_list->Refresh(true);
  } else {
    const int inserted = m_list->Insert();
    // The Main window drops what was pushed past its end; the refresh selects only the inserted rows
    // that remain.
    FitPatchCount();
    m_list->Refresh(false, inserted);
  }
  MarkModified();
}

void CListFormView::OnEditDelete() {
  if (IsCommandEnabled(ID_EDIT_DELETE))
    DeleteSelected(false);
}

void CListFormView::OnEditExchange() {
  if (!IsCommandEnabled(ID_EDIT_EXCHANGE))
    return;
  SaveUndo();
  m_list->Exchange();
  m_list->Refresh(true);
  MarkModified();
}

void CListFormView::OnEditSelectAll() {
  // Every patch row; End of Line stays unselected.
  m_list->SelectAll();
}

void CListFormView::OnFileDuplicate() {
  const QZML::CPatchArray* patches = GetPatchArray();
  if (!patches)
    return;
  CWaitCursor wait;
  m_app.NewLibraryWith(*patches, GetLibraryData()->m_current.m_model);
}

// ---- compare and duplicates ----

int CListFormView::GetCurrentIndex() const {
  const int row = m_list->GetFocusRow();
  return m_list->IsPatchRow(row) ? m_list->GetRowIndex(row) : -1;
}

bool CListFormView::FindComparedPatches(CComparedPatch& first, CComparedPatch& second) const {
  // Asked at every change of the selection: the selected rows are listed only when there are two of them.
  if (m_list->GetSelectedCount() == 2) {
    const std::vector<int> selected = m_list->GetSelectedIndices();
    if (selected.size() == 2) {
      first = {this, selected[0]};
      second = {this, selected[1]};
      return true;
    }
  }
  CMainFrame* main = m_app.GetMainFrame();
  const int current = GetCurrentIndex();
  if (!main || current < 0)
    return false;
  // The other window is the one the user was in last: the area lists its windows by activation, most
  // recent last.
  const QList<QMdiSubWindow*> windows = main->GetMdiArea()->subWindowList(QMdiArea::ActivationHistoryOrder);
  const CChildFrame* own = GetParentFrame();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    auto* frame = qobject_cast<CChildFrame*>(*it);
    if (!frame || frame == own)
      continue;
    auto* other = qobject_cast<const CListFormView*>(frame->GetActiveView());
    if (!other)
      continue;
    const int index = other->GetCurrentIndex();
    if (index < 0)
      return false;
    first = {this, current};
    second = {other, index};
    return true;
  }
  return false;
}

QString CListFormView::DescribeComparedPatch(int index) const {
  const QZML::CPatchArray* patches = GetPatchArray();
  const QZML::CPatch* patch =
      patches && index >= 0 && index < static_cast<int>(patches->size()) ? patches->Get(static_cast<std::size_t>(index))
                                                                         : nullptr;
  const CChildFrame* frame = GetParentFrame();
  const QString window = frame ? frame->GetFrameTitle().trimmed() : QString();
  const QString name = patch ? CParameterListCtrl::NameToText(patch->GetName()).trimmed() : QString();
  return tr("%1, patch %2 \"%3\"").arg(window, m_list->NumberText(index).trimmed(), name);
}

void CListFormView::OnEditCompare() {
  CComparedPatch first;
  CComparedPatch second;
  if (!FindComparedPatches(first, second))
    return;
  const QZML::CPatchArray* firstPatches = first.view->GetPatchArray();
  const QZML::CPatchArray* secondPatches = second.view->GetPatchArray();
  const QZML::CDocument* firstData = first.view->GetLibraryData();
  const QZML::CDocument* secondData = second.view->GetLibraryData();
  if (!firstPatches || !secondPatches || !firstData || !secondData)
    return;
  QZML::CPatchDifferences differences;
  // Patches of two models are compared only converted to one; a declined conversion compares nothing.
  if (!QZML::ComparePatchesOfModels(*firstPatches->Get(static_cast<std::size_t>(first.index)),
                                    firstData->m_current.Model(),
                                    *secondPatches->Get(static_cast<std::size_t>(second.index)),
                                    secondData->m_current.Model(), differences))
    return;
  CCompareDialog dialog(first.view->DescribeComparedPatch(first.index),
                        second.view->DescribeComparedPatch(second.index), differences, this);
  DoModal(dialog);
}

std::vector<int> CListFormView::DuplicateRows(bool withName) const {
  const QZML::CPatchArray* patches = GetPatchArray();
  const QZML::CDocument* data = GetLibraryData();
  if (!patches || !data)
    return {};
  // "Above it" is as the list shows the patches (it may be sorted): of each group the row shown first stays
  // unselected.
  std::vector<int> rowOf(patches->size(), -1);
  for (int row = 0; row < m_list->GetItemCount(); ++row) {
    const int index = m_list->GetRowIndex(row);
    if (index >= 0 && index < static_cast<int>(rowOf.size()))
      rowOf[static_cast<std::size_t>(index)] = row;
  }
  std::vector<int> rows;
  for (const QZML::CDuplicateGroup& group : QZML::FindDuplicates(*patches, withName, data->m_current.Model())) {
    std::vector<int> groupRows;
    for (int index : group)
      if (rowOf[static_cast<std::size_t>(index)] >= 0)
        groupRows.push_back(rowOf[static_cast<std::size_t>(index)]);
    std::sort(groupRows.begin(), groupRows.end());
    if (groupRows.size() > 1)
      rows.insert(rows.end(), groupRows.begin() + 1, groupRows.end());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

void CListFormView::OnEditSelectDuplicates() {
  CSelectDuplicatesDlg dialog(this);
  if (DoModal(dialog) != QDialog::Accepted)
    return;
  std::vector<int> rows;
  {
    CWaitCursor wait;
    rows = DuplicateRows(dialog.IncludesName());
    m_list->SelectRowList(rows);
    if (!rows.empty()) {
      m_list->SetFocusRow(rows.front());
      m_list->SetSelectionMark(rows.front());
      m_list->EnsureVisible(rows.front());
    }
  }
  const int count = static_cast<int>(rows.size());
  const QString text = count == 0   ? tr("No duplicates found.")
                       : count == 1 ? tr("1 duplicate selected.")
                                    : tr("%1 duplicates selected.").arg(count);
  if (CMainFrame* main = m_app.GetMainFrame())
    main->statusBar()->showMessage(text);
}

const CCommandTable<CListFormView>& CListFormView::Commands() {
  static const CCommandTable<CListFormView> table = {
      {{ID_FILE_DUPLICATE, "&Duplicate", Ctrl(Qt::Key_D), "Copy the patches of the active window into a new library",
        EMenu::File, 11},
       [](CListFormView& v) { v.OnFileDuplicate(); }},
      {{ID_EDIT_UNDO, "&Undo", Ctrl(Qt::Key_Z), "Undo the last change", EMenu::Edit, 10, 20},
       [](CListFormView& v) { v.OnEditUndo(); },
       [](const CListFormView& v) {
         const QZML::CDocument* data = v.GetLibraryData();
         return data && data->CanUndo(1);
       }},
      {{ID_EDIT_CUT, "Cu&t", Ctrl(Qt::Key_X), "Cut the selected patches to the clipboard", EMenu::Edit, 20, 21},
       [](CListFormView& v) { v.OnEditCut(); },
       [](const CListFormView& v) { return v.IsPatchSelected(); }},
      {{ID_EDIT_COPY, "&Copy", Ctrl(Qt::Key_C), "Copy the selected patches to the clipboard", EMenu::Edit, 21, 22},
       [](CListFormView& v) { v.OnEditCopy(); },
       [](const CListFormView& v) { return v.IsPatchSelected(); }},
      {{ID_EDIT_INSERT, "&Insert", Ctrl(Qt::Key_V), "Insert the clipboard's patches before the selection", EMenu::Edit,
        22, 23},
       [](CListFormView& v) { v.OnEditInsert(); },
       [](const CListFormView& v) { return v.m_list->GetSelectedCount() != 0 && v.m_list->IsClipboardNotEmpty(); }},
      {{ID_EDIT_REPLACE, "&Replace", Ctrl(Qt::Key_R), "Replace the selected patches with the clipboard's", EMenu::Edit,
        23, 24},
       [](CListFormView& v) { v.OnEditReplace(); },
       [](const CListFormView& v) { return v.IsPatchSelected() && v.m_list->IsClipboardNotEmpty(); }},
      {{ID_EDIT_DELETE, "&Delete", Qt::Key_Delete, "Delete the selected patches", EMenu::Edit, 24, 25},
       [](CListFormView& v) { v.OnEditDelete(); },
       [](const CListFormView& v) { return v.IsPatchSelected(); }},
      {{ID_EDIT_EXCHANGE, "E&xchange", Ctrl(Qt::Key_E), "Exchange the two selected patches", EMenu::Edit, 25},
       [](CListFormView& v) { v.OnEditExchange(); },
       [](const CListFormView& v) {
         return v.m_list->GetSelectedCount() == 2 && v.m_list->IsPatchRow(v.m_list->GetLastSelectedRow());
       }},
      {{ID_EDIT_SELECT_ALL, "Select &All", Ctrl(Qt::Key_A), "Select every patch", EMenu::Edit, 30},
       [](CListFormView& v) { v.OnEditSelectAll(); }},
      {{ID_EDIT_FILTER, "&Filter", Ctrl(Qt::Key_F), "Show only the patches whose name or memos contain a text",
        EMenu::Edit, 31},
       [](CListFormView& v) { v.FocusFilter(); }},
      {{ID_EDIT_COMPARE, "Co&mpare...", 0,
        "Show the differences of the two selected patches, or of the current patches of two windows", EMenu::Edit, 40},
       [](CListFormView& v) { v.OnEditCompare(); },
       [](const CListFormView& v) {
         CComparedPatch first;
         CComparedPatch second;
         return v.FindComparedPatches(first, second);
       }},
      {{ID_EDIT_SELECT_DUPLICATES, "Select D&uplicates...", 0, "Select every patch that equals one above it",
        EMenu::Edit, 41},
       [](CListFormView& v) { v.OnEditSelectDuplicates(); }},
      {{ID_SETUP_GRID, "Set Up &Grid...", 0, "Show or hide grid lines in the patch lists", EMenu::Setup, 12},
       [](CListFormView& v) {
         const int grid = CSetGridDlg::Ask(v.m_state.GetGridSwitch(), &v);
         if (grid >= 0)
           v.m_app.ChangeGrid(grid);
       }},
  };
  return table;
}

bool CListFormView::OnCommand(int id) { return RunCommand(Commands(), *this, id); }
