#include "gp/popupcombobox.h"

#include <QAbstractItemView>

namespace GP {

CPopupComboBox::CPopupComboBox(const QStringList& choices, const QString& text, QWidget* parent)
    : CPopupWidget(KIND_COMBO, parent) {
  setEditable(false);
  addItems(choices);
  SetText(text);
  connect(this, &QComboBox::activated, this, [this]() { ChoiceTaken(); });
}

void CPopupComboBox::SetText(const QString& text) {
  const int index = findText(text, Qt::MatchExactly);
  if (index >= 0)
    setCurrentIndex(index);
}

bool CPopupComboBox::Owns(const QWidget* widget) const {
  const QWidget* list = view() ? view()->window() : nullptr;
  for (const QWidget* w = widget; w; w = w->parentWidget())
    if (w == this || w == list)
      return true;
  return false;
}

} // namespace GP
