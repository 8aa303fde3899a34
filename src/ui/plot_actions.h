// The main window's Print and "Save as bitmap" actions: each asks its dialog, paints the plot
// once more on a page or a picture, repaints the screen, and shows what went wrong as an error.
#pragma once

#include <QString>
#include <cstdint>

#include "numerics/julian_dates.h"

class QWidget;

namespace kestrova {

class TPrintDlg;
class TPrompter;
class TSaveAsBitmapDlg;
class TSolarSystem;

// What the actions read from the main window, and what "Save as bitmap" keeps there.
struct TPlotOutputState {
  // The date shown; the header names it.
  TDateRec DisplayDate;
  // The open document; its name proposes the names of pictures and PDF files.
  QString DocumentPath;
  // The folder of exported pictures, and their side in pixels (both kept in the settings).
  QString BitmapPath;
  int32_t BitmapSize = 500;
};

// Print (Ctrl+P): the print dialog; on OK the plot on the printer or into the PDF file with the
// chosen scheme and copies. True when the plot was printed.
bool PrintAction(QWidget* parent, TSolarSystem& scene, TPrintDlg& dialog, TPrompter& prompter,
                 const TPlotOutputState& state);

// "Save as bitmap": the dialog preset from the document, the export folder and the size; on OK
// BitmapSize and BitmapPath take the dialog's size and folder and the picture is written, and
// then BitmapPath becomes the folder it was written to. True when it was written.
bool SaveAsBitmapAction(QWidget* parent, TSolarSystem& scene, TSaveAsBitmapDlg& dialog,
                        TPrompter& prompter, TPlotOutputState& state);

}  // namespace kestrova
