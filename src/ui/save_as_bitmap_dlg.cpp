#include "ui/save_as_bitmap_dlg.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include "scene/picture_names.h"
#include "scene/picture_render.h"
#include "ui/dialog_buttons.h"
#include "ui/prompter.h"

namespace kestrova {

namespace {

constexpr int kSizeStep = 50;

std::string Utf8(const QString& s) {
  return s.toStdString();
}
QString FromUtf8(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

TSaveAsBitmapDlg::TSaveAsBitmapDlg(TPrompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
  setObjectName(QStringLiteral("TSaveAsBitmapDlg"));
  setWindowTitle(QStringLiteral("Save as graphic file"));

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  auto* nameLabel = new QLabel(QStringLiteral("File name:"), panel);
  file_name_edit_ = new QLineEdit(panel);
  file_name_edit_->setObjectName(QStringLiteral("FileNameEdit"));
  file_name_edit_->setMinimumWidth(260);
  nameLabel->setBuddy(file_name_edit_);
  sb_file_name_ = new QToolButton(panel);
  sb_file_name_->setObjectName(QStringLiteral("SBFileName"));
  sb_file_name_->setText(QStringLiteral("..."));
  folder_label_ = MakeFolderLabel(panel);
  auto* sizeLabel = new QLabel(QStringLiteral("Graphic size (square):"), panel);
  se_size_ = new QSpinBox(panel);
  se_size_->setObjectName(QStringLiteral("SESize"));
  se_size_->setRange(kMinPictureSize, kMaxPictureSize);
  se_size_->setSingleStep(kSizeStep);
  se_size_->setValue(500);
  // A size outside the range is not taken; the tip says why before the field reverts.
  se_size_->setToolTip(
      QStringLiteral("edge length from %1 to %2 pixels").arg(kMinPictureSize).arg(kMaxPictureSize));
  sizeLabel->setBuddy(se_size_);
  auto* pixels = new QLabel(QStringLiteral("pixels"), panel);

  auto* grid = new QGridLayout(panel);
  grid->addWidget(nameLabel, 0, 0, 1, 3);
  grid->addWidget(file_name_edit_, 1, 0, 1, 2);
  grid->addWidget(sb_file_name_, 1, 2);
  grid->addWidget(folder_label_, 2, 0, 1, 3);
  grid->addWidget(sizeLabel, 3, 0);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(se_size_);
  sizeRow->addWidget(pixels);
  sizeRow->addStretch(1);
  grid->addLayout(sizeRow, 3, 1, 1, 2);
  grid->setColumnStretch(1, 1);

  ok_btn_ = PanelAboveOkCancel(this, panel).Ok;

  connect(file_name_edit_, &QLineEdit::textChanged, this, &TSaveAsBitmapDlg::FileNameEditChange);
  connect(sb_file_name_, &QToolButton::clicked, this, &TSaveAsBitmapDlg::SBFileNameClick);
  FileNameEditChange();
}

void TSaveAsBitmapDlg::SetFileName(const QString& name) {
  file_name_ = name;
  folder_ = FromUtf8(FolderPart(Utf8(name)));
  file_name_edit_->setText(FromUtf8(ShownPictureName(Utf8(name))));
  FileNameEditChange();
}

void TSaveAsBitmapDlg::SetGraphicSize(int32_t size) {
  se_size_->setValue(size);
}

int32_t TSaveAsBitmapDlg::GraphicSize() const {
  return se_size_->value();
}

QString TSaveAsBitmapDlg::GetFileName() {
  const QString result = FromUtf8(SaveAsFileName(Utf8(file_name_edit_->text()), Utf8(folder_)));
  folder_ = FromUtf8(FolderPart(Utf8(result)));
  file_name_ = result;
  return result;
}

void TSaveAsBitmapDlg::SBFileNameClick() {
  TFileDialogOptions options;
  options.Title = QStringLiteral("Save as graphic file");
  // Opens on what the edit says now, typed or preset.
  const std::string target = SaveAsFileName(Utf8(file_name_edit_->text()), Utf8(folder_));
  options.Folder = FromUtf8(FolderPart(target));
  options.FileName = FromUtf8(FileNamePart(target));
  options.Filter = QStringLiteral(
      "portable network graphics (PNG) (*.png);;bitmap graphics (BMP) (*.bmp);;"
      "scalable vector graphics (SVG) (*.svg)");
  options.DefaultSuffix = QStringLiteral("png");
  const QString chosen = prompter_.SaveFileName(this, options);
  if (!chosen.isEmpty()) SetFileName(chosen);
}

void TSaveAsBitmapDlg::FileNameEditChange() {
  ok_btn_->setEnabled(!file_name_edit_->text().trimmed().isEmpty());
  ShowFolder(folder_label_,
             FromUtf8(FolderPart(SaveAsFileName(Utf8(file_name_edit_->text()), Utf8(folder_)))));
}

}  // namespace kestrova
