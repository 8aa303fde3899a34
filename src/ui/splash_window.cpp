#include "ui/splash_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "ui/program_info.h"

namespace kestrova {

namespace {

QLabel* NewText(QWidget* parent, const QString& text, int pixelSize) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPixelSize(pixelSize);
  label->setFont(font);
  label->setWordWrap(true);
  return label;
}

constexpr int kMaxExposeWaitMs = 3000;

// Ends a wait as soon as the window it watches is exposed.
class TExposureWatch : public QObject {
 public:
  explicit TExposureWatch(QEventLoop& loop) : loop_(loop) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
      loop_.quit();
    return false;
  }

 private:
  QEventLoop& loop_;
};

}  // namespace

TInfoBox::TInfoBox(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("InfoBox"));
  setFixedSize(284, 146);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setAutoFillBackground(true);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(10, 8, 10, 6);
  layout->setHorizontalSpacing(10);
  layout->setVerticalSpacing(2);
  auto* icon = new QLabel(this);
  icon->setPixmap(ProgramIcon().pixmap(32, 32));
  icon->setFixedSize(32, 32);
  layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
  QLabel* name = NewText(this, QString::fromLatin1(kProgramName), 24);
  QFont nameFont(QStringLiteral("Arial"));
  nameFont.setPixelSize(24);
  nameFont.setItalic(true);
  name->setFont(nameFont);
  layout->addWidget(name, 0, 1);
  layout->addWidget(NewText(this, QString::fromLatin1(kSplashVersion), 11), 1, 1);
  layout->addWidget(NewText(this, QString::fromUtf8(kRightsNotice), 9), 2, 0, 1, 2);
  layout->addWidget(NewText(this, QString::fromLatin1(kDataNote), 9), 3, 0, 1, 2);
  layout->addWidget(NewLinkLabel(this), 4, 0, 1, 2, Qt::AlignRight);
  layout->setRowStretch(3, 1);
}

void TInfoBox::ShowNow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
  show();
  // The start that follows keeps the event loop busy, for seconds over a large document. A
  // window manager maps the window some time after show(), and a window painted before it is
  // mapped shows nothing: the splash waits here until it is exposed (at most a few seconds, in
  // case no exposure ever comes), and is then painted and sent to the display.
  if (QWindow* window = windowHandle(); window && !window->isExposed()) {
    QEventLoop loop;
    TExposureWatch watch(loop);
    window->installEventFilter(&watch);
    QTimer::singleShot(kMaxExposeWaitMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    window->removeEventFilter(&watch);
  }
  repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QGuiApplication::sync();
}

}  // namespace kestrova
