// The drawing surface on a QPainter: the screen's widget, a printer page or an off-screen
// image. Works in the device's own pixels (the painter must carry no transform).
//
// Discs, rings, rectangles and lines are rasterised here and painted as runs of pixels, rather
// than drawn by QPainter: QPainter's aliased small ellipses are lopsided (a 4-pixel dot without a
// pen loses its top row), and its flat-capped lines leave out the right- or lowermost pixel
// whichever way they run, where the scene needs the end pixel left out. Only text goes through
// QPainter's own drawing.
#pragma once

#include <QPainter>

#include "scene/surface.h"

class QImage;

namespace kestrova {

class TQPainterSurface final : public TSurface {
 public:
  // The painter must be active. Its font family becomes "Arial" (Liberation Sans on Linux),
  // keeping the painter's size. When the painter paints on a 32-bit QImage of device pixel
  // ratio 1 without a transform, pixels are written straight into the image's memory.
  explicit TQPainterSurface(QPainter& painter);

  void SetPenColor(TColor color) override { penColor_ = color; }
  void SetPenStyle(PenStyle style) override { penStyle_ = style; }
  void SetPenWidth(int32_t width) override { penWidth_ = width > 1 ? width : 1; }
  void SetBrushColor(TColor color) override { brushColor_ = color; }
  void SetBrushStyle(BrushStyle style) override { brushStyle_ = style; }
  void SetFontColor(TColor color) override { fontColor_ = color; }

  void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void SetPixel(int32_t x, int32_t y, TColor color) override;
  void SetPixels(const TPixel* pixels, size_t count) override;
  bool PixelRows(TColor color, TPixelRows& rows) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  int32_t TextHeight(const std::string& text) override;
  void SetClipRect(const TRect& rect) override;

 private:
  // Fills the pixels left..right, top..bottom (inclusive) within the clip.
  void FillBox(int64_t left, int64_t top, int64_t right, int64_t bottom, TColor color);
  // The pixels of a line from (x1, y1) to (x2, y2), without its end pixel.
  void DrawLinePixels(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
  // The image whose memory the pixel paths may write, or null.
  QImage* DirectImage() const;

  QPainter& painter_;
  QImage* image_ = nullptr;
  // The device's size in the painter's coordinates.
  int32_t deviceWidth_ = 0, deviceHeight_ = 0;
  // Clip rectangle, inclusive bounds, already cut to the device.
  int32_t clipLeft_ = 0, clipTop_ = 0, clipRight_ = -1, clipBottom_ = -1;
  TColor penColor_ = 0;
  PenStyle penStyle_ = PenStyle::Solid;
  int32_t penWidth_ = 1;
  TColor brushColor_ = 0xFFFFFF;
  BrushStyle brushStyle_ = BrushStyle::Solid;
  TColor fontColor_ = 0;
  int32_t curX_ = 0, curY_ = 0;
};

// The Qt colour of a 0x00BBGGRR colour.
QColor ToQColor(TColor color);
// The 0x00BBGGRR colour of an RGB value (alpha dropped).
TColor FromQRgb(QRgb rgb);

}  // namespace kestrova
