#include "ui/directions_dlg.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "model/body_data_table.h"
#include "scene/qpainter_surface.h"
#include "ui/dialog_buttons.h"
#include "ui/direction_dlg.h"
#include "ui/prompter.h"

namespace kestrova {

namespace {

constexpr int kColumnWidth = 230;
constexpr int kRowHeight = 25;
// A new line runs from the Sun to the Earth in grey.
constexpr int32_t kNewLineFrom = 9;
constexpr int32_t kNewLineTo = 0;
constexpr TColor kNewLineColor = 0x808080;

QString BodyName(int32_t body) {
  if (body == 9) return QStringLiteral("Sun");
  if (body >= 0 && body <= 8) return QString::fromLatin1(kPlanetData[body].Name);
  // Only a damaged document holds other numbers; the scene does not draw such a line.
  return QStringLiteral("?");
}

// Each row shows its line's two bodies and a sample of its colour.
class TLineRowDelegate final : public QStyledItemDelegate {
 public:
  TLineRowDelegate(const TDirectionList& lines, QObject* parent)
      : QStyledItemDelegate(parent), lines_(lines) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    // Background and the focused cell's selection as the style draws them.
    QStyledItemDelegate::paint(painter, option, QModelIndex());
    const int row = index.row();
    if (row < 0 || row >= lines_.Count()) return;
    const TDirection& line = lines_.Get(row);
    const QRect r = option.rect;
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    const QString text = BodyName(line.FromId) + QStringLiteral(" - ") + BodyName(line.ToId);
    const QFontMetrics metrics(option.font);
    painter->setFont(option.font);
    painter->drawText(QPoint(r.left() + 2, r.top() + 4 + metrics.ascent()),
                      metrics.elidedText(text, Qt::ElideRight, 126));
    // The sample covers (130, 4) up to, not including, (190, 21).
    painter->setPen(Qt::black);
    painter->setBrush(ToQColor(line.Color));
    painter->drawRect(QRect(r.left() + 130, r.top() + 4, 59, 16));
    painter->restore();
  }

 private:
  const TDirectionList& lines_;
};

QPushButton* ListButton(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TDirectionsDlg::TDirectionsDlg(TDirectionDlg& lineDialog, TPrompter& prompter, QWidget* parent)
    : QDialog(parent), line_dialog_(lineDialog), prompter_(prompter) {
  setObjectName(QStringLiteral("TDirectionsDlg"));
  setWindowTitle(QStringLiteral("User defined lines"));

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel"));
  panel->setFrameShape(QFrame::StyledPanel);

  draw_grid_ = new QTableWidget(1, 1, panel);
  draw_grid_->setObjectName(QStringLiteral("DrawGrid"));
  draw_grid_->horizontalHeader()->hide();
  draw_grid_->verticalHeader()->hide();
  draw_grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  draw_grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  draw_grid_->setColumnWidth(0, kColumnWidth);
  draw_grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  draw_grid_->setShowGrid(true);
  draw_grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  draw_grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  draw_grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  draw_grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  draw_grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  draw_grid_->setItemDelegate(new TLineRowDelegate(working_list_, draw_grid_));
  const int frame = 2 * draw_grid_->frameWidth();
  draw_grid_->setFixedWidth(kColumnWidth + frame +
                            draw_grid_->verticalScrollBar()->sizeHint().width() + 1);
  draw_grid_->setMinimumHeight(4 * kRowHeight + frame + 1);

  sb_add_ = ListButton("SBAdd", "Add", panel);
  sb_remove_ = ListButton("SBRemove", "Remove", panel);
  sb_edit_ = ListButton("SBEdit", "Edit", panel);
  sb_clear_ = ListButton("SBClear", "Clear", panel);
  auto* row = new QHBoxLayout;
  for (QPushButton* b : {sb_add_, sb_remove_, sb_edit_, sb_clear_}) row->addWidget(b);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->addWidget(draw_grid_, 1);
  panelLayout->addLayout(row);

  PanelAboveOkCancel(this, panel);

  connect(sb_add_, &QPushButton::clicked, this, &TDirectionsDlg::SBAddClick);
  connect(sb_remove_, &QPushButton::clicked, this, &TDirectionsDlg::SBRemoveClick);
  connect(sb_edit_, &QPushButton::clicked, this, &TDirectionsDlg::SBEditClick);
  connect(sb_clear_, &QPushButton::clicked, this, &TDirectionsDlg::SBClearClick);
  connect(draw_grid_, &QTableWidget::cellDoubleClicked, this, &TDirectionsDlg::SBEditClick);
  connect(draw_grid_, &QTableWidget::currentCellChanged, this, &TDirectionsDlg::RefreshLines);
  RefreshLines();
}

void TDirectionsDlg::SetLines(const TDirectionList& lines) {
  working_list_.AssignList(lines);
  RefreshLines();
}

void TDirectionsDlg::RefreshLines() {
  const int count = working_list_.Count();
  const QSignalBlocker quiet(draw_grid_);
  draw_grid_->setRowCount(std::max(count, 1));
  if (draw_grid_->currentRow() < 0) draw_grid_->setCurrentCell(0, 0);
  draw_grid_->viewport()->update();
  const bool hasLines = count > 0;
  sb_edit_->setEnabled(CurrentLine() >= 0);
  sb_remove_->setEnabled(CurrentLine() >= 0);
  sb_clear_->setEnabled(hasLines);
}

QString TDirectionsDlg::RowText(int row) const {
  if (row < 0 || row >= working_list_.Count()) return {};
  const TDirection& line = working_list_.Get(row);
  return BodyName(line.FromId) + QStringLiteral(" - ") + BodyName(line.ToId);
}

int TDirectionsDlg::CurrentLine() const {
  const int row = draw_grid_->currentRow();
  return row >= 0 && row < working_list_.Count() ? row : -1;
}

void TDirectionsDlg::SBAddClick() {
  auto line = std::make_unique<TDirection>(kNewLineFrom, kNewLineColor, kNewLineTo);
  line_dialog_.SetLine(*line);
  const bool accepted = prompter_.RunDialog(line_dialog_) == QDialog::Accepted;
  line_dialog_.ReleaseLine();
  if (!accepted) return;
  working_list_.Add(std::move(line));
  RefreshLines();
}

void TDirectionsDlg::SBEditClick() {
  const int row = CurrentLine();
  if (row < 0) return;
  TDirection& target = working_list_.Get(row);
  TDirection copy(target.FromId, target.Color, target.ToId);
  line_dialog_.SetLine(copy);
  if (prompter_.RunDialog(line_dialog_) == QDialog::Accepted) target.Assign(copy);
  line_dialog_.ReleaseLine();
  draw_grid_->viewport()->update();
}

void TDirectionsDlg::SBRemoveClick() {
  const int row = CurrentLine();
  if (row < 0) return;
  working_list_.Delete(row);
  RefreshLines();
}

void TDirectionsDlg::SBClearClick() {
  if (working_list_.Count() == 0) return;
  working_list_.Clear();
  RefreshLines();
}

}  // namespace kestrova
