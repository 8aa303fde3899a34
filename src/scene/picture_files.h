// Pictures of the scene on paper and on disk: the two header lines that name the date and the
// view, the page layout of a printed plot, and the PNG, BMP and SVG writers.
#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdint>
#include <string>

#include "numerics/julian_dates.h"
#include "scene/drawing_primitives.h"
#include "scene/picture_names.h"
#include "scene/surface.h"

namespace kestrova {

class ByteSink;

// Line 1: "01.01.2000 - 12:00:00UT (JD 2451545.000)" for the shown date. Line 2: the plane
// ("X-Y-plane", "X-Z-plane", "Z-Y-plane", "3D-plot" for plane 0..3; larger values count as 3D)
// followed by ", centered to " and the text of the centre list.
std::array<std::string, 2> HeaderLines(const TDateRec& shownDate, uint8_t plane,
                                       const std::string& centerText);

// Writes the two lines with a transparent background in `color`, the first with its top-left
// corner at (x, y), the second below it by the height of the first. The surface's font is the
// caller's ("Arial" on pictures and pages).
void DrawHeaderText(TSurface& surface, int32_t x, int32_t y,
                    const std::array<std::string, 2>& lines, TColor color);

// Header colour of an exported picture: the complement of the background's red, green and blue,
// so that it reads on any background.
TColor ExportHeaderColor(TColor bgColor);
// Header text origin of an exported picture of side `size`: (0.04 size, 0.03 size) rounded.
TPoint ExportTextOrigin(int32_t size);
// Header colour of a printed plot: white on the black background of scheme 1, else black.
TColor PrintHeaderColor(uint8_t scheme);

// Where a printed plot goes on a page of the given size in device pixels.
struct TPrintLayout {
  int32_t Side = 0;  // the square's edge, 0.8 of the page's shorter side
  int32_t Top = 0;
  int32_t Left = 0;
  uint8_t Device = 1;  // 1 up to 3200 pixels, 2 beyond
  TPoint TextOrigin;
  bool operator==(const TPrintLayout&) const = default;
};
// Fractions of the page are rounded to the nearest pixel, ties to even, computed exactly.
TPrintLayout PrintLayout(int32_t pageWidth, int32_t pageHeight);

// Writes the image as PNG: 8-bit RGB, no interlace, one tEXt chunk "Software". The picture
// goes to a temporary file beside the target that replaces it only once it is complete, so a
// failure leaves an old picture intact; a character device or a FIFO is written in place.
// Raises EKestrovaError "Error Opening File <path>! REASON" when the file cannot be created (a
// folder too) and "Error Writing PNG File!" when writing fails.
void WritePng(const std::string& path, const QImage& image);

// Writes the image as a 24-bit BMP file (bottom-up rows padded to 4 bytes), the same way.
// Raises the same opening error as WritePng, and "Error Writing BMP File!".
void WriteBmp(const std::string& path, const QImage& image);

enum class PictureFormat { Png, Bmp };

// An exported picture of the plot, rendered before it is written so that the screen can be
// repainted at once (see RenderExport).
struct TExportedPicture {
  TExportFormat Format = TExportFormat::Png;
  // The pixels, for PNG and BMP.
  QImage Image;
  // The document, for SVG: the same plot and header as vector drawing and text.
  QByteArray Svg;
};

// Writes the picture to `path` by its format: PNG and BMP as WritePng and WriteBmp, SVG
// replacing the file as a whole. Raises EKestrovaError with the writers' messages ("Error
// Writing SVG File!" for SVG).
void WriteExport(const std::string& path, const TExportedPicture& picture);

// The file name's extension (from the last '.' of the last path component, dot included), or
// "" when it has none.
std::string FileExtension(const std::string& path);

// The name a picture is saved under: kept when its extension is ".png" or ".bmp" in any case,
// else with ".png" appended (so "plot.jpg" becomes "plot.jpg.png").
std::string WithPictureExtension(const std::string& name);

// The save dialog's file name: WithPictureExtension of the typed text, put into `folder` when
// the text has no folder part.
std::string PictureFileName(const std::string& typed, const std::string& folder);

// PNG unless the extension is ".bmp" in any case.
PictureFormat PictureFormatOf(const std::string& path);

// WritePng or WriteBmp by the path's extension, or by the format given.
void WritePicture(const std::string& path, const QImage& image);
void WritePicture(const std::string& path, PictureFormat format, const QImage& image);
// The picture's bytes into a sink (standard output, memory); raises the writing errors above.
void WritePicture(ByteSink& sink, PictureFormat format, const QImage& image);

}  // namespace kestrova
