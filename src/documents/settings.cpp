// Reading and writing "kv.ini".
#include "documents/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "streams/text_encoding.h"

namespace kestrova {
namespace {

// Settings files are a few hundred bytes; anything past this is not one, and reading stops there
// rather than swallowing whatever the path points at.
constexpr size_t kMaxFileSize = 16u << 20;

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
  };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// One line of the file: a key and its value, or (key empty) a line kept only as text.
struct Line {
  std::string key;
  std::string value;
  std::string text;
};

struct Section {
  std::string name;
  std::vector<Line> lines;
};

// The first section holds the lines above the first "[...]" line.
std::vector<Section> ParseIni(std::string_view text) {
  // Files written by older versions hold 8-bit text.
  std::string utf8 = SanitizeUtf8(text) == text ? std::string(text) : Windows1252ToUtf8(text);

  std::vector<Section> sections(1);
  std::string_view rest = utf8;
  while (!rest.empty()) {
    const size_t eol = rest.find('\n');
    const std::string_view raw = rest.substr(0, eol);
    rest = eol == std::string_view::npos ? std::string_view() : rest.substr(eol + 1);
    std::string_view line = Trim(raw);
    // A byte-order mark opens the file; one at the start of any line is as good as nothing, and
    // would otherwise stand before a line that later becomes the first of a file.
    while (line.substr(0, 3) == "\xEF\xBB\xBF") line = Trim(line.substr(3));
    if (line.empty()) continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      sections.push_back(
          {std::string(Trim(line.substr(
               1, close == std::string_view::npos ? std::string_view::npos : close - 1))),
           {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (line.front() == ';' || eq == std::string_view::npos || Trim(line.substr(0, eq)).empty()) {
      sections.back().lines.push_back({"", "", std::string(line)});
      continue;
    }
    std::string_view value = Trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = value.substr(1, value.size() - 2);
    }
    // Cut at a character boundary: the text is valid UTF-8 here.
    size_t chars = 0;
    size_t end = 0;
    while (end < value.size() && chars < kSettingsValueLength) {
      ++end;
      while (end < value.size() && (static_cast<uint8_t>(value[end]) & 0xC0) == 0x80) ++end;
      ++chars;
    }
    sections.back().lines.push_back({std::string(Trim(line.substr(0, eq))),
                                     std::string(value.substr(0, end)), std::string(line)});
  }
  return sections;
}

std::optional<std::string> Find(const std::vector<Section>& sections, std::string_view section,
                                std::string_view key) {
  for (size_t i = 1; i < sections.size(); ++i) {
    const Section& s = sections[i];
    if (!SameName(s.name, section)) continue;
    for (const Line& l : s.lines) {
      if (!l.key.empty() && SameName(l.key, key)) return l.value;
    }
  }
  return std::nullopt;
}

// Decimal, or hexadecimal after "0x"/"0X", with an optional sign; anything else is unreadable.
std::optional<int32_t> ParseInteger(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  int64_t value = 0;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    s.remove_prefix(2);
    if (s.size() > 8) return std::nullopt;
    for (const char c : s) {
      int digit;
      if (c >= '0' && c <= '9') {
        digit = c - '0';
      } else if (c >= 'a' && c <= 'f') {
        digit = c - 'a' + 10;
      } else if (c >= 'A' && c <= 'F') {
        digit = c - 'A' + 10;
      } else {
        return std::nullopt;
      }
      value = value * 16 + digit;
    }
    // Eight hex digits are a 32-bit pattern: 0xFFFFFFFF is -1.
    const auto bits = static_cast<uint32_t>(negative ? -value : value);
    return static_cast<int32_t>(bits);
  }
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

// A value that reading would change (blanks at its ends, or a pair of enclosing quotes) is
// written in double quotes, which reading removes again.
std::string Quoted(const std::string& value) {
  if (value.empty()) return value;
  const char f = value.front();
  const char b = value.back();
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
  };
  if (blank(f) || blank(b) || (value.size() >= 2 && f == b && (f == '"' || f == '\''))) {
    return '"' + value + '"';
  }
  return value;
}

struct Entry {
  const char* section;
  const char* key;
  std::string value;
};

std::vector<Entry> Entries(const Settings& s) {
  const auto i = [](int64_t v) { return std::to_string(v); };
  const auto b = [](bool v) { return std::string(v ? "1" : "0"); };
  return {
      {"MainForm", "Top", i(s.MainTop)},
      {"MainForm", "Left", i(s.MainLeft)},
      {"MainForm", "Width", i(s.MainWidth)},
      {"MainForm", "Height", i(s.MainHeight)},
      {"MainForm", "Page", i(s.Page)},
      {"MainForm", "Maximized", b(s.MainMaximized)},
      {"DescriptionForm", "Top", i(s.DescriptionTop)},
      {"DescriptionForm", "Left", i(s.DescriptionLeft)},
      {"DescriptionForm", "Width", i(s.DescriptionWidth)},
      {"DescriptionForm", "Height", i(s.DescriptionHeight)},
      {"DescriptionForm", "StayOnTop", b(s.DescriptionStayOnTop)},
      {"MonitorForm", "Top", i(s.MonitorTop)},
      {"MonitorForm", "Left", i(s.MonitorLeft)},
      {"MonitorForm", "StayOnTop", b(s.MonitorStayOnTop)},
      {"Colors", "Color0", "0"},
      // Colours are 32-bit integers in the file, as the scene's documents hold them.
      {"Colors", "Color1", i(static_cast<int32_t>(s.BgColor))},
      {"Colors", "Color2", i(static_cast<int32_t>(s.GridColor))},
      {"Bitmap", "Size", i(s.BitmapSize)},
      {"Bitmap", "Path", Quoted(s.BitmapPath)},
  };
}

bool IsKnownSection(std::string_view name) {
  for (const char* known : {"MainForm", "DescriptionForm", "MonitorForm", "Colors", "Bitmap"}) {
    if (SameName(name, known)) return true;
  }
  return false;
}

bool IsKnownKey(const std::vector<Entry>& entries, std::string_view section, std::string_view key) {
  for (const Entry& e : entries) {
    if (SameName(section, e.section) && SameName(key, e.key)) return true;
  }
  return false;
}

// Only a regular file is read: kv.ini as a named pipe would hold the start until another
// process wrote to it. Opening without blocking and looking at what was opened leaves no gap.
std::optional<std::string> ReadFile(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) {
    ::close(fd);
    return std::nullopt;
  }
  std::string text;
  char chunk[4096];
  size_t n;
  while (text.size() < kMaxFileSize && (n = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    text.append(chunk, n);
  }
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return text;
}

}  // namespace

ESettingsWriteError::ESettingsWriteError(const std::string& path)
    : EKestrovaError(Format("Unable to write to %s", path.c_str())) {}

Settings ParseSettings(std::string_view text, const Settings& defaults) {
  const std::vector<Section> sections = ParseIni(text);
  Settings s = defaults;
  const auto integer = [&](const char* section, const char* key, int32_t& out) {
    if (const auto value = Find(sections, section, key)) {
      if (const auto parsed = ParseInteger(*value)) out = *parsed;
    }
  };
  const auto boolean = [&](const char* section, const char* key, bool& out) {
    if (const auto value = Find(sections, section, key)) {
      if (const auto parsed = ParseInteger(*value)) out = *parsed != 0;
    }
  };
  integer("MainForm", "Top", s.MainTop);
  integer("MainForm", "Left", s.MainLeft);
  integer("MainForm", "Width", s.MainWidth);
  integer("MainForm", "Height", s.MainHeight);
  integer("MainForm", "Page", s.Page);
  // The control panel has three tabs; another number would open none of them.
  if (s.Page < 0 || s.Page > 2) s.Page = defaults.Page;
  boolean("MainForm", "Maximized", s.MainMaximized);
  integer("DescriptionForm", "Top", s.DescriptionTop);
  integer("DescriptionForm", "Left", s.DescriptionLeft);
  integer("DescriptionForm", "Width", s.DescriptionWidth);
  integer("DescriptionForm", "Height", s.DescriptionHeight);
  boolean("DescriptionForm", "StayOnTop", s.DescriptionStayOnTop);
  integer("MonitorForm", "Top", s.MonitorTop);
  integer("MonitorForm", "Left", s.MonitorLeft);
  boolean("MonitorForm", "StayOnTop", s.MonitorStayOnTop);
  integer("Bitmap", "Size", s.BitmapSize);
  if (const auto path = Find(sections, "Bitmap", "Path")) s.BitmapPath = *path;
  return s;
}

std::string FormatSettings(const Settings& settings, std::string_view previous) {
  const std::vector<Entry> entries = Entries(settings);
  const std::vector<Section> old = ParseIni(previous);
  std::string text;
  for (const Line& l : old.front().lines) text += l.text + '\n';
  const char* open = nullptr;
  const auto close_section = [&] {
    // Keys of ours that another program added stay with their section.
    for (size_t i = 1; i < old.size(); ++i) {
      const Section& s = old[i];
      if (!SameName(s.name, open)) continue;
      for (const Line& l : s.lines) {
        if (l.key.empty() || !IsKnownKey(entries, open, l.key)) text += l.text + '\n';
      }
    }
  };
  for (const Entry& e : entries) {
    if (open == nullptr || std::string_view(open) != e.section) {
      if (open != nullptr) close_section();
      open = e.section;
      text += '[' + std::string(open) + "]\n";
    }
    text += std::string(e.key) + '=' + e.value + '\n';
  }
  close_section();
  for (size_t i = 1; i < old.size(); ++i) {
    const Section& s = old[i];
    if (IsKnownSection(s.name)) continue;
    text += '[' + s.name + "]\n";
    for (const Line& l : s.lines) text += l.text + '\n';
  }
  return text;
}

Settings LoadSettings(const std::filesystem::path& file, const Settings& defaults) {
  Settings base = defaults;
  if (base.BitmapPath.empty()) base.BitmapPath = file.parent_path().string();
  const std::optional<std::string> text = ReadFile(file);
  return text ? ParseSettings(*text, base) : base;
}

void SaveSettings(const std::filesystem::path& file, const Settings& settings) {
  const std::string shown = file.string();
  std::error_code ec;
  // Through a link, the file it points at is the one to replace.
  std::filesystem::path target = file;
  if (std::filesystem::is_symlink(file, ec)) {
    target = std::filesystem::weakly_canonical(file, ec);
    if (ec) throw ESettingsWriteError(shown);
  }
  struct stat old_stat {};
  const bool exists = ::stat(target.c_str(), &old_stat) == 0;
  if (exists && (!S_ISREG(old_stat.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
    throw ESettingsWriteError(shown);
  }
  const std::string text =
      FormatSettings(settings, exists ? ReadFile(target).value_or(std::string()) : std::string());

  std::filesystem::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  std::string temp = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) throw ESettingsWriteError(shown);
  bool ok = ::fchmod(fd, exists ? (old_stat.st_mode & 07777) : 0644) == 0;
  for (size_t done = 0; ok && done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    throw ESettingsWriteError(shown);
  }
}

}  // namespace kestrova
