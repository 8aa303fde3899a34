// RTF writer. Character formats are written as differences from the running state, so a
// paragraph of one format costs a single run of control words.
#include "documents/rtf_writer.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "documents/code_page.h"

namespace kestrova {
namespace {

struct RunFormat {
  int font = 0;
  int halfPoints = 20;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
  int colour = 0;  // index in the colour table; 0 is the automatic colour

  bool operator==(const RunFormat&) const = default;
};

class RtfWriter {
 public:
  explicit RtfWriter(const QTextDocument& document) : doc_(document) {}

  std::string Write() {
    CollectTables();
    RunFormat state;
    state.font = 0;
    state.halfPoints = HalfPoints(doc_.defaultFont().pointSizeF());
    out_ = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033";
    out_ += "{\\fonttbl";
    for (size_t i = 0; i < fonts_.size(); ++i) {
      out_ += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
      AppendText(out_, fonts_[i], true);
      out_ += ";}";
    }
    out_ += "}\r\n";
    if (!colours_.empty()) {
      out_ += "{\\colortbl ;";
      for (QRgb c : colours_) {
        out_ += "\\red" + std::to_string(qRed(c)) + "\\green" + std::to_string(qGreen(c)) +
                "\\blue" + std::to_string(qBlue(c)) + ";";
      }
      out_ += "}\r\n";
    }
    out_ += "\\viewkind4\\uc1\\f0\\fs" + std::to_string(state.halfPoints);
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
      WriteBlock(block, state);
    }
    out_ += "}\r\n";
    return out_;
  }

 private:
  // Sizes in half points, within what RTF readers take (1 to 1638 points).
  static int HalfPoints(qreal points) {
    if (!(points > 0)) return 20;
    return static_cast<int>(std::lround(std::clamp<qreal>(points, 1, 1638) * 2));
  }

  static bool HasColour(const QTextCharFormat& f) {
    return f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush;
  }

  QString Family(const QTextCharFormat& f) const {
    QStringList families = f.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty()) return families.front();
    return doc_.defaultFont().family();
  }

  int FontIndex(const QString& family) {
    auto [it, added] = fontIndex_.try_emplace(family, static_cast<int>(fonts_.size()));
    if (added) fonts_.push_back(family);
    return it->second;
  }

  // 1-based: entry 0 of the table is the automatic colour.
  int ColourIndex(QRgb rgb) {
    rgb &= 0xFFFFFF;
    auto [it, added] = colourIndex_.try_emplace(rgb, static_cast<int>(colours_.size() + 1));
    if (added) colours_.push_back(rgb);
    return it->second;
  }

  // The default font is always font 0, and the tables list fonts and colours in order of use.
  void CollectTables() {
    FontIndex(doc_.defaultFont().family());
    for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
      if (block.textList()) SymbolFont();
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        QTextCharFormat f = it.fragment().charFormat();
        FontIndex(Family(f));
        if (HasColour(f)) ColourIndex(f.foreground().color().rgb());
      }
    }
  }

  RunFormat Run(const QTextCharFormat& f) {
    RunFormat run;
    run.font = FontIndex(Family(f));
    run.halfPoints = HalfPoints(DrawnPoints(f));
    run.bold = f.fontWeight() >= QFont::DemiBold;
    run.italic = f.fontItalic();
    run.underline = f.fontUnderline();
    run.strike = f.fontStrikeOut();
    run.vertical = f.verticalAlignment();
    if (run.vertical != QTextCharFormat::AlignSuperScript &&
        run.vertical != QTextCharFormat::AlignSubScript) {
      run.vertical = QTextCharFormat::AlignNormal;
    }
    run.colour = HasColour(f) ? ColourIndex(f.foreground().color().rgb()) : 0;
    return run;
  }

  // The size the text is drawn in. Pasted rich text may give it in pixels or as a step up or
  // down from the default size (headings, <big>); the font of a format in the document has
  // either already applied.
  qreal DrawnPoints(const QTextCharFormat& f) const {
    const QFont font = f.font();
    if (font.pointSizeF() > 0) return font.pointSizeF();
    if (font.pixelSize() > 0) return font.pixelSize() * 72.0 / 96.0;
    return doc_.defaultFont().pointSizeF();
  }

  // Appends the control words that take the running state to the new one.
  static void Switch(std::string& out, RunFormat& state, const RunFormat& to) {
    if (to.font != state.font) out += "\\f" + std::to_string(to.font);
    if (to.halfPoints != state.halfPoints) out += "\\fs" + std::to_string(to.halfPoints);
    if (to.bold != state.bold) out += to.bold ? "\\b" : "\\b0";
    if (to.italic != state.italic) out += to.italic ? "\\i" : "\\i0";
    if (to.underline != state.underline) out += to.underline ? "\\ul" : "\\ulnone";
    if (to.strike != state.strike) out += to.strike ? "\\strike" : "\\strike0";
    if (to.vertical != state.vertical) {
      out += to.vertical == QTextCharFormat::AlignSuperScript ? "\\super"
             : to.vertical == QTextCharFormat::AlignSubScript ? "\\sub"
                                                              : "\\nosupersub";
    }
    if (to.colour != state.colour) out += "\\cf" + std::to_string(to.colour);
    state = to;
  }

  void WriteBlock(const QTextBlock& block, RunFormat& state) {
    out_ += "\\pard";
    QTextList* list = block.textList();
    if (list && list->format().style() == QTextListFormat::ListDecimal) {
      out_ += "{\\pntext\\f0 " + std::to_string(list->itemNumber(block) + 1) +
              ".\\tab}{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent0{\\pntxta.}}\\fi-360\\li360";
    } else if (list) {
      // The \pntext group is what readers without bullet support show; \pn is the bullet.
      out_ += "{\\pntext\\f" + std::to_string(SymbolFont()) + "\\'B7\\tab}";
      out_ += "{\\*\\pn\\pnlvlblt\\pnf" + std::to_string(SymbolFont()) +
              "\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li360";
    }
    Qt::Alignment align = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter) {
      out_ += "\\qc";
    } else if (align & (Qt::AlignRight | Qt::AlignTrailing)) {
      out_ += "\\qr";
    } else if (align & Qt::AlignJustify) {
      out_ += "\\qj";
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      QTextFragment fragment = it.fragment();
      Switch(out_, state, Run(fragment.charFormat()));
      // The space ends the control word before the text; a reader drops it.
      out_ += ' ';
      AppendText(out_, fragment.text());
    }
    out_ += "\\par\r\n";
  }

  int SymbolFont() {
    if (symbolFont_ < 0) symbolFont_ = FontIndex(QStringLiteral("Symbol"));
    return symbolFont_;
  }

  // Escapes text. Every control word it writes ends in its delimiter, so any text may follow.
  // In a font name ';' would end the name, and tabs and breaks have no place.
  static void AppendText(std::string& out, const QString& text, bool fontName = false) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      char16_t c = text[i].unicode();
      if (fontName && (c == ';' || c == '\t' || c == '\n' || c == 0x2028)) {
        if (c == ';') out += "\\'3b";
      } else if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c == '\t') {
        out += "\\tab ";
      } else if ((c == 0x2028 || c == '\n')) {
        out += "\\line ";
      } else if (c >= 0x20 && c < 0x80) {
        out += static_cast<char>(c);
      } else if (c < 0x20 || c == QChar::ParagraphSeparator ||
                 c == QChar::ObjectReplacementCharacter || c == 0xFDD0 || c == 0xFDD1) {
        // Other control characters carry nothing that RTF can hold.
      } else if (int b = Windows1252Byte(c); b >= 0) {
        static const char kHex[] = "0123456789abcdef";
        out += "\\'";
        out += kHex[b >> 4];
        out += kHex[b & 15];
      } else {
        out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
      }
    }
  }

  const QTextDocument& doc_;
  std::string out_;
  std::vector<QString> fonts_;
  std::vector<QRgb> colours_;
  std::unordered_map<QString, int> fontIndex_;
  std::unordered_map<QRgb, int> colourIndex_;
  int symbolFont_ = -1;
};

}  // namespace

std::string WriteRtf(const QTextDocument& document) {
  return RtfWriter(document).Write();
}

}  // namespace kestrova
