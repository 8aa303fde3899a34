// Entry point of kestrova-import: the window that imports an element file into a data file,
// started by the desktop program's data-files dialog with the alias folder as its argument;
// with --no-gui, or with an element file and options as arguments, the same import as
// `kestrova-cli import`, with the same options, messages and exit statuses.
#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "app/cli.h"
#include "app/import_window.h"
#include "numerics/errors.h"
#include "numerics/julian_dates.h"
#include "numerics/program_version.h"
#include "ui/program_info.h"

namespace {

constexpr const char* kUsage =
    "usage: kestrova-import [ALIAS-FOLDER]\n"
    "       kestrova-import --help|--version\n"
    "       kestrova-import [--no-gui] --format mpcorb|comets|auto [--alias DIR] --table NAME\n"
    "                       [--replace] [--quiet] FILE\n"
    "\n"
    "Without an element file it opens a window that imports one (MPCORB.DAT, CometEls.txt, or\n"
    "either compressed with gzip) into a data file of ALIAS-FOLDER (default: the folder MPC in\n"
    "the program folder), with the format found in the file, a progress bar and Cancel.\n"
    "With an element file, or with --no-gui, it imports as `kestrova-cli import` does\n"
    "(`kestrova-cli import --help` describes the options).\n";

bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* v = std::getenv(name);
    if (v && *v) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  kestrova::InitClock();
  std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kUsage;
      return kestrova::cli::kOk;
    }
    if (a == "--version" || a == "-v") {
      std::cout << "kestrova-import " << kestrova::kProgramVersion << "\n";
      return kestrova::cli::kOk;
    }
  }
  if (kestrova::ImportRunsHeadless(args)) {
    kestrova::cli::Args command;
    for (const std::string& a : args)
      if (a != "--no-gui") command.push_back(a);
    return kestrova::cli::RunOnStandardStreams(
        [&](std::istream& in, std::ostream& out, std::ostream& err) {
          return kestrova::cli::RunImport(command, in, out, err);
        });
  }
  if (!HasDisplay()) {
    std::cerr << "kestrova-import: there is no display for the window; to import without one\n"
                 "give the element file and options, or --no-gui (see kestrova-import --help)\n";
    return kestrova::cli::kBadInput;
  }
  std::filesystem::path folder;
  try {
    folder = kestrova::ImportAliasFolder(args);
  } catch (const kestrova::EKestrovaError& e) {
    std::cerr << "kestrova-import: " << e.what() << "\n";
    return kestrova::cli::kFailure;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("kestrova-import");
  // The program's icon, as the desktop program that starts it shows it.
  QApplication::setWindowIcon(kestrova::ProgramIcon());
  kestrova::TImportWindow window(folder);
  window.show();
  return app.exec();
}
