// kestrova-cli: headless access to the program's computations, one sub-command each.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

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
// Reads a Julian date inside MinJD..MaxJD; raises EConvertError, EUnderflow or EOverflow with
// the message to show.
long double ParseJulianDate(const std::string& text);

}  // namespace kestrova::cli
