// --help and --version of the programs with a window, answered from the command line before the
// application object is made: neither needs a display.
#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>
#include <optional>

#include "numerics/program_version.h"

namespace kestrova {

// The parser comes with the program's description and positional arguments; --help, -h and
// --version, -v are added here. Returns the exit status when the command line asked for help
// or the version (both written to standard output), nothing when the program is to start.
// Everything else is left to the program, Qt's own options (-platform, -style) included: they
// are read as words, so "-reverse" is no "-v".
inline std::optional<int> AnswerHelpOrVersion(int argc, char** argv, const char* program,
                                              QCommandLineParser& parser) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  // Help names the program by this name, as it is typed.
  QCoreApplication::setApplicationName(QString::fromLatin1(program));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kProgramVersion));
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.parse(arguments);
  if (parser.isSet(version)) {
    std::printf("%s %s\n", program, kProgramVersion);
    return 0;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    // Without an application object the parser does not know the program's name.
    QString text = parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QString::fromLatin1(program));
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return 0;
  }
  return std::nullopt;
}

}  // namespace kestrova
