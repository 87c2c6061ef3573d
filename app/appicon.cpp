#include "app/appicon.h"

#include <QPainter>
#include <QPainterPath>

// The picture on a 64 x 64 grid: the unit's dark case, its green display with a patch number, a row of
// three knobs and a red pedal light.
QPixmap AppIconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);

  QLinearGradient body(0, 4, 0, 60);
  body.setColorAt(0, QColor(0x3a, 0x4a, 0x5e));
  body.setColorAt(1, QColor(0x1c, 0x24, 0x30));
  painter.setPen(QPen(QColor(0x10, 0x16, 0x1e), 2));
  painter.setBrush(body);
  painter.drawRoundedRect(QRectF(4, 8, 56, 48), 8, 8);

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x8f, 0xe3, 0x88));
  painter.drawRoundedRect(QRectF(11, 15, 42, 16), 3, 3);
  painter.setPen(QColor(0x1d, 0x3b, 0x1a));
  QFont font(QStringLiteral("Sans"));
  font.setBold(true);
  font.setPixelSize(12);
  painter.setFont(font);
  painter.drawText(QRectF(11, 15, 42, 16), Qt::AlignCenter, QStringLiteral("QZ"));

  painter.setPen(QPen(QColor(0x0c, 0x10, 0x14), 1.5));
  painter.setBrush(QColor(0xd8, 0xdc, 0xe2));
  for (int i = 0; i < 3; ++i)
    painter.drawEllipse(QPointF(18 + i * 12, 42), 4.5, 4.5);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xff, 0x45, 0x3a));
  painter.drawEllipse(QPointF(51, 42), 3, 3);
  return pixmap;
}

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(AppIconPixmap(size));
  return icon;
}
