#include "ui/aster_form.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "database/body_search.h"
#include "database/data_file.h"
#include "database/data_files.h"
#include "database/minor_bodies.h"
#include "model/astronomical_objects.h"
#include "ui/create_idx_form.h"
#include "ui/data_files_dlg.h"
#include "ui/minor_body_model.h"
#include "ui/pick_minor_bodies.h"
#include "ui/prompter.h"
#include "ui/search_dlg.h"

namespace kestrova {

namespace {

// The grid marks rows as a data grid does: a plain click or cursor key makes a row current and
// takes every mark away, Ctrl+click marks or unmarks one row, Shift marks a range (also with
// Ctrl+Home and Ctrl+End), Ctrl+A marks every row. Marks are held as ranges, so a million
// marked rows cost no more than one; OK says when more are marked than the main window takes.
class TBrowserGrid : public QTableView {
 public:
  using QTableView::QTableView;

 protected:
  QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                       const QEvent* event) const override {
    const QItemSelectionModel::SelectionFlags flags = QTableView::selectionCommand(index, event);
    if (!event) return flags;
    Qt::KeyboardModifiers modifiers;
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove:
      case QEvent::KeyPress:
        modifiers = static_cast<const QInputEvent*>(event)->modifiers();
        break;
      default:
        return flags;
    }
    // Qt leaves the marks alone on Ctrl+Home and Ctrl+End even with Shift; a data grid marks
    // the rows to the first or the last one.
    if (event->type() == QEvent::KeyPress && (modifiers & Qt::ShiftModifier) &&
        (modifiers & Qt::ControlModifier)) {
      const int key = static_cast<const QKeyEvent*>(event)->key();
      if (key == Qt::Key_Home || key == Qt::Key_End)
        return QItemSelectionModel::SelectCurrent | QItemSelectionModel::Rows;
    }
    if (modifiers & (Qt::ShiftModifier | Qt::ControlModifier)) return flags;
    if (event->type() == QEvent::MouseMove) return QItemSelectionModel::NoUpdate;
    return QItemSelectionModel::Clear;
  }
};

enum class TNavigate { First, Prior, Next, Last };

// The navigator's pictures: a triangle pointing the way, with a bar for the ends. Drawn on a 16 by
// 16 grid at each common scale of a screen, so that Qt never has to blur a picture to fit one.
QIcon NavigatorIcon(TNavigate which, const QColor& color) {
  QIcon icon;
  for (qreal scale : {1.0, 1.25, 1.5, 2.0}) {
    const int side = int(16 * scale);
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const bool left = which == TNavigate::First || which == TNavigate::Prior;
    const bool end = which == TNavigate::First || which == TNavigate::Last;
    QPainterPath triangle;
    if (left) {
      triangle.moveTo(11.5, 3);
      triangle.lineTo(11.5, 13);
      triangle.lineTo(5, 8);
    } else {
      triangle.moveTo(4.5, 3);
      triangle.lineTo(4.5, 13);
      triangle.lineTo(11, 8);
    }
    triangle.closeSubpath();
    p.drawPath(triangle);
    if (end) p.drawRect(left ? QRectF(2.5, 3, 2, 10) : QRectF(11.5, 3, 2, 10));
    p.end();
    icon.addPixmap(picture);
  }
  return icon;
}

}  // namespace

TAsterForm::TAsterForm(TPrompter& prompter, TDataFile& dataFile, TDataFilesDlg& dataFilesDlg,
                       TCreateIdxForm& createIdxForm, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      data_files_dlg_(dataFilesDlg),
      create_idx_form_(createIdxForm),
      search_dlg_(new TSearchDlg(this)),
      data_file_(dataFile),
      table_(dataFile.Table()) {
  setObjectName("AsterForm");
  model_ = new TMinorBodyModel(table_, this);
  BuildGrid();
  BuildButtons(BuildNavigator());
  resize(880, 500);

  connect(&data_file_, &TDataFile::aboutToChange, this, &TAsterForm::DataFileChanging);
  connect(&data_file_, &TDataFile::changed, this, &TAsterForm::DataFileChanged);
  // Reported after the paint that read the rows, not inside it.
  connect(
      model_, &TMinorBodyModel::readFailed, this,
      [this](const QString& message) { prompter_.ShowError(this, message); }, Qt::QueuedConnection);
  Reload();
}

void TAsterForm::BuildGrid() {
  grid_ = new TBrowserGrid(this);
  grid_->setObjectName("DBGrid");
  grid_->setModel(model_);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  grid_->setCornerButtonEnabled(false);
  grid_->setTabKeyNavigation(false);
  grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  const int rowHeight = grid_->fontMetrics().height() + 6;
  QHeaderView* rows = grid_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(rowHeight);
  rows->setMinimumSectionSize(rowHeight);
  rows->setFixedWidth(grid_->fontMetrics().horizontalAdvance(QChar(0x25B6)) + 10);
  rows->setSectionsClickable(false);
  QHeaderView* titles = grid_->horizontalHeader();
  titles->setSectionsClickable(true);
  titles->setHighlightSections(false);
  titles->setSortIndicatorShown(true);
  titles->setStretchLastSection(true);
  titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

  connect(titles, &QHeaderView::sectionClicked, this, &TAsterForm::DBGridTitleClick);
  connect(grid_, &QTableView::doubleClicked, this, &QDialog::accept);
  // A click or a cursor key moves the current row as the navigator does.
  connect(grid_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { DataSourceDataChange(); });
}

QWidget* TAsterForm::BuildNavigator() {
  auto* navigator = new QWidget(this);
  navigator->setObjectName("DBNavigator");
  auto* navigation = new QHBoxLayout(navigator);
  navigation->setContentsMargins(0, 0, 0, 0);
  navigation->setSpacing(1);
  const QColor arrows = palette().color(QPalette::ButtonText);
  auto navButton = [&](TNavigate which, const char* name, const char* tip) {
    auto* b = new QToolButton(navigator);
    b->setObjectName(name);
    b->setIcon(NavigatorIcon(which, arrows));
    b->setToolTip(tip);
    b->setAutoRaise(false);
    b->setFixedSize(28, 24);
    navigation->addWidget(b);
    return b;
  };
  first_ = navButton(TNavigate::First, "NbFirst", "First record");
  prior_ = navButton(TNavigate::Prior, "NbPrior", "Prior record");
  next_ = navButton(TNavigate::Next, "NbNext", "Next record");
  last_ = navButton(TNavigate::Last, "NbLast", "Last record");
  connect(first_, &QToolButton::clicked, this, [this] { GoToRow(0); });
  connect(prior_, &QToolButton::clicked, this, [this] { GoToRow(std::max(CurrentRow() - 1, 0)); });
  connect(next_, &QToolButton::clicked, this, [this] { GoToRow(CurrentRow() + 1); });
  connect(last_, &QToolButton::clicked, this, [this] { GoToRow(model_->rowCount() - 1); });
  return navigator;
}

void TAsterForm::BuildButtons(QWidget* navigator) {
  hint_ = new QLabel(this);
  hint_->setObjectName("LHint");
  hint_->setWordWrap(true);
  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("BOk");
  ok->setDefault(true);
  auto* cancel = new QPushButton("&Cancel", this);
  cancel->setObjectName("BCancel");
  auto* dataFiles = new QPushButton("Data &file", this);
  dataFiles->setObjectName("BDataFiles");
  dataFiles->setAutoDefault(false);
  search_ = new QPushButton("&Search", this);
  search_->setObjectName("BSearch");
  search_->setAutoDefault(false);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(navigator);
  bottom->addSpacing(12);
  bottom->addWidget(hint_, 1);
  for (QPushButton* b : {ok, cancel, dataFiles, search_}) bottom->addWidget(b);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_, 1);
  layout->addLayout(bottom);

  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(dataFiles, &QPushButton::clicked, this, &TAsterForm::BDataFilesClick);
  connect(search_, &QPushButton::clicked, this, &TAsterForm::BSearchClick);
}

TAsterForm::~TAsterForm() {
  grid_->selectionModel()->disconnect(this);
  grid_->setModel(nullptr);
}

void TAsterForm::ReportError(const std::exception& e) {
  prompter_.ShowError(this, QString::fromStdString(e.what()));
}

// ---- The data file

void TAsterForm::DataFileChanging() {
  changing_alias_ = data_file_.DatabaseName();
  changing_table_ = table_.TableName();
  changing_row_ = table_.Active() ? model_->BookmarkAt(CurrentRow()) : std::nullopt;
  model_->SetBusy(true);
}

void TAsterForm::DataFileChanged() {
  model_->SetBusy(false);
  Reload();
  const bool same =
      data_file_.DatabaseName() == changing_alias_ && table_.TableName() == changing_table_;
  if (same && changing_row_)
    GoToBookmark(*changing_row_);
  else if (model_->rowCount() > 0)
    GoToFirstNumbered();
  changing_row_.reset();
}

void TAsterForm::Reload() {
  model_->Reload();
  // The columns' widths: what their titles and their widest usual values need, set when the
  // columns change, so that a width the user chose stays through sorting and searching.
  std::vector<std::string> columns;
  for (int c = 0; c < model_->columnCount(); ++c) columns.emplace_back(model_->Column(c).Field);
  const bool fit = columns != fitted_columns_;
  fitted_columns_ = std::move(columns);
  const QFontMetrics metrics = grid_->fontMetrics();
  const QFontMetrics titleMetrics(grid_->horizontalHeader()->font());
  for (int c = 0; fit && c < model_->columnCount(); ++c) {
    const TBrowserColumn& column = model_->Column(c);
    const std::string field = column.Field;
    const char* sample = field == "NO"      ? "-9999999"
                         : field == "NAME"  ? "73P-C/Schwassmann-Wachmann"
                         : field == "CLASS" ? "Jupiter trojan"
                         : field == "Reference" || field == "Computer" ? "MPO 123456"
                         : field == "ISNEA" || field == "ISPHA"        ? "Y"
                                                                       : "99.9999999";
    // Room for the sort indicator beside the title.
    const int width = std::max(metrics.horizontalAdvance(sample),
                               titleMetrics.horizontalAdvance(column.Title) + 18);
    grid_->setColumnWidth(c, width + 10);
  }
  if (model_->rowCount() > 0) GoToRow(0);
  ShowSortColumn();
  UpdateNavigator();
  SetCaption();
}

// ---- Rows and bodies

int TAsterForm::CurrentRow() const {
  return grid_->currentIndex().isValid() ? grid_->currentIndex().row() : -1;
}

void TAsterForm::GoToRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  const int column = std::max(grid_->currentIndex().column(), 0);
  const QModelIndex index = model_->index(row, column);
  grid_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
  grid_->scrollTo(index);
  DataSourceDataChange();
}

bool TAsterForm::GoToBookmark(TBookmark bookmark) {
  try {
    table_.GotoBookmark(bookmark);
    const int64_t position = table_.CurrentPosition();
    if (position >= model_->rowCount()) return false;
    const int row = static_cast<int>(position);
    GoToRow(row);
    grid_->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
    return true;
  } catch (const EKestrovaError&) {
    return false;
  }
}

bool TAsterForm::MoveTableTo(int row) {
  if (!table_.Active()) return false;
  const std::optional<TBookmark> bookmark = model_->BookmarkAt(row);
  if (!bookmark) return false;
  table_.GotoBookmark(*bookmark);
  return !table_.Eof();
}

void TAsterForm::RowToElements(TOrbitalElements& el) {
  if (!table_.Active()) return;
  try {
    if (MoveTableTo(CurrentRow())) kestrova::RowToElements(table_, el);
  } catch (const EKestrovaError& e) {
    ReportError(e);
  }
}

std::unique_ptr<TAsteroid> TAsterForm::ObjectOfTableRow() {
  TOrbitalElements el;
  const TElementFields fields = ElementFields(table_);
  kestrova::RowToElements(table_, fields, el);
  return std::make_unique<TAsteroid>(table_.StringAt(fields.Name), el, kMinorBodyColor);
}

std::vector<std::pair<int, int>> TAsterForm::MarkedRanges() const {
  std::vector<std::pair<int, int>> ranges;
  for (const QItemSelectionRange& r : grid_->selectionModel()->selection())
    ranges.emplace_back(r.top(), r.bottom());
  std::sort(ranges.begin(), ranges.end());
  std::vector<std::pair<int, int>> merged;
  for (const auto& r : ranges) {
    if (!merged.empty() && r.first <= merged.back().second + 1)
      merged.back().second = std::max(merged.back().second, r.second);
    else
      merged.push_back(r);
  }
  return merged;
}

int TAsterForm::SelectedCount() const {
  int64_t count = 0;
  for (const auto& [top, bottom] : MarkedRanges()) count += bottom - top + 1;
  return static_cast<int>(std::min<int64_t>(count, INT_MAX));
}

std::unique_ptr<TAsteroid> TAsterForm::SelectedObject(int n) {
  if (!table_.Active() || n < 0) return nullptr;
  for (const auto& [top, bottom] : MarkedRanges()) {
    if (n <= bottom - top) {
      try {
        return MoveTableTo(top + n) ? ObjectOfTableRow() : nullptr;
      } catch (const EKestrovaError& e) {
        ReportError(e);
        return nullptr;
      }
    }
    n -= bottom - top + 1;
  }
  return nullptr;
}

std::unique_ptr<TAsteroid> TAsterForm::CurrentObject() {
  if (!table_.Active()) return nullptr;
  try {
    return MoveTableTo(CurrentRow()) ? ObjectOfTableRow() : nullptr;
  } catch (const EKestrovaError& e) {
    ReportError(e);
    return nullptr;
  }
}

bool TAsterForm::EnsureIndices() {
  if (!table_.Active()) return false;
  try {
    if (HasAllIndices(table_)) return true;
  } catch (const EKestrovaError& e) {
    ReportError(e);
    return false;
  }
  try {
    data_file_.RebuildIndices(
        [this](TableStore& table) { return create_idx_form_.CreateIndices(table); });
  } catch (const EKestrovaError& e) {
    ReportError(e);
  }
  try {
    return table_.Active() && HasAllIndices(table_);
  } catch (const EKestrovaError&) {
    return false;
  }
}

bool TAsterForm::HasIndex(const std::string& name) {
  if (!table_.Active()) return false;
  if (name.empty()) return true;
  try {
    const std::vector<std::string> names = table_.IndexNames();
    return std::find(names.begin(), names.end(), name) != names.end();
  } catch (const EKestrovaError&) {
    return false;
  }
}

// ---- Handlers

void TAsterForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TAsterForm::FitWidthToColumns() {
  const QMargins margins = layout()->contentsMargins();
  int width = margins.left() + margins.right() + 2 * grid_->frameWidth() +
              grid_->verticalHeader()->width() + grid_->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < model_->columnCount(); ++c) width += grid_->columnWidth(c);
  const QScreen* where = screen();
  const int most = where ? where->availableGeometry().width() * 9 / 10 : width;
  resize(std::clamp(width, minimumSizeHint().width(), std::max(most, minimumSizeHint().width())),
         height());
}

void TAsterForm::accept() {
  const int marked = SelectedCount();
  if (marked > kMostPickedObjects) {
    prompter_.ShowMessage(this, TooManyMarksMessage(marked));
    return;
  }
  QDialog::accept();
}

void TAsterForm::FormShow() {
  // An import may have put a new table in place of the open one since the browser was shown.
  data_file_.ReopenIfReplaced();
  // The first showing fits the window to the data file's columns; later the user's size stays.
  if (!fitted_) {
    FitWidthToColumns();
    fitted_ = true;
  }
  SetCaption();
  grid_->clearSelection();
  if (CurrentRow() < 0 && model_->rowCount() > 0) GoToFirstNumbered();
  grid_->setFocus();
}

void TAsterForm::GoToFirstNumbered() {
  // In number order the unnumbered bodies (negative numbers) come first; the browser opens on
  // the numbered ones, where (1) Ceres is, with the unnumbered ones above.
  try {
    if (table_.IndexName().empty() && table_.FindNearest("1") &&
        GoToBookmark(table_.GetBookmark())) {
      grid_->scrollTo(model_->index(CurrentRow(), 0), QAbstractItemView::PositionAtTop);
      return;
    }
  } catch (const EKestrovaError&) {
  }
  GoToRow(0);
}

void TAsterForm::SetCaption() {
  if (table_.Active())
    setWindowTitle(QString::number(model_->rowCount()) + " objects in current data file (" +
                   QString::fromStdString(table_.TableName()) + ")");
  else
    setWindowTitle("Objects in current data file");
  // On the first start there is no catalogue at all, and an empty grid says nothing of where
  // one comes from.
  if (!table_.Active()) {
    hint_->setText(
        "No data file is open: choose one with \"Data file\", or import a catalogue (an MPCORB "
        "or CometEls file) there with \"Start import module\".");
  } else if (model_->rowCount() == 0) {
    hint_->setText(
        "The data file is empty: import a catalogue (an MPCORB or CometEls file) with \"Data "
        "file\", \"Start import module\".");
  } else {
    hint_->setText("click on column titles to sort the table");
  }
}

void TAsterForm::ShowSortColumn() {
  QHeaderView* titles = grid_->horizontalHeader();
  for (int c = 0; c < model_->columnCount(); ++c) {
    if (model_->Column(c).Index == table_.IndexName()) {
      titles->setSortIndicator(c, Qt::AscendingOrder);
      return;
    }
  }
  titles->setSortIndicator(-1, Qt::AscendingOrder);
}

void TAsterForm::UpdateNavigator() {
  const int row = CurrentRow();
  const int rows = model_->rowCount();
  first_->setEnabled(rows > 0 && row > 0);
  prior_->setEnabled(rows > 0 && row > 0);
  next_->setEnabled(rows > 0 && row < rows - 1);
  last_->setEnabled(rows > 0 && row < rows - 1);
  search_->setEnabled(table_.Active());
}

void TAsterForm::DataSourceDataChange() {
  model_->SetCurrentRow(CurrentRow());
  UpdateNavigator();
  SetCaption();
}

void TAsterForm::DBGridTitleClick(int column) {
  if (column < 0 || column >= model_->columnCount() || !table_.Active()) {
    ShowSortColumn();
    return;
  }
  const std::optional<const char*> index = model_->Column(column).Index;
  if (!index) {
    // The sources have no index: the order stays.
    ShowSortColumn();
    return;
  }
  const std::optional<TBookmark> current = model_->BookmarkAt(CurrentRow());
  EnsureIndices();
  // An index that could not be made (or whose making was cancelled) leaves the order.
  if (table_.IndexName() != *index && HasIndex(*index)) {
    try {
      table_.SetIndexName(*index);
      Reload();
      if (current) GoToBookmark(*current);
    } catch (const EKestrovaError& e) {
      ReportError(e);
    }
  }
  ShowSortColumn();
}

void TAsterForm::BSearchClick() {
  if (!table_.Active()) return;
  EnsureIndices();
  if (!HasIndex("IDXNAME")) return;
  search_dlg_->Prepare();
  if (prompter_.RunDialog(*search_dlg_) != QDialog::Accepted) return;
  try {
    if (table_.IndexName() != "IDXNAME") {
      table_.SetIndexName("IDXNAME");
      Reload();
    }
    const QString text = search_dlg_->GetSearchName();
    if (FindMinorBody(table_, text.toStdString())) {
      const int row = static_cast<int>(table_.CurrentPosition());
      GoToRow(row);
      grid_->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtCenter);
    } else {
      prompter_.ShowMessage(this, QStringLiteral("No object matches \"%1\".").arg(text));
    }
  } catch (const EKestrovaError& e) {
    ReportError(e);
  }
  ShowSortColumn();
  grid_->setFocus();
}

void TAsterForm::BDataFilesClick() {
  data_files_dlg_.SetAlias(data_file_.DatabaseName());
  data_files_dlg_.SelectTable(table_.TableName());
  if (prompter_.RunDialog(data_files_dlg_) != QDialog::Accepted) return;
  data_file_.SetNames(data_files_dlg_.AliasName(), data_files_dlg_.SelectedTable());
  try {
    data_file_.Open();
  } catch (const EKestrovaError& e) {
    ReportError(e);
  }
  grid_->clearSelection();
  SetCaption();
  emit dataFileChanged();
}

}  // namespace kestrova
