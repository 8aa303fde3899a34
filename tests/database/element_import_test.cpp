#include "database/element_import.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>

#include "database/element_file.h"
#include "database/minor_bodies.h"
#include "database/table_store.h"
#include "numerics/julian_dates.h"
#include "numerics/mathematics.h"
#include "support/gzip.h"
#include "support/temp_home.h"

namespace kestrova {
namespace {

namespace fs = std::filesystem;
using testing::TempHome;

const fs::path kData = KESTROVA_TEST_DATA;

std::vector<std::string> Lines(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> out;
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

TEST(PackedFields, NumbersAndEpochs) {
  struct Number {
    const char* packed;
    int64_t value;
  };
  for (const Number& c :
       {Number{"00001", 1}, Number{"99999", 99999}, Number{"A0000", 100000},
        Number{"D6199", 136199}, Number{"a0001", 360001}, Number{"z9999", 619999},
        Number{"~0000", 620000}, Number{"~000z", 620061}, Number{"~zzzz", 620000 + 14776335},
        Number{"0001", -1}, Number{"#0001", -1}, Number{"A00x1", -1}, Number{"~00-0", -1}})
    EXPECT_EQ(UnpackNumber(c.packed), c.value) << c.packed;

  struct Epoch {
    const char* packed;
    double jd;
  };
  for (const Epoch& c :
       {Epoch{"K2555", 2460800.5}, Epoch{"K24AH", 2460600.5}, Epoch{"J9611", 2450083.5},
        Epoch{"I9912", 2414656.5}, Epoch{"K2423", 2460343.5},  // 2024 February 3
        Epoch{"K242T", 2460369.5},                             // 2024 February 29
        Epoch{"K242U", -1}, Epoch{"K232T", -1}, Epoch{"K24D1", -1}, Epoch{"K2401", -1},
        Epoch{"L2411", -1}, Epoch{"K2411x", -1}})
    EXPECT_EQ(UnpackEpoch(c.packed), c.jd) << c.packed;

  // Every day the packed centuries can name is the day of the program's calendar.
  constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
  for (int year = 1800; year <= 2099; ++year)
    for (int month = 1; month <= 12; ++month)
      for (int day = 1; day <= 31; ++day) {
        const std::string packed = {"IJK"[year / 100 - 18], char('0' + year / 10 % 10),
                                    char('0' + year % 10), kDigits[month], kDigits[day]};
        const double jd = static_cast<double>(DateToJD(TDateRec{day, month, year, 0, 0, 0, 0}));
        ASSERT_EQ(UnpackEpoch(packed), day <= LastDayOfMonth(month, year) ? jd : -1.0) << packed;
      }
}

TEST(ParseMpcorbLine, ReadsEveryField) {
  const std::vector<std::string> lines = Lines(kData / "mpcorb_small.dat");
  TElementRow r;
  ASSERT_EQ(ParseMpcorbLine(lines[4], r), nullptr);
  EXPECT_EQ(r.No, 1);
  EXPECT_EQ(r.Name, "(1) Ceres");
  EXPECT_EQ(r.M, 188.70269);
  EXPECT_DOUBLE_EQ(r.NW, 80.25221 + 73.27343);
  EXPECT_EQ(r.OHM, 80.25221);
  EXPECT_EQ(r.I, 10.58780);
  EXPECT_EQ(r.E, 0.0794013);
  EXPECT_EQ(r.A, 2.7660512);
  EXPECT_EQ(r.Date, 2460800.5);
  EXPECT_EQ(r.Class, "main belt");
  EXPECT_EQ(r.IsNea + r.IsPha, "NN");
  EXPECT_EQ(r.Reference, "E2024-V47");
  EXPECT_EQ(r.Computer, "MPCLINUX");

  struct Case {
    size_t line;
    int64_t no;
    const char* cls;
    const char* flags;  // ISNEA, ISPHA
  };
  for (const Case& c : {Case{7, 433, "Amor", "YN"}, Case{9, 1862, "Apollo", "YY"},
                        Case{12, 624, "Jupiter trojan", "NN"},
                        Case{15, 136199, "Distant object", "NN"}, Case{17, 0, "main belt", "NN"}}) {
    ASSERT_EQ(ParseMpcorbLine(lines[c.line], r), nullptr) << lines[c.line];
    EXPECT_EQ(r.No, c.no);
    EXPECT_EQ(r.Class, c.cls);
    EXPECT_EQ(r.IsNea + r.IsPha, c.flags);
  }
  EXPECT_EQ(r.Name, "2024 AB1");
  EXPECT_EQ(r.Date, 2460600.5);
  // Without the flags the type is not known: no class rather than "main belt".
  std::string noFlags = lines[4];
  noFlags.replace(161, 4, "    ");
  ASSERT_EQ(ParseMpcorbLine(noFlags, r), nullptr);
  EXPECT_EQ(r.Class, "");
  // Node + argument of perihelion past 360 is reduced.
  ASSERT_EQ(ParseMpcorbLine(lines[5], r), nullptr);
  EXPECT_NEAR(r.NW, 172.88682 + 310.93330 - 360, 1e-9);
}

TEST(ParseMpcorbLine, BadLinesSayWhy) {
  const std::vector<std::string> lines = Lines(kData / "mpcorb_small.dat");
  struct Case {
    size_t line;
    const char* why;
  };
  TElementRow r;
  for (const Case& c :
       {Case{6, "too short"}, Case{8, "bad number"}, Case{11, "bad epoch"}, Case{13, "e >= 1"},
        Case{14, "bad designation"}, Case{18, "out of range"}}) {
    const char* why = ParseMpcorbLine(lines[c.line], r);
    ASSERT_NE(why, nullptr) << lines[c.line];
    EXPECT_STREQ(why, c.why);
  }
  std::string flags = lines[4];
  flags.replace(161, 4, "00G0");
  EXPECT_STREQ(ParseMpcorbLine(flags, r), "bad flags");
  EXPECT_STREQ(ParseMpcorbLine(std::string(200, '\xff'), r), "bad designation");
}

TEST(ParseElementLines, OnlyPlainDecimalNumbersAndOrbitsTheSunCanHold) {
  const std::vector<std::string> mpcorb = Lines(kData / "mpcorb_small.dat");
  struct Case {
    size_t column;  // first column of the field, counted from 1
    std::string text;
    const char* why;  // nullptr: the line is read
  };
  const Case cases[] = {
      {27, "  0x1p3  ", "bad number"}, {27, "    1e2  ", "bad number"},
      {27, "      inf", "bad number"}, {27, "      nan", "bad number"},
      {27, "  12.5.1 ", "bad number"}, {27, "  +12.5  ", nullptr},
      {27, "   12.   ", nullptr},      {93, "10000000.00", "out of range"},
      {93, "999999.0000", nullptr},    {93, "    0.00000", "out of range"},
      {162, "0x12", "bad flags"},      {162, "  -1", "bad flags"},
      {162, "280B", nullptr},
  };
  TElementRow r;
  for (const Case& c : cases) {
    std::string line = mpcorb[4];
    line.replace(c.column - 1, c.text.size(), c.text);
    const char* why = ParseMpcorbLine(line, r);
    if (c.why == nullptr) {
      EXPECT_EQ(why, nullptr) << c.text << ": " << why;
    } else {
      EXPECT_STREQ(why, c.why) << c.text;
    }
  }
  // What is read is the number written, in every form the check lets through.
  struct Value {
    std::string text;  // columns 93-103, the semi-major axis
    double a;
  };
  for (const Value& c :
       {Value{"  +2.750000", 2.75}, Value{"        12.", 12.0}, Value{"       .125", 0.125},
        Value{"2.766051234", 2.766051234}, Value{"0.000000001", 1e-9}}) {
    std::string line = mpcorb[4];
    line.replace(92, c.text.size(), c.text);
    ASSERT_EQ(ParseMpcorbLine(line, r), nullptr) << c.text;
    EXPECT_EQ(r.A, c.a) << c.text;
  }
  // A comet whose orbit is closed only on paper: q = 5 AU, e = 0.999999 makes a = 5e6 AU.
  std::string comet = Lines(kData / "comets_small.txt")[0];
  comet.replace(30, 9, " 5.000000");
  comet.replace(41, 8, "0.999999");
  EXPECT_STREQ(ParseCometLine(comet, r), "out of range");
  comet.replace(41, 8, "0.9999x9");
  EXPECT_STREQ(ParseCometLine(comet, r), "bad number");
}

TEST(ParseCometLine, PerihelionPassageIsKept) {
  const std::vector<std::string> lines = Lines(kData / "comets_small.txt");
  TElementRow r;
  ASSERT_EQ(ParseCometLine(lines[0], r), nullptr);
  EXPECT_EQ(r.Name, "1P/Halley");
  EXPECT_NEAR(r.A, 0.574580 / (1 - 0.967929), 1e-12);
  EXPECT_EQ(r.Date, 2446480.5);  // epoch 1986 February 19
  EXPECT_EQ(r.Class, "Periodic comet");
  EXPECT_EQ(r.IsNea, "Y");
  EXPECT_EQ(r.Reference, "MPC 63459");

  // The body drawn from the row stands at its perihelion (distance q) at the perihelion time;
  // also a near-parabolic ellipse with its epoch before perihelion, whose mean anomaly must
  // keep its digits in the row's field (just below 360 degrees its last digit would move it by
  // 3e-8 of q).
  std::string nearParabola = lines[2];
  nearParabola.replace(41, 8, "0.999990").replace(81, 8, "20200601");
  struct Case {
    std::string line;
    double q;
    Extended day0;  // the perihelion date's 0h
    double day;     // and its day of the month, as the line gives them
  };
  for (const Case& c :
       {Case{lines[0], 0.574580, 2446466.5L, 5.4697}, Case{lines[1], 0.339322, 2460239.5L, 22.5042},
        Case{lines[2], 0.294623, 2459033.5L, 3.6809},
        Case{nearParabola, 0.294623, 2459033.5L, 3.6809},
        Case{lines[4], 0.918000, 2459816.5L, 25.6}}) {
    ASSERT_EQ(ParseCometLine(c.line, r), nullptr) << c.line;
    TOrbitalElements el;
    el.Epoch = r.Date;
    el.Node = r.OHM;
    el.Inclination = r.I;
    el.Eccentricity = r.E;
    el.PerihelionLongitude = r.NW;
    el.SemiMajorAxis = r.A;
    el.DailyMotion = kMinorBodyMotion / (Extended(r.A) * std::sqrt(Extended(r.A)));
    el.MeanLongitude = Extended(r.M) + r.NW;
    const TVector p = KeplerPosition(el, c.day0 + (c.day - std::floor(c.day)));
    TOrbitalElements atPerihelion = el;
    atPerihelion.MeanLongitude = el.PerihelionLongitude;
    const TVector perihelion = KeplerPosition(atPerihelion, el.Epoch);
    EXPECT_NEAR(double(VecLength(perihelion)), c.q, 1e-15);
    // The epoch in the row's field is a double: 5e-10 days at most, 1e-11 of q at 73P's speed.
    EXPECT_LT(double(VecLength(VecSub(p, perihelion))), 1e-11 * c.q) << r.Name << " e " << r.E;
    EXPECT_GT(r.M, -180);
    EXPECT_LE(r.M, 180);
  }
  // No epoch: the perihelion time stands in, so the mean anomaly is 0.
  EXPECT_EQ(r.Date, 2459816.5 + 0.6);
  EXPECT_EQ(r.M, 0);
  EXPECT_EQ(r.Name, "73P-C/Schwassmann-Wachmann 3 fragment C (long name)");  // whole

  // A hyperbola: A is the perihelion distance, M the motion k / q^1.5 times the days from
  // perihelion to the epoch, unreduced.
  ASSERT_EQ(ParseCometLine(lines[3], r), nullptr);
  EXPECT_EQ(r.A, 0.255240);
  EXPECT_EQ(r.E, 1.201133);
  EXPECT_NEAR(r.M, 0.9856262 / std::pow(0.255240, 1.5) * (2458061.5 - 2458005.9886), 1e-8);
  EXPECT_STREQ(ParseCometLine(lines[5], r), "too short");
  std::string month = lines[0];
  month.replace(19, 2, "13");
  EXPECT_STREQ(ParseCometLine(month, r), "bad perihelion time");
}

class ImportTest : public TempHome {
 protected:
  TImportOptions Options(TElementFormat format = TElementFormat::Mpcorb) {
    TImportOptions o;
    o.Format = format;
    o.Alias = alias_;
    o.Table = "small";
    return o;
  }
  void Put(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file.is_absolute() ? file : root_ / file, std::ios::binary);
    out << bytes;
  }
  std::vector<std::string> Listing() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(alias_))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(ImportTest, MpcorbFileBecomesACompleteDataFile) {
  std::vector<TImportProgress> progress;
  TImportOptions o = Options();
  o.Progress = [&](const TImportProgress& p) {
    progress.push_back(p);
    return true;
  };
  const TImportResult r = ImportElements(kData / "mpcorb_small.dat", o);
  EXPECT_EQ(r.Rows, 7);
  EXPECT_EQ(r.Skipped, 6);
  EXPECT_EQ(r.Summary(), "Imported 7 rows into " + alias_ +
                             "/small.db; skipped 6 lines (bad designation: 1 at line 15; bad "
                             "epoch: 1 at line 12; bad number: 1 at line 9; e >= 1: 1 at line "
                             "14; out of range: 1 at line 19; too short: 1 at line 7); 1 "
                             "duplicate replaced the row of an earlier line (at line 17)");
  // Reading from 0 to 100 percent, the rows and bytes growing, then the indices.
  ASSERT_GE(progress.size(), 4u);
  using TStage = TImportProgress::TStage;
  EXPECT_EQ(progress.front().Stage, TStage::Reading);
  EXPECT_EQ(progress.front().Percent, 0);
  const auto read = std::find_if(progress.begin(), progress.end(), [](const TImportProgress& p) {
    return p.Stage == TStage::Reading && p.Percent == 100;
  });
  ASSERT_NE(read, progress.end());
  EXPECT_EQ(read->Rows, 7);
  EXPECT_EQ(read->BytesRead, fs::file_size(kData / "mpcorb_small.dat"));
  EXPECT_EQ(read->BytesTotal, read->BytesRead);
  EXPECT_EQ(progress.back().Stage, TStage::Indexing);
  EXPECT_EQ(progress.back().Percent, 100);
  EXPECT_EQ(Listing(), std::vector<std::string>{"small.db"});

  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("small.db");
  t.Open();
  EXPECT_TRUE(t.HasField("Reference"));
  EXPECT_EQ(t.IndexNames().size(), 7u);
  t.First();
  EXPECT_EQ(t.FieldAsInteger("NO"), -1);
  EXPECT_EQ(t.FieldAsString("NAME"), "2024 AB1");
  t.Next();
  EXPECT_EQ(t.FieldAsString("NAME"), "(1) Ceres");
  EXPECT_EQ(t.FieldAsString("Computer"), "MPCLINUX");
  t.SetIndexName("IDXPHA");
  EXPECT_TRUE(t.FindNearest("Y"));
  EXPECT_EQ(t.FieldAsString("NAME"), "(1862) Apollo");
}

TEST_F(ImportTest, CometsOnOpenOrbitsAreImported) {
  const TImportResult r =
      ImportElements(kData / "comets_small.txt", Options(TElementFormat::Comets));
  EXPECT_EQ(r.Rows, 5);
  EXPECT_EQ(r.Skipped, 1);
  EXPECT_EQ(r.Reasons, (std::vector<TSkipReason>{{"too short", 1, {6}}}));
  std::vector<std::string> names;
  ReadDataFile(fs::path(alias_) / "small.db",
               [&](const TMinorBodyRow& row) { names.push_back(row.Name); });
  EXPECT_EQ(names, (std::vector<std::string>{"73P-C/Schwassmann-Wachmann 3 fragment C (long name)",
                                             "1I/'Oumuamua", "C/2020 F3 (NEOWISE)", "2P/Encke",
                                             "1P/Halley"}));
}

// Parabolic and hyperbolic comets through a real data file: every one is read back as a body
// and placed; at its perihelion date it stands at q from the Sun and moves at the speed
// k sqrt((1 + e) / q) that energy and angular momentum give there.
TEST_F(ImportTest, ParabolicAndHyperbolicCometsArePlaced) {
  struct Comet {
    const char* name;
    double q, e, perihelion;
  };
  const Comet comets[] = {
      {"2I/Borisov", 2.006548, 3.356633, 2458825.5 + 0.5546},
      {"C/2023 A3 (Tsuchinshan-ATLAS)", 0.391421, 1.000120, 2460580.5 + 0.7422},
      {"1I/'Oumuamua", 0.255240, 1.201133, 2458005.5 + 0.4886},
      {"C/2099 Z9 (parabola, made up)", 0.5, 1, 2487869.5 + 0.25},
      {"C/2099 Z8 (parabola, made up)", 1.25, 1, 2487763.5 + 0.75},
  };
  const TImportResult r =
      ImportElements(kData / "comets_open.txt", Options(TElementFormat::Comets));
  EXPECT_EQ(r.Rows, 5);
  EXPECT_EQ(r.Skipped, 0);
  int placed = 0;
  ReadDataFile(
      fs::path(alias_) / "small.db",
      [&](const TMinorBodyRow& row) {
        for (const Comet& c : comets) {
          if (row.Name != c.name) continue;
          const TVector p = KeplerPosition(row.Elements, c.perihelion);
          EXPECT_NEAR(double(VecLength(p)), c.q, 1e-12 * c.q) << c.name;
          const Extended k = kMinorBodyMotion * Pi / 180;
          EXPECT_NEAR(double(VecLength(KeplerVelocity(row.Elements, c.perihelion))),
                      double(k * std::sqrt((1 + c.e) / c.q)), 1e-12)
              << c.name;
          ++placed;
        }
      },
      [](const TMinorBodyRow& row, const char* why) { ADD_FAILURE() << row.Name << ": " << why; });
  EXPECT_EQ(placed, 5);
}

TEST_F(ImportTest, HeaderlessFileAndWindowsLineEnds) {
  const std::vector<std::string> lines = Lines(kData / "mpcorb_small.dat");
  {
    std::ofstream out(root_ / "plain.dat", std::ios::binary);
    out << lines[4] << "\r\n" << lines[5] << "\r\n";
  }
  const TImportResult r = ImportElements(root_ / "plain.dat", Options());
  EXPECT_EQ(r.Rows, 2);
  EXPECT_EQ(r.Skipped, 0);
  EXPECT_EQ(r.Summary(), "Imported 2 rows into " + alias_ + "/small.db; skipped 0 lines");
}

TEST_F(ImportTest, FailuresLeaveNoHalfTable) {
  ImportElements(kData / "comets_small.txt", Options(TElementFormat::Comets));
  const auto before = fs::file_size(fs::path(alias_) / "small.db");

  // An existing table stays unless it is to be replaced.
  EXPECT_THROW(ImportElements(kData / "mpcorb_small.dat", Options()), EKestrovaError);
  // Unreadable input.
  TImportOptions o = Options();
  o.Replace = true;
  try {
    ImportElements(root_ / "missing.dat", o);
    FAIL() << "imported a missing file";
  } catch (const EKestrovaError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.dat"), std::string::npos) << e.what();
  }
  EXPECT_THROW(ImportElements(root_, o), EKestrovaError);
  // A failure after the rows are written, while the indices are made, and a cancellation.
  o.Progress = [](const TImportProgress& p) {
    if (p.Stage == TImportProgress::TStage::Indexing && p.Percent == 30)
      throw std::runtime_error("interrupted");
    return true;
  };
  EXPECT_THROW(ImportElements(kData / "mpcorb_small.dat", o), std::runtime_error);
  for (const auto stage : {TImportProgress::TStage::Reading, TImportProgress::TStage::Indexing}) {
    o.Progress = [stage](const TImportProgress& p) { return p.Stage != stage || p.Percent < 15; };
    try {
      ImportElements(kData / "mpcorb_small.dat", o);
      ADD_FAILURE() << "not cancelled";
    } catch (const EImportCancelled& e) {
      EXPECT_STREQ(e.what(), "Import cancelled");
    }
  }

  EXPECT_EQ(Listing(), std::vector<std::string>{"small.db"});
  EXPECT_EQ(fs::file_size(fs::path(alias_) / "small.db"), before);
  int64_t rows = ReadDataFile(fs::path(alias_) / "small.db", [](const TMinorBodyRow&) {});
  EXPECT_EQ(rows, 5);

  o.Progress = {};
  EXPECT_EQ(ImportElements(kData / "mpcorb_small.dat", o).Rows, 7);
  EXPECT_EQ(Listing(), std::vector<std::string>{"small.db"});
}

TEST_F(ImportTest, AFileWithoutElementLinesReplacesNothing) {
  ImportElements(kData / "comets_small.txt", Options(TElementFormat::Comets));
  const auto before = fs::file_size(fs::path(alias_) / "small.db");
  Put("empty.txt", "");
  std::string noise =
      "\x7f"
      "ELF";
  for (int i = 0; i < 3000; ++i) noise += static_cast<char>((i * 7919) % 256);
  Put("noise.bin", noise);
  Put("header.txt", "MINOR PLANET CENTER ORBIT DATABASE\n\n-----------------------\n");
  struct Case {
    fs::path file;
    TElementFormat format;
    std::string message;
  };
  const Case cases[] = {
      {root_ / "empty.txt", TElementFormat::Mpcorb,
       "no element lines of format mpcorb in " + (root_ / "empty.txt").string()},
      {root_ / "header.txt", TElementFormat::Mpcorb,
       "no element lines of format mpcorb in " + (root_ / "header.txt").string()},
      {root_ / "noise.bin", TElementFormat::Comets,
       "no element lines of format comets in " + (root_ / "noise.bin").string() +
           "; skipped 13 lines (binary data: 12 at lines 1, 2, 3, 4, 5, ...;"},
      {kData / "mpcorb_small.dat", TElementFormat::Comets,
       "no element lines of format comets in " + (kData / "mpcorb_small.dat").string() +
           "; skipped 17 lines (bad perihelion time: 15 at lines 3, 4, 5, 6, 8, ...; too short: 2 "
           "at lines 1, 7)"},
      // A device that never ends: the first block shows it is no text.
      {"/dev/zero", TElementFormat::Mpcorb,
       "no element lines of format mpcorb in /dev/zero (binary data at line 1)"},
  };
  for (const Case& c : cases) {
    for (const char* table : {"small", "new"}) {
      TImportOptions o = Options(c.format);
      o.Table = table;
      o.Replace = true;
      try {
        ImportElements(c.file, o);
        ADD_FAILURE() << c.file << ": no error";
      } catch (const EKestrovaError& e) {
        EXPECT_EQ(std::string(e.what()).substr(0, c.message.size()), c.message);
      }
    }
  }
  // The old table is whole, and no new or temporary one was left.
  EXPECT_EQ(Listing(), std::vector<std::string>{"small.db"});
  EXPECT_EQ(fs::file_size(fs::path(alias_) / "small.db"), before);
  EXPECT_EQ(ReadDataFile(fs::path(alias_) / "small.db", [](const TMinorBodyRow&) {}), 5);
}

TEST_F(ImportTest, OverlongAndBinaryLinesAreSkippedWithTheirNumbers) {
  const std::vector<std::string> lines = Lines(kData / "mpcorb_small.dat");
  Put("long.dat", lines[4] + "\n" + std::string(kMaxElementLine + 1, '9') + "\n" + lines[5] + "\n" +
                      std::string(300, '\0') + "\n" + lines[7] + "\n" +
                      std::string(3 * kMaxElementLine, ' ') + "no end");
  const TImportResult r = ImportElements(root_ / "long.dat", Options());
  EXPECT_EQ(r.Rows, 3);
  EXPECT_EQ(r.Reasons,
            (std::vector<TSkipReason>{{"binary data", 1, {4}}, {"too long", 2, {2, 6}}}));
}

// The line with its name columns (103..158 of a comet line, 167..194 of a minor planet's)
// replaced by name, cut or padded to the columns.
std::string WithName(std::string line, size_t first, size_t last, const std::string& name) {
  line.resize(std::max(line.size(), last), ' ');
  const std::string field = (name + std::string(last - first + 1, ' ')).substr(0, last - first + 1);
  return line.replace(first - 1, field.size(), field);
}

TEST(ElementNames, CutBetweenCharactersAndLatin1ReadAsLatin1) {
  const std::string comet = Lines(kData / "comets_small.txt")[0];
  const std::string planet = Lines(kData / "mpcorb_small.dat")[4];
  std::string ae32, ae27;
  for (int i = 0; i < 32; ++i) ae32 += "\u00e4";
  for (int i = 0; i < 27; ++i) ae27 += "\u00e4";
  struct Case {
    std::string raw;       // the bytes in the name columns
    std::string expected;  // the name imported, UTF-8
  };
  const Case comets[] = {
      // 56 bytes of columns end inside the 28th "ä": it goes, the 27 before it stay.
      {"x" + ae32, "x" + ae27},
      {ae32, ae27 + "\u00e4"},                       // exactly 28 of them fill the columns
      {std::string(56, 'a'), std::string(56, 'a')},  // a name as long as its columns
      {"M\xfcller-Wirtanen \xe9", "M\u00fcller-Wirtanen \u00e9"},
      {"C/2023 A3 (Tsuchinshan\xe2\x80\x93"
       "ATLAS)",
       "C/2023 A3 (Tsuchinshan\u2013ATLAS)"},
  };
  for (const Case& c : comets) {
    TElementRow row;
    ASSERT_EQ(ParseCometLine(WithName(comet, 103, 158, c.raw), row), nullptr);
    EXPECT_EQ(row.Name, c.expected) << c.raw;
  }
  const Case planets[] = {
      {"(1) C" + ae32, "(1) C" + ae27.substr(0, 2 * 11)},  // 28 bytes: the 12th "ä" is cut
      {"(1) Ceres \xe4", "(1) Ceres \u00e4"},
  };
  for (const Case& c : planets) {
    TElementRow row;
    ASSERT_EQ(ParseMpcorbLine(WithName(planet, 167, 194, c.raw), row), nullptr);
    EXPECT_EQ(row.Name, c.expected) << c.raw;
  }
}

TEST_F(ImportTest, ABodyIsImportedOnceAndItsLastLineWins) {
  const std::vector<std::string> planets = Lines(kData / "mpcorb_small.dat");
  const std::vector<std::string> comets = Lines(kData / "comets_small.txt");
  const std::string ceres = planets[4], provisional = planets[17], halley = comets[0];
  std::string twice;
  for (int copy = 0; copy < 2; ++copy)
    for (size_t i = 4; i < planets.size(); ++i) twice += planets[i] + "\n";
  std::string same;
  for (int i = 0; i < 1000; ++i) same += provisional + "\n";
  struct Case {
    std::string name;
    std::string bytes;
    TElementFormat format;
    int64_t rows, duplicates;
    std::vector<std::string> names;  // in the order of the numbers, when given
  };
  const Case cases[] = {
      // Every line twice, numbered and provisional designations alike.
      {"twice.dat", twice, TElementFormat::Mpcorb, 7, 9, {}},  // (1) is in the file twice
      {"same.dat", same, TElementFormat::Mpcorb, 1, 999, {"2024 AB1"}},
      {"ceres.dat",
       WithName(ceres, 167, 194, "first") + "\n" + WithName(ceres, 167, 194, "last") + "\n" +
           planets[5] + "\n",
       TElementFormat::Mpcorb,
       2,
       1,
       {"last", "(2) Pallas"}},
      {"halley.txt",
       WithName(halley, 103, 158, "first") + "\n" + comets[1] + "\n" +
           WithName(halley, 103, 158, "second") + "\n" + WithName(halley, 103, 158, "third") + "\n",
       TElementFormat::Comets,
       2,
       2,
       {"2P/Encke", "third"}},
  };
  for (const Case& c : cases) {
    Put(c.name, c.bytes);
    TImportOptions o = Options(c.format);
    o.Replace = true;
    const TImportResult r = ImportElements(root_ / c.name, o);
    EXPECT_EQ(r.Rows, c.rows) << c.name;
    EXPECT_EQ(r.Duplicates, c.duplicates) << c.name;
    EXPECT_EQ(ReadDataFile(fs::path(alias_) / "small.db", [](const TMinorBodyRow&) {}), c.rows)
        << c.name;
    if (c.names.empty()) continue;
    std::vector<std::string> names;
    ReadDataFile(fs::path(alias_) / "small.db",
                 [&](const TMinorBodyRow& row) { names.push_back(row.Name); });
    EXPECT_EQ(names, c.names) << c.name;
  }
  Put("ceres2.dat", ceres + "\n" + ceres + "\n" + ceres + "\n");
  TImportOptions o = Options();
  o.Replace = true;
  EXPECT_EQ(ImportElements(root_ / "ceres2.dat", o).Summary(),
            "Imported 1 row into " + alias_ +
                "/small.db; skipped 0 lines; 2 duplicates replaced the row of an earlier line (at "
                "lines 2, 3)");
}

// Bodies without a number get the keys -1, -2, ... in the order of the file; however they are
// written, the table holds them as compactly as numbered bodies, and in key order.
TEST_F(ImportTest, UnnumberedBodiesTakeNoMoreRoomThanNumberedOnes) {
  const std::vector<std::string> planets = Lines(kData / "mpcorb_small.dat");
  const std::string numbered = planets[4], provisional = planets[17];
  constexpr int kBodies = 5000;
  std::string withNumbers, without;
  for (int k = 0; k < kBodies; ++k) {
    constexpr char kDigits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    char number[8];
    std::snprintf(number, sizeof number, "%05d", k + 1);
    const std::string designation = {
        'K', '2', '4', 'A', kDigits[k / 3844], kDigits[k / 62 % 62], kDigits[k % 62]};
    withNumbers += WithName(numbered, 1, 7, number) + "\n";
    without += WithName(WithName(provisional, 1, 7, designation), 167, 194, designation) + "\n";
  }
  Put("numbered.dat", withNumbers);
  Put("unnumbered.dat", without);
  TImportOptions o = Options();
  o.Table = "numbered";
  ASSERT_EQ(ImportElements(root_ / "numbered.dat", o).Rows, kBodies);
  o.Table = "unnumbered";
  ASSERT_EQ(ImportElements(root_ / "unnumbered.dat", o).Rows, kBodies);
  EXPECT_LT(fs::file_size(fs::path(alias_) / "unnumbered.db"),
            fs::file_size(fs::path(alias_) / "numbered.db") * 11 / 10);
  std::vector<std::pair<int64_t, std::string>> rows;
  TableStore t;
  t.SetDatabase(alias_);
  t.SetTableName("unnumbered.db");
  t.Open();
  for (t.First(); !t.Eof(); t.Next())
    rows.emplace_back(t.FieldAsInteger("NO"), t.FieldAsString("NAME"));
  ASSERT_EQ(rows.size(), size_t{kBodies});
  EXPECT_EQ(rows.front(), std::make_pair(int64_t{-kBodies}, std::string("K24A1Id")));
  EXPECT_EQ(rows.back(), std::make_pair(int64_t{-1}, std::string("K24A000")));
}

TEST_F(ImportTest, AZeroByteCostsItsLineOnly) {
  const std::vector<std::string> planets = Lines(kData / "mpcorb_small.dat");
  const std::vector<std::string> comets = Lines(kData / "comets_small.txt");
  const auto join = [](const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
  };
  std::string nulInHeader = planets[0];
  nulInHeader[10] = '\0';
  std::string nulInCeres = planets[4];
  nulInCeres[120] = '\0';
  std::string nulInHalley = comets[0];
  nulInHalley[100] = '\0';
  struct Case {
    std::string name;
    std::string bytes;
    std::optional<TElementFormat> format;  // nothing: found in the file
    int64_t rows;
    std::vector<TSkipReason> binary;  // the skipped lines with zero bytes
  };
  const Case cases[] = {
      {"header.dat",
       join({nulInHeader, planets[3], planets[4], planets[5]}),
       std::nullopt,
       2,
       {{"binary data", 1, {1}}}},
      {"first.dat",
       join({planets[3], nulInCeres, planets[5]}),
       TElementFormat::Mpcorb,
       1,
       {{"binary data", 1, {2}}}},
      {"first-auto.dat",
       join({planets[0], planets[3], nulInCeres, planets[5], planets[7]}),
       std::nullopt,
       2,
       {{"binary data", 1, {3}}}},
      {"halley.txt",
       join({nulInHalley, comets[1], comets[2]}),
       std::nullopt,
       2,
       {{"binary data", 1, {1}}}},
  };
  for (const Case& c : cases) {
    Put(c.name, c.bytes);
    TImportOptions o = Options();
    o.Format = c.format;
    o.Replace = true;
    if (!c.format) {
      const std::optional<TElementFormat> found = DetectElementFormat(root_ / c.name);
      ASSERT_TRUE(found.has_value()) << c.name;
      EXPECT_EQ(*found, c.name.ends_with(".txt") ? TElementFormat::Comets : TElementFormat::Mpcorb);
    }
    TImportResult r;
    try {
      r = ImportElements(root_ / c.name, o);
    } catch (const EKestrovaError& e) {
      ADD_FAILURE() << c.name << ": " << e.what();
      continue;
    }
    EXPECT_EQ(r.Rows, c.rows) << c.name;
    std::vector<TSkipReason> binary;
    for (const TSkipReason& reason : r.Reasons)
      if (reason.Reason == "binary data") binary.push_back(reason);
    EXPECT_EQ(binary, c.binary) << c.name;
  }
}

TEST_F(ImportTest, TablesThatCannotBeMadeAreRefused) {
  for (const std::string name : {"", "   ", ".", "..", ".hidden", "../up", "a/b", "a\\b", "it's",
                                 "say \"x\"", "line\nend", "tab\there"}) {
    TImportOptions o = Options();
    o.Table = name;
    try {
      ImportElements(kData / "mpcorb_small.dat", o);
      ADD_FAILURE() << name << ": imported";
    } catch (const EKestrovaError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Invalid table name '", 0), 0u) << e.what();
    }
  }
  EXPECT_TRUE(Listing().empty());
  // A FIFO where the table would go is not replaced by a rename.
  ASSERT_EQ(::mkfifo((fs::path(alias_) / "small.db").c_str(), 0600), 0);
  TImportOptions o = Options();
  o.Replace = true;
  EXPECT_THROW(ImportElements(kData / "mpcorb_small.dat", o), EKestrovaError);
  EXPECT_TRUE(fs::is_fifo(fs::path(alias_) / "small.db"));
  EXPECT_EQ(Listing(), std::vector<std::string>{"small.db"});
}

// A process number that no process has: a child's, after it ended.
pid_t DeadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST_F(ImportTest, TemporaryTablesOfKilledImportsGoAtTheNextImport) {
  const std::string dead = std::to_string(DeadPid());
  const std::string alive = std::to_string(::getppid());
  for (const std::string& name :
       {".big.db.importing-" + dead, ".big.db.importing-" + dead + "-journal",
        ".other.db.importing-" + alive, "plain.db.importing-" + dead, ".notes.importing-" + dead})
    Put(fs::path(alias_) / name, "half a table");
  EXPECT_EQ(ImportElements(kData / "mpcorb_small.dat", Options()).Rows, 7);
  EXPECT_EQ(Listing(),
            (std::vector<std::string>{".notes.importing-" + dead, ".other.db.importing-" + alive,
                                      "plain.db.importing-" + dead, "small.db"}));
}

TEST_F(ImportTest, ASignalDuringTheImportTakesItsTableAlong) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = ::fork();
    if (child == 0) {
      TImportOptions o = Options();
      o.Table = "interrupted";
      // The table is being built when the signal comes.
      o.Progress = [signal](const TImportProgress&) { return ::raise(signal) == 0; };
      try {
        ImportElements(kData / "mpcorb_small.dat", o);
      } catch (...) {
      }
      ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << strsignal(signal);
    EXPECT_TRUE(Listing().empty()) << strsignal(signal) << ": " << Listing().front();
  }
}

std::vector<std::pair<int64_t, std::string>> Rows(const fs::path& table) {
  std::vector<std::pair<int64_t, std::string>> rows;
  ReadDataFile(table, [&](const TMinorBodyRow& r) {
    rows.emplace_back(r.No, r.Name + Format(" %.17Lg %.17Lg %.17Lg %.17Lg", r.Elements.Epoch,
                                            r.Elements.SemiMajorAxis, r.Elements.Eccentricity,
                                            r.Elements.MeanLongitude));
  });
  return rows;
}

TEST_F(ImportTest, GzipAndFoundFormatImportAsThePlainFile) {
  for (const auto& [name, format] : {std::pair{"mpcorb_small.dat", TElementFormat::Mpcorb},
                                     std::pair{"comets_small.txt", TElementFormat::Comets}}) {
    std::ifstream in(kData / name, std::ios::binary);
    const std::string plain{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Put(std::string(name) + ".gz", testing::Gzip(plain));

    TImportOptions o = Options(format);
    o.Table = "plain";
    o.Replace = true;
    const TImportResult a = ImportElements(kData / name, o);
    o.Table = "packed";
    const TImportResult b = ImportElements(root_ / (std::string(name) + ".gz"), o);
    o.Table = "found";
    o.Format.reset();
    const TImportResult c = ImportElements(root_ / (std::string(name) + ".gz"), o);
    EXPECT_EQ(c.ReadAs, format);
    for (const TImportResult* r : {&b, &c}) {
      EXPECT_EQ(r->Rows, a.Rows);
      EXPECT_EQ(r->Reasons, a.Reasons);
    }
    const auto rows = Rows(fs::path(alias_) / "plain.db");
    EXPECT_FALSE(rows.empty());
    EXPECT_EQ(Rows(fs::path(alias_) / "packed.db"), rows) << name;
    EXPECT_EQ(Rows(fs::path(alias_) / "found.db"), rows) << name;
  }
  // A cut compressed file is an error that creates no table and keeps the old one.
  const auto before = Rows(fs::path(alias_) / "plain.db");
  std::ifstream in(root_ / "comets_small.txt.gz", std::ios::binary);
  const std::string gz{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  Put("cut.gz", gz.substr(0, gz.size() - 20));
  for (const char* table : {"plain", "other"}) {
    TImportOptions o = Options(TElementFormat::Comets);
    o.Table = table;
    o.Replace = true;
    try {
      ImportElements(root_ / "cut.gz", o);
      ADD_FAILURE() << "imported a cut file";
    } catch (const EKestrovaError& e) {
      EXPECT_NE(std::string(e.what()).find("ends too early"), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(Rows(fs::path(alias_) / "plain.db"), before);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"found.db", "packed.db", "plain.db"}));
  // Neither format in the file.
  Put("prose.txt", "Minor planets are small.\n");
  TImportOptions o = Options();
  o.Format.reset();
  try {
    ImportElements(root_ / "prose.txt", o);
    ADD_FAILURE() << "imported prose";
  } catch (const EKestrovaError& e) {
    EXPECT_EQ(std::string(e.what()),
              "no element lines of format mpcorb or comets in " + (root_ / "prose.txt").string());
  }
}

// A file large enough to be read on a second thread: line numbers, skipped lines and
// duplicates across its batches, the progress, a compressed copy, a read error and a
// cancellation from the progress callback come out as when it is read line by line.
TEST_F(ImportTest, ALargeFileReadAheadOnAThread) {
  const std::vector<std::string> planets = Lines(kData / "mpcorb_small.dat");
  constexpr int kBodies = 12000;
  // Names and anomalies that vary as a catalogue's do, so that the compressed copy is large too.
  uint32_t random = 12345;
  const auto next = [&random] { return random = random * 1664525u + 1013904223u; };
  std::string text = planets[0] + "\n" + planets[3] + "\n";  // a header ending in dashes
  std::vector<int64_t> tooShort;
  for (int k = 1; k <= kBodies; ++k) {
    char number[8], anomaly[16];
    std::snprintf(number, sizeof number, "%05d", k);
    std::snprintf(anomaly, sizeof anomaly, "%9.5f", (next() >> 8) % 36000000 / 1e5);
    std::string name;
    for (int c = 0; c < 20; ++c) name += static_cast<char>('a' + (next() >> 16) % 26);
    std::string line =
        WithName(WithName(WithName(planets[4], 1, 7, number), 27, 35, anomaly), 167, 194, name);
    if (k % 997 == 0) {
      line.resize(60);
      tooShort.push_back(k + 2);
    }
    text += line + "\n";
  }
  text += WithName(planets[4], 167, 194, "again") + "\n";  // (1) once more, in the last batch
  Put("large.dat", text);
  ASSERT_GE(text.size(), kReadAheadBytes);

  TImportOptions o = Options();
  std::vector<TImportProgress> reports;
  o.Progress = [&reports](const TImportProgress& p) {
    reports.push_back(p);
    return true;
  };
  const TImportResult r = ImportElements(root_ / "large.dat", o);
  const int64_t skipped = static_cast<int64_t>(tooShort.size());
  EXPECT_EQ(r.Rows, kBodies - skipped);
  tooShort.resize(kFirstLinesPerReason);
  EXPECT_EQ(r.Reasons, (std::vector<TSkipReason>{{"too short", skipped, tooShort}}));
  EXPECT_EQ(r.DuplicateLines, std::vector<int64_t>{kBodies + 3});
  std::vector<std::string> names;
  ReadDataFile(fs::path(alias_) / "small.db",
               [&](const TMinorBodyRow& row) { names.push_back(row.Name); });
  ASSERT_EQ(names.size(), size_t(kBodies - skipped));
  EXPECT_EQ(names.front(), "again");
  // While reading: at lines 4096 and 8192, then at the end, with the bytes read so far.
  std::vector<std::pair<int64_t, uint64_t>> reading;
  for (const TImportProgress& p : reports)
    if (p.Stage == TImportProgress::TStage::Reading) reading.emplace_back(p.Rows, p.BytesRead);
  ASSERT_EQ(reading.size(), 4u);
  EXPECT_EQ(reading[0].first, 0);
  EXPECT_EQ(reading[1].first, 4096 - 2 - 4);  // the header and the short lines 997 to 3988
  EXPECT_GT(reading[2].second, reading[1].second);
  EXPECT_EQ(reading[3], std::make_pair(r.Rows, uint64_t{text.size()}));

  // The compressed copy gives the same; cut short, it fails as its reader does.
  const std::string gz = testing::Gzip(text);
  ASSERT_GE(gz.size(), kReadAheadBytes);
  Put("large.dat.gz", gz);
  Put("cut.dat.gz", gz.substr(0, gz.size() * 2 / 3));
  o.Progress = {};
  o.Table = "packed";
  const TImportResult packed = ImportElements(root_ / "large.dat.gz", o);
  EXPECT_EQ(packed.Summary(),
            std::regex_replace(r.Summary(), std::regex("small\\.db"), "packed.db"));
  std::string readError = "none";
  try {
    TElementFileReader in(root_ / "cut.dat.gz");
    std::string line;
    bool tooLong = false;
    while (in.NextLine(line, tooLong)) {
    }
  } catch (const EKestrovaError& e) {
    readError = e.what();
  }
  o.Table = "cut";
  try {
    ImportElements(root_ / "cut.dat.gz", o);
    ADD_FAILURE() << "imported a cut file";
  } catch (const EKestrovaError& e) {
    EXPECT_EQ(e.what(), readError);
  }

  // Stopped from the callback in the middle of the file, by answering false or by raising: no
  // table and no temporary file stay, and the callback is not called again.
  int calls = 0;
  o.Table = "stopped";
  o.Progress = [&calls](const TImportProgress& p) {
    ++calls;
    return p.Rows == 0;
  };
  EXPECT_THROW(ImportElements(root_ / "large.dat", o), EImportCancelled);
  EXPECT_EQ(calls, 2);
  o.Progress = [](const TImportProgress& p) {
    if (p.Rows > 5000) throw std::runtime_error("stop here");
    return true;
  };
  EXPECT_THROW(ImportElements(root_ / "large.dat.gz", o), std::runtime_error);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"packed.db", "small.db"}));
}

}  // namespace
}  // namespace kestrova
