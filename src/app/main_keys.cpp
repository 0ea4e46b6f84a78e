#include "main_keys.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QList>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "editor_control.h"

namespace keys {
namespace {

// Drops printable keys pressed with Alt before the editor sees them.
class TAltTextFilter : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if ((key->modifiers() & Qt::AltModifier) && !key->text().isEmpty() &&
          key->text().front().isPrint()) {
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

// Tab and Backtab in the list go back to the editor instead of to the next control.
class TTabToEditorFilter : public QObject {
 public:
  TTabToEditorFilter(QObject* parent, TEditorControl* editor) : QObject(parent), Editor_(editor) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<const QKeyEvent*>(event)->key();
      if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        Editor_->FocusEditor();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TEditorControl* Editor_;
};

}  // namespace

void YieldToMenus(const QMenuBar* menus, const QToolBar* tools) {
  QList<QKeySequence> taken;
  for (const QAction* menu : menus->actions()) taken << QKeySequence::mnemonic(menu->text());
  for (QAction* action : tools->actions()) {
    auto* button = qobject_cast<QToolButton*>(tools->widgetForAction(action));
    if (button == nullptr) continue;
    auto yield = [button, taken] {
      const QKeySequence mark = QKeySequence::mnemonic(button->text());
      if (!mark.isEmpty() && taken.contains(mark)) button->setShortcut(QKeySequence());
    };
    yield();
    // A change of the action sets the button's caption, and with it its mark, again.
    QObject::connect(action, &QAction::changed, button, yield);
  }
}

void KeepAltOutOfText(TEditorControl* editor) {
  editor->installEventFilter(new TAltTextFilter(editor));
}

void RunKeepingListFocus(QComboBox* list, TEditorControl* editor,
                         const std::function<void()>& refresh) {
  // Focus given to the editor goes to its proxy: the list, which has it already.
  struct TProxy {
    TEditorControl* Editor;
    ~TProxy() { Editor->setFocusProxy(nullptr); }
  } proxy{editor};
  QWidget* typing = list->window()->focusWidget();
  const bool inList = typing != nullptr && (typing == list || list->isAncestorOf(typing));
  editor->setFocusProxy(inList ? typing : list);
  refresh();
}

void ReturnToEditorOnLeaving(QComboBox* list, TEditorControl* editor) {
  list->installEventFilter(new TTabToEditorFilter(list, editor));
  list->lineEdit()->installEventFilter(new TTabToEditorFilter(list, editor));
  QObject::connect(list->lineEdit(), &QLineEdit::returnPressed, editor,
                   [editor] { editor->FocusEditor(); });
}

}  // namespace keys
