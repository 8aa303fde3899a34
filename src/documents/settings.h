// The settings file "kv.ini": the user's desk (window places, the open tab, stay-on-top styles,
// exported pictures' size and folder), kept apart from the documents.
//
// The file is INI text in UTF-8: "[Section]" lines, then "Key=Value" lines; integers in decimal
// (hexadecimal "0x..." is read too), Booleans as 1 and 0. Sections and keys are written in one
// fixed order; keys and sections the program does not know are kept when the file is rewritten.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "documents/window_geometry.h"
#include "numerics/errors.h"

namespace kestrova {

// Every stored value, each holding the value it takes when the file does not give one.
struct Settings {
  // "MainForm": the main window's place and the open tab of the control panel (0 time, 1 view,
  // 2 objects). The window applies its own minimum size.
  int32_t MainTop = kMainWindowStart.Top;
  int32_t MainLeft = kMainWindowStart.Left;
  int32_t MainWidth = kMainWindowStart.Width;
  int32_t MainHeight = kMainWindowStart.Height;
  int32_t Page = 1;
  // The window was maximized; its place above is where it goes back to.
  bool MainMaximized = false;
  // "DescriptionForm"
  int32_t DescriptionTop = kDescriptionWindowStart.Top;
  int32_t DescriptionLeft = kDescriptionWindowStart.Left;
  int32_t DescriptionWidth = kDescriptionWindowStart.Width;
  int32_t DescriptionHeight = kDescriptionWindowStart.Height;
  bool DescriptionStayOnTop = false;
  // "MonitorForm": the monitor's size is not stored.
  int32_t MonitorTop = kMonitorStartTop;
  int32_t MonitorLeft = kMonitorStartLeft;
  bool MonitorStayOnTop = false;
  // "Colors": written on every save for other tools, never read back (colours belong to the
  // document).
  uint32_t BgColor = 0x000000;
  uint32_t GridColor = 0x505050;
  // "Bitmap": exported pictures. An empty path stands for the program folder.
  int32_t BitmapSize = 500;
  std::string BitmapPath;

  bool operator==(const Settings&) const = default;
};

// A value longer than this many characters is cut to it on reading.
inline constexpr size_t kSettingsValueLength = 2047;

// "Unable to write to %s": the settings file could not be written; the old file is left as it was.
class ESettingsWriteError : public EKestrovaError {
 public:
  explicit ESettingsWriteError(const std::string& path);
};

// Reads the settings file at `file` (the caller passes ProgramFolder() / "kv.ini"). Every value
// the file lacks, or holds in a form that cannot be read, keeps its value from `defaults`; an
// empty default BitmapPath becomes the file's folder. A missing or unreadable file gives the
// defaults: reading never fails. A "Page" outside 0..2 keeps its default.
Settings LoadSettings(const std::filesystem::path& file, const Settings& defaults = {});

// Writes the settings to `file`, replacing it whole only once the new text is safely on disk
// (a temporary file in the same folder, then a rename). Throws ESettingsWriteError.
void SaveSettings(const std::filesystem::path& file, const Settings& settings);

// The text forms behind the two: `ParseSettings` reads INI text (UTF-8, or Windows-1252 from an
// older file); `FormatSettings` writes the settings in their order, followed by whatever else
// `previous` (the old file's text) held.
Settings ParseSettings(std::string_view text, const Settings& defaults);
std::string FormatSettings(const Settings& settings, std::string_view previous = {});

}  // namespace kestrova
