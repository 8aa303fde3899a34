#include "ui/pick_minor_bodies.h"

#include <QString>
#include <QStringList>

#include "model/astronomical_objects.h"
#include "ui/aster_form.h"
#include "ui/prompter.h"

namespace kestrova {

QString TooManyMarksMessage(int marked) {
  return QString::number(marked) + " objects are marked; at most " +
         QString::number(kMostPickedObjects) +
         " can be added to the list at once. Take marks away (Ctrl+click) and press OK "
         "again.\r\"Show all objects\" shows every object of the data file.";
}

std::vector<std::unique_ptr<TAsteroid>> PickedObjects(TAsterForm& browser, TPrompter& prompter,
                                                      QWidget* parent) {
  std::vector<std::unique_ptr<TAsteroid>> picked;
  const int marked = browser.SelectedCount();
  if (marked > kMostPickedObjects) {
    prompter.ShowMessage(parent, TooManyMarksMessage(marked));
    return picked;
  }
  // Rows of a hand-edited or damaged data file may hold elements of no orbit; such a body
  // would have no position, so it is left out and named.
  QStringList refused;
  const auto take = [&](std::unique_ptr<TAsteroid> body) {
    if (!body) return;
    if (const char* why = OrbitProblem(body->Elements)) {
      refused << QString::fromStdString(body->Name) + " (" + why + ")";
      return;
    }
    picked.push_back(std::move(body));
  };
  if (marked == 0) {
    take(browser.CurrentObject());
  } else {
    for (int n = 0; n < marked; ++n) take(browser.SelectedObject(n));
  }
  if (!refused.isEmpty()) {
    constexpr int kNamed = 10;
    QString names = QStringList(refused.mid(0, kNamed)).join(", ");
    if (refused.size() > kNamed) names += QString(" and %1 more").arg(refused.size() - kNamed);
    prompter.ShowMessage(parent,
                         "Objects without a closed orbit can not be shown and were not "
                         "added:\r" +
                             names + ".");
  }
  return picked;
}

}  // namespace kestrova
