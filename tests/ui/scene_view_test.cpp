// The drawing area at the scale factor the program runs at (ctest runs this program at 1, 1.25,
// 1.5 and 2): what the screen shows is the scene painted in screen pixels, its lines one screen
// pixel wide, and the mouse, which speaks in window pixels, still finds the body it points at.
#include "ui/scene_view.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <cmath>

#include "scene/colour_schemes.h"
#include "scene/picture_render.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"
#include "support/screenshots.h"

namespace kestrova {

namespace {

// A view in a plain window, its corner at window pixel (7, 5): at a scale of 1.5 that is
// between two screen pixels, as a view beside other controls can be.
struct TShownScene {
  explicit TShownScene(int side = 301) {
    scene.SetPlane(TPlane::XY);
    scene.SetDim(6);
    scene.SetGridMode(2);
    window.resize(side + 20, side + 15);
    view = new TSceneView(scene, &window);
    view->setGeometry(7, 5, side, side);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qFatal("the window is not shown");
  }

  // The window as the screen shows it, in screen pixels, and where the view's picture is on it.
  QImage Screen() {
    QImage screen = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    screen.setDevicePixelRatio(1);
    const TRect r = view->Viewport().Rect;
    const qreal ratio = window.devicePixelRatioF();
    square = QRect(int(std::floor(7 * ratio)) + r.Left, int(std::floor(5 * ratio)) + r.Top, r.Width,
                   r.Height);
    return screen;
  }

  TSolarSystem scene{TestStartDate()};
  QWidget window;
  TSceneView* view = nullptr;
  QRect square;
};

// The columns (or rows) of the square in which more than half the pixels are not background:
// the grid's lines across the picture.
QList<int> FullLines(const QImage& screen, const QRect& square, QRgb background, bool columns) {
  QList<int> full;
  const int across = columns ? square.width() : square.height();
  const int along = columns ? square.height() : square.width();
  for (int i = 0; i < across; ++i) {
    int marked = 0;
    for (int j = 0; j < along; ++j) {
      const QPoint at = columns ? QPoint(square.left() + i, square.top() + j)
                                : QPoint(square.left() + j, square.top() + i);
      if (screen.pixel(at) != background) ++marked;
    }
    if (2 * marked > along) full << i;
  }
  return full;
}

}  // namespace

class SceneViewTest : public QObject {
  Q_OBJECT
 private slots:
  void TheScreenShowsTheScenePaintedInScreenPixels() {
    TShownScene shown;
    const qreal ratio = shown.window.devicePixelRatioF();
    const QImage screen = shown.Screen();
    testing::ShotImage(screen, QStringLiteral("scene_view_%1").arg(ratio));
    // The picture is as many screen pixels across as the view is window pixels times the scale.
    QVERIFY(std::abs(shown.square.width() - 301 * ratio) <= 1);
    QCOMPARE(shown.square.height(), shown.square.width());
    QCOMPARE(shown.view->PixelRatio(), ratio);

    // The same scene painted on an image of the picture's size, labels and markers at the
    // scaled size:
    // the screen shows it pixel for pixel, nothing scaled or shifted by part of a pixel.
    QImage expected(shown.square.size(), QImage::Format_RGB32);
    {
      QPainter painter(&expected);
      QFont font(QStringLiteral("Arial"));
      font.setPixelSize(int(std::lround(kPictureFontPixelSize * ratio)));
      painter.setFont(font);
      TQPainterSurface surface(painter);
      shown.scene.Paint(surface,
                        TViewport{TRect{0, 0, expected.width(), expected.height()}, 0, 2, ratio});
    }
    QCOMPARE(screen.copy(shown.square), expected);
    // Documents keep the area in window pixels, whatever the scale.
    QCOMPARE(shown.scene.Width(), 301);
    QCOMPARE(shown.scene.Height(), 301);
  }

  void GridLinesAreOneScreenPixelWide() {
    TShownScene shown;
    const QImage screen = shown.Screen();
    const QRgb background = ToQColor(SchemeBackground(2, shown.scene.BgColor())).rgb();
    for (bool columns : {true, false}) {
      const QList<int> lines = FullLines(screen, shown.square, background, columns);
      // Dim 6 with a grid step of 1 or 2 AU: several lines each way, none of them two pixels
      // wide (scaled by Qt, every second line of a 1.5 screen would be).
      QVERIFY2(lines.size() >= 5, qPrintable(QString::number(lines.size())));
      for (qsizetype i = 1; i < lines.size(); ++i)
        QVERIFY2(
            lines[i] - lines[i - 1] > 1,
            qPrintable(
                QStringLiteral("%1 and %2 at %3").arg(lines[i - 1]).arg(lines[i]).arg(columns)));
    }
  }

  void TheMouseFindsTheBodyItPointsAt() {
    TShownScene shown;
    shown.Screen();
    shown.scene.SetDim(2);
    shown.view->repaint();
    QSignalSpy picked(shown.view, &TSceneView::bodyDoubleClicked);
    // Near the middle and near the edge: a wrong scale misses the far body by more.
    for (int index : {0, 1}) {
      const TPlanet& planet = shown.scene.Planet(index);
      const QString name = QString::fromStdString(planet.Name);
      const TPoint pixel = shown.scene.Project(planet.Pos, shown.view->Viewport());
      const QPointF at = shown.view->WindowPointOf(pixel);
      QCOMPARE(shown.view->ScreenPixelAt(at), pixel);
      QCOMPARE(shown.view->BodyNameAtPoint(at), name);
      // Tool tips and clicks come in whole window pixels.
      const QPoint whole = at.toPoint();
      QCOMPARE(shown.view->BodyNameAt(whole), name);
      QHelpEvent help(QEvent::ToolTip, whole, shown.view->mapToGlobal(whole));
      QApplication::sendEvent(shown.view, &help);
      QCOMPARE(QToolTip::text(), name);
      QTest::mouseDClick(shown.view, Qt::LeftButton, {}, whole);
      QCOMPARE(picked.takeLast().at(0).toString(), name);
      // The mouse reaches as far in window pixels at every scale: four window pixels from
      // the middle of a dot is within its radius and the three pixels beside it.
      QCOMPARE(shown.view->BodyNameAtPoint(at + QPointF(4, 0)), name);
      // Twenty window pixels away there is none.
      QCOMPARE(shown.view->BodyNameAtPoint(at + QPointF(20, 20)), QString());
    }
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SceneViewTest)
#include "scene_view_test.moc"
