// A drawing surface that paints nothing and keeps a list of every drawing call with the pen,
// brush and font in force, so that tests can check exact coordinates and colours.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "scene/surface.h"

namespace kestrova {

enum class SurfaceOp {
  PenColor,
  PenStyle,
  PenWidth,
  BrushColor,
  BrushStyle,
  FontColor,
  FillRect,
  Rectangle,
  Ellipse,
  MoveTo,
  LineTo,
  Pixel,
  Text,
  Clip,
};

// One recorded call. Coordinates: FillRect, Rectangle, Ellipse and Clip use (X1, Y1, X2, Y2) as
// given (Clip: Left, Top, Left + Width, Top + Height); MoveTo, LineTo, Pixel and Text use
// (X1, Y1). Pixel keeps its colour in Color; the pen, brush and font setters keep what they set
// in the state fields. Every entry carries the state in force after the call.
struct TSurfaceCall {
  SurfaceOp Op = SurfaceOp::PenColor;
  int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  TColor Color = 0;
  std::string Text;
  TColor PenColor = 0;
  PenStyle Pen = PenStyle::Solid;
  int32_t PenWidth = 1;
  TColor BrushColor = 0xFFFFFF;
  BrushStyle Brush = BrushStyle::Solid;
  TColor FontColor = 0;

  bool operator==(const TSurfaceCall&) const = default;
};

std::string SurfaceOpName(SurfaceOp op);
// A short readable form, e.g. "Ellipse(1,2,5,6) pen 0xFF solid 1 brush 0xFF solid".
std::string ToString(const TSurfaceCall& call);
std::ostream& operator<<(std::ostream& out, const TSurfaceCall& call);

class TRecordingSurface final : public TSurface {
 public:
  // textHeight: what TextHeight answers for every text.
  explicit TRecordingSurface(int32_t textHeight = 12) : textHeight_(textHeight) {}

  void SetPenColor(TColor color) override;
  void SetPenStyle(PenStyle style) override;
  void SetPenWidth(int32_t width) override;
  void SetBrushColor(TColor color) override;
  void SetBrushStyle(BrushStyle style) override;
  void SetFontColor(TColor color) override;
  void FillRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void MoveTo(int32_t x, int32_t y) override;
  void LineTo(int32_t x, int32_t y) override;
  void SetPixel(int32_t x, int32_t y, TColor color) override;
  // Recorded pixel by pixel, so that tests see the same entries whichever path the scene takes.
  void SetPixels(const TPixel* pixels, size_t count) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;
  // A query, not recorded.
  int32_t TextHeight(const std::string& text) override;
  void SetClipRect(const TRect& rect) override;

  const std::vector<TSurfaceCall>& Calls() const { return calls_; }
  // The calls of one kind, in order.
  std::vector<TSurfaceCall> CallsOf(SurfaceOp op) const;
  void Clear() { calls_.clear(); }

 private:
  TSurfaceCall& Record(SurfaceOp op, int32_t x1 = 0, int32_t y1 = 0, int32_t x2 = 0,
                       int32_t y2 = 0);

  int32_t textHeight_;
  TSurfaceCall state_;  // only the state fields are used
  std::vector<TSurfaceCall> calls_;
};

}  // namespace kestrova
