#include "numerics/time_step.h"

#include <charconv>
#include <cmath>

namespace kestrova {

std::optional<Extended> UnitDays(TTimeUnit unit) {
  switch (unit) {
    case TTimeUnit::Minute:
      return 1.0L / 1440.0L;
    case TTimeUnit::Hour:
      return 1.0L / 24.0L;
    case TTimeUnit::Day:
      return 1.0L;
    case TTimeUnit::SiderealYear:
      return 365.25636024L;
    case TTimeUnit::TropicalYear:
      return 365.24219879L;
  }
  return std::nullopt;
}

std::string UnitWord(TTimeUnit unit) {
  switch (unit) {
    case TTimeUnit::Minute:
      return "minute(s)";
    case TTimeUnit::Hour:
      return "hour(s)";
    case TTimeUnit::Day:
      return "day(s)";
    case TTimeUnit::SiderealYear:
      return "sid. year(s)";
    case TTimeUnit::TropicalYear:
      return "trop. year(s)";
  }
  return "";
}

std::optional<TDateRec> StepDate(const TDateRec& date, Extended step, TTimeUnit unit,
                                 bool forward) {
  const Extended jd = DateToJD(date);
  Extended next = jd;
  if (const std::optional<Extended> days = UnitDays(unit))
    next = forward ? jd + step * *days : jd - step * *days;
  // Written so that a result that is no number fails both tests.
  if (!(next <= MaxShowJD) || !(next >= MinShowJD)) return std::nullopt;
  return JDToDate(0, next);
}

std::optional<Extended> ReadDecimal(std::string_view text, char separator) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::string s(text);
  for (char& c : s)
    if (c == separator) c = '.';
  // from_chars takes no plus sign.
  const char* first = s.data();
  const char* last = s.data() + s.size();
  if (*first == '+' && last - first > 1 && first[1] != '-') ++first;
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return Extended(value);
}

}  // namespace kestrova
