// The description's RTF: writing and reading a text of a few pages with mixed formats, as a
// document's reading and writing does once each.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <string>

#include "bench_application.h"
#include "documents/rtf_reader.h"
#include "documents/rtf_writer.h"

namespace {

// 60 paragraphs of about 200 characters, every fifth bulleted, each with bold, italic and
// coloured runs: some 16 KB of RTF.
void FillPages(QTextDocument& doc) {
  QTextCursor c(&doc);
  QTextCharFormat plain;
  plain.setFontFamilies(QStringList{"Arial"});
  plain.setFontPointSize(10);
  QTextCharFormat bold = plain;
  bold.setFontWeight(QFont::Bold);
  QTextCharFormat italic = plain;
  italic.setFontItalic(true);
  italic.setForeground(QColor(0, 0, 160));
  for (int i = 0; i < 60; ++i) {
    if (i > 0) c.insertBlock(QTextBlockFormat());
    if (i % 5 == 4) c.createList(QTextListFormat::ListDisc);
    c.insertText("Perihelion passage of the comet ", plain);
    c.insertText("on 12 March", bold);
    c.insertText(", close to the ecliptic caf\u00e9 \u20ac; ", italic);
    c.insertText(QString("orbital elements from the data file, epoch and the mean anomaly at "
                         "that epoch, %1 of 60.\t")
                     .arg(i),
                 plain);
  }
}

void BM_WriteRtf(benchmark::State& state) {
  kestrova::EnsureBenchApplication();
  QTextDocument doc;
  FillPages(doc);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string rtf = kestrova::WriteRtf(doc);
    bytes = rtf.size();
    benchmark::DoNotOptimize(rtf);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_WriteRtf);

void BM_ReadRtf(benchmark::State& state) {
  kestrova::EnsureBenchApplication();
  QTextDocument source;
  FillPages(source);
  const std::string rtf = kestrova::WriteRtf(source);
  for (auto _ : state) {
    QTextDocument doc;
    kestrova::ReadRtf(rtf, doc);
    benchmark::DoNotOptimize(doc.blockCount());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtf);

}  // namespace
