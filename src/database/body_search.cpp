#include "database/body_search.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "database/packed_codes.h"

namespace kestrova {

namespace {

bool Upper(char c) {
  return c >= 'A' && c <= 'Z';
}

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

std::string Trimmed(const std::string& s) {
  const size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// The number of "433" or "(433)", or -1.
int64_t BodyNumber(const std::string& t) {
  std::string digits = t;
  if (digits.size() >= 2 && digits.front() == '(' && digits.back() == ')')
    digits = Trimmed(digits.substr(1, digits.size() - 2));
  if (digits.empty() || digits.size() > 15 || !std::all_of(digits.begin(), digits.end(), Digit))
    return -1;
  return std::stoll(digits);
}

// text for a LIKE pattern, its wildcards taken literally.
std::string LikeEscaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '_' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string UnpackProvisionalDesignation(const std::string& text) {
  if (text.size() != 7) return {};
  const int century = PackedCentury(text[0]);
  if (century < 0) return {};
  const int cycleHigh = Base62(text[4]);
  if (!Digit(text[1]) || !Digit(text[2]) || !Upper(text[3]) || text[3] == 'I' || text[3] == 'Z' ||
      cycleHigh < 0 || !Digit(text[5]) || !Upper(text[6]))
    return {};
  const int year = century + (text[1] - '0') * 10 + (text[2] - '0');
  const int cycle = cycleHigh * 10 + (text[5] - '0');
  std::string out = std::to_string(year) + ' ' + text[3] + text[6];
  if (cycle > 0) out += std::to_string(cycle);
  return out;
}

bool FindMinorBody(TableStore& table, const std::string& text) {
  const std::string t = Trimmed(text);
  if (const int64_t number = BodyNumber(t); number >= 0 && table.FindFirst("NO = ?", {number}))
    return true;
  if (table.FindNearest(t) && table.FieldAsString("NAME").rfind(t, 0) == 0) return true;
  if (t.empty()) return false;
  const std::string unpacked = UnpackProvisionalDesignation(t);
  const std::string name = LikeEscaped(unpacked.empty() ? t : unpacked);
  // LIKE compares letters without their case; the import writes "(number) name".
  const std::string condition = "NAME LIKE ? ESCAPE '\\' OR NAME LIKE ? ESCAPE '\\'";
  if (table.FindFirst(condition, {name, "(%) " + name})) return true;
  return table.FindFirst(condition, {name + "%", "(%) " + name + "%"});
}

}  // namespace kestrova
