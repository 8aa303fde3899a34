// Reads a scene block of any of the three forms from arbitrary bytes into one long-lived scene,
// then recomputes it and writes it out again: no input may crash, hang or allocate without
// bound, and the only failures are the stream's errors and the list index error.
//
// Input: byte 0 chooses the reader (0 the current form, 1 the 1.5 form, 2 the 1.0 form, by its
// value modulo 3); the rest is the stream.
#include <cstddef>
#include <cstdint>

#include "model/object_lists.h"
#include "scene/scene_stream.h"
#include "scene/solar_system.h"
#include "streams/value_stream.h"

namespace {

// One scene for the whole run, as in the program: whatever a damaged block leaves behind is
// the state the next one is read into.
kestrova::TSolarSystem& Scene() {
  static kestrova::TSolarSystem scene{kestrova::JDToDate(0, 2451545.0L)};
  return scene;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  kestrova::TSolarSystem& scene = Scene();
  kestrova::MemorySource source(data + 1, size - 1);
  kestrova::ValueReader reader(source);
  bool complete = false;
  try {
    switch (data[0] % 3) {
      case 0:
        kestrova::ReadScene(scene, reader);
        break;
      case 1:
        kestrova::ReadScene15(scene, reader);
        break;
      default:
        kestrova::ReadScene10(scene, reader);
    }
    complete = true;
  } catch (const kestrova::EKestrovaError&) {
    // The expected end of a damaged block (stream errors and EListError alike).
  }
  // What the document reader does after a whole block: recompute (the slow part, so only
  // then), and later write the scene again.
  if (complete) scene.Recompute();
  kestrova::MemorySink sink;
  kestrova::ValueWriter writer(sink);
  kestrova::WriteScene(scene, writer);
  writer.Finish();
  return 0;
}
