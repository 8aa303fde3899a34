#include "ui/name_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/dialog_buttons.h"

namespace kestrova {

TNameDlg::TNameDlg(const QString& objectName, const QString& caption, const QString& label,
                   int maxLength, QWidget* parent)
    : QDialog(parent) {
  setObjectName(objectName);
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(label, this);
  name_ = new QLineEdit(this);
  name_->setObjectName("EName");
  name_->setMaxLength(maxLength);
  text->setBuddy(name_);
  const TOkCancel buttons =
      MakeOkCancel(this, {}, QStringLiteral("BOk"), QStringLiteral("BCancel"));
  layout->addWidget(text);
  layout->addWidget(name_);
  layout->addWidget(buttons.Box);
  setMinimumWidth(300);
}

void TNameDlg::Prepare() {
  name_->clear();
  name_->setFocus();
}

}  // namespace kestrova
