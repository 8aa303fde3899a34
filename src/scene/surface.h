// The drawing surface: the only drawing operations the scene uses. A QPainter adapter
// implements it for widgets, printer pages and images; a recording surface for tests.
//
// Pixel conventions the scene relies on: an ellipse's right and bottom box edges are not
// painted, a line's end pixel is not painted, nothing is antialiased, and text has a
// transparent background while the brush is hollow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "numerics/color.h"

namespace kestrova {

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const TRect&) const = default;
};

// Where and how one picture of the scene is drawn: the square it fills, the device class
// (0 screen or picture, 1 a printer page of at most 3200 pixels, 2 a larger page) and the colour
// scheme 0..3. The window, a picture file and a printed page each have their own; projecting a
// point or finding the body under a pixel asks for the viewport it is meant for.
struct TViewport {
  TRect Rect{0, 0, 500, 500};
  uint8_t Device = 0;
  uint8_t Scheme = 2;
  // Screen pixels per window pixel on a screen that scales (1.5 at 150 %): discs and markers
  // grow with it so that they keep their size to the eye, while lines and orbit dots stay one
  // screen pixel wide. 1 for pictures and pages.
  double MarkScale = 1;
  bool operator==(const TViewport&) const = default;
};

enum class PenStyle { Solid, None };
enum class BrushStyle { Solid, Hollow };

// One pixel of a crowd plotted at once.
struct TPixel {
  int32_t x;
  int32_t y;
  TColor color;
};

// The memory of a surface whose pixels are 32-bit words in rows, and the clip within it: a
// crowd of one colour is written straight into it, from several threads at once.
struct TPixelRows {
  uint8_t* Bits = nullptr;
  ptrdiff_t Stride = 0;
  // The clip, inclusive bounds; empty when Right < Left or Bottom < Top.
  int32_t Left = 0, Top = 0, Right = -1, Bottom = -1;
  // The word that paints the colour asked for.
  uint32_t Word = 0;
};

class TSurface {
 public:
  virtual ~TSurface() = default;

  // Pen, brush and font are set one property at a time, as the drawing passes change them:
  // a primitive may set the pen colour and keep the style its caller chose.
  virtual void SetPenColor(TColor color) = 0;
  virtual void SetPenStyle(PenStyle style) = 0;
  // In pixels; 0 counts as 1.
  virtual void SetPenWidth(int32_t width) = 0;
  virtual void SetBrushColor(TColor color) = 0;
  virtual void SetBrushStyle(BrushStyle style) = 0;
  virtual void SetFontColor(TColor color) = 0;

  // Fills x1 <= x < x2, y1 <= y < y2 with the brush.
  virtual void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Outline with the pen, interior with the brush; right and bottom edges excluded.
  virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Ellipse in the box; right and bottom edges of the box excluded.
  virtual void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  virtual void MoveTo(int32_t x, int32_t y) = 0;
  // Line from the current point; the end pixel is not painted and becomes the current point.
  virtual void LineTo(int32_t x, int32_t y) = 0;
  virtual void SetPixel(int32_t x, int32_t y, TColor color) = 0;
  // Many pixels at once, within the clip: the fast path for crowds of minor bodies. The default
  // sets them one by one.
  virtual void SetPixels(const TPixel* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) SetPixel(pixels[i].x, pixels[i].y, pixels[i].color);
  }
  // The surface's pixel memory and the word of `color` in it, where pixels may be written
  // there directly; false where they may not (and all drawing goes through the calls above).
  virtual bool PixelRows(TColor color, TPixelRows& rows) {
    (void)color;
    (void)rows;
    return false;
  }
  // Text with its top-left corner at (x, y), UTF-8.
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;
  virtual int32_t TextHeight(const std::string& text) = 0;
  virtual void SetClipRect(const TRect& rect) = 0;
};

}  // namespace kestrova
