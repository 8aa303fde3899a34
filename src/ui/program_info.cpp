#include "ui/program_info.h"

#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

// Q_INIT_RESOURCE names a function of the global namespace.
static void InitKestrovaUiResources() {
  Q_INIT_RESOURCE(kestrova_ui);
}

namespace kestrova {

void InitUiResources() {
  static const bool done = (InitKestrovaUiResources(), true);
  (void)done;
}

QIcon ProgramIcon() {
  InitUiResources();
  return QIcon(QStringLiteral(":/kestrova/kestrova.svg"));
}

QIcon ToolIcon(const char* name) {
  InitUiResources();
  return QIcon(QStringLiteral(":/kestrova/") + QString::fromLatin1(name));
}

QString WebAddress() {
  return QStringLiteral(KESTROVA_WEB_ADDRESS);
}

QLabel* NewLinkLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("LinkLabel"));
  const QString address = WebAddress();
  label->setText(QStringLiteral("<a href=\"%1\" style=\"color: navy; text-decoration: "
                                "underline;\">%1</a>")
                     .arg(address.toHtmlEscaped()));
  label->setTextFormat(Qt::RichText);
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  label->setCursor(Qt::PointingHandCursor);
  label->setOpenExternalLinks(false);
  QObject::connect(label, &QLabel::linkActivated, label,
                   [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
  label->setVisible(!address.isEmpty());
  return label;
}

}  // namespace kestrova
