// The three forms of the scene block.
#include "scene/scene_stream.h"

namespace kestrova {

namespace {

TColor ReadColor(ValueReader& reader) {
  return static_cast<TColor>(reader.ReadInteger());
}

// The date as SetDate(JDToDate(0, jd)). The calendar search is only defined inside the
// program's date range (outside it, and for no number, it would not end).
void ReadDate(TSolarSystem& scene, ValueReader& reader) {
  const Extended jd = reader.ReadFloat();
  if (!(jd >= MinJD && jd <= MaxJD)) throw EInvalidValue();
  scene.SetDate(JDToDate(0, jd));
}

void ReadColors(TSolarSystem& scene, ValueReader& reader) {
  scene.SetGridColor(ReadColor(reader));
  scene.SetBgColor(ReadColor(reader));
  scene.SetSunColor(ReadColor(reader));
  scene.SetPerpendicularColor(ReadColor(reader));
  scene.SetAxesColor(ReadColor(reader));
}

// GridMode, Dim, CenterObject, the three angles and Plane: the same in every form.
void ReadView(TSolarSystem& scene, ValueReader& reader) {
  scene.SetGridMode(reader.ReadInteger());
  scene.SetDim(reader.ReadFloat());
  scene.SetCenterObject(reader.ReadInteger());
  scene.SetRotX(reader.ReadFloat());
  scene.SetRotY(reader.ReadFloat());
  scene.SetRotZ(reader.ReadFloat());
  scene.SetPlane(static_cast<TPlane>(static_cast<uint8_t>(reader.ReadInteger())));
}

// The nine visibility flags, then the nine planet colours (1.5 and 1.0 forms).
void ReadPlanetFlagsAndColors(TSolarSystem& scene, ValueReader& reader) {
  for (int32_t i = kEarth; i <= kPluto; ++i) scene.Planet(i).Visible = reader.ReadBoolean();
  for (int32_t i = kEarth; i <= kPluto; ++i) scene.SetObjectColor(i, ReadColor(reader));
}

void WriteVector(ValueWriter& writer, const TVector& v) {
  writer.WriteFloat(v.x);
  writer.WriteFloat(v.y);
  writer.WriteFloat(v.z);
}

// Stored positions are read past: positions are always recomputed.
void SkipVector(ValueReader& reader) {
  reader.ReadFloat();
  reader.ReadFloat();
  reader.ReadFloat();
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
  scene.SetShowOrbits(reader.ReadBoolean());
  scene.SetShowNames(reader.ReadBoolean());
  scene.SetShowSun(reader.ReadBoolean());
  scene.SetShowRotAxis(reader.ReadBoolean());
  scene.SetShowRotation(reader.ReadBoolean());
  scene.SetShowPerpendiculars(reader.ReadBoolean());
  scene.SetShowApsides(reader.ReadBoolean());
  scene.SetShowLineOfNodes(reader.ReadBoolean());
}

}  // namespace

void ReadScene(TSolarSystem& scene, ValueReader& reader) {
  ReadDate(scene, reader);
  ReadColors(scene, reader);
  ReadMarkingSwitches(scene, reader);
  scene.SetShowSatellites(reader.ReadBoolean());
  scene.SetShowDirections(reader.ReadBoolean());
  ReadView(scene, reader);
  for (int32_t i = kEarth; i <= kPluto; ++i) {
    TPlanet& planet = scene.Planet(i);
    planet.Visible = reader.ReadBoolean();
    scene.SetObjectColor(i, ReadColor(reader));
    SkipVector(reader);
    // The count is the file's: a satellite beyond the planet's last raises EListError.
    const int32_t n = reader.ReadInteger();
    for (int32_t j = 0; j < n; ++j) {
      TSatellite& sat = planet.Satellites.Get(j);
      sat.Visible = reader.ReadBoolean();
      sat.Color = ReadColor(reader);
      SkipVector(reader);
    }
  }
  scene.DirectionList().ReadList(reader);
  scene.AsteroidsList().ReadList(reader);
  scene.SetObjectColor(kMinorBodyColorIndex, ReadColor(reader));
  // Every satellite takes this colour, replacing the ones read above.
  scene.SetObjectColor(kSatelliteColorIndex, ReadColor(reader));
  scene.Recompute();
  scene.Repaint();
}

void ReadScene15(TSolarSystem& scene, ValueReader& reader) {
  ReadDate(scene, reader);
  ReadColors(scene, reader);
  ReadMarkingSwitches(scene, reader);
  scene.SetShowSatellites(true);
  ReadView(scene, reader);
  ReadPlanetFlagsAndColors(scene, reader);
  scene.AsteroidsList().ReadList15(reader);
  scene.SetObjectColor(kMinorBodyColorIndex, ReadColor(reader));
  scene.SetObjectColor(kSatelliteColorIndex, kDefaultSatelliteColor);
  scene.Repaint();
}

void ReadScene10(TSolarSystem& scene, ValueReader& reader) {
  const TColor grid = ReadColor(reader);
  scene.SetGridColor(grid);
  scene.SetBgColor(0x000000);
  scene.SetSunColor(0x00FFFF);
  scene.SetPerpendicularColor(grid);
  scene.SetAxesColor(grid);
  ReadDate(scene, reader);
  scene.SetShowOrbits(reader.ReadBoolean());
  scene.SetShowNames(reader.ReadBoolean());
  scene.SetShowSun(true);
  scene.SetShowRotAxis(false);
  scene.SetShowRotation(false);
  scene.SetShowPerpendiculars(false);
  scene.SetShowApsides(false);
  scene.SetShowLineOfNodes(false);
  scene.SetShowSatellites(true);
  ReadView(scene, reader);
  ReadPlanetFlagsAndColors(scene, reader);
  scene.AsteroidsList().ReadList10(reader);
  scene.SetObjectColor(kMinorBodyColorIndex, ReadColor(reader));
  scene.SetObjectColor(kSatelliteColorIndex, kDefaultSatelliteColor);
  scene.Repaint();
}

}  // namespace kestrova
