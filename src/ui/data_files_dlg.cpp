#include "ui/data_files_dlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "database/data_file.h"
#include "database/data_files.h"
#include "ui/create_idx_form.h"
#include "ui/prompter.h"
#include "ui/table_name_dlg.h"

namespace kestrova {

namespace {

QString Text(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

TDataFilesDlg::TDataFilesDlg(TPrompter& prompter, TDataFile& dataFile,
                             TCreateIdxForm& createIdxForm, QWidget* parent)
    : QDialog(parent),
      prompter_(prompter),
      data_file_(dataFile),
      create_idx_form_(createIdxForm),
      table_name_dlg_(new TTableNameDlg(this)),
      import_program_(QDir(QCoreApplication::applicationDirPath()).filePath("kestrova-import")) {
  setObjectName("DataFilesDlg");
  setWindowTitle("Select data file");

  auto* label = new QLabel("Available data files:", this);
  list_ = new QListWidget(this);
  list_->setObjectName("TablesListBox");
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  label->setBuddy(list_);

  auto button = [this](const char* caption, const char* name) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
  };
  QPushButton* create = button("Create new file", "BNewTable");
  delete_ = button("Delete file", "BDeleteTable");
  rebuild_ = button("Rebuild indices", "BRebuildIndx");
  QPushButton* import = button("Start import module", "BImport");
  QPushButton* refresh = button("Refresh list", "BRefreshList");
  ok_ = button("OK", "BOk");
  ok_->setDefault(true);
  QPushButton* cancel = button("Cancel", "BCancel");

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {create, delete_, rebuild_, import, refresh}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0);
  layout->addWidget(list_, 1, 0);
  layout->addLayout(buttons, 1, 1);
  layout->setColumnStretch(0, 1);
  resize(430, 300);

  connect(list_, &QListWidget::itemClicked, this, &TDataFilesDlg::TablesListBoxClick);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    TablesListBoxClick(item);
    accept();
  });
  connect(create, &QPushButton::clicked, this, &TDataFilesDlg::BNewTableClick);
  connect(delete_, &QPushButton::clicked, this, &TDataFilesDlg::BDeleteTableClick);
  connect(rebuild_, &QPushButton::clicked, this, &TDataFilesDlg::BRebuildIndxClick);
  connect(import, &QPushButton::clicked, this, &TDataFilesDlg::BImportClick);
  connect(refresh, &QPushButton::clicked, this, &TDataFilesDlg::BRefreshListClick);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  EnableForSelection(false);
}

TDataFilesDlg::~TDataFilesDlg() = default;

void TDataFilesDlg::ReportError(const std::exception& e) {
  prompter_.ShowError(this, QString::fromStdString(e.what()));
}

void TDataFilesDlg::EnableForSelection(bool selected) {
  ok_->setEnabled(selected);
  delete_->setEnabled(selected);
  rebuild_->setEnabled(selected);
}

void TDataFilesDlg::FillList() {
  list_->clear();
  try {
    for (const std::string& name : TableStore::ListTables(folder_)) list_->addItem(Text(name));
  } catch (const EKestrovaError& e) {
    ReportError(e);
  }
}

void TDataFilesDlg::SetAlias(const std::string& alias) {
  alias_ = alias;
  // A folder that cannot be found says so when the list is filled.
  folder_ = alias;
  try {
    folder_ = data_file_.AliasFolder(alias).string();
  } catch (const EKestrovaError&) {
  }
  table_.Close();
  FillList();
  selected_.clear();
  EnableForSelection(false);
}

void TDataFilesDlg::SelectTable(const std::string& name) {
  selected_ = name;
  const QList<QListWidgetItem*> found = list_->findItems(Text(name), Qt::MatchExactly);
  if (found.isEmpty()) {
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
    EnableForSelection(false);
    return;
  }
  list_->setCurrentItem(found.front());
  list_->scrollToItem(found.front());
  table_.SetDatabase(folder_);
  table_.SetTableName(name);
  selected_ = table_.TableName();
  EnableForSelection(true);
}

void TDataFilesDlg::TablesListBoxClick(QListWidgetItem* item) {
  if (!item) return;
  table_.Close();
  table_.SetIndexName("");
  table_.SetDatabase(folder_);
  table_.SetTableName(item->text().toStdString());
  selected_ = table_.TableName();
  EnableForSelection(true);
}

void TDataFilesDlg::BNewTableClick() {
  table_name_dlg_->Prepare();
  if (prompter_.RunDialog(*table_name_dlg_) != QDialog::Accepted) return;
  const std::string name = table_name_dlg_->GetTableName().toStdString();
  if (const std::string problem = DataFileNameProblem(name); !problem.empty()) {
    prompter_.ShowError(this, Text(problem));
    return;
  }
  const std::string file = name + ".db";
  try {
    table_.Close();
    table_.SetIndexName("");
    table_.SetDatabase(folder_);
    table_.SetTableName(file);
    CreateDataFile(folder_, file);
  } catch (const EKestrovaError& e) {
    ReportError(e);
    return;
  }
  FillList();
  SelectTable(file);
}

void TDataFilesDlg::BDeleteTableClick() {
  if (selected_.empty()) return;
  if (!prompter_.AskYesNo(this,
                          "Are you sure you want to delete the table '" + Text(selected_) + "'?"))
    return;
  if (data_file_.IsOpenFile(alias_, selected_)) {
    prompter_.ShowError(this, "The table '" + Text(selected_) +
                                  "' is the program's data file and can not be deleted while it "
                                  "is in use. Choose another data file first.");
    return;
  }
  try {
    table_.Close();
    TableStore::DeleteTable(folder_, selected_);
  } catch (const EKestrovaError& e) {
    ReportError(e);
    return;
  }
  FillList();
  selected_.clear();
  EnableForSelection(false);
}

void TDataFilesDlg::BRebuildIndxClick() {
  if (selected_.empty()) return;
  const auto make = [this](TableStore& table) { return create_idx_form_.CreateIndices(table); };
  if (data_file_.IsOpenFile(alias_, selected_)) {
    try {
      data_file_.RebuildIndices(make);
    } catch (const EKestrovaError& e) {
      ReportError(e);
    }
    return;
  }
  try {
    create_idx_form_.CreateIndices(table_);
  } catch (const EKestrovaError& e) {
    ReportError(e);
  }
  table_.Close();
}

void TDataFilesDlg::BImportClick() {
  const QFileInfo program(import_program_);
  if (!program.isFile() || !program.isExecutable()) {
    prompter_.ShowError(this, "The import program " + import_program_ + " was not found.");
    return;
  }
  QString folder;
  try {
    folder = QString::fromStdString(data_file_.AliasFolder(alias_).string());
  } catch (const EKestrovaError& e) {
    ReportError(e);
    return;
  }
  // The program runs on its own; this dialog neither waits for it nor looks at its result.
  if (!QProcess::startDetached(import_program_, {folder}, folder))
    prompter_.ShowError(this, "The import program " + import_program_ + " could not be started.");
}

void TDataFilesDlg::BRefreshListClick() {
  const std::string current = selected_;
  FillList();
  SelectTable(current);
  if (list_->currentItem() == nullptr) selected_.clear();
}

}  // namespace kestrova
