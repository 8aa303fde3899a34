#include "ui/monitor_form.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>

#include "documents/window_geometry.h"
#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "ui/scene_controller.h"

namespace kestrova {

namespace {

constexpr int kClientWidth = 292;
// The frame of a tool window: the layouts' heights are outer heights.
constexpr int kFrameHeight = 22;
constexpr int kGridTop = 29;
// A row is 16 pixels of text and one of grid line.
constexpr int kRowPitch = 17;
constexpr int kCaptionWidth = 200;
constexpr int kValueWidth = 87;
constexpr int kIndentRole = Qt::UserRole + 1;
constexpr int kIndentStep = 12;
const QColor kNavy(0x00, 0x00, 0x80);

// Every caption a row can have.
QStringList AllCaptions() {
  QStringList all = {QStringLiteral("heliocentric distance [1000 km]"),
                     QStringLiteral("distance from centered object [1000 km]"),
                     QStringLiteral("mean orbital period (retrograde)")};
  for (TMonitorLayout layout : {TMonitorLayout::Planet, TMonitorLayout::Satellite,
                                TMonitorLayout::Moon, TMonitorLayout::MinorBody}) {
    for (const QString& caption : MonitorCaptions(layout)) all << caption;
  }
  return all;
}

// The window's font: Arial (or the face the system puts in its place) of 8 points, made a
// little smaller where that face would clip the longest caption in its 200-pixel column.
QFont MonitorFont(const QWidget& grid) {
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(8);
  // The text margins of a cell, as the style lays an item out.
  const int margins =
      2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1);
  const QStringList captions = AllCaptions();
  auto fits = [&] {
    const QFontMetrics metrics(font);
    for (const QString& caption : captions) {
      if (metrics.horizontalAdvance(caption) + margins > kCaptionWidth) return false;
    }
    return true;
  };
  while (!fits() && font.pointSizeF() > 6) font.setPointSizeF(font.pointSizeF() - 0.25);
  return font;
}

// Entries of the object box stand in by their indentation in the dropped list.
class TIndentDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->rect.adjust(index.data(kIndentRole).toInt() * kIndentStep, 0, 0, 0);
  }
};

// The up and down keys drop the list of the object box.
class TDropOnArrows final : public QObject {
 public:
  explicit TDropOnArrows(QComboBox* box) : QObject(box), box_(box) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if ((key == Qt::Key_Up || key == Qt::Key_Down) && !box_->view()->isVisible()) {
        box_->showPopup();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QComboBox* box_;
};

}  // namespace

TMonitorForm::TMonitorForm(TSceneController& controller, QWidget* parent)
    : TToolWindow(parent, Qt::WindowStaysOnTopHint), controller_(controller) {
  setObjectName(QStringLiteral("MonitorForm"));
  setWindowTitle(QStringLiteral("Monitor"));
  setFont(MonitorFont(*this));

  panel_ = new QWidget(this);
  QWidget* panel = panel_;
  panel->setObjectName(QStringLiteral("Panel"));

  cb_object_ = new QComboBox(panel);
  cb_object_->setObjectName(QStringLiteral("CBObject"));
  cb_object_->setGeometry(1, 3, 240, 22);
  cb_object_->setEditable(true);
  cb_object_->setInsertPolicy(QComboBox::NoInsert);
  cb_object_->setMaxVisibleItems(8);
  cb_object_->completer()->setCompletionMode(QCompleter::InlineCompletion);
  cb_object_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
  cb_object_->setItemDelegate(new TIndentDelegate(cb_object_));
  QFont boxFont = cb_object_->font();
  boxFont.setBold(true);
  cb_object_->setFont(boxFont);
  QPalette boxPalette = cb_object_->palette();
  boxPalette.setColor(QPalette::Text, kNavy);
  cb_object_->setPalette(boxPalette);
  cb_object_->view()->setPalette(boxPalette);
  for (const TMonitorEntry& entry : kMonitorEntries) {
    cb_object_->addItem(QString::fromLatin1(entry.Text));
    cb_object_->setItemData(cb_object_->count() - 1, entry.Indent, kIndentRole);
  }
  cb_object_->setCurrentIndex(kMonitorEarthEntry);
  cb_object_->installEventFilter(new TDropOnArrows(cb_object_));
  connect(cb_object_, &QComboBox::activated, this, &TMonitorForm::CBObjectChange);
  // A typed text that names no entry gives way to the chosen entry again.
  connect(cb_object_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    if (cb_object_->currentText() != selected_name_) cb_object_->setEditText(selected_name_);
  });

  sb_show_object_ = new QToolButton(panel);
  sb_show_object_->setObjectName(QStringLiteral("SBShowObject"));
  sb_show_object_->setGeometry(248, 3, 39, 22);
  sb_show_object_->setText(QStringLiteral("Show"));
  sb_show_object_->setToolTip(QStringLiteral("show object"));
  connect(sb_show_object_, &QToolButton::clicked, this, &TMonitorForm::SBShowObjectClick);

  string_grid_ = new QTableWidget(panel);
  string_grid_->setObjectName(QStringLiteral("StringGrid"));
  string_grid_->setColumnCount(2);
  string_grid_->horizontalHeader()->hide();
  string_grid_->verticalHeader()->hide();
  string_grid_->verticalHeader()->setMinimumSectionSize(1);
  string_grid_->verticalHeader()->setDefaultSectionSize(kRowPitch);
  string_grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  string_grid_->horizontalHeader()->setMinimumSectionSize(1);
  string_grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  string_grid_->setColumnWidth(0, kCaptionWidth);
  string_grid_->setColumnWidth(1, kValueWidth);
  string_grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  string_grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  string_grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  string_grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  string_grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  string_grid_->setWordWrap(false);
  string_grid_->setTextElideMode(Qt::ElideNone);
  string_grid_->setShowGrid(true);
  QPalette gridPalette = string_grid_->palette();
  gridPalette.setColor(QPalette::Text, kNavy);
  string_grid_->setPalette(gridPalette);

  SetRowLayout(TMonitorLayout::Planet);
  move(kMonitorStartLeft, kMonitorStartTop);
}

void TMonitorForm::AssignScene(const TSolarSystem* scene) {
  scene_ = scene;
  if (!scene_) {
    shown_object_ = nullptr;
    return;
  }
  // The list is built again only when the picked bodies changed, and in one go: with many
  // thousands of bodies, item by item took seconds at every change of the view.
  const TPickedKey key{scene_, scene_->AsteroidsList().Changes(), scene_->CanShowObjects()};
  if (key != picked_key_) {
    QStringList picked;
    if (key.CanShow) {
      picked.reserve(qsizetype(scene_->AsteroidsList().Count()));
      for (const auto& body : scene_->AsteroidsList().Items())
        picked << QString::fromStdString(body->Name);
    }
    const QSignalBlocker block(cb_object_);
    const int extra = cb_object_->count() - kMonitorFixedEntries;
    if (extra > 0) cb_object_->model()->removeRows(kMonitorFixedEntries, extra);
    cb_object_->addItems(picked);
    picked_key_ = key;
  }
  SetRowLayout(row_layout_);
  SelectObject(selected_name_);
}

void TMonitorForm::SelectObject(const QString& name) {
  const int found = cb_object_->findText(name, Qt::MatchFixedString);
  SelectEntry(found >= 0 ? found : kMonitorEarthEntry);
}

void TMonitorForm::SelectEntry(int index) {
  const QString name = cb_object_->itemText(index);
  {
    const QSignalBlocker block(cb_object_);
    cb_object_->setCurrentIndex(index);
    cb_object_->setEditText(name);
  }
  shown_object_ = scene_ ? MonitorEntryBody(*scene_, index) : nullptr;
  const bool changed = name != selected_name_;
  selected_name_ = name;
  ShowValues();
  if (changed) emit selectedNameChanged(selected_name_);
}

void TMonitorForm::CBObjectChange(int index) {
  if (index < 0) return;
  SelectEntry(index);
}

void TMonitorForm::SetRowLayout(TMonitorLayout k) {
  row_layout_ = k;
  const TMonitorLayoutSize layout = MonitorLayoutSize(k);
  const std::vector<QString> captions = MonitorCaptions(k);
  string_grid_->setRowCount(layout.Rows);
  for (int row = 0; row < layout.Rows; ++row) {
    for (int column = 0; column < 2; ++column) {
      if (!string_grid_->item(row, column)) {
        string_grid_->setItem(row, column, new QTableWidgetItem);
      }
    }
    string_grid_->item(row, 0)->setText(captions[size_t(row)]);
  }
  string_grid_->setGeometry(1, kGridTop,
                            kCaptionWidth + kValueWidth + 2 * string_grid_->frameWidth(),
                            layout.Rows * kRowPitch + 2 * string_grid_->frameWidth());
  setFixedSize(kClientWidth, layout.WindowHeight - kFrameHeight);
  panel_->resize(size());
}

void TMonitorForm::ShowValues() {
  if (!scene_ || !shown_object_) return;
  const std::optional<TMonitorTable> table =
      MonitorValues(*scene_, *shown_object_, QLocale().decimalPoint());
  if (!table) return;
  SetRowLayout(table->Layout);
  for (size_t row = 0; row < table->Rows.size(); ++row) {
    string_grid_->item(int(row), 0)->setText(table->Rows[row].Caption);
    string_grid_->item(int(row), 1)->setText(table->Rows[row].Value);
  }
}

void TMonitorForm::SBShowObjectClick() {
  if (!scene_) return;
  // The shown body may have left the scene since the last fill (a document replaces the
  // bodies); then the box is rebuilt and the chosen name looked up again.
  if (!SceneHoldsBody(*scene_, shown_object_)) AssignScene(scene_);
  if (!shown_object_) return;
  const std::optional<TMonitorShowTarget> target = MonitorShowTarget(*shown_object_);
  if (!target) return;
  controller_.CenterAndZoom(target->CenterObject, target->Dim);
  // The distances from the centre and the elongation follow the new centre.
  ShowValues();
}

}  // namespace kestrova
