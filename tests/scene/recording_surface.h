// A surface that remembers the clip rectangles it was given and counts every other call.
#pragma once

#include <vector>

#include "scene/surface.h"

namespace kestrova {

class RecordingSurface : public TSurface {
 public:
  void SetPen(TColor, PenStyle, int32_t) override { ++calls; }
  void SetBrush(TColor, BrushStyle) override { ++calls; }
  void SetFontColor(TColor) override { ++calls; }
  void FillRect(int32_t, int32_t, int32_t, int32_t) override { ++calls; }
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override { ++calls; }
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override { ++calls; }
  void MoveTo(int32_t, int32_t) override { ++calls; }
  void LineTo(int32_t, int32_t) override { ++calls; }
  void SetPixel(int32_t, int32_t, TColor) override { ++calls; }
  void TextOut(int32_t, int32_t, const std::string&) override { ++calls; }
  int32_t TextHeight(const std::string&) override { return 13; }
  void SetClipRect(const TRect& rect) override { clips.push_back(rect); }

  std::vector<TRect> clips;
  int calls = 0;
};

}  // namespace kestrova
