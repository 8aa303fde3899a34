// Opens arbitrary bytes as an orbit document through the headless main window, into one
// long-lived scene: no input may crash, hang or allocate without bound. A damaged document
// ends in "Error reading file <path>." with the values read so far applied (a data file it
// names that cannot be opened is reported before, on its own); the conversion
// question is answered No, so nothing is ever written over the input.
//
// Input: the document's bytes, written to a temporary file. The program folder is a temporary
// folder whose database "MPC" holds the data file "fuzz.db" of three rows, so that documents
// naming it (the seeds do) take the "Show all objects" path through a real table.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/headless_host.h"
#include "database/data_files.h"
#include "database/table_store.h"
#include "documents/orbit_document.h"
#include "scene/solar_system.h"

namespace {

namespace fs = std::filesystem;

struct TWorld {
  ~TWorld() {
    std::error_code ec;
    if (!home.empty()) fs::remove_all(home, ec);
  }
  fs::path home;
  std::string document;
  std::ostringstream messages;
  kestrova::THeadlessHost* host = nullptr;
};

void Prepare(TWorld& w) {
  char pattern[] = "/tmp/kestrova-fuzz-doc.XXXXXX";
  if (!mkdtemp(pattern)) __builtin_trap();
  w.home = pattern;
  setenv("KESTROVA_HOME", w.home.c_str(), 1);
  w.document = (w.home / "input.orb").string();
  kestrova::CreateDataFile("MPC", "fuzz.db");
  kestrova::TableStore table;
  table.SetDatabase("MPC");
  table.SetTableName("fuzz.db");
  table.Open(kestrova::TOpenMode::Exclusive);
  const char* names[] = {"Ceres", "Pallas", "Icarus"};
  for (int i = 0; i < 3; ++i) {
    table.AppendRecord({int64_t{i + 1}, std::string(names[i]), 10.0 * i, 73.0, 80.0, 10.0 + i,
                        0.1 + 0.3 * i, 1.1 + i, 2451545.0, std::string("MBA"), std::string("N"),
                        std::string("N")});
  }
  table.Close();
  kestrova::EnsureGuiApplication();
  // One session for the whole run, as in the program: whatever a damaged document leaves behind
  // is the state the next one is read into.
  w.host = new kestrova::THeadlessHost(
      w.messages, [] { return kestrova::JDToDate(0, 2451545.0L); }, w.home);
}

TWorld& World() {
  static TWorld world;
  if (!world.host) Prepare(world);
  return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TWorld& world = World();
  std::FILE* f = std::fopen(world.document.c_str(), "wb");
  if (!f) __builtin_trap();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) __builtin_trap();
  std::fclose(f);

  kestrova::THeadlessHost& host = *world.host;
  std::ostringstream& messages = world.messages;
  messages.str("");
  const size_t questionsBefore = host.Questions().size();
  const kestrova::TOpenResult result = kestrova::OpenDocument(world.document, host.Scene(), host);
  // A reading either goes through silently or ends with exactly the one message; before it,
  // a data file that cannot be opened or read may be reported on its own (its text holds the
  // document's table name, line breaks and all).
  const std::string expected = result.Read || result.Version == kestrova::TDocumentVersion::Unknown
                                   ? std::string()
                                   : "Error reading file " + world.document + ".\n";
  const std::string said = messages.str();
  const bool dataFile = said.starts_with("Cannot open data file ") && said.ends_with(expected);
  if (said != expected && !dataFile) __builtin_trap();
  if (host.Questions().size() != questionsBefore && !result.Read) __builtin_trap();
  return 0;
}
