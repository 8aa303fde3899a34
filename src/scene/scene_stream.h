// The scene's block of orbit documents: written in the current form (that of version 1.6
// documents), read in the current, the 1.5 and the 1.0/1.1 forms.
//
// Readers apply each value as soon as it is read, through the scene's own setters, so the
// setters' rules hold (a Dim out of range is ignored and reading goes on). A stream error, a
// date outside the program's range, or more satellites than a planet has (EListError) ends
// reading at once; the scene keeps what was applied until then.
#pragma once

#include "scene/solar_system.h"
#include "streams/value_stream.h"

namespace kestrova {

void WriteScene(const TSolarSystem& scene, ValueWriter& writer);
// The current form; ends with Recompute and Repaint.
void ReadScene(TSolarSystem& scene, ValueReader& reader);
// The 1.5 form; ends with Repaint only (the document recomputes after it). The user-defined
// lines and ShowDirections stay as they are.
void ReadScene15(TSolarSystem& scene, ValueReader& reader);
// The 1.0 form; as ReadScene15, and the colours and switches the form lacks take fixed values.
void ReadScene10(TSolarSystem& scene, ValueReader& reader);

}  // namespace kestrova
