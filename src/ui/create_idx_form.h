// "Creating indices": the borderless window that shows the progress of making a data file's
// named indices, with a Cancel button that stops the work after the index at hand.
#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QProgressBar;
class QPushButton;

namespace kestrova {

class TableStore;

class TCreateIdxForm : public QWidget {
  Q_OBJECT
 public:
  explicit TCreateIdxForm(QWidget* parent = nullptr);

  // Shows the window over the others, makes the seven named indices of the table (an index that
  // exists or cannot be made is passed over), leaves the table open shared and hides the
  // window. Returns false when the user cancelled; the indices made until then stay. The
  // engine's error is raised when the table cannot be opened exclusively (a table that was
  // open stays open).
  bool CreateIndices(TableStore& table);

 signals:
  // The progress bar moved to `percent`.
  void progressed(int percent);

 private:
  // Lets the window paint and the Cancel button work; false once cancelled.
  bool KeepGoing();

  QProgressBar* bar_;
  QPushButton* cancel_;
  QElapsedTimer sinceEvents_;
  bool cancelled_ = false;
};

}  // namespace kestrova
