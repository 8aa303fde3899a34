// The description window "File description": a small rich-text editor for the description that
// every orbit document carries, with a tool bar for paragraphs and characters and a pop-up menu
// for the clipboard. Documents read and write the text through it as RTF lines; the text
// passes through "~tmp.rtf" in the program folder, which stays there afterwards.
#pragma once

#include <filesystem>

#include "documents/window_geometry.h"
#include "numerics/color.h"
#include "ui/tool_window.h"

class QAction;
class QMenu;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace kestrova {

class TPrompter;

class TDescriptionForm : public TToolWindow {
  Q_OBJECT
 public:
  // Starts hidden and empty, on a white background, at its start place.
  TDescriptionForm(TPrompter& prompter, std::filesystem::path programFolder,
                   QWidget* parent = nullptr);

  QTextEdit& Memo() const { return *memo_; }
  // The program folder's "~tmp.rtf".
  const std::filesystem::path& TempRtfPath() const { return temp_rtf_path_; }

  // The document code reads and writes the editor's text through the document host
  // (TDocumentHost's description operations over Memo().document() and the program folder).

  // The editor's background colour, stored in documents.
  TColor Color() const { return color_; }
  // Shows `color` behind the text; announces nothing.
  void SetColor(TColor color);

  // The window's place: left and top of its frame, width and height of its inside.
  TWindowGeometry Place() const;
  void SetPlace(const TWindowGeometry& place);

 signals:
  // The user chose a background colour.
  void colorChosen(TColor color);

 private:
  // The window's parts, built once by the constructor in this order: the tool bar with its
  // buttons, the formatting keys, the editor, and its pop-up menu.
  QToolBar* BuildToolBar();
  void BindFormatKeys();
  void BuildMemo();
  void BuildPopupMenu();
  QToolButton* AddButton(const char* name, const QString& hint, const QIcon& icon,
                         void (TDescriptionForm::*action)());
  void SBNewClick();
  void SBLeftAlignClick();
  void SBCenterClick();
  void SBRightAlignClick();
  void SBBoldClick();
  void SBItalicClick();
  void SwitchUnderline();
  void SBFontClick();
  // The selection's (or the typing's) text colour.
  void SBTextColorClick();
  void SBNumberingClick();
  void SBColorClick();
  void SBUndoClick();
  void SetAlignment(Qt::Alignment alignment);
  // The tool bar's buttons show the attributes at the cursor.
  void ShowFormatAtCursor();
  void PopupMenuPopup(const QPoint& at);

  TPrompter& prompter_;
  std::filesystem::path program_folder_;
  std::filesystem::path temp_rtf_path_;
  TColor color_ = 0xFFFFFF;
  bool changing_flags_ = false;

  QTextEdit* memo_;
  QToolButton* sb_left_align_ = nullptr;
  QToolButton* sb_center_ = nullptr;
  QToolButton* sb_right_align_ = nullptr;
  QToolButton* sb_bold_ = nullptr;
  QToolButton* sb_italic_ = nullptr;
  QToolButton* sb_numbering_ = nullptr;
  QToolButton* sb_color_ = nullptr;
  QToolButton* sb_undo_ = nullptr;
  QMenu* popup_menu_;
  QAction* cut_;
  QAction* copy_;
  QAction* paste_;
  QAction* clear_;
  QAction* select_all_;
};

}  // namespace kestrova
