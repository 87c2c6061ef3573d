#include "gp/fontex.h"

#include "gp/fontdialog.h"
#include "platform/qtsettings.h"

#include <QApplication>
#include <QFontInfo>

#include <algorithm>
#include <cmath>

namespace GP {

namespace {

constexpr double kLogPixelsY = 96.0;

// Family and pitch bits of the pitch-and-family byte.
enum : int {
  FF_FAMILY_MASK = 0xF0,
  FF_DONTCARE = 0x00,
  FF_ROMAN = 0x10,
  FF_SWISS = 0x20,
  FF_MODERN = 0x30,
  FF_SCRIPT = 0x40,
  FF_DECORATIVE = 0x50,
  PITCH_MASK = 0x03,
  FIXED_PITCH = 0x01,
  VARIABLE_PITCH = 0x02,
};

QString Entry(const QString& prefix, const char* name) { return prefix + QLatin1String(name); }

} // namespace

std::array<int, CFontEx::SLogFont::kNumberCount> CFontEx::SLogFont::Numbers() const {
  return {height,    width,   escapement,   orientation,   weight,  italic,        underline,
          strikeOut, charSet, outPrecision, clipPrecision, quality, pitchAndFamily};
}

void CFontEx::SLogFont::SetNumbers(const int* numbers, int count) {
  qint32* const ints[] = {&height, &width, &escapement, &orientation, &weight};
  quint8* const bytes[] = {&italic,       &underline,     &strikeOut, &charSet,
                           &outPrecision, &clipPrecision, &quality,   &pitchAndFamily};
  for (int i = 0; i < std::min(count, kNumberCount); ++i) {
    if (i < 5)
      *ints[i] = numbers[i];
    else
      *bytes[i - 5] = static_cast<quint8>(numbers[i] & 0xFF);
  }
}

bool CFontEx::SLogFont::operator==(const SLogFont& other) const {
  return Numbers() == other.Numbers() && faceName == other.faceName;
}

QFont CFontEx::ToQFont(const SLogFont& logFont) {
  QFont font(QApplication::font());
  if (!logFont.faceName.isEmpty())
    font.setFamilies({logFont.faceName});
  if (logFont.height != 0)
    font.setPointSizeF(std::max(1.0, std::abs(static_cast<double>(logFont.height)) * 72.0 / kLogPixelsY));
  if (logFont.weight > 0)
    font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.weight, 1, 1000)));
  else
    font.setWeight(QFont::Normal);
  font.setItalic(logFont.italic != 0);
  font.setUnderline(logFont.underline != 0);
  font.setStrikeOut(logFont.strikeOut != 0);
  const int family = logFont.pitchAndFamily & FF_FAMILY_MASK;
  QFont::StyleHint hint = QFont::AnyStyle;
  switch (family) {
  case FF_ROMAN:
    hint = QFont::Serif;
    break;
  case FF_SWISS:
    hint = QFont::SansSerif;
    break;
  case FF_MODERN:
    hint = QFont::TypeWriter;
    break;
  case FF_SCRIPT:
    hint = QFont::Cursive;
    break;
  case FF_DECORATIVE:
    hint = QFont::Decorative;
    break;
  default:
    break;
  }
  font.setStyleHint(hint);
  if ((logFont.pitchAndFamily & PITCH_MASK) == FIXED_PITCH)
    font.setFixedPitch(true);
  return font;
}

CFontEx::SLogFont CFontEx::FromQFont(const QFont& font, const SLogFont& base) {
  SLogFont logFont = base;
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
  logFont.height = -static_cast<qint32>(std::lround(points * kLogPixelsY / 72.0));
  logFont.width = 0;
  logFont.escapement = 0;
  logFont.orientation = 0;
  logFont.weight = font.weight();
  logFont.italic = font.italic() ? 1 : 0;
  logFont.underline = font.underline() ? 1 : 0;
  logFont.strikeOut = font.strikeOut() ? 1 : 0;
  int family = FF_DONTCARE;
  switch (font.styleHint()) {
  case QFont::Serif:
    family = FF_ROMAN;
    break;
  case QFont::SansSerif:
    family = FF_SWISS;
    break;
  case QFont::TypeWriter:
  case QFont::Monospace:
    family = FF_MODERN;
    break;
  case QFont::Cursive:
    family = FF_SCRIPT;
    break;
  case QFont::Decorative:
  case QFont::Fantasy:
    family = FF_DECORATIVE;
    break;
  default:
    family = base.pitchAndFamily & FF_FAMILY_MASK;
    break;
  }
  logFont.pitchAndFamily = static_cast<quint8>(family | (QFontInfo(font).fixedPitch() ? FIXED_PITCH : VARIABLE_PITCH));
  logFont.faceName = font.family().left(SLogFont::kMaxFaceName);
  return logFont;
}

CFontEx::SLogFont CFontEx::FromQFont(const QFont& font) { return FromQFont(font, SLogFont()); }

QString CFontEx::FormatAttribute(const SLogFont& logFont) {
  const auto numbers = logFont.Numbers();
  return QZP::FormatIntegers(numbers.data(), SLogFont::kNumberCount);
}

QColor CFontEx::FromColorRef(quint32 color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

quint32 CFontEx::ToColorRef(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<quint32>(rgb.red()) | (static_cast<quint32>(rgb.green()) << 8) |
         (static_cast<quint32>(rgb.blue()) << 16);
}

void CFontEx::CreateFontIndirect(const SLogFont& logFont) {
  m_logFont = logFont;
  m_logFont.faceName = m_logFont.faceName.left(SLogFont::kMaxFaceName);
  m_font = ToQFont(m_logFont);
  m_hasFont = true;
}

void CFontEx::DeleteFont() {
  m_font = QFont();
  m_logFont = SLogFont();
  m_hasFont = false;
}

int CFontEx::ChooseFont(QWidget* parent) {
  const SLogFont current = m_hasFont ? m_logFont : FromQFont(QApplication::font());
  CFontDialog dialog(parent);
  dialog.SetCurrentFont(m_hasFont ? m_font : QApplication::font());
  dialog.SetColor(GetColor());
  if (dialog.exec() != QDialog::Accepted)
    return 0;
  m_color = ToColorRef(dialog.GetColor());
  CreateFontIndirect(FromQFont(dialog.GetSelectedFont(), current));
  return 1;
}

void CFontEx::LoadProfile(const QString& section, const QString& prefix) {
  if (m_hasFont)
    return;
  const QZP::CQtSettings settings;
  const QString faceName = settings.String(section, Entry(prefix, "FaceName"));
  const QString attribute = settings.String(section, Entry(prefix, "Attribute"));
  SLogFont logFont;
  if (faceName.isEmpty() || attribute.isEmpty()) {
    logFont = FromQFont(QApplication::font());
  } else {
    logFont.faceName = faceName;
    logFont.italic = 0;
    logFont.underline = 0;
    logFont.strikeOut = 0;
    logFont.charSet = 128;
    logFont.outPrecision = 3;
    logFont.clipPrecision = 2;
    logFont.quality = 0;
    logFont.pitchAndFamily = FF_MODERN | FIXED_PITCH; // 49
    int numbers[SLogFont::kNumberCount] = {};
    const auto defaults = logFont.Numbers();
    std::copy(defaults.begin(), defaults.end(), numbers);
    const int parsed = QZP::ScanIntegers(attribute, numbers, SLogFont::kNumberCount);
    logFont.SetNumbers(numbers, parsed);
  }
  CreateFontIndirect(logFont);
  m_color = static_cast<quint32>(settings.Int(section, Entry(prefix, "Color")));
}

void CFontEx::SaveProfile(const QString& section, const QString& prefix) const {
  if (!m_hasFont)
    return;
  QZP::CQtSettings settings;
  settings.SetString(section, Entry(prefix, "FaceName"), m_logFont.faceName);
  settings.SetString(section, Entry(prefix, "Attribute"), FormatAttribute(m_logFont));
  settings.SetInt(section, Entry(prefix, "Color"), static_cast<int>(m_color));
}

} // namespace GP
