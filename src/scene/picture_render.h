// The picture the "Save as bitmap" action makes: the scene painted on a square image with the
// two header lines, ready for WritePicture. kestrova-cli render and the golden pictures of the
// tests use it too, so that what they check is what the user saves.
#pragma once

#include <QImage>
#include <cstdint>
#include <string>

#include "scene/solar_system.h"

namespace kestrova {

// Labels and header on pictures: "Arial" at a fixed pixel size, so that a picture does not
// depend on the screen's resolution.
inline constexpr int kPictureFontPixelSize = 11;

// Sides a picture may have, in pixels.
inline constexpr int32_t kMinPictureSize = 50;
inline constexpr int32_t kMaxPictureSize = 4000;

// What the centre list shows for CenterObject 0..9 ("Sun" for 9).
std::string CenterListText(int32_t centerObject);

// Paints the scene on a new size x size image with scheme 2 and device 0 and writes the header
// (date and view) in the complement of the background colour. The scene's remembered screen
// is left as it was.
QImage RenderPicture(TSolarSystem& scene, int32_t size);

}  // namespace kestrova
