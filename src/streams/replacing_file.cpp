#include "streams/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "numerics/errors.h"
#include "streams/value_stream.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

// The file a path stands for: a link is followed, so that writing replaces what it names
// rather than the link.
fs::path Resolved(const std::string& path) {
  fs::path target(path);
  std::error_code ec;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) target = resolved;
  }
  return target;
}

fs::path FolderOf(const fs::path& target) {
  return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

TWriteKind KindOf(const struct stat& info) {
  if (S_ISREG(info.st_mode)) return TWriteKind::Replace;
  if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) return TWriteKind::InPlace;
  return TWriteKind::Refused;
}

// Makes the rename itself durable; a folder that cannot be synced leaves it to the system.
void SyncFolder(const fs::path& target) {
  const int fd = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

EFileWriteError::EFileWriteError(const std::string& path, int error)
    : message_(Format("%s: %s: %s", EWriteError().what(), path.c_str(),
                      std::strerror(error != 0 ? error : EIO))) {}

TWriteKind WriteKindOf(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) return TWriteKind::Replace;
  return KindOf(info);
}

TReplacingFile::~TReplacingFile() {
  Discard();
}

void TReplacingFile::Discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (!inPlace_ && !committed_ && !work_.empty()) ::unlink(work_.c_str());
  work_.clear();
}

bool TReplacingFile::Open(const std::string& path) {
  Discard();
  committed_ = false;
  inPlace_ = false;
  // stat follows links the way open does, the kernel's own links of /dev/stdout and /proc
  // included, whose targets are no paths at all.
  struct stat old;
  const bool exists = ::stat(path.c_str(), &old) == 0;
  const TWriteKind kind = exists ? KindOf(old) : TWriteKind::Replace;
  if (kind == TWriteKind::Refused) {
    errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
    return false;
  }
  if (kind == TWriteKind::InPlace) {
    // A FIFO waits here for its reader, as any program writing into one does.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return false;
    }
    inPlace_ = true;
    target_ = work_ = path;
    return true;
  }
  const fs::path target = Resolved(path);
  target_ = target.string();
  // The rename would replace a file that may not be written.
  if (exists && ::access(target.c_str(), W_OK) != 0) return false;
  const mode_t mode = exists ? (old.st_mode & 07777) : 0666;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string temp = (FolderOf(target) / Format(".%s.%ld.%d.tmp", target.filename().c_str(),
                                                        static_cast<long>(::getpid()), attempt))
                                 .string();
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    // open() masks the mode with the umask; a replaced file keeps its mode as it was.
    if (exists) ::fchmod(fd, mode);
    work_ = temp;
    file_ = ::fdopen(fd, "wb");
    if (!file_) {
      const int error = errno;
      ::close(fd);
      Discard();
      errno = error;
      return false;
    }
    return true;
  }
  errno = EEXIST;
  return false;
}

void TReplacingFile::Commit() {
  if (!file_) throw EFileWriteError(target_, EBADF);
  // A full disk may show only on flushing, syncing or closing; the old file stays until all
  // three have passed. Devices and pipes have nothing to sync. The first failure's errno is
  // the reason.
  int error = 0;
  errno = 0;
  bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  if (!ok) error = errno;
  if (ok && !inPlace_) {
    ok = ::fsync(fileno(file_)) == 0;
    if (!ok) error = errno;
  }
  if (std::fclose(file_) != 0 && ok) {
    ok = false;
    error = errno;
  }
  file_ = nullptr;
  if (!ok) {
    Discard();
    throw EFileWriteError(target_, error);
  }
  if (inPlace_) {
    committed_ = true;
    return;
  }
  if (::rename(work_.c_str(), target_.c_str()) != 0) {
    const std::string message = Format("Cannot rename file \"%s\" to \"%s\". %s", work_.c_str(),
                                       target_.c_str(), std::strerror(errno));
    Discard();
    throw EKestrovaError(message);
  }
  committed_ = true;
  SyncFolder(target_);
}

void WriteReplacing(const std::string& path, const std::string& writeError,
                    const std::function<bool(std::FILE*)>& write) {
  TReplacingFile file;
  if (!file.Open(path))
    throw EKestrovaError("Error Opening File " + path + "! " + std::strerror(errno));
  // The system's reason, when there is one, follows the caller's message.
  const auto failed = [&](int error) {
    return EKestrovaError(error != 0 ? writeError + " " + std::strerror(error) : writeError);
  };
  errno = 0;
  bool written = false;
  try {
    written = write(file.Stream());
  } catch (const EKestrovaError&) {
  }
  if (!written) throw failed(errno);  // the temporary file goes with `file`
  errno = 0;
  try {
    file.Commit();
  } catch (const EKestrovaError&) {
    throw failed(errno);
  }
}

void WriteWholeFile(const std::string& path, std::string_view bytes,
                    const std::string& writeError) {
  WriteReplacing(path, writeError, [&](std::FILE* f) {
    return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  });
}

namespace {

// ".NAME.PID.N.tmp", as TReplacingFile::Open names its work files.
bool ReplacementPid(const std::string& name, long& pid) {
  if (name.size() < 8 || name[0] != '.' || !name.ends_with(".tmp")) return false;
  const std::string_view rest(name.data(), name.size() - 4);
  const size_t attemptDot = rest.rfind('.');
  if (attemptDot == std::string_view::npos || attemptDot == 0) return false;
  const size_t pidDot = rest.rfind('.', attemptDot - 1);
  if (pidDot == std::string_view::npos || pidDot == 0) return false;
  const std::string_view attempt = rest.substr(attemptDot + 1);
  const std::string_view digits = rest.substr(pidDot + 1, attemptDot - pidDot - 1);
  const auto allDigits = [](std::string_view t) {
    return !t.empty() && t.size() <= 9 && t.find_first_not_of("0123456789") == std::string::npos;
  };
  if (!allDigits(attempt) || !allDigits(digits)) return false;
  pid = std::atol(std::string(digits).c_str());
  return pid > 0;
}

}  // namespace

int RemoveFilesOfGoneProcesses(const std::string& folder,
                               bool (*pidOf)(const std::string& name, long& pid)) {
  int removed = 0;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    long pid = 0;
    if (!pidOf(it->path().filename().string(), pid)) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    std::error_code removing;
    if (std::filesystem::remove(it->path(), removing)) ++removed;
  }
  return removed;
}

int RemoveStaleReplacements(const std::string& folder) {
  return RemoveFilesOfGoneProcesses(folder, ReplacementPid);
}

}  // namespace kestrova
