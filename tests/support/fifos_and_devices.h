// Files that are not regular files, for the tests of the writers: FIFOs with a reader on the
// other end, device nodes (root only) and a small full disk (a tmpfs, root only). Whatever the
// machine does not allow is reported as unavailable, and the test skips that part.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace kestrova::testing {

// A character device node at path (1,3 is the null device, 1,7 the full device); false when
// the system refuses (not root, or no device nodes in this container).
inline bool MakeCharDevice(const std::filesystem::path& path, unsigned major, unsigned minor) {
  if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(major, minor)) != 0) return false;
  // A node may be made and still not be opened where a device policy forbids it.
  const int fd = ::open(path.c_str(), O_WRONLY);
  if (fd < 0) {
    ::unlink(path.c_str());
    return false;
  }
  ::close(fd);
  return true;
}

inline bool MakeBlockDevice(const std::filesystem::path& path) {
  return ::mknod(path.c_str(), S_IFBLK | 0600, makedev(7, 0)) == 0;
}

inline bool IsCharDevice(const std::filesystem::path& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

inline bool IsFifo(const std::filesystem::path& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// A FIFO with a reader that collects everything written into it. The reading end is open
// from the start (so a writer never waits, and a writer that renames over the FIFO instead of
// writing into it leaves the reader empty rather than hanging); call Bytes() once the writer is
// done.
class TFifoReader {
 public:
  explicit TFifoReader(const std::filesystem::path& path) {
    if (::mkfifo(path.c_str(), 0600) != 0) return;
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd_ < 0) return;
    thread_ = std::thread([this] {
      char buffer[65536];
      for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) {
          bytes_.append(buffer, size_t(n));
        } else if (n == 0 || errno == EAGAIN) {
          // Nothing now: either no writer yet or the writer is gone.
          if (stop_) break;
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
        } else {
          break;
        }
      }
    });
  }
  ~TFifoReader() {
    Stop();
    if (fd_ >= 0) ::close(fd_);
  }
  bool Ok() const { return fd_ >= 0; }
  const std::string& Bytes() {
    Stop();
    return bytes_;
  }

 private:
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  int fd_ = -1;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
  std::string bytes_;
};

// A FIFO that a thread fills with `bytes` once a reader opens it, then closes.
class TFifoWriter {
 public:
  TFifoWriter(const std::filesystem::path& path, std::string bytes) : path_(path) {
    if (::mkfifo(path.c_str(), 0600) != 0) return;
    ok_ = true;
    thread_ = std::thread([this, bytes = std::move(bytes)] {
      // Waits for the reader, as a writer into a FIFO does; given up when nobody comes.
      int fd = -1;
      while (fd < 0 && !stop_) {
        fd = ::open(path_.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      if (fd < 0) return;
      ::fcntl(fd, F_SETFL, 0);
      for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += size_t(n);
      }
      ::close(fd);
    });
  }
  ~TFifoWriter() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  bool Ok() const { return ok_; }

 private:
  std::filesystem::path path_;
  bool ok_ = false;
  std::atomic<bool> stop_ = false;
  std::thread thread_;
};

// A tmpfs of `kilobytes` mounted on a new folder; unmounted and removed at the end.
class TSmallDisk {
 public:
  TSmallDisk(const std::filesystem::path& folder, int kilobytes) : folder_(folder) {
    std::filesystem::create_directories(folder);
    const std::string options = "size=" + std::to_string(kilobytes) + "k";
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  ~TSmallDisk() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  // Fills the disk up to `leave` bytes with a file of its own.
  void Fill(size_t leave) {
    const std::filesystem::path filler = folder_ / "filler";
    std::ofstream out(filler, std::ios::binary);
    const std::string block(1024, 'f');
    while (out.write(block.data(), block.size())) out.flush();
    out.close();
    std::filesystem::resize_file(filler, std::filesystem::file_size(filler) - leave);
  }

 private:
  std::filesystem::path folder_;
  bool mounted_ = false;
};

}  // namespace kestrova::testing
