#include "ui/window_places.h"

#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace kestrova {

namespace {

// The part of a window's top that must be on a screen for the user to grab it: the caption
// bar's height, and enough of its width to hold the mouse.
constexpr int kGrabHeight = 24;
constexpr int kGrabWidth = 48;
const QMargins kUsualFrame(4, 30, 4, 6);

// The frame a window manager puts around a window: measured once the window has one; before
// its first showing, room for a usual caption bar and border.
QMargins FrameMargins(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect inside = window.geometry();
  if (frame != inside)
    return QMargins(inside.left() - frame.left(), inside.top() - frame.top(),
                    frame.right() - inside.right(), frame.bottom() - inside.bottom());
  return window.windowFlags().testFlag(Qt::FramelessWindowHint) ? QMargins() : kUsualFrame;
}

}  // namespace

QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& screens, const QRect& primary) {
  QRect area = primary;
  const QRect strip(wanted.left(), wanted.top(), wanted.width(), kGrabHeight);
  for (const QRect& screen : screens) {
    const QRect seen = strip.intersected(screen);
    if (seen.width() >= std::min(kGrabWidth, wanted.width()) &&
        seen.height() >= std::min(kGrabHeight / 2, wanted.height())) {
      area = screen;
      break;
    }
  }
  if (area.isEmpty()) return wanted;
  QRect placed(wanted.topLeft(), wanted.size().boundedTo(area.size()));
  placed.moveTo(std::clamp(wanted.left(), area.left(), area.right() + 1 - placed.width()),
                std::clamp(wanted.top(), area.top(), area.bottom() + 1 - placed.height()));
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

void FitMinimumSize(QWidget& window, const QSize& wanted) {
  const QScreen* screen = window.screen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  const QSize room =
      area.isEmpty() ? wanted : area.size().shrunkBy(FrameMargins(window)).expandedTo({1, 1});
  window.setMinimumSize(wanted.boundedTo(room));
}

void PlaceWindow(QWidget& window, int left, int top, int width, int height) {
  const QSize inside = width > 0 && height > 0
                           ? QSize(width, height).expandedTo(window.minimumSize())
                           : window.size();
  const QMargins frame = FrameMargins(window);
  const QRect placed = PlaceOnScreens(QRect(QPoint(left, top), inside.grownBy(frame)),
                                      AvailableScreenAreas(), PrimaryScreenArea());
  window.move(placed.topLeft());
  // A window never gets smaller than its minimum, screen or not.
  const QSize fitted = placed.size().shrunkBy(frame).expandedTo(window.minimumSize());
  if (fitted != window.size()) window.resize(fitted);
}

}  // namespace kestrova
