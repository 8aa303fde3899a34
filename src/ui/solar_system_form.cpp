#include "ui/solar_system_form.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "numerics/date_text.h"
#include "scene/solar_system.h"
#include "ui/objects_panel.h"
#include "ui/panel_parts.h"
#include "ui/program_info.h"
#include "ui/prompter.h"
#include "ui/scene_view.h"
#include "ui/time_panel.h"
#include "ui/view_panel.h"
#include "ui/window_places.h"

namespace kestrova {

namespace {

constexpr int kPanelWidth = 156;

// A tab page that scrolls when the window is lower than its controls.
QScrollArea* ScrollingPage(QWidget* content, const char* name) {
  auto* page = new QScrollArea;
  page->setObjectName(QString::fromLatin1(name));
  page->setWidget(content);
  page->setWidgetResizable(true);
  page->setFrameShape(QFrame::NoFrame);
  page->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Tab goes from the tabs straight to the first control; the page scrolls to the control
  // that takes the focus all the same.
  page->setFocusPolicy(Qt::NoFocus);
  return page;
}

}  // namespace

TSolarSystemForm::TSolarSystemForm(TSession& session, TStartOptions options)
    : session_(session),
      scene_(&session.Scene()),
      controller_(&session.Controller()),
      prompter_(&session.Prompter()),
      splash_(options.Splash) {
  setObjectName(QStringLiteral("SolarSystemForm"));
  controller_->SetDialogParent(this);
  setWindowTitle(QStringLiteral("Kestrova"));
  setWindowIcon(ProgramIcon());
  BuildActions();
  BuildWindow();
  session_.SetWindow(this);
  Start(options.Arguments);
}

TSolarSystemForm::~TSolarSystemForm() {
  qApp->removeEventFilter(this);
  session_.SetWindow(nullptr);
}

void TSolarSystemForm::BuildActions() {
  auto make = [this](const char* name, const char* icon, const QString& caption,
                     const QString& hint, const QKeySequence& key) {
    auto* action = new QAction(icon ? ToolIcon(icon) : QIcon(), caption, this);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    // Shown in the menu; the window itself runs the keys (see PreviewKey).
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    return action;
  };
  OpenAct = make("ActOpen", "open.svg", QStringLiteral("&Open file"), QStringLiteral("open file"),
                 QKeySequence(Qt::CTRL | Qt::Key_O));
  SaveAct = make("ActSave", "save.svg", QStringLiteral("&Save file"), QStringLiteral("save file"),
                 QKeySequence(Qt::CTRL | Qt::Key_S));
  PrintAct = make("ActPrint", "print.svg", QStringLiteral("&Print"),
                  QStringLiteral("print the current plot"), QKeySequence(Qt::CTRL | Qt::Key_P));
  SaveAsBitmapAct = make("ActSaveAsBitmap", "bitmap.svg", QStringLiteral("Save &as bitmap"),
                         QStringLiteral("save the current plot as a bitmap file"), {});
  SaveAnimationAct =
      make("ActSaveAnimation", "video.svg", QStringLiteral("Save animation as &video..."),
           QStringLiteral("save the animation from the shown date as a video file"),
           QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  AboutAct = make("ActAbout", "about.svg", QStringLiteral("A&bout"),
                  QStringLiteral("about this program"), {});
  ExitAct =
      make("ActExit", "exit.svg", QStringLiteral("E&xit"), QStringLiteral("exit program"), {});
  LoadTemplateAct =
      make("ActLoadTemplate", nullptr, QStringLiteral("Load &template file"),
           QStringLiteral("load template file (template.orb)"), QKeySequence(Qt::CTRL | Qt::Key_T));

  connect(OpenAct, &QAction::triggered, this, [this] { Guarded([this] { OpenAction(); }); });
  connect(SaveAct, &QAction::triggered, this, [this] { Guarded([this] { SaveAction(); }); });
  connect(LoadTemplateAct, &QAction::triggered, this,
          [this] { Guarded([this] { LoadTemplateAction(); }); });
  connect(ExitAct, &QAction::triggered, this, &QWidget::close);

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("PopupMenu"));
  popup_->addAction(OpenAct);
  popup_->addAction(SaveAct);
  popup_->addAction(PrintAct);
  popup_->addAction(SaveAsBitmapAct);
  popup_->addAction(SaveAnimationAct);
  popup_->addAction(LoadTemplateAct);
  popup_->addSeparator();
  popup_->addAction(AboutAct);
}

void TSolarSystemForm::BuildWindow() {
  resize(kMainWindowStart.Width, kMainWindowStart.Height);
  FitToScreen();
  setAcceptDrops(true);
  // Hints and the names of bodies under the mouse show also while a tool window (the monitor)
  // has the focus.
  setAttribute(Qt::WA_AlwaysShowToolTips);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  view_ = new TSceneView(*scene_, this);
  view_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  layout->addWidget(view_, 1);
  layout->addWidget(BuildPanel());
  TrackMouseEverywhere(this);
  // Application-wide, because the keys of the document actions work also in the monitor and
  // the description, which are windows of their own, and the window must see its keys before
  // whichever of its controls has the focus (a filter on this window alone sees neither).
  qApp->installEventFilter(this);

  connect(controller_, &TSceneController::dateChanged, this, [this] {
    ShowCaption();
    objects_panel_->EnableOtherObjects();
  });
  connect(view_panel_, &TViewPanel::updateControlsRequested, this,
          &TSolarSystemForm::UpdateControls);
  connect(objects_panel_, &TObjectsPanel::updateControlsRequested, this,
          &TSolarSystemForm::UpdateControls);
  connect(objects_panel_, &TObjectsPanel::showAllObjectsClicked, this,
          [this](bool pressed) { session_.PressShowAllObjects(pressed); });
  connect(objects_panel_, &TObjectsPanel::objectClicked, this,
          [this](const QString& name) { session_.SelectMonitorBody(name.toStdString()); });
  connect(view_, &TSceneView::wheelTurned, this, [this](int notches) {
    for (; notches > 0; --notches) view_panel_->ZoomIn();
    for (; notches < 0; ++notches) view_panel_->ZoomOut();
  });
  connect(view_, &TSceneView::dragged, this, [this](int dx, int dy) { view_panel_->Turn(dx, dy); });
  connect(view_, &TSceneView::bodyDoubleClicked, this,
          [this](const QString& name) { session_.SelectMonitorBody(name.toStdString()); });
}

QWidget* TSolarSystemForm::BuildPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("ControlPanel"));
  panel->setFixedWidth(kPanelWidth);
  // The panel is narrow: its controls use a small face of the desktop's font, and group
  // captions sit in the frame's top line, as in a classic tool panel, saving a row per group.
  panel->setStyleSheet(QStringLiteral(
      "QWidget { font-size: 11px; }"
      // Seven buttons share the narrow panel's width: no room for padding around them.
      "QToolBar QToolButton { padding: 1px 0; margin: 0; min-width: 18px; max-width: 18px; }"
      "QCheckBox, QRadioButton { spacing: 3px; min-height: 16px; max-height: 16px; }"
      "QTabBar::tab { padding: 3px 8px; margin-right: 1px; border: 1px solid palette(mid);"
      "  border-bottom: none; border-top-left-radius: 3px; border-top-right-radius: 3px;"
      "  background: palette(button); }"
      "QTabBar::tab:selected { background: palette(window); }"
      "QTabBar::tab:!selected { margin-top: 2px; color: palette(window-text); }"
      "QScrollBar:vertical { width: 10px; }"
      // A pressed toggle (unit, real time, pause, reverse) must show at a glance; the style's
      // own pressed face is a shade of grey on grey.
      "QToolButton:checked { background: palette(highlight); color: palette(highlighted-text);"
      "  border: 1px solid palette(dark); border-radius: 2px; }"
      "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 6px;"
      "  padding-top: 4px; }"
      "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
      "  left: 6px; padding: 0 2px; }"));
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  tool_bar_ = new QToolBar(panel);
  tool_bar_->setObjectName(QStringLiteral("ToolBar"));
  tool_bar_->setIconSize(QSize(16, 16));
  tool_bar_->setMovable(false);
  tool_bar_->setStyleSheet(QStringLiteral("QToolBar { spacing: 0; padding: 1px; border: 0; }"));
  for (QAction* a :
       {OpenAct, SaveAct, PrintAct, SaveAsBitmapAct, SaveAnimationAct, AboutAct, ExitAct})
    tool_bar_->addAction(a);
  layout->addWidget(tool_bar_);

  tabs_ = new QTabWidget(panel);
  tabs_->setObjectName(QStringLiteral("PageControl"));
  tabs_->setUsesScrollButtons(false);
  tabs_->setDocumentMode(true);
  time_panel_ = new TTimePanel(*controller_);
  view_panel_ = new TViewPanel(*controller_);
  objects_panel_ = new TObjectsPanel(*controller_);
  tabs_->addTab(ScrollingPage(time_panel_, "TSTime"), QStringLiteral("&Time"));
  tabs_->addTab(ScrollingPage(view_panel_, "TSView"), QStringLiteral("&View"));
  tabs_->addTab(ScrollingPage(objects_panel_, "TSObjects"), QStringLiteral("&Objects"));
  layout->addWidget(tabs_, 1);
  return panel;
}

void TSolarSystemForm::ShowCaption() {
  const TDateRec& d = controller_->DisplayDate();
  QString caption = QStringLiteral("Kestrova - ") + QString::fromStdString(DateText(d));
  if (AstronomicalYear(d) <= 0)
    caption += QStringLiteral(" (") + QString::fromStdString(LongDateText(d)) + QLatin1Char(')');
  caption += QStringLiteral(" - ") + QString::fromStdString(TimeText(d, 2)) + QStringLiteral(" UT");
  setWindowTitle(caption);
}

int TSolarSystemForm::Page() const {
  return tabs_->currentIndex();
}

void TSolarSystemForm::SetPage(int page) {
  if (page >= 0 && page < tabs_->count()) tabs_->setCurrentIndex(page);
}

void TSolarSystemForm::NextTab() {
  tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
}

void TSolarSystemForm::UpdateControls() {
  // 1-4 and 6-7: projection, grid, colours, rotation, what is shown, zoom, centre.
  view_panel_->UpdateControls();
  // 5. Windows and "Show all objects".
  objects_panel_->AllObjectsButton()->setEnabled(session_.DataFile().IsOpen());
  view_panel_->MonitorButton()->setChecked(monitor_window_ && monitor_window_->isVisible());
  view_panel_->DescriptionButton()->setChecked(description_window_ &&
                                               description_window_->isVisible());
  view_panel_->MonitorStayOnTop()->setChecked(
      monitor_window_ && monitor_window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  view_panel_->DescriptionStayOnTop()->setChecked(
      description_window_ && description_window_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  // 8. Time step, unit and real time.
  time_panel_->UpdateControls();
  // 9-12. Sun, planets, satellites, colours, the list of minor bodies.
  objects_panel_->UpdateControls();
  // 13.
  RefreshMonitor();
}

bool TSolarSystemForm::PreviewKey(const QKeyEvent& key, bool run, bool fromToolWindow) {
  const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
  std::function<void()> action;
  const int k = key.key();
  if (mods == Qt::ControlModifier) {
    switch (k) {
      case Qt::Key_O:
        action = [this] { OpenAct->trigger(); };
        break;
      case Qt::Key_S:
        action = [this] { SaveAct->trigger(); };
        break;
      case Qt::Key_P:
        action = [this] { PrintAct->trigger(); };
        break;
      case Qt::Key_T:
        action = [this] { LoadTemplateAct->trigger(); };
        break;
      default:
        break;
    }
  } else if (mods == (Qt::ControlModifier | Qt::ShiftModifier) && k == Qt::Key_A) {
    action = [this] { SaveAnimationAct->trigger(); };
  }
  // The arrows with Ctrl move the cursor by words in the description's text.
  if (fromToolWindow || action) {
    if (action && run) {
      // The dialogs belong to this window, which the desktop activates when they close; the
      // user goes on in the tool window where the key was pressed.
      const QPointer<QWidget> from = fromToolWindow ? QApplication::activeWindow() : nullptr;
      action();
      if (from && from->isVisible()) from->activateWindow();
    }
    return static_cast<bool>(action);
  }
  if (mods == Qt::ControlModifier) {
    switch (k) {
      case Qt::Key_Right:
        action = [this] { view_panel_->RotateZ(1); };
        break;
      case Qt::Key_Left:
        action = [this] { view_panel_->RotateZ(-1); };
        break;
      case Qt::Key_Up:
        action = [this] { view_panel_->RotateX(1); };
        break;
      case Qt::Key_Down:
        action = [this] { view_panel_->RotateX(-1); };
        break;
      default:
        break;
    }
  } else if (mods == Qt::AltModifier) {
    if (k == Qt::Key_Up) action = [this] { view_panel_->ZoomIn(); };
    if (k == Qt::Key_Down) action = [this] { view_panel_->ZoomOut(); };
  } else if (mods == Qt::ShiftModifier && (k == Qt::Key_Backtab || k == Qt::Key_Tab)) {
    action = [this] { NextTab(); };
  }
  if (!action) return false;
  if (run) action();
  return true;
}

bool TSolarSystemForm::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::MouseMove)
    return QWidget::eventFilter(watched, event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr) return QWidget::eventFilter(watched, event);
  // The document actions' keys work also while the description or the monitor has the focus.
  const bool fromToolWindow =
      widget->window() == description_window_ || widget->window() == monitor_window_;
  if (widget->window() != this && !(fromToolWindow && type != QEvent::MouseMove))
    return QWidget::eventFilter(watched, event);
  if (type == QEvent::MouseMove) {
    if (static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton) KeepDrawingAreaSquare();
    return QWidget::eventFilter(watched, event);
  }
  // The window sees its keys before its controls: a control that would take one for itself
  // (the arrows with Ctrl in a text field) is told that the window takes it.
  auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::ShortcutOverride) {
    if (!PreviewKey(*key, false, fromToolWindow)) return QWidget::eventFilter(watched, event);
    event->accept();
    return true;
  }
  if (PreviewKey(*key, true, fromToolWindow)) return true;
  return QWidget::eventFilter(watched, event);
}

void TSolarSystemForm::KeepDrawingAreaSquare() {
  // A maximized or full-screen window belongs to the window manager.
  if (isMaximized() || isFullScreen() || isMinimized()) return;
  const QSize client = size();
  QSize wanted = client;
  if (client.height() + kPanelWidth < client.width()) {
    wanted.setWidth(client.height() + kPanelWidth);
  } else {
    wanted.setHeight(client.width() - kPanelWidth);
  }
  wanted = wanted.expandedTo(minimumSize());
  if (wanted != client) resize(wanted);
}

void TSolarSystemForm::FitToScreen() {
  FitMinimumSize(*this, {kMainWindowMinWidth, kMainWindowMinHeight});
}

void TSolarSystemForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (splash_) splash_->hide();
  if (event->spontaneous()) return;
  // Now that the window has its screen and, mostly, its frame; and again on another screen.
  FitToScreen();
  if (QWindow* window = windowHandle())
    connect(window, &QWindow::screenChanged, this, &TSolarSystemForm::FitToScreen,
            Qt::UniqueConnection);
  // The tool windows that the start-up document shows come up once this window is on the
  // screen: shown before it, they would not belong to it and would stay under it.
  QTimer::singleShot(0, this, [this] {
    if (!isVisible()) return;
    if (monitor_window_ && State().MonitorVisible) monitor_window_->show();
    if (description_window_ && State().DescriptionVisible) description_window_->show();
    UpdateControls();
  });
  UpdateControls();
}

QRect TSolarSystemForm::NormalPlace() const {
  if (!isMaximized() && !isFullScreen()) return QRect(pos(), size());
  const QRect normal = normalGeometry();
  return QRect(normal.topLeft() - normal_frame_offset_, normal.size());
}

void TSolarSystemForm::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // The frame's width and caption bar, as they are around the normal window (a maximized
  // window may have none).
  if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)))
    normal_frame_offset_ = geometry().topLeft() - pos();
}

void TSolarSystemForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && splash_) splash_->hide();
}

void TSolarSystemForm::contextMenuEvent(QContextMenuEvent* event) {
  popup_->popup(event->globalPos());
}

namespace {

// The orbit document a drop brings: only the first file counts, its extension compared with
// case, and a folder whose name ends so is no document. Empty for anything else.
QString DroppedDocument(const QList<QUrl>& urls) {
  if (urls.isEmpty() || !urls.front().isLocalFile()) return {};
  const QString path = urls.front().toLocalFile();
  if (!path.endsWith(QStringLiteral(".orb")) || !QFileInfo(path).isFile()) return {};
  return path;
}

}  // namespace

void TSolarSystemForm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedDocument(event->mimeData()->urls()).isEmpty()) event->acceptProposedAction();
}

void TSolarSystemForm::dropEvent(QDropEvent* event) {
  event->acceptProposedAction();
  const QList<QUrl> urls = event->mimeData()->urls();
  Guarded([this, &urls] { OpenDroppedFiles(urls); });
}

void TSolarSystemForm::OpenDroppedFiles(const QList<QUrl>& urls) {
  const QString path = DroppedDocument(urls);
  if (!path.isEmpty()) OpenDocumentAt(path);
}

void TSolarSystemForm::closeEvent(QCloseEvent* event) {
  controller_->AnimationTimer().stop();
  controller_->RealTimeTimer().stop();
  Guarded([this] { SaveSettings(); });
  Guarded([this] { session_.SaveLastDocument(); });
  for (QWidget* w : {monitor_window_.data(), description_window_.data()})
    if (w) w->hide();
  event->accept();
  emit closing();
}

}  // namespace kestrova
