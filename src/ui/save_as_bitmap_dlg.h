// "Save as graphic file": the file name and the side of a square picture. The dialog keeps a
// file name and a folder of its own; a typed name without a known extension is saved as PNG.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kestrova {

class TPrompter;

class TSaveAsBitmapDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSaveAsBitmapDlg(TPrompter& prompter, QWidget* parent = nullptr);

  // The dialog's file name becomes `name` and its folder the folder part of it; the edit shows
  // the name, or "default.png" when it names a folder only.
  void SetFileName(const QString& name);
  void SetGraphicSize(int32_t size);
  // The file the edit's text stands for (see SaveAsFileName); it becomes the dialog's file name
  // and its folder the dialog's folder.
  QString GetFileName();
  int32_t GraphicSize() const;
  // The folder part, with its final '/', of the last name set or chosen.
  QString Folder() const { return folder_; }

  // The "..." button: the file dialog in the folder and with the name of the file the edit
  // stands for; a confirmed choice becomes the dialog's file name.
  void SBFileNameClick();

 private:
  void FileNameEditChange();

  TPrompter& prompter_;
  QString file_name_;
  QString folder_;
  QLineEdit* file_name_edit_;
  QToolButton* sb_file_name_;
  // Where the name in the edit puts the picture.
  QLabel* folder_label_;
  QSpinBox* se_size_;
  QPushButton* ok_btn_;
};

}  // namespace kestrova
