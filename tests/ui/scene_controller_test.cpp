// The controller's intents: each changes the scene (or the time state) and, in the same call,
// makes exactly one announcement and asks for exactly one picture; a controller that forgot an
// announcement would leave the monitor and the drawing area showing the old scene.
#include "ui/scene_controller.h"

#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "database/table_store.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "support/data_folder.h"
#include "support/recording_prompter.h"
#include "support/scene_date.h"
#include "support/synthetic_data_file.h"

namespace kestrova {

namespace {

enum class TSignal { View, Bodies, Date, TimeStep };

constexpr int32_t kTitanId = 164;
constexpr int32_t kIoId = 140;
constexpr TColor kColor = 0x123456;

std::unique_ptr<TAsteroid> MinorBody(const std::string& name) {
  TOrbitalElements e;
  e.Epoch = 2451545.0L;
  e.SemiMajorAxis = 2.77L;
  e.Eccentricity = 0.08L;
  e.DailyMotion = 0.214L;
  return std::make_unique<TAsteroid>(name, e, 0x008080);
}

const TSatellite& Satellite(const TSolarSystem& scene, int32_t planet, int32_t id) {
  return *scene.Planet(planet).FindSatellite(id);
}

bool AllSatellitesColored(const TSolarSystem& scene, TColor color) {
  for (int32_t i = 0; i < 9; ++i) {
    const TSatelliteList& satellites = scene.Planet(i).Satellites;
    for (int32_t k = 0; k < satellites.Count(); ++k)
      if (satellites.Get(k).Color != color) return false;
  }
  return true;
}

// One intent: what the owner of the scene prepares (nothing for most), the call, the state it
// leads to (which must not hold before), and the one signal that announces it.
struct TIntent {
  const char* name;
  std::function<void(TSolarSystem&)> prepare;
  std::function<void(TSceneController&)> act;
  std::function<bool(const TSolarSystem&, const TSceneController&)> done;
  TSignal announced;
};

using S = const TSolarSystem&;
using C = const TSceneController&;

const std::vector<TIntent>& Intents() {
  static const std::vector<TIntent> intents = {
      // ---- The view.
      {"grid mode",
       {},
       [](auto& c) { c.SetGridMode(0); },
       [](S s, C) { return s.GridMode() == 0; },
       TSignal::View},
      {"projection",
       {},
       [](auto& c) { c.SetPlane(TPlane::XZ); },
       [](S s, C) { return s.Plane() == TPlane::XZ; },
       TSignal::View},
      {"dimension",
       {},
       [](auto& c) { c.SetDim(5); },
       [](S s, C) { return s.Dim() == 5; },
       TSignal::View},
      {"rotation X",
       {},
       [](auto& c) { c.SetRotX(30); },
       [](S s, C) { return std::abs(s.RotX() - 30) < 1e-9L; },
       TSignal::View},
      {"rotation Y",
       {},
       [](auto& c) { c.SetRotY(20); },
       [](S s, C) { return std::abs(s.RotY() - 20) < 1e-9L; },
       TSignal::View},
      {"rotation Z",
       {},
       [](auto& c) { c.SetRotZ(-45); },
       [](S s, C) { return std::abs(s.RotZ() + 45) < 1e-9L; },
       TSignal::View},
      {"centre body",
       {},
       [](auto& c) { c.SetCenterObject(kJupiter); },
       [](S s, C) {
         return s.CenterObject() == kJupiter && s.CenterPos().x == s.Planet(kJupiter).Pos.x;
       },
       TSignal::View},
      {"centre and zoom",
       {},
       [](auto& c) { c.CenterAndZoom(kMars, 1.5L); },
       [](S s, C) { return s.CenterObject() == kMars && s.Dim() == 1.5L; },
       TSignal::View},
      {"names",
       {},
       [](auto& c) { c.SetShowNames(false); },
       [](S s, C) { return !s.ShowNames(); },
       TSignal::View},
      {"orbits",
       {},
       [](auto& c) { c.SetShowOrbits(false); },
       [](S s, C) { return !s.ShowOrbits(); },
       TSignal::View},
      {"rotation axes",
       {},
       [](auto& c) { c.SetShowRotAxis(true); },
       [](S s, C) { return s.ShowRotAxis(); },
       TSignal::View},
      {"rotation direction",
       {},
       [](auto& c) { c.SetShowRotation(true); },
       [](S s, C) { return s.ShowRotation(); },
       TSignal::View},
      {"perpendiculars",
       {},
       [](auto& c) { c.SetShowPerpendiculars(true); },
       [](S s, C) { return s.ShowPerpendiculars(); },
       TSignal::View},
      {"apsides",
       {},
       [](auto& c) { c.SetShowApsides(true); },
       [](S s, C) { return s.ShowApsides(); },
       TSignal::View},
      {"lines of nodes",
       {},
       [](auto& c) { c.SetShowLineOfNodes(true); },
       [](S s, C) { return s.ShowLineOfNodes(); },
       TSignal::View},
      {"user-defined lines shown",
       {},
       [](auto& c) { c.SetShowDirections(false); },
       [](S s, C) { return !s.ShowDirections(); },
       TSignal::View},
      {"grid colour",
       {},
       [](auto& c) { c.SetGridColor(kColor); },
       [](S s, C) { return s.GridColor() == kColor; },
       TSignal::View},
      {"background colour",
       {},
       [](auto& c) { c.SetBgColor(kColor); },
       [](S s, C) { return s.BgColor() == kColor; },
       TSignal::View},
      {"axes colour",
       {},
       [](auto& c) { c.SetAxesColor(kColor); },
       [](S s, C) { return s.AxesColor() == kColor; },
       TSignal::View},
      {"perpendicular colour",
       {},
       [](auto& c) { c.SetPerpendicularColor(kColor); },
       [](S s, C) { return s.PerpendicularColor() == kColor; },
       TSignal::View},
      {"Sun colour",
       {},
       [](auto& c) { c.SetSunColor(kColor); },
       [](S s, C) { return s.SunColor() == kColor; },
       TSignal::View},
      {"planet colour",
       {},
       [](auto& c) { c.SetObjectColor(kMars, kColor); },
       [](S s, C) { return s.Planet(kMars).Color == kColor && s.GetObjectColor(kMars) == kColor; },
       TSignal::View},
      {"satellites' colour",
       {},
       [](auto& c) { c.SetObjectColor(kSatelliteColorIndex, kColor); },
       [](S s, C) { return AllSatellitesColored(s, kColor); },
       TSignal::View},
      {"minor bodies' colour", [](TSolarSystem& s) { s.AsteroidsList().Add(MinorBody("Ceres")); },
       [](auto& c) { c.SetObjectColor(kMinorBodyColorIndex, kColor); },
       [](S s, C) { return s.AsteroidsList().Get(0).Color == kColor; }, TSignal::View},

      // ---- The bodies and lines.
      {"Sun shown",
       {},
       [](auto& c) { c.SetShowSun(false); },
       [](S s, C) { return !s.ShowSun(); },
       TSignal::Bodies},
      {"satellites shown",
       {},
       [](auto& c) { c.SetShowSatellites(false); },
       [](S s, C) { return !s.ShowSatellites(); },
       TSignal::Bodies},
      {"planet visible",
       {},
       [](auto& c) { c.SetPlanetVisible(kMars, false); },
       [](S s, C) { return !s.Planet(kMars).Visible && s.Planet(kJupiter).Visible; },
       TSignal::Bodies},
      {"all planets hidden",
       {},
       [](auto& c) { c.SetAllPlanetsVisible(false); },
       [](S s, C) {
         for (int32_t i = 0; i < 9; ++i)
           if (s.Planet(i).Visible) return false;
         return !s.ShowSatellites();
       },
       TSignal::Bodies},
      {"all planets shown",
       [](TSolarSystem& s) {
         s.Planet(kEarth).Visible = false;
         s.SetShowSatellites(false);
       },
       [](auto& c) { c.SetAllPlanetsVisible(true); },
       [](S s, C) { return s.Planet(kEarth).Visible && s.ShowSatellites(); }, TSignal::Bodies},
      // An Id that no planet has is passed over.
      {"satellites dialog",
       {},
       [](auto& c) {
         c.ApplySatellites({{kTitanId, false}, {999, false}, {kIoId, true}});
       },
       [](S s, C) {
         return !Satellite(s, kSaturn, kTitanId).Visible && Satellite(s, kJupiter, kIoId).Visible;
       },
       TSignal::Bodies},
      {"user-defined lines",
       {},
       [](auto& c) {
         TDirectionList lines;
         lines.Add(std::make_unique<TDirection>(kMars, kColor, kSunIndex)).Visible = false;
         c.SetDirections(lines);
       },
       [](S s, C) {
         return s.DirectionList().Count() == 1 && s.DirectionList().Get(0).FromId == kMars &&
                s.DirectionList().Get(0).Visible;
       },
       TSignal::Bodies},
      {"minor bodies added", [](TSolarSystem& s) { s.AsteroidsList().Add(MinorBody("Pallas")); },
       [](auto& c) {
         std::vector<std::unique_ptr<TAsteroid>> bodies;
         bodies.push_back(MinorBody("Ceres"));
         c.AddMinorBodies(std::move(bodies), kColor);
       },
       [](S s, C) {
         const TOEObjectList& list = s.AsteroidsList();
         // Computed for the scene's date, and every minor body in the colour given.
         return list.Count() == 2 && list.Get(1).Name == "Ceres" && list.Get(1).Pos.x != 0 &&
                list.Get(0).Color == kColor && list.Get(1).Color == kColor;
       },
       TSignal::Bodies},
      {"minor body removed",
       [](TSolarSystem& s) {
         s.AsteroidsList().Add(MinorBody("Ceres"));
         s.AsteroidsList().Add(MinorBody("Vesta"));
       },
       [](auto& c) { c.RemoveMinorBody("Ceres"); },
       [](S s, C) {
         return s.AsteroidsList().Count() == 1 && s.AsteroidsList().Get(0).Name == "Vesta";
       },
       TSignal::Bodies},
      {"minor bodies cleared",
       [](TSolarSystem& s) {
         s.AsteroidsList().Add(MinorBody("Ceres"));
         s.AsteroidsList().Add(MinorBody("Vesta"));
       },
       [](auto& c) { c.ClearMinorBodies(); }, [](S s, C) { return s.AsteroidsList().Count() == 0; },
       TSignal::Bodies},

      // ---- The time.
      {"date",
       {},
       [](auto& c) {
         c.ShowDate(TDateRec{1, 7, 2001, 0, 0, 0, 0});
       },
       [](S s, C c) { return s.SceneDate().Year == 2001 && c.DisplayDate().Year == 2001; },
       TSignal::Date},
      {"time step",
       {},
       [](auto& c) { c.SetTimeStep(2.5L); },
       [](S, C c) { return c.TimeStep() == 2.5L; },
       TSignal::TimeStep},
      {"time unit",
       {},
       [](auto& c) { c.SetTimeUnit(TTimeUnit::Hour); },
       [](S, C c) { return c.TimeUnit() == TTimeUnit::Hour; },
       TSignal::TimeStep},
      // A document may carry a code without a unit: it is kept as it is.
      {"time unit of no unit",
       {},
       [](auto& c) { c.SetTimeUnit(TTimeUnit{5}); },
       [](S, C c) { return int32_t(c.TimeUnit()) == 5; },
       TSignal::TimeStep},
  };
  return intents;
}

// A scene as the main window holds it, with a controller and every announcement recorded.
struct Fixture {
  TSolarSystem scene{TestStartDate()};
  testing::TRecordingPrompter prompter;
  TSceneController controller{scene, prompter};
  int repaints = 0;
  QSignalSpy view{&controller, &TSceneController::viewChanged};
  QSignalSpy bodies{&controller, &TSceneController::bodiesChanged};
  QSignalSpy date{&controller, &TSceneController::dateChanged};
  QSignalSpy timeStep{&controller, &TSceneController::timeStepChanged};
  QSignalSpy realTime{&controller, &TSceneController::realTimeModeChanged};
  QSignalSpy animation{&controller, &TSceneController::animationChanged};

  Fixture() {
    scene.SetDate(TestStartDate());
    scene.SetRepaintHook([this] { ++repaints; });
  }
  // How often each signal was sent: view, bodies, date, time step, real time, animation.
  QList<int> Counts() const {
    return {int(view.count()),     int(bodies.count()),   int(date.count()),
            int(timeStep.count()), int(realTime.count()), int(animation.count())};
  }
};

}  // namespace

class SceneControllerTest : public QObject {
  Q_OBJECT
 private slots:
  void EachIntentChangesTheSceneAndAnnouncesItOnce_data() {
    QTest::addColumn<int>("row");
    for (size_t i = 0; i < Intents().size(); ++i) QTest::newRow(Intents()[i].name) << int(i);
  }

  void EachIntentChangesTheSceneAndAnnouncesItOnce() {
    QFETCH(int, row);
    const TIntent& intent = Intents()[size_t(row)];
    Fixture f;
    if (intent.prepare) intent.prepare(f.scene);
    QVERIFY2(!intent.done(f.scene, f.controller), "the state holds before the intent");

    intent.act(f.controller);

    QVERIFY(intent.done(f.scene, f.controller));
    QList<int> expected = {0, 0, 0, 0, 0, 0};
    expected[int(intent.announced)] = 1;
    QCOMPARE(f.Counts(), expected);
    // The time step is no picture; everything else asks for exactly one.
    QCOMPARE(f.repaints, intent.announced == TSignal::TimeStep ? 0 : 1);
  }

  // The full list comes from the data file; it is announced also when the file cannot be read,
  // since the list was emptied on the way.
  void ShowAllObjectsAnnouncesTheFullListEvenWhenTheDataFileFails() {
    testing::TDataFolder folder;
    testing::MakeSyntheticDataFile(kDefaultAlias, "rows.db", 30);
    TableStore data;
    data.SetDatabase(kDefaultAlias);
    data.SetTableName("rows.db");
    data.Open();
    Fixture f;

    QVERIFY(f.controller.ShowAllObjects(data, true));
    QCOMPARE(f.scene.AsteroidsFullList().Count(), 30);
    QCOMPARE(f.Counts(), QList<int>({0, 1, 0, 0, 0, 0}));
    QVERIFY(f.repaints > 0);

    data.Close();
    bool failed = false;
    try {
      f.controller.ShowAllObjects(data, true);
    } catch (const std::exception&) {
      failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(f.scene.AsteroidsFullList().Count(), 0);
    QCOMPARE(f.Counts(), QList<int>({0, 2, 0, 0, 0, 0}));

    QVERIFY(f.controller.ShowAllObjects(data, false));
    QCOMPARE(f.Counts(), QList<int>({0, 3, 0, 0, 0, 0}));
  }
};

}  // namespace kestrova

QTEST_MAIN(kestrova::SceneControllerTest)
#include "scene_controller_test.moc"
