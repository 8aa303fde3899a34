#include "ui/description_form.h"

#include <QAction>
#include <QFontInfo>
#include <QHideEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "documents/description.h"
#include "scene/qpainter_surface.h"
#include "ui/prompter.h"

namespace kestrova {

namespace {

// ---- Tool bar pictures, drawn on a 16 x 16 grid and kept sharp at twice the size.

QIcon DrawnIcon(const std::function<void(QPainter&)>& draw) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    draw(painter);
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

const QColor kInk(0x30, 0x30, 0x30);

// Four lines of text set left, centred or right.
QIcon AlignmentIcon(Qt::Alignment alignment) {
  return DrawnIcon([alignment](QPainter& p) {
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::FlatCap));
    const qreal lengths[] = {12, 8, 12, 8};
    for (int i = 0; i < 4; ++i) {
      const qreal length = lengths[i];
      const qreal left = alignment == Qt::AlignLeft    ? 2
                         : alignment == Qt::AlignRight ? 14 - length
                                                       : 8 - length / 2;
      const qreal y = 3.25 + 3.25 * i;
      p.drawLine(QPointF(left, y), QPointF(left + length, y));
    }
  });
}

QIcon LetterIcon(const QString& letters, const QFont& font) {
  return DrawnIcon([letters, font](QPainter& p) {
    p.setPen(kInk);
    p.setFont(font);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, letters);
  });
}

QFont IconFont(const char* family, bool bold, bool italic, int pixels) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

QIcon NewIcon() {
  return DrawnIcon([](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    const QPointF page[] = {{3.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {3.5, 14.5}};
    p.drawPolygon(page, 5);
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({{9.5, 1.5}, {9.5, 4.5}, {12.5, 4.5}}));
  });
}

QIcon BulletsIcon() {
  return DrawnIcon([](QPainter& p) {
    for (int i = 0; i < 3; ++i) {
      const qreal y = 3.5 + 4.5 * i;
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.drawEllipse(QPointF(3, y), 1.5, 1.5);
      p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::FlatCap));
      p.drawLine(QPointF(6, y), QPointF(14, y));
    }
  });
}

// A swatch of the editor's background colour.
QIcon ColorIcon(TColor color) {
  return DrawnIcon([color](QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(ToQColor(color));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD0, 0x40, 0x30));
    p.drawRect(QRectF(3, 10.5, 10, 2.5));
  });
}

// The letter A over a bar in the colour it gives the text.
QIcon TextColorIcon() {
  return DrawnIcon([](QPainter& p) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setPen(kInk);
    p.setFont(font);
    p.drawText(QRectF(0, -1, 16, 12), Qt::AlignCenter, QStringLiteral("A"));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xD0, 0x40, 0x30));
    p.drawRect(QRectF(2, 12, 12, 3));
  });
}

QIcon UndoIcon() {
  return DrawnIcon([](QPainter& p) {
    p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
    QPainterPath arc;
    arc.moveTo(4, 7);
    arc.cubicTo(7, 3.5, 13.5, 4, 13, 9.5);
    arc.cubicTo(12.7, 12, 10.5, 13, 9, 13);
    p.drawPath(arc);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF({{2, 3}, {2.5, 9.5}, {8, 7.5}}));
  });
}

}  // namespace

TDescriptionForm::TDescriptionForm(TPrompter& prompter, std::filesystem::path programFolder,
                                   QWidget* parent)
    : TToolWindow(parent, {}),
      prompter_(prompter),
      program_folder_(std::move(programFolder)),
      temp_rtf_path_(kestrova::TempRtfPath(program_folder_)) {
  setObjectName(QStringLiteral("DescriptionForm"));
  setWindowTitle(QStringLiteral("File description"));

  QToolBar* toolBar = BuildToolBar();
  BindFormatKeys();
  BuildMemo();
  BuildPopupMenu();

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar);
  layout->addWidget(memo_);

  SetPlace(kDescriptionWindowStart);
  ShowFormatAtCursor();
}

QToolBar* TDescriptionForm::BuildToolBar() {
  auto* toolBar = new QToolBar(this);
  toolBar->setObjectName(QStringLiteral("ToolBar"));
  toolBar->setIconSize(QSize(16, 16));
  toolBar->setMovable(false);
  toolBar->setFloatable(false);
  auto add = [&](const char* name, const char* hint, const QIcon& icon,
                 void (TDescriptionForm::*action)()) {
    QToolButton* button = AddButton(name, QString::fromLatin1(hint), icon, action);
    toolBar->addWidget(button);
    return button;
  };
  add("SBNew", "New", NewIcon(), &TDescriptionForm::SBNewClick);
  toolBar->addSeparator();
  sb_left_align_ = add("SBLeftAlign", "Align left", AlignmentIcon(Qt::AlignLeft),
                       &TDescriptionForm::SBLeftAlignClick);
  sb_center_ =
      add("SBCenter", "center", AlignmentIcon(Qt::AlignHCenter), &TDescriptionForm::SBCenterClick);
  sb_right_align_ = add("SBRightAlign", "Align right", AlignmentIcon(Qt::AlignRight),
                        &TDescriptionForm::SBRightAlignClick);
  toolBar->addSeparator();
  sb_bold_ = add("SBBold", "Bold", LetterIcon("B", IconFont("Liberation Serif", true, false, 14)),
                 &TDescriptionForm::SBBoldClick);
  sb_italic_ =
      add("SBItalic", "Italic", LetterIcon("I", IconFont("Liberation Serif", true, true, 14)),
          &TDescriptionForm::SBItalicClick);
  add("SBFont", "Select font", LetterIcon("Aa", IconFont("Liberation Sans", false, false, 10)),
      &TDescriptionForm::SBFontClick);
  add("SBTextColor", "Text color", TextColorIcon(), &TDescriptionForm::SBTextColorClick);
  toolBar->addSeparator();
  sb_numbering_ =
      add("SBNumbering", "Numbering", BulletsIcon(), &TDescriptionForm::SBNumberingClick);
  sb_color_ =
      add("SBColor", "Background color", ColorIcon(color_), &TDescriptionForm::SBColorClick);
  toolBar->addSeparator();
  sb_undo_ = add("SBUndo", "Undo", UndoIcon(), &TDescriptionForm::SBUndoClick);
  for (QToolButton* b :
       {sb_left_align_, sb_center_, sb_right_align_, sb_bold_, sb_italic_, sb_numbering_}) {
    b->setCheckable(true);
  }
  sb_undo_->setEnabled(false);
  return toolBar;
}

void TDescriptionForm::BindFormatKeys() {
  // The tool bar takes no focus (Tab types a tab in the text): the usual keys of rich-text
  // editors format the text without a mouse.
  const std::pair<QKeyCombination, void (TDescriptionForm::*)()> keys[] = {
      {Qt::CTRL | Qt::Key_B, &TDescriptionForm::SBBoldClick},
      {Qt::CTRL | Qt::Key_I, &TDescriptionForm::SBItalicClick},
      {Qt::CTRL | Qt::Key_U, &TDescriptionForm::SwitchUnderline},
      {Qt::CTRL | Qt::Key_L, &TDescriptionForm::SBLeftAlignClick},
      {Qt::CTRL | Qt::Key_E, &TDescriptionForm::SBCenterClick},
      {Qt::CTRL | Qt::Key_R, &TDescriptionForm::SBRightAlignClick},
      {Qt::CTRL | Qt::SHIFT | Qt::Key_L, &TDescriptionForm::SBNumberingClick}};
  for (const auto& [key, action] : keys) {
    connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, this, action);
  }
}

void TDescriptionForm::BuildMemo() {
  memo_ = new QTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo"));
  memo_->setFont(QFont(QStringLiteral("Arial"), 10));
  memo_->setAcceptRichText(true);
  memo_->setTabChangesFocus(false);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setContextMenuPolicy(Qt::CustomContextMenu);
  SetColor(0xFFFFFF);
  connect(memo_, &QTextEdit::undoAvailable, sb_undo_, &QToolButton::setEnabled);
  connect(memo_, &QTextEdit::currentCharFormatChanged, this, &TDescriptionForm::ShowFormatAtCursor);
  connect(memo_, &QTextEdit::cursorPositionChanged, this, &TDescriptionForm::ShowFormatAtCursor);
  // A document's text read into the editor is no move of the cursor.
  connect(memo_->document(), &QTextDocument::contentsChanged, this,
          &TDescriptionForm::ShowFormatAtCursor);
  connect(memo_, &QTextEdit::customContextMenuRequested, this, &TDescriptionForm::PopupMenuPopup);
}

void TDescriptionForm::BuildPopupMenu() {
  popup_menu_ = new QMenu(this);
  popup_menu_->setObjectName(QStringLiteral("PopupMenu"));
  cut_ = popup_menu_->addAction(QStringLiteral("Cut"), memo_, &QTextEdit::cut);
  copy_ = popup_menu_->addAction(QStringLiteral("Copy"), memo_, &QTextEdit::copy);
  paste_ = popup_menu_->addAction(QStringLiteral("Paste"), memo_, &QTextEdit::paste);
  popup_menu_->addSeparator();
  clear_ = popup_menu_->addAction(QStringLiteral("Clear"), this, [this] {
    QTextCursor cursor = memo_->textCursor();
    cursor.removeSelectedText();
    memo_->setTextCursor(cursor);
  });
  select_all_ = popup_menu_->addAction(QStringLiteral("Select all"), memo_, &QTextEdit::selectAll);
  popup_menu_->addSeparator();
  QAction* textColor = popup_menu_->addAction(QStringLiteral("Text color..."), this,
                                              &TDescriptionForm::SBTextColorClick);
  textColor->setObjectName(QStringLiteral("MITextColor"));
  cut_->setObjectName(QStringLiteral("MICut"));
  copy_->setObjectName(QStringLiteral("MICopy"));
  paste_->setObjectName(QStringLiteral("MIPaste"));
  clear_->setObjectName(QStringLiteral("MIClear"));
  select_all_->setObjectName(QStringLiteral("MISelectAll"));
  cut_->setShortcut(QKeySequence::Cut);
  copy_->setShortcut(QKeySequence::Copy);
  paste_->setShortcut(QKeySequence::Paste);
  select_all_->setShortcut(QKeySequence::SelectAll);
  for (QAction* a : {cut_, copy_, clear_}) {
    a->setEnabled(false);
    connect(memo_, &QTextEdit::copyAvailable, a, &QAction::setEnabled);
  }
}

QToolButton* TDescriptionForm::AddButton(const char* name, const QString& hint, const QIcon& icon,
                                         void (TDescriptionForm::*action)()) {
  auto* button = new QToolButton(this);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(hint);
  button->setIcon(icon);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  connect(button, &QToolButton::clicked, this, action);
  return button;
}

void TDescriptionForm::SetColor(TColor color) {
  color_ = color;
  QPalette palette = memo_->palette();
  palette.setColor(QPalette::Base, ToQColor(color));
  memo_->setPalette(palette);
  sb_color_->setIcon(ColorIcon(color));
}

TWindowGeometry TDescriptionForm::Place() const {
  return {x(), y(), width(), height()};
}

void TDescriptionForm::SetPlace(const TWindowGeometry& place) {
  move(place.Left, place.Top);
  resize(place.Width, place.Height);
}

// ---- Tool bar ------------------------------------------------------------------------------

void TDescriptionForm::SBNewClick() {
  // One edit that Undo takes back, not a new document: a description emptied by mistake is
  // not lost. The text that follows starts without the old paragraph's or character's format.
  QTextCursor cursor(memo_->document());
  cursor.beginEditBlock();
  cursor.select(QTextCursor::Document);
  cursor.removeSelectedText();
  if (QTextList* list = cursor.currentList()) list->remove(cursor.block());
  cursor.setBlockFormat(QTextBlockFormat());
  cursor.setBlockCharFormat(QTextCharFormat());
  cursor.setCharFormat(QTextCharFormat());
  cursor.endEditBlock();
  memo_->setTextCursor(cursor);
  memo_->setCurrentCharFormat(QTextCharFormat());
  ShowFormatAtCursor();
}

void TDescriptionForm::SetAlignment(Qt::Alignment alignment) {
  memo_->setAlignment(alignment);
  ShowFormatAtCursor();
}

void TDescriptionForm::SBLeftAlignClick() {
  SetAlignment(Qt::AlignLeft);
}

void TDescriptionForm::SBCenterClick() {
  SetAlignment(Qt::AlignHCenter);
}

void TDescriptionForm::SBRightAlignClick() {
  SetAlignment(Qt::AlignRight);
}

void TDescriptionForm::SBBoldClick() {
  QTextCharFormat format;
  format.setFontWeight(memo_->currentCharFormat().fontWeight() >= QFont::DemiBold ? QFont::Normal
                                                                                  : QFont::Bold);
  memo_->mergeCurrentCharFormat(format);
  ShowFormatAtCursor();
}

void TDescriptionForm::SBItalicClick() {
  QTextCharFormat format;
  format.setFontItalic(!memo_->currentCharFormat().fontItalic());
  memo_->mergeCurrentCharFormat(format);
  ShowFormatAtCursor();
}

void TDescriptionForm::SwitchUnderline() {
  QTextCharFormat format;
  format.setFontUnderline(!memo_->currentCharFormat().fontUnderline());
  memo_->mergeCurrentCharFormat(format);
}

void TDescriptionForm::SBFontClick() {
  // The selection's format holds only what differs from the editor's font; the rest comes
  // from the editor, and the face is the one really drawn (a face that is not installed is
  // drawn in a substitute, which the dialog can list), so that the dialog opens on the face,
  // style and size of the selection instead of the desktop's default face without its style.
  const QFont selection =
      memo_->currentCharFormat().font().resolve(memo_->document()->defaultFont());
  QFont offered = selection;
  offered.setFamily(QFontInfo(selection).family());
  const std::optional<QFont> font = prompter_.ChooseFont(this, offered);
  if (!font) return;
  // The dialog knows only the substitute: given back unchanged, it stands for the face the text
  // names, which the document keeps (another machine may have that face).
  QFont chosen = *font;
  if (chosen.family() == offered.family() && selection.family() != offered.family()) {
    chosen.setFamily(selection.family());
  }
  QTextCharFormat format;
  format.setFont(chosen);
  memo_->mergeCurrentCharFormat(format);
  ShowFormatAtCursor();
}

void TDescriptionForm::SBTextColorClick() {
  // Text without a colour of its own is drawn in the editor's text colour: the dialog opens
  // on the colour the user sees.
  const QTextCharFormat format = memo_->currentCharFormat();
  const QColor current = format.hasProperty(QTextFormat::ForegroundBrush)
                             ? format.foreground().color()
                             : memo_->palette().color(QPalette::Text);
  const std::optional<TColor> color = prompter_.ChooseColor(this, FromQRgb(current.rgb()));
  if (!color) return;
  QTextCharFormat chosen;
  chosen.setForeground(ToQColor(*color));
  memo_->mergeCurrentCharFormat(chosen);
  ShowFormatAtCursor();
}

void TDescriptionForm::SBNumberingClick() {
  QTextCursor cursor = memo_->textCursor();
  if (!cursor.currentList()) {
    cursor.createList(QTextListFormat::ListDisc);
  } else {
    // Every paragraph of the selection leaves its list.
    const QTextDocument& doc = *memo_->document();
    const QTextBlock last = doc.findBlock(cursor.selectionEnd());
    cursor.beginEditBlock();
    for (QTextBlock block = doc.findBlock(cursor.selectionStart()); block.isValid();
         block = block.next()) {
      if (QTextList* list = block.textList()) {
        list->remove(block);
        QTextCursor at(block);
        QTextBlockFormat format = block.blockFormat();
        format.setIndent(0);
        at.setBlockFormat(format);
      }
      if (block == last) break;
    }
    cursor.endEditBlock();
  }
  ShowFormatAtCursor();
}

void TDescriptionForm::SBColorClick() {
  const std::optional<TColor> color = prompter_.ChooseColor(this, color_);
  if (!color) return;
  SetColor(*color);
  emit colorChosen(*color);
}

void TDescriptionForm::SBUndoClick() {
  memo_->undo();
}

void TDescriptionForm::ShowFormatAtCursor() {
  const QTextCharFormat format = memo_->currentCharFormat();
  sb_bold_->setChecked(format.fontWeight() >= QFont::DemiBold);
  sb_italic_->setChecked(format.fontItalic());
  const Qt::Alignment alignment = memo_->alignment() & Qt::AlignHorizontal_Mask;
  sb_center_->setChecked(alignment.testFlag(Qt::AlignHCenter));
  sb_right_align_->setChecked(alignment.testFlag(Qt::AlignRight) &&
                              !alignment.testFlag(Qt::AlignHCenter));
  sb_left_align_->setChecked(!sb_center_->isChecked() && !sb_right_align_->isChecked());
  sb_numbering_->setChecked(memo_->textCursor().currentList() != nullptr);
}

// ---- Pop-up menu -----------------------------------------------------------------------------

void TDescriptionForm::PopupMenuPopup(const QPoint& at) {
  paste_->setEnabled(memo_->canPaste());
  popup_menu_->popup(memo_->viewport()->mapToGlobal(at));
}

}  // namespace kestrova
