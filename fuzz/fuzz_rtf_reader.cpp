// Reads arbitrary bytes as RTF, then checks that what was read survives our writer and a second
// reading: the same paragraphs, alignment, lists, text and character formats (font names
// aside, which foreign RTF may spell in ways a font table cannot keep).
//
// Input: the RTF bytes. Fonts need a GUI application; the offscreen platform gives one.
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "documents/rtf_reader.h"
#include "documents/rtf_writer.h"

namespace {

// One line per paragraph: alignment, list style, and runs of equal character format.
std::string Shape(const QTextDocument& doc) {
  std::string out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    out += std::to_string(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    if (QTextList* list = block.textList()) out += "L" + std::to_string(list->format().style());
    out += ":";
    std::string last;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      QTextCharFormat f = it.fragment().charFormat();
      // Text without a size of its own (plain text) has the document's.
      qreal size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                             : doc.defaultFont().pointSizeF();
      std::string key = "{" + std::to_string(size);
      if (f.fontWeight() >= QFont::DemiBold) key += "b";
      if (f.fontItalic()) key += "i";
      if (f.fontUnderline()) key += "u";
      if (f.hasProperty(QTextFormat::ForegroundBrush)) {
        key += f.foreground().color().name().toStdString();
      }
      key += "}";
      if (key != last) out += key;
      last = key;
      out += it.fragment().text().toStdString();
    }
    out += "\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QGuiApplication app(*argc, *argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view rtf(reinterpret_cast<const char*>(data), size);
  QTextDocument first;
  kestrova::ReadRtf(rtf, first);
  const std::string written = kestrova::WriteRtf(first);
  QTextDocument second;
  kestrova::ReadRtf(written, second);
  if (Shape(first) != Shape(second)) __builtin_trap();
  return 0;
}
