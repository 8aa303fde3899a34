// Import of published element files into data files: the minor-planet export format
// (MPCORB.DAT and its extracts) and the one-line comet format (CometEls.txt).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

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
int64_t UnpackNumber(const std::string& packed);
// Julian date (0h) of a packed epoch such as "K24AH" (2024 October 17), or -1 when the text
// is not a valid date.
double UnpackEpoch(const std::string& packed);

struct TImportOptions {
  TElementFormat Format = TElementFormat::Mpcorb;
  std::string Alias = "MPC";
  std::string Table;  // ".db" is appended when missing
  bool Replace = false;
  // Called when the stage ("reading" with the percent of the file read, or "indexing" with
  // the percent of the indices made) moves on.
  std::function<void(const char* stage, int percent)> Progress;
};

struct TImportResult {
  std::filesystem::path TableFile;
  int64_t Rows = 0;
  int64_t Skipped = 0;
  std::vector<std::pair<std::string, int64_t>> Reasons;  // why lines were skipped, how often
  std::vector<int64_t> FirstSkippedLines;                // the first ten, numbered from 1
  // One line: rows imported, lines skipped with their reasons and first line numbers.
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

// Reads the element file and writes the table NAME.db of the alias with every field and
// index of a data file. The table is built aside and put in place only when complete, so a
// failure leaves no half table (nor touches a table being replaced); SIGINT, SIGTERM and SIGHUP
// remove it too. Lines that cannot be read are skipped and counted: lines longer than
// kMaxElementLine, and lines with zero bytes ("binary data"; before the first element line
// such a line ends the reading). Raises EKestrovaError for a bad table name, an unreadable
// file, an existing table without Replace (or one that is no regular file), a file in which
// no line is an element line ("no element lines of format F in FILE", the skipped lines after
// it), and a failing engine.
TImportResult ImportElements(const std::filesystem::path& file, const TImportOptions& options);

}  // namespace kestrova
