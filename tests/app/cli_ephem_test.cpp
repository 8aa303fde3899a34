#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "app/cli_test_support.h"
#include "ephemerides/kepler_orbits.h"
#include "ephemerides/moon.h"
#include "ephemerides/planet_positions.h"
#include "ephemerides/precession.h"
#include "model/astronomical_objects.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "scene/solar_system.h"
#include "support/scene_date.h"

namespace kestrova::cli {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Row(const std::string& name, Extended jd, const TVector& v) {
  return name + "," + Format("%.17Lg,%.17Lg,%.17Lg,%.17Lg", jd, v.x, v.y, v.z);
}

TEST(CliEphem, PositionsInBothFrames) {
  const Extended jd = 2460676.5L;
  const TCliResult mars = RunCommand({"ephem", "mars", "2460676.5"});
  ASSERT_EQ(mars.status, kOk) << mars.err;
  EXPECT_EQ(Lines(mars.out), (std::vector<std::string>{
                                 "body,jd,x,y,z", Row("Mars", jd, PlanetPosition(3, jd).Rect)}));

  const TCliResult earth = RunCommand({"ephem", "--frame", "j2000", "0", "2460676.5"});
  ASSERT_EQ(earth.status, kOk) << earth.err;
  EXPECT_EQ(Lines(earth.out)[1], Row("Earth", jd, PlanetPositionJ2000(0, jd)));

  const TCliResult moon = RunCommand({"ephem", "--frame", "J2000", "MOON", "2460676.5"});
  EXPECT_EQ(Lines(moon.out)[1], Row("Moon", jd, MoonPosition(jd, false, true, true).Rect));

  // Pluto stays on its Kepler orbit in the scene's frame.
  const TCliResult pluto = RunCommand({"ephem", "8", "2460676.5"});
  EXPECT_EQ(Lines(pluto.out)[1],
            Row("Pluto", jd, KeplerPosition(MeanPlanetElements(8, 0, jd), jd)));
}

TEST(CliEphem, SatellitesAndDatesFromStandardInput) {
  const TCliResult io = RunCommand({"ephem", "Io", "-"}, "2451545\n\n 2451546.25 \n");
  ASSERT_EQ(io.status, kOk) << io.err;
  const std::vector<std::string> lines = Lines(io.out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1].rfind("Io,2451545,", 0), 0u);
  EXPECT_EQ(lines[2].rfind("Io,2451546.25,", 0), 0u);
  // Io keeps within 0.0029 AU of Jupiter in both frames and for every numbering.
  for (const Args& args :
       {Args{"ephem", "140", "2451545"}, Args{"ephem", "--frame", "j2000", "io", "2451545"}}) {
    const TCliResult r = RunCommand(args);
    ASSERT_EQ(r.status, kOk);
    long double x, y, z;
    ASSERT_EQ(std::sscanf(Lines(r.out)[1].c_str(), "Io,%*[^,],%Lg,%Lg,%Lg", &x, &y, &z), 3);
    const long double d = std::sqrt(x * x + y * y + z * z);
    EXPECT_GT(d, 0.0027L);
    EXPECT_LT(d, 0.0029L);
  }
}

// The rows of one body for these dates, without the header.
std::vector<std::string> Rows(const std::string& body, const std::vector<std::string>& dates) {
  Args args{"ephem", body};
  args.insert(args.end(), dates.begin(), dates.end());
  const TCliResult r = RunCommand(args);
  EXPECT_EQ(r.status, kOk) << r.err;
  std::vector<std::string> rows = Lines(r.out);
  if (!rows.empty()) rows.erase(rows.begin());
  return rows;
}

// Every body at every date gets the position the scene shows after SetDate to that date, however
// many dates are asked for and in whatever order: nothing carries over from one date to the next.
TEST(CliEphem, EachDateAsTheSceneShowsItWhateverWasAskedBefore) {
  // Dates that calendar records hold exactly, far apart so that every frame differs.
  const std::vector<std::string> dates = {"2300000.5", "2460000.25", "2451545", "1721058.75"};
  std::vector<std::string> reversed(dates.rbegin(), dates.rend());
  std::vector<int32_t> ids = {0, 1, 2, 3, 4, 5, 6, 7, 8, kMoonId};
  for (int32_t id = 140; id <= 143; ++id) ids.push_back(id);
  for (int32_t id = 156; id <= 167; ++id) ids.push_back(id);
  for (int32_t id = 170; id <= 174; ++id) ids.push_back(id);

  TSolarSystem scene{TestStartDate()};
  std::vector<std::vector<TVector>> shown(dates.size());
  for (size_t d = 0; d < dates.size(); ++d) {
    const Extended jd = std::stold(dates[d]);
    scene.SetDate(JDToDate(0, jd));
    ASSERT_EQ(DateToJD(scene.SceneDate()), jd);
    for (const int32_t id : ids) {
      const TAstronomialObject* body = id <= 8 ? static_cast<TAstronomialObject*>(&scene.Planet(id))
                                       : id == kMoonId ? scene.Planet(kEarth).FindSatellite(id)
                                       : id < 150      ? scene.Planet(kJupiter).FindSatellite(id)
                                       : id < 170      ? scene.Planet(kSaturn).FindSatellite(id)
                                                       : scene.Planet(kUranus).FindSatellite(id);
      shown[d].push_back(body->Pos);
    }
  }

  for (size_t i = 0; i < ids.size(); ++i) {
    const std::string body = std::to_string(ids[i]);
    SCOPED_TRACE(body);
    const std::vector<std::string> forwards = Rows(body, dates);
    const std::vector<std::string> backwards = Rows(body, reversed);
    ASSERT_EQ(forwards.size(), dates.size());
    ASSERT_EQ(backwards.size(), dates.size());
    for (size_t d = 0; d < dates.size(); ++d) {
      EXPECT_EQ(forwards[d], backwards[dates.size() - 1 - d]) << dates[d];
      EXPECT_EQ(Rows(body, {dates[d]}), std::vector<std::string>{forwards[d]}) << dates[d];
      const std::string name = forwards[d].substr(0, forwards[d].find(','));
      EXPECT_EQ(forwards[d], Row(name, std::stold(dates[d]), shown[d][i])) << dates[d];
    }
  }
}

TEST(CliEphem, BadInputPrintsNothingAndExitsTwo) {
  const std::vector<Args> cases = {
      {"ephem", "Vulcan", "2451545"},
      {"ephem", "9", "2451545"},
      {"ephem", "175", "2451545"},
      {"ephem", "Earth", "2451545", "4000001"},  // the first date is good: nothing half-printed
      {"ephem", "Earth", "-0.5"},
      {"ephem", "Earth", "soon"},
      {"ephem", "--frame", "galactic", "Earth", "2451545"},
      {"ephem", "Earth"},
  };
  for (const Args& args : cases) {
    const TCliResult r = RunCommand(args);
    EXPECT_EQ(r.status, kBadInput) << args[2];
    EXPECT_EQ(r.out, "") << args[2];
    EXPECT_NE(r.err, "") << args[2];
  }
}

TEST(CliEphem, StandardInputStopsAtTheFirstBadLineAfterTheGoodOnes) {
  struct Case {
    std::string input;
    size_t rows;  // printed before the bad line
    std::string message;
  };
  const Case cases[] = {
      {"2451545\nnot a date\n2451546\n", 1,
       "kestrova-cli ephem: line 2: 'not a date' is not a valid floating point value\n"},
      {"2451545\n" + std::string(kMaxDateLine + 1, '7') + "\n", 1,
       "kestrova-cli ephem: line 2 too long (more than 4096 bytes)\n"},
      // No line end at all: the reading stops at the limit (as on /dev/zero).
      {std::string(10 << 20, '\0'), 0,
       "kestrova-cli ephem: line 1 too long (more than 4096 bytes)\n"},
      // A long bad line that fits is quoted with 80 of its characters.
      {std::string(4000, '9') + "x\n", 0,
       "kestrova-cli ephem: line 1: '" + std::string(80, '9') +
           "...' is not a valid floating point value\n"},
      {"\n  2451545\t\r\n\n9999999999\n", 1,
       "kestrova-cli ephem: line 4: date 9999999999 overflows range (0 .. 4000000)\n"},
  };
  for (const Case& c : cases) {
    const TCliResult r = RunCommand({"ephem", "Moon", "-"}, c.input);
    EXPECT_EQ(r.status, kBadInput);
    EXPECT_EQ(Lines(r.out).size(), 1 + c.rows) << c.message;
    EXPECT_EQ(r.err, c.message);
  }
}

// Input that hands out one line at a time and notes what had been printed when the next line
// was asked for.
class TPacedInput : public std::streambuf {
 public:
  TPacedInput(std::vector<std::string> lines, const std::ostringstream& out)
      : lines_(std::move(lines)), out_(out) {}
  std::vector<std::string> printedBefore;

 protected:
  int_type underflow() override {
    if (next_ == lines_.size()) return traits_type::eof();
    printedBefore.push_back(out_.str());
    std::string& line = lines_[next_++];
    setg(line.data(), line.data(), line.data() + line.size());
    return traits_type::to_int_type(line[0]);
  }

 private:
  std::vector<std::string> lines_;
  size_t next_ = 0;
  const std::ostringstream& out_;
};

TEST(CliEphem, EachLineIsWrittenBeforeTheNextIsRead) {
  std::ostringstream out, err;
  TPacedInput paced({"2451545\n", "2451546\n", "2451547\n"}, out);
  std::istream in(&paced);
  ASSERT_EQ(RunCli({"ephem", "Mars", "-"}, in, out, err), kOk) << err.str();
  ASSERT_EQ(paced.printedBefore.size(), 3u);
  EXPECT_EQ(Lines(paced.printedBefore[1]).size(), 2u);
  EXPECT_EQ(Lines(paced.printedBefore[2]).back().rfind("Mars,2451546,", 0), 0u);
  EXPECT_EQ(Lines(out.str()).size(), 4u);
}

}  // namespace
}  // namespace kestrova::cli
