#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/program_info.h"

namespace kestrova {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QString::fromLatin1(kProgramName));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setMinimumSize(282, 181);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(14, 12, 14, 10);
  layout->setHorizontalSpacing(12);
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramIcon().pixmap(48, 48));
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  auto* name = new QLabel(QString::fromLatin1(kProgramName), this);
  QFont nameFont(QStringLiteral("Arial"));
  nameFont.setPixelSize(24);
  nameFont.setItalic(true);
  name->setFont(nameFont);
  layout->addWidget(name, 0, 1);
  auto* version = new QLabel(QString::fromLatin1(kAboutVersion), this);
  version->setObjectName(QStringLiteral("Version"));
  layout->addWidget(version, 1, 1);
  auto* text = new QLabel(
      QString::fromUtf8(kRightsNotice) + QStringLiteral("\n\n") + QString::fromLatin1(kDataNote),
      this);
  text->setObjectName(QStringLiteral("Comments"));
  text->setWordWrap(true);
  text->setFixedWidth(300);
  layout->addWidget(text, 2, 0, 1, 2);
  layout->addWidget(NewLinkLabel(this), 3, 0, 1, 2, Qt::AlignRight);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons, 4, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kestrova
