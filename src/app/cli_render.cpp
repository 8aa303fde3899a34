// kestrova-cli render: the picture "Save as bitmap" makes, without a window.
#include <QGuiApplication>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "app/cli.h"
#include "app/cli_render_video.h"
#include "app/headless_host.h"
#include "app/progress_line.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "scene/picture_files.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "streams/replacing_file.h"
#include "streams/value_stream.h"

namespace kestrova::cli {

namespace {

constexpr const char* kRenderUsage =
    "usage: kestrova-cli render [--document FILE.orb] [--jd JD] [--size N]\n"
    "           [--plane xy|xz|zy|3d] [--dim AU] [--center BODY] [--rotx DEG] [--rotz DEG]\n"
    "           [--frames N --step DAYS] --out FILE\n"
    "       kestrova-cli render [options] --frames N --step DAYS --video "
    "FILE.webm|.mp4|.webp|.gif\n";

// A command line the render cannot use: reported with exit status 2.
class EBadOption : public EKestrovaError {
 public:
  using EKestrovaError::EKestrovaError;
};

struct TRenderOptions {
  std::optional<std::string> document;
  std::optional<Extended> jd;
  int32_t size = 500;
  std::optional<TPlane> plane;
  std::optional<Extended> dim;
  std::optional<int32_t> center;
  std::optional<Extended> rotX;
  std::optional<Extended> rotZ;
  std::optional<int32_t> frames;
  std::optional<Extended> step;
  std::string out;
  std::optional<std::string> video;
};

Extended ParseNumber(const std::string& option, const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long double v = std::strtold(begin, &end);
  if (text.empty() || end != begin + text.size() || errno == ERANGE || !std::isfinite(v))
    throw EBadOption(Format("%s: '%s' is not a number", option.c_str(), Excerpt(text).c_str()));
  return v;
}

int32_t ParseInteger(const std::string& option, const std::string& text, int32_t lo, int32_t hi) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(begin, &end, 10);
  if (text.empty() || end != begin + text.size() || errno == ERANGE || v < lo || v > hi)
    throw EBadOption(Format("%s: '%s' is not a whole number from %d to %d", option.c_str(),
                            Excerpt(text).c_str(), lo, hi));
  return int32_t(v);
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

TPlane ParsePlane(const std::string& text) {
  const std::string t = Lower(text);
  if (t == "xy") return TPlane::XY;
  if (t == "xz") return TPlane::XZ;
  if (t == "zy") return TPlane::ZY;
  if (t == "3d") return TPlane::D3;
  throw EBadOption(Format("--plane: '%s' is none of xy, xz, zy, 3d", Excerpt(text).c_str()));
}

// A body by its name in the centre list (any case) or by its number, 0..8 a planet, 9 the Sun.
int32_t ParseCenter(const std::string& text) {
  for (int32_t i = 0; i <= 9; ++i)
    if (Lower(text) == Lower(CenterListText(i)) || text == std::to_string(i)) return i;
  throw EBadOption(
      Format("--center: '%s' is no body: Sun, Mercury, Venus, Earth, Mars, "
             "Jupiter, Saturn, Uranus, Neptune, Pluto or 0..9",
             Excerpt(text).c_str()));
}

// Whether the pattern holds exactly one integer field (%d or %i with flags and width, as
// frame-%04d.png) and no other field; "%%" stands for a percent sign.
bool IsFramePattern(const std::string& pattern) {
  int fields = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    ++i;
    if (i < pattern.size() && pattern[i] == '%') continue;
    while (i < pattern.size() && std::string_view("-+ 0#").find(pattern[i]) != std::string::npos)
      ++i;
    size_t digits = 0;
    while (i < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[i]))) {
      ++i;
      ++digits;
    }
    if (digits > 3 || i >= pattern.size() || (pattern[i] != 'd' && pattern[i] != 'i')) return false;
    ++fields;
  }
  return fields == 1;
}

std::string FrameFileName(const std::string& pattern, int32_t frame) {
  // The pattern has been checked: one integer field and a width below 1000.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int n = std::snprintf(nullptr, 0, pattern.c_str(), frame);
  std::string name(size_t(n) + 1, '\0');
  std::snprintf(name.data(), name.size(), pattern.c_str(), frame);
#pragma GCC diagnostic pop
  name.resize(size_t(n));
  return name;
}

TRenderOptions ParseRenderOptions(const Args& args) {
  TCommandOptions options({{"document", true},
                           {"jd", true},
                           {"size", true},
                           {"plane", true},
                           {"dim", true},
                           {"center", true},
                           {"rotx", true},
                           {"rotz", true},
                           {"frames", true},
                           {"step", true},
                           {"video", true},
                           {"out", true}});
  try {
    options.Parse(args);
  } catch (const TCommandOptions::EBadOption& e) {
    if (e.Kind == TCommandOptions::EBadOption::TKind::NoValue)
      throw EBadOption(Format("%s needs a value", Excerpt(e.Argument).c_str()));
    throw EBadOption(Format("unknown option '%s'", Excerpt(e.Argument).c_str()));
  }
  if (!options.Positional().empty())
    throw EBadOption(
        Format("unexpected argument '%s'", Excerpt(options.Positional().front()).c_str()));
  TRenderOptions o;
  const auto given = [&](const char* name, const auto& read) {
    if (options.IsSet(name)) read(options.Value(name));
  };
  given("document", [&](const std::string& v) { o.document = v; });
  given("jd", [&](const std::string& v) {
    try {
      o.jd = ParseJulianDate(v);
    } catch (const EKestrovaError& e) {
      throw EBadOption(std::string("--jd: ") + e.what());
    }
  });
  given("size", [&](const std::string& v) {
    o.size = ParseInteger("--size", v, kMinPictureSize, kMaxPictureSize);
  });
  given("plane", [&](const std::string& v) { o.plane = ParsePlane(v); });
  given("dim", [&](const std::string& v) {
    const Extended dim = ParseNumber("--dim", v);
    if (dim < 0.001L || dim > 100)
      throw EBadOption(Format("--dim: %s is outside 0.001 .. 100 AU", Excerpt(v).c_str()));
    o.dim = dim;
  });
  given("center", [&](const std::string& v) { o.center = ParseCenter(v); });
  given("rotx", [&](const std::string& v) { o.rotX = ParseNumber("--rotx", v); });
  given("rotz", [&](const std::string& v) { o.rotZ = ParseNumber("--rotz", v); });
  given("frames", [&](const std::string& v) { o.frames = ParseInteger("--frames", v, 1, 100000); });
  given("step", [&](const std::string& v) { o.step = ParseNumber("--step", v); });
  given("video", [&](const std::string& v) { o.video = v; });
  const bool haveOut = options.IsSet("out");
  o.out = options.Value("out");
  if (o.video) {
    if (haveOut) throw EBadOption("--video and --out do not go together");
    if (!o.frames || !o.step) throw EBadOption("--video needs --frames and --step");
    return o;
  }
  if (!haveOut || o.out.empty()) throw EBadOption("--out FILE is required");
  // The export dialog's rule, for names of files: a name without ".png" or ".bmp" gets ".png".
  // Standard output ("-"), a device or a FIFO keeps its name and gets a PNG unless it ends in
  // ".bmp".
  if (o.out != "-" && (o.frames || WriteKindOf(o.out) == TWriteKind::Replace))
    o.out = WithPictureExtension(o.out);
  if (o.frames.has_value() != o.step.has_value())
    throw EBadOption("--frames and --step go together");
  if (o.frames && o.out != "-" && !IsFramePattern(o.out))
    throw EBadOption(
        Format("--out: '%s' needs exactly one integer field such as %%04d for "
               "the frame number",
               o.out.c_str()));
  return o;
}

Extended CheckedJD(Extended jd) {
  if (!(jd >= MinJD && jd <= MaxJD))
    throw EBadOption(Format("the date JD %s lies outside %s .. %s", FormatGeneral(jd).c_str(),
                            FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  return jd;
}

}  // namespace

int CmdRender(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (WantsHelp(args)) {
    out << kRenderUsage
        << "\nPaints the scene (the one the program starts with, or a document's) on an N by N\n"
           "picture (default 500, 50..4000) as \"Save as bitmap\" does, and writes it as BMP\n"
           "when FILE ends in .bmp, else as PNG (\".png\" is appended to any other name of a\n"
           "file; a device or a FIFO keeps its name). --out - writes the PNG to standard output\n"
           "(with --frames, one PNG after the other); --document - reads standard input.\n"
           "Options apply after the document in the order above. BODY is Sun, Mercury, ...\n"
           "Pluto or 0..9. --frames N writes N pictures, the date advancing by --step DAYS\n"
           "between them; FILE then holds one integer field such as frame-%04d.png.\n"
           "--video FILE writes the frames as one video instead, of the type its name ends\n"
           "in: .webm (VP9), .mp4 (H.264), .webp or .gif (animated pictures), 25 frames a "
           "second.\n";
    return kOk;
  }
  TRenderOptions o;
  try {
    o = ParseRenderOptions(args);
    if (o.jd) CheckedJD(*o.jd);
  } catch (const EBadOption& e) {
    err << "kestrova-cli render: " << e.what() << "\n" << kRenderUsage;
    return kBadInput;
  }
  EnsureGuiApplication();
  // The scene starts at the date asked for, so that it is computed once for it; a document
  // brings its own date, which the date asked for then replaces.
  const TDateRec start = o.jd ? JDToDate(0, *o.jd) : CurrentDate(0);
  THeadlessHost host(err, [start] { return start; });
  TSolarSystem& scene = host.Scene();
  if (o.document) {
    if (!LoadDocumentHeadless(*o.document, in, host, err)) return kFailure;
    if (o.jd) scene.SetDate(JDToDate(0, *o.jd));
  }
  if (o.plane) scene.SetPlane(*o.plane);
  if (o.dim) scene.SetDim(*o.dim);
  if (o.center) scene.SetCenterObject(*o.center);
  if (o.rotX) scene.SetRotX(*o.rotX);
  if (o.rotZ) scene.SetRotZ(*o.rotZ);

  // Standard output gets the pictures' bytes (one after the other for frames) instead of
  // their names.
  const auto write = [&](const std::string& name) {
    if (o.out != "-") {
      WritePicture(name, RenderPicture(scene, o.size));
      // Not the name of a device or a FIFO: it may well be standard output itself.
      if (WriteKindOf(name) == TWriteKind::Replace) out << name << "\n";
      return;
    }
    MemorySink picture;
    WritePicture(picture, PictureFormat::Png, RenderPicture(scene, o.size));
    out.write(reinterpret_cast<const char*>(picture.Bytes().data()),
              std::streamsize(picture.Bytes().size()));
    if (!out.flush()) throw EKestrovaError("Error Writing PNG File! " + OutputFailure(out));
  };
  if (!o.frames) {
    write(o.out);
    return kOk;
  }
  const Extended jd0 = o.jd ? *o.jd : DateToJD(scene.SceneDate());
  try {
    CheckedJD(jd0 + (*o.frames - 1) * *o.step);
  } catch (const EBadOption& e) {
    err << "kestrova-cli render: the last frame: " << e.what() << "\n";
    return kBadInput;
  }
  if (o.video) return RenderVideo(scene, *o.video, jd0, *o.frames, *o.step, o.size, out, err);
  // On a terminal one line follows the frames; their names still go to standard output.
  TProgressLine progress(err, TProgressLine::OnTerminal(err), "render");
  for (int32_t i = 0; i < *o.frames; ++i) {
    progress.Show("frames", i, *o.frames, "frames");
    // Each frame's date from the first, so that steps do not pile up rounding.
    if (i > 0) scene.SetDate(JDToDate(0, CheckedJD(jd0 + i * *o.step)));
    write(o.out == "-" ? o.out : FrameFileName(o.out, i));
  }
  progress.Show("frames", *o.frames, *o.frames, "frames");
  return kOk;
}

}  // namespace kestrova::cli
