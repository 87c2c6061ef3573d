#pragma once
// Choice popup: a drop-down list of fixed strings over a cell.

#include "gp/popup.h"

#include <QComboBox>

namespace GP {

class CPopupComboBox : public QComboBox, public IPopup {
  Q_OBJECT
public:
  CPopupComboBox(const QStringList& choices, const QString& text, int ownerValue = 0, QWidget* parent = nullptr);

  QWidget* GetWnd() override { return this; }
  QString GetText() const override { return currentText(); }
  // Selects the matching choice; a text that is no choice leaves the selection alone.
  void SetText(const QString& text) override;
  // True when widget belongs to this popup, its drop-down list included.
  bool Owns(const QWidget* widget) const;

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

} // namespace GP
