#pragma once
// The font choice with effects: face, style and size, underline and strike-out, and the text colour.

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontDialog;

namespace GP {

class CFontDialog : public QDialog {
  Q_OBJECT
public:
  explicit CFontDialog(QWidget* parent = nullptr);

  void SetCurrentFont(const QFont& font);
  QFont GetSelectedFont() const;
  void SetColor(const QColor& color);
  QColor GetColor() const;

  QFontDialog* GetFontChooser() const { return m_fontChooser; }
  QComboBox* GetColorBox() const { return m_colorBox; }

private:
  int ColorIndex(const QColor& color);
  void OnColorActivated(int index);

  QFontDialog* m_fontChooser;
  QComboBox* m_colorBox;
  int m_lastColorIndex = 0;
};

} // namespace GP
