#include "ui/replaced_file.h"

#include <QSaveFile>

#include "numerics/errors.h"

namespace kestrova {

void WriteReplacedFile(const QString& path, const QByteArray& bytes,
                       const std::string& writeError) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    throw EKestrovaError("Error Opening File " + path.toStdString() + "!");
  // A full disk shows as a short write, which the file itself does not count as an error.
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    throw EKestrovaError(writeError);
  }
  if (!file.commit()) throw EKestrovaError(writeError);
}

}  // namespace kestrova
