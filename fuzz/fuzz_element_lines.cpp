// The element-file reader and the line parsers of both formats over arbitrary bytes: no input
// may crash, hang or allocate without bound, and a line that is read gives a row that can be
// an orbit (finite elements, angles in range, e >= 0, 0 < a <= kMaxSemiMajorAxis; an open
// orbit's A holds its perihelion distance and its M the unreduced anomaly).
//
// Input: the bytes of an element file, read from a memory file through its /proc path, as
// the import reads a file.
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "database/data_files.h"
#include "database/element_file.h"
#include "database/element_import.h"
#include "numerics/errors.h"

namespace {

void CheckRow(const kestrova::TElementRow& r) {
  for (const double x : {r.M, r.NW, r.OHM, r.I, r.E, r.A, r.Date})
    if (!std::isfinite(x)) __builtin_trap();
  if (!(r.E >= 0 && r.A > 0 && r.A <= kestrova::kMaxSemiMajorAxis)) __builtin_trap();
  // A closed orbit's mean anomaly is reduced (comets keep it within -180..180 degrees).
  if (r.E < 1 && !(r.M >= -360 && r.M <= 360)) __builtin_trap();
  if (!(r.NW >= 0 && r.NW < 360 && r.OHM >= 0 && r.OHM <= 360 && r.I >= 0 && r.I <= 180))
    __builtin_trap();
  // Names are cut at the data file's characters, not bytes: a character of Latin-1 takes two
  // in UTF-8.
  size_t characters = 0;
  for (const char c : r.Name) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (r.Name.empty() || characters > size_t(kestrova::kNameCharacters) || r.Class.size() > 20 ||
      r.Reference.size() > 16 || r.Computer.size() > 16)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int fd = ::memfd_create("elements", 0);
  static const std::string path = "/proc/self/fd/" + std::to_string(fd);
  if (fd < 0 || ::ftruncate(fd, 0) != 0) __builtin_trap();
  if (size > 0 && ::pwrite(fd, data, size, 0) != static_cast<ssize_t>(size)) __builtin_trap();
  try {
    kestrova::TElementFileReader reader(path);
    std::string line;
    bool tooLong = false;
    kestrova::TElementRow row;
    while (reader.NextLine(line, tooLong)) {
      if (line.size() > kestrova::kMaxElementLine) __builtin_trap();
      if (!kestrova::ParseMpcorbLine(line, row)) CheckRow(row);
      if (!kestrova::ParseCometLine(line, row)) CheckRow(row);
    }
  } catch (const kestrova::EKestrovaError&) {
    // A file that cannot be read is reported with its message.
  }
  return 0;
}
