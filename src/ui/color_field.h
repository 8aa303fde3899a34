// A colour field: a small filled rectangle showing a colour; pressing any mouse button on it, or
// Space while it has the focus, opens the colour dialog preset with that colour, and a confirmed
// choice is shown and announced.
#pragma once

#include <QWidget>

#include "numerics/color.h"

namespace kestrova {

class TPrompter;

class TColorField : public QWidget {
  Q_OBJECT
 public:
  TColorField(TPrompter& prompter, QWidget* parent = nullptr);

  TColor Color() const { return color_; }
  // Shows `color`; announces nothing.
  void SetColor(TColor color);

  QSize sizeHint() const override { return {24, 16}; }

 signals:
  // The user confirmed a colour in the dialog (the field already shows it).
  void colorChosen(TColor color);
  // The dialog was closed, confirmed or not.
  void dialogClosed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Choose();

  TPrompter& prompter_;
  TColor color_ = 0;
};

}  // namespace kestrova
