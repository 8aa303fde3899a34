#include "documents/orbit_document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "scene/scene_stream.h"
#include "scene/solar_system.h"
#include "streams/file_handle.h"
#include "streams/replacing_file.h"
#include "streams/value_stream.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

// The platform's message for a file that cannot be opened: "Cannot open file "%s". %s".
[[noreturn]] void CannotOpen(const std::string& path, int error) {
  throw EKestrovaError(Format("Cannot open file \"%s\". %s", path.c_str(), std::strerror(error)));
}

TFileHandle OpenForReading(const std::string& path) {
  TFileHandle file(std::fopen(path.c_str(), "rb"));
  if (!file) CannotOpen(path, errno);
  // A folder opens for reading here but has no bytes to give.
  struct stat info;
  if (::fstat(fileno(file.get()), &info) == 0 && S_ISDIR(info.st_mode)) CannotOpen(path, EISDIR);
  return file;
}

// Without leading and trailing blanks and control characters.
std::string Trim(const std::string& s) {
  size_t first = 0;
  size_t last = s.size();
  while (first < last && static_cast<unsigned char>(s[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(s[last - 1]) <= ' ') --last;
  return s.substr(first, last - first);
}

std::string ReadErrorMessage(const std::string& path) {
  return "Error reading file " + path + ".";
}

// Only the low 8 bits of a stored unit code count.
int32_t UnitCode(int32_t stored) {
  return stored & 0xFF;
}

void ReportDataFile(TDocumentHost& host, const std::string& table, const std::string& reason) {
  host.ShowError("Cannot open data file " + table + (reason.empty() ? "." : ": " + reason));
}

// Closes the data file, reads its two names, opens it again and runs "Show all objects" as the
// document had it. A data file that cannot be opened or read is no error of the document: it is
// reported on its own, its names stay (putting the file back brings the catalogue back), and
// the button is released but stays on in the document. A document that names no table gets
// the fallback names.
void ReadDataFile(ValueReader& reader, TDocumentHost& host, const std::string& fallbackDatabase,
                  bool showAll) {
  host.CloseDataFile();
  const std::string database = reader.ReadString("DatabaseName");
  const std::string table = reader.ReadString("TableName");
  host.SetDataFileNames(database, table);
  bool usable = host.OpenDataFile();
  if (!usable) {
    if (table.empty()) {
      host.SetDataFileNames(fallbackDatabase, "");
    } else {
      ReportDataFile(host, table, host.DataFileError());
    }
  }
  host.SetShowAllObjects(showAll && usable);
  try {
    host.RunShowAllObjects();
  } catch (const std::exception& error) {
    // The file opened but its rows could not be read (a damaged or locked file).
    host.SetShowAllObjects(false);
    ReportDataFile(host, table, error.what());
    usable = false;
  }
  if (showAll && !usable && !table.empty()) host.State().ShowAllObjectsAwaitingFile = true;
}

// Everything after the scene block of versions 1.5 and 1.6.
void ReadMainWindowState(ValueReader& reader, TDocumentHost& host) {
  const bool showAll = reader.ReadBoolean("ShowAllObjects");
  host.SetRealTime(reader.ReadBoolean("RealTime"));
  const Extended step = reader.ReadFloat("TimeStep");
  host.SetTimeStep(step, UnitCode(reader.ReadInteger("TimeUnit")));
  host.SetMonitorVisible(reader.ReadBoolean("MonitorVisible"));
  host.RefreshMonitor();
  host.SelectMonitorBody(reader.ReadString("MonitorBody"));
  host.SetDescriptionColor(static_cast<TColor>(reader.ReadInteger("DescriptionColor")));
  host.SetDescriptionVisible(reader.ReadBoolean("DescriptionVisible"));
  ReadDataFile(reader, host, "MPC", showAll);
  host.ReadDescription(reader);
}

// The end of every reader: date and path only after a complete reading, the controls always.
bool FinishReading(bool complete, const std::string& path, const TSolarSystem& scene,
                   TDocumentHost& host) {
  if (complete) {
    host.ShowDate(scene.SceneDate());
    host.SetDocumentPath(path);
  }
  host.UpdateControls();
  return complete;
}

enum class TSceneForm { Current, V15 };

bool ReadDocumentV15OrV16(ByteSource& source, const std::string& path, TSolarSystem& scene,
                          TDocumentHost& host, TSceneForm form, ValueTrace* trace) {
  bool complete = true;
  try {
    ValueReader reader(source);
    reader.SetTrace(trace);
    host.ClearDescription();
    const char* magic = form == TSceneForm::Current ? kMagic16 : kMagic15;
    if (Trim(reader.ReadString("magic")) == magic) {
      if (form == TSceneForm::Current) {
        ReadScene(scene, reader);
      } else {
        ReadScene15(scene, reader);
        scene.Recompute();
      }
      ReadMainWindowState(reader, host);
    }
  } catch (const std::exception&) {
    complete = false;
    host.ShowError(ReadErrorMessage(path));
  }
  return FinishReading(complete, path, scene, host);
}

using TSourceReader = bool (*)(ByteSource&, const std::string&, TSolarSystem&, TDocumentHost&,
                               ValueTrace*);

// A reader of a file by its path: a file that cannot be opened is a failed reading.
bool ReadFile(TSourceReader read, const std::string& path, TSolarSystem& scene,
              TDocumentHost& host) {
  TFileHandle file;
  try {
    file = OpenForReading(path);
  } catch (const std::exception&) {
    host.ShowError(ReadErrorMessage(path));
    return FinishReading(false, path, scene, host);
  }
  FileSource source(file.get());
  return read(source, path, scene, host, nullptr);
}

// The first bytes of a source only.
class TLimitedSource : public ByteSource {
 public:
  TLimitedSource(ByteSource& inner, uint64_t limit) : inner_(inner), left_(limit) {}
  size_t Read(uint8_t* data, size_t n) override {
    const size_t count = inner_.Read(data, static_cast<size_t>(std::min<uint64_t>(n, left_)));
    left_ -= count;
    return count;
  }
  std::optional<uint64_t> Remaining() const override {
    const std::optional<uint64_t> inner = inner_.Remaining();
    return inner ? std::min(*inner, left_) : left_;
  }

 private:
  ByteSource& inner_;
  uint64_t left_;
};

constexpr uint64_t kMaxFirstValue = 64 * 1024;

}  // namespace

TDocumentVersion DetectDocumentVersion(ByteSource& input) {
  // The magic is a short string: a first value that does not end within the first 64 KB
  // counts as one that cannot be read, without being read (from a pipe it could be as long
  // as the input, and all of it would be kept for the reader that follows).
  TLimitedSource source(input, kMaxFirstValue);
  ValueReader reader(source);
  std::string magic;
  try {
    magic = Trim(reader.ReadString());
  } catch (const EKestrovaError&) {
    return TDocumentVersion::V10;
  }
  if (magic == kMagic15) return TDocumentVersion::V15;
  if (magic == kMagic16) return TDocumentVersion::V16;
  return TDocumentVersion::Unknown;
}

TDocumentVersion DetectDocumentVersion(const std::string& path) {
  TFileHandle file = OpenForReading(path);
  FileSource source(file.get());
  return DetectDocumentVersion(source);
}

TOpenResult OpenDocument(ByteSource& input, const std::string& path, TSolarSystem& scene,
                         TDocumentHost& host, ValueTrace* trace) {
  // The version comes from the first value; the reader then starts again at the first byte,
  // from what the detection kept rather than from a second opening of the file.
  RewindableSource source(input);
  TOpenResult result;
  result.Version = DetectDocumentVersion(source);
  source.Rewind();
  switch (result.Version) {
    case TDocumentVersion::V10:
      result.Read = ReadDocumentV10(source, path, scene, host, trace);
      if (result.Read &&
          host.AskYesNo("This file was written by version 1.0 or 1.1 of Kestrova.\r\n"
                        "Convert the file to the current file format?")) {
        WriteDocument(path, scene, host);
      }
      break;
    case TDocumentVersion::V15:
      result.Read = ReadDocumentV15(source, path, scene, host, trace);
      if (result.Read && host.AskYesNo("This file was written by version 1.5 of Kestrova.\r\n"
                                       "Convert the file to the current file format?")) {
        WriteDocument(path, scene, host);
      }
      break;
    case TDocumentVersion::V16:
      result.Read = ReadDocumentV16(source, path, scene, host, trace);
      break;
    case TDocumentVersion::Unknown:
      break;
  }
  return result;
}

TOpenResult OpenDocument(const std::string& path, TSolarSystem& scene, TDocumentHost& host) {
  TFileHandle file = OpenForReading(path);
  FileSource source(file.get());
  return OpenDocument(source, path, scene, host);
}

bool ReadDocumentV16(ByteSource& source, const std::string& path, TSolarSystem& scene,
                     TDocumentHost& host, ValueTrace* trace) {
  return ReadDocumentV15OrV16(source, path, scene, host, TSceneForm::Current, trace);
}

bool ReadDocumentV15(ByteSource& source, const std::string& path, TSolarSystem& scene,
                     TDocumentHost& host, ValueTrace* trace) {
  return ReadDocumentV15OrV16(source, path, scene, host, TSceneForm::V15, trace);
}

bool ReadDocumentV16(const std::string& path, TSolarSystem& scene, TDocumentHost& host) {
  return ReadFile(ReadDocumentV16, path, scene, host);
}

bool ReadDocumentV15(const std::string& path, TSolarSystem& scene, TDocumentHost& host) {
  return ReadFile(ReadDocumentV15, path, scene, host);
}

bool ReadDocumentV10(const std::string& path, TSolarSystem& scene, TDocumentHost& host) {
  return ReadFile(ReadDocumentV10, path, scene, host);
}

bool ReadDocumentV10(ByteSource& source, const std::string& path, TSolarSystem& scene,
                     TDocumentHost& host, ValueTrace* trace) {
  bool complete = true;
  try {
    ValueReader reader(source);
    reader.SetTrace(trace);
    host.ClearDescription();
    ReadScene10(scene, reader);

    const int32_t left = reader.ReadInteger("MainWindow.Left");
    const int32_t top = reader.ReadInteger("MainWindow.Top");
    const int32_t width = reader.ReadInteger("MainWindow.Width");
    const int32_t height = reader.ReadInteger("MainWindow.Height");
    host.SetMainWindowGeometry({left, top, width, height});

    const bool showAll = reader.ReadBoolean("ShowAllObjects");
    const Extended step = reader.ReadFloat("TimeStep");
    host.SetTimeStep(step, UnitCode(reader.ReadInteger("TimeUnit")));

    host.SetMonitorVisible(reader.ReadBoolean("MonitorVisible"));
    const int32_t monitorLeft = reader.ReadInteger("Monitor.Left");
    const int32_t monitorTop = reader.ReadInteger("Monitor.Top");
    host.SetMonitorPosition(monitorLeft, monitorTop);
    host.RefreshMonitor();
    host.SelectMonitorBody(reader.ReadString("MonitorBody"));

    const int32_t descriptionLeft = reader.ReadInteger("DescriptionWindow.Left");
    const int32_t descriptionTop = reader.ReadInteger("DescriptionWindow.Top");
    const int32_t descriptionWidth = reader.ReadInteger("DescriptionWindow.Width");
    const int32_t descriptionHeight = reader.ReadInteger("DescriptionWindow.Height");
    host.SetDescriptionGeometry(
        {descriptionLeft, descriptionTop, descriptionWidth, descriptionHeight});
    host.SetDescriptionColor(static_cast<TColor>(reader.ReadInteger("DescriptionColor")));
    host.SetDescriptionVisible(reader.ReadBoolean("DescriptionVisible"));

    // Old documents fall back to no data file at all rather than to "MPC".
    ReadDataFile(reader, host, "", showAll);

    try {
      host.LoadDescriptionFile(fs::path(path).replace_extension(".rtf").string());
    } catch (const std::exception&) {
      // The description file of an old document is optional, and so is its reading.
    }
  } catch (const std::exception&) {
    complete = false;
    host.ShowError(ReadErrorMessage(path));
  }
  return FinishReading(complete, path, scene, host);
}

void WriteDocumentValues(ValueWriter& writer, const TSolarSystem& scene, TDocumentHost& host) {
  writer.WriteString(kMagic16);
  WriteScene(scene, writer);
  const TDocumentState& state = host.State();
  writer.WriteBoolean(state.ShowAllObjects || state.ShowAllObjectsAwaitingFile);
  writer.WriteBoolean(host.RealTime());
  writer.WriteFloat(host.TimeStep());
  writer.WriteInteger(host.TimeUnit());
  writer.WriteBoolean(state.MonitorVisible);
  writer.WriteString(state.MonitorBody);
  writer.WriteInteger(static_cast<int32_t>(state.DescriptionColor));
  writer.WriteBoolean(state.DescriptionVisible);
  writer.WriteString(host.DatabaseName());
  writer.WriteString(host.TableName());
  host.WriteDescription(writer);
}

bool WriteDocument(const std::string& path, const TSolarSystem& scene, TDocumentHost& host) {
  TReplacingFile file;
  if (!file.Open(path)) {
    host.ShowError("Could not create file " + path + ". " + std::strerror(errno));
    return false;
  }
  try {
    FileSink sink(file.Stream());
    ValueWriter writer(sink);
    WriteDocumentValues(writer, scene, host);
    writer.Finish();
  } catch (const EWriteError&) {
    // The file refused bytes (a full disk): say which file and why.
    if (std::ferror(file.Stream())) throw EFileWriteError(path, errno);
    throw;
  }
  file.Commit();
  return true;
}

}  // namespace kestrova
