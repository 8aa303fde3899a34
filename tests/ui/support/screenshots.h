// Pictures of the windows for a person to look at: when KESTROVA_SCREENSHOTS names a folder,
// Shot() lays the widget out and saves what it shows there as NAME.png; otherwise it does
// nothing.
#pragma once

#include <QDir>
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

}  // namespace kestrova::testing
