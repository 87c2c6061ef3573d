#include "app/toolicons.h"

#include "app/resource.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

const QColor kInk(0x30, 0x36, 0x40);
const QColor kPaper(0xfc, 0xfc, 0xfa);
const QColor kBlue(0x2f, 0x6f, 0xc0);
const QColor kRed(0xd0, 0x32, 0x2c);
const QColor kGreen(0x2c, 0x9a, 0x48);
const QColor kFolder(0xe8, 0xb8, 0x4a);

void Page(QPainter& p, const QRectF& r) {
  QPainterPath path;
  const qreal fold = r.width() * 0.3;
  path.moveTo(r.left(), r.top());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.right(), r.bottom());
  path.lineTo(r.left(), r.bottom());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Lines(QPainter& p, const QRectF& r, int count) {
  p.setPen(QPen(QColor(0x90, 0x98, 0xa4), 1));
  for (int i = 0; i < count; ++i) {
    const qreal y = r.top() + 6 + i * 3;
    p.drawLine(QPointF(r.left() + 2.5, y), QPointF(r.right() - 2.5, y));
  }
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color) {
  p.setPen(QPen(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const QPointF d = to - from;
  const qreal length = std::max(1.0, std::hypot(d.x(), d.y()));
  const QPointF u = d / length;
  const QPointF n(-u.y(), u.x());
  p.drawLine(to, to - u * 4 + n * 3);
  p.drawLine(to, to - u * 4 - n * 3);
}

void Draw(QPainter& p, int command) {
  switch (command) {
  case ID_FILE_NEW:
    Page(p, QRectF(3.5, 1.5, 10, 13));
    p.setPen(QPen(kGreen, 2));
    p.drawLine(QPointF(12, 9), QPointF(12, 15));
    p.drawLine(QPointF(9, 12), QPointF(15, 12));
    break;
  case ID_FILE_OPEN: {
    p.setPen(QPen(kInk, 1));
    p.setBrush(kFolder.darker(115));
    p.drawRect(QRectF(1.5, 3.5, 12, 10));
    QPainterPath front;
    front.moveTo(1.5, 13.5);
    front.lineTo(4.5, 6.5);
    front.lineTo(15.5, 6.5);
    front.lineTo(13.5, 13.5);
    front.closeSubpath();
    p.setBrush(kFolder);
    p.drawPath(front);
    break;
  }
  case ID_FILE_SAVE:
    p.setPen(QPen(kInk, 1));
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(0xd8, 0xdc, 0xe2));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
    break;
  case ID_EDIT_UNDO: {
    p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath curve;
    curve.moveTo(4, 6);
    curve.cubicTo(10, 2, 16, 7, 12, 13);
    p.drawPath(curve);
    p.drawLine(QPointF(4, 6), QPointF(4.5, 1.5));
    p.drawLine(QPointF(4, 6), QPointF(8.5, 7));
    break;
  }
  case ID_EDIT_CUT:
    p.setPen(QPen(kInk, 1.5));
    p.drawLine(QPointF(5, 1.5), QPointF(10.5, 11));
    p.drawLine(QPointF(11, 1.5), QPointF(5.5, 11));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kRed, 1.5));
    p.drawEllipse(QPointF(4.5, 12.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11.5, 12.5), 2.5, 2.5);
    break;
  case ID_EDIT_COPY:
    Page(p, QRectF(1.5, 1.5, 9, 11));
    Page(p, QRectF(5.5, 4.5, 9, 11));
    Lines(p, QRectF(5.5, 4.5, 9, 11), 3);
    break;
  case ID_EDIT_INSERT:
    Page(p, QRectF(5.5, 1.5, 9, 13));
    Lines(p, QRectF(5.5, 1.5, 9, 13), 3);
    Arrow(p, QPointF(0.5, 8), QPointF(8.5, 8), kGreen);
    break;
  case ID_EDIT_REPLACE:
    Arrow(p, QPointF(2, 5), QPointF(13, 5), kBlue);
    Arrow(p, QPointF(14, 11), QPointF(3, 11), kGreen);
    break;
  case ID_EDIT_DELETE:
    p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
    p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
    break;
  case ID_HELP_MANUAL: {
    p.setPen(QPen(kBlue.darker(120), 1));
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
    break;
  }
  default:
    break;
  }
}

} // namespace

QIcon ToolIcon(int command) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    Draw(painter, command);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}
