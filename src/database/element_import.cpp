#include "database/element_import.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "database/data_files.h"
#include "database/element_file.h"
#include "database/minor_bodies.h"
#include "database/packed_codes.h"
#include "database/table_store.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "streams/replacing_file.h"
#include "streams/signal_cleanup.h"
#include "streams/text_encoding.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

// Lines with zero bytes before the first element line after which a file counts as no text
// (a binary file) and is read no further; so does an overlong line with zero bytes (/dev/zero).
constexpr int64_t kBinaryLinesLimit = 100;

// Columns first..last, counted from 1 as the format descriptions count them, without
// surrounding blanks; empty where the line is shorter. A view into the line: a catalogue has
// over a million lines, and a copy of every field would cost more than reading it.
std::string_view Col(std::string_view line, size_t first, size_t last) {
  if (line.size() < first) return {};
  size_t b = first - 1, e = std::min(last, line.size());
  while (b < e && (line[b] == ' ' || line[b] == '\t')) ++b;
  while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\t')) --e;
  return line.substr(b, e - b);
}

// What tells one body of a file from another when it has no number: the packed designation
// of a minor planet, or the comet's number, orbit type and provisional designation.
std::string_view Designation(TElementFormat format, std::string_view line) {
  return format == TElementFormat::Mpcorb ? Col(line, 1, 7) : Col(line, 1, 12);
}

// The text without a UTF-8 character that the end of its columns cut short.
std::string_view WithoutCutCharacter(std::string_view s) {
  size_t lead = s.size(), following = 0;
  while (lead > 0 && following < 3 && (static_cast<unsigned char>(s[lead - 1]) & 0xC0) == 0x80) {
    --lead;
    ++following;
  }
  if (lead == 0) return s;
  const auto first = static_cast<unsigned char>(s[lead - 1]);
  const size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
  return length > following + 1 ? s.substr(0, lead - 1) : s;
}

// A name as the data file holds it, into `name`: UTF-8 of at most `characters` characters, cut
// between two of them, without blanks at its end. A name that is no UTF-8 was written in Latin-1
// (as the Windows-1252 of old files).
void NameText(std::string_view bytes, size_t characters, std::string& name) {
  // Nearly every name is ASCII: one byte a character, nothing to convert, and the row's string
  // keeps its memory from line to line.
  if (IsAscii(bytes)) {
    name.assign(bytes.substr(0, characters));
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return;
  }
  // A last byte alone may be a Latin-1 letter or the start of a character cut short; other
  // UTF-8 characters before it tell which.
  const std::string_view cut = WithoutCutCharacter(bytes);
  name = SanitizeUtf8(bytes) == bytes                ? std::string(bytes)
         : !IsAscii(cut) && SanitizeUtf8(cut) == cut ? std::string(cut)
                                                     : Windows1252ToUtf8(bytes);
  size_t end = 0;
  for (size_t count = 0; end < name.size() && count < characters; ++count) {
    ++end;
    while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
  }
  name.resize(end);
  while (!name.empty() && name.back() == ' ') name.pop_back();
}

// Only plain decimal numbers, as the formats write them ("-1.25", "0.5", "12."): no exponent,
// no hexadecimal, no "inf" or "nan", which strtod would all accept.
bool ToDouble(std::string_view text, double& out) {
  if (text.empty()) return false;
  size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
  size_t digits = 0;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++digits;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  // Both round correctly, so they agree; strtod, which needs a terminated copy, is left for
  // what from_chars refuses (a leading '+', digits beyond the range of a double).
  const char* begin = text.data() + (text[0] == '+' ? 1 : 0);
  if (std::from_chars(begin, text.data() + text.size(), out).ec != std::errc())
    out = std::strtod(std::string(text).c_str(), nullptr);
  return std::isfinite(out);
}

bool ToInt(std::string_view text, int& out) {
  if (text.empty() || text.size() > 9) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  out = value;
  return true;
}

bool LeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && LeapYear(y) ? 29 : kDays[m - 1];
}

// Julian date of 0h of a Gregorian calendar date, or -1 when the date does not exist. The day
// number in whole-number arithmetic (the Fliegel-Van Flandern form): DateToJD gives the same
// value, but through extended precision that costs a tenth of a catalogue's reading.
double CalendarJD(int year, int month, int day) {
  if (year < 1583 || year > 6000 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return -1;
  const int a = (14 - month) / 12, y = year + 4800 - a, m = month + 12 * a - 3;
  const int dayNumber = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
  return dayNumber - 0.5;
}

double Norm360(double x) {
  double r = std::fmod(x, 360.0);
  if (r < 0) r += 360.0;
  return r;
}

const char* OrbitTypeName(unsigned type) {
  switch (type) {
    // The type of most rows: a blank would read as "not known".
    case 0:
      return "main belt";
    case 1:
      return "Atira";
    case 2:
      return "Aten";
    case 3:
      return "Apollo";
    case 4:
      return "Amor";
    case 5:
      return "q < 1.665 AU";
    case 6:
      return "Hungaria";
    case 8:
      return "Hilda";
    case 9:
      return "Jupiter trojan";
    case 10:
      return "Distant object";
    default:
      return "";
  }
}

// Shared checks of the elements of both formats: angles in their ranges, a closed orbit where
// the format can only describe one (MPCORB gives a and M; comets give q and may be open), and a
// semi-major axis (or perihelion distance) that a body of the solar system can have.
const char* CheckElements(double M, double peri, double node, double incl, double e, double a,
                          bool openAllowed = false) {
  if (!(M >= 0 && M <= 360 && peri >= 0 && peri <= 360 && node >= 0 && node <= 360 && incl >= 0 &&
        incl <= 180 && e >= 0))
    return "out of range";
  if (e >= 1 && !openAllowed) return "e >= 1";
  if (!(a > 0 && a <= kMaxSemiMajorAxis)) return "out of range";
  return nullptr;
}

void Truncated(std::string_view s, size_t n, std::string& out) {
  s = s.substr(0, n);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  out.assign(s);
}

bool Blank(const std::string& line) {
  return line.find_first_not_of(" \t") == std::string::npos;
}

bool DashLine(const std::string& line) {
  const std::string_view t = Col(line, 1, line.size());
  return t.size() >= 10 && t.find_first_not_of('-') == std::string::npos;
}

}  // namespace

int64_t UnpackNumber(std::string_view p) {
  if (p.size() != 5) return -1;
  if (p[0] == '~') {
    int64_t v = 0;
    for (size_t i = 1; i < 5; ++i) {
      const int d = Base62(p[i]);
      if (d < 0) return -1;
      v = v * 62 + d;
    }
    return 620000 + v;
  }
  const int lead = Base62(p[0]);
  if (lead < 0) return -1;
  int64_t v = lead;
  for (size_t i = 1; i < 5; ++i) {
    if (p[i] < '0' || p[i] > '9') return -1;
    v = v * 10 + (p[i] - '0');
  }
  return v;
}

double UnpackEpoch(std::string_view p) {
  if (p.size() != 5) return -1;
  const int century = PackedCentury(p[0]);
  if (century < 0) return -1;
  if (p[1] < '0' || p[1] > '9' || p[2] < '0' || p[2] > '9') return -1;
  const int month = Base62(p[3]), day = Base62(p[4]);
  if (month < 1 || day < 1) return -1;
  return CalendarJD(century + (p[1] - '0') * 10 + (p[2] - '0'), month, day);
}

const char* ParseMpcorbLine(const std::string& line, TElementRow& row) {
  if (line.size() < 103) return "too short";
  const std::string_view packed = Col(line, 1, 7);
  if (line.size() >= 7 && line[5] == ' ' && line[6] == ' ' && packed.size() == 5) {
    row.No = UnpackNumber(packed);
    if (row.No <= 0) return "bad designation";
  } else if (packed.size() == 7 &&
             std::all_of(packed.begin(), packed.end(), [](char c) { return Base62(c) >= 0; })) {
    row.No = 0;
  } else {
    return "bad designation";
  }
  const double epoch = UnpackEpoch(Col(line, 21, 25));
  if (epoch < 0) return "bad epoch";
  double M, peri, node, incl, e, a;
  if (!ToDouble(Col(line, 27, 35), M) || !ToDouble(Col(line, 38, 46), peri) ||
      !ToDouble(Col(line, 49, 57), node) || !ToDouble(Col(line, 60, 68), incl) ||
      !ToDouble(Col(line, 71, 79), e) || !ToDouble(Col(line, 93, 103), a))
    return "bad number";
  if (const char* why = CheckElements(M, peri, node, incl, e, a)) return why;
  unsigned flags = 0;
  const std::string_view hex = Col(line, 162, 165);
  for (const char c : hex) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return "bad flags";
    flags = flags * 16 + static_cast<unsigned>(digit);
  }
  NameText(Col(line, 167, 194), kNameCharacters, row.Name);
  if (row.Name.empty()) {
    if (row.No > 0) {
      char number[24];
      std::snprintf(number, sizeof number, "(%lld)", static_cast<long long>(row.No));
      row.Name = number;
    } else {
      row.Name.assign(packed);
    }
  }
  row.M = M;
  row.NW = Norm360(node + peri);
  row.OHM = node;
  row.I = incl;
  row.E = e;
  row.A = a;
  row.Date = epoch;
  // Without flags the type is not known.
  row.Class = hex.empty() ? "" : OrbitTypeName(flags & 63u);
  row.IsNea = (flags & 2048u) ? "Y" : "N";
  row.IsPha = (flags & 32768u) ? "Y" : "N";
  Truncated(Col(line, 108, 116), 16, row.Reference);
  Truncated(Col(line, 151, 160), 16, row.Computer);
  return nullptr;
}

const char* ParseCometLine(const std::string& line, TElementRow& row) {
  if (line.size() < 79) return "too short";
  int year, month, eyear = 0, emonth = 0, eday = 0;
  double day;
  if (!ToInt(Col(line, 15, 18), year) || !ToInt(Col(line, 20, 21), month) ||
      !ToDouble(Col(line, 23, 29), day))
    return "bad perihelion time";
  const double whole = std::floor(day);
  const double tp0 = CalendarJD(year, month, static_cast<int>(whole));
  if (tp0 < 0 || day < 1) return "bad perihelion time";
  const Extended tp = Extended(tp0) + (day - whole);
  double q, e, peri, node, incl;
  if (!ToDouble(Col(line, 31, 39), q) || !ToDouble(Col(line, 42, 49), e) ||
      !ToDouble(Col(line, 52, 59), peri) || !ToDouble(Col(line, 62, 69), node) ||
      !ToDouble(Col(line, 72, 79), incl))
    return "bad number";
  if (!(q > 0)) return "out of range";
  if (const char* why = CheckElements(0, peri, node, incl, e, e < 1 ? q / (1 - e) : q, true))
    return why;
  Extended epoch = tp;
  const std::string_view ey = Col(line, 82, 85);
  if (!ey.empty()) {
    if (!ToInt(ey, eyear) || !ToInt(Col(line, 86, 87), emonth) || !ToInt(Col(line, 88, 89), eday))
      return "bad epoch";
    const double jd = CalendarJD(eyear, emonth, eday);
    if (jd < 0) return "bad epoch";
    epoch = jd;
  }
  // Parabolic and hyperbolic comets store q in A and an unreduced anomaly in M.
  const TPerihelionForm orbit = FromPerihelion(q, e, tp, epoch, kMinorBodyMotion);
  row.No = 0;
  NameText(Col(line, 103, 158), kNameCharacters, row.Name);
  if (row.Name.empty()) NameText(Col(line, 1, 12), kNameCharacters, row.Name);
  row.M = static_cast<double>(orbit.MeanAnomaly);
  row.NW = Norm360(node + peri);
  row.OHM = node;
  row.I = incl;
  row.E = e;
  row.A = static_cast<double>(orbit.SemiMajorAxis);
  row.Date = static_cast<double>(epoch);
  const char type = line.size() >= 5 ? line[4] : ' ';
  row.Class = type == 'P' ? "Periodic comet" : type == 'D' ? "Defunct comet" : "Comet";
  // Comets passing within 1.3 AU of the Sun count as near-Earth objects.
  row.IsNea = q < 1.3 ? "Y" : "N";
  row.IsPha = "N";
  Truncated(Col(line, 160, 168), 16, row.Reference);
  row.Computer.clear();
  return nullptr;
}

const char* FormatName(TElementFormat format) {
  return format == TElementFormat::Mpcorb ? "mpcorb" : "comets";
}

std::optional<TElementFormat> DetectElementFormat(const std::vector<std::string>& lines) {
  int64_t mpcorb = 0, comets = 0;
  TElementRow row;
  for (const std::string& line : lines) {
    if (!ParseMpcorbLine(line, row)) ++mpcorb;
    if (!ParseCometLine(line, row)) ++comets;
  }
  if (mpcorb == 0 && comets == 0) return std::nullopt;
  return mpcorb >= comets ? TElementFormat::Mpcorb : TElementFormat::Comets;
}

std::optional<TElementFormat> DetectElementFormat(const fs::path& file) {
  TElementFileReader in(file);
  std::vector<std::string> lines;
  std::string line;
  bool tooLong = false;
  int64_t binaryLines = 0;
  for (size_t read = 0; read < kDetectionLines && in.NextLine(line, tooLong); ++read) {
    // A line with zero bytes is no element line; many of them are no text at all, and may not
    // end (a device).
    if (line.find('\0') != std::string::npos) {
      if (tooLong || ++binaryLines >= kBinaryLinesLimit) break;
    } else if (!tooLong) {
      lines.push_back(line);
    }
  }
  return DetectElementFormat(lines);
}

std::string TImportResult::SkippedText() const {
  if (Skipped == 0) return {};
  std::string s =
      Format("skipped %lld line%s (", static_cast<long long>(Skipped), Skipped == 1 ? "" : "s");
  for (size_t i = 0; i < Reasons.size(); ++i) {
    const TSkipReason& r = Reasons[i];
    s += Format("%s%s: %lld at line%s ", i ? "; " : "", r.Reason.c_str(),
                static_cast<long long>(r.Count), r.FirstLines.size() > 1 ? "s" : "");
    for (size_t k = 0; k < r.FirstLines.size(); ++k)
      s += Format("%s%lld", k ? ", " : "", static_cast<long long>(r.FirstLines[k]));
    if (r.Count > static_cast<int64_t>(r.FirstLines.size())) s += ", ...";
  }
  return s + ")";
}

std::string TImportResult::Summary() const {
  std::string s = Format("Imported %lld row%s into %s; ", static_cast<long long>(Rows),
                         Rows == 1 ? "" : "s", TableFile.c_str());
  s += Skipped > 0 ? SkippedText() : std::string("skipped 0 lines");
  if (Duplicates == 0) return s;
  s += Format("; %lld duplicate%s replaced the row of an earlier line (at line%s ",
              static_cast<long long>(Duplicates), Duplicates == 1 ? "" : "s",
              DuplicateLines.size() > 1 ? "s" : "");
  for (size_t k = 0; k < DuplicateLines.size(); ++k)
    s += Format("%s%lld", k ? ", " : "", static_cast<long long>(DuplicateLines[k]));
  return s + (Duplicates > static_cast<int64_t>(DuplicateLines.size()) ? ", ...)" : ")");
}

const char* TableNameProblem(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos) return "it is empty or only blanks";
  if (name == "." || name == "..") return "it names a folder";
  if (name[0] == '.') return "it would be a hidden file";
  if (name.find_first_of("/\\") != std::string::npos) return "it holds a folder separator";
  if (name.find_first_of("'\"") != std::string::npos) return "it holds a quote";
  if (std::any_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
      }))
    return "it holds a control character";
  return nullptr;
}

namespace {

// ".NAME.db.importing-PID", with "-journal" after it for the engine's journal.
bool TempImportPid(const std::string& name, long& pid) {
  constexpr std::string_view kMark = ".db.importing-";
  if (name.size() < 2 || name[0] != '.') return false;
  const size_t mark = name.rfind(kMark);
  if (mark == std::string::npos || mark == 0) return false;
  std::string digits = name.substr(mark + kMark.size());
  if (digits.ends_with("-journal")) digits.resize(digits.size() - 8);
  if (digits.empty() || digits.size() > 9 ||
      digits.find_first_not_of("0123456789") != std::string::npos)
    return false;
  pid = std::atol(digits.c_str());
  return pid > 0;
}

}  // namespace

int RemoveStaleImports(const fs::path& folder) {
  return RemoveFilesOfGoneProcesses(folder.string(), TempImportPid);
}

namespace {

// The table's file for the options: the name checked, ".db" added, and an existing file
// refused unless it may be replaced and is a data file.
fs::path ImportTarget(const TImportOptions& opt) {
  if (const char* why = TableNameProblem(opt.Table))
    throw EKestrovaError(Format("Invalid table name '%s': %s", Excerpt(opt.Table).c_str(), why));
  std::string tableName = opt.Table;
  if (!tableName.ends_with(".db")) tableName += ".db";
  const fs::path target = TableStore::TablePath(opt.Alias, tableName);
  std::error_code ec;
  if (fs::exists(target, ec)) {
    if (!opt.Replace)
      throw EKestrovaError(
          Format("Table %s exists already (use --replace to overwrite it)", target.c_str()));
    // The rename is for data files: a device or a FIFO in the table's place stays.
    if (!fs::is_regular_file(target, ec))
      throw EKestrovaError(
          Format("Cannot replace %s: it is no data file but a %s", target.c_str(),
                 fs::is_directory(target, ec) ? "folder" : "special file (a device or a FIFO)"));
  }
  return target;
}

// Flushes a finished file to the disk, so that it is durable before it replaces anything.
void MakeDurable(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0 || ::fsync(fd) != 0) {
    const std::string msg = std::strerror(errno);
    if (fd >= 0) ::close(fd);
    throw EKestrovaError(Format("Cannot write %s: %s", path.c_str(), msg.c_str()));
  }
  ::close(fd);
}

// A row read from a line, its texts in the buffer of the lines read with it, and the
// designation that tells a body without a number from the others.
struct TRowView {
  int64_t No = 0;
  double M = 0, NW = 0, OHM = 0, I = 0, E = 0, A = 0, Date = 0;
  std::string_view Name, Class, IsNea, IsPha, Reference, Computer, Designation;
};

// The rows of the bodies without a number, held back until the whole file is read. Their keys
// run downwards (-1, -2, ...) in the order of the file, so each would go in before every row
// written so far: the engine then leaves its pages half full, and the table takes twice the
// room and the work. Written from the last to the first, they go in ascending order. The rows
// are packed one after the other in blocks of a megabyte, with no allocation of their own.
class TUnnumberedRows {
 public:
  // Keeps the row of key `no` (-1, -2, ... as they come); a later row of a key replaces it.
  void Put(int64_t no, const TRowView& row) {
    // The most a row takes: seven numbers, six sizes and the texts (56 characters of up to four
    // bytes, 20, 1, 1, 16 and 16 bytes).
    constexpr size_t kMostBytes = 7 * sizeof(double) + 6 * sizeof(uint16_t) + 4 * 56 + 54;
    if (blocks_.empty() || kBlock - used_ < kMostBytes) {
      // Not zeroed: every byte is written before it is read.
      blocks_.push_back(std::unique_ptr<char[]>(new char[kBlock]));
      used_ = 0;
    }
    const auto slot = static_cast<size_t>(-(no + 1));
    if (slot >= rows_.size()) rows_.resize(slot + 1);
    rows_[slot] = blocks_.back().get() + used_;
    const double numbers[] = {row.M, row.NW, row.OHM, row.I, row.E, row.A, row.Date};
    Append(numbers, sizeof numbers);
    for (const std::string_view text :
         {row.Name, row.Class, row.IsNea, row.IsPha, row.Reference, row.Computer}) {
      const auto size = static_cast<uint16_t>(text.size());
      Append(&size, sizeof size);
      Append(text.data(), size);
    }
  }

  // Calls write with the values of every row in the table's field order, from the lowest key
  // (the last body) to -1, then lets the memory go.
  template <typename Write>
  void WriteAscending(Write write) {
    for (size_t slot = rows_.size(); slot-- > 0;) {
      const char* at = rows_[slot];
      double n[7];
      std::memcpy(n, at, sizeof n);
      at += sizeof n;
      std::string_view t[6];
      for (std::string_view& text : t) {
        uint16_t size;
        std::memcpy(&size, at, sizeof size);
        text = std::string_view(at + sizeof size, size);
        at += sizeof size + size;
      }
      const TFieldView values[] = {-static_cast<int64_t>(slot) - 1,
                                   t[0],
                                   n[0],
                                   n[1],
                                   n[2],
                                   n[3],
                                   n[4],
                                   n[5],
                                   n[6],
                                   t[1],
                                   t[2],
                                   t[3],
                                   t[4],
                                   t[5]};
      write(values);
    }
    std::vector<const char*>().swap(rows_);
    blocks_.clear();
  }

 private:
  static constexpr size_t kBlock = 1 << 20;

  void Append(const void* data, size_t size) {
    std::memcpy(blocks_.back().get() + used_, data, size);
    used_ += size;
  }

  std::vector<std::unique_ptr<char[]>> blocks_;
  size_t used_ = 0;                // of the last block
  std::vector<const char*> rows_;  // where each key's row is, by -(key + 1)
};

// Rows waiting to be written together (TableStore::AppendRows), which costs the engine several
// times less than a statement a row. Their texts are copied, as the row they come from is
// filled again by the next line; the buffers are sized once and never move.
class TRowBatch {
 public:
  static constexpr size_t kRows = 256;

  TRowBatch() {
    values_.reserve(kRows * kFields);
    text_.resize(kRows * kTextPerRow);
  }

  // Adds a row; false, with nothing added, when it does not fit beside the rows waiting.
  bool Add(std::span<const TFieldView> row) {
    size_t bytes = 0;
    for (const TFieldView& v : row)
      if (const auto* text = std::get_if<std::string_view>(&v)) bytes += text->size();
    if (rows_ == kRows || row.size() != kFields || text_.size() - used_ < bytes) return false;
    for (const TFieldView& v : row) {
      if (const auto* text = std::get_if<std::string_view>(&v)) {
        char* at = text_.data() + used_;
        std::memcpy(at, text->data(), text->size());
        used_ += text->size();
        values_.emplace_back(std::string_view(at, text->size()));
      } else {
        values_.push_back(v);
      }
    }
    ++rows_;
    return true;
  }

  bool Full() const { return rows_ == kRows; }
  size_t Rows() const { return rows_; }
  std::span<const TFieldView> Values() const { return values_; }
  void Clear() {
    values_.clear();
    used_ = 0;
    rows_ = 0;
  }

 private:
  static constexpr size_t kFields = 14;
  // Room for the texts of a row on average; a name takes at most 224 bytes, most take 20.
  static constexpr size_t kTextPerRow = 160;

  std::vector<TFieldView> values_;
  std::vector<char> text_;
  size_t used_ = 0;
  size_t rows_ = 0;
};

// What one line of the file turned out to be once read and parsed.
enum class TLineKind : uint8_t { Binary, TooLong, Blank, Skipped, Row };

// A line as the reading thread hands it over: what it is, and for a row its numbers and where
// its texts lie in the buffer of its batch.
struct TReadLine {
  int64_t Number = 0;
  uint64_t BytesRead = 0;  // of the file once the line was read
  TLineKind Kind = TLineKind::Blank;
  bool TooLong = false;  // the line was cut (its rest may never end)
  bool Dash = false;     // a line of dashes, which ends a header
  const char* Why = nullptr;
  int64_t No = 0;
  double M = 0, NW = 0, OHM = 0, I = 0, E = 0, A = 0, Date = 0;
  uint32_t Text = 0;
  // Name, class, NEA and PHA flags, reference, computer, designation: one after the other.
  uint16_t Sizes[7] = {};
};

TRowView ViewOf(const TReadLine& l, const char* buffer) {
  std::string_view t[7];
  const char* at = buffer + l.Text;
  for (size_t i = 0; i < 7; ++i) {
    t[i] = std::string_view(at, l.Sizes[i]);
    at += l.Sizes[i];
  }
  return {l.No, l.M, l.NW, l.OHM, l.I, l.E, l.A, l.Date, t[0], t[1], t[2], t[3], t[4], t[5], t[6]};
}

// Up to 4096 lines read and parsed together (they end at a line whose number is a multiple of
// 4096, where the import reports its progress). Its vectors keep their memory from batch to
// batch: the rows cost no allocation of their own.
struct TLineBatch {
  std::vector<TReadLine> Lines;
  std::vector<char> Text;
  bool Last = false;         // nothing comes after it
  uint64_t EndBytes = 0;     // of the file read once the last line had been looked for
  std::exception_ptr Error;  // what ended the reading, after the lines before it

  void Clear() {
    Lines.clear();
    Text.clear();
    Last = false;
    Error = nullptr;
  }
};

// The batches between the thread that reads the lines and the one that writes them: a few,
// filled in turn, so that the reader goes at most that far ahead of the rows written.
class TBatchQueue {
 public:
  static constexpr size_t kBatches = 4;

  TBatchQueue() {
    for (TLineBatch& b : batches_) {
      b.Lines.reserve(4096);
      b.Text.reserve(4096 * 64);
      free_.push_back(&b);
    }
  }

  // A batch to fill; nullptr when the reading is to stop.
  TLineBatch* Empty() { return Take(free_); }
  void Filled(TLineBatch* batch) { Give(full_, batch); }
  // The next batch filled; nullptr once stopped.
  TLineBatch* Full() { return Take(full_); }
  void Done(TLineBatch* batch) {
    batch->Clear();
    Give(free_, batch);
  }
  void Stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

 private:
  TLineBatch* Take(std::vector<TLineBatch*>& from) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return stopped_ || !from.empty(); });
    if (stopped_) return nullptr;
    TLineBatch* batch = from.front();
    from.erase(from.begin());
    return batch;
  }
  void Give(std::vector<TLineBatch*>& to, TLineBatch* batch) {
    {
      const std::lock_guard lock(mutex_);
      to.push_back(batch);
    }
    changed_.notify_all();
  }

  TLineBatch batches_[kBatches];
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TLineBatch*> free_, full_;  // in the order they were given
  bool stopped_ = false;
};

// Fills batches on a thread of its own while it lives; however the import ends (the file
// read, a cancellation raised from the progress callback, a failing engine), the thread is told
// to stop and is waited for.
class TReadAhead {
 public:
  template <typename Read>
  explicit TReadAhead(Read read) : thread_([this, read] { read(queue_); }) {}
  ~TReadAhead() {
    queue_.Stop();
    thread_.join();
  }
  TReadAhead(const TReadAhead&) = delete;
  TReadAhead& operator=(const TReadAhead&) = delete;

  TBatchQueue& Queue() { return queue_; }

 private:
  TBatchQueue queue_;
  std::thread thread_;
};

// One import from the element file into an open table, step by step: the format (read ahead
// when not given), the rows, the indices.
class TElementImport {
 public:
  TElementImport(const fs::path& file, const TImportOptions& opt, const fs::path& target)
      : file_(file), opt_(opt), in_(file) {
    result_.TableFile = target;
    progress_.BytesTotal = in_.BytesTotal();
  }

  TImportResult& Result() { return result_; }

  // The format given, or the one found in the first lines, which are kept to be read again.
  void FindFormat();
  // Every element line into the table, in transactions of 200,000 rows; lines that cannot be
  // read are counted by reason. A file without one element line is an error. The lines are
  // read and parsed on a second thread, a few batches ahead, while this one writes the rows:
  // the engine's work and the parsing, each a good part of the time, then overlap.
  void ReadRows(TableStore& table);
  // The data file's indices, with progress; the callback may stop it between the engine's
  // steps.
  void BuildIndices(TableStore& table);

 private:
  // The lines read ahead to find the format, given again before the rest of the file.
  struct TPending {
    std::string text;
    bool tooLong;
    int64_t number;
  };

  // Reports where the import stands; a callback that answers false ends it.
  void Report(TImportProgress::TStage stage, int percent);
  int ReadingPercent() const;
  bool NextLine(std::string& line, bool& tooLong, int64_t& number);
  // The next lines into the batch, up to one whose number is a multiple of 4096 (or only one
  // line), the file's end, or a line after which the import reads no more. An error reading
  // comes after the lines read before it.
  void FillBatch(TLineBatch& batch, bool oneLine);
  // On the reading thread: batch after batch until the last or until the queue is stopped.
  void ReadAhead(TBatchQueue& queue);

  const fs::path& file_;
  const TImportOptions& opt_;
  TElementFileReader in_;
  TImportResult result_;
  TImportProgress progress_;
  // Of the file, up to the line being written; the reader is ahead of it (and its own).
  uint64_t bytesRead_ = 0;
  TElementFormat format_ = TElementFormat::Mpcorb;
  std::vector<TPending> pending_;
  size_t next_pending_ = 0;
  // The line being read and its row, kept from line to line (owned by the reading thread while
  // there is one).
  std::string readText_;
  bool readTooLong_ = false;
  TElementRow readRow_;
};

void TElementImport::Report(TImportProgress::TStage stage, int percent) {
  progress_.Stage = stage;
  progress_.Rows = result_.Rows;
  progress_.BytesRead = bytesRead_;
  progress_.Percent = percent;
  if (opt_.Progress && !opt_.Progress(progress_)) throw EImportCancelled();
}

int TElementImport::ReadingPercent() const {
  const uint64_t total = progress_.BytesTotal;
  return total > 0
             ? static_cast<int>(100 * static_cast<double>(bytesRead_) / static_cast<double>(total))
             : 0;
}

bool TElementImport::NextLine(std::string& line, bool& tooLong, int64_t& number) {
  if (next_pending_ < pending_.size()) {
    TPending& p = pending_[next_pending_++];
    line.swap(p.text);
    tooLong = p.tooLong;
    number = p.number;
    return true;
  }
  if (!in_.NextLine(line, tooLong)) return false;
  number = in_.LineNumber();
  return true;
}

void TElementImport::FindFormat() {
  format_ = opt_.Format.value_or(TElementFormat::Mpcorb);
  if (!opt_.Format) {
    std::vector<std::string> sample;
    TPending p;
    int64_t binaryLines = 0, firstBinary = 0;
    while (pending_.size() < kDetectionLines && in_.NextLine(p.text, p.tooLong)) {
      p.number = in_.LineNumber();
      pending_.push_back(p);
      // A line with zero bytes is skipped as the import skips it, up to the point where the
      // file shows to be no text.
      if (p.text.find('\0') != std::string::npos) {
        if (firstBinary == 0) firstBinary = p.number;
        if (p.tooLong || ++binaryLines >= kBinaryLinesLimit) break;
      } else if (!p.tooLong) {
        sample.push_back(p.text);
      }
    }
    const std::optional<TElementFormat> found = DetectElementFormat(sample);
    if (!found) {
      std::string message =
          Format("no element lines of format mpcorb or comets in %s", file_.c_str());
      if (binaryLines > 0) message += " (binary data at line " + std::to_string(firstBinary) + ")";
      throw EKestrovaError(message);
    }
    format_ = *found;
  }
  result_.ReadAs = format_;
}

namespace {

// Classifies and parses one line for the writing thread; a row's texts go to the batch's buffer.
void ReadLine(TElementFormat format, const std::string& line, bool tooLong, TElementRow& row,
              TReadLine& l, std::vector<char>& text) {
  l.TooLong = tooLong;
  // Text files hold no zero bytes: such a line is binary data.
  if (line.find('\0') != std::string::npos) {
    l.Kind = TLineKind::Binary;
    return;
  }
  if (tooLong) {
    l.Kind = TLineKind::TooLong;
    return;
  }
  l.Dash = format == TElementFormat::Mpcorb && DashLine(line);
  if (Blank(line)) {
    l.Kind = TLineKind::Blank;
    return;
  }
  l.Why = format == TElementFormat::Mpcorb ? ParseMpcorbLine(line, row) : ParseCometLine(line, row);
  if (l.Why) {
    l.Kind = TLineKind::Skipped;
    return;
  }
  l.Kind = TLineKind::Row;
  l.No = row.No;
  l.M = row.M;
  l.NW = row.NW;
  l.OHM = row.OHM;
  l.I = row.I;
  l.E = row.E;
  l.A = row.A;
  l.Date = row.Date;
  l.Text = static_cast<uint32_t>(text.size());
  size_t i = 0;
  for (const std::string_view t :
       {std::string_view(row.Name), std::string_view(row.Class), std::string_view(row.IsNea),
        std::string_view(row.IsPha), std::string_view(row.Reference),
        std::string_view(row.Computer), Designation(format, line)}) {
    l.Sizes[i++] = static_cast<uint16_t>(t.size());
    text.insert(text.end(), t.begin(), t.end());
  }
}

}  // namespace

void TElementImport::FillBatch(TLineBatch& batch, bool oneLine) {
  bool more = true;
  int64_t number = 0;
  try {
    while (true) {
      if (!NextLine(readText_, readTooLong_, number)) {
        more = false;
        break;
      }
      TReadLine& l = batch.Lines.emplace_back();
      l.Number = number;
      l.BytesRead = in_.BytesRead();
      ReadLine(format_, readText_, readTooLong_, readRow_, l, batch.Text);
      // The rest of an overlong line with zero bytes may never end (/dev/zero); the import
      // stops at it, and so does the reading.
      if (l.Kind == TLineKind::Binary && readTooLong_) more = false;
      if (!more || oneLine || (number & 0xfff) == 0) break;
    }
  } catch (...) {
    batch.Error = std::current_exception();
    more = false;
  }
  batch.Last = !more;
  batch.EndBytes = in_.BytesRead();
}

void TElementImport::ReadAhead(TBatchQueue& queue) {
  while (TLineBatch* batch = queue.Empty()) {
    FillBatch(*batch, false);
    const bool last = batch->Last;
    queue.Filled(batch);
    if (last) return;
  }
}

void TElementImport::ReadRows(TableStore& table) {
  std::map<std::string, TSkipReason> reasons;
  // The number each designation was given, so that a later line of a body replaces its row:
  // numbered bodies by their number, the others by the designation written in the line.
  // Numbers are dense and below 16 million (the packed form's largest is 15,396,335): one bit
  // each instead of a node of a hash set.
  std::vector<bool> numbers;
  std::unordered_map<std::string, int64_t> unnumbered;
  int64_t nextUnnumbered = -1, lineNo = 0, inTransaction = 0, binaryLines = 0, firstBinary = 0;
  bool noText = false;
  auto skip = [&](const char* why) {
    ++result_.Skipped;
    TSkipReason& r = reasons[why];
    ++r.Count;
    if (r.FirstLines.size() < kFirstLinesPerReason) r.FirstLines.push_back(lineNo);
  };
  TUnnumberedRows held;
  TRowBatch batch;
  const auto flush = [&] {
    if (batch.Rows() == 0) return;
    table.AppendRows(batch.Values());
    inTransaction += static_cast<int64_t>(batch.Rows());
    batch.Clear();
    if (inTransaction >= 200000) {
      table.Commit();
      table.StartTransaction();
      inTransaction = 0;
    }
  };
  const auto append = [&](std::span<const TFieldView> values) {
    if (!batch.Add(values)) {
      flush();
      if (!batch.Add(values)) {
        table.AppendRow(values);
        ++inTransaction;
      }
    }
    if (batch.Full()) flush();
  };
  auto take = [&](const TReadLine& l, const char* text) {
    if (l.Kind == TLineKind::Blank) return;
    if (l.Kind == TLineKind::Skipped) return skip(l.Why);
    const TRowView row = ViewOf(l, text);
    int64_t no = row.No;
    bool seen = false;
    if (no > 0) {
      if (static_cast<uint64_t>(no) >= numbers.size())
        numbers.resize(std::max<size_t>(static_cast<size_t>(no) + 1, 2 * numbers.size()));
      seen = numbers[static_cast<size_t>(no)];
      numbers[static_cast<size_t>(no)] = true;
    } else {
      const auto [place, added] =
          unnumbered.try_emplace(std::string(row.Designation), nextUnnumbered);
      seen = !added;
      if (added) --nextUnnumbered;
      no = place->second;
    }
    if (seen) {
      if (result_.DuplicateLines.size() < kFirstLinesPerReason)
        result_.DuplicateLines.push_back(lineNo);
      ++result_.Duplicates;
    } else {
      ++result_.Rows;
    }
    if (no < 0) return held.Put(no, row);
    const TFieldView values[] = {no,        row.Name,  row.M,         row.NW,      row.OHM,
                                 row.I,     row.E,     row.A,         row.Date,    row.Class,
                                 row.IsNea, row.IsPha, row.Reference, row.Computer};
    if (seen) {
      // A later element set of the same body replaces the earlier one, which may be waiting.
      flush();
      return table.ReplaceRow(values);
    }
    append(values);
  };

  // Lines before a header's dashes, with their texts (the batch they came in is reused).
  std::vector<std::pair<TReadLine, std::string>> head;
  bool inHead = format_ == TElementFormat::Mpcorb;
  const auto takeHead = [&] {
    const int64_t here = lineNo;
    for (const auto& [l, text] : head) {
      lineNo = l.Number;
      take(l, text.data());
    }
    lineNo = here;
    head.clear();
  };
  bytesRead_ = in_.BytesRead();
  Report(TImportProgress::TStage::Reading, 0);
  {
    // A large file is read on a thread of its own. A smaller one, a pipe or a device is read
    // here a line at a time, never beyond the line the import stops at (a pipe may have nothing
    // more to give for a long time).
    std::optional<TReadAhead> reader;
    if (progress_.BytesTotal >= kReadAheadBytes) {
      try {
        reader.emplace([this](TBatchQueue& queue) { ReadAhead(queue); });
      } catch (const std::system_error&) {
        // No thread to be had (a limit on them reached): the file is read here.
      }
    }
    TLineBatch here;
    for (bool reading = true; reading;) {
      TLineBatch* lines = reader ? reader->Queue().Full() : &here;
      if (!reader) FillBatch(here, true);
      const char* text = lines->Text.data();
      for (const TReadLine& l : lines->Lines) {
        lineNo = l.Number;
        bytesRead_ = l.BytesRead;
        // A line with zero bytes is skipped. Many of them before any element line make no
        // element file at all (and may never end, as /dev/zero).
        if (l.Kind == TLineKind::Binary) {
          skip("binary data");
          if (firstBinary == 0) firstBinary = lineNo;
          // The rest of an overlong one would be read past up to a line end that may never come.
          noText = l.TooLong || (++binaryLines >= kBinaryLinesLimit && result_.Rows == 0);
          if (noText) break;
          continue;
        }
        if (l.Kind == TLineKind::TooLong) {
          skip("too long");
          continue;
        }
        if (inHead) {
          // A header ends in a line of dashes near the top; without one, every line is data.
          if (l.Dash) {
            head.clear();
            inHead = false;
          } else if (head.size() < 200) {
            size_t size = 0;
            for (const uint16_t s : l.Sizes) size += s;
            head.emplace_back(l, std::string(text + l.Text, size));
            head.back().first.Text = 0;
          } else {
            inHead = false;
            takeHead();
            take(l, text);
          }
          continue;
        }
        take(l, text);
        if ((lineNo & 0xfff) == 0) Report(TImportProgress::TStage::Reading, ReadingPercent());
      }
      if (noText) break;
      if (lines->Error) std::rethrow_exception(lines->Error);
      bytesRead_ = lines->EndBytes;
      reading = !lines->Last;
      if (reader)
        reader->Queue().Done(lines);
      else
        here.Clear();
    }
  }
  takeHead();
  int64_t heldWritten = 0;
  held.WriteAscending([&](std::span<const TFieldView> values) {
    append(values);
    if ((++heldWritten & 0xfff) == 0) Report(TImportProgress::TStage::Reading, ReadingPercent());
  });
  flush();
  table.Commit();
  for (auto& [why, r] : reasons) {
    r.Reason = why;
    result_.Reasons.push_back(r);
  }
  // Nothing read: the old table stays and no empty one takes its place.
  if (result_.Rows == 0) {
    std::string message =
        Format("no element lines of format %s in %s", FormatName(format_), file_.c_str());
    if (noText) message += " (binary data at line " + std::to_string(firstBinary) + ")";
    const std::string skipped = result_.SkippedText();
    if (!skipped.empty()) message += "; " + skipped;
    throw EKestrovaError(message);
  }
  Report(TImportProgress::TStage::Reading, 100);
}

void TElementImport::BuildIndices(TableStore& table) {
  // An index over a million rows takes seconds; the engine asks now and then whether to go on.
  // Nothing may be thrown through the engine: what the callback raises is kept and raised
  // once the engine has stopped.
  int indexPercent = 0;
  std::exception_ptr stopped;
  auto last = std::chrono::steady_clock::now();
  table.SetBusyHandler([&] {
    const auto now = std::chrono::steady_clock::now();
    if (now - last < std::chrono::milliseconds(100)) return true;
    last = now;
    try {
      Report(TImportProgress::TStage::Indexing, indexPercent);
    } catch (...) {
      stopped = std::current_exception();
    }
    return !stopped;
  });
  Report(TImportProgress::TStage::Indexing, 0);
  for (const TIndexStep& st : kDataFileIndexSteps) {
    try {
      table.AddIndex(st.Name, st.Fields);
    } catch (const ETableError&) {
      if (stopped) std::rethrow_exception(stopped);
      throw;
    }
    indexPercent = st.Progress;
    Report(TImportProgress::TStage::Indexing, indexPercent);
  }
  table.SetBusyHandler({});
}

}  // namespace

TImportResult ImportElements(const fs::path& file, const TImportOptions& opt) {
  const fs::path target = ImportTarget(opt);
  TElementImport import(file, opt, target);
  import.FindFormat();

  // Built aside under a hidden name that table listings leave out, then renamed into place.
  // Imports that were killed left theirs behind; they go first.
  RemoveStaleImports(target.parent_path());
  const std::string tmpName =
      "." + target.filename().string() + ".importing-" + std::to_string(getpid());
  const fs::path tmpPath = target.parent_path() / tmpName;
  const std::string journalPath = tmpPath.string() + "-journal";
  std::error_code ec;
  fs::remove(tmpPath, ec);
  TRemoveOnSignal removeTable(tmpPath.string()), removeJournal(journalPath);
  const std::vector<TFieldDef> fields = DataFileFields(true);
  try {
    TableStore::CreateTable(opt.Alias, tmpName, fields, {{"", "NO"}});
  } catch (const ETableError& e) {
    // The engine names the temporary file; the user knows the table and the alias.
    throw EKestrovaError(Format("Cannot create table %s of alias %s in %s: %s",
                                Excerpt(opt.Table).c_str(), Excerpt(opt.Alias).c_str(),
                                target.parent_path().c_str(), e.what()));
  }
  TableStore table;
  try {
    table.SetDatabase(opt.Alias);
    table.SetTableName(tmpName);
    table.Open(TOpenMode::Exclusive);
    table.SetBulkMode();
    table.StartTransaction();
    import.ReadRows(table);
    import.BuildIndices(table);
    table.Close();

    MakeDurable(tmpPath);
    if (!opt.Replace && fs::exists(target, ec))
      throw EKestrovaError(
          Format("Table %s exists already (use --replace to overwrite it)", target.c_str()));
    fs::rename(tmpPath, target, ec);
    if (ec)
      throw EKestrovaError(Format("Cannot create %s: %s", target.c_str(), ec.message().c_str()));
  } catch (...) {
    table.Close();
    fs::remove(tmpPath, ec);
    fs::remove(journalPath, ec);
    throw;
  }
  return import.Result();
}

}  // namespace kestrova
