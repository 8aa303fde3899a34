#include "ui/prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "scene/qpainter_surface.h"

namespace kestrova {

namespace {

QString Caption() {
  return QApplication::applicationDisplayName().isEmpty() ? QStringLiteral("Kestrova")
                                                          : QApplication::applicationDisplayName();
}

// The messages of the system use "\r" and "\r\n" as line breaks.
QString PlainLines(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lines;
}

QFileDialog* MakeFileDialog(QWidget* parent, const TFileDialogOptions& o) {
  auto* dialog = new QFileDialog(parent, o.Title, o.Folder, o.Filter);
  dialog->setAttribute(Qt::WA_DeleteOnClose, false);
  if (!o.FileName.isEmpty()) dialog->selectFile(o.FileName);
  if (!o.DefaultSuffix.isEmpty()) dialog->setDefaultSuffix(o.DefaultSuffix);
  return dialog;
}

}  // namespace

bool TDialogPrompter::AskYesNo(QWidget* parent, const QString& question) {
  return QMessageBox::question(parent, Caption(), PlainLines(question),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

void TDialogPrompter::ShowError(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, Caption(), PlainLines(message), QMessageBox::Ok);
}

void TDialogPrompter::ShowMessage(QWidget* parent, const QString& message) {
  QMessageBox::information(parent, Caption(), PlainLines(message), QMessageBox::Ok);
}

QString TDialogPrompter::OpenFileName(QWidget* parent, const TFileDialogOptions& options) {
  std::unique_ptr<QFileDialog> dialog(MakeFileDialog(parent, options));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().front();
}

QString TDialogPrompter::SaveFileName(QWidget* parent, const TFileDialogOptions& options) {
  std::unique_ptr<QFileDialog> dialog(MakeFileDialog(parent, options));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !options.ConfirmOverwrite);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return {};
  return dialog->selectedFiles().front();
}

std::optional<TColor> TDialogPrompter::ChooseColor(QWidget* parent, TColor initial) {
  const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
  if (!chosen.isValid()) return std::nullopt;
  return FromQRgb(chosen.rgb());
}

std::optional<QFont> TDialogPrompter::ChooseFont(QWidget* parent, const QFont& initial) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent);
  if (!ok) return std::nullopt;
  return font;
}

bool TDialogPrompter::SetUpPrinter(QWidget* parent, QPrinter& printer) {
  // The printer, its paper and the output to a file are chosen here; which pages to print is
  // no question for a one-page plot.
  QPrintDialog dialog(&printer, parent);
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
  return dialog.exec() == QDialog::Accepted;
}

int TDialogPrompter::RunDialog(QDialog& dialog) {
  return dialog.exec();
}

}  // namespace kestrova
