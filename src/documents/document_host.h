// What the orbit document readers and writer need of the main window. The desktop program's
// main window implements it; kestrova-cli has a headless one. The same reading code runs in
// both.
#pragma once

#include <cstdint>
#include <string>

#include "model/object_lists.h"
#include "numerics/extended.h"
#include "numerics/julian_dates.h"

namespace kestrova {

class TSolarSystem;
class ValueReader;
class ValueWriter;

class TDocumentHost {
 public:
  virtual ~TDocumentHost() = default;

  // Time controls of the main window.
  virtual bool RealTime() const = 0;
  // Switching real time on moves the date to the present moment.
  virtual void SetRealTime(bool on) = 0;
  virtual Extended TimeStepValue() const = 0;
  // The unit code: 0 minute, 1 hour, 3 day, 9 sidereal year, 10 tropical year; other codes
  // are kept as they are (a step in them changes nothing).
  virtual int32_t TimeStepUnit() const = 0;
  virtual void SetTimeStep(Extended value, int32_t unit) = 0;

  // The monitor window.
  virtual bool MonitorVisible() const = 0;
  virtual void SetMonitorVisible(bool visible) = 0;
  virtual void SetMonitorPosition(int32_t left, int32_t top) = 0;
  // Hands the monitor the scene, so that it refreshes its list of bodies.
  virtual void RefreshMonitor() = 0;
  virtual std::string MonitorBody() const = 0;
  virtual void SelectMonitorBody(const std::string& name) = 0;

  // The description window and its rich text.
  virtual TColor DescriptionColor() const = 0;
  virtual void SetDescriptionColor(TColor color) = 0;
  virtual bool DescriptionVisible() const = 0;
  virtual void SetDescriptionVisible(bool visible) = 0;
  virtual void SetDescriptionGeometry(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  // Empties the text and hides the window.
  virtual void ClearDescription() = 0;
  // The description block: an Integer N, then N Strings of RTF.
  virtual void WriteDescription(ValueWriter& writer) = 0;
  virtual void ReadDescription(ValueReader& reader) = 0;
  // The RTF file beside an old document: loaded and the window shown when it exists,
  // otherwise the text emptied.
  virtual void LoadDescriptionFile(const std::string& path) = 0;

  // The main window's own geometry (documents of version 1.0 store it).
  virtual void SetMainWindowGeometry(int32_t left, int32_t top, int32_t width, int32_t height) = 0;

  // The minor-body data file.
  virtual std::string DatabaseName() const = 0;
  virtual std::string TableName() const = 0;
  virtual void CloseDataFile() = 0;
  virtual void SetDataFileNames(const std::string& database, const std::string& table) = 0;
  // Opens the data file of the current names; false when the table engine refuses.
  virtual bool OpenDataFile() = 0;

  // The "Show all objects" button and its action (which fails on a closed data file).
  virtual bool ShowAllObjects() const = 0;
  virtual void SetShowAllObjects(bool pressed) = 0;
  virtual void RunShowAllObjects() = 0;

  // The main window after a document was read.
  virtual void ShowDate(const TDateRec& date) = 0;
  virtual void UpdateControls() = 0;
  virtual void SetDocumentPath(const std::string& path) = 0;

  // A confirmation with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
  // An error message with the single button OK.
  virtual void ShowError(const std::string& message) = 0;
};

}  // namespace kestrova
