// Helpers for tests of rich text: a GUI application for fonts, and a readable summary of a
// QTextDocument (paragraph by paragraph: alignment, list, and runs of equal character format)
// so that two documents compare by their formatting, not by the bytes that made them.
#pragma once

#include <QColor>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <string>

namespace kestrova::testing {

inline void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kestrova_tests";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

inline std::string CharKey(const QTextCharFormat& f, const QTextDocument& doc) {
  QStringList families = f.fontFamilies().toStringList();
  QString family = families.isEmpty() ? doc.defaultFont().family() : families.front();
  qreal size = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                         : doc.defaultFont().pointSizeF();
  std::string key = "{" + family.toStdString() + " " + QString::number(size).toStdString();
  if (f.fontWeight() >= QFont::DemiBold) key += " b";
  if (f.fontItalic()) key += " i";
  if (f.fontUnderline()) key += " u";
  if (f.fontStrikeOut()) key += " s";
  if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) key += " sup";
  if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) key += " sub";
  if (f.hasProperty(QTextFormat::ForegroundBrush)) {
    key += " " + f.foreground().color().name().toStdString();
  }
  return key + "}";
}

// One line per paragraph, e.g. "center disc: {Arial 10 b}Bold{Arial 10} rest".
inline std::string Summary(const QTextDocument& doc, bool withFormats = true) {
  std::string out;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    Qt::Alignment a = block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
    out += (a & Qt::AlignHCenter)   ? "center"
           : (a & Qt::AlignRight)   ? "right"
           : (a & Qt::AlignJustify) ? "justify"
                                    : "left";
    if (QTextList* list = block.textList()) {
      out += list->format().style() == QTextListFormat::ListDecimal ? " decimal" : " disc";
    }
    out += ": ";
    std::string last;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      QTextFragment fragment = it.fragment();
      if (withFormats) {
        std::string key = CharKey(fragment.charFormat(), doc);
        if (key != last) out += key;
        last = key;
      }
      QString text = fragment.text();
      text.replace(QChar(0x2028), QStringLiteral("<br>"));
      text.replace(QChar('\t'), QStringLiteral("<tab>"));
      out += text.toStdString();
    }
    out += "\n";
  }
  return out;
}

}  // namespace kestrova::testing
