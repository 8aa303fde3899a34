// Documents named on the command line: a file, a FIFO, or "-" for standard input.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/cli.h"
#include "numerics/errors.h"

namespace kestrova::cli {

TDocumentInput::TDocumentInput(const std::string& arg, std::istream& in) {
  if (arg == "-") {
    name_ = "/dev/stdin";
    standardInput_ = true;
    source_ = std::make_unique<IStreamSource>(in);
    return;
  }
  name_ = arg;
  file_.reset(std::fopen(arg.c_str(), "rb"));
  int error = errno;
  struct stat info;
  // A folder opens for reading but has no bytes to give.
  if (file_ && ::fstat(fileno(file_.get()), &info) == 0 && S_ISDIR(info.st_mode)) {
    file_.reset();
    error = EISDIR;
  }
  if (!file_)
    throw EKestrovaError(Format("Cannot open file \"%s\". %s", arg.c_str(), std::strerror(error)));
  source_ = std::make_unique<FileSource>(file_.get());
}

}  // namespace kestrova::cli
