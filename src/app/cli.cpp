#include "app/cli.h"

#include <fcntl.h>
#include <unistd.h>
#include <QCommandLineParser>
#include <QStringList>

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "numerics/program_version.h"

namespace kestrova::cli {

namespace {

using Handler = int (*)(const Args&, std::istream&, std::ostream&, std::ostream&);

struct TCommand {
  const char* name;
  const char* summary;
  Handler run;
};

constexpr TCommand kCommands[] = {
    {"jd", "Julian date of a calendar date and UT time", CmdJd},
    {"date", "calendar date and UT time of a Julian date", CmdDate},
    {"ephem", "positions of the planets, the Moon and the satellites", CmdEphem},
    {"import", "element files (MPCORB, comets) into a data file", CmdImport},
    {"dump", "every value of an orbit document with its meaning", CmdDump},
    {"convert", "an orbit document of any version rewritten as version 1.6", CmdConvert},
    {"render", "picture of the scene as PNG or BMP, or a series of frames", CmdRender},
};

void Usage(std::ostream& out) {
  out << "usage: kestrova-cli COMMAND [ARGS...]\n"
         "       kestrova-cli --help|--version\n\ncommands:\n";
  for (const TCommand& c : kCommands) out << "  " << c.name << "\t" << c.summary << "\n";
  out << "\n`kestrova-cli COMMAND --help` describes a command.\n";
}

}  // namespace

bool WantsHelp(const Args& args) {
  for (const std::string& a : args)
    if (a == "--help" || a == "-h") return true;
  return false;
}

void TCommandOptions::Parse(const Args& args) {
  given_.clear();
  positional_.clear();
  QCommandLineParser parser;
  // "-frame" is an option as "--frame" is, not -f -r -a -m -e.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const TOption& o : options_)
    parser.addOption(QCommandLineOption(QString::fromStdString(o.name), QString(),
                                        o.takesValue ? QStringLiteral("value") : QString()));
  // Whatever is no option goes to the parser as a stand-in, "\x01" and its index, and comes
  // back as the bytes it was: file names need not be UTF-8. Negative numbers are values.
  const auto standIn = [](size_t i) { return QStringLiteral("\x01") + QString::number(i); };
  const auto isOption = [](const std::string& a) {
    return a.size() > 1 && a[0] == '-' && !std::isdigit(static_cast<unsigned char>(a[1])) &&
           a[1] != '.';
  };
  QStringList list{QStringLiteral("kestrova-cli")};
  bool afterDashes = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const bool option = !afterDashes && isOption(args[i]);
    if (!afterDashes && args[i] == "--") afterDashes = true;
    list << (option ? QString::fromStdString(args[i]) : standIn(i));
  }
  const auto original = [&](const QString& text) {
    if (text.startsWith(QLatin1Char('\x01'))) return args[size_t(text.mid(1).toULongLong())];
    return text.toStdString();
  };
  if (!parser.parse(list)) {
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty()) {
      // As it was typed, value and all.
      for (const std::string& a : args) {
        const std::string name = a.substr(a[1] == '-' ? 2 : 1, a.find('=') - (a[1] == '-' ? 2 : 1));
        if (isOption(a) && QString::fromStdString(name) == unknown.first())
          throw EBadOption(EBadOption::TKind::Unknown, a);
      }
      throw EBadOption(EBadOption::TKind::Unknown, unknown.first().toStdString());
    }
    // The one other failure: a value option that is the last argument.
    throw EBadOption(EBadOption::TKind::NoValue, args.empty() ? std::string() : args.back());
  }
  for (const TOption& o : options_) {
    const QString name = QString::fromStdString(o.name);
    if (!parser.isSet(name)) continue;
    given_.emplace_back(o.name, o.takesValue ? original(parser.value(name)) : std::string());
  }
  for (const QString& p : parser.positionalArguments()) positional_.push_back(original(p));
}

std::optional<Args> PlainArguments(const std::string& program, const Args& args,
                                   std::ostream& err) {
  TCommandOptions none({});
  try {
    none.Parse(args);
  } catch (const TCommandOptions::EBadOption& e) {
    err << program << ": unexpected argument '" << Excerpt(e.Argument) << "'\n";
    return std::nullopt;
  }
  return none.Positional();
}

bool TCommandOptions::IsSet(const std::string& name) const {
  for (const auto& [n, v] : given_)
    if (n == name) return true;
  return false;
}

std::string TCommandOptions::Value(const std::string& name) const {
  for (const auto& [n, v] : given_)
    if (n == name) return v;
  return {};
}

long double ParseJulianDate(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const long double jd = std::strtold(begin, &end);
  if (text.empty() || end != begin + text.size() || errno == ERANGE || !std::isfinite(jd))
    throw EConvertError(Format("'%s' is not a valid floating point value", Excerpt(text).c_str()));
  if (jd < MinJD)
    throw EUnderflow(Format("date %s underflows range (%s .. %s)", FormatGeneral(jd).c_str(),
                            FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  if (jd > MaxJD)
    throw EOverflow(Format("date %s overflows range (%s .. %s)", FormatGeneral(jd).c_str(),
                           FormatGeneral(MinJD).c_str(), FormatGeneral(MaxJD).c_str()));
  return jd;
}

int RunReported(const std::string& program, const std::function<int()>& run, std::ostream& out,
                std::ostream& err) {
  int status = kOk;
  try {
    status = run();
  } catch (const std::exception& e) {
    err << program << ": " << e.what() << "\n";
    return kFailure;
  }
  const std::string failure = OutputFailure(out);
  if (failure.empty()) return status;
  err << program << ": cannot write the output: " << failure << "\n";
  return status == kOk ? kFailure : status;
}

std::string OutputFailure(std::ostream& out) {
  if (out.good()) out.flush();
  if (out.good()) return {};
  if (const auto* buffer = dynamic_cast<const TDescriptorOutput*>(out.rdbuf());
      buffer && buffer->Error() != 0)
    return std::strerror(buffer->Error());
  return "the output stream failed";
}

TDescriptorOutput::~TDescriptorOutput() {
  Drain();
}

bool TDescriptorOutput::Drain() {
  size_t done = 0;
  while (error_ == 0 && done < buffer_.size()) {
    const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      error_ = n < 0 ? errno : EIO;
    else
      done += static_cast<size_t>(n);
  }
  buffer_.clear();
  return error_ == 0;
}

TDescriptorOutput::int_type TDescriptorOutput::overflow(int_type c) {
  if (error_ != 0) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return Drain() ? 0 : traits_type::eof();
  const char byte = traits_type::to_char_type(c);
  return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
}

std::streamsize TDescriptorOutput::xsputn(const char* s, std::streamsize n) {
  // Large enough that a table of millions of lines costs few system calls.
  constexpr size_t kBuffer = 64 * 1024;
  if (error_ != 0) return 0;
  buffer_.append(s, static_cast<size_t>(n));
  if (buffer_.size() >= kBuffer && !Drain()) return 0;
  return n;
}

int TDescriptorOutput::sync() {
  return Drain() ? 0 : -1;
}

int RunOnStandardStreams(
    const std::function<int(std::istream&, std::ostream&, std::ostream&)>& run) {
  bool closed[3] = {};
  for (int fd = 0; fd < 3; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    closed[fd] = true;
    // open() takes the lowest free number, which is fd itself while the ones below are open.
    const int null = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      ::dup2(null, fd);
      ::close(null);
    }
  }
  // The commands use the standard streams only; without the tie to C's streams, reading
  // standard input goes a buffer at a time.
  std::ios::sync_with_stdio(false);
  TDescriptorOutput buffer(STDOUT_FILENO, closed[1] ? EBADF : 0);
  std::ostream out(&buffer);
  return run(std::cin, out, std::cerr);
}

int RunCli(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    Usage(err);
    return kBadInput;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    return RunReported(
        "kestrova-cli",
        [&] {
          Usage(out);
          return kOk;
        },
        out, err);
  }
  if (args[0] == "--version" || args[0] == "-v") {
    return RunReported(
        "kestrova-cli",
        [&] {
          out << "kestrova-cli " << kProgramVersion << "\n";
          return kOk;
        },
        out, err);
  }
  for (const TCommand& c : kCommands) {
    if (args[0] == c.name) {
      const Args rest(args.begin() + 1, args.end());
      return RunReported(
          std::string("kestrova-cli ") + c.name, [&] { return c.run(rest, in, out, err); }, out,
          err);
    }
  }
  err << "kestrova-cli: unknown command '" << args[0] << "'\n";
  Usage(err);
  return kBadInput;
}

}  // namespace kestrova::cli
