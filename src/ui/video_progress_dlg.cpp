#include "ui/video_progress_dlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace kestrova {

TVideoProgressDlg::TVideoProgressDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TVideoProgressDlg"));
  setWindowTitle(QStringLiteral("Saving the animation"));
  // The window's controls would change the scene under the frames being painted.
  setWindowModality(Qt::WindowModal);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(QStringLiteral("ProgressBar"));
  frames_label_ = new QLabel(this);
  frames_label_->setObjectName(QStringLiteral("FramesLabel"));
  time_label_ = new QLabel(this);
  time_label_->setObjectName(QStringLiteral("TimeLeftLabel"));
  cancel_btn_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_btn_->setObjectName(QStringLiteral("CancelBtn"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frames_label_);
  layout->addWidget(bar_);
  layout->addWidget(time_label_);
  layout->addWidget(cancel_btn_, 0, Qt::AlignRight);
  connect(cancel_btn_, &QPushButton::clicked, this, &TVideoProgressDlg::Cancel);
  setMinimumWidth(320);
}

void TVideoProgressDlg::Begin(int32_t frames) {
  frames_ = frames;
  cancelled_ = false;
  cancel_btn_->setEnabled(true);
  bar_->setRange(0, frames);
  clock_.start();
  show();
  SetProgress(0);
}

void TVideoProgressDlg::SetProgress(int32_t done) {
  bar_->setValue(done);
  frames_label_->setText(QStringLiteral("%1 of %2 frames").arg(done).arg(frames_));
  if (done == 0) {
    time_label_->setText(QStringLiteral("time left: -"));
  } else {
    const double left = double(clock_.elapsed()) / 1000 / done * (frames_ - done);
    time_label_->setText(QStringLiteral("time left: %1 s").arg(std::lround(left)));
  }
  emit progressed(done);
}

void TVideoProgressDlg::Cancel() {
  cancelled_ = true;
  cancel_btn_->setEnabled(false);
}

// Closing the window is a Cancel too; the writer hides it when it stops.
void TVideoProgressDlg::reject() {
  Cancel();
}

}  // namespace kestrova
