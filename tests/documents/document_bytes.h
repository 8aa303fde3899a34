// Orbit documents built byte by byte for the tests, straight from the layout tables, without
// the program's ValueWriter: a reader that misplaces a value or misreads a tag meets bytes it
// did not write itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::testing {

// Tagged values: Int8/Int16/Int32 (2, 3, 4) by the narrowest range, False 8, True 9,
// Extended 5 with the ten bytes of the x87 format, String 6 for short ASCII.
class TValueBytes {
 public:
  TValueBytes& Int(int32_t v) {
    if (v >= -128 && v <= 127) {
      Tag(2).Le(static_cast<uint32_t>(v), 1);
    } else if (v >= -32768 && v <= 32767) {
      Tag(3).Le(static_cast<uint32_t>(v), 2);
    } else {
      Tag(4).Le(static_cast<uint32_t>(v), 4);
    }
    return *this;
  }
  TValueBytes& Bool(bool v) { return Tag(v ? 9 : 8); }
  TValueBytes& Float(long double v) {
    static_assert(sizeof(long double) >= 10);
    uint8_t raw[sizeof(long double)] = {};
    std::memcpy(raw, &v, sizeof v);
    Tag(5);
    bytes_.insert(bytes_.end(), raw, raw + 10);
    return *this;
  }
  TValueBytes& Str(std::string_view ascii) {
    Tag(6).Le(static_cast<uint32_t>(ascii.size()), 1);
    bytes_.insert(bytes_.end(), ascii.begin(), ascii.end());
    return *this;
  }
  TValueBytes& Raw(std::initializer_list<uint8_t> raw) {
    bytes_.insert(bytes_.end(), raw);
    return *this;
  }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }

 private:
  TValueBytes& Tag(uint8_t t) {
    bytes_.push_back(t);
    return *this;
  }
  TValueBytes& Le(uint32_t v, int n) {
    for (int i = 0; i < n; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  std::vector<uint8_t> bytes_;
};

inline void SaveBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> LoadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---- The sample document ------------------------------------------------------------------
// Values chosen apart from the scene's defaults and across the three Integer widths.

inline constexpr long double kSampleJD = 2451545.25L;  // 01.01.2000 18:00 UT
inline constexpr uint32_t kSampleGrid = 0x00102030;    // Int32
inline constexpr uint32_t kSampleBg = 0x20;            // Int8
inline constexpr uint32_t kSampleSun = 0x4321;         // Int16
inline constexpr uint32_t kSamplePerpendicular = 0x00FF00FF;
inline constexpr uint32_t kSampleAxes = 0x7F;
// ShowOrbits .. ShowDirections in the order of the current form.
inline constexpr bool kSampleSwitches[10] = {false, true, false, true,  true,
                                             false, true, true,  false, false};
inline constexpr int32_t kSampleGridMode = 1;
inline constexpr long double kSampleDim = 7.5L;
inline constexpr int32_t kSampleCenter = 4;
inline constexpr long double kSampleRot[3] = {10.5L, -20.25L, 30.0L};
inline constexpr int32_t kSamplePlane = 1;
inline constexpr int32_t kSatelliteCounts[9] = {1, 0, 0, 0, 4, 12, 5, 0, 0};
inline uint32_t SamplePlanetColor(int i) {
  return 0x00010040u + 0x00010000u * static_cast<uint32_t>(i);
}
inline bool SamplePlanetVisible(int i) {
  return i % 3 != 1;
}
inline constexpr uint32_t kSampleMinorColor = 0x00C0FFEE;
inline constexpr uint32_t kSampleSatelliteColor = 0x00ABCDEF;
inline constexpr long double kCeresElements[8] = {2451600.5L, 10.58L,   80.39L,   153.9L,
                                                  2.7675L,    0.21408L, 0.07582L, 229.2L};

struct TSampleOptions {
  bool ShowAll = false;
  bool RealTime = false;
  long double Step = 2.5L;
  int32_t Unit = 1;
  std::string Database = "MPC";
  std::string Table = "";
  std::vector<std::string> Description = {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}",
                                          "\\f0\\fs20 Hello \\b world\\b0\\par", "}"};
};

// One object block: Ceres (Id 11), a stored Mars (Id 3) and a body of an unknown Id (42).
inline void SampleObjects(TValueBytes& v, int form /* 16, 15, 10 */) {
  struct Obj {
    const char* name;
    uint32_t color;
    bool visible;
    int32_t id;
  };
  const Obj objs[] = {
      {"Ceres", 0x0000FF00, false, 11}, {"Mars", 0x123456, true, 3}, {"Ghost", 0x1, true, 42}};
  const int n = form == 10 ? 1 : 3;  // the 1.0 form has no Id: every body is a minor body
  v.Int(n);
  for (int k = 0; k < n; ++k) {
    v.Str(objs[k].name).Int(static_cast<int32_t>(objs[k].color)).Bool(objs[k].visible);
    if (form != 10) v.Int(objs[k].id);
    for (long double e : kCeresElements) v.Float(e);
    if (form == 16) v.Float(1.25L).Float(-2.5L).Float(0.125L);
  }
}

inline void SampleView(TValueBytes& v) {
  v.Int(kSampleGridMode).Float(kSampleDim).Int(kSampleCenter);
  for (long double r : kSampleRot) v.Float(r);
  v.Int(kSamplePlane);
}

inline void SampleSceneCurrent(TValueBytes& v) {
  v.Float(kSampleJD);
  for (uint32_t c : {kSampleGrid, kSampleBg, kSampleSun, kSamplePerpendicular, kSampleAxes})
    v.Int(static_cast<int32_t>(c));
  for (bool b : kSampleSwitches) v.Bool(b);
  SampleView(v);
  for (int i = 0; i < 9; ++i) {
    v.Bool(SamplePlanetVisible(i)).Int(static_cast<int32_t>(SamplePlanetColor(i)));
    v.Float(i * 1.5L).Float(-i * 0.5L).Float(0.0L);
    v.Int(kSatelliteCounts[i]);
    for (int j = 0; j < kSatelliteCounts[i]; ++j)
      v.Bool(j % 2 == 1).Int(0x0A0B0C + j).Float(0.001L).Float(0.002L).Float(-0.003L);
  }
  // Two user-defined lines: Mars to the Sun, visible; Earth to Saturn, hidden.
  v.Int(2).Int(3).Int(9).Int(0x0000FF).Bool(true).Int(0).Int(5).Int(0x00FF00).Bool(false);
  SampleObjects(v, 16);
  v.Int(static_cast<int32_t>(kSampleMinorColor)).Int(static_cast<int32_t>(kSampleSatelliteColor));
}

inline void SamplePlanetFlagsAndColors(TValueBytes& v) {
  for (int i = 0; i < 9; ++i) v.Bool(SamplePlanetVisible(i));
  for (int i = 0; i < 9; ++i) v.Int(static_cast<int32_t>(SamplePlanetColor(i)));
}

inline void SampleScene15(TValueBytes& v) {
  v.Float(kSampleJD);
  for (uint32_t c : {kSampleGrid, kSampleBg, kSampleSun, kSamplePerpendicular, kSampleAxes})
    v.Int(static_cast<int32_t>(c));
  for (int i = 0; i < 8; ++i) v.Bool(kSampleSwitches[i]);
  SampleView(v);
  SamplePlanetFlagsAndColors(v);
  SampleObjects(v, 15);
  v.Int(static_cast<int32_t>(kSampleMinorColor));
}

inline void SampleScene10(TValueBytes& v) {
  v.Int(static_cast<int32_t>(kSampleGrid)).Float(kSampleJD);
  v.Bool(kSampleSwitches[0]).Bool(kSampleSwitches[1]);
  SampleView(v);
  SamplePlanetFlagsAndColors(v);
  SampleObjects(v, 10);
  v.Int(static_cast<int32_t>(kSampleMinorColor));
}

inline constexpr uint32_t kSampleDescriptionColor = 0x00E0F0FF;

// The values after the scene block of versions 1.5 and 1.6.
inline void SampleMainWindow(TValueBytes& v, const TSampleOptions& o) {
  v.Bool(o.ShowAll).Bool(o.RealTime).Float(o.Step).Int(o.Unit);
  v.Bool(true).Str("Jupiter");
  v.Int(static_cast<int32_t>(kSampleDescriptionColor)).Bool(true);
  v.Str(o.Database).Str(o.Table);
  v.Int(static_cast<int32_t>(o.Description.size()));
  for (const std::string& line : o.Description) v.Str(line);
}

inline std::vector<uint8_t> SampleV16(const TSampleOptions& o = {}) {
  TValueBytes v;
  v.Str("kv v1.6");
  SampleSceneCurrent(v);
  SampleMainWindow(v, o);
  return v.Bytes();
}

inline std::vector<uint8_t> SampleV15(const TSampleOptions& o = {}) {
  TValueBytes v;
  v.Str("kv v1.5");
  SampleScene15(v);
  SampleMainWindow(v, o);
  return v.Bytes();
}

// Version 1.0: window geometry among the values, no real time, no description block.
inline std::vector<uint8_t> SampleV10(const TSampleOptions& o = {}) {
  TValueBytes v;
  SampleScene10(v);
  v.Int(10).Int(20).Int(800).Int(600);
  v.Bool(o.ShowAll).Float(o.Step).Int(o.Unit);
  v.Bool(true).Int(700).Int(50).Str("Jupiter");
  v.Int(600).Int(100).Int(300).Int(250);
  v.Int(static_cast<int32_t>(kSampleDescriptionColor)).Bool(true);
  v.Str(o.Database).Str(o.Table);
  return v.Bytes();
}

}  // namespace kestrova::testing
