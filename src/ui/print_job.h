// A printed plot: one page per copy with the scene and its header, on the current printer or in
// a PDF file. Both raise EKestrovaError with the message for the user when the job fails; the
// scene's remembered screen stays as it was in either case.
#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

#include "numerics/julian_dates.h"

class QPageLayout;
class QPrinter;

namespace kestrova {

class TSolarSystem;

inline constexpr char kPrintJobTitle[] = "Kestrova document";
// Device pixels per inch of a PDF page: the middle quality of a printer.
inline constexpr int kPdfResolution = 600;

struct TPrintRequest {
  // Colour scheme 0..3 of the scene's Paint.
  uint8_t Scheme = 0;
  int Copies = 1;
  // The date the header names.
  TDateRec ShownDate;
};

// The medium print quality among a printer's resolutions (dots per inch): the middle one, the
// higher of the two middle ones for an even count; nothing when the printer offers no choice.
std::optional<int> MediumResolution(QList<int> resolutions);

// Prints on `printer` at its medium quality with the job title "Kestrova document". The
// printer makes the copies when it can, else each copy is a page of its own.
void PrintPlotOnPrinter(TSolarSystem& scene, QPrinter& printer, const TPrintRequest& request);

// Writes the pages into the PDF file `path`, replaced as a whole (a failed job leaves no
// half-written file), with the paper and margins of `page` at kPdfResolution. Each copy is a
// page.
void PrintPlotToPdf(TSolarSystem& scene, const QString& path, const QPageLayout& page,
                    const TPrintRequest& request);

}  // namespace kestrova
