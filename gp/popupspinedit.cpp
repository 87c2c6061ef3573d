#include "gp/popupspinedit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace GP {

namespace {

constexpr int kMaxDecimals = 6;
constexpr int kDefaultPageSteps = 10;

} // namespace

CPopupSpinEdit::CPopupSpinEdit(const SSpinSettings& settings, double value, QWidget* parent)
    : CPopupWidget(KIND_SPIN, parent), m_settings(settings) {
  setFrame(false);
  setAutoFillBackground(true); // without a frame nothing else covers the cell below
  setBackgroundRole(QPalette::Base);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setAccelerated(m_settings.style == 2);
  setKeyboardTracking(true);
  SetValue(value);
  selectAll();
  connect(lineEdit(), &QLineEdit::textEdited, this, [this]() { Changed(); });
}

QString CPopupSpinEdit::GetText() const { return lineEdit()->text(); }

void CPopupSpinEdit::SetText(const QString& text) { lineEdit()->setText(text); }

void CPopupSpinEdit::SetValue(double value) { SetText(FormatValue(value)); }

int CPopupSpinEdit::GetDecimals() const {
  return m_settings.mode == 0 ? 0 : std::clamp(m_settings.param2, 0, kMaxDecimals);
}

QString CPopupSpinEdit::FormatValue(double value) const {
  if (!std::isfinite(value))
    value = 0.0;
  QString text = QString::number(value, 'f', GetDecimals());
  // A value rounded to zero from below would show as "-0".
  if (ParseNumber(text) == 0.0 && text.startsWith(QLatin1Char('-')))
    text.remove(0, 1);
  return text;
}

double CPopupSpinEdit::GetStep() const {
  const double unit = std::pow(10.0, -GetDecimals());
  return m_settings.param > 0 ? m_settings.param * unit : unit;
}

double CPopupSpinEdit::ParseNumber(const QString& text) {
  static const QRegularExpression leading(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)"));
  const QRegularExpressionMatch match = leading.match(text);
  if (!match.hasMatch())
    return 0.0;
  bool ok = false;
  const double value = match.captured(0).trimmed().toDouble(&ok);
  return ok && std::isfinite(value) ? value : 0.0;
}

void CPopupSpinEdit::stepBy(int steps) {
  if (steps == 0)
    return;
  const double delta = steps * GetStep();
  if (IsModal() || !GetSink()) {
    const double value = std::clamp(GetValue() + delta, m_settings.minimum, m_settings.maximum);
    SetModified(true);
    SetValue(value);
    return;
  }
  if (!Spin(delta))
    return;
  SetModified(true);
  SetValue(GetValue() + delta);
}

QAbstractSpinBox::StepEnabled CPopupSpinEdit::stepEnabled() const {
  return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

QValidator::State CPopupSpinEdit::validate(QString& input, int& /*pos*/) const {
  static const QRegularExpression integer(QStringLiteral("^[+-]?\\d*$"));
  static const QRegularExpression decimal(QStringLiteral("^[+-]?\\d*\\.?\\d*$"));
  const QRegularExpression& pattern = GetDecimals() == 0 ? integer : decimal;
  if (!pattern.match(input).hasMatch())
    return QValidator::Invalid;
  bool ok = false;
  input.toDouble(&ok);
  return ok ? QValidator::Acceptable : QValidator::Intermediate;
}

void CPopupSpinEdit::fixup(QString& /*input*/) const {
  // The owner decides what a half-typed number means; leave the text as typed.
}

void CPopupSpinEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
  case Qt::Key_PageUp:
  case Qt::Key_PageDown: {
    event->accept();
    const int page = m_settings.mode == 1 && m_settings.param3 > 0 ? m_settings.param3 : kDefaultPageSteps;
    stepBy(event->key() == Qt::Key_PageUp ? page : -page);
    return;
  }
  default:
    CPopupWidget::keyPressEvent(event);
  }
}

} // namespace GP
