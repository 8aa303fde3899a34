// RTF reader: one pass over the bytes with a stack of group states kept on the heap, so that
// nesting costs memory only up to kMaxRtfGroupDepth and never the call stack.
#include "documents/rtf_reader.h"

#include <QColor>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "documents/code_page.h"

namespace kestrova {
namespace {

enum class Destination {
  Text,         // the document's text
  Skip,         // text that is not shown: pictures, style sheet, \* destinations ...
  FontTable,    // \fonttbl
  ColourTable,  // \colortbl
  BulletText,   // \pntext, \listtext: the bullet as text for readers without lists
  Bullet,       // \*\pn: the bullet's description
};

enum class ListKind { None, Disc, Decimal };

struct CharState {
  int font = -1;  // -1: the default font of \deff
  int halfPoints = 24;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike = false;
  QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
  int colour = 0;
};

struct ParaState {
  Qt::Alignment align = Qt::AlignLeft;
  ListKind list = ListKind::None;
};

struct GroupState {
  CharState ch;
  ParaState para;
  Destination dest = Destination::Text;
  int unicodeSkip = 1;                   // \ucN: characters that stand in for each \uN
  ListKind bulletKind = ListKind::None;  // what a \pn group found
};

struct FontEntry {
  QString name;
  int codePage = 0;  // 0: the document's code page
};

// False for characters that the document would take for its own structure, and for control
// characters, which no text holds.
bool IsTextCharacter(char16_t c) {
  return (c >= 0x20 || c == u'\t') && c != 0xFFFC && c != 0xFDD0 && c != 0xFDD1;
}

// The code page of a font's \fcharset; 0 for the document's own.
int CharsetCodePage(int charset) {
  switch (charset) {
    case 0:
      return 1252;
    case 128:
      return 932;
    case 129:
      return 949;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    default:
      return 0;
  }
}

// Destinations whose text is never shown, written without \* by older writers.
bool IsSkippedDestination(std::string_view word) {
  static constexpr std::string_view kSkipped[] = {"author",    "buptim",       "colorschememapping",
                                                  "comment",   "creatim",      "datastore",
                                                  "doccomm",   "filetbl",      "footer",
                                                  "footerf",   "footerl",      "footerr",
                                                  "footnote",  "ftncn",        "ftnsep",
                                                  "ftnsepc",   "header",       "headerf",
                                                  "headerl",   "headerr",      "info",
                                                  "keywords",  "latentstyles", "listoverridetable",
                                                  "listtable", "nonshppict",   "object",
                                                  "operator",  "pict",         "printim",
                                                  "private",   "revtbl",       "revtim",
                                                  "rsidtbl",   "stylesheet",   "subject",
                                                  "template",  "themedata",    "title",
                                                  "txe",       "xe",           "tc",
                                                  "rxe",       "generator",    "xmlnstbl",
                                                  "fldinst",   "pnseclvl",     "bkmkstart",
                                                  "bkmkend",   "annotation",   "atnid",
                                                  "atnauthor"};
  return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

// Characters that control words stand for.
char16_t SymbolWord(std::string_view word) {
  struct Entry {
    std::string_view word;
    char16_t ch;
  };
  static constexpr Entry kSymbols[] = {
      {"tab", u'\t'},        {"line", 0x2028},     {"emdash", 0x2014},  {"endash", 0x2013},
      {"bullet", 0x2022},    {"lquote", 0x2018},   {"rquote", 0x2019},  {"ldblquote", 0x201C},
      {"rdblquote", 0x201D}, {"enspace", 0x2002},  {"emspace", 0x2003}, {"qmspace", 0x2005},
      {"cell", u'\t'},       {"softline", 0x2028}, {"nestcell", u'\t'}};
  for (const Entry& e : kSymbols) {
    if (e.word == word) return e.ch;
  }
  return 0;
}

class RtfReader {
 public:
  RtfReader(std::string_view rtf, QTextDocument& document) : in_(rtf), cursor_(&document) {}

  void Read() {
    groups_.push_back(GroupState{});
    while (pos_ < in_.size()) {
      char c = in_[pos_++];
      if (closed_ && (c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '\0')) continue;
      switch (c) {
        case '{':
          OpenGroup();
          break;
        case '}':
          CloseGroup();
          break;
        case '\\':
          ControlWord();
          break;
        case '\r':
        case '\n':
          break;
        default:
          TextByte(c);
          break;
      }
    }
    FlushText();
    FinishDocument();
  }

 private:
  GroupState& Top() { return groups_.back(); }

  // --- groups -------------------------------------------------------------------------------

  void OpenGroup() {
    FlushText();
    skip_ = 0;
    star_ = false;
    if (static_cast<int>(groups_.size()) > kMaxRtfGroupDepth) {
      ++overflow_;
      return;
    }
    GroupState inner = Top();
    inner.bulletKind = ListKind::None;
    groups_.push_back(inner);
  }

  void CloseGroup() {
    FlushText();
    skip_ = 0;
    star_ = false;
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (groups_.size() <= 1) return;  // a stray brace
    GroupState inner = groups_.back();
    groups_.pop_back();
    if (inner.dest == Destination::FontTable) CommitFont();
    if (inner.dest == Destination::Bullet && Top().dest != Destination::Bullet) {
      Top().para.list = inner.bulletKind == ListKind::None ? ListKind::Disc : inner.bulletKind;
    }
    if (inner.dest == Destination::BulletText && Top().dest == Destination::Text &&
        Top().para.list == ListKind::None) {
      Top().para.list = ListKind::Disc;
    }
    if (groups_.size() == 1) closed_ = true;
  }

  // --- control words ------------------------------------------------------------------------

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void ControlWord() {
    if (pos_ >= in_.size()) return;
    char c = in_[pos_];
    if (!IsLetter(c)) {
      ++pos_;
      ControlSymbol(c);
      return;
    }
    size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
    // Longer words than any RTF has are cut; the rest of the letters are part of the word.
    std::string_view word = in_.substr(start, std::min<size_t>(pos_ - start, 32));
    bool hasParam = false;
    bool negative = false;
    long long param = 0;
    if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
      hasParam = true;
      if (param < 100000000000LL) param = param * 10 + (in_[pos_] - '0');
      ++pos_;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    param = std::clamp(negative ? -param : param, -2147483648LL, 2147483647LL);
    Word(word, hasParam, static_cast<int>(param));
  }

  void ControlSymbol(char c) {
    switch (c) {
      case '\'': {
        int hi = pos_ < in_.size() ? HexDigit(in_[pos_]) : -1;
        int lo = pos_ + 1 < in_.size() ? HexDigit(in_[pos_ + 1]) : -1;
        if (hi < 0 || lo < 0) {
          // A broken escape: take what is hex of it and drop the rest.
          if (hi >= 0) ++pos_;
          return;
        }
        pos_ += 2;
        TextByte(static_cast<char>(hi * 16 + lo), true);
        return;
      }
      case '\\':
      case '{':
      case '}':
        TextByte(c, true);
        return;
      case '*':
        star_ = true;
        return;
      case '\r':
      case '\n':
        if (Skipping()) return;
        if (Top().dest == Destination::Text) EndParagraph();
        return;
      case '~':
        if (!Skipping()) Char(0x00A0);
        return;
      case '_':
        if (!Skipping()) Char(0x2011);
        return;
      case '\t':
        if (!Skipping()) Char(u'\t');
        return;
      default:
        // \- (optional hyphen), \: (index entry), \| (formula) and unknown symbols: nothing
        // to show, but each stands for one character that a \uN may skip.
        Skipping();
        return;
    }
  }

  // Counts down the characters that follow a \uN; true while one is being skipped.
  bool Skipping() {
    if (skip_ <= 0) return false;
    --skip_;
    return true;
  }

  void Word(std::string_view w, bool hasParam, int n) {
    if (w == "bin") {
      // Binary data of the given length: it may hold braces and backslashes.
      FlushText();
      size_t len = hasParam && n > 0 ? static_cast<size_t>(n) : 0;
      pos_ += std::min(len, in_.size() - pos_);
      return;
    }
    if (Skipping()) return;
    GroupState& g = Top();
    if (star_) {
      star_ = false;
      FlushText();
      g.dest = w == "pn" ? Destination::Bullet : Destination::Skip;
      return;
    }
    // Words that change the destination or the state, in every destination.
    if (w == "u") {
      if (g.dest == Destination::Text || g.dest == Destination::FontTable) {
        Char(static_cast<char16_t>(n & 0xFFFF));
      }
      skip_ = g.unicodeSkip;
      return;
    }
    if (w == "uc") {
      g.unicodeSkip = std::clamp(n, 0, 16);
      return;
    }
    if (g.dest == Destination::Skip || g.dest == Destination::BulletText) return;
    if (g.dest == Destination::FontTable) {
      FontTableWord(w, hasParam, n);
      return;
    }
    if (g.dest == Destination::ColourTable) {
      if (w == "red") colour_.setRed(std::clamp(n, 0, 255));
      if (w == "green") colour_.setGreen(std::clamp(n, 0, 255));
      if (w == "blue") colour_.setBlue(std::clamp(n, 0, 255));
      if (w == "red" || w == "green" || w == "blue") colourSet_ = true;
      return;
    }
    if (g.dest == Destination::Bullet) {
      if (w == "pnlvlblt") g.bulletKind = ListKind::Disc;
      if (w == "pndec" || w == "pnucrm" || w == "pnlcrm" || w == "pnucltr" || w == "pnlcltr") {
        if (g.bulletKind == ListKind::None) g.bulletKind = ListKind::Decimal;
      }
      return;
    }
    TextWord(w, hasParam, n);
  }

  void FontTableWord(std::string_view w, bool hasParam, int n) {
    if (w == "f" && hasParam) {
      CommitFont();
      fontNumber_ = n;
    } else if (w == "fcharset") {
      fontCodePage_ = CharsetCodePage(n);
    } else if (w == "cpg") {
      fontCodePage_ = n;
    }
  }

  void TextWord(std::string_view w, bool hasParam, int n) {
    GroupState& g = Top();
    CharState& ch = g.ch;
    bool on = !hasParam || n != 0;
    if (char16_t s = SymbolWord(w)) {
      Char(s);
      return;
    }
    FlushText();
    if (w == "par" || w == "sect" || w == "page" || w == "row" || w == "nestrow") {
      EndParagraph();
    } else if (w == "fonttbl") {
      g.dest = Destination::FontTable;
      fontNumber_ = -1;
      fontName_.clear();
      fontNameText_.clear();
      fontCodePage_ = 0;
    } else if (w == "colortbl") {
      g.dest = Destination::ColourTable;
      colour_ = QColor(0, 0, 0);
      colourSet_ = false;
    } else if (w == "pntext" || w == "listtext") {
      g.dest = Destination::BulletText;
    } else if (w == "pn") {
      g.dest = Destination::Bullet;
    } else if (IsSkippedDestination(w)) {
      g.dest = Destination::Skip;
    } else if (w == "ansicpg") {
      codePage_ = n;
    } else if (w == "deff") {
      defaultFont_ = n;
    } else if (w == "plain") {
      ch = CharState{};
    } else if (w == "pard") {
      g.para = ParaState{};
    } else if (w == "f") {
      ch.font = n;
    } else if (w == "fs") {
      ch.halfPoints = hasParam ? std::clamp(n, 2, 3276) : 24;
    } else if (w == "b") {
      ch.bold = on;
    } else if (w == "i") {
      ch.italic = on;
    } else if (w == "ulnone") {
      ch.underline = false;
    } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw" || w == "uldash" ||
               w == "ulth" || w == "ulwave") {
      ch.underline = on;
    } else if (w == "strike" || w == "striked") {
      ch.strike = on;
    } else if (w == "super") {
      ch.vertical = QTextCharFormat::AlignSuperScript;
    } else if (w == "sub") {
      ch.vertical = QTextCharFormat::AlignSubScript;
    } else if (w == "nosupersub") {
      ch.vertical = QTextCharFormat::AlignNormal;
    } else if (w == "cf") {
      ch.colour = n;
    } else if (w == "ql") {
      g.para.align = Qt::AlignLeft;
    } else if (w == "qc") {
      g.para.align = Qt::AlignHCenter;
    } else if (w == "qr") {
      g.para.align = Qt::AlignRight;
    } else if (w == "qj") {
      g.para.align = Qt::AlignJustify;
    } else if (w == "ls" && n > 0) {
      g.para.list = ListKind::Disc;
    } else if (w == "pnlvlblt") {
      g.para.list = ListKind::Disc;
    }
    // Every other word is a property we do not keep.
  }

  // --- text ---------------------------------------------------------------------------------

  // A byte of text; an escaped one is never a table's separator.
  void TextByte(char c, bool escaped = false) {
    if (Skipping()) return;
    GroupState& g = Top();
    switch (g.dest) {
      case Destination::Text:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return;
        bytes_.push_back(c);
        return;
      case Destination::FontTable:
        if (c == ';' && !escaped) {
          CommitFont();
        } else if (fontName_.size() < 256) {
          fontName_.push_back(c);
        }
        return;
      case Destination::ColourTable:
        if (c == ';' && !escaped) {
          colours_.push_back(colourSet_ ? std::optional<QColor>(colour_) : std::nullopt);
          colour_ = QColor(0, 0, 0);
          colourSet_ = false;
        }
        return;
      default:
        return;
    }
  }

  void Char(char16_t c) {
    if (Top().dest == Destination::FontTable) {
      if (fontNameText_.size() < 256) {
        fontNameText_ += DecodeCodePage(fontName_, FontTableCodePage());
        fontNameText_.append(QChar(c));
      }
      fontName_.clear();
      return;
    }
    if (Top().dest != Destination::Text) return;
    if (!IsTextCharacter(c)) return;
    DecodeBytes();
    run_.append(QChar(c));
  }

  int CurrentCodePage() {
    int font = Top().ch.font >= 0 ? Top().ch.font : defaultFont_;
    auto it = fonts_.find(font);
    if (it != fonts_.end() && it->second.codePage != 0) return it->second.codePage;
    return codePage_;
  }

  void DecodeBytes() {
    if (bytes_.empty()) return;
    int codePage = CurrentCodePage();
    QString text = codePage == 1252 ? DecodeWindows1252(bytes_) : DecodeCodePage(bytes_, codePage);
    // Some code pages map bytes to control characters (Shift_JIS 7F is U+001A).
    text.removeIf([](QChar c) { return !IsTextCharacter(c.unicode()); });
    run_ += text;
    bytes_.clear();
  }

  QTextCharFormat Format() {
    const CharState& ch = Top().ch;
    QTextCharFormat f;
    auto font = fonts_.find(ch.font >= 0 ? ch.font : defaultFont_);
    if (font != fonts_.end() && !font->second.name.isEmpty()) {
      f.setFontFamilies(QStringList{font->second.name});
    }
    f.setFontPointSize(ch.halfPoints / 2.0);
    f.setFontWeight(ch.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(ch.italic);
    f.setFontUnderline(ch.underline);
    f.setFontStrikeOut(ch.strike);
    f.setVerticalAlignment(ch.vertical);
    if (ch.colour > 0 && static_cast<size_t>(ch.colour) < colours_.size() &&
        colours_[static_cast<size_t>(ch.colour)].has_value()) {
      f.setForeground(*colours_[static_cast<size_t>(ch.colour)]);
    }
    return f;
  }

  // Puts the text gathered so far into the document in the current character format.
  void FlushText() {
    DecodeBytes();
    if (run_.isEmpty()) return;
    if (breakPending_) {
      cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
      breakPending_ = false;
    }
    cursor_.insertText(run_, Format());
    run_.clear();
  }

  // The paragraph properties in force at its end are those of the whole paragraph.
  void ApplyParagraph() {
    const ParaState& para = Top().para;
    QTextBlockFormat format;
    format.setAlignment(para.align);
    cursor_.setBlockFormat(format);
    if (para.list == ListKind::None) {
      list_ = nullptr;
      return;
    }
    QTextListFormat::Style style =
        para.list == ListKind::Decimal ? QTextListFormat::ListDecimal : QTextListFormat::ListDisc;
    if (list_ && list_->format().style() == style) {
      list_->add(cursor_.block());
    } else {
      QTextListFormat listFormat;
      listFormat.setStyle(style);
      list_ = cursor_.createList(listFormat);
    }
  }

  // A paragraph mark. The block after it is made only when something follows, so that the
  // last mark of a text does not leave an empty paragraph behind.
  void EndParagraph() {
    FlushText();
    if (breakPending_) cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
    ApplyParagraph();
    breakPending_ = true;
  }

  void FinishDocument() {
    if (!breakPending_) ApplyParagraph();
  }

  void CommitFont() {
    if (fontNumber_ >= 0) {
      QString name = (fontNameText_ + DecodeCodePage(fontName_, FontTableCodePage())).trimmed();
      fonts_[fontNumber_] = FontEntry{name, fontCodePage_};
    }
    fontNumber_ = -1;
    fontName_.clear();
    fontNameText_.clear();
    fontCodePage_ = 0;
  }

  int FontTableCodePage() const { return fontCodePage_ ? fontCodePage_ : codePage_; }

  std::string_view in_;
  size_t pos_ = 0;
  QTextCursor cursor_;
  std::vector<GroupState> groups_;
  int overflow_ = 0;     // groups opened beyond the depth cap and not yet closed
  bool closed_ = false;  // the outermost group has ended
  bool star_ = false;    // a \* precedes the next control word
  int skip_ = 0;         // characters still to skip after a \uN
  std::string bytes_;    // code-page bytes not yet decoded
  QString run_;          // decoded text not yet in the document
  bool breakPending_ = false;
  QTextList* list_ = nullptr;
  int codePage_ = 1252;
  int defaultFont_ = 0;
  std::map<int, FontEntry> fonts_;
  int fontNumber_ = -1;
  std::string fontName_;  // bytes of the font name not yet decoded
  QString fontNameText_;  // the font name decoded so far
  int fontCodePage_ = 0;
  std::vector<std::optional<QColor>> colours_;
  QColor colour_;
  bool colourSet_ = false;
};

// Where the RTF group begins after leading blanks, or npos for text that is no RTF.
size_t RtfStart(std::string_view text) {
  size_t i = text.find_first_not_of(" \t\r\n");
  return i != std::string_view::npos && text.substr(i, 5) == "{\\rtf" ? i : std::string_view::npos;
}

}  // namespace

void ReadRtf(std::string_view rtf, QTextDocument& document) {
  bool undo = document.isUndoRedoEnabled();
  document.setUndoRedoEnabled(false);
  document.clear();
  if (size_t start = RtfStart(rtf); start != std::string_view::npos) {
    RtfReader(rtf.substr(start), document).Read();
  } else {
    QByteArray bytes(rtf.data(), static_cast<qsizetype>(rtf.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = DecodeWindows1252(rtf);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.removeIf([](QChar c) { return !IsTextCharacter(c.unicode()) && c != u'\n'; });
    document.setPlainText(text);
  }
  document.setUndoRedoEnabled(undo);
}

}  // namespace kestrova
