#include "ui/save_animation_action.h"

#include <QCoreApplication>
#include <QDialog>
#include <exception>

#include "scene/animation_video.h"
#include "scene/picture_files.h"
#include "scene/picture_names.h"
#include "scene/solar_system.h"
#include "ui/prompter.h"
#include "ui/save_animation_dlg.h"
#include "ui/video_progress_dlg.h"

namespace kestrova {

QString PresetVideoName(const QString& documentPath, const QString& bitmapFolder) {
  std::string name = PresetPictureName(documentPath.toStdString(), bitmapFolder.toStdString());
  if (FileNamePart(name).empty()) return QString::fromStdString(name + "animation.webm");
  name.resize(name.size() - FileExtension(name).size());
  return QString::fromStdString(name + ".webm");
}

bool SaveAnimationAction(QWidget* parent, TSolarSystem& scene, TSaveAnimationDlg& dialog,
                         TVideoProgressDlg& progress, TPrompter& prompter,
                         TAnimationSettings& settings) {
  dialog.Load(settings);
  if (prompter.RunDialog(dialog) != QDialog::Accepted) return false;
  settings = dialog.Apply();
  TAnimationRequest request;
  request.Path = settings.FileName.toStdString();
  request.Frames = settings.Frames;
  request.Size = settings.Size;
  request.Fps = settings.Fps;
  request.Scheme = settings.Scheme;
  const TAnimationSettings s = settings;
  // Each frame's date from the first, so that steps do not pile up rounding; the dialog has
  // checked that the last one exists.
  request.DateOf = [s](int32_t i) {
    return StepDate(s.Start, s.Step * i, s.Unit, true).value_or(s.Start);
  };
  progress.Begin(settings.Frames);
  QString failure;
  bool written = false;
  try {
    written = WriteAnimation(scene, request, [&progress](int32_t done) {
      progress.SetProgress(done);
      QCoreApplication::processEvents();
      return !progress.Cancelled();
    });
  } catch (const std::exception& e) {
    failure = QString::fromStdString(e.what());
  }
  progress.hide();
  scene.Repaint();
  if (!failure.isEmpty()) prompter.ShowError(parent, failure);
  return written;
}

}  // namespace kestrova
