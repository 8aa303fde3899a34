// Pictures of the windows and of what they print and export, for a person to look at: when
// KESTROVA_SCREENSHOTS names a folder, Shot() lays the widget out and saves what it shows there
// as NAME.png, and ShotImage() saves an image; otherwise they do nothing.
#pragma once

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace kestrova::testing {

inline void Shot(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("KESTROVA_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  widget.adjustSize();
  widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

inline void ShotImage(const QImage& image, const QString& name) {
  const QString folder = qEnvironmentVariable("KESTROVA_SCREENSHOTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  image.save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace kestrova::testing
