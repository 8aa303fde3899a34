// The date reader of `kestrova-cli ephem BODY -` over arbitrary bytes: every date it hands on is
// a finite Julian date inside the program's range, and anything else ends in one of the
// messages the command prints.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/cli.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  try {
    kestrova::cli::ForEachDateLine(in, [](long double jd) {
      if (!std::isfinite(jd) || jd < kestrova::MinJD || jd > kestrova::MaxJD) __builtin_trap();
    });
  } catch (const kestrova::EKestrovaError& e) {
    // The input is quoted with at most 80 characters: a message stays short.
    if (std::string(e.what()).size() > 600) __builtin_trap();
  }
  return 0;
}
