// kestrova-cli: headless access to the program's computations, one sub-command each.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "streams/value_stream.h"

namespace kestrova::cli {

// Exit statuses shared by every command.
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;
inline constexpr int kBadInput = 2;

using Args = std::vector<std::string>;

// Runs `kestrova-cli ARGS...` (without the program name), writing results to out and
// messages to err; returns the exit status.
int RunCli(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// Sub-commands: args are those after the command's name.
int CmdJd(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdDate(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdEphem(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdImport(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdEphemDataFile(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdDump(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdConvert(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);
int CmdRender(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// Helpers for the commands.
bool WantsHelp(const Args& args);
// A document named on the command line, opened once: "-" is standard input (named
// /dev/stdin in messages), anything else a file, a FIFO included. Raises EKestrovaError
// "Cannot open file ..." when it cannot be opened.
class TDocumentInput {
 public:
  TDocumentInput(const std::string& arg, std::istream& in);
  ByteSource& Source() { return *source_; }
  const std::string& Name() const { return name_; }
  bool StandardInput() const { return standardInput_; }

 private:
  std::string name_;
  bool standardInput_ = false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_{nullptr, std::fclose};
  std::unique_ptr<ByteSource> source_;
};

// Reads a Julian date inside MinJD..MaxJD; raises EConvertError, EUnderflow or EOverflow with
// the message to show.
long double ParseJulianDate(const std::string& text);

// The Julian dates of `ephem BODY -`: one a line, blanks around it and blank lines passed over,
// each handed to take as soon as it is read. Raises EConvertError, EUnderflow or EOverflow for
// the first bad line ("line N: ..."), and for a line longer than kMaxDateLine, which is not
// read beyond that.
inline constexpr size_t kMaxDateLine = 4096;
void ForEachDateLine(std::istream& in, const std::function<void(long double)>& take);

}  // namespace kestrova::cli
