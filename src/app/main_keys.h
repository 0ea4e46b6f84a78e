// The main window's keyboard: the menu bar's Alt+letter keys, an editor that
// never takes an Alt combination as text, and a syntax list that keeps the
// keyboard while the user types into it.
#pragma once

#include <functional>

class QComboBox;
class QMenuBar;
class QToolBar;
class TEditorControl;

namespace keys {

// A tool-bar accelerator that a menu of the menu bar uses as well yields to
// the menu: the caption keeps its mark, the button keeps its own key (F1, F11).
void YieldToMenus(const QMenuBar* menus, const QToolBar* tools);

// An Alt combination that no shortcut took is dropped instead of typed.
void KeepAltOutOfText(TEditorControl* editor);

// Runs a refresh started by typing into the list, leaving the keyboard in the
// list: whatever the refresh gives the focus to, the list keeps it.
void RunKeepingListFocus(QComboBox* list, TEditorControl* editor,
                         const std::function<void()>& refresh);

// Enter or Tab in the list hands the keyboard back to the editor.
void ReturnToEditorOnLeaving(QComboBox* list, TEditorControl* editor);

}  // namespace keys
