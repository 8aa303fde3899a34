// TableStore: the table engine behind the minor-body data files. A database alias names a
// folder; a table is one SQLite file in it, holding one table of typed fields with a primary
// index and named secondary indices. Every engine failure is raised as ETableError carrying
// SQLite's message and the file's name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "numerics/errors.h"

struct sqlite3;
struct sqlite3_stmt;

namespace kestrova {

// A failure of the table engine: what() is the engine's message followed by the file's name.
class ETableError : public EKestrovaError {
 public:
  ETableError(const std::string& text, std::string file)
      : EKestrovaError(text), file_(std::move(file)) {}
  const std::string& File() const { return file_; }

 private:
  std::string file_;
};

enum class TFieldType { Integer, Float, String };

// A field of a table. Size is the most characters a String field holds (enforced on every
// write); it is unused for the other types.
struct TFieldDef {
  std::string Name;
  TFieldType Type = TFieldType::Integer;
  int Size = 0;
  friend bool operator==(const TFieldDef&, const TFieldDef&) = default;
};

// An index: an empty Name is the primary index, which must be one Integer field and is unique;
// named indices are ascending, not unique and case-sensitive. Fields is the field list
// separated by ";" (a trailing ";" is allowed).
struct TIndexDef {
  std::string Name;
  std::string Fields;
};

// One value of a row to append, in the order of the table's fields. monostate stores the
// field's empty value (0 or "").
using TFieldValue = std::variant<std::monostate, int64_t, double, std::string>;
// The same with the text viewed instead of held: a bulk writer keeps one row's values in its
// own buffers and hands them over without a copy. The text must stay valid during the call.
using TFieldView = std::variant<std::monostate, int64_t, double, std::string_view>;

// A row's place that survives index changes: its primary key.
using TBookmark = int64_t;

enum class TOpenMode { Shared, Exclusive };

class TableStore {
 public:
  // Table names of an alias: the files ending in ".db" (hidden files left out), sorted by
  // name so that every listing gives the same order.
  static std::vector<std::string> ListTables(const std::string& alias);
  // Creates the table with its fields and indices; the file must not exist yet.
  static void CreateTable(const std::string& alias, const std::string& table,
                          const std::vector<TFieldDef>& fields,
                          const std::vector<TIndexDef>& indices);
  // Deletes the table's file; raises when the table is missing or open elsewhere.
  static void DeleteTable(const std::string& alias, const std::string& table);
  // The file of a table. Raises ETableError when the name is not a plain file name.
  static std::filesystem::path TablePath(const std::string& alias, const std::string& table);

  TableStore() = default;
  ~TableStore();
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  // Alias and table name; changing either closes the table.
  void SetDatabase(const std::string& alias);
  void SetTableName(const std::string& table);
  const std::string& DatabaseName() const { return alias_; }
  const std::string& TableName() const { return table_; }

  // Shared opens of one table may coexist; an exclusive open excludes every other open, in
  // this process or another. Opening an open table reopens it in the new mode.
  void Open(TOpenMode mode = TOpenMode::Shared);
  void Close();
  bool Active() const { return db_ != nullptr; }
  bool Exclusive() const { return Active() && mode_ == TOpenMode::Exclusive; }

  const std::vector<TFieldDef>& Fields() const { return fields_; }
  bool HasField(const std::string& name) const { return FieldIndex(name) >= 0; }

  // Adds a named index; raises when an index of that name exists.
  void AddIndex(const std::string& name, const std::string& fields);
  // Named indices in the order they were added.
  std::vector<std::string> IndexNames();
  // The active index; "" is the primary index. Rows follow its order from the next First(),
  // FindNearest() or GotoBookmark() on; a name that does not exist raises.
  void SetIndexName(const std::string& name);
  const std::string& IndexName() const { return index_; }

  // Cursor over the rows in the active index's order (ties in primary-key order).
  void First();
  void Next();
  bool Eof() const { return eof_; }
  int64_t RecordCount();

  // Fields of the current row, by name (any letter case). Raise when there is no current row
  // or no such field; a text that is not a number reads as 0, as the engine converts it.
  int64_t FieldAsInteger(const std::string& name) const;
  double FieldAsFloat(const std::string& name) const;
  std::string FieldAsString(const std::string& name) const;
  // The same by position in Fields(), for callers that read every row.
  int64_t IntegerAt(int field) const;
  double FloatAt(int field) const;
  std::string StringAt(int field) const;
  int FieldIndex(const std::string& name) const;

  // Makes the first row whose key on the active index is equal to or sorts after text the
  // current row (Eof when there is none). Only the index's first field is compared; for a
  // numeric field the text must be a number. Returns !Eof().
  bool FindNearest(const std::string& text);
  // Makes the first row, in the active index's order, for which `condition` holds the current
  // row (Eof when there is none): an expression of the engine's query language over the
  // fields, with a ? for each of `values`. Next() goes on among the rows for which it holds.
  // Returns !Eof().
  bool FindFirst(const std::string& condition, const std::vector<TFieldValue>& values);
  TBookmark GetBookmark() const;
  // Makes the bookmarked row current, so that Next() goes on in the active order from it.
  // Raises when the row no longer exists.
  void GotoBookmark(TBookmark bookmark);

  // Writing. Rows are appended in field order; a string longer than its field's size, a
  // duplicate primary key or a wrong count of values raises. Outside a transaction each
  // append is its own transaction. On a shared open, writing (AddIndex too) ends the cursor:
  // call First() again.
  void StartTransaction();
  void Commit();
  void Rollback();
  bool InTransaction() const { return inTransaction_; }
  void AppendRecord(const std::vector<TFieldValue>& values);
  // The same, except that a row with the same primary key is replaced instead of refused.
  void ReplaceRecord(const std::vector<TFieldValue>& values);
  // AppendRecord and ReplaceRecord with viewed values, for writing millions of rows: nothing is
  // copied or allocated per row.
  void AppendRow(std::span<const TFieldView> values);
  void ReplaceRow(std::span<const TFieldView> values);
  // Appends whole rows one after the other (the values of the first row, then of the second),
  // several rows with one statement, which is several times less work for the engine.
  void AppendRows(std::span<const TFieldView> values);
  // Turns off the rollback journal and waiting for the disk on an exclusively open table, and
  // reads it through a memory map: for a file that is built aside and thrown away when writing
  // it fails.
  void SetBulkMode();

  // Every row's `fields` (positions in Fields()) as numbers, in the active index's order, read
  // by one statement that reads nothing else (a whole catalogue for drawing). row(values) gets
  // them in the order of `fields`; when it returns false the reading stops and false is
  // returned. The cursor is left as it was.
  bool ForEachRowNumbers(const std::vector<int>& fields,
                         const std::function<bool(const double* values)>& row);

  // ---- Rows by position, for a grid that shows a part of a large table. Position 0 is the
  // first row in the active index's order. These reads neither move nor end the cursor.

  struct TRow {
    TBookmark Bookmark = 0;
    std::vector<TFieldValue> Values;  // in the order of Fields()
  };
  // Up to `count` rows from position `first` on. The work grows with the distance from the
  // nearer end of the table or from the nearest row read before, not with the table's size.
  std::vector<TRow> ReadRows(int64_t first, int64_t count);
  // The position of the current row; raises when there is none.
  int64_t CurrentPosition();

  // Long engine work (making an index, reading or counting many rows) calls `handler` every
  // few milliseconds; when it returns false the work stops and raises ETableError. Kept
  // across opens; an empty handler is never called.
  void SetBusyHandler(std::function<bool()> handler);

 private:
  void Check(int rc, const char* what = nullptr) const;
  [[noreturn]] void Fail(const std::string& message) const;
  void Exec(const char* sql);
  // Binds a value of the field to parameter n of the statement, checked as writes are.
  template <typename Value>
  void BindField(sqlite3_stmt* statement, int n, size_t field, const Value& value);
  // Writes `rows` whole rows with the statement, which is prepared on first use.
  template <typename Value>
  void WriteRecord(std::span<const Value> values, sqlite3_stmt*& statement, const char* verb,
                   size_t rows = 1);
  void LoadFields();
  void Seek(const std::string& where, const std::vector<TFieldValue>& keys);
  void Step();
  void FinalizeCursor();
  std::vector<std::string> ActiveKeyFields();
  void RequireRow() const;
  int NeedField(const std::string& name) const;
  // Shared opens keep a read transaction so that the shared lock stays held; writes end it
  // for their duration.
  void BeginRead();
  void EndRead();
  // The positions read so far no longer hold: the order or the rows changed.
  void ForgetPositions();
  const std::vector<std::string>& OrderKeys();
  int64_t PositionsTotal();
  // The key of the active order (its fields, then rowid) of a row read by ReadRows; false when
  // a part of it is NULL, which row comparisons cannot place.
  bool RowKey(const TRow& row, std::vector<TFieldValue>& key);
  std::vector<TFieldValue> KeyAt(int64_t position);
  static int OnBusy(void* self);

  std::string alias_;
  std::string table_;
  std::string path_;
  std::string index_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* cursor_ = nullptr;
  sqlite3_stmt* insert_ = nullptr;
  sqlite3_stmt* replace_ = nullptr;
  sqlite3_stmt* insertMany_ = nullptr;
  TOpenMode mode_ = TOpenMode::Shared;
  std::vector<TFieldDef> fields_;
  int primary_ = -1;  // field of the primary index, -1 for none
  bool eof_ = true;
  bool reading_ = false;
  bool inTransaction_ = false;
  // ReadRows' memory: the number of rows, the active order's key fields, and the keys of rows
  // at known positions, from which the next read counts on instead of from an end.
  int64_t positionsTotal_ = -1;
  std::vector<std::string> orderKeys_;
  bool orderKnown_ = false;
  // Whether no key field of the order may hold NULL, so that row comparisons place every row.
  bool orderComparable_ = false;
  std::vector<bool> nullable_;  // per field
  std::map<int64_t, std::vector<TFieldValue>> anchors_;
  std::function<bool()> busy_;
};

}  // namespace kestrova
