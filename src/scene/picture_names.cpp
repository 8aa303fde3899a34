// File names of exported pictures.
#include "scene/picture_names.h"

#include <cctype>

#include "scene/picture_files.h"

namespace kestrova {

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Blanks and control characters at either end removed.
std::string Trim(const std::string& s) {
  size_t first = 0, last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

std::string WithFinalSlash(const std::string& folder) {
  return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// The document's file name with `extension` instead of its own; "" for "last.orb" or none.
std::string DocumentBasedName(const std::string& documentPath, const std::string& extension) {
  const std::string document = FileNamePart(documentPath);
  if (Trim(document).empty() || Lower(document) == "last.orb") return "";
  return document.substr(0, document.size() - FileExtension(document).size()) + extension;
}

}  // namespace

std::string FolderPart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNamePart(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PresetPictureName(const std::string& documentPath, const std::string& bitmapFolder) {
  return WithFinalSlash(bitmapFolder) + DocumentBasedName(documentPath, ".png");
}

std::string PresetPdfName(const std::string& documentPath, const std::string& folder) {
  const std::string name = DocumentBasedName(documentPath, ".pdf");
  return WithFinalSlash(folder) + (name.empty() ? "default.pdf" : name);
}

std::string PdfFileName(const std::string& typed, const std::string& folder) {
  std::string name = Trim(typed);
  if (Lower(FileExtension(name)) != ".pdf") name += ".pdf";
  if (name.find('/') != std::string::npos) return name;
  return WithFinalSlash(folder) + name;
}

std::string ShownPictureName(const std::string& name) {
  return Trim(FileNamePart(name)).empty() ? "default.png" : name;
}

std::string SaveAsFileName(const std::string& typed, const std::string& folder) {
  std::string name = Trim(typed);
  if (ExportFormatOf(name) != TExportFormat::Svg) name = WithPictureExtension(name);
  if (name.find('/') != std::string::npos) return name;
  return WithFinalSlash(folder) + name;
}

TExportFormat ExportFormatOf(const std::string& path) {
  const std::string extension = Lower(FileExtension(path));
  if (extension == ".svg") return TExportFormat::Svg;
  if (extension == ".bmp") return TExportFormat::Bmp;
  return TExportFormat::Png;
}

}  // namespace kestrova
