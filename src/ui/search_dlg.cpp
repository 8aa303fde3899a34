#include "ui/search_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {

TSearchDlg::TSearchDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("SearchDlg");
  setWindowTitle("Search name");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel("Name to search:", this);
  name_ = new QLineEdit(this);
  name_->setObjectName("EName");
  // Names of the data files hold at most 32 characters.
  name_->setMaxLength(32);
  label->setBuddy(name_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("BOk");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("BCancel");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(label);
  layout->addWidget(name_);
  layout->addWidget(buttons);
  setMinimumWidth(280);
}

void TSearchDlg::Prepare() {
  name_->clear();
  name_->setFocus();
}

QString TSearchDlg::GetSearchName() const {
  return name_->text();
}

}  // namespace kestrova
