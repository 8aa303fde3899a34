#include "ui/direction_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "model/object_lists.h"
#include "ui/body_rows.h"
#include "ui/color_field.h"
#include "ui/dialog_buttons.h"

namespace kestrova {

namespace {

QComboBox* BodyBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  for (const char* text : kBodyRowTexts) box->addItem(QString::fromLatin1(text));
  box->setCurrentIndex(0);
  return box;
}

}  // namespace

TDirectionDlg::TDirectionDlg(TPrompter& prompter, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TDirectionDlg"));
  setWindowTitle(QStringLiteral("Define a line"));

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  cb_from_ = BodyBox("CBFrom", panel);
  cb_to_ = BodyBox("CBTo", panel);
  shape_ = new TColorField(prompter, panel);
  shape_->setObjectName(QStringLiteral("Shape"));
  shape_->setFixedSize(65, 60);
  auto* label1 = new QLabel(QStringLiteral("From object:"), panel);
  label1->setObjectName(QStringLiteral("Label1"));
  label1->setBuddy(cb_from_);
  auto* label2 = new QLabel(QStringLiteral("To object:"), panel);
  label2->setObjectName(QStringLiteral("Label2"));
  label2->setBuddy(cb_to_);
  auto* label3 = new QLabel(QStringLiteral("Color"), panel);
  label3->setObjectName(QStringLiteral("Label3"));

  auto* grid = new QGridLayout(panel);
  grid->addWidget(label1, 0, 0);
  grid->addWidget(cb_from_, 1, 0);
  grid->addWidget(label2, 2, 0);
  grid->addWidget(cb_to_, 3, 0);
  grid->addWidget(label3, 0, 1);
  grid->addWidget(shape_, 1, 1, 3, 1, Qt::AlignTop | Qt::AlignLeft);
  grid->setColumnStretch(0, 1);
  grid->setHorizontalSpacing(16);

  PanelAboveOkCancel(this, panel);
  setMinimumSize(232, 126);

  connect(cb_from_, &QComboBox::activated, this, &TDirectionDlg::CBFromChange);
  connect(cb_to_, &QComboBox::activated, this, &TDirectionDlg::CBToChange);
  connect(shape_, &TColorField::colorChosen, this, &TDirectionDlg::ShapeColorChosen);
}

void TDirectionDlg::SetLine(TDirection& line) {
  edited_line_ = &line;
  shape_->SetColor(line.Color);
  if (const int row = RowOfBody(line.FromId); row >= 0) cb_from_->setCurrentIndex(row);
  if (const int row = RowOfBody(line.ToId); row >= 0) cb_to_->setCurrentIndex(row);
}

void TDirectionDlg::CBFromChange(int row) {
  if (edited_line_ != nullptr && row >= 0) edited_line_->FromId = kBodyOfRow[size_t(row)];
}

void TDirectionDlg::CBToChange(int row) {
  if (edited_line_ != nullptr && row >= 0) edited_line_->ToId = kBodyOfRow[size_t(row)];
}

void TDirectionDlg::ShapeColorChosen(TColor color) {
  if (edited_line_ != nullptr) edited_line_->Color = color;
}

}  // namespace kestrova
