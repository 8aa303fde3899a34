// The "OK" and "Cancel" row of the program's dialogs: OK is the default button and accepts,
// Cancel rejects (and answers the Escape key).
#pragma once

#include <QString>
#include <functional>

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QWidget;

namespace kestrova {

struct TOkCancel {
  QDialogButtonBox* Box;
  QPushButton* Ok;
  QPushButton* Cancel;
};

// A button box made for `dialog` (its child), with the buttons named for tests and tools.
// `onOk`, when given, runs before the dialog is accepted.
TOkCancel MakeOkCancel(QDialog* dialog, std::function<void()> onOk = {},
                       const QString& okName = QStringLiteral("OKBtn"),
                       const QString& cancelName = QStringLiteral("CancelBtn"));

// The common dialog: `panel` takes the dialog's room, the OK/Cancel row (as above) sits under it.
TOkCancel PanelAboveOkCancel(QDialog* dialog, QWidget* panel, std::function<void()> onOk = {});

// A bare file name says nothing of where the file goes: the "Folder: ..." line that a save
// dialog shows under it (named "FolderLabel"), and ShowFolder sets it to `folder` (a relative
// one taken from the working folder), cut at the dialog's edge, whole in its tool tip.
QLabel* MakeFolderLabel(QWidget* parent);
void ShowFolder(QLabel* label, QString folder);

}  // namespace kestrova
