#include "ui/save_animation_dlg.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>
#include <cmath>

#include "numerics/date_text.h"
#include "numerics/errors.h"
#include "scene/picture_names.h"
#include "scene/picture_render.h"
#include "ui/dialog_buttons.h"
#include "ui/prompter.h"
#include "video/video_encoder.h"

namespace kestrova {

namespace {

constexpr TTimeUnit kUnits[] = {TTimeUnit::Minute, TTimeUnit::Hour, TTimeUnit::Day,
                                TTimeUnit::SiderealYear, TTimeUnit::TropicalYear};
constexpr TVideoType kTypes[] = {TVideoType::WebM, TVideoType::Mp4, TVideoType::WebP,
                                 TVideoType::Gif};
const char* const kTypeNames[] = {"WebM video (VP9)", "MP4 video (H.264)", "animated WebP",
                                  "animated GIF"};
const char* const kSchemeNames[] = {"black on white", "white on black", "the window's colours",
                                    "the window's colours on white"};

QString DateTimeText(const TDateRec& date) {
  return QString::fromStdString(DateText(date) + " " + TimeText(date, 0) + " UT");
}

}  // namespace

TSaveAnimationDlg::TSaveAnimationDlg(TPrompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
  setObjectName(QStringLiteral("TSaveAnimationDlg"));
  setWindowTitle(QStringLiteral("Save animation as video"));

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  const auto named = [](QWidget* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
  };
  start_label_ = new QLabel(panel);
  named(start_label_, "StartDateLabel");
  step_edit_ = new QLineEdit(panel);
  named(step_edit_, "StepEdit");
  unit_box_ = new QComboBox(panel);
  named(unit_box_, "CBUnit");
  for (const TTimeUnit unit : kUnits)
    unit_box_->addItem(QString::fromStdString(UnitWord(unit)), int(unit));
  frames_box_ = new QSpinBox(panel);
  named(frames_box_, "SEFrames");
  frames_box_->setRange(1, 100000);
  end_label_ = new QLabel(panel);
  named(end_label_, "EndDateLabel");
  end_edit_ = new QLineEdit(panel);
  named(end_edit_, "EEndDate");
  end_edit_->setPlaceholderText(QStringLiteral("or type the last date"));
  end_edit_->setToolTip(
      QStringLiteral("the last frame's date (day.month.year): the number of "
                     "frames follows from the step"));
  fps_box_ = new QSpinBox(panel);
  named(fps_box_, "SEFps");
  fps_box_->setRange(1, 100);
  size_box_ = new QSpinBox(panel);
  named(size_box_, "SESize");
  size_box_->setRange(kMinPictureSize, kMaxPictureSize);
  size_box_->setSingleStep(50);
  scheme_box_ = new QComboBox(panel);
  named(scheme_box_, "CBScheme");
  for (const char* name : kSchemeNames) scheme_box_->addItem(QString::fromLatin1(name));
  file_name_edit_ = new QLineEdit(panel);
  named(file_name_edit_, "FileNameEdit");
  file_name_edit_->setMinimumWidth(260);
  sb_file_name_ = new QToolButton(panel);
  named(sb_file_name_, "SBFileName");
  sb_file_name_->setText(QStringLiteral("..."));
  folder_label_ = MakeFolderLabel(panel);
  type_box_ = new QComboBox(panel);
  named(type_box_, "CBType");
  for (const char* name : kTypeNames) type_box_->addItem(QString::fromLatin1(name));

  auto* grid = new QGridLayout(panel);
  int row = 0;
  const auto addRow = [&](const QString& caption, QWidget* field, QWidget* after = nullptr) {
    auto* label = new QLabel(caption, panel);
    label->setBuddy(field);
    grid->addWidget(label, row, 0);
    if (after) {
      auto* line = new QHBoxLayout;
      line->addWidget(field, 1);
      line->addWidget(after);
      grid->addLayout(line, row, 1);
    } else {
      grid->addWidget(field, row, 1);
    }
    ++row;
  };
  addRow(QStringLiteral("First frame:"), start_label_);
  addRow(QStringLiteral("&Step:"), step_edit_, unit_box_);
  addRow(QStringLiteral("&Frames:"), frames_box_, end_label_);
  addRow(QStringLiteral("&Last date:"), end_edit_);
  addRow(QStringLiteral("Frames per &second:"), fps_box_);
  addRow(QStringLiteral("Picture si&ze (square, pixels):"), size_box_);
  addRow(QStringLiteral("&Colours:"), scheme_box_);
  addRow(QStringLiteral("File &name:"), file_name_edit_, sb_file_name_);
  grid->addWidget(folder_label_, row++, 1);
  addRow(QStringLiteral("&Type:"), type_box_);
  grid->setColumnStretch(1, 1);

  ok_btn_ = PanelAboveOkCancel(this, panel).Ok;

  connect(step_edit_, &QLineEdit::textChanged, this, &TSaveAnimationDlg::FieldsChanged);
  connect(unit_box_, &QComboBox::currentIndexChanged, this, &TSaveAnimationDlg::FieldsChanged);
  connect(frames_box_, &QSpinBox::valueChanged, this, &TSaveAnimationDlg::FieldsChanged);
  connect(file_name_edit_, &QLineEdit::textChanged, this, &TSaveAnimationDlg::FieldsChanged);
  connect(type_box_, &QComboBox::activated, this, &TSaveAnimationDlg::TypeChosen);
  connect(sb_file_name_, &QToolButton::clicked, this, &TSaveAnimationDlg::SBFileNameClick);
  connect(end_edit_, &QLineEdit::editingFinished, this, &TSaveAnimationDlg::EndDateTyped);
  Load({});
}

void TSaveAnimationDlg::Load(const TAnimationSettings& settings) {
  start_ = settings.Start;
  start_label_->setText(DateTimeText(start_));
  step_edit_->setText(QString::fromStdString(FormatGeneral(settings.Step)));
  const int unit = unit_box_->findData(int(settings.Unit));
  unit_box_->setCurrentIndex(unit >= 0 ? unit : 2);
  frames_box_->setValue(settings.Frames);
  fps_box_->setValue(settings.Fps);
  size_box_->setValue(settings.Size);
  scheme_box_->setCurrentIndex(settings.Scheme < 4 ? settings.Scheme : 2);
  folder_ = QString::fromStdString(FolderPart(settings.FileName.toStdString()));
  file_name_edit_->setText(QString::fromStdString(FileNamePart(settings.FileName.toStdString())));
  const std::optional<TVideoType> type = VideoTypeOf(settings.FileName.toStdString());
  type_box_->setCurrentIndex(type ? int(*type) : 0);
  FieldsChanged();
}

QString TSaveAnimationDlg::FileName() const {
  std::string name = file_name_edit_->text().trimmed().toStdString();
  if (!VideoTypeOf(name)) name += VideoExtension(kTypes[type_box_->currentIndex()]);
  if (FolderPart(name).empty()) name = folder_.toStdString() + name;
  return QString::fromStdString(name);
}

TAnimationSettings TSaveAnimationDlg::Apply() const {
  TAnimationSettings s;
  s.Start = start_;
  s.Step = ReadDecimal(step_edit_->text().toStdString()).value_or(0);
  s.Unit = TTimeUnit(unit_box_->currentData().toInt());
  s.Frames = frames_box_->value();
  s.Fps = fps_box_->value();
  s.Size = size_box_->value();
  s.Scheme = uint8_t(scheme_box_->currentIndex());
  s.FileName = FileName();
  return s;
}

std::optional<TDateRec> TSaveAnimationDlg::EndDate() const {
  const std::optional<Extended> step = ReadDecimal(step_edit_->text().toStdString());
  if (!step) return {};
  return StepDate(start_, *step * (frames_box_->value() - 1),
                  TTimeUnit(unit_box_->currentData().toInt()), true);
}

void TSaveAnimationDlg::FieldsChanged() {
  const std::optional<TDateRec> end = EndDate();
  end_label_->setText(end ? QStringLiteral("last: ") + DateTimeText(*end)
                          : QStringLiteral("no step or last date out of range"));
  // A typed name with a video extension shows its type.
  if (const auto type = VideoTypeOf(file_name_edit_->text().trimmed().toStdString()))
    type_box_->setCurrentIndex(int(*type));
  ok_btn_->setEnabled(end.has_value() && !file_name_edit_->text().trimmed().isEmpty());
  ShowFolder(folder_label_, QString::fromStdString(FolderPart(FileName().toStdString())));
}

void TSaveAnimationDlg::EndDateTyped() {
  const std::optional<Extended> step = ReadDecimal(step_edit_->text().toStdString());
  const std::optional<Extended> unitDays = UnitDays(TTimeUnit(unit_box_->currentData().toInt()));
  if (!step || !unitDays || *step == 0) return;
  TDateRec end = start_;
  try {
    ParseDate(end_edit_->text().trimmed().toStdString(), end);
  } catch (const EKestrovaError&) {
    return;  // the field keeps the text; the frames stay as they were
  }
  // A date is a day: the last frame is the last one that day, at the first frame's time.
  const Extended span = (DateToJD(end) - DateToJD(start_)) / (*step * *unitDays);
  if (span < 0) return;
  const Extended frames = std::floor(span + 1e-9L) + 1;
  frames_box_->setValue(int(std::min<Extended>(frames, frames_box_->maximum())));
}

void TSaveAnimationDlg::TypeChosen() {
  // The name follows the chosen type: its video extension is replaced, another one kept.
  std::string name = file_name_edit_->text().trimmed().toStdString();
  if (VideoTypeOf(name)) name = name.substr(0, name.size() - FileExtension(name).size());
  file_name_edit_->setText(
      QString::fromStdString(name + VideoExtension(kTypes[type_box_->currentIndex()])));
}

void TSaveAnimationDlg::SBFileNameClick() {
  TFileDialogOptions options;
  options.Title = QStringLiteral("Save animation as video");
  const std::string target = FileName().toStdString();
  options.Folder = QString::fromStdString(FolderPart(target));
  options.FileName = QString::fromStdString(FileNamePart(target));
  options.Filter = QStringLiteral(
      "WebM video (*.webm);;MP4 video (*.mp4);;animated WebP (*.webp);;animated GIF (*.gif)");
  options.DefaultSuffix =
      QString::fromStdString(VideoExtension(kTypes[type_box_->currentIndex()]).substr(1));
  const QString chosen = prompter_.SaveFileName(this, options);
  if (chosen.isEmpty()) return;
  folder_ = QString::fromStdString(FolderPart(chosen.toStdString()));
  file_name_edit_->setText(QString::fromStdString(FileNamePart(chosen.toStdString())));
  FieldsChanged();
}

}  // namespace kestrova
