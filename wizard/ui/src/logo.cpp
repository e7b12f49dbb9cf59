// Drawing of Carwright's logo (shapes only, no text, so it needs no fonts).
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/logo.h"

namespace wizard::ui {

QImage CarwrightLogo(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 100.0, size / 100.0);  // drawn on a 100 x 100 grid

  // The badge: gravel brown fading into sand.
  QLinearGradient badge(0, 0, 0, 100);
  badge.setColorAt(0.0, QColor(0xE8, 0x9A, 0x3C));
  badge.setColorAt(1.0, QColor(0x8A, 0x4B, 0x1E));
  p.setPen(QPen(QColor(0x4A, 0x28, 0x10), 2.5));
  p.setBrush(badge);
  p.drawRoundedRect(QRectF(3, 3, 94, 94), 18, 18);

  // A dust trail behind the car.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 240, 210, 110));
  p.drawEllipse(QRectF(4, 60, 30, 14));
  p.drawEllipse(QRectF(12, 54, 22, 12));

  // The car: body and cabin.
  QPainterPath body;
  body.moveTo(14, 68);
  body.lineTo(16, 56);
  body.lineTo(32, 52);
  body.lineTo(42, 40);
  body.lineTo(66, 40);
  body.lineTo(76, 52);
  body.lineTo(88, 55);
  body.lineTo(90, 68);
  body.closeSubpath();
  p.setPen(QPen(QColor(0x1B, 0x1F, 0x3A), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xF4, 0xF4, 0xF0));
  p.drawPath(body);
  // A racing stripe and the windows.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xC8, 0x1E, 0x1E));
  p.drawRect(QRectF(17, 58, 72, 4));
  p.setBrush(QColor(0x6A, 0xA8, 0xD8));
  QPainterPath windows;
  windows.moveTo(36, 52);
  windows.lineTo(44, 43);
  windows.lineTo(53, 43);
  windows.lineTo(53, 52);
  windows.closeSubpath();
  windows.moveTo(56, 52);
  windows.lineTo(56, 43);
  windows.lineTo(64, 43);
  windows.lineTo(71, 52);
  windows.closeSubpath();
  p.drawPath(windows);

  // Wheels.
  p.setPen(QPen(QColor(0x1B, 0x1F, 0x3A), 2));
  for (const double x : {30.0, 74.0}) {
    p.setBrush(QColor(0x22, 0x22, 0x22));
    p.drawEllipse(QPointF(x, 69), 9, 9);
    p.setBrush(QColor(0xB8, 0xB8, 0xB8));
    p.drawEllipse(QPointF(x, 69), 4, 4);
  }

  // The wrench across the top corner.
  p.save();
  p.translate(72, 22);
  p.rotate(-45);
  p.setPen(QPen(QColor(0x30, 0x30, 0x38), 1.5));
  p.setBrush(QColor(0xD8, 0xDC, 0xE4));
  p.drawRoundedRect(QRectF(-18, -3, 30, 6), 3, 3);
  QPainterPath jaw;
  jaw.addEllipse(QPointF(15, 0), 8, 8);
  QPainterPath mouth;
  mouth.addRect(QRectF(15, -3.5, 10, 7));
  p.drawPath(jaw.subtracted(mouth));
  p.restore();
  return image;
}

}  // namespace wizard::ui
