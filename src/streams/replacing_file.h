// Writing a file so that a failure never costs what the path held before: documents, pictures
// and every other file the program writes whole go through TReplacingFile.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "streams/value_stream.h"

namespace kestrova {

// "Stream write error" of a file, with the file and the system's reason after it: "Stream
// write error: /home/u/last.orb: No space left on device".
class EFileWriteError : public EWriteError {
 public:
  EFileWriteError(const std::string& path, int error);
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// How a path is written.
enum class TWriteKind {
  // A regular file, a link to one, or a name that does not exist yet: the bytes go to a new
  // file beside the target, which replaces it by a rename once they are all on disk.
  Replace,
  // A character device or a FIFO (the terminal, /dev/null, a named pipe): renaming would put a
  // regular file where the special one stood, so it is opened and written where it is.
  InPlace,
  // Anything else that exists: a folder, a block device, a socket. Never written.
  Refused,
};

// The kind of the path as it stands now; links are followed.
TWriteKind WriteKindOf(const std::string& path);

// Whether path names something that exists and is not a regular file (links followed): a named
// pipe, a device, a folder, a socket. The windows open regular files only, because opening a pipe
// waits until another process writes to it, and the window would freeze meanwhile; the command
// line tools read pipes on purpose.
inline bool IsSpecialFile(const std::string& path) {
  return WriteKindOf(path) != TWriteKind::Replace;
}

class TReplacingFile {
 public:
  TReplacingFile() = default;
  // Without Commit, the temporary file is removed and the target stays as it was.
  ~TReplacingFile();
  TReplacingFile(const TReplacingFile&) = delete;
  TReplacingFile& operator=(const TReplacingFile&) = delete;

  // Opens the file that path stands for (a link is followed, and the file it names replaced).
  // A replaced file keeps its permissions. Returns false, with errno set, when it cannot be
  // created: a refused kind (EISDIR for a folder, EINVAL otherwise), an existing file that may
  // not be written (EACCES), or a folder that takes no new file.
  bool Open(const std::string& path);
  std::FILE* Stream() const { return file_; }
  bool InPlace() const { return inPlace_; }
  // The file the bytes go to before Commit (the target itself when written in place).
  const std::string& WorkPath() const { return work_; }

  // Flushes, syncs and closes the file; a temporary file then replaces the target and the
  // folder is synced. Raises EFileWriteError ("Stream write error: PATH: REASON") when the
  // bytes do not all reach the disk, and EKestrovaError "Cannot rename file ..." when the rename
  // fails; the old file is untouched and the temporary file removed in both cases.
  void Commit();

 private:
  void Discard();

  std::FILE* file_ = nullptr;
  std::string target_;
  std::string work_;
  bool inPlace_ = false;
  bool committed_ = false;
};

// Removes from the folder the temporary files of TReplacingFile (".NAME.PID.N.tmp") whose
// process no longer exists (killed while saving); returns how many went.
int RemoveStaleReplacements(const std::string& folder);

// Removes from the folder every file for which pidOf finds a process number (returning true)
// when that process no longer exists; returns how many went. A process that lives, or whose
// number has been taken by another one since, may still be writing its file.
int RemoveFilesOfGoneProcesses(const std::string& folder,
                               bool (*pidOf)(const std::string& name, long& pid));

// Writes the file at path through TReplacingFile with `write`, which returns false (or raises
// EKestrovaError) when it fails. Raises EKestrovaError "Error Opening File <path>! <reason>" when
// the file cannot be created, and "<writeError> <reason>" when writing or replacing fails; the
// reason is the system's, when it gave one.
void WriteReplacing(const std::string& path, const std::string& writeError,
                    const std::function<bool(std::FILE*)>& write);

// Writes bytes held in memory as the whole of the file at path, through TReplacingFile. Raises
// EKestrovaError "Error Opening File <path>! REASON" when the file cannot be created, and
// `writeError` when the bytes cannot all be written or the file cannot be replaced.
void WriteWholeFile(const std::string& path, std::string_view bytes, const std::string& writeError);

}  // namespace kestrova
