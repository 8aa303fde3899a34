// kestrova-cli: headless access to the program's computations, one sub-command each.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

#include "streams/value_stream.h"

namespace kestrova::cli {

// Exit statuses shared by every command.
inline constexpr int kOk = 0;
inline constexpr int kFailure = 1;
inline constexpr int kBadInput = 2;

using Args = std::vector<std::string>;

// Runs `kestrova-cli ARGS...` (without the program name), writing results to out and
// messages to err; returns the exit status. Output that could not all be written is a failure:
// "kestrova-cli COMMAND: cannot write the output: REASON" and status 1, whatever the command
// returned.
int RunCli(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// kestrova-import without its window: `kestrova-cli import ARGS...` under its own name in the
// messages.
int RunImport(const Args& args, std::istream& in, std::ostream& out, std::ostream& err);

// Standard output as the programs write it: a buffer over a file descriptor that keeps the
// error number of the first write that failed, so that the message can say why (a full disk,
// a closed standard output). After a failure it takes nothing more.
class TDescriptorOutput : public std::streambuf {
 public:
  // error: a failure known before the first byte (EBADF for a closed descriptor).
  explicit TDescriptorOutput(int fd, int error = 0) : fd_(fd), error_(error) {}
  ~TDescriptorOutput() override;
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool Drain();
  int fd_;
  int error_;
  std::string buffer_;
};

// Runs a program's commands on its standard streams (standard output through a
// TDescriptorOutput). A standard stream that was closed when the program started is opened on
// /dev/null first, so that no file the command opens takes its number and receives its output,
// and writing to a closed standard output fails as it should.
int RunOnStandardStreams(
    const std::function<int(std::istream&, std::ostream&, std::ostream&)>& run);

// Flushes out; empty when everything reached it, else why it did not (the system's words when
// out is a TDescriptorOutput).
std::string OutputFailure(std::ostream& out);

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

// A command's options, read by QCommandLineParser so that every command takes them alike:
// "--name value" and "--name=value", options before, between and after the other arguments,
// "--" before arguments that begin with a dash. An argument that reads as a negative number
// ("-0.5", "-30") is a value, not an option. Names are given without their dashes.
class TCommandOptions {
 public:
  struct TOption {
    std::string name;
    bool takesValue;
  };
  // What Parse raises: an option the command does not know, or one that lacks its value, with
  // the argument as it was given, for the command's own message.
  class EBadOption : public std::runtime_error {
   public:
    enum class TKind { Unknown, NoValue };
    EBadOption(TKind kind, const std::string& argument)
        : std::runtime_error(argument), Kind(kind), Argument(argument) {}
    TKind Kind;
    std::string Argument;
  };

  explicit TCommandOptions(std::vector<TOption> options) : options_(std::move(options)) {}
  void Parse(const Args& args);
  bool IsSet(const std::string& name) const;
  // The option's value, the last one when it was given more than once.
  std::string Value(const std::string& name) const;
  // The arguments that are not options, in order, byte for byte as they were given.
  const Args& Positional() const { return positional_; }

 private:
  std::vector<TOption> options_;
  std::vector<std::pair<std::string, std::string>> given_;
  Args positional_;
};
// The arguments of a command that takes no option but --help, "--" and negative numbers read
// as TCommandOptions reads them; nothing after "PROGRAM: unexpected argument '...'" on err
// when one is an option.
std::optional<Args> PlainArguments(const std::string& program, const Args& args, std::ostream& err);
// Runs one command of program (the prefix of its messages: "kestrova-cli ephem"): an exception
// it raises becomes "PROGRAM: MESSAGE" and status 1, and so does output that failed.
int RunReported(const std::string& program, const std::function<int()>& run, std::ostream& out,
                std::ostream& err);
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
