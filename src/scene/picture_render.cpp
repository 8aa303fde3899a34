#include "scene/picture_render.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <array>

#include "numerics/errors.h"
#include "scene/colour_schemes.h"
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

// Smaller header text cannot be read; the picture is better off without it.
constexpr int kMinHeaderPixelSize = 6;

int TextWidth(const QFontMetrics& metrics, const std::string& text) {
  return metrics.horizontalAdvance(QString::fromStdString(text));
}

// The header of a picture in the painter's font. Where the date, the time and the view fit,
// it is drawn as it always was (the Julian date may run off the right edge). A smaller picture
// gets the lines without the Julian date in a font scaled down until they fit the width and
// the top quarter; where two lines would be too small to read, the date and time alone; and
// where that is too small, no header at all, rather than text over the plot.
void DrawPictureHeader(QPainter& painter, TQPainterSurface& surface, int32_t size,
                       const std::array<std::string, 2>& lines, TColor color) {
  const TPoint origin = ExportTextOrigin(size);
  const std::string dateTime = lines[0].substr(0, lines[0].find(" (JD"));
  const QFontMetrics metrics(painter.font(), painter.device());
  if (origin.x + std::max(TextWidth(metrics, dateTime), TextWidth(metrics, lines[1])) <= size) {
    DrawHeaderText(surface, origin.x, origin.y, lines, color);
    return;
  }
  const std::array<std::string, 2> shortLines = {dateTime, lines[1]};
  const QFont font = painter.font();
  for (const size_t count : {size_t(2), size_t(1)}) {
    for (int pixels = kPictureFontPixelSize - 1; pixels >= kMinHeaderPixelSize; --pixels) {
      QFont smaller = font;
      smaller.setPixelSize(pixels);
      const QFontMetrics m(smaller, painter.device());
      int widest = 0;
      for (size_t i = 0; i < count; ++i) widest = std::max(widest, TextWidth(m, shortLines[i]));
      if (origin.x + widest > size - origin.x) continue;
      if (origin.y + int32_t(count) * m.height() > size / 4) continue;
      painter.setFont(smaller);
      surface.SetFontColor(color);
      surface.SetBrushStyle(BrushStyle::Hollow);
      for (size_t i = 0; i < count; ++i) {
        surface.TextOut(origin.x, origin.y + int32_t(i) * m.height(), shortLines[i]);
      }
      painter.setFont(font);
      return;
    }
  }
}

}  // namespace

void PaintPicture(TSolarSystem& scene, QPainter& painter, int32_t size, const TDateRec& shownDate,
                  uint8_t scheme) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(kPictureFontPixelSize);
  painter.setFont(font);
  TQPainterSurface surface(painter);
  scene.Paint(surface, TViewport{TRect{0, 0, size, size}, 0, scheme});
  DrawPictureHeader(painter, surface, size, Header(scene, shownDate),
                    ExportHeaderColor(SchemeBackground(scheme, scene.BgColor())));
}

QImage RenderPicture(TSolarSystem& scene, int32_t size) {
  return RenderPicture(scene, size, scene.SceneDate());
}

QImage RenderPicture(TSolarSystem& scene, int32_t size, const TDateRec& shownDate, uint8_t scheme) {
  QImage image(size, size, QImage::Format_RGB32);
  if (image.isNull())
    throw EKestrovaError(Format("Not enough memory for a picture of %d x %d pixels.", size, size));
  image.fill(Qt::black);
  QPainter painter(&image);
  PaintPicture(scene, painter, size, shownDate, scheme);
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
