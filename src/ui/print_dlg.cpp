#include "ui/print_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "scene/picture_names.h"
#include "ui/dialog_buttons.h"
#include "ui/prompter.h"

namespace kestrova {

namespace {

QRadioButton* SchemeButton(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QRadioButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

bool HasPrinters() {
  return !QPrinterInfo::availablePrinterNames().isEmpty();
}

}  // namespace

bool PrinterPrintsColor(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat) return true;
  const QPrinterInfo info(printer);
  return info.isNull() || info.supportedColorModes().contains(QPrinter::Color);
}

TPrintDlg::TPrintDlg(TPrompter& prompter, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  setObjectName(QStringLiteral("TPrintDlg"));
  setWindowTitle(QStringLiteral("Print"));

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);

  auto* printerLabel = new QLabel(QStringLiteral("Printer:"), panel);
  l_printer_ = new QLabel(panel);
  l_printer_->setObjectName(QStringLiteral("LPrinter"));
  l_printer_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  b_printer_setup_ = new QPushButton(QStringLiteral("Settings"), panel);
  b_printer_setup_->setObjectName(QStringLiteral("BPrinterSetup"));
  b_printer_setup_->setAutoDefault(false);

  cb_print_to_file_ = new QCheckBox(QStringLiteral("Print to PDF file"), panel);
  cb_print_to_file_->setObjectName(QStringLiteral("CBPrintToFile"));
  e_pdf_file_name_ = new QLineEdit(panel);
  e_pdf_file_name_->setObjectName(QStringLiteral("EPdfFileName"));
  e_pdf_file_name_->setMinimumWidth(240);
  sb_pdf_file_name_ = new QToolButton(panel);
  sb_pdf_file_name_->setObjectName(QStringLiteral("SBPdfFileName"));
  sb_pdf_file_name_->setText(QStringLiteral("..."));

  auto* copiesLabel = new QLabel(QStringLiteral("Copies:"), panel);
  e_copies_ = new QSpinBox(panel);
  e_copies_->setObjectName(QStringLiteral("ECopies"));
  e_copies_->setRange(1, kMaxCopies);
  e_copies_->setToolTip(QStringLiteral("1 to %1 copies").arg(kMaxCopies));
  copiesLabel->setBuddy(e_copies_);

  auto* schemes = new QGroupBox(panel);
  schemes->setObjectName(QStringLiteral("GBScheme"));
  rb_black_on_white_ = SchemeButton("RBBlackOnWhite", "Black on white", schemes);
  rb_white_on_black_ = SchemeButton("RBWhiteOnBlack", "White on black", schemes);
  rb_color_ = SchemeButton("RBColor", "Color", schemes);
  rb_color_wbg_ = SchemeButton("RBColorWBG", "Color (white background)", schemes);
  auto* schemeLayout = new QVBoxLayout(schemes);
  auto* group = new QButtonGroup(this);
  uint8_t scheme = 0;
  for (QRadioButton* b : {rb_black_on_white_, rb_white_on_black_, rb_color_, rb_color_wbg_}) {
    schemeLayout->addWidget(b);
    group->addButton(b, scheme++);
  }
  rb_black_on_white_->setChecked(true);

  auto* grid = new QGridLayout(panel);
  grid->addWidget(printerLabel, 0, 0);
  grid->addWidget(l_printer_, 0, 1);
  grid->addWidget(b_printer_setup_, 0, 2);
  grid->addWidget(cb_print_to_file_, 1, 0, 1, 3);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(e_pdf_file_name_, 1);
  fileRow->addWidget(sb_pdf_file_name_);
  grid->addLayout(fileRow, 2, 0, 1, 3);
  auto* copiesRow = new QHBoxLayout;
  copiesRow->addWidget(copiesLabel);
  copiesRow->addWidget(e_copies_);
  copiesRow->addStretch(1);
  grid->addLayout(copiesRow, 3, 0, 1, 3);
  grid->addWidget(schemes, 4, 0, 1, 3);
  grid->setColumnStretch(1, 1);

  ok_btn_ = PanelAboveOkCancel(this, panel).Ok;

  connect(b_printer_setup_, &QPushButton::clicked, this, &TPrintDlg::BPrinterSetupClick);
  connect(sb_pdf_file_name_, &QToolButton::clicked, this, &TPrintDlg::SBPdfFileNameClick);
  connect(cb_print_to_file_, &QCheckBox::toggled, this, &TPrintDlg::RefreshPrinter);
  connect(e_pdf_file_name_, &QLineEdit::textChanged, this, &TPrintDlg::UpdateOkButton);
  RefreshPrinter();
}

TPrintDlg::~TPrintDlg() = default;

void TPrintDlg::Prepare(const QString& pdfName) {
  if (e_pdf_file_name_->text().trimmed().isEmpty()) SetPdfFileName(pdfName);
  RefreshPrinter();
  rb_black_on_white_->setChecked(true);
  e_copies_->setValue(1);
}

void TPrintDlg::RefreshPrinter() {
  const bool printers = HasPrinters();
  // Without a printer the PDF file is the only way out.
  if (!printers) {
    const QSignalBlocker quiet(cb_print_to_file_);
    cb_print_to_file_->setChecked(true);
  }
  cb_print_to_file_->setEnabled(printers);
  const bool toFile = cb_print_to_file_->isChecked();
  const QString name =
      printer_->outputFormat() == QPrinter::NativeFormat ? printer_->printerName() : QString();
  l_printer_->setText(name.isEmpty() ? QStringLiteral("no printer installed") : name);
  l_printer_->setEnabled(!toFile);
  e_pdf_file_name_->setEnabled(toFile);
  sb_pdf_file_name_->setEnabled(toFile);
  const bool color = toFile || PrinterPrintsColor(*printer_);
  rb_color_->setEnabled(color);
  rb_color_wbg_->setEnabled(color);
  if (!color && (rb_color_->isChecked() || rb_color_wbg_->isChecked()))
    rb_black_on_white_->setChecked(true);
  UpdateOkButton();
}

void TPrintDlg::UpdateOkButton() {
  ok_btn_->setEnabled(!PrintToFile() || !PdfFileName().isEmpty());
}

uint8_t TPrintDlg::Scheme() const {
  if (rb_white_on_black_->isChecked()) return 1;
  if (rb_color_->isChecked()) return 2;
  if (rb_color_wbg_->isChecked()) return 3;
  return 0;
}

int TPrintDlg::Copies() const {
  return e_copies_->value();
}

bool TPrintDlg::PrintToFile() const {
  return cb_print_to_file_->isChecked();
}

QString TPrintDlg::PdfFileName() const {
  if (e_pdf_file_name_->text().trimmed().isEmpty()) return {};
  return QString::fromStdString(
      kestrova::PdfFileName(e_pdf_file_name_->text().toStdString(), pdf_folder_.toStdString()));
}

void TPrintDlg::SetPdfFileName(const QString& name) {
  pdf_folder_ = QString::fromStdString(FolderPart(name.toStdString()));
  e_pdf_file_name_->setText(name);
}

void TPrintDlg::BPrinterSetupClick() {
  printer_->setCopyCount(Copies());
  // The set-up dialog opens on the output this dialog shows; a printer without a file name
  // would be offered a name of the dialog's own choosing, which OK would then bring back here.
  if (PrintToFile() && !PdfFileName().isEmpty()) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(PdfFileName());
  } else if (!PrintToFile() && printer_->outputFormat() != QPrinter::NativeFormat) {
    printer_->setOutputFileName(QString());
    printer_->setOutputFormat(QPrinter::NativeFormat);
  }
  if (prompter_.SetUpPrinter(this, *printer_)) {
    e_copies_->setValue(std::clamp(printer_->copyCount(), 1, kMaxCopies));
    // The set-up dialog chose either a file or a printer.
    if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty()) {
      cb_print_to_file_->setChecked(true);
      SetPdfFileName(printer_->outputFileName());
    } else if (printer_->outputFormat() == QPrinter::NativeFormat) {
      cb_print_to_file_->setChecked(false);
    }
  }
  RefreshPrinter();
}

void TPrintDlg::SBPdfFileNameClick() {
  TFileDialogOptions options;
  options.Title = QStringLiteral("Print to PDF file");
  const QFileInfo current(PdfFileName());
  options.Folder = current.path();
  options.FileName = current.fileName();
  options.Filter = QStringLiteral("portable document format (PDF) (*.pdf)");
  options.DefaultSuffix = QStringLiteral("pdf");
  const QString chosen = prompter_.SaveFileName(this, options);
  if (!chosen.isEmpty()) SetPdfFileName(chosen);
}

}  // namespace kestrova
