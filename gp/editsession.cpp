#include "gp/editsession.h"

#include "gp/editlistctrl.h"
#include "gp/popupcombobox.h"
#include "gp/popupedit.h"
#include "gp/popupspinedit.h"

#include <QApplication>
#include <QMouseEvent>

namespace GP {

namespace {

// One open edit in the whole program: the hook and the validation flag are shared by every list.
CEditListCtrl* s_editingList = nullptr;
bool s_validating = false;

class CValidatingScope {
public:
  CValidatingScope() : m_saved(s_validating) { s_validating = true; }
  ~CValidatingScope() { s_validating = m_saved; }
  CValidatingScope(const CValidatingScope&) = delete;
  CValidatingScope& operator=(const CValidatingScope&) = delete;

private:
  bool m_saved;
};

} // namespace

// Stands in for a thread mouse hook: sees every button press of the program while an edit is open.
class CEditSession::CMouseHook : public QObject {
public:
  explicit CMouseHook(CEditSession& session) : m_session(session) {}
  ~CMouseHook() override { Remove(); }
  CMouseHook(const CMouseHook&) = delete;
  CMouseHook& operator=(const CMouseHook&) = delete;

  void Install() {
    if (!m_installed && qApp) {
      qApp->installEventFilter(this);
      m_installed = true;
    }
  }
  void Remove() {
    if (m_installed && qApp)
      qApp->removeEventFilter(this);
    m_installed = false;
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
      break;
    default:
      return false;
    }
    if (s_validating || !watched->isWidgetType())
      return false;
    const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
    if (button != Qt::LeftButton && button != Qt::RightButton)
      return false;
    return m_session.HookMousePress(static_cast<QWidget*>(watched), button);
  }

private:
  CEditSession& m_session;
  bool m_installed = false;
};

CEditSession::CEditSession(CEditListCtrl& list) : m_list(list), m_hook(std::make_unique<CMouseHook>(*this)) {}

CEditSession::~CEditSession() {
  if (s_editingList == &m_list)
    s_editingList = nullptr;
}

IPopup* CEditSession::MakePopup(int row, int column) const {
  const CEditListCtrl::SELVColumn& descriptor = *m_list.GetColumn(column);
  QWidget* parent = m_list.viewport();
  switch (descriptor.flags & CEditListCtrl::COL_KIND_MASK) {
  case CEditListCtrl::COL_KIND_TEXT: {
    auto* edit = new CPopupEdit(m_list.GetColumnAlignment(column), m_list.GetCellEditText(row, column), parent);
    edit->SetLimits(descriptor.maxLength, descriptor.accepts);
    return edit;
  }
  case CEditListCtrl::COL_KIND_CHOICE:
    return new CPopupComboBox(descriptor.choices ? *descriptor.choices : QStringList(),
                              m_list.GetCellEditText(row, column), parent);
  default: {
    CPopupSpinEdit::SSpinSettings settings;
    settings.mode = (descriptor.flags & CEditListCtrl::COL_SPINMODE_MASK) == CEditListCtrl::COL_SPINMODE_0 ? 0 : 1;
    settings.style = (descriptor.flags & CEditListCtrl::COL_SPINSTYLE_2) ? 2 : 0;
    settings.param = descriptor.spinParam;
    settings.param2 = descriptor.spinParam2;
    settings.param3 = descriptor.spinParam3;
    settings.minimum = descriptor.minimum;
    settings.maximum = descriptor.maximum;
    return new CPopupSpinEdit(settings, m_list.GetCellValue(row, column), parent);
  }
  }
}

bool CEditSession::Begin(int row, int column) {
  if (s_editingList && s_editingList != &m_list)
    s_editingList->EndEdit(false);
  if (IsOpen())
    m_list.EndEdit(false);
  m_list.ScrollColumnIntoView(column);

  m_open.clear();
  IPopup* current = nullptr;
  for (int r = m_list.GetTopIndex(), bottom = m_list.GetBottomIndex(); r <= bottom; ++r) {
    if (!m_list.IsRowSelected(r))
      continue;
    IPopup* popup = MakePopup(r, column);
    popup->GetWnd()->setGeometry(m_list.GetCellRect(r, column));
    popup->GetWnd()->show();
    m_open.push_back({r, popup});
    if (r == row)
      current = popup;
  }
  if (m_open.empty())
    return false;

  m_column = column;
  m_current = current ? current : m_open.front().popup;
  const bool number =
      (m_list.GetColumn(column)->flags & CEditListCtrl::COL_KIND_MASK) == CEditListCtrl::COL_KIND_NUMBER;
  // A number edit adds to each row's own number until a number is typed.
  m_text = number ? QString() : m_current->GetText();
  m_relative = number;
  m_number = 0.0;
  for (const SOpenPopup& open : m_open)
    open.popup->SetSink(this);
  s_editingList = &m_list;
  m_hook->Install();
  m_current->GetWnd()->setFocus(Qt::OtherFocusReason);
  return true;
}

QVariant CEditSession::RowValue(int row, bool relative, double number) const {
  const CEditListCtrl::SELVColumn* column = m_list.GetColumn(m_column);
  if (column && (column->flags & CEditListCtrl::COL_KIND_MASK) == CEditListCtrl::COL_KIND_NUMBER)
    return relative ? m_list.GetCellValue(row, m_column) + number : number;
  return m_text;
}

bool CEditSession::End(bool commit) {
  if (!IsOpen())
    return true;
  if (m_committing)
    return false;
  if (commit) {
    const std::vector<int> rows = m_list.GetSelectedRows();
    std::vector<QVariant> values;
    values.reserve(rows.size());
    for (int row : rows)
      values.push_back(RowValue(row, m_relative, m_number));
    {
      CValidatingScope validating;
      for (size_t i = 0; i < rows.size(); ++i)
        if (!m_list.ValidateCellValue(rows[i], m_column, values[i], m_relative)) {
          if (m_current)
            m_current->GetWnd()->setFocus(Qt::OtherFocusReason);
          return false;
        }
    }
    m_committing = true;
    for (size_t i = 0; i < rows.size(); ++i)
      m_list.SetCellValue(rows[i], m_column, values[i]);
    m_committing = false;
  }
  Close(true);
  return true;
}

void CEditSession::Close(bool takeFocus) {
  m_hook->Remove();
  if (s_editingList == &m_list)
    s_editingList = nullptr;
  m_current = nullptr;
  std::vector<QWidget*> windows;
  for (const SOpenPopup& open : m_open) {
    open.popup->SetSink(nullptr);
    windows.push_back(open.popup->GetWnd());
  }
  m_open.clear();
  m_column = -1;
  if (takeFocus)
    m_list.setFocus(Qt::OtherFocusReason);
  // Later: the popup that reported Enter is still inside its own key handler.
  for (QWidget* window : windows) {
    window->hide();
    window->deleteLater();
  }
}

void CEditSession::Relayout() {
  for (const SOpenPopup& open : m_open)
    open.popup->GetWnd()->setGeometry(m_list.GetCellRect(open.row, m_column));
}

IPopup* CEditSession::PopupAt(int row) const {
  for (const SOpenPopup& open : m_open)
    if (open.row == row)
      return open.popup;
  return nullptr;
}

bool CEditSession::IsOpenPopup(const IPopup& popup) const {
  for (const SOpenPopup& open : m_open)
    if (open.popup == &popup)
      return true;
  return false;
}

IPopup* CEditSession::PopupOf(const QWidget* widget) const {
  for (const SOpenPopup& open : m_open) {
    if (open.popup->GetKind() == IPopup::KIND_COMBO) {
      if (static_cast<CPopupComboBox*>(open.popup)->Owns(widget))
        return open.popup;
      continue;
    }
    for (const QWidget* w = widget; w; w = w->parentWidget())
      if (w == open.popup->GetWnd())
        return open.popup;
  }
  return nullptr;
}

void CEditSession::MakeCurrent(IPopup& popup) {
  if (IsOpenPopup(popup))
    m_current = &popup;
}

bool CEditSession::HookMousePress(QWidget* widget, Qt::MouseButton button) {
  if (!IsOpen() || m_committing)
    return false;
  if (IPopup* popup = PopupOf(widget)) {
    MakeCurrent(*popup);
    return false;
  }
  if (button == Qt::LeftButton && m_current->IsModified())
    return !m_list.EndEdit(true); // a refused value keeps the edit open and eats the click
  m_list.EndEdit(false);
  return false;
}

bool CEditSession::ValidateAll(const std::vector<int>& rows, bool relative, double number) {
  CValidatingScope validating;
  for (int row : rows)
    if (!m_list.ValidateCellValue(row, m_column, RowValue(row, relative, number), relative))
      return false;
  return true;
}

void CEditSession::OnPopupFocus(IPopup& popup, bool in) {
  if (in)
    MakeCurrent(popup);
}

void CEditSession::OnPopupChanged(IPopup& popup) {
  // Only the popup being typed in speaks for the others (mirroring its text changes none of them).
  if (&popup != m_current || !IsOpenPopup(popup))
    return;
  const QString text = popup.GetText();
  for (const SOpenPopup& open : m_open) {
    open.popup->SetModified(true); // one shared value: Enter in any popup commits it
    if (open.popup != &popup)
      open.popup->SetText(text);
  }
  if (popup.GetKind() == IPopup::KIND_SPIN) {
    m_number = CPopupSpinEdit::ParseNumber(text);
    m_relative = false;
  } else {
    m_text = text;
  }
}

void CEditSession::OnPopupChoiceTaken(IPopup& popup) { OnPopupChanged(popup); }

bool CEditSession::OnPopupSpin(IPopup& popup, double delta) {
  if (!IsOpenPopup(popup))
    return false;
  MakeCurrent(popup);
  // Allowed only when every selected row accepts its new value.
  m_number += delta;
  if (!ValidateAll(m_list.GetSelectedRows(), m_relative, m_number)) {
    m_number -= delta;
    return false;
  }
  for (const SOpenPopup& open : m_open) {
    open.popup->SetModified(true);
    if (open.popup != &popup && open.popup->GetKind() == IPopup::KIND_SPIN) {
      auto* spin = static_cast<CPopupSpinEdit*>(open.popup);
      spin->SetValue(spin->GetValue() + delta);
    }
  }
  return true;
}

void CEditSession::OnPopupReturn(IPopup& popup, bool enter) {
  if (!IsOpenPopup(popup))
    return;
  m_list.EndEdit(enter && m_current->IsModified());
}

} // namespace GP
