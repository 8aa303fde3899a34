// The progress of a video being written: frames done of all, the time left, and Cancel. The
// writing runs in the window's thread and lets events through after every frame, so Cancel
// (and a test calling it) is heard between two frames.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kestrova {

class TVideoProgressDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TVideoProgressDlg(QWidget* parent = nullptr);

  // Shows the dialog for a video of `frames` frames, none done yet.
  void Begin(int32_t frames);
  // Frames done so far; the time left is reckoned from the time the frames done took.
  void SetProgress(int32_t done);
  bool Cancelled() const { return cancelled_; }

 public slots:
  void Cancel();
  // Escape and the window's close button cancel as well.
  void reject() override;

 signals:
  // After each SetProgress, with the frames done.
  void progressed(int done);

 private:
  QProgressBar* bar_;
  QLabel* frames_label_;
  QLabel* time_label_;
  QPushButton* cancel_btn_;
  QElapsedTimer clock_;
  int32_t frames_ = 0;
  bool cancelled_ = false;
};

}  // namespace kestrova
