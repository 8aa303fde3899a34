// "Print": the printer, the number of copies and the colour scheme of a printed plot. Where no
// printer is installed, or when the user asks for it, the plot goes to a PDF file instead.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace kestrova {

class TPrompter;

class TPrintDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kMaxCopies = 20;

  explicit TPrintDlg(TPrompter& prompter, QWidget* parent = nullptr);
  ~TPrintDlg() override;

  // The current printer, kept for the whole run.
  QPrinter& Printer() const { return *printer_; }

  // Before each showing: the printer's name, the colour schemes as far as the printer prints
  // colour, "Black on white", one copy. `pdfName` is proposed when no PDF file has been named.
  void Prepare(const QString& pdfName);

  // Colour scheme of the scene's Paint: 0 black on white, 1 white on black, 2 the configured
  // colours, 3 colours on white.
  uint8_t Scheme() const;
  int Copies() const;
  // The plot goes to a PDF file rather than to the printer.
  bool PrintToFile() const;
  // The file the edit's text stands for (see the PdfFileName rule): a bare name goes into the
  // folder of the last name set or chosen. Empty while the edit is blank.
  QString PdfFileName() const;
  void SetPdfFileName(const QString& name);

  // "Settings": the printer set-up dialog, then the printer's name, colour and output again.
  void BPrinterSetupClick();
  // "...": the file dialog for the PDF file.
  void SBPdfFileNameClick();

 private:
  // The printer's name and the enabling that depends on the printer and the output.
  void RefreshPrinter();
  void UpdateOkButton();

  TPrompter& prompter_;
  std::unique_ptr<QPrinter> printer_;
  QString pdf_folder_;
  QLabel* l_printer_;
  QPushButton* b_printer_setup_;
  QSpinBox* e_copies_;
  QRadioButton* rb_black_on_white_;
  QRadioButton* rb_white_on_black_;
  QRadioButton* rb_color_;
  QRadioButton* rb_color_wbg_;
  QCheckBox* cb_print_to_file_;
  QLineEdit* e_pdf_file_name_;
  QToolButton* sb_pdf_file_name_;
  QPushButton* ok_btn_;
};

// Whether a printer prints colour (more than one bit per pixel); PDF output always does.
bool PrinterPrintsColor(const QPrinter& printer);

}  // namespace kestrova
