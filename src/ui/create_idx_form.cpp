#include "ui/create_idx_form.h"

#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "database/data_files.h"

namespace kestrova {

namespace {

// How often long engine work lets the window breathe.
constexpr qint64 kEventsEveryMs = 40;

}  // namespace

TCreateIdxForm::TCreateIdxForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName("CreateIdxForm");
  setWindowTitle("Creating indices");
  setWindowModality(Qt::ApplicationModal);
  // Without a title bar the window needs its own edge.
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Box | QFrame::Plain);
  frame->setLineWidth(1);
  outer->addWidget(frame);
  auto* layout = new QVBoxLayout(frame);
  layout->setContentsMargins(18, 14, 18, 14);
  layout->setSpacing(10);
  auto* text = new QLabel("Creating indices, please wait.", frame);
  text->setObjectName("LText");
  bar_ = new QProgressBar(frame);
  bar_->setObjectName("ProgressBar");
  bar_->setRange(0, 100);
  bar_->setValue(0);
  cancel_ = new QPushButton("Cancel", frame);
  cancel_->setObjectName("BCancel");
  connect(cancel_, &QPushButton::clicked, this, [this] { cancelled_ = true; });
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel_);
  layout->addWidget(text);
  layout->addWidget(bar_);
  layout->addLayout(row);
  setFixedWidth(340);
}

bool TCreateIdxForm::KeepGoing() {
  if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventsEveryMs) {
    QApplication::processEvents();
    sinceEvents_.restart();
  }
  return !cancelled_;
}

bool TCreateIdxForm::CreateIndices(TableStore& table) {
  cancelled_ = false;
  bar_->setValue(0);
  cancel_->setEnabled(true);
  if (QWidget* owner = parentWidget()) {
    const QRect area = owner->window()->geometry();
    adjustSize();
    move(area.center() - rect().center());
  }
  show();
  raise();
  repaint();
  QApplication::processEvents();
  sinceEvents_.invalidate();

  // Hides the window and stops the busy calls however the work ends.
  struct Finish {
    TCreateIdxForm& form;
    TableStore& table;
    ~Finish() {
      table.SetBusyHandler({});
      form.hide();
    }
  } finish{*this, table};
  table.SetBusyHandler([this] { return KeepGoing(); });
  return kestrova::CreateIndices(table, [this](int percent) {
    bar_->setValue(percent);
    emit progressed(percent);
    bar_->repaint();
    QApplication::processEvents();
    sinceEvents_.restart();
    if (cancelled_) cancel_->setEnabled(false);
    return !cancelled_;
  });
}

}  // namespace kestrova
