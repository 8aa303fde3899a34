// The file names of the "Save as bitmap" dialog: the name it proposes for a document, what its
// edit shows, and the file a typed name stands for (PNG, BMP or SVG); and the PDF file a printed
// plot is proposed to go to. Paths are UTF-8 with '/'.
#pragma once

#include <string>

namespace kestrova {

enum class TExportFormat { Png, Bmp, Svg };

// The folder part of a path, up to and including its last '/'; "" when it has none.
std::string FolderPart(const std::string& path);
// The file-name part of a path, after its last '/'.
std::string FileNamePart(const std::string& path);

// The name the dialog is preset with: the export folder followed by the document's file name
// with its extension replaced by ".png", or the folder alone when the document is "last.orb"
// (in any case) or there is none yet. A folder without a final '/' gets one.
std::string PresetPictureName(const std::string& documentPath, const std::string& bitmapFolder);

// The PDF file a printed plot is proposed to go to: the folder followed by the document's file
// name with the extension ".pdf", or "default.pdf" when the document is "last.orb" or there is
// none yet.
std::string PresetPdfName(const std::string& documentPath, const std::string& folder);

// The PDF file a typed name stands for: surrounding blanks dropped; ".pdf" appended unless the
// extension is ".pdf" in any case; put into `folder` when it has no folder part of its own.
std::string PdfFileName(const std::string& typed, const std::string& folder);

// What the file-name edit shows for a name: the name itself, or "default.png" when its
// file-name part is empty or blank.
std::string ShownPictureName(const std::string& name);

// The file a typed name is saved as: surrounding blanks dropped; kept when its extension is
// ".png", ".bmp" or ".svg" in any case, else with ".png" appended ("plot.jpg" becomes
// "plot.jpg.png"); put into `folder` when it has no folder part of its own.
std::string SaveAsFileName(const std::string& typed, const std::string& folder);

// SVG for ".svg", BMP for ".bmp" (in any case), PNG for everything else.
TExportFormat ExportFormatOf(const std::string& path);

}  // namespace kestrova
