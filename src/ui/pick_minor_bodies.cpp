#include "ui/pick_minor_bodies.h"

#include <QString>

#include "model/astronomical_objects.h"
#include "scene/solar_system.h"
#include "ui/aster_form.h"
#include "ui/prompter.h"

namespace kestrova {

bool AddObject(TSolarSystem& scene, std::unique_ptr<TAsteroid> body, TPrompter& prompter,
               QWidget* parent) {
  if (!body) return false;
  TOEObjectList& list = scene.AsteroidsList();
  const std::string name = FreeName(list, body->Name);
  if (name != body->Name) {
    const QString question =
        "The list includes always an object named '" + QString::fromStdString(body->Name) + "'." +
        "\r" + "Do you wish do add the new object as '" + QString::fromStdString(name) + "' ?";
    if (!prompter.AskYesNo(parent, question)) return false;
    body->Name = name;
  }
  list.Add(std::move(body));
  return true;
}

int AddBrowserObjects(TAsterForm& browser, TSolarSystem& scene, TPrompter& prompter,
                      QWidget* parent) {
  const int marked = browser.SelectedCount();
  if (marked > kMostPickedObjects) {
    prompter.ShowMessage(parent, QString::number(marked) + " objects are marked; at most " +
                                     QString::number(kMostPickedObjects) +
                                     " can be added to the list at once.\r\"Show all objects\" "
                                     "shows every object of the data file.");
    return 0;
  }
  int added = 0;
  if (marked > 0) {
    for (int n = 0; n < marked; ++n)
      added += AddObject(scene, browser.SelectedObject(n), prompter, parent) ? 1 : 0;
  } else {
    added += AddObject(scene, browser.CurrentObject(), prompter, parent) ? 1 : 0;
  }
  return added;
}

}  // namespace kestrova
