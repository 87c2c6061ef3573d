#pragma once
// Text popup: a one-line edit over a cell.

#include "gp/popup.h"

#include <QLineEdit>

namespace GP {

class CPopupEdit : public CPopupWidget<QLineEdit> {
  Q_OBJECT
public:
  CPopupEdit(Qt::Alignment alignment, const QString& text, QWidget* parent = nullptr);

  QString GetText() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }

  // What the field can hold: at most maxLength characters (0: any number), and only the characters
  // accepts takes (null: any). Typed or pasted text beyond that is refused as it is entered, so what
  // the box shows is what Enter stores.
  void SetLimits(int maxLength, bool (*accepts)(char32_t));
};

} // namespace GP
