// The main window's "Save animation as video": the dialog, then the frames painted one by one
// into the video with the progress window showing, Cancel heard between frames; what goes wrong
// is shown as an error once the screen shows the window's date again.
#pragma once

#include <QString>

class QWidget;

namespace kestrova {

class TPrompter;
class TSaveAnimationDlg;
class TSolarSystem;
class TVideoProgressDlg;
struct TAnimationSettings;

// The name the dialog proposes when no video has been saved yet: the picture's preset name
// (the export folder and the document's name) with ".webm" for its extension, "animation.webm"
// where the picture would be "default.png".
QString PresetVideoName(const QString& documentPath, const QString& bitmapFolder);

// Runs the dialog loaded with `settings`; on OK `settings` takes the dialog's values and the
// video is written. True when it was written; false on Cancel in either window or a failure
// (then no file is left and the target stays as it was).
bool SaveAnimationAction(QWidget* parent, TSolarSystem& scene, TSaveAnimationDlg& dialog,
                         TVideoProgressDlg& progress, TPrompter& prompter,
                         TAnimationSettings& settings);

}  // namespace kestrova
