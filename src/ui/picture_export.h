// An exported picture of the plot: rendered first (so that the screen can be repainted at
// once), then written as PNG, BMP or SVG by the file name's extension.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

#include "numerics/julian_dates.h"
#include "scene/picture_names.h"

namespace kestrova {

class TSolarSystem;

struct TExportedPicture {
  TExportFormat Format = TExportFormat::Png;
  // The pixels, for PNG and BMP.
  QImage Image;
  // The document, for SVG: the same plot and header as vector drawing and text.
  QByteArray Svg;
};

// The picture of side `size` for the format: the scene with scheme 2 and device 0 and the header
// for `shownDate` in the complement of the background. The scene's remembered screen stays.
TExportedPicture RenderExport(TSolarSystem& scene, TExportFormat format, int32_t size,
                              const TDateRec& shownDate);

// Writes the picture to `path`: PNG and BMP through the picture writers, SVG replacing the
// file as a whole (see WriteReplacedFile). Raises EKestrovaError with the writers' messages.
void WriteExport(const QString& path, const TExportedPicture& picture);

}  // namespace kestrova
