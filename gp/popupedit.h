#pragma once
// Text popup: a one-line edit over a cell.

#include "gp/popup.h"

#include <QLineEdit>

namespace GP {

class CPopupEdit : public QLineEdit, public IPopup {
  Q_OBJECT
public:
  CPopupEdit(Qt::Alignment alignment, const QString& text, int ownerValue = 0, QWidget* parent = nullptr);

  QWidget* GetWnd() override { return this; }
  QString GetText() const override { return text(); }
  void SetText(const QString& text) override { setText(text); }

  // What the field can hold: at most maxLength characters (0: any number), and only the characters
  // accepts takes (null: any). Typed or pasted text beyond that is refused as it is entered, so what
  // the box shows is what Enter stores.
  void SetLimits(int maxLength, bool (*accepts)(char32_t));

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

} // namespace GP
