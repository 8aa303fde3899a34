// The headless main window: a whole document round trip through the real description, data
// file and "Show all objects", and the data-file cases of old and new documents.
#include "app/headless_host.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/cli_test_support.h"
#include "database/minor_bodies.h"
#include "documents/document_bytes.h"
#include "documents/orbit_document.h"
#include "scene/scene_stream.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;

class HeadlessHostTest : public testing::TempHome {
 protected:
  void SetUp() override {
    TempHome::SetUp();
    const fs::path data = fs::path(KESTROVA_TEST_DATA) / "mpcorb_small.dat";
    const cli::TCliResult r = cli::RunCommand(
        {"import", "--format", "mpcorb", "--table", "small", "--quiet", data.string()});
    ASSERT_EQ(r.status, cli::kOk) << r.err;
  }
  std::ostringstream messages_;
};

// Every row of the data file, in primary-key order, as a plain body of the minor-body colour.
void ExpectFullListOfSmall(const TSolarSystem& scene) {
  std::vector<TMinorBodyRow> rows;
  ReadDataFile(fs::path(getenv("KESTROVA_HOME")) / "MPC" / "small.db",
               [&](const TMinorBodyRow& r) { rows.push_back(r); });
  ASSERT_EQ(rows.size(), 7u);
  const TFullList& full = scene.AsteroidsFullList();
  ASSERT_EQ(full.Count(), 7);
  EXPECT_EQ(full.Color(), scene.GetObjectColor(kMinorBodyColorIndex));
  // Each body where its row's orbit puts it at the scene's date: recomputed by the action.
  for (int i = 0; i < full.Count(); ++i) {
    TOEObject alone("", rows[static_cast<size_t>(i)].Elements, 0, kMinorBodyId);
    alone.Calculate(DateToJD(scene.SceneDate()));
    EXPECT_LT(VecLength(VecSub(ToVector(full.Pos(i)), alone.Pos)), 1e-12L * VecLength(alone.Pos))
        << i;
  }
}

TEST_F(HeadlessHostTest, WholeDocumentRoundTrip) {
  THeadlessHost hostA(messages_, TestStartDate);
  TSolarSystem& a = hostA.Scene();
  a.SetDate(JDToDate(0, 2460000.75L));
  a.SetGridColor(0x123456);
  a.SetBgColor(0x101010);
  a.SetShowApsides(true);
  a.SetShowSatellites(false);
  a.SetDim(0.75L);
  a.SetCenterObject(kSaturn);
  a.SetRotX(15);
  a.SetPlane(TPlane::ZY);
  a.Planet(kVenus).Visible = false;
  a.SetObjectColor(kMars, 0x0000FF);
  a.SetObjectColor(kSatelliteColorIndex, 0x00FF0000);
  a.Planet(kJupiter).Satellites.Get(2).Visible = false;
  a.DirectionList().Add(std::make_unique<TDirection>(0, 0x00FFFF, 8));
  TOrbitalElements el;
  el.Epoch = 2460000.5L;
  el.SemiMajorAxis = 2.5L;
  el.DailyMotion = 0.25L;
  el.Eccentricity = 0.1L;
  a.AsteroidsList().Add(std::make_unique<TAsteroid>("Vesta", el, 0));
  a.SetObjectColor(kMinorBodyColorIndex, 0x00A0B0C0);

  hostA.SetTimeStep(-3.5L, 10);
  hostA.SetMonitorVisible(true);
  hostA.SelectMonitorBody("Vesta");
  hostA.SetDescriptionColor(0x00DDEEFF);
  hostA.SetDescriptionVisible(true);
  QTextCursor cursor(&hostA.Description());
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.insertText("Plain ");
  cursor.insertText("bold", bold);
  QTextBlockFormat centred;
  centred.setAlignment(Qt::AlignHCenter);
  cursor.insertBlock(centred);
  cursor.insertText("centred line");
  hostA.SetDataFileNames("MPC", "small.db");
  ASSERT_TRUE(hostA.OpenDataFile());
  hostA.SetShowAllObjects(true);
  hostA.RunShowAllObjects();
  ExpectFullListOfSmall(a);

  const std::string path = (root_ / "round.orb").string();
  ASSERT_TRUE(WriteDocument(path, a, hostA));

  THeadlessHost hostB(messages_, TestStartDate);
  TSolarSystem& b = hostB.Scene();
  const TOpenResult r = OpenDocument(path, b, hostB);
  EXPECT_EQ(r.Version, TDocumentVersion::V16);
  ASSERT_TRUE(r.Read) << messages_.str();
  EXPECT_TRUE(hostB.Questions().empty());
  EXPECT_EQ(messages_.str(), "");

  // The scene: the written block of b is the written block of a (positions recomputed for
  // the same date give the same values).
  MemorySink sinkA, sinkB;
  ValueWriter wa(sinkA), wb(sinkB);
  WriteScene(a, wa);
  WriteScene(b, wb);
  wa.Finish();
  wb.Finish();
  EXPECT_EQ(sinkA.Bytes(), sinkB.Bytes());
  EXPECT_EQ(b.AsteroidsList().Get(0).Name, "Vesta");
  EXPECT_FALSE(b.Planet(kJupiter).Satellites.Get(2).Visible);

  // The main window.
  EXPECT_FALSE(hostB.RealTime());
  EXPECT_EQ(hostB.TimeStep(), -3.5L);
  EXPECT_EQ(hostB.TimeUnit(), 10);
  EXPECT_TRUE(hostB.State().MonitorVisible);
  EXPECT_EQ(hostB.State().MonitorBody, "Vesta");
  EXPECT_EQ(hostB.State().DescriptionColor, 0x00DDEEFFu);
  EXPECT_TRUE(hostB.State().DescriptionVisible);
  EXPECT_EQ(hostB.DatabaseName(), "MPC");
  EXPECT_EQ(hostB.TableName(), "small.db");
  EXPECT_TRUE(hostB.DataFile().IsOpen());
  EXPECT_TRUE(hostB.State().ShowAllObjects);
  ExpectFullListOfSmall(b);
  EXPECT_EQ(hostB.State().DocumentPath, path);

  // The description with its formats.
  QTextDocument& d = hostB.Description();
  EXPECT_EQ(d.toPlainText(), "Plain bold\ncentred line");
  QTextBlock first = d.begin();
  EXPECT_EQ((--first.end()).fragment().text(), "bold");
  EXPECT_GE((--first.end()).fragment().charFormat().fontWeight(), QFont::Bold);
  EXPECT_EQ(first.next().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  // The command line keeps its temporary RTF out of the program folder.
  EXPECT_FALSE(fs::exists(root_ / "home" / "~tmp.rtf"));

  // Real-time mode travels too, and reading it moves the scene to the present moment (the
  // session's clock).
  hostA.SetRealTime(true);
  ASSERT_TRUE(WriteDocument(path, a, hostA));
  b.SetDate(JDToDate(0, 2400000.5L));
  ASSERT_TRUE(OpenDocument(path, b, hostB).Read);
  EXPECT_TRUE(hostB.RealTime());
  EXPECT_EQ(DateToJD(b.SceneDate()), DateToJD(TestStartDate()));
}

// The data folder of the fixture's program folder.
fs::path DataFolder() {
  return fs::path(getenv("KESTROVA_HOME")) / "MPC";
}

TEST_F(HeadlessHostTest, MissingDataFile) {
  // A data file that is gone, damaged, or in a folder that is not there is reported on its own
  // (once, with the engine's reason); the rest of the document is read, the names stay,
  // "Show all objects" is released. (Until now such a document failed as a whole with
  // "Error reading file", lost its description and fell back to no table.) Written back, the
  // document keeps names and button, so the catalogue returns with the file.
  std::ofstream(DataFolder() / "bad.db") << "no database at all, just text";
  struct Case {
    std::vector<uint8_t> bytes;
    const char* database;
    const char* table;
    bool showAll;
    bool description;
  };
  const Case cases[] = {
      {testing::SampleV16({.Table = "gone.db"}), "MPC", "gone.db", false, true},
      {testing::SampleV16({.ShowAll = true, .Table = "gone.db"}), "MPC", "gone.db", true, true},
      {testing::SampleV10({.Table = "gone.db"}), "MPC", "gone.db", false, false},
      {testing::SampleV10({.ShowAll = true, .Table = "gone.db"}), "MPC", "gone.db", true, false},
      {testing::SampleV16({.ShowAll = true, .Table = "bad.db"}), "MPC", "bad.db", true, true},
      // A database alias that names no folder at all.
      {testing::SampleV16({.Database = "/no/such/folder", .Table = "small.db"}), "/no/such/folder",
       "small.db", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    std::ostringstream messages;
    THeadlessHost host(messages, TestStartDate);
    TSolarSystem& scene = host.Scene();
    const fs::path path = root_ / "gone.orb";
    testing::SaveBytes(path, c.bytes);
    EXPECT_TRUE(OpenDocument(path.string(), scene, host).Read);
    const std::string text = messages.str();
    const std::string start = std::string("Cannot open data file ") + c.table + ": ";
    EXPECT_EQ(text.rfind(start, 0), 0u) << text;
    EXPECT_GT(text.size(), start.size() + 1) << "no reason given";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    EXPECT_EQ(host.DatabaseName(), c.database);
    EXPECT_EQ(host.TableName(), c.table);
    EXPECT_FALSE(host.DataFile().IsOpen());
    EXPECT_FALSE(host.State().ShowAllObjects);
    EXPECT_EQ(scene.AsteroidsFullList().Count(), 0);
    EXPECT_EQ(host.Description().isEmpty(), !c.description);
    if (!c.showAll) continue;

    // The file comes back: the written document shows the whole catalogue again.
    const fs::path out = root_ / "out.orb";
    ASSERT_TRUE(WriteDocument(out.string(), scene, host));
    fs::copy_file(DataFolder() / "small.db", DataFolder() / c.table,
                  fs::copy_options::overwrite_existing);
    std::ostringstream later;
    THeadlessHost next(later, TestStartDate);
    EXPECT_TRUE(OpenDocument(out.string(), next.Scene(), next).Read);
    EXPECT_EQ(later.str(), "");
    EXPECT_TRUE(next.State().ShowAllObjects);
    ExpectFullListOfSmall(next.Scene());
    fs::remove(DataFolder() / c.table);
  }
}

TEST_F(HeadlessHostTest, ConvertKeepsMissingDataFile) {
  // Until now the conversion failed (status 1) on such a document.
  const fs::path in = root_ / "in.orb";
  const fs::path out = root_ / "out.orb";
  testing::SaveBytes(in, testing::SampleV15({.ShowAll = true, .Table = "gone.db"}));
  const cli::TCliResult r = cli::RunCommand({"convert", in.string(), out.string()});
  EXPECT_EQ(r.status, cli::kOk);
  EXPECT_EQ(r.err, "Cannot open data file gone.db: Table does not exist: " +
                       (DataFolder() / "gone.db").string() + "\n");
  fs::copy_file(DataFolder() / "small.db", DataFolder() / "gone.db");
  THeadlessHost host(messages_, TestStartDate);
  const TOpenResult read = OpenDocument(out.string(), host.Scene(), host);
  EXPECT_EQ(read.Version, TDocumentVersion::V16);
  EXPECT_TRUE(read.Read);
  EXPECT_EQ(host.TableName(), "gone.db");
  EXPECT_TRUE(host.State().ShowAllObjects);
  ExpectFullListOfSmall(host.Scene());
  EXPECT_EQ(host.Description().toPlainText(), "Hello world");
}

TEST_F(HeadlessHostTest, OldDocumentWithDescriptionFileAndConversion) {
  const fs::path path = root_ / "old.orb";
  testing::SaveBytes(path, testing::SampleV10({.ShowAll = true, .Table = "small.db"}));
  std::ofstream(root_ / "old.rtf")
      << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Old \\b notes\\b0}";
  THeadlessHost host(messages_, TestStartDate);
  TSolarSystem& scene = host.Scene();
  host.SetAnswer(true);
  const TOpenResult r = OpenDocument(path.string(), scene, host);
  ASSERT_TRUE(r.Read) << messages_.str();
  ExpectFullListOfSmall(scene);
  EXPECT_EQ(host.Description().toPlainText(), "Old notes");
  EXPECT_TRUE(host.State().DescriptionVisible);
  EXPECT_EQ(host.State().MainWindow, (TWindowGeometry{10, 20, 800, 600}));
  EXPECT_EQ(host.State().Description, (TWindowGeometry{600, 100, 300, 250}));
  ASSERT_EQ(host.Questions().size(), 1u);

  // Yes rewrote it as 1.6, with the description inside.
  THeadlessHost host2(messages_, TestStartDate);
  TSolarSystem& again = host2.Scene();
  ASSERT_EQ(OpenDocument(path.string(), again, host2).Version, TDocumentVersion::V16);
  EXPECT_EQ(host2.Description().toPlainText(), "Old notes");
  EXPECT_EQ(again.AsteroidsFullList().Count(), 7);
}

TEST_F(HeadlessHostTest, LoadDocumentHeadless) {
  const fs::path good = root_ / "good.orb";
  testing::SaveBytes(good, testing::SampleV15());
  std::ostringstream err;
  THeadlessHost host(err, TestStartDate);
  const TSolarSystem& scene = host.Scene();
  EXPECT_TRUE(LoadDocumentHeadless(good.string(), std::cin, host, err));
  EXPECT_EQ(scene.Dim(), testing::kSampleDim);
  EXPECT_EQ(testing::LoadBytes(good), testing::SampleV15());  // never converted

  const fs::path foreign = root_ / "foreign.orb";
  testing::SaveBytes(foreign, testing::TValueBytes().Str("hello").Bytes());
  EXPECT_FALSE(LoadDocumentHeadless(foreign.string(), std::cin, host, err));
  EXPECT_FALSE(LoadDocumentHeadless((root_ / "none.orb").string(), std::cin, host, err));
  EXPECT_EQ(err.str(), "File " + foreign.string() + " is no orbit document.\nCannot open file \"" +
                           (root_ / "none.orb").string() + "\". No such file or directory\n");
}

}  // namespace
}  // namespace kestrova
