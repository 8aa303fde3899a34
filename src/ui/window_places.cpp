#include "ui/window_places.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kestrova {

namespace {

// The part of a window's top that must be on a screen for the user to grab it: the caption
// bar's height, and enough of its width to hold the mouse.
constexpr int kGrabHeight = 24;
constexpr int kGrabWidth = 48;

}  // namespace

QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& screens, const QRect& primary) {
  const QRect strip(wanted.left(), wanted.top(), wanted.width(), kGrabHeight);
  for (const QRect& screen : screens) {
    const QRect seen = strip.intersected(screen);
    if (seen.width() >= std::min(kGrabWidth, wanted.width()) &&
        seen.height() >= std::min(kGrabHeight / 2, wanted.height()))
      return wanted;
  }
  if (primary.isEmpty()) return wanted;
  QRect placed = wanted;
  const int left = std::clamp(wanted.left(), primary.left(),
                              std::max(primary.left(), primary.right() + 1 - wanted.width()));
  const int top = std::clamp(wanted.top(), primary.top(),
                             std::max(primary.top(), primary.bottom() + 1 - wanted.height()));
  placed.moveTo(left, top);
  return placed;
}

QList<QRect> AvailableScreenAreas() {
  QList<QRect> areas;
  for (const QScreen* screen : QGuiApplication::screens()) areas << screen->availableGeometry();
  return areas;
}

QRect PrimaryScreenArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

void PlaceWindow(QWidget& window, int left, int top, int width, int height) {
  const QSize size = width > 0 && height > 0 ? QSize(width, height).expandedTo(window.minimumSize())
                                             : window.size();
  const QRect placed =
      PlaceOnScreens(QRect(QPoint(left, top), size), AvailableScreenAreas(), PrimaryScreenArea());
  window.move(placed.topLeft());
  if (width > 0 && height > 0) window.resize(placed.size());
}

}  // namespace kestrova
