#pragma once
// Choice popup: a drop-down list of fixed strings over a cell.

#include "gp/popup.h"


namespace GP {

class CPopupComboBox : public CPopupWidget<QComboBox> {
  Q_OBJECT
public:
  CPopupComboBox(const QStringList& choices, const QString& text, QWidget* parent = nullptr);

  QString GetText() const override { return currentText(); }
  // Selects the matching choice; a text that is no choice leaves the selection alone.
  void SetText(const QString& text) override;
  // True when widget belongs to this popup, its drop-down list included.
  bool Owns(const QWidget* widget) const;
};

} // namespace GP
