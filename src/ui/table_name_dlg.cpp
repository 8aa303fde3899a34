#include "ui/table_name_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {

TTableNameDlg::TTableNameDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("TableNameDlg");
  setWindowTitle("New table");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel("Table name:", this);
  name_ = new QLineEdit(this);
  name_->setObjectName("EName");
  // The name becomes a file name with ".db" appended.
  name_->setMaxLength(200);
  label->setBuddy(name_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("BOk");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("BCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(label);
  layout->addWidget(name_);
  layout->addWidget(buttons);
  setMinimumWidth(300);
}

void TTableNameDlg::Prepare() {
  name_->clear();
  name_->setFocus();
}

QString TTableNameDlg::GetTableName() const {
  return name_->text().trimmed();
}

}  // namespace kestrova
