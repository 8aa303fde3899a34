#include "database/table_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <system_error>

#include "database/program_folder.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

// The one table inside every file.
constexpr const char* kTable = "data";

// How long a file that another connection has locked is waited for, in milliseconds.
constexpr int kLockWaitMs = 1000;

// Engine steps between two calls of the busy handler: a few milliseconds of work.
constexpr int kBusySteps = 20000;

// Rows that AppendRows writes with one statement: the engine's work for each execution of a
// statement (setting up, the record's buffer, halting) is then shared by that many rows.
constexpr size_t kRowsPerStatement = 64;

// Remembered positions beyond this many are dropped all at once; a grid needs a few.
constexpr size_t kMostAnchors = 4096;

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// Field and index names go into SQL text, so only plain names are accepted.
bool PlainName(const std::string& s) {
  if (s.empty() || s.size() > 64) return false;
  return std::all_of(s.begin(), s.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
  });
}

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

std::vector<std::string> SplitFields(const std::string& list) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : list + ";") {
    if (c == ';') {
      while (!cur.empty() && cur.back() == ' ') cur.pop_back();
      if (!cur.empty()) out.push_back(cur);
      cur.clear();
    } else if (c != ' ' || !cur.empty()) {
      cur += c;
    }
  }
  return out;
}

// Opens a file with the engine; on failure raises with the engine's message.
sqlite3* OpenFile(const std::string& path, int flags) {
  // Once a process has a second thread, every lock of a mutex costs an atomic operation, and the
  // engine takes one for each call and each allocation: a twentieth of an import's time. A
  // connection is used by one thread at a time (the table store that owns it), and nothing asks
  // the engine how much memory it holds, so neither lock is needed. The statistics can only be
  // turned off before the engine starts, hence here, before the first connection.
  static const bool noMemoryStatistics = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
  (void)noMemoryStatistics;
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    // The engine's words say that, the system's say why (a folder that may not be written, a
    // name too long).
    if (const int error = db ? sqlite3_system_errno(db) : 0; error != 0)
      msg += std::string(" (") + std::strerror(error) + ")";
    sqlite3_close(db);
    throw ETableError(msg + ": " + path, path);
  }
  sqlite3_extended_result_codes(db, 1);
  // Another process (an import, a second copy of the program) may hold the file for a moment:
  // wait that moment out instead of failing at once.
  sqlite3_busy_timeout(db, kLockWaitMs);
  // Without this, a quoted name of a missing field silently becomes a text constant.
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  return db;
}

void ExecOn(sqlite3* db, const std::string& path, const std::string& sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    const std::string msg = err ? err : sqlite3_errmsg(db);
    sqlite3_free(err);
    throw ETableError(msg + ": " + path, path);
  }
}

}  // namespace

// ---- Tables of an alias ----

fs::path TableStore::TablePath(const std::string& alias, const std::string& table) {
  if (table.empty() || table == "." || table == ".." ||
      table.find_first_of(std::string("/\\\0", 3)) != std::string::npos)
    throw ETableError("Invalid table name: '" + table + "'", table);
  return AliasFolder(alias) / table;
}

std::vector<std::string> TableStore::ListTables(const std::string& alias) {
  const fs::path dir = AliasFolder(alias);
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() > 3 && name[0] != '.' && name.ends_with(".db") && it->is_regular_file(ec))
      names.push_back(name);
  }
  if (ec) throw ETableError(ec.message() + ": " + dir.string(), dir.string());
  std::sort(names.begin(), names.end());
  return names;
}

void TableStore::CreateTable(const std::string& alias, const std::string& table,
                             const std::vector<TFieldDef>& fields,
                             const std::vector<TIndexDef>& indices) {
  const std::string path = TablePath(alias, table).string();
  auto fail = [&](const std::string& msg) -> void { throw ETableError(msg + ": " + path, path); };
  if (fields.empty()) fail("A table needs at least one field");
  std::string primary;
  for (const TIndexDef& idx : indices) {
    if (!idx.Name.empty()) continue;
    const std::vector<std::string> list = SplitFields(idx.Fields);
    if (list.size() != 1) fail("The primary index must have exactly one field");
    primary = list[0];
  }
  std::string sql = std::string("CREATE TABLE ") + kTable + " (";
  bool primaryFound = primary.empty();
  for (size_t i = 0; i < fields.size(); ++i) {
    const TFieldDef& f = fields[i];
    if (!PlainName(f.Name)) fail("Invalid field name '" + f.Name + "'");
    if (i) sql += ", ";
    sql += Quoted(f.Name);
    const bool isPrimary = !primary.empty() && SameName(f.Name, primary);
    switch (f.Type) {
      case TFieldType::Integer:
        sql += isPrimary ? " INTEGER PRIMARY KEY NOT NULL" : " INTEGER NOT NULL DEFAULT 0";
        break;
      case TFieldType::Float:
        if (isPrimary) fail("The primary index needs an integer field");
        sql += " REAL NOT NULL DEFAULT 0";
        break;
      case TFieldType::String:
        if (isPrimary) fail("The primary index needs an integer field");
        if (f.Size <= 0) fail("Field '" + f.Name + "' needs a size");
        sql += " VARCHAR(" + std::to_string(f.Size) + ") NOT NULL DEFAULT '' CONSTRAINT " +
               Quoted(f.Name + " longer than " + std::to_string(f.Size) +
                      (f.Size == 1 ? " character" : " characters")) +
               " CHECK(length(" + Quoted(f.Name) + ") <= " + std::to_string(f.Size) + ")";
        break;
    }
    primaryFound = primaryFound || isPrimary;
  }
  sql += ")";
  if (!primaryFound) fail("The primary index names a missing field '" + primary + "'");

  std::error_code ec;
  if (fs::exists(path, ec)) fail("Table exists already");
  sqlite3* db = OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  try {
    // Pages of 8 KB instead of the engine's 4 KB: making the indices of a catalogue of a
    // million rows takes a sixth less work, and whole-table reads fewer pages.
    ExecOn(db, path, "PRAGMA page_size=8192");
    ExecOn(db, path, "BEGIN EXCLUSIVE");
    ExecOn(db, path, sql);
    for (const TIndexDef& idx : indices) {
      if (idx.Name.empty()) continue;
      if (!PlainName(idx.Name)) fail("Invalid index name '" + idx.Name + "'");
      const std::vector<std::string> list = SplitFields(idx.Fields);
      if (list.empty()) fail("Index " + idx.Name + " has no fields");
      std::string cols;
      for (const std::string& c : list) {
        if (std::none_of(fields.begin(), fields.end(),
                         [&](const TFieldDef& f) { return SameName(f.Name, c); }))
          fail("Index " + idx.Name + " names a missing field '" + c + "'");
        cols += (cols.empty() ? "" : ", ") + Quoted(c);
      }
      ExecOn(db, path, "CREATE INDEX " + Quoted(idx.Name) + " ON " + kTable + " (" + cols + ")");
    }
    ExecOn(db, path, "COMMIT");
  } catch (...) {
    // A table that could not be made whole is not left behind.
    sqlite3_close(db);
    fs::remove(path, ec);
    fs::remove(path + "-journal", ec);
    throw;
  }
  if (sqlite3_close(db) != SQLITE_OK) throw ETableError("Cannot close: " + path, path);
}

void TableStore::DeleteTable(const std::string& alias, const std::string& table) {
  const std::string path = TablePath(alias, table).string();
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) throw ETableError("Table does not exist: " + path, path);
  // Holding the exclusive lock proves that nobody has the table open.
  TableStore probe;
  probe.SetDatabase(alias);
  probe.SetTableName(table);
  probe.Open(TOpenMode::Exclusive);
  if (!fs::remove(path, ec) || ec)
    throw ETableError((ec ? ec.message() : std::string("cannot delete")) + ": " + path, path);
  fs::remove(path + "-journal", ec);
  probe.Close();
}

// ---- One open table ----

TableStore::~TableStore() {
  try {
    Close();
  } catch (...) {
  }
}

void TableStore::SetDatabase(const std::string& alias) {
  Close();
  alias_ = alias;
}

void TableStore::SetTableName(const std::string& table) {
  Close();
  table_ = table;
}

[[noreturn]] void TableStore::Fail(const std::string& message) const {
  throw ETableError(message + ": " + path_, path_);
}

void TableStore::Check(int rc, const char* what) const {
  if (rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE) return;
  std::string msg = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
  if (what) msg = std::string(what) + ": " + msg;
  Fail(msg);
}

void TableStore::Exec(const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    const std::string msg = err ? err : sqlite3_errmsg(db_);
    sqlite3_free(err);
    Fail(msg);
  }
}

void TableStore::Open(TOpenMode mode) {
  Close();
  path_ = TablePath(alias_, table_).string();
  std::error_code ec;
  if (!fs::is_regular_file(path_, ec)) Fail("Table does not exist");
  db_ = OpenFile(path_, SQLITE_OPEN_READWRITE);
  if (busy_) sqlite3_progress_handler(db_, kBusySteps, &TableStore::OnBusy, this);
  mode_ = mode;
  try {
    if (mode == TOpenMode::Exclusive) {
      // In exclusive locking mode the lock taken by the first write is kept until closing.
      Exec("PRAGMA locking_mode=EXCLUSIVE");
      Exec("BEGIN EXCLUSIVE");
      Exec("COMMIT");
    } else {
      BeginRead();
    }
    LoadFields();
  } catch (...) {
    Close();
    throw;
  }
}

void TableStore::BeginRead() {
  if (mode_ != TOpenMode::Shared || reading_) return;
  Exec("BEGIN");
  // A read is what takes the shared lock.
  Exec("SELECT count(*) FROM sqlite_master");
  reading_ = true;
}

void TableStore::EndRead() {
  ForgetPositions();
  if (!reading_) return;
  FinalizeCursor();
  reading_ = false;
  Exec("COMMIT");
}

void TableStore::LoadFields() {
  fields_.clear();
  nullable_.clear();
  primary_ = -1;
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, "SELECT name, type, pk, \"notnull\" FROM pragma_table_info('data')",
                           -1, &st, nullptr));
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    TFieldDef f;
    f.Name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    std::string type = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    for (char& c : type) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (type.starts_with("INT")) {
      f.Type = TFieldType::Integer;
    } else if (type == "REAL" || type == "FLOAT" || type == "DOUBLE") {
      f.Type = TFieldType::Float;
    } else {
      f.Type = TFieldType::String;
      if (const size_t p = type.find('('); p != std::string::npos)
        f.Size = std::atoi(type.c_str() + p + 1);
    }
    if (sqlite3_column_int(st, 2) == 1 && f.Type == TFieldType::Integer)
      primary_ = static_cast<int>(fields_.size());
    nullable_.push_back(sqlite3_column_int(st, 3) == 0 && sqlite3_column_int(st, 2) == 0);
    fields_.push_back(f);
  }
  sqlite3_finalize(st);
  Check(rc);
  if (fields_.empty()) Fail("Not a data file: it holds no table 'data'");
}

void TableStore::Close() {
  FinalizeCursor();
  for (sqlite3_stmt** statement : {&insert_, &replace_, &insertMany_}) {
    if (*statement) sqlite3_finalize(*statement);
    *statement = nullptr;
  }
  if (db_) {
    // Closing ends any transaction; an open write transaction is rolled back by the engine.
    sqlite3_close(db_);
    db_ = nullptr;
  }
  reading_ = false;
  inTransaction_ = false;
  eof_ = true;
  fields_.clear();
  nullable_.clear();
  primary_ = -1;
  ForgetPositions();
}

void TableStore::FinalizeCursor() {
  if (cursor_) sqlite3_finalize(cursor_);
  cursor_ = nullptr;
  eof_ = true;
}

void TableStore::SetBulkMode() {
  if (!Exclusive()) Fail("Bulk writing needs the table open exclusively");
  Exec("PRAGMA journal_mode=OFF");
  Exec("PRAGMA synchronous=OFF");
  // Making an index reads the whole table; mapped, its pages are read where they lie instead of
  // being copied through the engine's small cache, a fifth of the indices' work.
  Exec("PRAGMA mmap_size=1073741824");
}

// ---- Indices ----

void TableStore::AddIndex(const std::string& name, const std::string& fields) {
  if (!Active()) Fail("Table is not open");
  if (!PlainName(name)) Fail("Invalid index name '" + name + "'");
  const std::vector<std::string> list = SplitFields(fields);
  if (list.empty()) Fail("Index " + name + " has no fields");
  std::string cols;
  for (const std::string& c : list) {
    if (FieldIndex(c) < 0) Fail("Index " + name + " names a missing field '" + c + "'");
    cols += (cols.empty() ? "" : ", ") + Quoted(c);
  }
  const std::string sql =
      "CREATE INDEX " + Quoted(name) + " ON " + std::string(kTable) + " (" + cols + ")";
  const bool wasReading = reading_;
  EndRead();
  FinalizeCursor();
  try {
    Exec(sql.c_str());
  } catch (...) {
    if (wasReading) BeginRead();
    throw;
  }
  if (wasReading) BeginRead();
}

std::vector<std::string> TableStore::IndexNames() {
  if (!Active()) Fail("Table is not open");
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_,
                           "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='data' "
                           "AND sql IS NOT NULL ORDER BY rowid",
                           -1, &st, nullptr));
  std::vector<std::string> names;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW)
    names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  Check(rc);
  return names;
}

void TableStore::SetIndexName(const std::string& name) {
  if (!name.empty() && Active()) {
    const std::vector<std::string> names = IndexNames();
    if (std::find(names.begin(), names.end(), name) == names.end())
      Fail("Index " + name + " does not exist");
  }
  index_ = name;
  ForgetPositions();
}

std::vector<std::string> TableStore::ActiveKeyFields() {
  if (orderKnown_) return orderKeys_;
  std::vector<std::string> keys;
  if (index_.empty()) return keys;
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, "SELECT name FROM pragma_index_info(?) ORDER BY seqno", -1, &st,
                           nullptr));
  sqlite3_bind_text(st, 1, index_.c_str(), -1, SQLITE_TRANSIENT);
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW)
    keys.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
  sqlite3_finalize(st);
  Check(rc);
  if (keys.empty()) Fail("Index " + index_ + " does not exist");
  return keys;
}

const std::vector<std::string>& TableStore::OrderKeys() {
  if (!orderKnown_) {
    orderKeys_ = ActiveKeyFields();
    orderComparable_ = std::all_of(orderKeys_.begin(), orderKeys_.end(), [&](const std::string& k) {
      const int f = FieldIndex(k);
      return f >= 0 && !nullable_[size_t(f)];
    });
    orderKnown_ = true;
  }
  return orderKeys_;
}

// ---- Cursor ----

void TableStore::Seek(const std::string& where, const std::vector<TFieldValue>& keys) {
  if (!Active()) Fail("Table is not open");
  FinalizeCursor();
  std::string sql = "SELECT ";
  for (const TFieldDef& f : fields_) sql += Quoted(f.Name) + ", ";
  sql += std::string("rowid FROM ") + kTable;
  if (!where.empty()) sql += " WHERE " + where;
  sql += " ORDER BY ";
  for (const std::string& k : ActiveKeyFields()) sql += Quoted(k) + ", ";
  sql += "rowid";
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &cursor_, nullptr));
  for (size_t i = 0; i < keys.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    if (const auto* v = std::get_if<int64_t>(&keys[i]))
      sqlite3_bind_int64(cursor_, n, *v);
    else if (const auto* d = std::get_if<double>(&keys[i]))
      sqlite3_bind_double(cursor_, n, *d);
    else if (const auto* s = std::get_if<std::string>(&keys[i]))
      sqlite3_bind_text(cursor_, n, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
  }
  Step();
}

void TableStore::Step() {
  if (!cursor_) {
    eof_ = true;
    return;
  }
  const int rc = sqlite3_step(cursor_);
  if (rc == SQLITE_ROW) {
    eof_ = false;
    return;
  }
  eof_ = true;
  Check(rc);
}

void TableStore::First() {
  Seek("", {});
}

void TableStore::Next() {
  if (!eof_) Step();
}

bool TableStore::ForEachRowNumbers(const std::vector<int>& fields,
                                   const std::function<bool(const double* values)>& row) {
  if (!Active()) Fail("Table is not open");
  std::string sql = "SELECT ";
  for (int f : fields) sql += Quoted(fields_.at(size_t(f)).Name) + ", ";
  sql += std::string("rowid FROM ") + kTable + " ORDER BY ";
  for (const std::string& k : ActiveKeyFields()) sql += Quoted(k) + ", ";
  sql += "rowid";
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr));
  std::vector<double> values(fields.size());
  const int n = int(fields.size());
  int rc;
  bool completed = true;
  try {
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      for (int i = 0; i < n; ++i) values[size_t(i)] = sqlite3_column_double(st, i);
      if (!row(values.data())) {
        completed = false;
        rc = SQLITE_DONE;
        break;
      }
    }
  } catch (...) {
    sqlite3_finalize(st);
    throw;
  }
  sqlite3_finalize(st);
  Check(rc);
  return completed;
}

int64_t TableStore::RecordCount() {
  if (!Active()) Fail("Table is not open");
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, "SELECT count(*) FROM data", -1, &st, nullptr));
  const int rc = sqlite3_step(st);
  const int64_t n = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
  sqlite3_finalize(st);
  Check(rc);
  return n;
}

int TableStore::FieldIndex(const std::string& name) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (SameName(fields_[i].Name, name)) return static_cast<int>(i);
  return -1;
}

int TableStore::NeedField(const std::string& name) const {
  if (!Active()) Fail("Table is not open");
  const int i = FieldIndex(name);
  if (i < 0) Fail("Field '" + name + "' not found");
  return i;
}

void TableStore::RequireRow() const {
  if (!Active()) Fail("Table is not open");
  if (eof_ || !cursor_) Fail("No current record");
}

int64_t TableStore::IntegerAt(int field) const {
  RequireRow();
  return sqlite3_column_int64(cursor_, field);
}

double TableStore::FloatAt(int field) const {
  RequireRow();
  return sqlite3_column_double(cursor_, field);
}

std::string TableStore::StringAt(int field) const {
  RequireRow();
  const unsigned char* t = sqlite3_column_text(cursor_, field);
  return t ? std::string(reinterpret_cast<const char*>(t),
                         static_cast<size_t>(sqlite3_column_bytes(cursor_, field)))
           : std::string();
}

int64_t TableStore::FieldAsInteger(const std::string& name) const {
  return IntegerAt(NeedField(name));
}

double TableStore::FieldAsFloat(const std::string& name) const {
  return FloatAt(NeedField(name));
}

std::string TableStore::FieldAsString(const std::string& name) const {
  return StringAt(NeedField(name));
}

bool TableStore::FindNearest(const std::string& text) {
  if (!Active()) Fail("Table is not open");
  const std::vector<std::string> keys = ActiveKeyFields();
  const std::string key = keys.empty() ? "rowid" : keys[0];
  const int f = keys.empty() ? primary_ : FieldIndex(key);
  const bool numeric = keys.empty() || (f >= 0 && fields_[f].Type != TFieldType::String);
  TFieldValue value = text;
  if (numeric) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double d = std::strtod(begin, &end);
    while (end && *end == ' ') ++end;
    if (text.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(d))
      throw EConvertError("'" + text + "' is not a valid floating point value");
    value = d;
  }
  Seek((key == "rowid" ? key : Quoted(key)) + " >= ?", {value});
  return !eof_;
}

bool TableStore::FindFirst(const std::string& condition, const std::vector<TFieldValue>& values) {
  Seek(condition, values);
  return !eof_;
}

TBookmark TableStore::GetBookmark() const {
  RequireRow();
  return sqlite3_column_int64(cursor_, static_cast<int>(fields_.size()));
}

void TableStore::GotoBookmark(TBookmark bookmark) {
  if (!Active()) Fail("Table is not open");
  const std::vector<std::string> keys = ActiveKeyFields();
  std::string sql = "SELECT ";
  for (const std::string& k : keys) sql += Quoted(k) + ", ";
  sql += "rowid FROM data WHERE rowid = ?";
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr));
  sqlite3_bind_int64(st, 1, bookmark);
  const int rc = sqlite3_step(st);
  if (rc != SQLITE_ROW) {
    sqlite3_finalize(st);
    Check(rc);
    Fail("Record not found (bookmark " + std::to_string(bookmark) + ")");
  }
  OrderKeys();
  if (!orderComparable_) {
    // Keys that may be NULL cannot be placed by row comparisons: walk the order to the row.
    sqlite3_finalize(st);
    Seek("", {});
    while (!eof_ && GetBookmark() != bookmark) Step();
    if (eof_) Fail("Record not found (bookmark " + std::to_string(bookmark) + ")");
    return;
  }
  std::vector<TFieldValue> values;
  std::string lhs, rhs;
  for (size_t i = 0; i <= keys.size(); ++i) {
    const int c = static_cast<int>(i);
    switch (sqlite3_column_type(st, c)) {
      case SQLITE_INTEGER:
        values.emplace_back(int64_t{sqlite3_column_int64(st, c)});
        break;
      case SQLITE_FLOAT:
        values.emplace_back(sqlite3_column_double(st, c));
        break;
      default: {
        const unsigned char* t = sqlite3_column_text(st, c);
        values.emplace_back(std::string(t ? reinterpret_cast<const char*>(t) : ""));
      }
    }
    lhs += (i ? ", " : "") + (i < keys.size() ? Quoted(keys[i]) : std::string("rowid"));
    rhs += i ? ", ?" : "?";
  }
  sqlite3_finalize(st);
  Seek("(" + lhs + ") >= (" + rhs + ")", values);
}

// ---- Writing ----

void TableStore::StartTransaction() {
  if (!Active()) Fail("Table is not open");
  if (inTransaction_) Fail("A transaction is active already");
  EndRead();
  Exec("BEGIN IMMEDIATE");
  inTransaction_ = true;
}

void TableStore::Commit() {
  if (!inTransaction_) Fail("No active transaction");
  Exec("COMMIT");
  inTransaction_ = false;
  BeginRead();
}

void TableStore::Rollback() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  Exec("ROLLBACK");
  BeginRead();
}

void TableStore::AppendRecord(const std::vector<TFieldValue>& values) {
  WriteRecord(std::span<const TFieldValue>(values), insert_, "INSERT");
}

void TableStore::ReplaceRecord(const std::vector<TFieldValue>& values) {
  WriteRecord(std::span<const TFieldValue>(values), replace_, "INSERT OR REPLACE");
}

void TableStore::AppendRow(std::span<const TFieldView> values) {
  WriteRecord(values, insert_, "INSERT");
}

void TableStore::ReplaceRow(std::span<const TFieldView> values) {
  WriteRecord(values, replace_, "INSERT OR REPLACE");
}

template <typename Value>
void TableStore::BindField(sqlite3_stmt* statement, int n, size_t field, const Value& v) {
  using Text = std::variant_alternative_t<3, Value>;
  const TFieldDef& f = fields_[field];
  auto wrong = [&]() { Fail("Wrong type of value for field '" + f.Name + "'"); };
  switch (f.Type) {
    case TFieldType::Integer:
      if (const auto* x = std::get_if<int64_t>(&v)) {
        if (*x < INT32_MIN || *x > INT32_MAX) Fail("Value out of range for field '" + f.Name + "'");
        sqlite3_bind_int64(statement, n, *x);
      } else if (std::holds_alternative<std::monostate>(v)) {
        if (static_cast<int>(field) == primary_) Fail("The primary key needs a value");
        sqlite3_bind_int64(statement, n, 0);
      } else {
        wrong();
      }
      break;
    case TFieldType::Float:
      if (const auto* x = std::get_if<double>(&v))
        sqlite3_bind_double(statement, n, *x);
      else if (const auto* k = std::get_if<int64_t>(&v))
        sqlite3_bind_double(statement, n, static_cast<double>(*k));
      else if (std::holds_alternative<std::monostate>(v))
        sqlite3_bind_double(statement, n, 0);
      else
        wrong();
      break;
    case TFieldType::String:
      // The values outlive the step, after which the bindings are cleared: the engine may read
      // the text where it is.
      if (const auto* s = std::get_if<Text>(&v))
        sqlite3_bind_text(statement, n, s->data(), static_cast<int>(s->size()), SQLITE_STATIC);
      else if (std::holds_alternative<std::monostate>(v))
        sqlite3_bind_text(statement, n, "", 0, SQLITE_STATIC);
      else
        wrong();
      break;
  }
}

template <typename Value>
void TableStore::WriteRecord(std::span<const Value> values, sqlite3_stmt*& statement,
                             const char* verb, size_t rows) {
  if (!Active()) Fail("Table is not open");
  const size_t n = fields_.size();
  if (values.size() != rows * n)
    Fail("Wrong number of values: " + std::to_string(values.size()) + " for " +
         (rows == 1 ? "" : std::to_string(rows) + " rows of ") + std::to_string(n) + " fields");
  ForgetPositions();
  const bool own = !inTransaction_;
  if (own) StartTransaction();
  try {
    if (!statement) {
      std::string sql = std::string(verb) + " INTO " + kTable + " VALUES ";
      for (size_t r = 0; r < rows; ++r) {
        sql += r ? ", (" : "(";
        for (size_t i = 0; i < n; ++i) sql += i ? ", ?" : "?";
        sql += ")";
      }
      Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr));
    }
    for (size_t i = 0; i < values.size(); ++i)
      BindField(statement, static_cast<int>(i) + 1, i % n, values[i]);
    const int rc = sqlite3_step(statement);
    const std::string msg = rc == SQLITE_DONE ? std::string() : sqlite3_errmsg(db_);
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (rc != SQLITE_DONE) Fail(msg);
  } catch (...) {
    if (statement) {
      sqlite3_reset(statement);
      sqlite3_clear_bindings(statement);
    }
    if (own) Rollback();
    throw;
  }
  if (own) Commit();
}

void TableStore::AppendRows(std::span<const TFieldView> values) {
  if (!Active()) Fail("Table is not open");
  const size_t n = fields_.size(), rows = values.size() / n;
  if (values.empty() || values.size() % n != 0)
    Fail("Wrong number of values: " + std::to_string(values.size()) + " for rows of " +
         std::to_string(n) + " fields");
  const bool own = !inTransaction_;
  if (own) StartTransaction();
  try {
    size_t row = 0;
    for (; rows - row >= kRowsPerStatement; row += kRowsPerStatement)
      WriteRecord(values.subspan(row * n, kRowsPerStatement * n), insertMany_, "INSERT",
                  kRowsPerStatement);
    // The rest, one statement for the few rows that remain.
    for (; row < rows; ++row) WriteRecord(values.subspan(row * n, n), insert_, "INSERT");
  } catch (...) {
    if (own) Rollback();
    throw;
  }
  if (own) Commit();
}

// ---- Rows by position ----

namespace {

void BindValues(sqlite3_stmt* st, const std::vector<TFieldValue>& values) {
  for (size_t i = 0; i < values.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    if (const auto* v = std::get_if<int64_t>(&values[i]))
      sqlite3_bind_int64(st, n, *v);
    else if (const auto* d = std::get_if<double>(&values[i]))
      sqlite3_bind_double(st, n, *d);
    else if (const auto* s = std::get_if<std::string>(&values[i]))
      sqlite3_bind_text(st, n, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else
      sqlite3_bind_null(st, n);
  }
}

TFieldValue ColumnValue(sqlite3_stmt* st, int c) {
  switch (sqlite3_column_type(st, c)) {
    case SQLITE_INTEGER:
      return int64_t{sqlite3_column_int64(st, c)};
    case SQLITE_FLOAT:
      return sqlite3_column_double(st, c);
    case SQLITE_NULL:
      return std::monostate{};
    default: {
      const unsigned char* t = sqlite3_column_text(st, c);
      return std::string(t ? reinterpret_cast<const char*>(t) : "",
                         static_cast<size_t>(sqlite3_column_bytes(st, c)));
    }
  }
}

}  // namespace

void TableStore::ForgetPositions() {
  positionsTotal_ = -1;
  orderKnown_ = false;
  orderKeys_.clear();
  anchors_.clear();
}

int64_t TableStore::PositionsTotal() {
  if (positionsTotal_ < 0) positionsTotal_ = RecordCount();
  return positionsTotal_;
}

bool TableStore::RowKey(const TRow& row, std::vector<TFieldValue>& key) {
  key.clear();
  for (const std::string& k : OrderKeys()) {
    const int f = FieldIndex(k);
    if (f < 0 || std::holds_alternative<std::monostate>(row.Values[size_t(f)])) return false;
    key.push_back(row.Values[size_t(f)]);
  }
  key.emplace_back(row.Bookmark);
  return true;
}

// The key of the row at `position`, found by stepping over the rows between it and the
// nearest end or remembered row. Only the index is read on the way; empty when a key
// holds NULL.
std::vector<TFieldValue> TableStore::KeyAt(int64_t position) {
  const int64_t total = PositionsTotal();
  if (auto it = anchors_.find(position); it != anchors_.end()) return it->second;
  // Where to start counting: an end (no key) or a remembered row.
  bool forward = true;
  int64_t skip = position;
  const std::vector<TFieldValue>* from = nullptr;
  if (total - 1 - position < skip) {
    forward = false;
    skip = total - 1 - position;
  }
  auto above = anchors_.lower_bound(position);
  if (above != anchors_.end() && above->first - position < skip) {
    forward = false;
    skip = above->first - position;
    from = &above->second;
  }
  if (above != anchors_.begin()) {
    auto below = std::prev(above);
    if (position - below->first < skip) {
      forward = true;
      skip = position - below->first;
      from = &below->second;
    }
  }
  std::string keys, order;
  for (const std::string& k : OrderKeys()) {
    keys += Quoted(k) + ", ";
    order += Quoted(k) + (forward ? ", " : " DESC, ");
  }
  keys += "rowid";
  order += forward ? "rowid" : "rowid DESC";
  std::string sql = "SELECT " + keys + " FROM " + kTable;
  if (from) {
    std::string marks;
    for (size_t i = 0; i < from->size(); ++i) marks += i ? ", ?" : "?";
    sql += " WHERE (" + keys + (forward ? ") >= (" : ") <= (") + marks + ")";
  }
  sql += " ORDER BY " + order + " LIMIT 1 OFFSET " + std::to_string(skip);
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr));
  if (from) BindValues(st, *from);
  const int rc = sqlite3_step(st);
  std::vector<TFieldValue> key;
  if (rc == SQLITE_ROW) {
    for (int c = 0; c < sqlite3_column_count(st); ++c) {
      key.push_back(ColumnValue(st, c));
      if (std::holds_alternative<std::monostate>(key.back())) {
        key.clear();
        break;
      }
    }
  }
  sqlite3_finalize(st);
  Check(rc);
  if (rc != SQLITE_ROW) Fail("Record " + std::to_string(position) + " not found");
  return key;
}

std::vector<TableStore::TRow> TableStore::ReadRows(int64_t first, int64_t count) {
  if (!Active()) Fail("Table is not open");
  std::vector<TRow> rows;
  const int64_t total = PositionsTotal();
  if (first < 0 || count <= 0 || first >= total) return rows;
  count = std::min(count, total - first);

  std::string sql = "SELECT ";
  for (const TFieldDef& f : fields_) sql += Quoted(f.Name) + ", ";
  sql += std::string("rowid FROM ") + kTable;
  std::string keys, order;
  for (const std::string& k : OrderKeys()) {
    keys += Quoted(k) + ", ";
    order += Quoted(k) + ", ";
  }
  keys += "rowid";
  order += "rowid";
  std::vector<TFieldValue> from;
  if (first > 0 && orderComparable_) from = KeyAt(first);
  std::string tail = " ORDER BY " + order + " LIMIT " + std::to_string(count);
  if (!from.empty()) {
    std::string marks;
    for (size_t i = 0; i < from.size(); ++i) marks += i ? ", ?" : "?";
    sql += " WHERE (" + keys + ") >= (" + marks + ")";
  } else if (first > 0) {
    // Keys that may be NULL cannot be placed by row comparisons: count from the first row.
    tail += " OFFSET " + std::to_string(first);
  }
  sql += tail;

  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr));
  BindValues(st, from);
  const int n = static_cast<int>(fields_.size());
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    TRow row;
    row.Values.reserve(size_t(n));
    for (int c = 0; c < n; ++c) row.Values.push_back(ColumnValue(st, c));
    row.Bookmark = sqlite3_column_int64(st, n);
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(st);
  Check(rc);

  if (anchors_.size() > kMostAnchors) anchors_.clear();
  std::vector<TFieldValue> key;
  if (!rows.empty() && RowKey(rows.front(), key)) anchors_[first] = key;
  if (rows.size() > 1 && RowKey(rows.back(), key))
    anchors_[first + static_cast<int64_t>(rows.size()) - 1] = key;
  return rows;
}

int64_t TableStore::CurrentPosition() {
  RequireRow();
  OrderKeys();
  if (!orderComparable_) {
    // Keys that may be NULL: walk the order up to the row.
    std::string sql = std::string("SELECT rowid FROM ") + kTable + " ORDER BY ";
    for (const std::string& k : OrderKeys()) sql += Quoted(k) + ", ";
    sql += "rowid";
    sqlite3_stmt* st = nullptr;
    Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr));
    const TBookmark row = GetBookmark();
    int64_t position = 0;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW && sqlite3_column_int64(st, 0) != row) ++position;
    sqlite3_finalize(st);
    Check(rc);
    return position;
  }
  std::string keys, marks;
  std::vector<TFieldValue> key;
  for (const std::string& k : OrderKeys()) {
    const int f = NeedField(k);
    TFieldValue v = ColumnValue(cursor_, f);
    if (std::holds_alternative<std::monostate>(v)) Fail("The current record has no key");
    key.push_back(std::move(v));
    keys += Quoted(k) + ", ";
    marks += "?, ";
  }
  key.emplace_back(GetBookmark());
  const std::string sql = std::string("SELECT count(*) FROM ") + kTable + " WHERE (" + keys +
                          "rowid) < (" + marks + "?)";
  sqlite3_stmt* st = nullptr;
  Check(sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr));
  BindValues(st, key);
  const int rc = sqlite3_step(st);
  const int64_t position = rc == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
  sqlite3_finalize(st);
  Check(rc);
  anchors_[position] = key;
  return position;
}

void TableStore::SetBusyHandler(std::function<bool()> handler) {
  busy_ = std::move(handler);
  if (db_)
    sqlite3_progress_handler(db_, busy_ ? kBusySteps : 0, busy_ ? &TableStore::OnBusy : nullptr,
                             this);
}

int TableStore::OnBusy(void* self) {
  auto* table = static_cast<TableStore*>(self);
  try {
    return table->busy_ && !table->busy_() ? 1 : 0;
  } catch (...) {
    return 1;
  }
}

}  // namespace kestrova
