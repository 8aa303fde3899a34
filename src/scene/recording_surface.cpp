// A drawing surface that records its calls for tests.
#include "scene/recording_surface.h"

#include <cstdio>
#include <utility>

namespace kestrova {

namespace {

std::string Hex(TColor color) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%06X", unsigned(color));
  return buf;
}

}  // namespace

std::string SurfaceOpName(SurfaceOp op) {
  switch (op) {
    case SurfaceOp::PenColor:
      return "PenColor";
    case SurfaceOp::PenStyle:
      return "PenStyle";
    case SurfaceOp::PenWidth:
      return "PenWidth";
    case SurfaceOp::BrushColor:
      return "BrushColor";
    case SurfaceOp::BrushStyle:
      return "BrushStyle";
    case SurfaceOp::FontColor:
      return "FontColor";
    case SurfaceOp::FillRect:
      return "FillRect";
    case SurfaceOp::Rectangle:
      return "Rectangle";
    case SurfaceOp::Ellipse:
      return "Ellipse";
    case SurfaceOp::MoveTo:
      return "MoveTo";
    case SurfaceOp::LineTo:
      return "LineTo";
    case SurfaceOp::Pixel:
      return "Pixel";
    case SurfaceOp::Text:
      return "Text";
    case SurfaceOp::Clip:
      return "Clip";
  }
  return "?";
}

std::string ToString(const TSurfaceCall& c) {
  std::string s = SurfaceOpName(c.Op);
  const auto pair = [](int32_t a, int32_t b) {
    return std::to_string(a) + "," + std::to_string(b);
  };
  switch (c.Op) {
    case SurfaceOp::FillRect:
    case SurfaceOp::Rectangle:
    case SurfaceOp::Ellipse:
    case SurfaceOp::Clip:
      s += "(" + pair(c.X1, c.Y1) + "," + pair(c.X2, c.Y2) + ")";
      break;
    case SurfaceOp::MoveTo:
    case SurfaceOp::LineTo:
      s += "(" + pair(c.X1, c.Y1) + ")";
      break;
    case SurfaceOp::Pixel:
      s += "(" + pair(c.X1, c.Y1) + ") " + Hex(c.Color);
      break;
    case SurfaceOp::Text:
      s += "(" + pair(c.X1, c.Y1) + ") \"" + c.Text + "\"";
      break;
    default:
      break;
  }
  s += " pen " + Hex(c.PenColor) + (c.Pen == PenStyle::Solid ? " solid " : " none ") +
       std::to_string(c.PenWidth) + " brush " + Hex(c.BrushColor) +
       (c.Brush == BrushStyle::Solid ? " solid" : " hollow") + " font " + Hex(c.FontColor);
  return s;
}

std::ostream& operator<<(std::ostream& out, const TSurfaceCall& call) {
  return out << ToString(call);
}

TSurfaceCall& TRecordingSurface::Record(SurfaceOp op, int32_t x1, int32_t y1, int32_t x2,
                                        int32_t y2) {
  TSurfaceCall call = state_;
  call.Op = op;
  call.X1 = x1;
  call.Y1 = y1;
  call.X2 = x2;
  call.Y2 = y2;
  calls_.push_back(std::move(call));
  return calls_.back();
}

void TRecordingSurface::SetPenColor(TColor color) {
  state_.PenColor = color;
  Record(SurfaceOp::PenColor);
}

void TRecordingSurface::SetPenStyle(PenStyle style) {
  state_.Pen = style;
  Record(SurfaceOp::PenStyle);
}

void TRecordingSurface::SetPenWidth(int32_t width) {
  state_.PenWidth = width;
  Record(SurfaceOp::PenWidth);
}

void TRecordingSurface::SetBrushColor(TColor color) {
  state_.BrushColor = color;
  Record(SurfaceOp::BrushColor);
}

void TRecordingSurface::SetBrushStyle(BrushStyle style) {
  state_.Brush = style;
  Record(SurfaceOp::BrushStyle);
}

void TRecordingSurface::SetFontColor(TColor color) {
  state_.FontColor = color;
  Record(SurfaceOp::FontColor);
}

void TRecordingSurface::FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Record(SurfaceOp::FillRect, x1, y1, x2, y2);
}

void TRecordingSurface::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Record(SurfaceOp::Rectangle, x1, y1, x2, y2);
}

void TRecordingSurface::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Record(SurfaceOp::Ellipse, x1, y1, x2, y2);
}

void TRecordingSurface::MoveTo(int32_t x, int32_t y) {
  Record(SurfaceOp::MoveTo, x, y);
}

void TRecordingSurface::LineTo(int32_t x, int32_t y) {
  Record(SurfaceOp::LineTo, x, y);
}

void TRecordingSurface::SetPixel(int32_t x, int32_t y, TColor color) {
  Record(SurfaceOp::Pixel, x, y).Color = color;
}

void TRecordingSurface::SetPixels(const TPixel* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) SetPixel(pixels[i].x, pixels[i].y, pixels[i].color);
}

void TRecordingSurface::TextOut(int32_t x, int32_t y, const std::string& text) {
  Record(SurfaceOp::Text, x, y).Text = text;
}

int32_t TRecordingSurface::TextHeight(const std::string& text) {
  (void)text;
  return textHeight_;
}

void TRecordingSurface::SetClipRect(const TRect& rect) {
  Record(SurfaceOp::Clip, rect.Left, rect.Top, rect.Left + rect.Width, rect.Top + rect.Height);
}

std::vector<TSurfaceCall> TRecordingSurface::CallsOf(SurfaceOp op) const {
  std::vector<TSurfaceCall> out;
  for (const TSurfaceCall& c : calls_) {
    if (c.Op == op) out.push_back(c);
  }
  return out;
}

}  // namespace kestrova
