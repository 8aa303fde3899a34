#include "ui/minor_body_model.h"

#include <string_view>

#include <QApplication>
#include <QBrush>
#include <QPalette>
#include <climits>

namespace kestrova {

namespace {

// Rows read at a time, and blocks kept: a screen holds a few dozen rows, and moving back and
// forth over some thousands of rows reads nothing twice.
constexpr int kBlockRows = 128;
constexpr size_t kMostBlocks = 256;

QString FloatText(double value, int decimals) {
  // Without fixed decimals, as many digits as the stored value needs, at most 15.
  return decimals >= 0 ? QString::number(value, 'f', decimals) : QString::number(value, 'g', 15);
}

}  // namespace

const std::vector<TBrowserColumn>& TMinorBodyModel::Columns() {
  static const std::vector<TBrowserColumn> columns = {
      {"NO", "ID", ""},
      {"NAME", "NAME", "IDXNAME"},
      {"A", "Semi major axis", "IDXA", 7},
      {"E", "Eccentricity", "IDXE", 7},
      {"I", "Inclination", "IDXINCL", 5},
      {"CLASS", "Classification", "IDXCL"},
      {"ISNEA", "is NEA", "IDXNEA"},
      {"ISPHA", "is PHA", "IDXPHA"},
      {"Reference", "Reference", std::nullopt},
      {"Computer", "Computer", std::nullopt},
  };
  return columns;
}

TMinorBodyModel::TMinorBodyModel(TableStore& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table) {
  Reload();
}

void TMinorBodyModel::Reload() {
  beginResetModel();
  blocks_.clear();
  use_.clear();
  shown_.clear();
  fields_.clear();
  rows_ = 0;
  current_ = -1;
  failureReported_ = false;
  const std::vector<TBrowserColumn>& all = Columns();
  for (size_t c = 0; c < all.size(); ++c) {
    const int field = table_.Active() ? table_.FieldIndex(all[c].Field) : -1;
    // A closed table still shows the titles of a data file.
    if (field >= 0 || (!table_.Active() && all[c].Index)) {
      shown_.push_back(static_cast<int>(c));
      fields_.push_back(field);
    }
  }
  if (table_.Active()) {
    try {
      rows_ = static_cast<int>(std::min<int64_t>(table_.RecordCount(), INT_MAX));
    } catch (const EKestrovaError&) {
      rows_ = 0;
    }
  }
  endResetModel();
}

void TMinorBodyModel::SetCurrentRow(int row) {
  const int old = current_;
  current_ = row;
  for (int r : {old, row}) {
    if (r < 0 || r >= rows_) continue;
    emit headerDataChanged(Qt::Vertical, r, r);
    emit dataChanged(index(r, 0), index(r, columnCount() - 1), {Qt::BackgroundRole});
  }
}

const TableStore::TRow* TMinorBodyModel::Row(int row) const {
  if (row < 0 || row >= rows_) return nullptr;
  const int64_t key = row / kBlockRows;
  auto it = blocks_.find(key);
  if (it == blocks_.end()) {
    if (busy_ || !table_.Active()) return nullptr;
    Block block;
    try {
      block.Rows = table_.ReadRows(key * kBlockRows, kBlockRows);
    } catch (const EKestrovaError& e) {
      // The grid shows the row empty and the next look tries again; the user hears of it once.
      if (!failureReported_) {
        failureReported_ = true;
        emit const_cast<TMinorBodyModel*>(this)->readFailed(QString::fromStdString(e.what()));
      }
      return nullptr;
    }
    if (blocks_.size() >= kMostBlocks) {
      blocks_.erase(use_.back());
      use_.pop_back();
    }
    use_.push_front(key);
    block.Use = use_.begin();
    it = blocks_.emplace(key, std::move(block)).first;
  } else if (it->second.Use != use_.begin()) {
    use_.splice(use_.begin(), use_, it->second.Use);
  }
  const std::vector<TableStore::TRow>& rows = it->second.Rows;
  const size_t at = static_cast<size_t>(row % kBlockRows);
  return at < rows.size() ? &rows[at] : nullptr;
}

std::optional<TBookmark> TMinorBodyModel::BookmarkAt(int row) const {
  const TableStore::TRow* r = Row(row);
  if (!r) return std::nullopt;
  return r->Bookmark;
}

int TMinorBodyModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int TMinorBodyModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant TMinorBodyModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int field = fields_[size_t(index.column())];
  switch (role) {
    case Qt::ToolTipRole: {
      // A long name or class is cut short to its column's width ("…"): the tip shows it whole.
      const TableStore::TRow* r = Row(index.row());
      if (!r || field < 0) return {};
      if (const auto* s = std::get_if<std::string>(&r->Values[size_t(field)]); s && !s->empty())
        return QString::fromStdString(*s);
      return {};
    }
    case Qt::DisplayRole: {
      const TableStore::TRow* r = Row(index.row());
      if (!r || field < 0) return {};
      const TFieldValue& v = r->Values[size_t(field)];
      if (const auto* i = std::get_if<int64_t>(&v)) {
        // Unnumbered bodies carry negative numbers of the import's own; they are known by
        // their designation, which is their name.
        if (*i < 0 && std::string_view(Column(index.column()).Field) == "NO") return QString();
        return QString::number(*i);
      }
      if (const auto* d = std::get_if<double>(&v))
        return FloatText(*d, Column(index.column()).Decimals);
      if (const auto* s = std::get_if<std::string>(&v)) return QString::fromStdString(*s);
      return {};
    }
    case Qt::TextAlignmentRole: {
      const std::vector<TFieldDef>& defs = table_.Fields();
      const bool number = field >= 0 && size_t(field) < defs.size() &&
                          defs[size_t(field)].Type != TFieldType::String;
      if (number) return int(Qt::AlignRight | Qt::AlignVCenter);
      if (field >= 0 && size_t(field) < defs.size() && defs[size_t(field)].Size == 1)
        return int(Qt::AlignCenter);
      return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    case Qt::BackgroundRole:
      if (index.row() == current_) return QApplication::palette().brush(QPalette::AlternateBase);
      return {};
    default:
      return {};
  }
}

QVariant TMinorBodyModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    // The record indicator of the current row.
    if (role == Qt::DisplayRole) return section == current_ ? QStringLiteral("\u25B6") : QString();
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
  }
  if (role != Qt::DisplayRole || section < 0 || section >= columnCount()) return {};
  return QString::fromLatin1(Column(section).Title);
}

}  // namespace kestrova
