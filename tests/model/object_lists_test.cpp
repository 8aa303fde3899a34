#include "model/object_lists.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "model/astronomical_objects.h"
#include "streams/value_stream.h"

namespace kestrova {
namespace {

TOrbitalElements Elements(Extended a, Extended motion) {
  return {2451545.0L, 10.5L, 80.25L, 150.125L, a, motion, 0.2L, 33.5L};
}

std::vector<uint8_t> Written(const std::function<void(ValueWriter&)>& write) {
  MemorySink sink;
  ValueWriter writer(sink);
  write(writer);
  writer.Finish();
  return sink.Bytes();
}

TEST(OEObjectList, RoundTripRestoresMinorBodiesVisibleAtZeroAndStandardPlanets) {
  TOEObjectList list;
  auto& a = list.Add(std::make_unique<TAsteroid>("(1) Ceres", Elements(2.77L, 0.214L), 0x112233));
  auto& b = list.Add(std::make_unique<TAsteroid>("C/1995 O1", Elements(180.0L, 0.0004L), 0x445566));
  list.Add(std::make_unique<TPlanet>(kMars, 0x0A0B0C));
  list.Add(std::make_unique<TOEObject>("scratch kind", Elements(1, 1), 0x777777, 12));
  b.Visible = false;
  list.CalculateAll(2460676.5L);
  ASSERT_NE(a.Pos, TVector{});

  const auto bytes = Written([&](ValueWriter& w) { list.WriteList(w); });
  TOEObjectList back;
  back.Add(std::make_unique<TAsteroid>("old", Elements(1, 1), 0));
  MemorySource source(bytes);
  ValueReader reader(source);
  back.ReadList(reader);

  // The body of Id 12 is read and dropped; the old content is gone.
  ASSERT_EQ(back.Count(), 3);
  for (int i = 0; i < 2; ++i) {
    const TOEObject& original = list.Get(i);
    const auto* read = dynamic_cast<const TAsteroid*>(&back.Get(i));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Name, original.Name);
    EXPECT_EQ(read->Elements, original.Elements);
    EXPECT_EQ(read->Color, original.Color);
    EXPECT_EQ(read->Id, kMinorBodyId);
    EXPECT_TRUE(read->Visible);
    EXPECT_EQ(read->Pos, TVector{});
  }
  const auto* mars = dynamic_cast<const TPlanet*>(&back.Get(2));
  ASSERT_NE(mars, nullptr);
  EXPECT_EQ(mars->Name, "Mars");
  EXPECT_EQ(mars->Color, 0x0A0B0Cu);
  EXPECT_EQ(mars->Elements, MeanPlanetElements(kMars, 0, 2451544.5L));
}

// The older forms lack the position (1.5) and also the Id (1.0, always a minor body).
// A damaged or hand-made document: a minor body whose elements are no orbit would have no
// position at all, so the reader leaves it out and keeps the others. A hyperbolic comet is an
// orbit, and its elements come back as they were written.
TEST(OEObjectList, MinorBodiesWithoutAnOrbitAreLeftOut) {
  TOEObjectList list;
  list.Add(std::make_unique<TAsteroid>("good", Elements(2.77L, 0.214L), 0));
  TOrbitalElements hyperbolic = Elements(2.0L, 0.3L);
  hyperbolic.Eccentricity = 1.5L;
  list.Add(std::make_unique<TAsteroid>("hyperbolic", hyperbolic, 0));
  list.Add(std::make_unique<TAsteroid>("shrunk", Elements(-1.0L, 0.3L), 0));
  list.Add(std::make_unique<TAsteroid>(
      "no number", Elements(std::numeric_limits<Extended>::quiet_NaN(), 0.3L), 0));
  list.Add(std::make_unique<TAsteroid>("also good", Elements(1.5L, 0.5L), 0));
  const auto bytes = Written([&](ValueWriter& w) { list.WriteList(w); });
  TOEObjectList back;
  MemorySource source(bytes);
  ValueReader reader(source);
  back.ReadList(reader);
  ASSERT_EQ(back.Count(), 3);
  EXPECT_EQ(back.Get(0).Name, "good");
  EXPECT_EQ(back.Get(1).Name, "hyperbolic");
  EXPECT_EQ(back.Get(1).Elements, hyperbolic);
  EXPECT_EQ(back.Get(2).Name, "also good");
}

TEST(OEObjectList, OlderFormsReadTheirOwnValuesOnly) {
  const TOrbitalElements e = Elements(3.1L, 0.18L);
  const auto write_block = [&](ValueWriter& w, bool with_id, int32_t id) {
    w.WriteInteger(2);
    for (int i = 0; i < 2; ++i) {
      w.WriteString(i == 0 ? "first" : "second");
      w.WriteInteger(0x010203 + i);
      w.WriteBoolean(false);
      if (with_id) w.WriteInteger(i == 0 ? id : kMinorBodyId);
      for (Extended x : {e.Epoch, e.Inclination, e.Node, e.PerihelionLongitude, e.SemiMajorAxis,
                         e.DailyMotion, e.Eccentricity, e.MeanLongitude}) {
        w.WriteFloat(x);
      }
    }
    w.WriteInteger(-777);  // what follows the block
  };
  struct Case {
    const char* form;
    bool with_id;
    int32_t first_id;
    int expected_count;
  };
  for (const Case& c :
       {Case{"1.5", true, kVenus, 2}, Case{"1.5", true, -5, 1}, Case{"1.0", false, 0, 2}}) {
    SCOPED_TRACE(c.form);
    const auto bytes = Written([&](ValueWriter& w) { write_block(w, c.with_id, c.first_id); });
    MemorySource source(bytes);
    ValueReader reader(source);
    TOEObjectList list;
    if (c.with_id) {
      list.ReadList15(reader);
    } else {
      list.ReadList10(reader);
    }
    EXPECT_EQ(reader.ReadInteger(), -777);
    ASSERT_EQ(list.Count(), c.expected_count);
    const TOEObject& last = list.Get(list.Count() - 1);
    EXPECT_EQ(last.Name, "second");
    EXPECT_EQ(last.Elements, e);
    EXPECT_TRUE(last.Visible);
    if (!c.with_id) {
      EXPECT_EQ(list.Get(0).Id, kMinorBodyId);
    }
  }
}

TEST(OEObjectList, CountsBeyondTheDataEndWithAReadErrorKeepingWhatWasRead) {
  TOEObjectList one;
  one.Add(std::make_unique<TAsteroid>("only", Elements(2, 0.2L), 1));
  auto bytes = Written([&](ValueWriter& w) { one.WriteList(w); });
  // The count is the first value: Int32 tag 4, then 2^31 - 1.
  ASSERT_EQ(bytes[0], static_cast<uint8_t>(ValueTag::Int8));
  std::vector<uint8_t> hostile = {static_cast<uint8_t>(ValueTag::Int32), 0xFF, 0xFF, 0xFF, 0x7F};
  hostile.insert(hostile.end(), bytes.begin() + 2, bytes.end());
  MemorySource source(hostile);
  ValueReader reader(source);
  TOEObjectList list;
  EXPECT_THROW(list.ReadList(reader), EReadError);
  EXPECT_EQ(list.Count(), 1);

  const std::vector<uint8_t> empty = {static_cast<uint8_t>(ValueTag::Int8), 0};
  MemorySource empty_source(empty);
  ValueReader empty_reader(empty_source);
  list.ReadList(empty_reader);
  EXPECT_EQ(list.Count(), 0);
}

TEST(OEObjectList, RemoveByNameAndGetOutsideTheList) {
  TOEObjectList list;
  list.Add(std::make_unique<TAsteroid>("Vesta", Elements(2, 0.2L), 1));
  list.Add(std::make_unique<TAsteroid>("Pallas", Elements(2, 0.2L), 2));
  list.Add(std::make_unique<TAsteroid>("Vesta", Elements(2, 0.2L), 3));
  list.RemoveByName("vesta");  // case matters
  EXPECT_EQ(list.Count(), 3);
  list.RemoveByName("Vesta");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Get(0).Name, "Pallas");
  EXPECT_THROW(list.Get(1), EListError);
  EXPECT_THROW(list.Get(-1), EListError);
}

TEST(DirectionList, RoundTripKeepsVisibilityAndAssignListShowsEveryCopy) {
  TDirectionList lines;
  lines.Add(std::make_unique<TDirection>(kEarth, 0x00FF00, kMars));
  lines.Add(std::make_unique<TDirection>(9, 0x0000FF, kJupiter)).Visible = false;
  const auto bytes = Written([&](ValueWriter& w) { lines.WriteList(w); });
  TDirectionList back;
  MemorySource source(bytes);
  ValueReader reader(source);
  back.ReadList(reader);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Get(1).FromId, 9);
  EXPECT_EQ(back.Get(1).ToId, kJupiter);
  EXPECT_EQ(back.Get(1).Color, 0x0000FFu);
  EXPECT_FALSE(back.Get(1).Visible);

  TDirectionList copy;
  copy.AssignList(back);
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_TRUE(copy.Get(1).Visible);
  EXPECT_EQ(copy.Get(1).Color, 0x0000FFu);
  back.AssignList(back);  // handing a list itself keeps its lines
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Get(0).ToId, kMars);
  EXPECT_TRUE(back.Get(1).Visible);
}

TEST(DirectionList, DeleteRemovesOneLineAndKeepsTheOrder) {
  TDirectionList lines;
  for (int i = 0; i < 3; ++i) lines.Add(std::make_unique<TDirection>(i, 0x10 * i, 9));
  lines.Delete(1);
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Get(0).FromId, 0);
  EXPECT_EQ(lines.Get(1).FromId, 2);
  EXPECT_THROW(lines.Delete(2), EListError);
  EXPECT_THROW(lines.Delete(-1), EListError);
  lines.Delete(1);
  lines.Delete(0);
  EXPECT_EQ(lines.Count(), 0);
}

TEST(DirectionList, TruncatedListKeepsTheCompleteLines) {
  TDirectionList lines;
  for (int i = 0; i < 3; ++i) lines.Add(std::make_unique<TDirection>(i, 0x10 * i, 9));
  auto bytes = Written([&](ValueWriter& w) { lines.WriteList(w); });
  bytes.resize(bytes.size() - 1);  // the last Boolean is missing
  MemorySource source(bytes);
  ValueReader reader(source);
  TDirectionList back;
  EXPECT_THROW(back.ReadList(reader), EReadError);
  EXPECT_EQ(back.Count(), 2);
}

}  // namespace
}  // namespace kestrova
