#include "ui/replaced_file.h"

#include "numerics/errors.h"
#include "streams/replacing_file.h"

namespace kestrova {

void WriteReplacedFile(const QString& path, const QByteArray& bytes,
                       const std::string& writeError) {
  const std::string target = path.toStdString();
  TReplacingFile file;
  if (!file.Open(target)) throw EKestrovaError("Error Opening File " + target + "!");
  const auto size = size_t(bytes.size());
  if (std::fwrite(bytes.constData(), 1, size, file.Stream()) != size)
    throw EKestrovaError(writeError);  // the temporary file goes with `file`
  try {
    file.Commit();
  } catch (const EKestrovaError&) {
    throw EKestrovaError(writeError);
  }
}

}  // namespace kestrova
