// The main window's "Add" after the browser's OK: the browser's bodies join the scene's list of
// picked minor bodies, a name that is taken already only after the user agrees to a new one.
#pragma once

#include <memory>

class QWidget;

namespace kestrova {

class TAsterForm;
class TAsteroid;
class TPrompter;
class TSolarSystem;

// More marked bodies than this are not added at once: each picked body carries its whole orbit
// and is computed at every step, and a data file may hold more than a million.
inline constexpr int kMostPickedObjects = 1000;

// Appends the body to AsteroidsList when no body there has its name. Otherwise asks whether to
// add it under the first free name "name (n)"; Yes renames and appends it, No drops it.
// True when the body was added.
bool AddObject(TSolarSystem& scene, std::unique_ptr<TAsteroid> body, TPrompter& prompter,
               QWidget* parent);

// Adds the browser's marked bodies in the browser's order, or its current body when none is
// marked. Returns the number of bodies added.
int AddBrowserObjects(TAsterForm& browser, TSolarSystem& scene, TPrompter& prompter,
                      QWidget* parent);

}  // namespace kestrova
