// Reads arbitrary bytes as a settings file, then checks that writing the result over that text and
// reading it again gives the same settings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "documents/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kestrova::Settings defaults;
  defaults.BitmapPath = "/program folder";
  const kestrova::Settings read = kestrova::ParseSettings(text, defaults);
  const std::string written = kestrova::FormatSettings(read, text);
  if (kestrova::ParseSettings(written, defaults) != read) __builtin_trap();
  // Writing again over its own output changes nothing.
  if (kestrova::FormatSettings(read, written) != written) __builtin_trap();
  return 0;
}
