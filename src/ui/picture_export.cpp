#include "ui/picture_export.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include "scene/picture_files.h"
#include "scene/picture_render.h"
#include "ui/replaced_file.h"

namespace kestrova {

TExportedPicture RenderExport(TSolarSystem& scene, TExportFormat format, int32_t size,
                              const TDateRec& shownDate) {
  TExportedPicture picture;
  picture.Format = format;
  if (format != TExportFormat::Svg) {
    picture.Image = RenderPicture(scene, size, shownDate);
    return picture;
  }
  QBuffer buffer(&picture.Svg);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  // At 96 dots per inch the picture's nominal size is `size` CSS pixels.
  generator.setResolution(96);
  generator.setSize(QSize(size, size));
  generator.setViewBox(QRect(0, 0, size, size));
  generator.setTitle(QStringLiteral("Kestrova plot"));
  generator.setDescription(QStringLiteral("Written by Kestrova"));
  QPainter painter(&generator);
  PaintPicture(scene, painter, size, shownDate);
  painter.end();
  return picture;
}

void WriteExport(const QString& path, const TExportedPicture& picture) {
  if (picture.Format == TExportFormat::Png) return WritePng(path.toStdString(), picture.Image);
  if (picture.Format == TExportFormat::Bmp) return WriteBmp(path.toStdString(), picture.Image);
  WriteReplacedFile(path, picture.Svg, "Error Writing SVG File!");
}

}  // namespace kestrova
