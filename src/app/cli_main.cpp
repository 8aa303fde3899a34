// Entry point of kestrova-cli.
#include <iostream>

#include "app/cli.h"
#include "numerics/julian_dates.h"

int main(int argc, char** argv) {
  kestrova::InitClock();
  const kestrova::cli::Args args(argv + 1, argv + argc);
  return kestrova::cli::RunOnStandardStreams(
      [&](std::istream& in, std::ostream& out, std::ostream& err) {
        return kestrova::cli::RunCli(args, in, out, err);
      });
}
