#include "reports/estimate_logo.hpp"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace kavrix {

QImage DrawEstimateLogo() {
  QImage img(kLogoWidth, kLogoHeight, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor blue(0x1F, 0x4E, 0x8C);
  const QColor orange(0xE8, 0x7A, 0x1E);

  // A dish on its mast, its feed arm and the head at the focus.
  p.setPen(QPen(blue, 6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(70, 118, 70, 84);
  p.drawLine(46, 132, 94, 132);
  p.drawLine(70, 118, 58, 132);
  p.drawLine(70, 118, 82, 132);
  QPainterPath bowl;
  bowl.moveTo(28, 32);
  bowl.quadTo(40, 104, 112, 96);
  bowl.closeSubpath();
  p.setBrush(blue);
  p.setPen(QPen(blue, 3));
  p.drawPath(bowl);
  p.setPen(QPen(blue, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(70, 64, 112, 36);
  p.setBrush(orange);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(116, 33), 9, 9);
  // Waves coming in.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(orange, 3, Qt::SolidLine, Qt::RoundCap));
  for (int r : {14, 24, 34}) p.drawArc(QRectF(116 - r, 33 - r, 2 * r, 2 * r), 10 * 16, 70 * 16);

  QFont name("Liberation Sans");
  name.setPixelSize(64);
  name.setBold(true);
  p.setFont(name);
  p.setPen(blue);
  p.drawText(QRect(160, 18, 330, 76), Qt::AlignLeft | Qt::AlignVCenter, "Kavrix");
  p.fillRect(QRect(162, 96, 320, 4), orange);
  QFont line("Liberation Sans");
  line.setPixelSize(19);
  p.setFont(line);
  p.setPen(QColor(0x40, 0x40, 0x40));
  p.drawText(QRect(162, 104, 330, 30), Qt::AlignLeft | Qt::AlignVCenter, "TV distribution network design");
  return img;
}

}  // namespace kavrix
