// The file names of the "Save as bitmap" dialog.
#include "scene/picture_names.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(PictureNames, PresetFollowsTheDocument) {
  struct Case {
    const char* document;
    const char* folder;
    const char* preset;
  };
  const Case cases[] = {
      {"/home/u/.local/share/kestrova/last.orb", "/home/u/pics/", "/home/u/pics/"},
      {"/home/u/LAST.ORB", "/home/u/pics/", "/home/u/pics/"},
      {"/home/u/trips/trip.orb", "/home/u/pics/", "/home/u/pics/trip.png"},
      {"/home/u/trip.v2.orb", "/home/u/pics", "/home/u/pics/trip.v2.png"},
      {"/home/u/notes", "/home/u/pics/", "/home/u/pics/notes.png"},
      // No document has been read yet: no name of its own, rather than ".png".
      {"", "/home/u/pics/", "/home/u/pics/"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PresetPictureName(c.document, c.folder), c.preset) << c.document;
  EXPECT_EQ(PresetPdfName("/home/u/trips/trip.orb", "/home/u/pics"), "/home/u/pics/trip.pdf");
  EXPECT_EQ(PresetPdfName("/home/u/last.orb", "/home/u/pics/"), "/home/u/pics/default.pdf");
  EXPECT_EQ(PresetPdfName("", "/home/u/pics/"), "/home/u/pics/default.pdf");
}

TEST(PictureNames, EditShowsTheNameOrDefault) {
  EXPECT_EQ(ShownPictureName("/home/u/pics/"), "default.png");
  EXPECT_EQ(ShownPictureName("/home/u/pics/  "), "default.png");
  EXPECT_EQ(ShownPictureName(""), "default.png");
  EXPECT_EQ(ShownPictureName("/home/u/pics/trip.png"), "/home/u/pics/trip.png");
  EXPECT_EQ(FolderPart("/home/u/pics/trip.png"), "/home/u/pics/");
  EXPECT_EQ(FolderPart("trip.png"), "");
  EXPECT_EQ(FileNamePart("/home/u/pics/trip.png"), "trip.png");
}

TEST(PictureNames, TypedNameBecomesTheFile) {
  struct Case {
    const char* typed;
    const char* file;
    TExportFormat format;
  };
  const Case cases[] = {
      {"trip", "/p/trip.png", TExportFormat::Png},
      {"  trip.png ", "/p/trip.png", TExportFormat::Png},
      {"trip.BMP", "/p/trip.BMP", TExportFormat::Bmp},
      {"trip.jpg", "/p/trip.jpg.png", TExportFormat::Png},
      {"trip.svg", "/p/trip.svg", TExportFormat::Svg},
      {"trip.SVG", "/p/trip.SVG", TExportFormat::Svg},
      {"trip.svgz", "/p/trip.svgz.png", TExportFormat::Png},
      {"/tmp/other", "/tmp/other.png", TExportFormat::Png},
      {"v1.0/trip", "v1.0/trip.png", TExportFormat::Png},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SaveAsFileName(c.typed, "/p/"), c.file) << c.typed;
    EXPECT_EQ(ExportFormatOf(SaveAsFileName(c.typed, "/p")), c.format) << c.typed;
  }
  EXPECT_EQ(PdfFileName(" plot ", "/p"), "/p/plot.pdf");
  EXPECT_EQ(PdfFileName("plot.PDF", "/p/"), "/p/plot.PDF");
  EXPECT_EQ(PdfFileName("plot.png", "/p/"), "/p/plot.png.pdf");
  EXPECT_EQ(PdfFileName("/tmp/plot.pdf", "/p/"), "/tmp/plot.pdf");
}

}  // namespace
}  // namespace kestrova
