#include "scene/picture_render.h"

#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QSvgGenerator>
#include <array>

#include "numerics/errors.h"
#include "scene/picture_files.h"
#include "scene/qpainter_surface.h"

namespace kestrova {

std::string CenterListText(int32_t centerObject) {
  static const std::array<const char*, 10> kNames = {"Earth",   "Mercury", "Venus",  "Mars",
                                                     "Jupiter", "Saturn",  "Uranus", "Neptune",
                                                     "Pluto",   "Sun"};
  return centerObject >= 0 && centerObject <= 9 ? kNames[size_t(centerObject)] : "";
}

namespace {

std::array<std::string, 2> Header(const TSolarSystem& scene, const TDateRec& shownDate) {
  return HeaderLines(shownDate, uint8_t(scene.Plane()), CenterListText(scene.CenterObject()));
}

}  // namespace

void PaintPicture(TSolarSystem& scene, QPainter& painter, int32_t size, const TDateRec& shownDate) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kPictureFontPixelSize);
  painter.setFont(font);
  TQPainterSurface surface(painter);
  scene.Paint(surface, TViewport{TRect{0, 0, size, size}, 0, 2});
  const TPoint origin = ExportTextOrigin(size);
  DrawHeaderText(surface, origin.x, origin.y, Header(scene, shownDate),
                 ExportHeaderColor(scene.BgColor()));
}

QImage RenderPicture(TSolarSystem& scene, int32_t size) {
  return RenderPicture(scene, size, scene.SceneDate());
}

QImage RenderPicture(TSolarSystem& scene, int32_t size, const TDateRec& shownDate) {
  QImage image(size, size, QImage::Format_RGB32);
  if (image.isNull())
    throw EKestrovaError(Format("Not enough memory for a picture of %d x %d pixels.", size, size));
  image.fill(Qt::black);
  QPainter painter(&image);
  PaintPicture(scene, painter, size, shownDate);
  return image;
}

TPrintLayout PaintPrintedPlot(TSolarSystem& scene, QPainter& painter, uint8_t scheme,
                              const TDateRec& shownDate) {
  const QPaintDevice* page = painter.device();
  const TPrintLayout layout = PrintLayout(page->width(), page->height());
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(kPrintFontPointSize);
  painter.setFont(font);
  TQPainterSurface surface(painter);
  scene.Paint(surface, TViewport{TRect{layout.Left, layout.Top, layout.Side, layout.Side},
                                 layout.Device, scheme});
  // On the configured colours the header must read on the configured background, which is
  // black unless the user chose another: there it takes the complement, as on pictures.
  const TColor color = scheme == 2 ? ExportHeaderColor(scene.BgColor()) : PrintHeaderColor(scheme);
  DrawHeaderText(surface, layout.TextOrigin.x, layout.TextOrigin.y, Header(scene, shownDate),
                 color);
  return layout;
}

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

}  // namespace kestrova
