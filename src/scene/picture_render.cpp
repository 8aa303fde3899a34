#include "scene/picture_render.h"

#include <QFont>
#include <QPainter>
#include <array>

#include "scene/picture_files.h"
#include "scene/qpainter_surface.h"

namespace kestrova {

std::string CenterListText(int32_t centerObject) {
  static const std::array<const char*, 10> kNames = {"Earth",   "Mercury", "Venus",  "Mars",
                                                     "Jupiter", "Saturn",  "Uranus", "Neptune",
                                                     "Pluto",   "Sun"};
  return centerObject >= 0 && centerObject <= 9 ? kNames[size_t(centerObject)] : "";
}

QImage RenderPicture(TSolarSystem& scene, int32_t size) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(kPictureFontPixelSize);
    painter.setFont(font);
    TQPainterSurface surface(painter);
    scene.PaintOffScreen(surface, TRect{0, 0, size, size}, 0, 2);
    const TPoint origin = ExportTextOrigin(size);
    DrawHeaderText(surface, origin.x, origin.y,
                   HeaderLines(scene.SceneDate(), uint8_t(scene.Plane()),
                               CenterListText(scene.CenterObject())),
                   ExportHeaderColor(scene.BgColor()));
  }
  return image;
}

}  // namespace kestrova
