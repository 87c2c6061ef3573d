#include "app/listformview.h"

#include "app/app.h"
#include "app/patchlistctrl.h"
#include "app/resource.h"
#include "app/setgriddlg.h"
#include "model/appstate.h"

#include <QFontMetrics>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The edge kept free to the right of and below the list, in dialog units.
constexpr int kListMargin = 5;

} // namespace

CListFormView::CListFormView(CDocumentBase* document, bool endOfLine, QWidget* parent)
    : CViewBase(document, parent), m_endOfLine(endOfLine), m_tempLabel(new QLabel(tr("Temporary\nRead/Write"), this)),
      m_listArea(new QFrame(this)), m_list(new CPatchListCtrl(endOfLine, m_listArea)) {
  m_tempLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  m_listArea->setObjectName(QStringLiteral("patchListArea"));
  auto* layout = new QVBoxLayout(m_listArea);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_list);
  connect(m_list, &CParameterListCtrl::scrolled, this, [this]() { OnListScrolled(); });
  connect(m_list, &CParameterListCtrl::patchDoubleClicked, this, [this](int index) { OnListDoubleClicked(index); });
  SetLabelOrigin(0, 5);
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
}

void CListFormView::ApplyListFont() {
  if (CApp* app = CApp::Instance()) {
    const GP::CFontEx& listFont = app->GetListFont();
    if (listFont.HasFont())
      m_listArea->setFont(listFont.GetFont());
    QPalette palette = m_listArea->palette();
    palette.setColor(QPalette::Text, listFont.GetColor());
    palette.setColor(QPalette::WindowText, listFont.GetColor());
    m_listArea->setPalette(palette);
    m_list->SetTextColor(listFont.GetColor());
  }
}

void CListFormView::ApplyGrid() { m_list->ApplyGrid(); }

void CListFormView::RefreshList(int hint) {
  if (!m_list->IsBound())
    m_list->Bind(GetLibraryData(), GetDocument());
  if (hint == HINT_FONT_CHANGED)
    m_list->SaveColumnWidths();
  m_list->Rebuild();
}

bool CListFormView::OnCommand(int id) {
  if (id == ID_SETUP_GRID) {
    CSetGridDlg::Run(this);
    return true;
  }
  return false;
}

bool CListFormView::OnUpdateCommand(CCmdUI& ui) {
  if (ui.GetId() == ID_SETUP_GRID) {
    ui.Enable();
    return true;
  }
  return false;
}
