#include "ui/objects_panel.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "ui/color_field.h"
#include "ui/panel_parts.h"
#include "ui/prompter.h"
#include "ui/scene_controller.h"

namespace kestrova {

namespace {

// The planets' rows from the Sun outwards: planet number, check box, colour field.
struct TPlanetRow {
  int32_t planet;
  const char* box;
  const char* field;
  const char* caption;
};
constexpr TPlanetRow kPlanetRows[9] = {
    {1, "CBMercury", "SHMercury", "Mercury"}, {2, "CBVenus", "ShVenus", "Venus"},
    {0, "CBEarth", "SHEarth", "Earth"},       {3, "CBMars", "SHMars", "Mars"},
    {4, "CBJupiter", "SHJupiter", "Jupiter"}, {5, "CBSaturn", "ShSaturn", "Saturn"},
    {6, "CBUranus", "ShUranus", "Uranus"},    {7, "CBNeptune", "ShNeptune", "Neptune"},
    {8, "CBPluto", "ShPluto", "Pluto"}};

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const QString& caption) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  return box;
}

TColorField* NewColorField(TPrompter& prompter, QWidget* parent, const char* name) {
  auto* field = new TColorField(prompter, parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setFixedSize(22, 13);
  return field;
}

bool HasName(const TOEObjectList& list, const std::vector<std::unique_ptr<TAsteroid>>& pending,
             const std::string& name) {
  for (const auto& body : list.Items())
    if (body->Name == name) return true;
  for (const auto& body : pending)
    if (body->Name == name) return true;
  return false;
}

}  // namespace

TObjectsPanel::TObjectsPanel(TSceneController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
  setObjectName(QStringLiteral("ObjectsPanel"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->setSpacing(3);

  auto* sunRow = new QHBoxLayout;
  // The Sun's colour field stands above the planets' (whose row ends with the ":::" column).
  sunRow->setContentsMargins(6, 2, 32, 0);
  sun_ = NewCheckBox(this, "CBSun", QStringLiteral("Sun"));
  sun_color_ = NewColorField(controller_.Prompter(), this, "ShSun");
  sunRow->addWidget(sun_, 1);
  sunRow->addWidget(sun_color_);
  layout->addLayout(sunRow);
  connect(sun_, &QCheckBox::toggled, &controller_, &TSceneController::SetShowSun);
  connect(sun_color_, &TColorField::colorChosen, &controller_, &TSceneController::SetSunColor);

  layout->addWidget(BuildPlanetsGroup());
  layout->addWidget(BuildOtherObjectsGroup());
  layout->addStretch(1);
}

TObjectsPanel::~TObjectsPanel() = default;

QWidget* TObjectsPanel::BuildPlanetsGroup() {
  QGroupBox* group = NewGroup(this, "GBPlanets", QStringLiteral("&Planets"));
  auto* layout = new QGridLayout(group);
  layout->setContentsMargins(5, 1, 5, 3);
  layout->setVerticalSpacing(0);
  layout->setColumnStretch(0, 1);
  TPrompter& prompter = controller_.Prompter();
  int row = 0;
  for (const TPlanetRow& p : kPlanetRows) {
    QCheckBox* box = NewCheckBox(group, p.box, QString::fromLatin1(p.caption));
    TColorField* field = NewColorField(prompter, group, p.field);
    field->setToolTip(QString::fromLatin1(p.caption) + QStringLiteral(" colour"));
    planets_[size_t(p.planet)] = box;
    planet_colors_[size_t(p.planet)] = field;
    layout->addWidget(box, row, 0);
    layout->addWidget(field, row, 1);
    ++row;
    const int32_t planet = p.planet;
    connect(box, &QCheckBox::toggled, this,
            [this, planet](bool on) { controller_.SetPlanetVisible(planet, on); });
    connect(field, &TColorField::colorChosen, this,
            [this, planet](TColor c) { controller_.SetObjectColor(planet, c); });
  }
  satellites_ = NewCheckBox(group, "CBSatellites", QStringLiteral("Satellites"));
  satellite_color_ = NewColorField(prompter, group, "ShSatellites");
  satellite_color_->setToolTip(QStringLiteral("satellites' colour"));
  satellites_dialog_ =
      NewButton(group, "SBShowSatellites", QStringLiteral(":::"), QStringLiteral("satellites"));
  satellites_dialog_->setFixedSize(20, 14);
  layout->addWidget(satellites_, row, 0);
  layout->addWidget(satellite_color_, row, 1);
  layout->addWidget(satellites_dialog_, row, 2);
  ++row;
  connect(satellites_, &QCheckBox::toggled, &controller_, &TSceneController::SetShowSatellites);
  connect(satellite_color_, &TColorField::colorChosen, this,
          [this](TColor c) { controller_.SetObjectColor(kSatelliteColorIndex, c); });

  auto* allNone = new QHBoxLayout;
  allNone->setContentsMargins(0, 4, 0, 0);
  QToolButton* all = NewButton(group, "SBSelAll", QStringLiteral("All"),
                               QStringLiteral("show all planets and satellites"));
  QToolButton* none = NewButton(group, "SBDeselAll", QStringLiteral("None"),
                                QStringLiteral("hide all planets and satellites"));
  for (QToolButton* b : {all, none}) {
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    allNone->addWidget(b);
  }
  layout->addLayout(allNone, row, 0, 1, 3);
  connect(all, &QToolButton::clicked, this, [this] { SetAllPlanets(true); });
  connect(none, &QToolButton::clicked, this, [this] { SetAllPlanets(false); });
  return group;
}

QWidget* TObjectsPanel::BuildOtherObjectsGroup() {
  other_ = NewGroup(this, "GBOtherObjects", QStringLiteral("&Other objects"));
  auto* layout = new QGridLayout(other_);
  layout->setContentsMargins(5, 1, 5, 3);
  layout->setSpacing(2);
  list_ = new QListWidget(other_);
  list_->setObjectName(QStringLiteral("ObjectsListBox"));
  list_->setMinimumHeight(60);
  list_->setToolTip(QStringLiteral("picked objects (Insert adds, Delete removes)"));
  layout->addWidget(list_, 0, 0, 1, 3);
  add_ = NewButton(other_, "SBAddObject", QStringLiteral("Add"),
                   QStringLiteral("add objects from the data file"));
  remove_ = NewButton(other_, "SBRemoveObject", QStringLiteral("Rem."),
                      QStringLiteral("remove the selected object"));
  clear_ = NewButton(other_, "SBClearObjects", QStringLiteral("Clear"),
                     QStringLiteral("remove all objects"));
  for (QToolButton* b : {add_, remove_, clear_})
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  layout->addWidget(add_, 1, 0);
  layout->addWidget(remove_, 1, 1);
  layout->addWidget(clear_, 1, 2);
  minor_color_ = NewColorField(controller_.Prompter(), other_, "ShAsteroids");
  minor_color_->setToolTip(QStringLiteral("colour of minor bodies"));
  all_objects_ = NewButton(other_, "SBAllObjects", QStringLiteral("Show all objects"),
                           QStringLiteral("show all objects of database"), true);
  all_objects_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  layout->addWidget(all_objects_, 2, 0, 1, 3);
  database_ = NewButton(other_, "SBDatabase", QStringLiteral("Data file"),
                        QStringLiteral("choose the data file"));
  database_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  layout->addWidget(minor_color_, 3, 0, Qt::AlignLeft | Qt::AlignVCenter);
  layout->addWidget(database_, 3, 1, 1, 2);
  // Until a browser and a data-files dialog are given, there is nothing to add from.
  add_->setEnabled(false);
  database_->setEnabled(false);

  list_->installEventFilter(this);
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit objectClicked(item->text()); });
  connect(list_, &QListWidget::currentRowChanged, this, [this] { ShowCaptionAndButtons(); });
  connect(add_, &QToolButton::clicked, this, &TObjectsPanel::RunAdd);
  connect(remove_, &QToolButton::clicked, this, &TObjectsPanel::RemoveSelected);
  connect(clear_, &QToolButton::clicked, this, &TObjectsPanel::ClearObjects);
  connect(all_objects_, &QToolButton::clicked, this, &TObjectsPanel::showAllObjectsClicked);
  connect(database_, &QToolButton::clicked, this, [this] {
    if (choose_data_file_ && choose_data_file_()) RunAdd();
  });
  connect(minor_color_, &TColorField::colorChosen, this,
          [this](TColor c) { controller_.SetObjectColor(kMinorBodyColorIndex, c); });
  ShowCaptionAndButtons();
  return other_;
}

bool TObjectsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete) {
      RemoveSelected();
      return true;
    }
    if (key == Qt::Key_Insert) {
      RunAdd();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TObjectsPanel::SetBrowser(TBrowse browse) {
  browse_ = std::move(browse);
  add_->setEnabled(bool(browse_));
}

void TObjectsPanel::SetDataFileChooser(TChooseDataFile choose) {
  choose_data_file_ = std::move(choose);
  database_->setEnabled(bool(choose_data_file_));
}

void TObjectsPanel::RunAdd() {
  if (!browse_ || !other_->isEnabled()) return;
  for (std::unique_ptr<TAsteroid>& body : browse_()) AddMinorBody(std::move(body));
  FinishAdd();
}

bool TObjectsPanel::AddMinorBody(std::unique_ptr<TAsteroid> body) {
  const TOEObjectList& list = controller_.Scene().AsteroidsList();
  if (HasName(list, adding_, body->Name)) {
    std::string name;
    for (int n = 1;; ++n) {
      name = body->Name + " (" + std::to_string(n) + ")";
      if (!HasName(list, adding_, name)) break;
    }
    const QString question = QStringLiteral("The list includes always an object named '") +
                             QString::fromStdString(body->Name) + QStringLiteral("'.") +
                             QStringLiteral("\rDo you wish do add the new object as '") +
                             QString::fromStdString(name) + QStringLiteral("' ?");
    if (!controller_.Prompter().AskYesNo(controller_.DialogParent(), question)) return false;
    body->Name = name;
  }
  adding_.push_back(std::move(body));
  return true;
}

void TObjectsPanel::FinishAdd() {
  controller_.AddMinorBodies(std::move(adding_), minor_color_->Color());
  adding_.clear();
  FillList();
  list_->setCurrentRow(list_->count() - 1);
  ShowCaptionAndButtons();
}

void TObjectsPanel::RemoveSelected() {
  QListWidgetItem* item = list_->currentItem();
  if (list_->count() == 0 || item == nullptr || !item->isSelected()) return;
  controller_.RemoveMinorBody(item->text().toStdString());
  FillList();
  list_->setCurrentRow(0);
  ShowCaptionAndButtons();
}

void TObjectsPanel::ClearObjects() {
  list_->clear();
  controller_.ClearMinorBodies();
  ShowCaptionAndButtons();
}

void TObjectsPanel::FillList() {
  const QSignalBlocker blocker(list_);
  list_->clear();
  for (const auto& body : controller_.Scene().AsteroidsList().Items())
    list_->addItem(QString::fromStdString(body->Name));
}

void TObjectsPanel::ShowCaptionAndButtons() {
  const int n = list_->count();
  other_->setTitle(n > 0 ? QStringLiteral("&Other objects (%1)").arg(n)
                         : QStringLiteral("&Other objects"));
  remove_->setEnabled(n > 0 && list_->currentRow() >= 0);
  clear_->setEnabled(n > 0);
}

void TObjectsPanel::SetAllPlanets(bool on) {
  controller_.SetAllPlanetsVisible(on);
  emit updateControlsRequested();
}

void TObjectsPanel::EnableOtherObjects() {
  other_->setEnabled(controller_.Scene().CanShowObjects());
}

void TObjectsPanel::UpdateControls() {
  const TSolarSystem& scene = controller_.Scene();
  // 9. What is shown; 10. the colours.
  sun_->setChecked(scene.ShowSun());
  for (int32_t i = 0; i < 9; ++i) planets_[size_t(i)]->setChecked(scene.Planet(i).Visible);
  satellites_->setChecked(scene.ShowSatellites());
  sun_color_->SetColor(scene.SunColor());
  for (int32_t i = 0; i < 9; ++i) planet_colors_[size_t(i)]->SetColor(scene.Planet(i).Color);
  minor_color_->SetColor(scene.GetObjectColor(kMinorBodyColorIndex));
  satellite_color_->SetColor(scene.GetObjectColor(kSatelliteColorIndex));
  // 11. The list with its first entry selected; 12. the group.
  FillList();
  list_->setCurrentRow(0);
  ShowCaptionAndButtons();
  EnableOtherObjects();
}

}  // namespace kestrova
