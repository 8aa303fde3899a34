#include "ui/print_job.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

#include "numerics/errors.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "streams/replacing_file.h"

namespace kestrova {

namespace {

[[noreturn]] void Raise(const QString& message) {
  throw EKestrovaError(message.toStdString());
}

// Paints `pages` pages of the plot; raises `failure` when the device refuses a new page.
void PaintPages(TSolarSystem& scene, QPagedPaintDevice& device, QPainter& painter, int pages,
                const TPrintRequest& request, const QString& failure) {
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) Raise(failure);
    PaintPrintedPlot(scene, painter, request.Scheme, request.ShownDate);
  }
}

}  // namespace

std::optional<int> MediumResolution(QList<int> resolutions) {
  std::sort(resolutions.begin(), resolutions.end());
  resolutions.erase(std::unique(resolutions.begin(), resolutions.end()), resolutions.end());
  if (resolutions.size() < 2) return std::nullopt;
  return resolutions[resolutions.size() / 2];
}

void PrintPlotOnPrinter(TSolarSystem& scene, QPrinter& printer, const TPrintRequest& request) {
  // The set-up dialog may have left the printer writing a file; the printer is wanted here.
  if (printer.outputFormat() != QPrinter::NativeFormat) {
    printer.setOutputFileName(QString());
    printer.setOutputFormat(QPrinter::NativeFormat);
    if (printer.outputFormat() != QPrinter::NativeFormat)
      Raise(QStringLiteral("No printer is installed."));
  }
  const QString name = printer.printerName();
  const QString failure = QStringLiteral("Error printing on %1!").arg(name);
  printer.setDocName(QString::fromLatin1(kPrintJobTitle));
  if (const std::optional<int> medium = MediumResolution(printer.supportedResolutions()))
    printer.setResolution(*medium);
  const bool printerCopies = printer.supportsMultipleCopies();
  printer.setCopyCount(printerCopies ? request.Copies : 1);
  QPainter painter;
  if (!painter.begin(&printer))
    Raise(QStringLiteral("The printer %1 cannot start the document.").arg(name));
  try {
    PaintPages(scene, printer, painter, printerCopies ? 1 : request.Copies, request, failure);
  } catch (...) {
    printer.abort();
    painter.end();
    throw;
  }
  if (!painter.end() || printer.printerState() == QPrinter::Error) Raise(failure);
}

void PrintPlotToPdf(TSolarSystem& scene, const QString& path, const QPageLayout& page,
                    const TPrintRequest& request) {
  const QString failure = QStringLiteral("Error Writing PDF File %1!").arg(path);
  QByteArray pdf;
  {
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageLayout(page);
    writer.setResolution(kPdfResolution);
    writer.setTitle(QString::fromLatin1(kPrintJobTitle));
    writer.setCreator(QStringLiteral("Kestrova"));
    QPainter painter;
    if (!painter.begin(&writer)) Raise(failure);
    PaintPages(scene, writer, painter, request.Copies, request, failure);
    painter.end();
  }
  WriteWholeFile(path.toStdString(), std::string_view(pdf.constData(), size_t(pdf.size())),
                 failure.toStdString());
}

}  // namespace kestrova
