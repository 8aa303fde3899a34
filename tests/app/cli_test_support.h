// Runs kestrova-cli commands in-process for the tests.
#pragma once

#include <sstream>
#include <string>

#include "app/cli.h"

namespace kestrova::cli {

struct TCliResult {
  int status;
  std::string out;
  std::string err;
};

inline TCliResult RunCommand(const Args& args, const std::string& input = {}) {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunCli(args, in, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace kestrova::cli
