// What the orbit document readers and writer need of the main window: the values a document
// carries (one state object with a new main window's start values) and the few things only a
// window can do. The desktop program's session (ui/session), kestrova-cli's headless host and
// the tests' hosts are all TDocumentHosts; the same reading code runs in each.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "documents/window_geometry.h"
#include "numerics/color.h"
#include "numerics/extended.h"
#include "numerics/julian_dates.h"
#include "numerics/time_step.h"

class QTextDocument;

namespace kestrova {

class ValueReader;
class ValueWriter;

// The main window's values that a document carries, each holding its start value. The host
// keeps them current (a window changed by the user writes its change here), so that writing a
// document only reads this object.
struct TDocumentState {
  bool RealTime = false;
  Extended TimeStep = 1.0L;
  // The code of a TTimeUnit as the document stores it: any code a document carries.
  int32_t TimeUnit = int32_t(TTimeUnit::Day);
  bool MonitorVisible = false;
  int32_t MonitorLeft = kMonitorStartLeft;
  int32_t MonitorTop = kMonitorStartTop;
  // The monitor's chosen body.
  std::string MonitorBody = "Earth";
  TColor DescriptionColor = 0xFFFFFF;
  bool DescriptionVisible = false;
  TWindowGeometry Description = kDescriptionWindowStart;
  TWindowGeometry MainWindow = kMainWindowStart;
  // The "Show all objects" button is down.
  bool ShowAllObjects = false;
  // The document read had "Show all objects" on, but its data file could not be opened: the
  // button is released, and a document written keeps it on, so that the catalogue comes back
  // once the file is there again. Any setting of the button ends it.
  bool ShowAllObjectsAwaitingFile = false;
  // Empty until a document has been read completely.
  std::string DocumentPath;
};

class TDocumentHost {
 public:
  virtual ~TDocumentHost() = default;

  TDocumentState& State() { return state_; }
  const TDocumentState& State() const { return state_; }

  // ---- The time state. A host whose date steps keeps it there and overrides these together
  // with SetRealTime and SetTimeStep; any other keeps it in State().
  virtual bool RealTime() const { return state_.RealTime; }
  virtual Extended TimeStep() const { return state_.TimeStep; }
  virtual int32_t TimeUnit() const { return state_.TimeUnit; }

  // ---- Values a window applies. Each stores the value; a window overrides to apply it too
  // (and calls the base).

  // Switching real time on moves the date to the present moment.
  virtual void SetRealTime(bool on) { state_.RealTime = on; }
  virtual void SetTimeStep(Extended value, int32_t unit);
  virtual void SetMonitorVisible(bool visible) { state_.MonitorVisible = visible; }
  virtual void SetMonitorPosition(int32_t left, int32_t top);
  // Hands the monitor the scene, so that it refreshes its list of bodies.
  virtual void RefreshMonitor() {}
  // The monitor may choose another body than asked (the Earth when the name is unknown) and
  // then stores its own choice.
  virtual void SelectMonitorBody(const std::string& name) { state_.MonitorBody = name; }
  virtual void SetDescriptionColor(TColor color) { state_.DescriptionColor = color; }
  virtual void SetDescriptionVisible(bool visible) { state_.DescriptionVisible = visible; }
  virtual void SetDescriptionGeometry(const TWindowGeometry& g) { state_.Description = g; }
  // Documents of version 1.0 store the main window's place.
  virtual void SetMainWindowGeometry(const TWindowGeometry& g) { state_.MainWindow = g; }
  virtual void SetShowAllObjects(bool pressed) {
    state_.ShowAllObjects = pressed;
    state_.ShowAllObjectsAwaitingFile = false;
  }
  virtual void SetDocumentPath(const std::string& path) { state_.DocumentPath = path; }

  // ---- The description's rich text. By default it lives in DescriptionText() and passes
  // through "~tmp.rtf" in DescriptionFolder().

  // Empties the text and hides the window.
  virtual void ClearDescription();
  // The description block: an Integer N, then N Strings of RTF.
  virtual void WriteDescription(ValueWriter& writer);
  virtual void ReadDescription(ValueReader& reader);
  // The RTF file beside an old document: loaded and the window shown when it exists,
  // otherwise the text emptied.
  virtual void LoadDescriptionFile(const std::string& path);

  // ---- The minor-body data file, which only the host can reach.
  virtual std::string DatabaseName() const = 0;
  virtual std::string TableName() const = 0;
  virtual void CloseDataFile() = 0;
  virtual void SetDataFileNames(const std::string& database, const std::string& table) = 0;
  // Opens the data file of the current names; false when the table engine refuses.
  virtual bool OpenDataFile() = 0;
  // Why the last OpenDataFile failed, in the engine's or the system's words; empty when the
  // host cannot say.
  virtual std::string DataFileError() const { return {}; }
  // The action of "Show all objects" for State().ShowAllObjects; fails on a closed data file.
  virtual void RunShowAllObjects() = 0;

  // ---- The main window after a document was read.
  virtual void ShowDate(const TDateRec&) {}
  virtual void UpdateControls() {}

  // ---- Messages.
  // A confirmation with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
  // An error message with the single button OK.
  virtual void ShowError(const std::string& message) = 0;

 protected:
  // The description text and the folder of its temporary RTF file, for the default
  // description operations; a host that overrides all four needs neither.
  virtual QTextDocument& DescriptionText();
  virtual std::filesystem::path DescriptionFolder();

 private:
  TDocumentState state_;
};

}  // namespace kestrova
