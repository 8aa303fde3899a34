// The "&View" tab and the window's keys: UpdateControls after a document, the zoom and rotation
// keys at the ends of their bars and in the flat projections, Shift+Tab, the square drawing
// area and the picture in an area that is not square, and the mouse over the drawing area.
#include "ui/view_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>
#include <QWheelEvent>

#include "scene/picture_render.h"
#include "scene/qpainter_surface.h"
#include "scene/solar_system.h"
#include "scene/zoom.h"
#include "support/form_fixture.h"
#include "ui/scene_view.h"

namespace kestrova {

namespace {

void SendMouseMove(QWidget* widget, QPoint pos, Qt::MouseButtons buttons = Qt::NoButton) {
  QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, buttons,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
}

}  // namespace

class ViewPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void UpdateControlsAfterReadingADocument() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSolarSystem& scene = form.Scene();
    scene.SetPlane(TPlane::D3);
    scene.SetGridMode(1);
    scene.SetDim(2);
    scene.SetRotX(30.4L);
    scene.SetRotZ(-200);
    scene.SetShowApsides(true);
    scene.SetCenterObject(3);
    const QString path = f.HomeFile("view.orb");
    f.prompter.fileNames.push_back(path);
    form.SaveAct->trigger();

    scene.SetPlane(TPlane::XY);
    scene.SetShowApsides(false);
    f.Find<QSlider>("TBDim")->setValue(40);
    f.prompter.fileNames.push_back(path);
    form.OpenAct->trigger();
    QCOMPARE(f.prompter.asked, QStringList({"save: Save file", "open: Open file"}));

    // 3D hides nothing of the grid but disables "Radial"; the rotation bars show.
    QVERIFY(f.Find<QRadioButton>("RB3D")->isChecked());
    QVERIFY(f.Find<QRadioButton>("RBRadial")->isChecked());
    QVERIFY(!f.Find<QRadioButton>("RBRadial")->isEnabled());
    QVERIFY(f.Find<QRadioButton>("RBNone")->isEnabled());
    QVERIFY(!f.Find("GBRotate")->isHidden());
    QVERIFY(f.Find<QCheckBox>("CBShowApsides")->isChecked());
    QCOMPARE(f.Find<QComboBox>("CBCenterObject")->currentText(), QStringLiteral("Mars"));
    // The bars' positions are set and their actions run: Dim and the angles become what the
    // bars can show.
    QCOMPARE(f.Find<QSlider>("TBDim")->value(), 97);
    QCOMPARE(double(scene.Dim()), double(DimOfPosition(97)));
    QCOMPARE(f.Find<QSlider>("TBRotX")->value(), 30);
    QCOMPARE(scene.RotX(), 30.0L);
    QCOMPARE(f.Find<QSlider>("TBRotZ")->value(), -180);
    QCOMPARE(scene.RotZ(), -180.0L);

    // X-Y shows "Radial" again and hides the rotation bars.
    f.Click("RBXY");
    QCOMPARE(scene.Plane(), TPlane::XY);
    QVERIFY(f.Find<QRadioButton>("RBRadial")->isEnabled());
    QVERIFY(f.Find("GBRotate")->isHidden());
    // A second UpdateControls changes nothing.
    const Extended dim = scene.Dim();
    form.UpdateControls();
    QCOMPARE(scene.Dim(), dim);
    QCOMPARE(scene.Plane(), TPlane::XY);
  }

  void ShowBoxesGridAndCentreSetTheScene() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    TSolarSystem& s = form.Scene();
    const std::pair<const char*, bool (TSolarSystem::*)() const> boxes[] = {
        {"CBShowNames", &TSolarSystem::ShowNames},
        {"CBShowOrbits", &TSolarSystem::ShowOrbits},
        {"CBShowAxes", &TSolarSystem::ShowRotAxis},
        {"CBShowRotation", &TSolarSystem::ShowRotation},
        {"CBShowPerpendiculars", &TSolarSystem::ShowPerpendiculars},
        {"CBShowApsides", &TSolarSystem::ShowApsides},
        {"CBShowLinesOfNodes", &TSolarSystem::ShowLineOfNodes},
        {"CBShowDirections", &TSolarSystem::ShowDirections}};
    for (const auto& [name, get] : boxes) {
      const bool before = (s.*get)();
      QCOMPARE(f.Find<QCheckBox>(name)->isChecked(), before);
      f.Click(name);
      QVERIFY2((s.*get)() == !before, name);
    }
    f.Click("RBNone");
    QCOMPARE(s.GridMode(), 0);
    f.Click("RBRectangular");
    QCOMPARE(s.GridMode(), 2);
    f.Click("RBXZ");
    QCOMPARE(s.Plane(), TPlane::XZ);
    auto* center = f.Find<QComboBox>("CBCenterObject");
    QCOMPARE(center->count(), 10);
    const std::pair<int, int32_t> rows[] = {{0, 9}, {3, 0}, {4, 3}, {9, 8}};
    for (const auto& [row, body] : rows) {
      center->setCurrentIndex(row);
      emit center->activated(row);
      QCOMPARE(s.CenterObject(), body);
    }
    QCOMPARE(s.CenterPos().x, s.Planet(8).Pos.x);
  }

  void ColourFieldsSetTheSceneAndBringTheControlsInLine() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    f.prompter.colors = {TColor{0x112233}, TColor{0x445566}, std::nullopt};
    QTest::mouseClick(f.Find("ShpBackground"), Qt::LeftButton);
    QTest::mouseClick(f.Find("ShpPerpendiculars"), Qt::LeftButton);
    QCOMPARE(form.Scene().BgColor(), TColor{0x112233});
    QCOMPARE(form.Scene().PerpendicularColor(), TColor{0x445566});
    // A cancelled dialog still brings the controls in line with the scene.
    f.Find<QSlider>("TBDim")->blockSignals(true);
    f.Find<QSlider>("TBDim")->setValue(5);
    f.Find<QSlider>("TBDim")->blockSignals(false);
    QTest::mouseClick(f.Find("ShpGrid"), Qt::LeftButton);
    QCOMPARE(form.Scene().GridColor(), TColor{0x505050});
    QCOMPARE(f.Find<QSlider>("TBDim")->value(), PositionOfDim(form.Scene().Dim()));

    // From the keyboard: the group's mnemonic or Tab reaches the field, Space opens the dialog.
    QApplication::setActiveWindow(&form);
    f.Find<QTabWidget>("PageControl")->setCurrentIndex(1);
    QTest::keyClick(&form, Qt::Key_B, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), f.Find("ShpBackground"));
    f.prompter.colors = {TColor{0x778899}};
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(form.Scene().BgColor(), TColor{0x778899});
    f.Find("RBRectangular")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.Find("ShpGrid"));
  }

  void ZoomKeysStopAtTheEndsOfTheBar() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    // The window sees the keys before the field that has the focus.
    auto* field = f.Find<QLineEdit>("EDate");
    auto* dim = f.Find<QSlider>("TBDim");
    dim->setValue(2);
    QTest::keyClick(field, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(dim->value(), 1);
    QCOMPARE(form.Scene().Dim(), DimOfPosition(1));
    QTest::keyClick(field, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(dim->value(), 1);
    dim->setValue(149);
    QTest::keyClick(field, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(dim->value(), 150);
    QTest::keyClick(field, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(dim->value(), 150);
    QCOMPARE(form.Scene().Dim(), DimOfPosition(150));
  }

  void RotationKeysActOnlyIn3DAndStopAtTheEnds() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    auto* field = f.Find<QLineEdit>("ETime");
    auto* rotX = f.Find<QSlider>("TBRotX");
    auto* rotZ = f.Find<QSlider>("TBRotZ");
    f.Click("RB3D");
    rotZ->setValue(179);
    rotX->setValue(1);
    const QString time = field->text();
    QTest::keyClick(field, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(rotZ->value(), 180);
    QCOMPARE(form.Scene().RotZ(), 180.0L);
    QTest::keyClick(field, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(rotX->value(), 0);
    rotZ->setValue(-180);
    QTest::keyClick(field, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(rotZ->value(), -180);
    rotX->setValue(180);
    QTest::keyClick(field, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(rotX->value(), 180);
    QCOMPARE(field->text(), time);

    for (const char* plane : {"RBXY", "RBXZ", "RBZY"}) {
      f.Click(plane);
      rotZ->setValue(0);
      rotX->setValue(90);
      for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_Up, Qt::Key_Down})
        QTest::keyClick(field, key, Qt::ControlModifier);
      QCOMPARE(rotZ->value(), 0);
      QCOMPARE(rotX->value(), 90);
    }
  }

  void ShiftTabGoesToTheNextTabAndRoundAgain() {
    testing::TFormFixture f;
    f.Start();
    auto* tabs = f.Find<QTabWidget>("PageControl");
    tabs->setCurrentIndex(2);
    QTest::keyClick(f.Find("EDate"), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QTest::keyClick(f.Find("TBDim"), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), 1);
  }

  void MouseMovesKeepTheDrawingAreaSquare() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    QWidget* view = f.Find("SceneView");
    // Wider than high: the width shrinks.
    form.resize(1000, 640);
    SendMouseMove(view, {10, 10});
    QCOMPARE(form.size(), QSize(796, 640));
    QCOMPARE(view->size(), QSize(640, 640));
    // Higher than wide: the height shrinks, also when the mouse is over the panel.
    form.resize(800, 900);
    SendMouseMove(f.Find("TBDim"), {3, 3});
    QCOMPARE(form.size(), QSize(800, 644));
    QCOMPARE(view->size(), QSize(644, 644));
    // Never below the minimum size.
    form.resize(674, 700);
    SendMouseMove(view, {10, 10});
    QCOMPARE(form.size(), QSize(674, 550));
    // Dragging and a maximized window are left alone.
    form.resize(900, 640);
    SendMouseMove(view, {10, 10}, Qt::LeftButton);
    QCOMPARE(form.size(), QSize(900, 640));
    form.setWindowState(Qt::WindowMaximized);
    const QSize maximized = form.size();
    SendMouseMove(view, {10, 10});
    QCOMPARE(form.size(), maximized);
  }

  void AnAreaThatIsNotSquareShowsTheSceneUnstretchedInTheMiddle() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    f.Click("RBXY");
    auto* view = f.Find<TSceneView>("SceneView");
    form.resize(1000, 640);  // no mouse movement: the area stays wider than high
    QApplication::processEvents();
    QCOMPARE(view->size(), QSize(844, 640));
    const QImage picture = view->grab().toImage();
    TSolarSystem& scene = form.Scene();
    // The Sun in the middle, one AU as many pixels across as up.
    const TPoint sun = scene.Project({0, 0, 0}, view->Viewport());
    const TPoint east = scene.Project({1, 0, 0}, view->Viewport());
    const TPoint north = scene.Project({0, 1, 0}, view->Viewport());
    QCOMPARE(sun.x, 422);
    QCOMPARE(sun.y, 320);
    QCOMPARE(east.x - sun.x, sun.y - north.y);
    // The strips beside the square are background, without grid lines.
    const QColor background = ToQColor(scene.BgColor());
    for (int y = 0; y < 640; y += 7) {
      QCOMPARE(picture.pixelColor(5, y), background);
      QCOMPARE(picture.pixelColor(838, y), background);
    }
    // Names and the monitor's double click find the bodies where the picture shows them.
    const TPoint earth = scene.Project(scene.Planet(0).Pos, view->Viewport());
    QCOMPARE(view->BodyNameAt({earth.x, earth.y}), QStringLiteral("Earth"));
    // A picture painted at another size in between changes nothing the screen answers.
    const QImage exported = RenderPicture(scene, 1500);
    QCOMPARE(exported.width(), 1500);
    QCOMPARE(scene.Project(scene.Planet(0).Pos, view->Viewport()), earth);
    QCOMPARE(view->BodyNameAt({earth.x, earth.y}), QStringLiteral("Earth"));
  }

  void WheelZoomsAndDraggingTurnsIn3D() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    auto* view = f.Find<TSceneView>("SceneView");
    auto* dim = f.Find<QSlider>("TBDim");
    dim->setValue(50);
    const QPointF at(100, 100);
    QWheelEvent away(at, view->mapToGlobal(at), {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &away);
    QCOMPARE(dim->value(), 48);
    QWheelEvent towards(at, view->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
    QApplication::sendEvent(view, &towards);
    QCOMPARE(dim->value(), 49);
    QCOMPARE(form.Scene().Dim(), DimOfPosition(49));

    f.Click("RB3D");
    auto* rotX = f.Find<QSlider>("TBRotX");
    auto* rotZ = f.Find<QSlider>("TBRotZ");
    rotX->setValue(40);
    rotZ->setValue(0);
    QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
    SendMouseMove(view, {120, 94}, Qt::LeftButton);
    QTest::mouseRelease(view, Qt::LeftButton, {}, {120, 94});
    QCOMPARE(rotZ->value(), 10);
    QCOMPARE(rotX->value(), 37);
    QCOMPARE(form.Scene().RotZ(), 10.0L);
    // About Z the view turns on past the end of the bar.
    rotZ->setValue(175);
    QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
    SendMouseMove(view, {120, 100}, Qt::LeftButton);
    QTest::mouseRelease(view, Qt::LeftButton, {}, {120, 100});
    QCOMPARE(rotZ->value(), -175);
    // In a flat projection dragging turns nothing.
    f.Click("RBXY");
    QTest::mousePress(view, Qt::LeftButton, {}, {100, 100});
    SendMouseMove(view, {160, 100}, Qt::LeftButton);
    QTest::mouseRelease(view, Qt::LeftButton, {}, {160, 100});
    QCOMPARE(rotZ->value(), -175);
  }

  void HoverNamesABodyAndADoubleClickPicksIt() {
    testing::TFormFixture f;
    TSolarSystemForm& form = f.Start();
    f.Click("RBXY");
    QApplication::processEvents();
    auto* view = f.Find<TSceneView>("SceneView");
    const TPoint earth = form.Scene().Project(form.Scene().Planet(0).Pos, view->Viewport());
    QCOMPARE(view->BodyNameAt({earth.x + 1, earth.y}), QStringLiteral("Earth"));
    QCOMPARE(view->BodyNameAt({earth.x + 40, earth.y + 40}), QString());
    QTest::mouseDClick(view, Qt::LeftButton, {}, {earth.x, earth.y});
    QCOMPARE(form.State().MonitorBody, std::string("Earth"));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::ViewPanelTest)
#include "view_panel_test.moc"
