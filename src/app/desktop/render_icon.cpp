// Build tool: draws the program's scalable icon as the PNG files of the hicolor theme's fixed
// sizes, so that desktops that do not read SVG icons still show it sharp.
// Usage: kestrova-render-icon ICON.svg OUT-FOLDER SIZE...  (writes OUT-FOLDER/SIZE/kestrova.png)
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fputs("usage: kestrova-render-icon ICON.svg OUT-FOLDER SIZE...\n", stderr);
    return 2;
  }
  // Drawing needs no screen; the offscreen platform keeps the build free of one.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
  if (!svg.isValid()) {
    std::fprintf(stderr, "kestrova-render-icon: cannot read %s\n", argv[1]);
    return 1;
  }
  for (int i = 3; i < argc; ++i) {
    const int size = QString::fromLatin1(argv[i]).toInt();
    if (size <= 0) {
      std::fprintf(stderr, "kestrova-render-icon: '%s' is no size\n", argv[i]);
      return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    const QString folder =
        QString::fromLocal8Bit(argv[2]) + QLatin1Char('/') + QString::number(size);
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/kestrova.png");
    if (!image.save(file, "PNG")) {
      std::fprintf(stderr, "kestrova-render-icon: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
