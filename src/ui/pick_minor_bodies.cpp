#include "ui/pick_minor_bodies.h"

#include <QString>

#include "model/astronomical_objects.h"
#include "ui/aster_form.h"
#include "ui/prompter.h"

namespace kestrova {

std::vector<std::unique_ptr<TAsteroid>> PickedObjects(TAsterForm& browser, TPrompter& prompter,
                                                      QWidget* parent) {
  std::vector<std::unique_ptr<TAsteroid>> picked;
  const int marked = browser.SelectedCount();
  if (marked > kMostPickedObjects) {
    prompter.ShowMessage(parent, QString::number(marked) + " objects are marked; at most " +
                                     QString::number(kMostPickedObjects) +
                                     " can be added to the list at once.\r\"Show all objects\" "
                                     "shows every object of the data file.");
    return picked;
  }
  if (marked == 0) {
    if (std::unique_ptr<TAsteroid> body = browser.CurrentObject())
      picked.push_back(std::move(body));
    return picked;
  }
  for (int n = 0; n < marked; ++n) {
    if (std::unique_ptr<TAsteroid> body = browser.SelectedObject(n))
      picked.push_back(std::move(body));
  }
  return picked;
}

}  // namespace kestrova
