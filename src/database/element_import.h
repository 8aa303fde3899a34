// Import of published element files into data files: the minor-planet export format
// (MPCORB.DAT and its extracts) and the one-line comet format (CometEls.txt).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "numerics/errors.h"

namespace kestrova {

enum class TElementFormat { Mpcorb, Comets };

// The largest semi-major axis (AU) an imported orbit may have: far beyond the Oort cloud, where
// the Sun no longer holds a body. A larger one is skipped as out of range.
inline constexpr double kMaxSemiMajorAxis = 1e6;

// One body of an element file, in the units of the data files' fields. No is 0 for a body
// without a number (the import gives it a running negative number).
struct TElementRow {
  int64_t No = 0;
  std::string Name;
  double M = 0, NW = 0, OHM = 0, I = 0, E = 0, A = 0, Date = 0;
  std::string Class, IsNea = "N", IsPha = "N", Reference, Computer;
};

// Parse one line; return nullptr and fill row, or return why the line is skipped.
const char* ParseMpcorbLine(const std::string& line, TElementRow& row);
const char* ParseCometLine(const std::string& line, TElementRow& row);

// The number of a packed minor-planet number ("00001", "A0001" = 100001, "~0000" = 620000),
// or -1 when text is not one.
int64_t UnpackNumber(std::string_view packed);
// Julian date (0h) of a packed epoch such as "K24AH" (2024 October 17), or -1 when the text
// is not a valid date.
double UnpackEpoch(std::string_view packed);

// The name a format has on command lines and in messages: "mpcorb" or "comets".
const char* FormatName(TElementFormat format);

// The format of element lines, found by reading them with both parsers: the one that reads
// more of them, or nothing when neither reads one.
std::optional<TElementFormat> DetectElementFormat(const std::vector<std::string>& lines);
// The same over the first kDetectionLines lines of a file (plain or gzip). Raises the
// reader's errors (a file that cannot be read, damaged compressed data).
inline constexpr size_t kDetectionLines = 1000;
std::optional<TElementFormat> DetectElementFormat(const std::filesystem::path& file);

// Where an import stands, for a progress display.
struct TImportProgress {
  enum class TStage { Reading, Indexing };
  TStage Stage = TStage::Reading;
  int64_t Rows = 0;         // rows imported so far
  uint64_t BytesRead = 0;   // of the file (compressed bytes for a .gz file)
  uint64_t BytesTotal = 0;  // the file's size; 0 for a pipe
  int Percent = 0;          // of the stage: the file read, or the indices made
};

// "Import cancelled": the progress callback asked to stop.
class EImportCancelled : public EKestrovaError {
 public:
  EImportCancelled() : EKestrovaError("Import cancelled") {}
};

struct TImportOptions {
  // Without a format, it is found from the first lines of the file (DetectElementFormat).
  std::optional<TElementFormat> Format = TElementFormat::Mpcorb;
  std::string Alias = "MPC";
  std::string Table;  // ".db" is appended when missing
  bool Replace = false;
  // Called at the start and end of each stage, every few thousand lines while reading and
  // several times a second while the indices are made. Returning false cancels the import:
  // it then raises EImportCancelled, with the old table as it was and no new file left.
  std::function<bool(const TImportProgress&)> Progress;
};

// Lines skipped for one reason: how many, and the first few line numbers (counted from 1).
struct TSkipReason {
  std::string Reason;
  int64_t Count = 0;
  std::vector<int64_t> FirstLines;
  friend bool operator==(const TSkipReason&, const TSkipReason&) = default;
};
inline constexpr size_t kFirstLinesPerReason = 5;

struct TImportResult {
  std::filesystem::path TableFile;
  TElementFormat ReadAs = TElementFormat::Mpcorb;  // the format the lines were read in
  int64_t Rows = 0;                                // one per body
  int64_t Skipped = 0;
  std::vector<TSkipReason> Reasons;  // by reason, in alphabetical order
  // Lines of a body (the same number, or the same designation without one) that came before:
  // each replaced the row of the earlier line. The first few of them by number.
  int64_t Duplicates = 0;
  std::vector<int64_t> DuplicateLines;
  // One line: rows imported, lines skipped by reason with their first line numbers, and the
  // duplicates, as "Imported 7 rows into X; skipped 3 lines (bad epoch: 2 at lines 9, 12; too
  // short: 1 at line 4); 1 duplicate replaced the row of an earlier line (at line 17)".
  std::string Summary() const;
  // The part about skipped lines ("skipped 3 lines (...)"), empty when none was skipped.
  std::string SkippedText() const;
};

// Why a name cannot be the name of a new table, or nullptr when it can: empty or only blanks,
// "." or "..", a hidden name (leading "."), a folder separator, a quote or a control character.
const char* TableNameProblem(const std::string& name);

// Removes from the folder the temporary tables of imports whose process no longer exists
// (killed, or stopped by a power cut); returns how many files went.
int RemoveStaleImports(const std::filesystem::path& folder);

// From this size on (compressed bytes for a gzip file) a file is read and parsed on a second
// thread while the rows are written; smaller files, pipes and devices are read a line at a time.
inline constexpr uint64_t kReadAheadBytes = 256 * 1024;

// Reads the element file (plain or gzip) and writes the table NAME.db of the alias with every
// field and index of a data file. The table is built aside and put in place only when
// complete, so a failure or a cancellation leaves no half table (nor touches a table being
// replaced); SIGINT, SIGTERM and SIGHUP remove it too. Lines that cannot be read are skipped
// and counted by reason: among them lines longer than kMaxElementLine, and lines with zero
// bytes ("binary data"; before the first element line such a line ends the reading). Raises
// EKestrovaError for a bad table name, an unreadable or damaged file, an existing table
// without Replace (or one that is no regular file), a file in which no line is an element line
// ("no element lines of format F in FILE", the skipped lines after it), and a failing engine;
// EImportCancelled when the progress callback asks to stop.
TImportResult ImportElements(const std::filesystem::path& file, const TImportOptions& options);

}  // namespace kestrova
