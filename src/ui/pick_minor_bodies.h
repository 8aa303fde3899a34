// What the browser hands the main window's "Add" after OK: the bodies of its marked rows in the
// browser's order, or of its current row when none is marked.
#pragma once

#include <memory>
#include <vector>

class QString;
class QWidget;

namespace kestrova {

class TAsterForm;
class TAsteroid;
class TPrompter;

// More marked bodies than this are not taken at once: each picked body carries its whole orbit
// and is computed at every step, and a data file may hold more than a million.
inline constexpr int kMostPickedObjects = 1000;

// What the user is told when `marked` rows are more than that.
QString TooManyMarksMessage(int marked);

// The marked bodies in the browser's order, else the current body; none when the table is
// closed or empty. With more than kMostPickedObjects marks the user is told so and gets none.
std::vector<std::unique_ptr<TAsteroid>> PickedObjects(TAsterForm& browser, TPrompter& prompter,
                                                      QWidget* parent);

}  // namespace kestrova
