// What names the program: its icon, versions, rights notice, data note and web address, shared
// by the splash window, the about box and the main window.
#pragma once

#include <QIcon>
#include <QString>

#include "numerics/program_version.h"

class QLabel;
class QWidget;

namespace kestrova {

inline constexpr const char* kProgramName = "Kestrova";
// The version of the program's documents and of the program itself.
inline constexpr const char* kSplashVersion = "Version " KESTROVA_DOCUMENT_VERSION ".";
inline constexpr const char* kAboutVersion = "Version " KESTROVA_VERSION ".";
inline constexpr const char* kRightsNotice =
    "Copyright \u00a9 the Kestrova developers. Free software under the GNU General Public "
    "License, version 2 or later; it comes with no warranty.";
inline constexpr const char* kDataNote =
    "This software uses the orbital elements data, published by the Minor Planet Center "
    "(MPCORB). The rights to these data are described in the file NOTICE that comes with the "
    "program.";

// Makes the icons and pictures of the window layer available (once is enough).
void InitUiResources();

// The program's icon, drawn for every size.
QIcon ProgramIcon();
// An icon of the tool bar by its file name ("open.svg").
QIcon ToolIcon(const char* name);

// The product's web address, set when the program is configured (KESTROVA_WEB_ADDRESS); empty
// when none was given.
QString WebAddress();

// A label showing the web address as a link, navy and underlined with the hand pointer; a click
// asks the desktop to open it (a failure shows nothing). Hidden while there is no address.
QLabel* NewLinkLabel(QWidget* parent);

}  // namespace kestrova
