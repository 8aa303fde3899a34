// The per-user program folder and the database aliases that name folders of data files.
#pragma once

#include <filesystem>
#include <string>

namespace kestrova {

// The alias of the default database: the folder "MPC" inside the program folder.
inline constexpr const char* kDefaultAlias = "MPC";

// The folder that holds kv.ini, last.orb, template.orb and the default database: the value of
// KESTROVA_HOME when it is set and not empty, otherwise $XDG_DATA_HOME/kestrova or
// ~/.local/share/kestrova. Created (with its parents) when missing; raises EKestrovaError when
// it cannot be.
std::filesystem::path ProgramFolder();

// The folder an alias stands for. "MPC" is programFolder/"MPC", created when missing; any
// other alias is taken as the path of an existing folder. Raises ETableError when the folder
// is missing or not a folder.
std::filesystem::path AliasFolder(const std::string& alias,
                                  const std::filesystem::path& programFolder);
// The same in ProgramFolder(), for the callers that hold no program folder (the import program
// and the tables that tests make).
std::filesystem::path AliasFolder(const std::string& alias);

}  // namespace kestrova
