#include "ui/plot_actions.h"

#include <QDialog>
#include <QDir>
#include <QPrinter>
#include <exception>
#include <functional>

#include "scene/picture_names.h"
#include "scene/picture_render.h"
#include "scene/solar_system.h"
#include "ui/print_dlg.h"
#include "ui/print_job.h"
#include "ui/prompter.h"
#include "ui/save_as_bitmap_dlg.h"

namespace kestrova {

namespace {

// Runs `work`; whatever it raises is shown as an error once the screen has been repainted.
bool RunAndRepaint(QWidget* parent, TSolarSystem& scene, TPrompter& prompter,
                   const std::function<void()>& work) {
  QString failure;
  try {
    work();
  } catch (const std::exception& e) {
    failure = QString::fromStdString(e.what());
    if (failure.isEmpty()) failure = QStringLiteral("Unknown error.");
  }
  scene.Repaint();
  if (failure.isEmpty()) return true;
  prompter.ShowError(parent, failure);
  return false;
}

}  // namespace

bool PrintAction(QWidget* parent, TSolarSystem& scene, TPrintDlg& dialog, TPrompter& prompter,
                 const TPlotOutputState& state) {
  dialog.Prepare(QString::fromStdString(
      PresetPdfName(state.DocumentPath.toStdString(), state.BitmapPath.toStdString())));
  if (prompter.RunDialog(dialog) != QDialog::Accepted) return false;
  TPrintRequest request;
  request.Scheme = dialog.Scheme();
  request.Copies = dialog.Copies();
  request.ShownDate = state.DisplayDate;
  return RunAndRepaint(parent, scene, prompter, [&] {
    if (dialog.PrintToFile()) {
      PrintPlotToPdf(scene, dialog.PdfFileName(), dialog.Printer().pageLayout(), request);
    } else {
      PrintPlotOnPrinter(scene, dialog.Printer(), request);
    }
  });
}

bool SaveAsBitmapAction(QWidget* parent, TSolarSystem& scene, TSaveAsBitmapDlg& dialog,
                        TPrompter& prompter, TPlotOutputState& state) {
  dialog.SetFileName(QString::fromStdString(
      PresetPictureName(state.DocumentPath.toStdString(), state.BitmapPath.toStdString())));
  dialog.SetGraphicSize(state.BitmapSize);
  if (prompter.RunDialog(dialog) != QDialog::Accepted) return false;
  state.BitmapSize = dialog.GraphicSize();
  // The folder of the preset or of the "..." button, until a picture has been written.
  state.BitmapPath = dialog.Folder();
  const QString target = dialog.GetFileName();
  // Rendered first, so that the screen is repainted before the file is written (and before a
  // failure to write it is shown).
  TExportedPicture picture;
  const bool rendered = RunAndRepaint(parent, scene, prompter, [&] {
    picture = RenderExport(scene, ExportFormatOf(target.toStdString()), state.BitmapSize,
                           state.DisplayDate);
  });
  if (!rendered) return false;
  try {
    WriteExport(target.toStdString(), picture);
  } catch (const std::exception& e) {
    prompter.ShowError(parent, QString::fromStdString(e.what()));
    return false;
  }
  // The next export starts where this one went, also when a full path was typed.
  state.BitmapPath = QString::fromStdString(FolderPart(target.toStdString()));
  if (QDir::isRelativePath(state.BitmapPath) && !state.BitmapPath.isEmpty()) {
    state.BitmapPath = QDir::current().absoluteFilePath(state.BitmapPath) + QLatin1Char('/');
  }
  return true;
}

}  // namespace kestrova
