#pragma once
// Number popup: a numeric edit with up and down buttons over a cell.
//
// What the spin settings mean here:
//   mode 0   integers; a step is the spin parameter (1 when it is not positive);
//   mode 1   numbers with the second parameter's count of decimals (0 to 6); a step is the spin parameter
//            in units of the last decimal (one unit when not positive); Page Up and Page Down step by the
//            third parameter's count of steps (10 when not positive);
//   style 2  holding a button or key down steps faster and faster; style 0 steps evenly.
// In a list the owner decides whether a step is allowed (IPopupSink::OnPopupSpin); on its own (DoModal)
// the value stays between the minimum and the maximum.

#include "gp/popup.h"

#include <QAbstractSpinBox>

namespace GP {

class CPopupSpinEdit : public CPopupWidget<QAbstractSpinBox> {
  Q_OBJECT
public:
  struct SSpinSettings {
    int mode = 1;
    int style = 0;
    int param = 0;
    int param2 = 0;
    int param3 = 0;
    double minimum = -2147483647.0;
    double maximum = 2147483647.0;
  };

  CPopupSpinEdit(const SSpinSettings& settings, double value, QWidget* parent = nullptr);

  QString GetText() const override;
  void SetText(const QString& text) override;

  // The number shown (0 when the text is no number) and showing a number in this popup's format.
  double GetValue() const { return ParseNumber(GetText()); }
  void SetValue(double value);
  QString FormatValue(double value) const;
  double GetStep() const;
  int GetDecimals() const;

  // The leading number of a text, 0 when there is none.
  static double ParseNumber(const QString& text);

  void stepBy(int steps) override;

protected:
  StepEnabled stepEnabled() const override;
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  SSpinSettings m_settings;
};

} // namespace GP
