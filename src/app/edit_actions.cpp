#include "edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>

#include "dialogs.h"
#include "editor_control.h"
#include "error_guard.h"
#include "find_dialog.h"
#include "main_form.h"
#include "replace_dialog.h"

namespace {

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c == '_'; }

// Find in a line box: the next occurrence after the selection (down) or before
// it (up), selected; false when there is none.
bool FindInLine(QLineEdit* line, const QString& text, bool matchCase, bool wholeWord, bool down) {
  const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const QString hay = line->text();
  const int selStart = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
  const int selEnd = line->hasSelectedText() ? selStart + line->selectedText().size() : selStart;
  auto wholeAt = [&](int i) {
    return !wholeWord || ((i == 0 || !IsWordChar(hay[i - 1])) &&
                          (i + text.size() >= hay.size() || !IsWordChar(hay[i + text.size()])));
  };
  int i =
      down ? hay.indexOf(text, selEnd, cs)
           : (selStart - text.size() >= 0 ? hay.lastIndexOf(text, selStart - text.size(), cs) : -1);
  while (i >= 0 && !wholeAt(i)) {
    i = down ? hay.indexOf(text, i + 1, cs) : (i > 0 ? hay.lastIndexOf(text, i - 1, cs) : -1);
  }
  if (i < 0) return false;
  line->setSelection(i, static_cast<int>(text.size()));
  return true;
}

}  // namespace

TEditActions::TEditActions(TMainForm& form, QAction* copy, QAction* cut, QAction* paste,
                           QAction* find, QAction* replace)
    : QObject(form.Window()),
      Form_(form),
      Window_(form.Window()),
      Copy_(copy),
      Cut_(cut),
      Paste_(paste),
      Find_(find),
      Replace_(replace),
      MenuOwner_(form.Editor()) {
  connect(Copy_, &QAction::triggered, this, Guard([this] { Copy(); }));
  connect(Cut_, &QAction::triggered, this, Guard([this] { Cut(); }));
  connect(Paste_, &QAction::triggered, this, Guard([this] { Paste(); }));
  connect(Find_, &QAction::triggered, this, Guard([this] { ShowFind(); }));
  connect(Replace_, &QAction::triggered, this, Guard([this] { ShowReplace(); }));
  connect(qApp, &QApplication::focusChanged, this, Guard([this] { Update(); }));
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, Guard([this] { Update(); }));
  // Every change of the document's text (typing, open, New, a project, the
  // manager, a reload, a recovery) may give Find text to search or take it.
  connect(form.Editor(), &TEditorControl::Changed, this, Guard([this] { Update(); }));
  for (QLineEdit* line : Window_->findChildren<QLineEdit*>()) {
    connect(line, &QLineEdit::selectionChanged, this, Guard([this] { Update(); }));
    connect(line, &QLineEdit::textChanged, this, Guard([this] { Update(); }));
  }
}

QWidget* TEditActions::FocusedWidget() const {
  QWidget* w = QApplication::focusWidget();
  // The find dialog searches the edit control that had the focus before it.
  if (!w || (FindDialog_ && FindDialog_->isAncestorOf(w)) ||
      (ReplaceDialog_ && ReplaceDialog_->isAncestorOf(w)) || w->window() != Window_) {
    w = Window_->focusWidget();
  }
  return w;
}

bool TEditActions::IsEditControl(const QWidget* w) {
  return qobject_cast<const QsciScintilla*>(w) != nullptr ||
         qobject_cast<const QLineEdit*>(w) != nullptr;
}

bool TEditActions::IsMenu(const QWidget* w) {
  return qobject_cast<const QMenuBar*>(w) != nullptr || qobject_cast<const QMenu*>(w) != nullptr;
}

QWidget* TEditActions::FocusedEditControl() const {
  QWidget* w = FocusedWidget();
  // A menu opened by mouse or from the keyboard takes the focus to the menu
  // bar (or to itself) while it is open, and the menu bar keeps the keys after
  // Escape until it is left: the menu stands over the control it was opened
  // from, which its entries act on.
  if (IsMenu(w)) {
    w = MenuOwner_ != nullptr && MenuOwner_->window() == Window_ ? MenuOwner_.data() : nullptr;
  }
  return IsEditControl(w) ? w : nullptr;
}

void TEditActions::Update() {
  if (QWidget* focused = FocusedWidget(); focused != nullptr && !IsMenu(focused)) {
    MenuOwner_ = focused;
  }
  QWidget* w = FocusedEditControl();
  bool hasSelection = false;
  bool hasText = false;
  if (auto* e = qobject_cast<QsciScintilla*>(w)) {
    hasSelection = e->hasSelectedText();
    hasText = e->length() > 0;
  } else if (auto* l = qobject_cast<QLineEdit*>(w)) {
    hasSelection = l->hasSelectedText();
    hasText = !l->text().isEmpty();
  }
  const QMimeData* clip = QApplication::clipboard()->mimeData();
  Copy_->setEnabled(hasSelection);
  Cut_->setEnabled(hasSelection);
  Paste_->setEnabled(w != nullptr && clip != nullptr && clip->hasText());
  Find_->setEnabled(hasText);
  Replace_->setEnabled(Form_.Editor()->Length() > 0);
}

void TEditActions::Copy() {
  QWidget* w = FocusedEditControl();
  if (auto* e = qobject_cast<QsciScintilla*>(w)) e->copy();
  if (auto* l = qobject_cast<QLineEdit*>(w)) l->copy();
}

void TEditActions::Cut() {
  QWidget* w = FocusedEditControl();
  if (auto* e = qobject_cast<QsciScintilla*>(w)) e->cut();
  if (auto* l = qobject_cast<QLineEdit*>(w)) l->cut();
}

void TEditActions::Paste() {
  QWidget* w = FocusedEditControl();
  if (auto* e = qobject_cast<QsciScintilla*>(w)) e->paste();
  if (auto* l = qobject_cast<QLineEdit*>(w)) l->paste();
}

void TEditActions::ShowFind() {
  if (!FindDialog_) {
    FindDialog_ = new TFindDialog(Window_);
    connect(FindDialog_, &TFindDialog::FindNext, this, Guard([this] { FindNext(); }));
  }
  FindDialog_->show();
  FindDialog_->raise();
  FindDialog_->activateWindow();
}

void TEditActions::FindNext() {
  const QString text = FindDialog_->FindText();
  QWidget* w = FocusedEditControl();
  bool found = false;
  QByteArray needle;
  if (auto* editor = qobject_cast<TEditorControl*>(w)) {
    // A text the document's encoding cannot hold does not occur in it.
    found = editor->EncodeText(text, &needle) &&
            editor->FindText(needle.toStdString(), FindDialog_->MatchCase(),
                             FindDialog_->WholeWord(), FindDialog_->Down());
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    found = FindInLine(line, text, FindDialog_->MatchCase(), FindDialog_->WholeWord(),
                       FindDialog_->Down());
  }
  if (!found) NotFound(text);
}

void TEditActions::NotFound(const QString& text) {
  dialogs::Information(Window_, QApplication::applicationName(),
                       QStringLiteral("Text not found: \"%1\"").arg(text));
}

void TEditActions::ShowReplace() {
  if (!ReplaceDialog_) {
    ReplaceDialog_ = new TReplaceDialog(Window_);
    connect(ReplaceDialog_, &TReplaceDialog::FindNext, this, Guard([this] { ReplaceFindNext(); }));
    connect(ReplaceDialog_, &TReplaceDialog::Replace, this, Guard([this] { ReplaceOne(); }));
    connect(ReplaceDialog_, &TReplaceDialog::ReplaceAll, this, Guard([this] { ReplaceAll(); }));
  }
  ReplaceDialog_->show();
  ReplaceDialog_->raise();
  ReplaceDialog_->activateWindow();
}

TSearchOptions TEditActions::ReplaceOptions() const {
  TSearchOptions options;
  options.MatchCase = ReplaceDialog_->MatchCase();
  options.WholeWord = ReplaceDialog_->WholeWord();
  options.RegularExpression = ReplaceDialog_->RegularExpression();
  options.Down = ReplaceDialog_->Down();
  return options;
}

void TEditActions::ReplaceFindNext() {
  const QString text = ReplaceDialog_->FindText();
  TEditorControl& editor = *Form_.Editor();
  QByteArray needle;
  if (!editor.EncodeText(text, &needle) ||
      !editor.FindText(needle.toStdString(), ReplaceOptions())) {
    NotFound(text);
  }
}

// The dialog's two texts in the document's encoding. False when the
// replacement cannot be stored (the editor says why) or the text to find
// cannot occur in the document (then it is not found).
bool TEditActions::ReplaceTexts(std::string* needle, std::string* replacement) {
  TEditorControl& editor = *Form_.Editor();
  QByteArray find;
  QByteArray with;
  if (!editor.TakeInput(ReplaceDialog_->ReplaceText(), &with)) return false;
  if (!editor.EncodeText(ReplaceDialog_->FindText(), &find)) {
    NotFound(ReplaceDialog_->FindText());
    return false;
  }
  *needle = find.toStdString();
  *replacement = with.toStdString();
  return true;
}

void TEditActions::ReplaceOne() {
  std::string needle;
  std::string replacement;
  if (!ReplaceTexts(&needle, &replacement)) return;
  if (!Form_.Editor()->ReplaceText(needle, replacement, ReplaceOptions())) {
    NotFound(ReplaceDialog_->FindText());
  }
}

void TEditActions::ReplaceAll() {
  std::string needle;
  std::string replacement;
  if (!ReplaceTexts(&needle, &replacement)) return;
  const int count = Form_.Editor()->ReplaceAllText(needle, replacement, ReplaceOptions());
  if (count == 0) {
    NotFound(ReplaceDialog_->FindText());
  } else {
    Form_.ShowStatusNote(QStringLiteral("%1 replacements").arg(count));
  }
}
