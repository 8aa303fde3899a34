#include "ui/satellites_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/astronomical_objects.h"
#include "ui/dialog_buttons.h"

namespace kestrova {

namespace {

struct TBoxRow {
  const char* Name;
  const char* Caption;
  int32_t Id;
};

struct TGroupRows {
  const char* Name;
  const char* Caption;
  int First;  // index of its first box
  int Count;
};

constexpr std::array<TBoxRow, TSatellitesDlg::kBoxCount> kBoxes = {{
    {"CBMoon", "Moon", 13},
    {"CBIo", "Io", 140},
    {"CBEuropa", "Europa", 141},
    {"CBGanymede", "Ganymede", 142},
    {"CBCallisto", "Callisto", 143},
    {"CBMimas", "Mimas", 156},
    {"CBEnceladus", "Enceladus", 157},
    {"CBTethys", "Tethys", 158},
    {"CBTelesto", "Telesto", 159},
    {"CBCalypso", "Calypso", 160},
    {"CBDione", "Dione", 161},
    {"CBHelene", "Helene", 162},
    {"CBRhea", "Rhea", 163},
    {"CBTitan", "Titan", 164},
    {"CBHyperion", "Hyperion", 165},
    {"CBIapetus", "Iapetus", 166},
    {"CBPhoebe", "Phoebe", 167},
    {"CBMiranda", "Miranda", 170},
    {"CBAriel", "Ariel", 171},
    {"CBUmbriel", "Umbriel", 172},
    {"CBTitania", "Titania", 173},
    {"CBOberon", "Oberon", 174},
}};

constexpr std::array<TGroupRows, 4> kGroups = {{
    {"GBEarth", "Earth", 0, 1},
    {"GBJupiter", "Jupiter", 1, 4},
    {"GBSaturn", "Saturn", 5, 12},
    {"GroupBox1", "Uranus", 17, 5},
}};

}  // namespace

TSatellitesDlg::TSatellitesDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TSatellitesDlg"));
  setWindowTitle(QStringLiteral("Show satellites"));

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::StyledPanel);
  std::array<QGroupBox*, kGroups.size()> groups{};
  for (size_t g = 0; g < kGroups.size(); ++g) {
    const TGroupRows& rows = kGroups[g];
    auto* group = new QGroupBox(QString::fromLatin1(rows.Caption), panel);
    group->setObjectName(QString::fromLatin1(rows.Name));
    auto* grid = new QGridLayout(group);
    // Saturn's twelve satellites stand in two columns, the first ending with Dione's companion
    // so that the Trojans stay under their primaries; the others in one.
    const int perColumn = rows.Count > 7 ? 7 : rows.Count;
    for (int i = 0; i < rows.Count; ++i) {
      const TBoxRow& row = kBoxes[size_t(rows.First + i)];
      auto* box = new QCheckBox(QString::fromLatin1(row.Caption), group);
      box->setObjectName(QString::fromLatin1(row.Name));
      grid->addWidget(box, i % perColumn, i / perColumn);
      satellite_boxes_[size_t(rows.First + i)] = {box, row.Id};
    }
    grid->setRowStretch(perColumn, 1);
    groups[g] = group;
  }
  auto box = [this](const char* name) { return findChild<QCheckBox*>(QString::fromLatin1(name)); };
  cb_tethys_ = box("CBTethys");
  cb_telesto_ = box("CBTelesto");
  cb_calypso_ = box("CBCalypso");
  cb_dione_ = box("CBDione");
  cb_helene_ = box("CBHelene");

  auto* all = new QPushButton(QStringLiteral("All"), panel);
  all->setObjectName(QStringLiteral("SBAll"));
  all->setAutoDefault(false);
  auto* none = new QPushButton(QStringLiteral("None"), panel);
  none->setObjectName(QStringLiteral("SBNone"));
  none->setAutoDefault(false);

  // Earth and Jupiter on the left, Saturn in the middle, Uranus and the two buttons on the right.
  auto* left = new QVBoxLayout;
  left->addWidget(groups[0]);
  left->addWidget(groups[1]);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(groups[3]);
  right->addStretch(1);
  right->addWidget(all);
  right->addWidget(none);
  auto* columns = new QHBoxLayout(panel);
  columns->addLayout(left);
  columns->addWidget(groups[2]);
  columns->addLayout(right);

  PanelAboveOkCancel(this, panel);
  setMinimumSize(298, 263);

  connect(all, &QPushButton::clicked, this, &TSatellitesDlg::SBAllClick);
  connect(none, &QPushButton::clicked, this, &TSatellitesDlg::SBNoneClick);
  // A tick changed by the program couples the companions just as a click does, and only when
  // the tick really changes.
  connect(cb_tethys_, &QCheckBox::toggled, this, &TSatellitesDlg::CBTethysClick);
  connect(cb_dione_, &QCheckBox::toggled, this, &TSatellitesDlg::CBDioneClick);
}

void TSatellitesDlg::SetPlanets(const TOEObjectList& planets) {
  for (const auto& [box, id] : satellite_boxes_) {
    // The first planet that has the satellite.
    for (const auto& body : planets.Items()) {
      const auto* planet = dynamic_cast<const TPlanet*>(body.get());
      if (const TSatellite* satellite = planet ? planet->FindSatellite(id) : nullptr) {
        box->setChecked(satellite->Visible);
        break;
      }
    }
  }
}

TSatelliteTicks TSatellitesDlg::Ticks() const {
  TSatelliteTicks ticks;
  for (const auto& [box, id] : satellite_boxes_) ticks.emplace_back(id, box->isChecked());
  return ticks;
}

void TSatellitesDlg::SBAllClick() {
  for (const auto& entry : satellite_boxes_) entry.first->setChecked(true);
}

void TSatellitesDlg::SBNoneClick() {
  for (const auto& entry : satellite_boxes_) entry.first->setChecked(false);
}

void TSatellitesDlg::CBTethysClick() {
  const bool shown = cb_tethys_->isChecked();
  for (QCheckBox* companion : {cb_telesto_, cb_calypso_}) {
    if (!shown) companion->setChecked(false);
    companion->setEnabled(shown);
  }
}

void TSatellitesDlg::CBDioneClick() {
  const bool shown = cb_dione_->isChecked();
  if (!shown) cb_helene_->setChecked(false);
  cb_helene_->setEnabled(shown);
}

}  // namespace kestrova
