// The drawing surface on a QPainter.
#include "scene/qpainter_surface.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QString>
#include <algorithm>
#include <cmath>
#include <utility>

namespace kestrova {

namespace {

// 0x00BBGGRR to the 0xAARRGGBB word of a 32-bit QImage, opaque.
inline uint32_t ToImageWord(TColor color) {
  return 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

bool HasDirectFormat(const QImage& image) {
  switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
      return true;
    default:
      return false;
  }
}

// Many pixels on a window or a pixmap, whose pixels QPainter does not hand out: one fillRect
// each costs about a microsecond, so they are written into a transparent layer over the clip
// [left..right] x [top..bottom] and the layer is drawn in one call. An opaque layer pixel
// replaces the one below and a transparent one leaves it, as the fillRects would; that holds at
// one device pixel per pixel, without a transform, opacity or another composition, which is
// checked. Returns false where it does not hold (printers among them).
bool SetPixelsThroughLayer(QPainter& painter, const TPixel* pixels, size_t count, int32_t left,
                           int32_t top, int32_t right, int32_t bottom) {
  // Fewer pixels (an orbit's dots) cost less one by one than a layer.
  constexpr size_t kLayerPixels = 4096;
  const QPaintDevice* device = painter.device();
  if (count < kLayerPixels || device == nullptr ||
      (device->devType() != QInternal::Widget && device->devType() != QInternal::Pixmap) ||
      device->devicePixelRatioF() != 1 || !painter.transform().isIdentity() ||
      painter.viewTransformEnabled() || painter.opacity() != 1 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  QImage layer(right - left + 1, bottom - top + 1, QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  uchar* const bits = layer.bits();
  const qsizetype stride = layer.bytesPerLine();
  const auto width = uint32_t(right - left);
  const auto height = uint32_t(bottom - top);
  TColor lastColor = ~pixels[0].color;
  uint32_t word = 0;
  for (size_t i = 0; i < count; ++i) {
    const TPixel& p = pixels[i];
    const auto x = uint32_t(p.x - left), y = uint32_t(p.y - top);
    if (x > width || y > height) continue;
    if (p.color != lastColor) {
      lastColor = p.color;
      word = ToImageWord(p.color);
    }
    reinterpret_cast<uint32_t*>(bits + stride * y)[x] = word;
  }
  painter.drawImage(QPoint(left, top), layer);
  return true;
}

// The pixels of one row of an ellipse inscribed in a box: those whose centres lie inside the
// ellipse. Worked in doubled coordinates so that the result is exactly symmetric about the box's
// centre lines.
class TEllipseRows {
 public:
  TEllipseRows(int64_t x1, int64_t y1, int64_t x2, int64_t y2)
      : y1_(y1),
        y2_(y2),
        sumX_(x1 + x2),
        sumY_(y1 + y2),
        w_(double(x2 - x1)),
        h_(double(y2 - y1)) {}

  // Inclusive span [l, r] of row y; empty when l > r.
  std::pair<int64_t, int64_t> Span(int64_t y) const {
    if (y < y1_ || y >= y2_) return {1, 0};
    const double t = double(2 * y + 1 - sumY_) / h_;
    const double s = w_ * std::sqrt(std::max(0.0, 1.0 - t * t)) + 1e-9;
    const auto l = static_cast<int64_t>(std::ceil((double(sumX_ - 1) - s) / 2));
    const auto r = static_cast<int64_t>(std::floor((double(sumX_ - 1) + s) / 2));
    return {l, r};
  }

 private:
  int64_t y1_, y2_, sumX_, sumY_;
  double w_, h_;
};

}  // namespace

QColor ToQColor(TColor color) {
  return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

TColor FromQRgb(QRgb rgb) {
  return TColor(qRed(rgb)) | (TColor(qGreen(rgb)) << 8) | (TColor(qBlue(rgb)) << 16);
}

TQPainterSurface::TQPainterSurface(QPainter& painter) : painter_(painter) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  QFont font = painter_.font();
  font.setFamily(QStringLiteral("Arial"));
  painter_.setFont(font);
  QPaintDevice* device = painter_.device();
  if (device != nullptr) {
    const bool bitmap =
        device->devType() == QInternal::Image || device->devType() == QInternal::Pixmap;
    const qreal ratio = bitmap ? device->devicePixelRatioF() : 1;
    // Images and pixmaps count their size in device pixels, the painter in logical ones.
    deviceWidth_ = int32_t(std::ceil(device->width() / ratio));
    deviceHeight_ = int32_t(std::ceil(device->height() / ratio));
    clipRight_ = deviceWidth_ - 1;
    clipBottom_ = deviceHeight_ - 1;
    if (device->devType() == QInternal::Image && ratio == 1) {
      auto* image = static_cast<QImage*>(device);
      if (HasDirectFormat(*image)) image_ = image;
    }
  }
}

QImage* TQPainterSurface::DirectImage() const {
  // A transform set by the caller would move QPainter's drawing but not ours.
  return image_ != nullptr && painter_.transform().isIdentity() && !painter_.viewTransformEnabled()
             ? image_
             : nullptr;
}

void TQPainterSurface::FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom,
                               TColor color) {
  const auto x1 = int32_t(std::max<int64_t>(left, clipLeft_));
  const auto y1 = int32_t(std::max<int64_t>(top, clipTop_));
  const auto x2 = int32_t(std::min<int64_t>(right, clipRight_));
  const auto y2 = int32_t(std::min<int64_t>(bottom, clipBottom_));
  if (x1 > x2 || y1 > y2) return;
  if (QImage* image = DirectImage()) {
    const uint32_t word = ToImageWord(color);
    for (int32_t y = y1; y <= y2; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(image->scanLine(y));
      std::fill(row + x1, row + x2 + 1, word);
    }
  } else {
    painter_.fillRect(QRect(x1, y1, x2 - x1 + 1, y2 - y1 + 1), ToQColor(color));
  }
}

void TQPainterSurface::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (brushStyle_ == BrushStyle::Hollow) return;
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x1 == x2 || y1 == y2) return;
  FillBox(x1, y1, int64_t(x2) - 1, int64_t(y2) - 1, brushColor_);
}

void TQPainterSurface::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x1 == x2 || y1 == y2) return;
  const int64_t left = x1, top = y1, right = int64_t(x2) - 1, bottom = int64_t(y2) - 1;
  if (penStyle_ == PenStyle::None) {
    if (brushStyle_ == BrushStyle::Solid) FillBox(left, top, right, bottom, brushColor_);
    return;
  }
  // The outline lies inside the box, so that a frame around a clipped rectangle shows whole.
  const int64_t w = penWidth_;
  if (brushStyle_ == BrushStyle::Solid) {
    FillBox(left + w, top + w, right - w, bottom - w, brushColor_);
  }
  FillBox(left, top, right, std::min(bottom, top + w - 1), penColor_);
  FillBox(left, std::max(top, bottom - w + 1), right, bottom, penColor_);
  FillBox(left, top + w, std::min(right, left + w - 1), bottom - w, penColor_);
  FillBox(std::max(left, right - w + 1), top + w, right, bottom - w, penColor_);
}

void TQPainterSurface::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  if (x1 == x2 || y1 == y2) return;
  const bool outline = penStyle_ == PenStyle::Solid;
  const bool fill = brushStyle_ == BrushStyle::Solid;
  if (!outline && !fill) return;
  const TEllipseRows rows(x1, y1, x2, y2);
  const int64_t w = penWidth_;
  const int64_t top = std::max<int64_t>(y1, clipTop_);
  const int64_t bottom = std::min<int64_t>(int64_t(y2) - 1, clipBottom_);
  for (int64_t y = top; y <= bottom; ++y) {
    const auto [l, r] = rows.Span(y);
    if (l > r) continue;
    if (!outline) {
      FillBox(l, y, r, y, brushColor_);
      continue;
    }
    // Interior: pixels at least the pen width away from the outside in all four directions.
    // The ellipse is convex, so checking the rows w above and below is enough.
    const auto [la, ra] = rows.Span(y - w);
    const auto [lb, rb] = rows.Span(y + w);
    const int64_t il = std::max({l + w, la, lb});
    const int64_t ir = std::min({r - w, ra, rb});
    if (il > ir) {
      FillBox(l, y, r, y, penColor_);
      continue;
    }
    FillBox(l, y, il - 1, y, penColor_);
    if (fill) FillBox(il, y, ir, y, brushColor_);
    FillBox(ir + 1, y, r, y, penColor_);
  }
}

void TQPainterSurface::MoveTo(int32_t x, int32_t y) {
  curX_ = x;
  curY_ = y;
}

void TQPainterSurface::LineTo(int32_t x, int32_t y) {
  if (penStyle_ == PenStyle::Solid) DrawLinePixels(curX_, curY_, x, y);
  curX_ = x;
  curY_ = y;
}

void TQPainterSurface::DrawLinePixels(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  // Each step along the major axis gets the pixel nearest to the true line on the minor axis,
  // computed on its own, so that clipping never shifts a pixel. Only the steps inside the clip
  // are visited, however far off the picture the ends lie.
  const bool xMajor = std::abs(x2 - x1) >= std::abs(y2 - y1);
  const int64_t u1 = xMajor ? x1 : y1, u2 = xMajor ? x2 : y2;
  const int64_t v1 = xMajor ? y1 : x1, v2 = xMajor ? y2 : x2;
  const int64_t du = u2 - u1, dv = v2 - v1;
  if (du == 0) return;
  // A wide pen paints a square of its width around each pixel.
  const int64_t before = (penWidth_ - 1) / 2, after = penWidth_ / 2;
  const int64_t clipLo = (xMajor ? clipLeft_ : clipTop_) - after;
  const int64_t clipHi = (xMajor ? clipRight_ : clipBottom_) + before;
  // The end pixel is left out.
  const int64_t lo = std::max(du > 0 ? u1 : u2 + 1, clipLo);
  const int64_t hi = std::min(du > 0 ? u2 - 1 : u1, clipHi);
  const auto minorAt = [&](int64_t u) {
    // v1 + (u - u1) dv / du rounded half up; the product needs more than 64 bits.
    __extension__ using Wide = __int128;
    Wide num = Wide(u - u1) * dv, den = du;
    if (den < 0) num = -num, den = -den;
    Wide twice = 2 * num + den, q = twice / (2 * den);
    if (twice % (2 * den) != 0 && twice < 0) --q;  // floor
    return v1 + int64_t(q);
  };
  const auto paintRun = [&](int64_t from, int64_t to, int64_t v) {
    if (xMajor) {
      FillBox(from - before, v - before, to + after, v + after, penColor_);
    } else {
      FillBox(v - before, from - before, v + after, to + after, penColor_);
    }
  };
  if (lo > hi) return;
  int64_t runStart = lo, runV = minorAt(lo);
  for (int64_t u = lo + 1; u <= hi; ++u) {
    const int64_t v = minorAt(u);
    if (v != runV) {
      paintRun(runStart, u - 1, runV);
      runStart = u;
      runV = v;
    }
  }
  paintRun(runStart, hi, runV);
}

void TQPainterSurface::SetPixel(int32_t x, int32_t y, TColor color) {
  if (x < clipLeft_ || x > clipRight_ || y < clipTop_ || y > clipBottom_) return;
  if (QImage* image = DirectImage()) {
    reinterpret_cast<uint32_t*>(image->scanLine(y))[x] = ToImageWord(color);
  } else {
    // A rectangle rather than a point: it scales with the device, a cosmetic point does not.
    painter_.fillRect(QRect(x, y, 1, 1), ToQColor(color));
  }
}

void TQPainterSurface::SetPixels(const TPixel* pixels, size_t count) {
  QImage* image = DirectImage();
  if (image == nullptr) {
    if (clipRight_ < clipLeft_ || clipBottom_ < clipTop_ ||
        !SetPixelsThroughLayer(painter_, pixels, count, clipLeft_, clipTop_, clipRight_,
                               clipBottom_))
      TSurface::SetPixels(pixels, count);
    return;
  }
  if (clipRight_ < clipLeft_ || clipBottom_ < clipTop_) return;
  // Unsigned offsets from the clip's corner test both bounds at once.
  const auto clipW = uint32_t(clipRight_ - clipLeft_);
  const auto clipH = uint32_t(clipBottom_ - clipTop_);
  uchar* const bits = image->bits();
  const qsizetype stride = image->bytesPerLine();
  TColor lastColor = pixels != nullptr && count > 0 ? ~pixels[0].color : 0;
  uint32_t word = 0;
  for (size_t i = 0; i < count; ++i) {
    const TPixel& p = pixels[i];
    if (uint32_t(p.x - clipLeft_) > clipW || uint32_t(p.y - clipTop_) > clipH) continue;
    if (p.color != lastColor) {
      lastColor = p.color;
      word = ToImageWord(p.color);
    }
    reinterpret_cast<uint32_t*>(bits + stride * p.y)[p.x] = word;
  }
}

bool TQPainterSurface::PixelRows(TColor color, TPixelRows& rows) {
  QImage* image = DirectImage();
  if (image == nullptr) return false;
  rows = {image->bits(), image->bytesPerLine(), clipLeft_,         clipTop_,
          clipRight_,    clipBottom_,           ToImageWord(color)};
  return true;
}

void TQPainterSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
  const QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
  const QFontMetrics metrics = painter_.fontMetrics();
  if (brushStyle_ == BrushStyle::Solid) {
    painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(s), metrics.height()),
                      ToQColor(brushColor_));
  }
  painter_.setPen(QPen(ToQColor(fontColor_)));
  painter_.drawText(QPoint(x, y + metrics.ascent()), s);
}

int32_t TQPainterSurface::TextHeight(const std::string& text) {
  (void)text;  // every text of one font is as high as the font
  return painter_.fontMetrics().height();
}

void TQPainterSurface::SetClipRect(const TRect& rect) {
  painter_.setClipRect(QRect(rect.Left, rect.Top, rect.Width, rect.Height));
  clipLeft_ = int32_t(std::max<int64_t>(rect.Left, 0));
  clipTop_ = int32_t(std::max<int64_t>(rect.Top, 0));
  clipRight_ = int32_t(std::min<int64_t>(int64_t(rect.Left) + rect.Width, deviceWidth_) - 1);
  clipBottom_ = int32_t(std::min<int64_t>(int64_t(rect.Top) + rect.Height, deviceHeight_) - 1);
}

}  // namespace kestrova
