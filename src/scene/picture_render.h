// The picture the "Save as bitmap" action makes: the scene painted on a square image with the
// two header lines, ready for WritePicture. kestrova-cli render and the golden pictures of the
// tests use it too, so that what they check is what the user saves. And the printed plot: the
// scene and the header on a page. And the exported picture in any of its formats.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

class QPainter;

#include "scene/picture_files.h"
#include "scene/solar_system.h"

namespace kestrova {

// Labels and header on pictures: "Arial" at a fixed pixel size, so that a picture does not
// depend on the screen's resolution.
inline constexpr int kPictureFontPixelSize = 11;

// Sides a picture may have, in pixels.
inline constexpr int32_t kMinPictureSize = 50;
inline constexpr int32_t kMaxPictureSize = 4000;

// What the centre list shows for CenterObject 0..9 ("Sun" for 9).
std::string CenterListText(int32_t centerObject);

// Point size of labels and header on printed pages.
inline constexpr int kPrintFontPointSize = 8;

// Paints the scene over the square 0, 0, size, size of the painter's device with `scheme` (2,
// the window's colours, unless an animation asks for another) and device 0 and writes the header
// for `shownDate` (the date and the view) in the complement of the scheme's background colour, in
// "Arial" at the picture size; on pictures too small for that header in a smaller font without the
// Julian date, or without a header. The painter must carry no transform; the device may be an image
// or a vector device. The scene's remembered screen is left as it was.
void PaintPicture(TSolarSystem& scene, QPainter& painter, int32_t size, const TDateRec& shownDate,
                  uint8_t scheme = 2);

// PaintPicture on a new size x size image, for the scene's own date or the shown one. Raises
// EKestrovaError when there is no memory for the image.
QImage RenderPicture(TSolarSystem& scene, int32_t size);
QImage RenderPicture(TSolarSystem& scene, int32_t size, const TDateRec& shownDate,
                     uint8_t scheme = 2);

// Paints the printed plot on a page whose printable area is the painter's device (device
// pixels, no transform): the scene in the square of PrintLayout with the layout's device class
// and `scheme`, and the header for `shownDate` at the layout's text origin, in "Arial" at
// kPrintFontPointSize: white for scheme 1, the complement of the background for scheme 2, black
// otherwise. Returns the layout. The scene's remembered
// screen is left as it was.
TPrintLayout PaintPrintedPlot(TSolarSystem& scene, QPainter& painter, uint8_t scheme,
                              const TDateRec& shownDate);

// The exported picture of side `size` for the format: the scene with scheme 2 and device 0
// and the header for `shownDate` in the complement of the background; SVG as vector drawing.
TExportedPicture RenderExport(TSolarSystem& scene, TExportFormat format, int32_t size,
                              const TDateRec& shownDate);

}  // namespace kestrova
