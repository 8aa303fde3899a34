// Entry point of kestrova-cli.
#include <iostream>

#include "app/cli.h"
#include "numerics/julian_dates.h"

int main(int argc, char** argv) {
  kestrova::InitClock();
  // The commands use the standard streams only; without the tie to C's streams, reading
  // standard input goes a buffer at a time.
  std::ios::sync_with_stdio(false);
  const kestrova::cli::Args args(argv + 1, argv + argc);
  return kestrova::cli::RunCli(args, std::cin, std::cout, std::cerr);
}
