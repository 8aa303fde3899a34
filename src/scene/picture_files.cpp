// Header text, print layout, and the PNG and BMP writers (BMP by QImageWriter).
#include "scene/picture_files.h"

#include <png.h>

#include <QIODevice>
#include <QImage>
#include <QImageWriter>
#include <cctype>
#include <csetjmp>
#include <vector>

#include "numerics/date_text.h"
#include "numerics/errors.h"
#include "streams/replacing_file.h"
#include "streams/value_stream.h"

namespace kestrova {

namespace {

// num / den rounded to the nearest integer, ties to even; den > 0.
int64_t RoundRatio(int64_t num, int64_t den) {
  if (num < 0) return -RoundRatio(-num, den);
  const int64_t q = num / den, rem = num % den;
  if (2 * rem > den || (2 * rem == den && (q & 1) != 0)) return q + 1;
  return q;
}

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

constexpr char kSoftwareText[] = "Kestrova PNG writer";

// libpng hands its bytes to the sink; a refused write ends the picture through png_error.
void PngWrite(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<ByteSink*>(png_get_io_ptr(png));
  if (!sink->Write(data, length)) png_error(png, "write");
}

void PngFlush(png_structp) {}

// libpng would print its own "libpng error: ..." lines on standard error; the writer reports the
// failure itself, with its message and reason.
[[noreturn]] void PngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void PngWarning(png_structp, png_const_charp) {}

// The libpng part of the PNG writer. It runs between setjmp and a possible longjmp, so it keeps
// no object with a destructor. Returns false on any libpng failure.
bool WritePngStream(ByteSink& sink, png_bytepp rows, png_uint_32 width, png_uint_32 height) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png)) != 0) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &sink, PngWrite, PngFlush);
  png_set_write_status_fn(png, nullptr);
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_text text{};
  text.compression = PNG_TEXT_COMPRESSION_NONE;
  text.key = const_cast<png_charp>("Software");
  text.text = const_cast<png_charp>(kSoftwareText);
  text.text_length = sizeof kSoftwareText - 1;
  png_set_text(png, info, &text, 1);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

// The device QImageWriter writes to: the bytes go on to the sink as they come.
class TSinkDevice final : public QIODevice {
 public:
  explicit TSinkDevice(ByteSink& sink) : sink_(sink) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 n) override {
    return sink_.Write(reinterpret_cast<const uint8_t*>(data), size_t(n)) ? n : -1;
  }

 private:
  ByteSink& sink_;
};

}  // namespace

std::array<std::string, 2> HeaderLines(const TDateRec& shownDate, uint8_t plane,
                                       const std::string& centerText) {
  static const char* const kPlanes[] = {"X-Y-plane", "X-Z-plane", "Z-Y-plane", "3D-plot"};
  std::string line1 = DateText(shownDate) + " - " + TimeText(shownDate, 0) + "UT (JD " +
                      Format("%.3Lf", DateToJD(shownDate)) + ")";
  std::string line2 = std::string(kPlanes[plane > 3 ? 3 : plane]) + ", centered to " + centerText;
  return {std::move(line1), std::move(line2)};
}

void DrawHeaderText(TSurface& surface, int32_t x, int32_t y,
                    const std::array<std::string, 2>& lines, TColor color) {
  surface.SetFontColor(color);
  surface.SetBrushStyle(BrushStyle::Hollow);
  surface.TextOut(x, y, lines[0]);
  surface.TextOut(x, y + surface.TextHeight(lines[0]), lines[1]);
}

TColor ExportHeaderColor(TColor bgColor) {
  return ~bgColor & 0xFFFFFF;
}

TPoint ExportTextOrigin(int32_t size) {
  return {int32_t(RoundRatio(size, 25)), int32_t(RoundRatio(int64_t(size) * 3, 100))};
}

TColor PrintHeaderColor(uint8_t scheme) {
  return scheme == 1 ? 0xFFFFFF : 0x000000;
}

TPrintLayout PrintLayout(int32_t pageWidth, int32_t pageHeight) {
  TPrintLayout layout;
  const int64_t side = RoundRatio(int64_t(std::min(pageWidth, pageHeight)) * 4, 5);
  layout.Side = int32_t(side);
  layout.Top = int32_t(RoundRatio(side, 10));
  layout.Left = int32_t(RoundRatio(side, 8));
  layout.Device = side <= 3200 ? 1 : 2;
  layout.TextOrigin = {layout.Left + int32_t(RoundRatio(side, 25)),
                       layout.Top + int32_t(RoundRatio(side * 3, 100))};
  return layout;
}

void WritePng(ByteSink& sink, const QImage& image) {
  // Top-down rows of red, green and blue bytes without fill.
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::vector<png_bytep> rows(size_t(rgb.height()));
  for (int y = 0; y < rgb.height(); ++y)
    rows[size_t(y)] = const_cast<png_bytep>(rgb.constScanLine(y));
  if (!WritePngStream(sink, rows.data(), png_uint_32(rgb.width()), png_uint_32(rgb.height())))
    throw EKestrovaError("Error Writing PNG File!");
}

void WriteBmp(ByteSink& sink, const QImage& image) {
  // Qt writes an opaque 32-bit image as the 24-bit file the format's readers all know: the
  // 40-byte info header, rows bottom-up, each filled with zeros to a multiple of 4 bytes.
  TSinkDevice device(sink);
  QImageWriter writer(&device, "bmp");
  if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
    throw EKestrovaError("Error Writing BMP File!");
}

void WritePicture(ByteSink& sink, PictureFormat format, const QImage& image) {
  if (format == PictureFormat::Bmp) {
    WriteBmp(sink, image);
  } else {
    WritePng(sink, image);
  }
}

void WritePicture(const std::string& path, PictureFormat format, const QImage& image) {
  // The picture goes to a file beside the target and replaces it only once it is whole, so a
  // full disk leaves the old picture as it was.
  WriteReplacing(
      path, format == PictureFormat::Bmp ? "Error Writing BMP File!" : "Error Writing PNG File!",
      [&](std::FILE* f) {
        FileSink sink(f);
        WritePicture(sink, format, image);
        return true;
      });
}

void WritePng(const std::string& path, const QImage& image) {
  WritePicture(path, PictureFormat::Png, image);
}

void WriteBmp(const std::string& path, const QImage& image) {
  WritePicture(path, PictureFormat::Bmp, image);
}

void WriteExport(const std::string& path, const TExportedPicture& picture) {
  if (picture.Format == TExportFormat::Png) return WritePng(path, picture.Image);
  if (picture.Format == TExportFormat::Bmp) return WriteBmp(path, picture.Image);
  WriteWholeFile(path, std::string_view(picture.Svg.constData(), size_t(picture.Svg.size())),
                 "Error Writing SVG File!");
}

std::string FileExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return path.substr(dot);
}

std::string WithPictureExtension(const std::string& name) {
  const std::string ext = Lower(FileExtension(name));
  return ext == ".png" || ext == ".bmp" ? name : name + ".png";
}

std::string PictureFileName(const std::string& typed, const std::string& folder) {
  std::string name = WithPictureExtension(typed);
  if (name.find('/') != std::string::npos || folder.empty()) return name;
  return folder.back() == '/' ? folder + name : folder + "/" + name;
}

PictureFormat PictureFormatOf(const std::string& path) {
  return Lower(FileExtension(path)) == ".bmp" ? PictureFormat::Bmp : PictureFormat::Png;
}

void WritePicture(const std::string& path, const QImage& image) {
  WritePicture(path, PictureFormatOf(path), image);
}

}  // namespace kestrova
