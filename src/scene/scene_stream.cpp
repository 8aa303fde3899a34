// The three forms of the scene block.
#include "scene/scene_stream.h"

namespace kestrova {

namespace {

TColor ReadColor(ValueReader& reader, std::string_view meaning) {
  return static_cast<TColor>(reader.ReadInteger(meaning));
}

// "planet[5] Saturn": the planet's values gathered under its index and name.
TMeaningScope PlanetScope(ValueReader& reader, const TSolarSystem& scene, int32_t i) {
  return TMeaningScope(reader,
                       [&] { return Format("planet[%d] %s", i, scene.Planet(i).Name.c_str()); });
}

// The date as SetDate(JDToDate(0, jd)). The calendar search is only defined inside the
// program's date range (outside it, and for no number, it would not end).
void ReadDate(TSolarSystem& scene, ValueReader& reader) {
  const Extended jd = reader.ReadFloat("SceneDate");
  if (!(jd >= MinJD && jd <= MaxJD)) throw EInvalidValue();
  scene.SetDate(JDToDate(0, jd));
}

void ReadColors(TSolarSystem& scene, ValueReader& reader) {
  scene.SetGridColor(ReadColor(reader, "GridColor"));
  scene.SetBgColor(ReadColor(reader, "BgColor"));
  scene.SetSunColor(ReadColor(reader, "SunColor"));
  scene.SetPerpendicularColor(ReadColor(reader, "PerpendicularColor"));
  scene.SetAxesColor(ReadColor(reader, "AxesColor"));
}

// GridMode, Dim, CenterObject, the three angles and Plane: the same in every form.
void ReadView(TSolarSystem& scene, ValueReader& reader) {
  scene.SetGridMode(reader.ReadInteger("GridMode"));
  scene.SetDim(reader.ReadFloat("Dim"));
  scene.SetCenterObject(reader.ReadInteger("CenterObject"));
  scene.SetRotX(reader.ReadFloat("RotX"));
  scene.SetRotY(reader.ReadFloat("RotY"));
  scene.SetRotZ(reader.ReadFloat("RotZ"));
  scene.SetPlane(static_cast<TPlane>(static_cast<uint8_t>(reader.ReadInteger("Plane"))));
}

// The nine visibility flags, then the nine planet colours (1.5 and 1.0 forms).
void ReadPlanetFlagsAndColors(TSolarSystem& scene, ValueReader& reader) {
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    const TMeaningScope planet = PlanetScope(reader, scene, i);
    scene.Planet(i).Visible = reader.ReadBoolean("Visible");
  }
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    const TMeaningScope planet = PlanetScope(reader, scene, i);
    scene.SetObjectColor(i, ReadColor(reader, "Color"));
  }
}

void WriteVector(ValueWriter& writer, const TVector& v) {
  writer.WriteFloat(v.x);
  writer.WriteFloat(v.y);
  writer.WriteFloat(v.z);
}

// Stored positions are read past: positions are always recomputed.
void SkipVector(ValueReader& reader) {
  reader.SkipFloat("Pos.x");
  reader.SkipFloat("Pos.y");
  reader.SkipFloat("Pos.z");
}

}  // namespace

void WriteScene(const TSolarSystem& scene, ValueWriter& writer) {
  writer.WriteFloat(DateToJD(scene.SceneDate()));
  for (TColor c : {scene.GridColor(), scene.BgColor(), scene.SunColor(), scene.PerpendicularColor(),
                   scene.AxesColor()}) {
    writer.WriteInteger(static_cast<int32_t>(c));
  }
  for (bool b : {scene.ShowOrbits(), scene.ShowNames(), scene.ShowSun(), scene.ShowRotAxis(),
                 scene.ShowRotation(), scene.ShowPerpendiculars(), scene.ShowApsides(),
                 scene.ShowLineOfNodes(), scene.ShowSatellites(), scene.ShowDirections()}) {
    writer.WriteBoolean(b);
  }
  writer.WriteInteger(scene.GridMode());
  writer.WriteFloat(scene.Dim());
  writer.WriteInteger(scene.CenterObject());
  writer.WriteFloat(scene.RotX());
  writer.WriteFloat(scene.RotY());
  writer.WriteFloat(scene.RotZ());
  writer.WriteInteger(static_cast<int32_t>(scene.Plane()));
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    const TPlanet& planet = scene.Planet(i);
    writer.WriteBoolean(planet.Visible);
    writer.WriteInteger(static_cast<int32_t>(scene.GetObjectColor(i)));
    WriteVector(writer, planet.Pos);
    writer.WriteInteger(planet.Satellites.Count());
    for (int32_t j = 0; j < planet.Satellites.Count(); ++j) {
      const TSatellite& sat = planet.Satellites.Get(j);
      writer.WriteBoolean(sat.Visible);
      writer.WriteInteger(static_cast<int32_t>(sat.Color));
      WriteVector(writer, sat.Pos);
    }
  }
  scene.DirectionList().WriteList(writer);
  scene.AsteroidsList().WriteList(writer);
  writer.WriteInteger(static_cast<int32_t>(scene.GetObjectColor(kMinorBodyColorIndex)));
  writer.WriteInteger(static_cast<int32_t>(scene.GetObjectColor(kSatelliteColorIndex)));
}

namespace {

// The eight switches that the current and the 1.5 form share, in their order.
void ReadMarkingSwitches(TSolarSystem& scene, ValueReader& reader) {
  scene.SetShowOrbits(reader.ReadBoolean("ShowOrbits"));
  scene.SetShowNames(reader.ReadBoolean("ShowNames"));
  scene.SetShowSun(reader.ReadBoolean("ShowSun"));
  scene.SetShowRotAxis(reader.ReadBoolean("ShowRotAxis"));
  scene.SetShowRotation(reader.ReadBoolean("ShowRotation"));
  scene.SetShowPerpendiculars(reader.ReadBoolean("ShowPerpendiculars"));
  scene.SetShowApsides(reader.ReadBoolean("ShowApsides"));
  scene.SetShowLineOfNodes(reader.ReadBoolean("ShowLineOfNodes"));
}

using TListReader = void (TOEObjectList::*)(ValueReader&);

void ReadAsteroids(TSolarSystem& scene, ValueReader& reader, TListReader read) {
  const TMeaningScope list(reader, "AsteroidsList");
  (scene.AsteroidsList().*read)(reader);
}

}  // namespace

void ReadScene(TSolarSystem& scene, ValueReader& reader) {
  const TMeaningScope block(reader, "scene");
  ReadDate(scene, reader);
  ReadColors(scene, reader);
  ReadMarkingSwitches(scene, reader);
  scene.SetShowSatellites(reader.ReadBoolean("ShowSatellites"));
  scene.SetShowDirections(reader.ReadBoolean("ShowDirections"));
  ReadView(scene, reader);
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    const TMeaningScope planetScope = PlanetScope(reader, scene, i);
    TPlanet& planet = scene.Planet(i);
    planet.Visible = reader.ReadBoolean("Visible");
    scene.SetObjectColor(i, ReadColor(reader, "Color"));
    SkipVector(reader);
    // The count is the file's: a satellite beyond the planet's last raises EListError.
    const int32_t n = reader.ReadInteger("Satellites.Count");
    for (int32_t j = 0; j < n; ++j) {
      TSatellite& sat = planet.Satellites.Get(j);
      const TMeaningScope satScope(reader, [&] { return sat.Name; });
      sat.Visible = reader.ReadBoolean("Visible");
      sat.Color = ReadColor(reader, "Color");
      SkipVector(reader);
    }
  }
  {
    const TMeaningScope lines(reader, "DirectionList");
    scene.DirectionList().ReadList(reader);
  }
  ReadAsteroids(scene, reader, &TOEObjectList::ReadList);
  scene.SetObjectColor(kMinorBodyColorIndex, ReadColor(reader, "MinorBodyColor"));
  // Every satellite takes this colour, replacing the ones read above.
  scene.SetObjectColor(kSatelliteColorIndex, ReadColor(reader, "SatelliteColor"));
  scene.Recompute();
  scene.Repaint();
}

void ReadScene15(TSolarSystem& scene, ValueReader& reader) {
  const TMeaningScope block(reader, "scene");
  ReadDate(scene, reader);
  ReadColors(scene, reader);
  ReadMarkingSwitches(scene, reader);
  scene.SetShowSatellites(true);
  ReadView(scene, reader);
  ReadPlanetFlagsAndColors(scene, reader);
  ReadAsteroids(scene, reader, &TOEObjectList::ReadList15);
  scene.SetObjectColor(kMinorBodyColorIndex, ReadColor(reader, "MinorBodyColor"));
  scene.SetObjectColor(kSatelliteColorIndex, kDefaultSatelliteColor);
  scene.Repaint();
}

void ReadScene10(TSolarSystem& scene, ValueReader& reader) {
  const TMeaningScope block(reader, "scene");
  const TColor grid = ReadColor(reader, "GridColor");
  scene.SetGridColor(grid);
  scene.SetBgColor(0x000000);
  scene.SetSunColor(0x00FFFF);
  scene.SetPerpendicularColor(grid);
  scene.SetAxesColor(grid);
  ReadDate(scene, reader);
  scene.SetShowOrbits(reader.ReadBoolean("ShowOrbits"));
  scene.SetShowNames(reader.ReadBoolean("ShowNames"));
  scene.SetShowSun(true);
  scene.SetShowRotAxis(false);
  scene.SetShowRotation(false);
  scene.SetShowPerpendiculars(false);
  scene.SetShowApsides(false);
  scene.SetShowLineOfNodes(false);
  scene.SetShowSatellites(true);
  ReadView(scene, reader);
  ReadPlanetFlagsAndColors(scene, reader);
  ReadAsteroids(scene, reader, &TOEObjectList::ReadList10);
  scene.SetObjectColor(kMinorBodyColorIndex, ReadColor(reader, "MinorBodyColor"));
  scene.SetObjectColor(kSatelliteColorIndex, kDefaultSatelliteColor);
  scene.Repaint();
}

}  // namespace kestrova
