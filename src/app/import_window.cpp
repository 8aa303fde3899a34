#include "app/import_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <system_error>

#include "database/program_folder.h"
#include "numerics/errors.h"
#include "streams/replacing_file.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

QString Number(int64_t n) {
  return QLocale(QLocale::English).toString(static_cast<qlonglong>(n));
}

QString FormatText(TElementFormat format) {
  return format == TElementFormat::Mpcorb ? "MPCORB, minor planets" : "CometEls, comets";
}

// The table a file proposes: its name without ".gz" and without its extension.
QString ProposedTable(const QString& path) {
  QString name = QFileInfo(path).fileName();
  if (name.endsWith(".gz", Qt::CaseInsensitive)) name.chop(3);
  const qsizetype dot = name.lastIndexOf('.');
  if (dot > 0) name.truncate(dot);
  return name;
}

QLabel* NoteLabel(const QString& objectName) {
  auto* label = new QLabel;
  label->setObjectName(objectName);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont small = label->font();
  small.setPointSizeF(small.pointSizeF() * 0.92);
  label->setFont(small);
  return label;
}

// A form's label whose mnemonic moves the focus to its field.
QLabel* Buddy(const QString& text, QWidget* field) {
  auto* label = new QLabel(text);
  label->setBuddy(field);
  return label;
}

void SetNote(QLabel* label, const QString& text, bool warning) {
  label->setText(text);
  label->setStyleSheet(warning ? "color: #a4161a;" : "color: palette(dark);");
}

}  // namespace

TImportWindow::TImportWindow(const fs::path& aliasFolder, QWidget* parent, TPrompter* prompter)
    : QWidget(parent), aliasFolder_(aliasFolder), prompter_(prompter) {
  if (prompter_ == nullptr) {
    own_prompter_ = std::make_unique<TDialogPrompter>();
    prompter_ = own_prompter_.get();
  }
  setWindowTitle("Import element file");

  QGroupBox* fileBox = BuildElementFileGroup();
  QGroupBox* tableBox = BuildDataFileGroup();
  QGroupBox* resultBox = BuildImportGroup();
  QDialogButtonBox* buttons = BuildButtons();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fileBox);
  layout->addWidget(tableBox);
  layout->addWidget(resultBox, 1);
  layout->addWidget(buttons);
  resize(620, 560);

  connect(browseButton_, &QPushButton::clicked, this, &TImportWindow::ChooseFile);
  connect(fileEdit_, &QLineEdit::editingFinished, this, [this] {
    if (!Running()) SetElementFile(fileEdit_->text());
  });
  connect(formatCombo_, &QComboBox::currentIndexChanged, this, [this] { UpdateState(); });
  connect(tableEdit_, &QLineEdit::textChanged, this, [this] { UpdateState(); });
  connect(replaceCheck_, &QCheckBox::toggled, this, [this] { UpdateState(); });
  connect(importButton_, &QPushButton::clicked, this, &TImportWindow::StartImport);
  connect(cancelButton_, &QPushButton::clicked, this, &TImportWindow::CancelImport);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
  UpdateState();
}

// The element file and its format.
QGroupBox* TImportWindow::BuildElementFileGroup() {
  fileEdit_ = new QLineEdit;
  fileEdit_->setObjectName("FileEdit");
  fileEdit_->setPlaceholderText("MPCORB.DAT, CometEls.txt or either of them .gz");
  fileEdit_->setClearButtonEnabled(true);
  browseButton_ = new QPushButton("&Choose...");
  browseButton_->setObjectName("BrowseButton");
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(fileEdit_, 1);
  fileRow->addWidget(browseButton_);
  formatCombo_ = new QComboBox;
  formatCombo_->setObjectName("FormatCombo");
  formatCombo_->addItem("As found in the file");
  formatCombo_->addItem("MPCORB, minor planets");
  formatCombo_->addItem("CometEls, comets");
  detectedLabel_ = NoteLabel("DetectedFormat");
  auto* formatColumn = new QVBoxLayout;
  formatColumn->setSpacing(2);
  formatColumn->addWidget(formatCombo_);
  formatColumn->addWidget(detectedLabel_);
  auto* fileForm = new QFormLayout;
  fileForm->addRow(Buddy("&File:", fileEdit_), fileRow);
  fileForm->addRow(Buddy("F&ormat:", formatCombo_), formatColumn);
  auto* fileBox = new QGroupBox("Element file");
  fileBox->setLayout(fileForm);

  return fileBox;
}

// The data file it becomes.
QGroupBox* TImportWindow::BuildDataFileGroup() {
  aliasLabel_ = new QLabel(QString::fromStdString(aliasFolder_.string()));
  aliasLabel_->setObjectName("AliasFolder");
  aliasLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  tableEdit_ = new QLineEdit;
  tableEdit_->setObjectName("TableEdit");
  tableEdit_->setMaxLength(120);
  auto* tableRow = new QHBoxLayout;
  tableRow->addWidget(tableEdit_, 1);
  tableRow->addWidget(new QLabel(".db"));
  replaceCheck_ = new QCheckBox("&Replace an existing table of this name");
  replaceCheck_->setObjectName("ReplaceCheck");
  tableNote_ = NoteLabel("TableNote");
  auto* tableColumn = new QVBoxLayout;
  tableColumn->setSpacing(4);
  tableColumn->addLayout(tableRow);
  tableColumn->addWidget(replaceCheck_);
  tableColumn->addWidget(tableNote_);
  auto* tableForm = new QFormLayout;
  tableForm->addRow("Folder:", aliasLabel_);
  tableForm->addRow(Buddy("&Table:", tableEdit_), tableColumn);
  auto* tableBox = new QGroupBox("Data file");
  tableBox->setLayout(tableForm);

  return tableBox;
}

// Progress and result.
QGroupBox* TImportWindow::BuildImportGroup() {
  progressBar_ = new QProgressBar;
  progressBar_->setObjectName("ProgressBar");
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  rateLabel_ = NoteLabel("RateLabel");
  resultLabel_ = new QLabel;
  resultLabel_->setObjectName("ResultLabel");
  resultLabel_->setWordWrap(true);
  resultLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  skippedList_ = new QTreeWidget;
  skippedList_->setObjectName("SkippedList");
  skippedList_->setHeaderLabels({"Lines skipped because", "Lines    ", "First at lines"});
  skippedList_->setRootIsDecorated(false);
  skippedList_->setSelectionMode(QAbstractItemView::NoSelection);
  skippedList_->setFocusPolicy(Qt::NoFocus);
  skippedList_->header()->setStretchLastSection(true);
  skippedList_->setColumnWidth(0, 200);
  skippedList_->setColumnWidth(1, 90);
  skippedList_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  skippedList_->setMinimumHeight(110);
  auto* resultBox = new QGroupBox("Import");
  auto* resultLayout = new QVBoxLayout;
  resultLayout->addWidget(progressBar_);
  resultLayout->addWidget(resultLabel_);
  resultLayout->addWidget(rateLabel_);
  resultLayout->addWidget(skippedList_, 1);
  resultBox->setLayout(resultLayout);

  return resultBox;
}

QDialogButtonBox* TImportWindow::BuildButtons() {
  auto* buttons = new QDialogButtonBox;
  importButton_ = buttons->addButton("&Import", QDialogButtonBox::AcceptRole);
  importButton_->setObjectName("ImportButton");
  importButton_->setDefault(true);
  cancelButton_ = buttons->addButton(QDialogButtonBox::Cancel);
  cancelButton_->setObjectName("CancelButton");
  closeButton_ = buttons->addButton(QDialogButtonBox::Close);
  closeButton_->setObjectName("CloseButton");

  return buttons;
}

TImportWindow::~TImportWindow() {
  if (worker_) {
    cancel_ = true;
    worker_->wait();
  }
}

void TImportWindow::ChooseFile() {
  const QString start =
      fileEdit_->text().isEmpty() ? QString() : QFileInfo(fileEdit_->text()).path();
  const QString path = QFileDialog::getOpenFileName(
      this, "Choose an element file", start,
      "Element files (MPCORB.DAT MPCORB.DAT.gz CometEls.txt CometEls.txt.gz *.dat *.DAT *.txt "
      "*.gz);;All files (*)");
  if (!path.isEmpty()) SetElementFile(path);
}

void TImportWindow::SetElementFile(const QString& path) {
  fileEdit_->setText(path);
  // The file is read again (it may have changed), but the same file keeps the table name the
  // user may have typed, and the result of its import.
  const bool another = path != elementFile_;
  if (another) {
    elementFile_ = path;
    // A format forced for the last file is rarely that of the next: it would make the import
    // fail with a format the note beside it contradicts.
    formatCombo_->setCurrentIndex(0);
    progressBar_->setValue(0);
    resultLabel_->clear();
    SetNote(rateLabel_, "", false);
    skippedList_->clear();
  }
  detected_.reset();
  if (path.isEmpty()) {
    detectedLabel_->clear();
  } else {
    if (IsSpecialFile(path.toStdString())) {
      // Reading a pipe would wait for whoever writes to it, and the window with it.
      SetNote(detectedLabel_,
              "This is no regular file (a pipe, a device or a folder): the import reads element "
              "files only.",
              true);
    } else {
      try {
        detected_ = DetectElementFormat(fs::path(path.toStdString()));
        if (detected_) {
          SetNote(detectedLabel_, "Found in the file: " + FormatText(*detected_) + ".", false);
        } else {
          SetNote(detectedLabel_,
                  QString("No line of the first %1 is an element line of either format.")
                      .arg(kDetectionLines),
                  true);
        }
      } catch (const EKestrovaError& e) {
        SetNote(detectedLabel_, QString::fromStdString(e.what()), true);
      }
    }
    if (another) tableEdit_->setText(ProposedTable(path));
  }
  UpdateState();
}

std::optional<TElementFormat> TImportWindow::ChosenFormat() const {
  switch (formatCombo_->currentIndex()) {
    case 1:
      return TElementFormat::Mpcorb;
    case 2:
      return TElementFormat::Comets;
    default:
      return detected_;
  }
}

void TImportWindow::UpdateState() {
  const bool running = Running();
  for (QWidget* w : std::initializer_list<QWidget*>{fileEdit_, browseButton_, formatCombo_,
                                                    tableEdit_, replaceCheck_})
    w->setEnabled(!running);
  cancelButton_->setEnabled(running);
  if (running) {
    importButton_->setEnabled(false);
    return;
  }
  const std::string table = tableEdit_->text().trimmed().toStdString();
  bool ready = !fileEdit_->text().isEmpty() && ChosenFormat().has_value() &&
               !IsSpecialFile(fileEdit_->text().toStdString());
  if (table.empty()) {
    SetNote(tableNote_, "", false);
    ready = false;
  } else if (const char* why = TableNameProblem(table)) {
    SetNote(tableNote_, QString("This cannot be the name of a table: %1.").arg(why), true);
    ready = false;
  } else {
    std::error_code ec;
    const bool exists = fs::exists(aliasFolder_ / (table + ".db"), ec);
    if (exists && !replaceCheck_->isChecked()) {
      SetNote(tableNote_,
              QString("A table %1.db exists already; tick Replace to import over it.")
                  .arg(QString::fromStdString(table)),
              true);
      ready = false;
    } else if (exists) {
      SetNote(tableNote_,
              QString("The table %1.db is replaced once the import is complete; until then, "
                      "and if it fails or is cancelled, it stays as it is.")
                  .arg(QString::fromStdString(table)),
              false);
    } else {
      SetNote(tableNote_, "", false);
    }
  }
  std::error_code ec;
  if (!fs::is_directory(aliasFolder_, ec)) {
    SetNote(tableNote_, "The folder does not exist.", true);
    ready = false;
  }
  importButton_->setEnabled(ready);
}

void TImportWindow::StartImport() {
  UpdateState();
  if (!importButton_->isEnabled()) return;
  TImportOptions options;
  options.Format = ChosenFormat();
  options.Alias = aliasFolder_.string();
  options.Table = tableEdit_->text().trimmed().toStdString();
  options.Replace = replaceCheck_->isChecked();
  const fs::path file = fileEdit_->text().toStdString();

  result_.reset();
  error_.clear();
  cancelled_ = false;
  cancel_ = false;
  skippedList_->clear();
  resultLabel_->clear();
  resultLabel_->setStyleSheet({});
  progressBar_->setRange(0, 100);
  progressBar_->setValue(0);
  SetNote(rateLabel_, "Reading the file...", false);
  clock_.start();
  rateRows_ = 0;
  rateTime_ = 0;
  rate_ = 0;

  // The window hears of the import at most twenty times a second, and always of a stage's
  // start and end.
  options.Progress =
      [this, last = std::chrono::steady_clock::time_point{}](const TImportProgress& p) mutable {
        if (cancel_) return false;
        const auto now = std::chrono::steady_clock::now();
        if (p.Percent == 0 || p.Percent == 100 || now - last >= std::chrono::milliseconds(50)) {
          last = now;
          QMetaObject::invokeMethod(
              this, [this, p] { ShowProgress(p); }, Qt::QueuedConnection);
        }
        return !cancel_.load();
      };
  worker_ = QThread::create([this, file, options] {
    try {
      result_ = ImportElements(file, options);
    } catch (const EImportCancelled&) {
      cancelled_ = true;
    } catch (const std::exception& e) {
      error_ = e.what();
    }
  });
  connect(worker_, &QThread::finished, this, &TImportWindow::Finish, Qt::QueuedConnection);
  UpdateState();
  worker_->start();
}

void TImportWindow::CancelImport() {
  if (!Running()) return;
  cancel_ = true;
  cancelButton_->setEnabled(false);
  SetNote(rateLabel_, "Cancelling...", false);
}

void TImportWindow::ShowProgress(const TImportProgress& p) {
  if (!Running() || cancel_) return;
  const qint64 now = clock_.elapsed();
  // The rate is the reading's: while the indices are made no rows come, and it stays as it was.
  // A reading done within the first measure gets the rate of the whole of it at its end.
  const bool due = now - rateTime_ >= 250 || (rate_ == 0 && p.Percent == 100);
  if (p.Stage == TImportProgress::TStage::Reading && due && p.Rows >= rateRows_) {
    const double recent =
        1000.0 * double(p.Rows - rateRows_) / double(std::max<qint64>(now - rateTime_, 1));
    rate_ = rateTime_ == 0 ? recent : 0.6 * rate_ + 0.4 * recent;
    rateRows_ = p.Rows;
    rateTime_ = now;
  }
  if (p.Stage == TImportProgress::TStage::Reading) {
    if (p.BytesTotal > 0) {
      progressBar_->setRange(0, 100);
      progressBar_->setValue(p.Percent);
    } else {
      progressBar_->setRange(0, 0);  // a pipe: no end known
    }
    QString text = QString("Reading the file: %1 rows").arg(Number(p.Rows));
    if (rate_ > 0) text += QString(", %1 rows per second").arg(Number(int64_t(rate_ + 0.5)));
    SetNote(rateLabel_, text, false);
  } else {
    progressBar_->setRange(0, 100);
    progressBar_->setValue(p.Percent);
    SetNote(rateLabel_,
            QString("Making the indices of %1 rows (%2 rows per second while reading)")
                .arg(Number(p.Rows), Number(int64_t(rate_ + 0.5))),
            false);
  }
}

void TImportWindow::Finish() {
  if (!worker_) return;
  worker_->wait();
  worker_->deleteLater();
  worker_ = nullptr;
  const double seconds = double(clock_.elapsed()) / 1000.0;
  skippedList_->clear();
  progressBar_->setRange(0, 100);
  if (result_) {
    progressBar_->setValue(100);
    const TImportResult& r = *result_;
    resultLabel_->setStyleSheet("font-weight: bold;");
    resultLabel_->setText(QString("Imported %1 rows into %2")
                              .arg(Number(r.Rows), QString::fromStdString(r.TableFile.string())));
    SetNote(rateLabel_,
            QString("%1 format, %2 lines skipped, %3 s, %4 rows per second")
                .arg(FormatText(r.ReadAs), Number(r.Skipped), QString::number(seconds, 'f', 1),
                     Number(int64_t(double(r.Rows) / std::max(seconds, 0.001) + 0.5))),
            false);
    // Duplicates are listed with the skipped lines: the row of each earlier line is gone.
    std::vector<TSkipReason> listed = r.Reasons;
    if (r.Duplicates > 0)
      listed.push_back({"duplicate (replaced an earlier line)", r.Duplicates, r.DuplicateLines});
    for (const TSkipReason& reason : listed) {
      QStringList first;
      for (int64_t line : reason.FirstLines) first << Number(line);
      if (reason.Count > int64_t(reason.FirstLines.size())) first << "...";
      // The count stands right-aligned, a little apart from the line numbers after it.
      auto* item = new QTreeWidgetItem(
          {QString::fromStdString(reason.Reason), Number(reason.Count) + "    ", first.join(", ")});
      item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
      skippedList_->addTopLevelItem(item);
    }
  } else {
    progressBar_->setValue(0);
    resultLabel_->setStyleSheet("font-weight: bold; color: #a4161a;");
    resultLabel_->setText(cancelled_ ? "Import cancelled: no table was changed."
                                     : QString::fromStdString(error_));
    SetNote(rateLabel_, cancelled_ ? "" : "No table was changed.", false);
  }
  UpdateState();
  emit importFinished();
  if (closeWhenDone_) close();
}

void TImportWindow::closeEvent(QCloseEvent* event) {
  if (Running()) {
    // Closing would throw away the work done so far: only on the user's word.
    if (!prompter_->AskYesNo(this, QStringLiteral("An import is running. Stop it and close the "
                                                  "window? No table is changed then."))) {
      event->ignore();
      return;
    }
    // The import stops first, so that no half table is left; the window closes after it.
    closeWhenDone_ = true;
    CancelImport();
    event->ignore();
    return;
  }
  event->accept();
}

bool ImportRunsHeadless(const std::vector<std::string>& args) {
  int positional = 0;
  for (const std::string& a : args) {
    if (a.rfind("--", 0) == 0 || a == "-h") return true;
    ++positional;
  }
  if (positional == 0) return false;
  if (positional > 1) return true;
  std::error_code ec;
  return !(args[0] == kDefaultAlias || fs::is_directory(args[0], ec));
}

fs::path ImportAliasFolder(const std::vector<std::string>& args) {
  std::error_code ec;
  if (args.size() == 1 && args[0] != kDefaultAlias && fs::is_directory(args[0], ec))
    return fs::absolute(args[0]);
  return AliasFolder(kDefaultAlias);
}

}  // namespace kestrova
