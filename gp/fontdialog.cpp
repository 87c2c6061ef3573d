#include "gp/fontdialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace GP {

namespace {

struct SNamedColor {
  const char* name;
  QRgb rgb;
};

// The sixteen colours of the classic font dialog.
constexpr SNamedColor kColors[] = {
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Black"), 0x000000},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Maroon"), 0x800000},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Green"), 0x008000},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Olive"), 0x808000},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Navy"), 0x000080},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Purple"), 0x800080},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Teal"), 0x008080},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Gray"), 0x808080},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Silver"), 0xC0C0C0},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Red"), 0xFF0000},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Lime"), 0x00FF00},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Yellow"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Blue"), 0x0000FF},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Fuchsia"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "Aqua"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("GP::CFontDialog", "White"), 0xFFFFFF},
};

QIcon Swatch(const QColor& color) {
  QPixmap pixmap(16, 12);
  pixmap.fill(color);
  return QIcon(pixmap);
}

} // namespace

CFontDialog::CFontDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Font"));
  m_fontChooser = new QFontDialog(this);
  m_fontChooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
  m_fontChooser->setWindowFlags(Qt::Widget);
  m_fontChooser->setSizeGripEnabled(false);

  m_colorBox = new QComboBox(this);
  for (const SNamedColor& entry : kColors)
    m_colorBox->addItem(Swatch(QColor(entry.rgb)), tr(entry.name), QColor(entry.rgb));
  m_colorBox->addItem(tr("Other..."));
  connect(m_colorBox, &QComboBox::activated, this, &CFontDialog::OnColorActivated);

  auto* colorRow = new QHBoxLayout;
  auto* colorLabel = new QLabel(tr("&Color:"), this);
  colorLabel->setBuddy(m_colorBox);
  colorRow->addWidget(colorLabel);
  colorRow->addWidget(m_colorBox, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_fontChooser);
  layout->addLayout(colorRow);
  layout->addWidget(buttons);
}

void CFontDialog::SetCurrentFont(const QFont& font) { m_fontChooser->setCurrentFont(font); }

QFont CFontDialog::GetSelectedFont() const { return m_fontChooser->currentFont(); }

void CFontDialog::SetColor(const QColor& color) {
  m_colorBox->setCurrentIndex(ColorIndex(color));
  m_lastColorIndex = m_colorBox->currentIndex();
}

QColor CFontDialog::GetColor() const {
  const QVariant color = m_colorBox->currentData();
  return color.isValid() ? color.value<QColor>() : QColor(Qt::black);
}

int CFontDialog::ColorIndex(const QColor& color) {
  const QRgb rgb = color.rgb() & 0xFFFFFF;
  const int other = m_colorBox->count() - 1;
  for (int i = 0; i < other; ++i)
    if ((m_colorBox->itemData(i).value<QColor>().rgb() & 0xFFFFFF) == rgb)
      return i;
  // A colour of its own goes in just before "Other...".
  m_colorBox->insertItem(other, Swatch(color), tr("Custom"), color);
  return other;
}

void CFontDialog::OnColorActivated(int index) {
  if (m_colorBox->itemData(index).isValid()) {
    m_lastColorIndex = index;
    return;
  }
  const QColor chosen = QColorDialog::getColor(m_colorBox->itemData(m_lastColorIndex).value<QColor>(), this);
  if (chosen.isValid())
    SetColor(chosen);
  else
    m_colorBox->setCurrentIndex(m_lastColorIndex);
}

} // namespace GP
