#pragma once
// A font that carries a text colour, chosen by the user and kept in the per-user profile.
//
// The font is described by a record of the desktop's classic logical font: height (negative: the
// character height in pixels at 96 dots per inch; positive: the cell height), width, escapement,
// orientation, weight (100..900, 400 normal, 700 bold), italic, underline, strike-out, character set,
// output precision, clip precision, quality, pitch and family (one byte each) and a face name of at
// most 31 characters. The record is what is stored, so a saved font loads back with the same 13 numbers.
//
// Profile entries under a section, with a prefix: "<prefix>FaceName" (text), "<prefix>Attribute"
// (the 13 numbers, comma-separated) and "<prefix>Color" (integer, red in bits 0-7, green 8-15, blue 16-23).

#include <QColor>
#include <QFont>
#include <QString>

#include <array>

class QWidget;

namespace GP {

class CFontEx {
public:
  struct SLogFont {
    qint32 height = 0;
    qint32 width = 0;
    qint32 escapement = 0;
    qint32 orientation = 0;
    qint32 weight = 0;
    quint8 italic = 0;
    quint8 underline = 0;
    quint8 strikeOut = 0;
    quint8 charSet = 0;
    quint8 outPrecision = 0;
    quint8 clipPrecision = 0;
    quint8 quality = 0;
    quint8 pitchAndFamily = 0;
    QString faceName;

    static constexpr int kNumberCount = 13;
    static constexpr int kMaxFaceName = 31;
    std::array<int, kNumberCount> Numbers() const;
    // Byte fields take the low byte of their number.
    void SetNumbers(const int* numbers, int count);
    bool operator==(const SLogFont& other) const;
  };

  CFontEx() = default;

  bool HasFont() const { return m_hasFont; }
  const QFont& GetFont() const { return m_font; }
  const SLogFont& GetLogFont() const { return m_logFont; }
  // The colour as stored (0x00BBGGRR) and as a QColor.
  quint32 GetColorRef() const { return m_color; }
  QColor GetColor() const { return FromColorRef(m_color); }
  void SetColorRef(quint32 color) { m_color = color; }

  // Replaces the font by one made from the record.
  void CreateFontIndirect(const SLogFont& logFont);
  void DeleteFont();

  // The font dialog (with colour, underline and strike-out); on OK the font and colour are replaced.
  // Returns 1 for OK, 0 when cancelled.
  int ChooseFont(QWidget* parent = nullptr);

  // Creates the font from the profile; nothing when a font is held already. Missing entries give the
  // desktop's interface font and black.
  void LoadProfile(const QString& section, const QString& prefix);
  // Writes the three entries; nothing when no font is held.
  void SaveProfile(const QString& section, const QString& prefix) const;

  static QFont ToQFont(const SLogFont& logFont);
  // The record of a font; the byte fields without a counterpart in Qt come from base.
  static SLogFont FromQFont(const QFont& font, const SLogFont& base);
  static SLogFont FromQFont(const QFont& font);
  static QString FormatAttribute(const SLogFont& logFont);
  static QColor FromColorRef(quint32 color);
  static quint32 ToColorRef(const QColor& color);

private:
  QFont m_font;
  SLogFont m_logFont;
  bool m_hasFont = false;
  quint32 m_color = 0;
};

} // namespace GP
