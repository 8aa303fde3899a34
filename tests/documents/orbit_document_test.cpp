// Orbit documents: version detection, the three readers against byte-built documents, the
// conversion question, and a writer that never loses the previous document.
#include "documents/orbit_document.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/table_store.h"
#include "documents/document_bytes.h"
#include "numerics/date_text.h"
#include "scene/solar_system.h"
#include "streams/value_stream.h"
#include "support/fifos_and_devices.h"
#include "support/scene_date.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::LoadBytes;
using testing::SaveBytes;
using testing::TSampleOptions;
using testing::TValueBytes;

// A main window that writes down every call in order. Its data file opens when its table is
// one of `tables`; "Show all objects" fails on a closed data file as the table engine does.
class TRecordingHost : public TDocumentHost {
 public:
  std::vector<std::string> log;
  std::set<std::string> tables;
  bool answer = false;
  bool failDescription = false;
  std::vector<std::string> questions;
  std::vector<std::string> errors;
  std::vector<std::string> description = {"{\\rtf1 x}"};

  std::string database = "MPC", table;
  bool open = false;
  // The data file opens but its rows cannot be read.
  bool damaged = false;

  void SetRealTime(bool on) override {
    TDocumentHost::SetRealTime(on);
    Log("RealTime", on);
  }
  void SetTimeStep(Extended value, int32_t u) override {
    TDocumentHost::SetTimeStep(value, u);
    log.push_back("TimeStep " + FormatGeneral(value) + " " + std::to_string(u));
  }
  void SetMonitorVisible(bool v) override {
    TDocumentHost::SetMonitorVisible(v);
    Log("MonitorVisible", v);
  }
  void SetMonitorPosition(int32_t l, int32_t t) override {
    TDocumentHost::SetMonitorPosition(l, t);
    log.push_back(Format("MonitorPosition %d %d", l, t));
  }
  void RefreshMonitor() override { log.push_back("RefreshMonitor"); }
  void SelectMonitorBody(const std::string& name) override {
    TDocumentHost::SelectMonitorBody(name);
    log.push_back("MonitorBody " + name);
  }
  void SetDescriptionColor(TColor c) override {
    TDocumentHost::SetDescriptionColor(c);
    log.push_back(Format("DescriptionColor %06X", c));
  }
  void SetDescriptionVisible(bool v) override {
    TDocumentHost::SetDescriptionVisible(v);
    Log("DescriptionVisible", v);
  }
  void SetDescriptionGeometry(const TWindowGeometry& g) override {
    TDocumentHost::SetDescriptionGeometry(g);
    log.push_back(Format("DescriptionGeometry %d %d %d %d", g.Left, g.Top, g.Width, g.Height));
  }
  void ClearDescription() override {
    description.clear();
    TDocumentHost::SetDescriptionVisible(false);
    log.push_back("ClearDescription");
  }
  void WriteDescription(ValueWriter& writer) override {
    if (failDescription) throw EWriteError();
    writer.WriteInteger(static_cast<int32_t>(description.size()));
    for (const std::string& line : description) writer.WriteString(line);
  }
  void ReadDescription(ValueReader& reader) override {
    const int32_t n = reader.ReadInteger();
    for (int32_t i = 0; i < n; ++i) description.push_back(reader.ReadString());
    log.push_back("Description " + std::to_string(n));
  }
  void LoadDescriptionFile(const std::string& path) override {
    log.push_back("LoadDescriptionFile " + fs::path(path).filename().string());
  }
  void SetMainWindowGeometry(const TWindowGeometry& g) override {
    TDocumentHost::SetMainWindowGeometry(g);
    log.push_back(Format("MainWindow %d %d %d %d", g.Left, g.Top, g.Width, g.Height));
  }
  std::string DatabaseName() const override { return database; }
  std::string TableName() const override { return table; }
  void CloseDataFile() override {
    open = false;
    log.push_back("CloseDataFile");
  }
  void SetDataFileNames(const std::string& d, const std::string& t) override {
    database = d;
    table = t;
    log.push_back("DataFile " + d + "|" + t);
  }
  bool OpenDataFile() override {
    open = tables.count(table) > 0;
    Log("OpenDataFile", open);
    return open;
  }
  void SetShowAllObjects(bool p) override {
    TDocumentHost::SetShowAllObjects(p);
    Log("ShowAllObjects", p);
  }
  void RunShowAllObjects() override {
    log.push_back("RunShowAllObjects");
    if (State().ShowAllObjects && !open) throw ETableError("Table is not open", table);
    if (State().ShowAllObjects && damaged) throw ETableError("rows cannot be read", table);
  }
  void ShowDate(const TDateRec& d) override {
    log.push_back("ShowDate " + DateText(d) + " " + TimeText(d, 0));
  }
  void UpdateControls() override { log.push_back("UpdateControls"); }
  void SetDocumentPath(const std::string& path) override {
    TDocumentHost::SetDocumentPath(path);
    log.push_back("DocumentPath " + fs::path(path).filename().string());
  }
  bool AskYesNo(const std::string& q) override {
    questions.push_back(q);
    return answer;
  }
  void ShowError(const std::string& message) override { errors.push_back(message); }

 private:
  void Log(const char* what, bool v) { log.push_back(std::string(what) + " " + (v ? "1" : "0")); }
};

class OrbitDocumentTest : public testing::TempHome {
 protected:
  std::string Save(const std::string& name, const std::vector<uint8_t>& bytes) {
    const fs::path p = root_ / name;
    SaveBytes(p, bytes);
    return p.string();
  }
  std::vector<std::string> FolderContents(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  TSolarSystem scene_{TestStartDate()};
  TRecordingHost host_;
};

bool EndsWith(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& tail) {
  return bytes.size() >= tail.size() &&
         std::equal(tail.begin(), tail.end(), bytes.end() - static_cast<ptrdiff_t>(tail.size()));
}

// The view values every form carries.
void ExpectSampleView(const TSolarSystem& s) {
  EXPECT_EQ(DateToJD(s.SceneDate()), testing::kSampleJD);
  EXPECT_EQ(s.GridColor(), testing::kSampleGrid);
  EXPECT_EQ(s.GridMode(), testing::kSampleGridMode);
  EXPECT_EQ(s.Dim(), testing::kSampleDim);
  EXPECT_EQ(s.CenterObject(), testing::kSampleCenter);
  EXPECT_NEAR(s.RotX(), testing::kSampleRot[0], 1e-12L);
  EXPECT_NEAR(s.RotY(), testing::kSampleRot[1], 1e-12L);
  EXPECT_NEAR(s.RotZ(), testing::kSampleRot[2], 1e-12L);
  EXPECT_EQ(s.Plane(), TPlane::XZ);
  EXPECT_EQ(s.ShowOrbits(), testing::kSampleSwitches[0]);
  EXPECT_EQ(s.ShowNames(), testing::kSampleSwitches[1]);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(s.Planet(i).Visible, testing::SamplePlanetVisible(i)) << i;
    EXPECT_EQ(s.GetObjectColor(i), testing::SamplePlanetColor(i)) << i;
    EXPECT_EQ(s.Planet(i).Color, testing::SamplePlanetColor(i)) << i;
  }
  EXPECT_EQ(s.GetObjectColor(kMinorBodyColorIndex), testing::kSampleMinorColor);
  // Ceres comes back visible, with its elements, whatever its stored visibility.
  ASSERT_GE(s.AsteroidsList().Count(), 1);
  const TOEObject& ceres = s.AsteroidsList().Get(0);
  EXPECT_EQ(ceres.Name, "Ceres");
  EXPECT_EQ(ceres.Id, kMinorBodyId);
  EXPECT_TRUE(ceres.Visible);
  EXPECT_EQ(ceres.Elements.SemiMajorAxis, testing::kCeresElements[4]);
  EXPECT_EQ(ceres.Elements.MeanLongitude, testing::kCeresElements[7]);
  // Positions are recomputed, not taken from the file.
  EXPECT_NE(ceres.Pos.x, 1.25L);
}

// The calls of the values after the scene block of the sample (1.5 and 1.6).
std::vector<std::string> SampleLogAfterScene(const std::string& fallback) {
  std::vector<std::string> log;
  log.insert(log.end(),
             {"TimeStep 2.5 1", "MonitorVisible 1", "RefreshMonitor", "MonitorBody Jupiter",
              "DescriptionColor E0F0FF", "DescriptionVisible 1", "CloseDataFile", "DataFile MPC|",
              "OpenDataFile 0", fallback, "ShowAllObjects 0", "RunShowAllObjects"});
  return log;
}

TEST_F(OrbitDocumentTest, Version16ReadValueByValue) {
  const std::string path = Save("sample.orb", testing::SampleV16());
  const TOpenResult r = OpenDocument(path, scene_, host_);
  EXPECT_EQ(r.Version, TDocumentVersion::V16);
  EXPECT_TRUE(r.Read);
  EXPECT_TRUE(host_.errors.empty());
  EXPECT_TRUE(host_.questions.empty());

  ExpectSampleView(scene_);
  EXPECT_EQ(scene_.BgColor(), testing::kSampleBg);
  EXPECT_EQ(scene_.SunColor(), testing::kSampleSun);
  EXPECT_EQ(scene_.PerpendicularColor(), testing::kSamplePerpendicular);
  EXPECT_EQ(scene_.AxesColor(), testing::kSampleAxes);
  EXPECT_EQ(scene_.ShowSun(), testing::kSampleSwitches[2]);
  EXPECT_EQ(scene_.ShowRotAxis(), testing::kSampleSwitches[3]);
  EXPECT_EQ(scene_.ShowRotation(), testing::kSampleSwitches[4]);
  EXPECT_EQ(scene_.ShowPerpendiculars(), testing::kSampleSwitches[5]);
  EXPECT_EQ(scene_.ShowApsides(), testing::kSampleSwitches[6]);
  EXPECT_EQ(scene_.ShowLineOfNodes(), testing::kSampleSwitches[7]);
  EXPECT_EQ(scene_.ShowSatellites(), testing::kSampleSwitches[8]);
  EXPECT_EQ(scene_.ShowDirections(), testing::kSampleSwitches[9]);
  // Satellites keep their own visibility; their colour is the one of ObjectColors[12].
  const TPlanet& saturn = scene_.Planet(kSaturn);
  for (int j = 0; j < saturn.Satellites.Count(); ++j) {
    EXPECT_EQ(saturn.Satellites.Get(j).Visible, j % 2 == 1) << j;
    EXPECT_EQ(saturn.Satellites.Get(j).Color, testing::kSampleSatelliteColor) << j;
  }
  ASSERT_EQ(scene_.DirectionList().Count(), 2);
  EXPECT_EQ(scene_.DirectionList().Get(0).FromId, 3);
  EXPECT_EQ(scene_.DirectionList().Get(0).ToId, 9);
  EXPECT_FALSE(scene_.DirectionList().Get(1).Visible);
  EXPECT_EQ(scene_.DirectionList().Get(1).Color, 0x00FF00u);
  // The stored Mars comes back as the standard Mars, Id 42 is dropped, and the minor-body
  // colour read after the list recolours every picked body.
  ASSERT_EQ(scene_.AsteroidsList().Count(), 2);
  EXPECT_EQ(scene_.AsteroidsList().Get(1).Id, kMars);
  EXPECT_EQ(scene_.AsteroidsList().Get(1).Color, testing::kSampleMinorColor);

  std::vector<std::string> expected = {"ClearDescription", "RealTime 0"};
  for (const std::string& s : SampleLogAfterScene("DataFile MPC|")) expected.push_back(s);
  expected.insert(expected.end(), {"Description 3", "ShowDate 01.01.2000 18:00:00",
                                   "DocumentPath sample.orb", "UpdateControls"});
  EXPECT_EQ(host_.log, expected);
  EXPECT_EQ(host_.description,
            (std::vector<std::string>{"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}",
                                      "\\f0\\fs20 Hello \\b world\\b0\\par", "}"}));
}

TEST_F(OrbitDocumentTest, Version15ReadValueByValue) {
  // The lines and ShowDirections of the scene are not touched by a 1.5 document.
  scene_.DirectionList().Add(std::make_unique<TDirection>(1, 0x42, 2));
  scene_.SetShowDirections(false);
  const std::string path = Save("old.orb", testing::SampleV15());
  const TOpenResult r = OpenDocument(path, scene_, host_);
  EXPECT_EQ(r.Version, TDocumentVersion::V15);
  EXPECT_TRUE(r.Read);

  ExpectSampleView(scene_);
  EXPECT_EQ(scene_.SunColor(), testing::kSampleSun);
  EXPECT_EQ(scene_.ShowLineOfNodes(), testing::kSampleSwitches[7]);
  EXPECT_TRUE(scene_.ShowSatellites());
  EXPECT_FALSE(scene_.ShowDirections());
  ASSERT_EQ(scene_.DirectionList().Count(), 1);
  EXPECT_EQ(scene_.GetObjectColor(kSatelliteColorIndex), kDefaultSatelliteColor);
  EXPECT_EQ(scene_.AsteroidsList().Count(), 2);
  // Recomputed after the block: Ceres has a position (the 1.5 form stores none).
  EXPECT_NE(scene_.AsteroidsList().Get(0).Pos.x, 0.0L);

  std::vector<std::string> expected = {"ClearDescription", "RealTime 0"};
  for (const std::string& s : SampleLogAfterScene("DataFile MPC|")) expected.push_back(s);
  expected.insert(expected.end(), {"Description 3", "ShowDate 01.01.2000 18:00:00",
                                   "DocumentPath old.orb", "UpdateControls"});
  EXPECT_EQ(host_.log, expected);
  ASSERT_EQ(host_.questions.size(), 1u);
  EXPECT_EQ(host_.questions[0],
            "This file was written by version 1.5 of Kestrova.\r\n"
            "Convert the file to the current file format?");
}

TEST_F(OrbitDocumentTest, Version10ReadValueByValue) {
  const std::string path = Save("ancient.orb", testing::SampleV10({.Table = "gone.db"}));
  const TOpenResult r = OpenDocument(path, scene_, host_);
  EXPECT_EQ(r.Version, TDocumentVersion::V10);
  EXPECT_TRUE(r.Read);
  EXPECT_EQ(host_.errors, std::vector<std::string>{"Cannot open data file gone.db."});

  ExpectSampleView(scene_);
  EXPECT_EQ(scene_.BgColor(), 0x000000u);
  EXPECT_EQ(scene_.SunColor(), 0x00FFFFu);
  EXPECT_EQ(scene_.PerpendicularColor(), testing::kSampleGrid);
  EXPECT_EQ(scene_.AxesColor(), testing::kSampleGrid);
  EXPECT_TRUE(scene_.ShowSun());
  EXPECT_FALSE(scene_.ShowApsides());
  EXPECT_EQ(scene_.AsteroidsList().Count(), 1);

  // No real time; a missing data file keeps its names and is reported on its own.
  const std::vector<std::string> expected = {"ClearDescription",
                                             "MainWindow 10 20 800 600",
                                             "TimeStep 2.5 1",
                                             "MonitorVisible 1",
                                             "MonitorPosition 700 50",
                                             "RefreshMonitor",
                                             "MonitorBody Jupiter",
                                             "DescriptionGeometry 600 100 300 250",
                                             "DescriptionColor E0F0FF",
                                             "DescriptionVisible 1",
                                             "CloseDataFile",
                                             "DataFile MPC|gone.db",
                                             "OpenDataFile 0",
                                             "ShowAllObjects 0",
                                             "RunShowAllObjects",
                                             "LoadDescriptionFile ancient.rtf",
                                             "ShowDate 01.01.2000 18:00:00",
                                             "DocumentPath ancient.orb",
                                             "UpdateControls"};
  EXPECT_EQ(host_.log, expected);
  ASSERT_EQ(host_.questions.size(), 1u);
  EXPECT_EQ(host_.questions[0],
            "This file was written by version 1.0 or 1.1 of Kestrova.\r\n"
            "Convert the file to the current file format?");
}

TEST_F(OrbitDocumentTest, VersionDetection) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    TDocumentVersion version;
  };
  const Case cases[] = {
      {"trailing blanks", TValueBytes().Str("kv v1.6  \t").Bytes(), TDocumentVersion::V16},
      {"blanks and controls", TValueBytes().Str("\r\n kv v1.5\x01").Bytes(), TDocumentVersion::V15},
      {"other version", TValueBytes().Str("kv v1.7").Bytes(), TDocumentVersion::Unknown},
      {"other case", TValueBytes().Str("KV V1.6").Bytes(), TDocumentVersion::Unknown},
      {"empty string", TValueBytes().Str("").Bytes(), TDocumentVersion::Unknown},
      {"empty file", {}, TDocumentVersion::V10},
      {"an Integer first", TValueBytes().Int(0x102030).Bytes(), TDocumentVersion::V10},
      {"a cut string", TValueBytes().Raw({6, 7, 'k', 'v'}).Bytes(), TDocumentVersion::V10},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectDocumentVersion(Save("d.orb", c.bytes)), c.version) << c.what;
  }
  EXPECT_THROW(
      {
        try {
          DetectDocumentVersion((root_ / "none.orb").string());
        } catch (const EKestrovaError& e) {
          EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + (root_ / "none.orb").string() +
                                               "\". No such file or directory");
          throw;
        }
      },
      EKestrovaError);
  EXPECT_THROW(OpenDocument(root_.string(), scene_, host_), EKestrovaError);
  EXPECT_TRUE(host_.log.empty());
}

TEST_F(OrbitDocumentTest, AHugeFirstStringFromAPipeIsNotKept) {
  // From a pipe (a stream of unknown length), a first string that claims 4 GB is not read:
  // what the detection reads, and keeps for the reader after it, stays within 64 KB and a block.
  std::string pipe("\x0C\xF0\xFF\xFF\xFF", 5);
  pipe += std::string(1 << 20, ' ') + "kv v1.6";
  std::istringstream in(pipe);
  IStreamSource stream(in);
  EXPECT_EQ(DetectDocumentVersion(stream), TDocumentVersion::V10);
  EXPECT_LE(in.tellg(), 64 * 1024 + 4096);
  // Read by OpenDocument, such a document fails at its first value with the reader's message.
  std::istringstream again(pipe);
  IStreamSource source(again);
  const TOpenResult r = OpenDocument(source, "/dev/stdin", scene_, host_);
  EXPECT_EQ(r.Version, TDocumentVersion::V10);
  EXPECT_FALSE(r.Read);
  EXPECT_EQ(host_.errors, std::vector<std::string>{"Error reading file /dev/stdin."});
}

TEST_F(OrbitDocumentTest, ForeignAndEmptyFiles) {
  // A foreign first string: nothing happens, silently.
  const std::string foreign = Save("foreign.orb", TValueBytes().Str("hello").Int(5).Bytes());
  EXPECT_EQ(OpenDocument(foreign, scene_, host_).Version, TDocumentVersion::Unknown);
  EXPECT_TRUE(host_.log.empty());
  EXPECT_TRUE(host_.errors.empty());
  EXPECT_EQ(scene_.Dim(), 2);

  // An empty file is a 1.0 document that fails at once; the question is not asked.
  const std::string empty = Save("empty.orb", {});
  const TOpenResult r = OpenDocument(empty, scene_, host_);
  EXPECT_EQ(r.Version, TDocumentVersion::V10);
  EXPECT_FALSE(r.Read);
  EXPECT_EQ(host_.errors, std::vector<std::string>{"Error reading file " + empty + "."});
  EXPECT_TRUE(host_.questions.empty());
  EXPECT_EQ(host_.log, (std::vector<std::string>{"ClearDescription", "UpdateControls"}));
}

TEST_F(OrbitDocumentTest, DamagedDocumentKeepsWhatWasRead) {
  // Cut inside the description block: everything before it is applied.
  std::vector<uint8_t> bytes = testing::SampleV16({.Step = -0.75L});
  bytes.resize(bytes.size() - 4);
  const std::string path = Save("cut.orb", bytes);
  EXPECT_FALSE(OpenDocument(path, scene_, host_).Read);
  EXPECT_EQ(host_.errors, std::vector<std::string>{"Error reading file " + path + "."});
  EXPECT_EQ(scene_.Dim(), testing::kSampleDim);
  EXPECT_EQ(host_.State().TimeStep, -0.75L);
  EXPECT_EQ(host_.State().MonitorBody, "Jupiter");
  // Neither the date nor the path is shown; the controls follow the scene all the same.
  for (const std::string& entry : host_.log) {
    EXPECT_NE(entry.rfind("ShowDate", 0), 0u);
    EXPECT_NE(entry.rfind("DocumentPath", 0), 0u);
  }
  EXPECT_EQ(host_.log.back(), "UpdateControls");
}

TEST_F(OrbitDocumentTest, ShowAllObjectsWithUnusableDataFileReadsOn) {
  // A data file that is missing, or that opens but whose rows cannot be read, is reported on
  // its own; the rest of the document is read, the names stay, the button is released, and
  // the document written keeps "Show all objects" on with the same names.
  struct Case {
    std::vector<uint8_t> bytes;
    bool there;
    const char* reason;
    const char* after;  // a call that comes after the data file's action
  };
  const Case cases[] = {
      {testing::SampleV16({.ShowAll = true, .Table = "gone.db"}), false, "gone.db.",
       "Description 3"},
      {testing::SampleV10({.ShowAll = true, .Table = "gone.db"}), false, "gone.db.",
       "LoadDescriptionFile all.rtf"},
      {testing::SampleV16({.ShowAll = true, .Table = "gone.db"}), true,
       "gone.db: rows cannot be read", "Description 3"},
  };
  for (const Case& c : cases) {
    TRecordingHost host;
    if (c.there) host.tables = {"gone.db"};
    host.damaged = c.there;
    const std::string path = Save("all.orb", c.bytes);
    EXPECT_TRUE(OpenDocument(path, scene_, host).Read);
    EXPECT_EQ(host.errors,
              std::vector<std::string>{std::string("Cannot open data file ") + c.reason});
    EXPECT_EQ(host.database, "MPC");
    EXPECT_EQ(host.table, "gone.db");
    EXPECT_FALSE(host.State().ShowAllObjects);
    const auto at = std::find(host.log.begin(), host.log.end(), "RunShowAllObjects");
    ASSERT_NE(at, host.log.end());
    EXPECT_NE(std::find(at, host.log.end(), c.after), host.log.end());
    EXPECT_EQ(host.log.back(), "UpdateControls");

    const std::string out = (root_ / "out.orb").string();
    ASSERT_TRUE(WriteDocument(out, scene_, host));
    TRecordingHost again;
    again.tables = {"gone.db"};
    EXPECT_TRUE(OpenDocument(out, scene_, again).Read);
    EXPECT_TRUE(again.errors.empty());
    EXPECT_TRUE(again.State().ShowAllObjects);
    EXPECT_EQ(again.table, "gone.db");
  }
  // Pressing or releasing the button ends the wait: the document then stores the button.
  TRecordingHost host;
  ASSERT_TRUE(OpenDocument(Save("all.orb", cases[0].bytes), scene_, host).Read);
  host.SetShowAllObjects(false);
  const std::string out = (root_ / "out.orb").string();
  ASSERT_TRUE(WriteDocument(out, scene_, host));
  TRecordingHost again;
  again.tables = {"gone.db"};
  ASSERT_TRUE(OpenDocument(out, scene_, again).Read);
  EXPECT_FALSE(again.State().ShowAllObjects);
}

TEST_F(OrbitDocumentTest, UnitCodesKeptAsStored) {
  // 2 and 4..8 have no control, 10 comes only from documents; only the low 8 bits count.
  const int32_t stored[] = {0, 2, 4, 5, 6, 7, 8, 10, 0x104, -253};
  const int32_t kept[] = {0, 2, 4, 5, 6, 7, 8, 10, 4, 3};
  for (size_t k = 0; k < std::size(stored); ++k) {
    TRecordingHost host;
    const std::string in = Save("in.orb", testing::SampleV16({.Unit = stored[k]}));
    ASSERT_TRUE(ReadDocumentV16(in, scene_, host)) << stored[k];
    EXPECT_EQ(host.State().TimeUnit, kept[k]);
    const std::string out = (root_ / "out.orb").string();
    ASSERT_TRUE(WriteDocument(out, scene_, host));
    // The writer's tail after the scene, byte by byte.
    TValueBytes tail;
    tail.Bool(false).Bool(false).Float(2.5L).Int(kept[k]).Bool(true).Str("Jupiter");
    tail.Int(static_cast<int32_t>(testing::kSampleDescriptionColor)).Bool(true);
    tail.Str("MPC").Str("").Int(3);
    tail.Str("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}").Str("\\f0\\fs20 Hello \\b world\\b0\\par");
    tail.Str("}");
    EXPECT_TRUE(EndsWith(LoadBytes(out), tail.Bytes())) << stored[k];
  }
}

TEST_F(OrbitDocumentTest, ConversionQuestion) {
  struct Case {
    std::vector<uint8_t> bytes;
    bool answer;
  };
  const Case cases[] = {{testing::SampleV15(), true},
                        {testing::SampleV15(), false},
                        {testing::SampleV10(), true},
                        {testing::SampleV10(), false}};
  for (const Case& c : cases) {
    TSolarSystem scene{TestStartDate()};
    TRecordingHost host;
    host.answer = c.answer;
    const std::string path = Save("conv.orb", c.bytes);
    ASSERT_TRUE(OpenDocument(path, scene, host).Read);
    ASSERT_EQ(host.questions.size(), 1u);
    if (!c.answer) {
      EXPECT_EQ(LoadBytes(path), c.bytes);
      continue;
    }
    // Rewritten in place as version 1.6 that reads back to the same scene.
    EXPECT_EQ(DetectDocumentVersion(path), TDocumentVersion::V16);
    TSolarSystem again{TestStartDate()};
    TRecordingHost host2;
    ASSERT_TRUE(OpenDocument(path, again, host2).Read);
    ExpectSampleView(again);
    EXPECT_EQ(host2.State().TimeStep, 2.5L);
    EXPECT_EQ(host2.State().MonitorBody, "Jupiter");
    EXPECT_TRUE(host2.questions.empty());
  }
  // A reading that failed is never converted: a Yes would overwrite the file with half of it.
  std::vector<uint8_t> cut = testing::SampleV15();
  cut.resize(cut.size() / 2);
  const std::string path = Save("cut.orb", cut);
  host_.answer = true;
  EXPECT_FALSE(OpenDocument(path, scene_, host_).Read);
  EXPECT_TRUE(host_.questions.empty());
  EXPECT_EQ(LoadBytes(path), cut);
}

TEST_F(OrbitDocumentTest, FailingWriteKeepsTheOldDocument) {
  fs::create_directory(root_ / "w");
  const std::string path = (root_ / "w" / "last.orb").string();
  ASSERT_TRUE(WriteDocument(path, scene_, host_));
  ::chmod(path.c_str(), 0640);
  const std::vector<uint8_t> before = LoadBytes(path);
  ASSERT_FALSE(before.empty());

  // The description fails after the scene has been written: the old file stays whole, and no
  // temporary file is left behind.
  scene_.SetDim(9);
  host_.failDescription = true;
  EXPECT_THROW(WriteDocument(path, scene_, host_), EWriteError);
  EXPECT_EQ(LoadBytes(path), before);
  EXPECT_EQ(FolderContents(root_ / "w"), std::vector<std::string>{"last.orb"});

  // A successful write replaces it and keeps its permissions.
  host_.failDescription = false;
  ASSERT_TRUE(WriteDocument(path, scene_, host_));
  EXPECT_NE(LoadBytes(path), before);
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(FolderContents(root_ / "w"), std::vector<std::string>{"last.orb"});

  // A folder that does not exist: the message, and nothing written.
  const std::string nowhere = (root_ / "no" / "such.orb").string();
  EXPECT_FALSE(WriteDocument(nowhere, scene_, host_));
  EXPECT_EQ(host_.errors, std::vector<std::string>{"Could not create file " + nowhere +
                                                   ". No such file or directory"});
  EXPECT_FALSE(fs::exists(nowhere));
}

TEST_F(OrbitDocumentTest, SpecialFilesAreWrittenInPlaceNeverReplaced) {
  const fs::path folder = root_ / "special";
  fs::create_directory(folder);
  ASSERT_TRUE(WriteDocument((root_ / "regular.orb").string(), scene_, host_));
  const std::vector<uint8_t> expected = LoadBytes(root_ / "regular.orb");

  // A named pipe gets the document and stays a pipe.
  {
    testing::TFifoReader fifo(folder / "pipe.orb");
    ASSERT_TRUE(fifo.Ok());
    ASSERT_TRUE(WriteDocument((folder / "pipe.orb").string(), scene_, host_));
    EXPECT_EQ(std::vector<uint8_t>(fifo.Bytes().begin(), fifo.Bytes().end()), expected);
    EXPECT_TRUE(testing::IsFifo(folder / "pipe.orb"));
  }
  // A folder and a block device are refused with the writer's message.
  fs::create_directory(folder / "dir.orb");
  const bool block = testing::MakeBlockDevice(folder / "disk.orb");
  for (const fs::path& target : {folder / "dir.orb", folder / "disk.orb"}) {
    if (target.filename() == "disk.orb" && !block) continue;
    host_.errors.clear();
    EXPECT_FALSE(WriteDocument(target.string(), scene_, host_));
    EXPECT_EQ(host_.errors,
              std::vector<std::string>{
                  "Could not create file " + target.string() + ". " +
                  (target.filename() == "dir.orb" ? "Is a directory" : "Invalid argument")});
  }
  // Device nodes (root only): the null device swallows the document, the full device fails
  // with the stream's write error; both stay devices.
  if (testing::MakeCharDevice(folder / "null.orb", 1, 3) &&
      testing::MakeCharDevice(folder / "full.orb", 1, 7)) {
    EXPECT_TRUE(WriteDocument((folder / "null.orb").string(), scene_, host_));
    try {
      WriteDocument((folder / "full.orb").string(), scene_, host_);
      ADD_FAILURE() << "no error on the full device";
    } catch (const EWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Stream write error: " + (folder / "full.orb").string() +
                                           ": No space left on device");
    }
    EXPECT_TRUE(testing::IsCharDevice(folder / "null.orb"));
    EXPECT_TRUE(testing::IsCharDevice(folder / "full.orb"));
  } else {
    std::cout << "[ note ] no device nodes here: the device cases were not run\n";
  }
  // No temporary file is left beside any of them.
  for (const std::string& name : FolderContents(folder))
    EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

TEST_F(OrbitDocumentTest, AFullDiskKeepsTheOldDocument) {
  testing::TSmallDisk disk(root_ / "disk", 256);
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs can be mounted here (not root)";
  const std::string path = (root_ / "disk" / "last.orb").string();
  ASSERT_TRUE(WriteDocument(path, scene_, host_));
  const std::vector<uint8_t> before = LoadBytes(path);
  disk.Fill(before.size() / 2);
  scene_.SetDim(9);
  try {
    WriteDocument(path, scene_, host_);
    ADD_FAILURE() << "no error on the full disk";
  } catch (const EWriteError& e) {
    EXPECT_EQ(std::string(e.what()), "Stream write error: " + path + ": No space left on device");
  }
  EXPECT_EQ(LoadBytes(path), before);
  EXPECT_EQ(FolderContents(root_ / "disk"), (std::vector<std::string>{"filler", "last.orb"}));
}

}  // namespace
}  // namespace kestrova
