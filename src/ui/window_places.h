// Where windows stand: a place read from the settings or a document is fitted to the free area
// of the screen its caption bar is on (of the primary screen when it is on none, after the
// screens changed, say): the window lies wholly on that screen and is no larger than it.
#pragma once

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

namespace kestrova {

// `wanted` (frame position and size) fitted to the screen of `screens` on which a strip along
// its top, where the caption bar is, shows, or else to `primary`: no larger than that screen, and
// moved as little as needed to lie wholly on it.
QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& screens, const QRect& primary);

// The available areas of the computer's screens and of the primary one.
QList<QRect> AvailableScreenAreas();
QRect PrimaryScreenArea();

// Gives the window `wanted` as its minimum size, or less where the free area of its screen,
// less the window's frame, is smaller: a 1000-pixel-high screen at a scale factor of 2 has 500
// window pixels, fewer than the main window would ask for.
void FitMinimumSize(QWidget& window, const QSize& wanted);

// Moves a window to left, top (its frame's corner) and, when width and height are positive,
// gives it that size, fitted to the screens as above (never below the window's minimum size).
void PlaceWindow(QWidget& window, int left, int top, int width = 0, int height = 0);

}  // namespace kestrova
