#include "database/program_folder.h"

#include <cstdlib>
#include <system_error>

#include "database/table_store.h"
#include "numerics/errors.h"

namespace kestrova {

namespace fs = std::filesystem;

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

void MakeFolder(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  if (ec || !fs::is_directory(dir))
    throw EKestrovaError(Format("Cannot create the folder %s: %s", dir.c_str(),
                                (ec ? ec.message() : std::string("not a folder")).c_str()));
}

}  // namespace

fs::path ProgramFolder() {
  fs::path dir;
  if (const std::string home = Env("KESTROVA_HOME"); !home.empty()) {
    dir = home;
  } else if (const std::string xdg = Env("XDG_DATA_HOME"); !xdg.empty() && xdg[0] == '/') {
    dir = fs::path(xdg) / "kestrova";
  } else {
    const std::string user = Env("HOME");
    if (user.empty()) throw EKestrovaError("Cannot find the program folder: HOME is not set");
    dir = fs::path(user) / ".local" / "share" / "kestrova";
  }
  MakeFolder(dir);
  return dir;
}

fs::path AliasFolder(const std::string& alias) {
  return AliasFolder(alias, alias == kDefaultAlias ? ProgramFolder() : fs::path());
}

fs::path AliasFolder(const std::string& alias, const fs::path& programFolder) {
  if (alias == kDefaultAlias) {
    const fs::path dir = programFolder / kDefaultAlias;
    MakeFolder(dir);
    return dir;
  }
  std::error_code ec;
  if (alias.empty() || !fs::is_directory(alias, ec))
    throw ETableError(Format("Unknown database alias: %s", alias.c_str()), alias);
  return fs::path(alias);
}

}  // namespace kestrova
