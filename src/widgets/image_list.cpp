#include "image_list.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <map>

namespace imagelist {
namespace {

// The icons are drawn, not shipped: sixteen-pixel glyphs in a few colours, so
// they stay sharp and need no image files.
constexpr int kSize = 16;

QPen Pen(const QColor& c, qreal w = 1.2) {
  QPen pen(c, w);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void Page(QPainter& p, const QColor& fill = Qt::white) {
  QPainterPath path;
  path.moveTo(3.5, 1.5);
  path.lineTo(10, 1.5);
  path.lineTo(13.5, 5);
  path.lineTo(13.5, 14.5);
  path.lineTo(3.5, 14.5);
  path.closeSubpath();
  p.setPen(Pen(QColor(70, 70, 90)));
  p.setBrush(fill);
  p.drawPath(path);
  p.drawLine(QPointF(10, 1.5), QPointF(10, 5));
  p.drawLine(QPointF(10, 5), QPointF(13.5, 5));
}

void Letter(QPainter& p, const QString& s, bool bold, bool italic, bool underline) {
  QFont f(QStringLiteral("Serif"));
  f.setPixelSize(13);
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  p.setFont(f);
  p.setPen(QColor(20, 20, 120));
  p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, s);
}

void Lines(QPainter& p, int align) {
  p.setPen(Pen(QColor(20, 20, 120), 1.5));
  const int widths[4] = {12, 8, 12, 6};
  for (int i = 0; i < 4; ++i) {
    const int w = widths[i];
    const int x = align == 0 ? 2 : align == 1 ? (kSize - w) / 2 : kSize - 2 - w;
    p.drawLine(x, 3 + i * 3, x + w, 3 + i * 3);
  }
}

void Draw(QPainter& p, int index) {
  switch (index) {
    case kCut:
      p.setPen(Pen(QColor(60, 60, 60)));
      p.drawEllipse(QRectF(2, 10, 4, 4));
      p.drawEllipse(QRectF(10, 10, 4, 4));
      p.drawLine(QPointF(5, 10), QPointF(11, 2));
      p.drawLine(QPointF(11, 10), QPointF(5, 2));
      break;
    case kCopy:
      p.setPen(Pen(QColor(70, 70, 90)));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 1.5, 8, 10));
      p.drawRect(QRectF(6.5, 4.5, 8, 10));
      break;
    case kPaste:
      p.setPen(Pen(QColor(110, 70, 20)));
      p.setBrush(QColor(210, 170, 100));
      p.drawRect(QRectF(2.5, 2.5, 10, 12));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(6.5, 6.5, 8, 8));
      p.drawRect(QRectF(5.5, 1.5, 4, 2));
      break;
    case kNew:
      Page(p);
      break;
    case kOpen:
      p.setPen(Pen(QColor(140, 100, 0)));
      p.setBrush(QColor(250, 210, 90));
      p.drawRect(QRectF(1.5, 4.5, 13, 9));
      p.drawRect(QRectF(1.5, 2.5, 5, 2));
      break;
    case kSave:
    case kSaveAs:
      p.setPen(Pen(QColor(20, 30, 90)));
      p.setBrush(QColor(60, 90, 180));
      p.drawRect(QRectF(1.5, 1.5, 13, 13));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(4.5, 1.5, 7, 5));
      if (index == kSaveAs) {
        p.setPen(Pen(QColor(200, 40, 40), 1.6));
        p.drawLine(QPointF(8, 13), QPointF(14, 7));
      }
      break;
    case kCodeGenerator:
      Page(p, QColor(235, 245, 255));
      p.setPen(Pen(QColor(0, 0, 200)));
      p.drawLine(QPointF(7, 7), QPointF(5, 9.5));
      p.drawLine(QPointF(5, 9.5), QPointF(7, 12));
      p.drawLine(QPointF(10, 7), QPointF(12, 9.5));
      p.drawLine(QPointF(12, 9.5), QPointF(10, 12));
      break;
    case kShowPreview:
      p.setPen(Pen(QColor(20, 80, 140)));
      p.setBrush(QColor(180, 220, 250));
      p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
      p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
      p.drawEllipse(QRectF(5, 1.5, 6, 13));
      break;
    case kShowManager:
      p.setPen(Pen(QColor(60, 60, 60)));
      p.setBrush(QColor(230, 230, 230));
      p.drawRect(QRectF(4.5, 1.5, 7, 13));
      p.setPen(Pen(QColor(0, 0, 160)));
      for (int y = 4; y <= 12; y += 3) p.drawLine(6, y, 10, y);
      break;
    case kAlignLeft:
      Lines(p, 0);
      break;
    case kAlignCenter:
      Lines(p, 1);
      break;
    case kAlignRight:
      Lines(p, 2);
      break;
    case kBold:
      Letter(p, QStringLiteral("B"), true, false, false);
      break;
    case kItalic:
      Letter(p, QStringLiteral("I"), false, true, false);
      break;
    case kUnderline:
      Letter(p, QStringLiteral("U"), false, false, true);
      break;
    case kProjects:
      p.setPen(Pen(QColor(140, 100, 0)));
      p.setBrush(QColor(250, 210, 90));
      p.drawRect(QRectF(1.5, 4.5, 13, 9));
      p.setPen(Pen(QColor(0, 100, 0), 1.5));
      p.drawLine(QPointF(5, 9), QPointF(11, 9));
      p.drawLine(QPointF(8, 6), QPointF(8, 12));
      break;
    case kExit:
      p.setPen(Pen(QColor(90, 60, 30)));
      p.setBrush(QColor(200, 160, 110));
      p.drawRect(QRectF(3.5, 1.5, 9, 13));
      p.setPen(Pen(QColor(200, 30, 30), 1.8));
      p.drawLine(QPointF(8, 8), QPointF(15, 8));
      break;
    case kFind:
      p.setPen(Pen(QColor(40, 40, 40), 1.6));
      p.setBrush(QColor(210, 235, 255));
      p.drawEllipse(QRectF(2, 2, 8, 8));
      p.drawLine(QPointF(9, 9), QPointF(14, 14));
      break;
    case kGraphicBrowser:
      p.setPen(Pen(QColor(40, 90, 40)));
      p.setBrush(QColor(170, 220, 255));
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setBrush(QColor(60, 160, 60));
      p.drawPolygon(QPolygonF({QPointF(2, 13), QPointF(7, 7), QPointF(11, 13)}));
      break;
    case kThumbnailCreator:
      p.setPen(Pen(QColor(60, 60, 60)));
      p.setBrush(QColor(240, 220, 170));
      p.drawRect(QRectF(1.5, 1.5, 6, 6));
      p.drawRect(QRectF(8.5, 1.5, 6, 6));
      p.drawRect(QRectF(1.5, 8.5, 6, 6));
      p.drawRect(QRectF(8.5, 8.5, 6, 6));
      break;
    default:
      Page(p, QColor(240, 240, 240));
      break;
  }
}

}  // namespace

QIcon Icon(int index) {
  static std::map<int, QIcon> cache;
  auto it = cache.find(index);
  if (it != cache.end()) return it->second;
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, index);
    p.end();
    icon.addPixmap(pixmap);
  }
  cache.emplace(index, icon);
  return icon;
}

}  // namespace imagelist
