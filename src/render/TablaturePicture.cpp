#include "render/TablaturePicture.h"

#include <QPainter>

#include "render/BitmapDrawing.h"
#include "render/DrawingFont.h"

QImage tablaturePicture(int width, int rowPitch, qreal ratio) {
  QImage picture = BitmapDrawing::blankSurface(QSize(width, 6 * rowPitch), ratio);
  QPainter p(&picture);
  for (int i = 0; i < 6; ++i) p.fillRect(0, rowPitch * i + rowPitch / 2, width, 1, Qt::black);

  // T, A and B each stand across a pair of lines, on a white patch so the
  // lines do not run through the letters.
  QFont font = drawingFontPx(QStringLiteral("Ariel"), rowPitch + rowPitch / 3);
  font.setBold(true);
  p.setFont(font);
  const QString letters = QStringLiteral("TAB");
  for (int k = 0; k < 3; ++k) {
    const QRect pair(0, rowPitch * (2 * k) + rowPitch / 2 + 2, width, rowPitch - 3);
    const QRect glyph = p.fontMetrics().tightBoundingRect(letters.mid(k, 1));
    QRect patch(0, 0, glyph.width() + 4, pair.height());
    patch.moveCenter(pair.center());
    p.fillRect(patch, Qt::white);
    p.setPen(Qt::black);
    p.drawText(QRect(0, rowPitch * (2 * k), width, 2 * rowPitch + 1), Qt::AlignCenter,
               letters.mid(k, 1));
  }
  return picture;
}
