// "Save animation as video": from the date shown, a number of frames a time step apart, at a
// rate, size and colour scheme, into a file whose type follows its name. The dialog shows the
// date of the last frame as the numbers change; a typed last date sets the number of frames.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <optional>

#include "numerics/extended.h"
#include "numerics/julian_dates.h"
#include "numerics/time_step.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;

namespace kestrova {

class TPrompter;

struct TAnimationSettings {
  TDateRec Start;  // the first frame's date, in UT
  Extended Step = 1;
  TTimeUnit Unit = TTimeUnit::Day;
  int32_t Frames = 100;
  int32_t Fps = 25;
  int32_t Size = 500;
  uint8_t Scheme = 2;
  // The whole path; its extension says the type.
  QString FileName;
};

class TSaveAnimationDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSaveAnimationDlg(TPrompter& prompter, QWidget* parent = nullptr);

  void Load(const TAnimationSettings& settings);
  // The fields as settings; a name without a video extension gets the chosen type's, and a
  // name without a folder goes into the folder of the loaded name.
  TAnimationSettings Apply() const;

  // The date of the last frame, or nothing when it would leave the dates the window shows.
  std::optional<TDateRec> EndDate() const;

  // The "..." button: the file dialog on the name the edit stands for.
  void SBFileNameClick();
  // The typed last date: the frames from the first date up to it, a whole step apart.
  void EndDateTyped();

 private:
  void FieldsChanged();
  void TypeChosen();
  QString FileName() const;

  TPrompter& prompter_;
  TDateRec start_;
  QString folder_;
  QLabel* start_label_;
  QLineEdit* step_edit_;
  QComboBox* unit_box_;
  QSpinBox* frames_box_;
  QLabel* end_label_;
  QLineEdit* end_edit_;
  QSpinBox* fps_box_;
  QSpinBox* size_box_;
  QComboBox* scheme_box_;
  QLineEdit* file_name_edit_;
  QToolButton* sb_file_name_;
  QLabel* folder_label_;
  QComboBox* type_box_;
  QPushButton* ok_btn_;
};

}  // namespace kestrova
