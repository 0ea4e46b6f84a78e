#include "edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>

#include "code_page.h"
#include "dialogs.h"
#include "editor_control.h"
#include "error_guard.h"
#include "find_dialog.h"

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

TEditActions::TEditActions(QWidget* window, QAction* copy, QAction* cut, QAction* paste,
                           QAction* find)
    : QObject(window), Window_(window), Copy_(copy), Cut_(cut), Paste_(paste), Find_(find) {
  connect(Copy_, &QAction::triggered, this, Guard([this] { Copy(); }));
  connect(Cut_, &QAction::triggered, this, Guard([this] { Cut(); }));
  connect(Paste_, &QAction::triggered, this, Guard([this] { Paste(); }));
  connect(Find_, &QAction::triggered, this, Guard([this] { ShowFind(); }));
  connect(qApp, &QApplication::focusChanged, this, Guard([this] { Update(); }));
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, Guard([this] { Update(); }));
  for (QLineEdit* line : Window_->findChildren<QLineEdit*>()) {
    connect(line, &QLineEdit::selectionChanged, this, Guard([this] { Update(); }));
    connect(line, &QLineEdit::textChanged, this, Guard([this] { Update(); }));
  }
}

QWidget* TEditActions::FocusedEditControl() const {
  QWidget* w = QApplication::focusWidget();
  // The find dialog searches the edit control that had the focus before it.
  if (!w || (FindDialog_ && FindDialog_->isAncestorOf(w)) || w->window() != Window_) {
    w = Window_->focusWidget();
  }
  if (qobject_cast<QsciScintilla*>(w) || qobject_cast<QLineEdit*>(w)) return w;
  return nullptr;
}

void TEditActions::Update() {
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
  if (auto* editor = qobject_cast<TEditorControl*>(w)) {
    found = editor->FindText(codepage::FromUnicode(text), FindDialog_->MatchCase(),
                             FindDialog_->WholeWord(), FindDialog_->Down());
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    found = FindInLine(line, text, FindDialog_->MatchCase(), FindDialog_->WholeWord(),
                       FindDialog_->Down());
  }
  if (!found) {
    dialogs::Information(Window_, QApplication::applicationName(),
                         QStringLiteral("Text not found: \"%1\"").arg(text));
  }
}
