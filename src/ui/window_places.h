// Where windows stand: a place read from the settings or a document is kept unless the window
// would lie off every screen (after the screens changed, say), in which case it is moved onto
// the primary screen, where the user can reach it.
#pragma once

#include <QList>
#include <QRect>

class QWidget;

namespace kestrova {

// `wanted` (frame position and size) when a strip along its top, where the caption bar is,
// shows on one of `screens`; otherwise the same size moved onto `primary`: as far into it as
// its size allows, keeping the wanted position where that is on the primary screen.
QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& screens, const QRect& primary);

// The available areas of the computer's screens and of the primary one.
QList<QRect> AvailableScreenAreas();
QRect PrimaryScreenArea();

// Moves a window to left, top (its frame's corner) and, when width and height are positive,
// gives it that size, kept on the screens as above.
void PlaceWindow(QWidget& window, int left, int top, int width = 0, int height = 0);

}  // namespace kestrova
