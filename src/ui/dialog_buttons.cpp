#include "ui/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {

TOkCancel MakeOkCancel(QDialog* dialog, std::function<void()> onOk, const QString& okName,
                       const QString& cancelName) {
  auto* box = new QDialogButtonBox(dialog);
  QPushButton* ok = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(okName);
  ok->setDefault(true);
  QPushButton* cancel = box->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  cancel->setObjectName(cancelName);
  QObject::connect(box, &QDialogButtonBox::accepted, dialog, [dialog, onOk = std::move(onOk)] {
    if (onOk) onOk();
    dialog->accept();
  });
  QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return {box, ok, cancel};
}

TOkCancel PanelAboveOkCancel(QDialog* dialog, QWidget* panel, std::function<void()> onOk) {
  const TOkCancel buttons = MakeOkCancel(dialog, std::move(onOk));
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(panel, 1);
  layout->addWidget(buttons.Box);
  return buttons;
}

QLabel* MakeFolderLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("FolderLabel"));
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // A long folder would widen the dialog; its tool tip is whole.
  label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  return label;
}

void ShowFolder(QLabel* label, QString folder) {
  // A name without a folder is written relative to the program's working folder.
  if (QDir::isRelativePath(folder)) {
    folder = QDir::current().absoluteFilePath(folder);
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  }
  label->setText(QStringLiteral("Folder: ") + QDir::toNativeSeparators(folder));
  label->setToolTip(label->text());
}

}  // namespace kestrova
