// The main window's controls: its actions, menus, the tool bar and syntax
// list above the editor, and the status bar.
#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "check_commands.h"
#include "edit_actions.h"
#include "editor_control.h"
#include "flat_button.h"
#include "highlighter_factory.h"
#include "html_typing.h"
#include "image_list.h"
#include "recent_menu.h"

namespace {

constexpr int kTopAreaHeight = 73;

QAction* MakeAction(QObject* parent, const char* name, const QString& caption, int icon,
                    const QKeySequence& shortcut = QKeySequence(),
                    const QString& hint = QString()) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(QString::fromLatin1(name));
  if (icon >= 0) action->setIcon(imagelist::Icon(icon));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  if (!hint.isEmpty()) {
    // "short|long": the short part is the tooltip, the long part the status tip.
    const int bar = hint.indexOf('|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
  }
  return action;
}

// The desktop's own colours, set explicitly so the navy of the window does not
// reach the bars.
QPalette DefaultPalette() {
  const QPalette app = QApplication::palette();
  QPalette pal = app;
  for (auto role :
       {QPalette::Window, QPalette::WindowText, QPalette::Button, QPalette::ButtonText}) {
    pal.setColor(role, app.color(role));
  }
  return pal;
}

}  // namespace

void TForm1::CreateActions() {
  Action1 = MakeAction(this, "Action1", QStringLiteral("&New"), imagelist::kNew, {},
                       QStringLiteral("Create a new file!"));
  Action2 = MakeAction(this, "Action2", QStringLiteral("&Save"), imagelist::kSave,
                       QKeySequence(Qt::Key_F2), QStringLiteral("Save your file"));
  FileOpen1 =
      MakeAction(this, "FileOpen1", QStringLiteral("&Open..."), imagelist::kOpen,
                 QKeySequence(Qt::CTRL | Qt::Key_O), QStringLiteral("Open|Opens an existing file"));
  FileSaveAs1 = MakeAction(this, "FileSaveAs1", QStringLiteral("Save &As..."), imagelist::kSaveAs,
                           {}, QStringLiteral("Save As|Saves the active file with a new name"));
  Action7 = MakeAction(this, "Action7", QStringLiteral("Projects"), imagelist::kProjects);
  FileExit1 = MakeAction(this, "FileExit1", QStringLiteral("E&xit"), imagelist::kExit, {},
                         QStringLiteral("Exit|Quits the application"));
  EditCopy1 = MakeAction(this, "EditCopy1", QStringLiteral("&Copy"), imagelist::kCopy,
                         QKeySequence(Qt::CTRL | Qt::Key_C),
                         QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"));
  EditCut1 = MakeAction(this, "EditCut1", QStringLiteral("Cu&t"), imagelist::kCut,
                        QKeySequence(Qt::CTRL | Qt::Key_X),
                        QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"));
  EditPaste1 = MakeAction(this, "EditPaste1", QStringLiteral("&Paste"), imagelist::kPaste,
                          QKeySequence(Qt::CTRL | Qt::Key_V),
                          QStringLiteral("Paste|Inserts Clipboard contents"));
  SearchFind1 = MakeAction(this, "SearchFind1", QStringLiteral("&Find..."), imagelist::kFind,
                           QKeySequence(Qt::CTRL | Qt::Key_F),
                           QStringLiteral("Find|Finds the specified text"));
  SearchReplace1 = MakeAction(this, "SearchReplace1", QStringLiteral("&Replace..."), -1,
                              QKeySequence(Qt::CTRL | Qt::Key_H),
                              QStringLiteral("Replace|Replaces the specified text"));
  Action9 = MakeAction(this, "Action9", QStringLiteral("Vexa Web Thumbnail Creator"),
                       imagelist::kThumbnailCreator);
  Action9->setEnabled(false);
  mengraphic = MakeAction(this, "mengraphic", QStringLiteral("Vexa Web Graphic Browser"),
                          imagelist::kGraphicBrowser);
  mengraphic->setEnabled(false);
  Action3 = MakeAction(this, "Action3", QStringLiteral("&Help"), -1);
  Action4 = MakeAction(this, "Action4", QStringLiteral("&About"), -1);
  Action6 = MakeAction(this, "Action6", QStringLiteral("&Code Generator - F10"),
                       imagelist::kCodeGenerator, QKeySequence(Qt::Key_F10));
  Action5 = MakeAction(this, "Action5", QStringLiteral("&Show Preview Window - F1"),
                       imagelist::kShowPreview, QKeySequence(Qt::Key_F1));
  Action8 = MakeAction(this, "Action8", QStringLiteral("S&how Vexa Manager - F11"),
                       imagelist::kShowManager, QKeySequence(Qt::Key_F11));
  for (QAction* a : {Action6, Action5, Action8}) a->setIconText(a->text());
  // Every action works wherever the focus is inside the main window.
  for (QAction* a : findChildren<QAction*>()) {
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
}

void TForm1::CreateMenus() {
  QMenu* file = ActionMainMenuBar1->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("File1"));
  file->addAction(Action1);
  file->addAction(Action2);
  file->addAction(FileOpen1);
  file->addAction(FileSaveAs1);
  file->addAction(Action7);
  file->addSeparator();
  RecentMenu_ = new TRecentMenu(*this, file);
  file->addMenu(RecentMenu_);
  file->addAction(FileExit1);
  QMenu* edit = ActionMainMenuBar1->addMenu(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("Edit2"));
  edit->addAction(EditCopy1);
  edit->addAction(EditCut1);
  edit->addAction(EditPaste1);
  Typing_ = new THtmlTyping(*this, Edit1, this);
  Typing_->AddToMenu(edit);
  QMenu* search = ActionMainMenuBar1->addMenu(QStringLiteral("&Search"));
  search->setObjectName(QStringLiteral("Search1"));
  search->addAction(SearchFind1);
  search->addAction(SearchReplace1);
  QMenu* tools = ActionMainMenuBar1->addMenu(QStringLiteral("&Tools"));
  tools->setObjectName(QStringLiteral("Tools1"));
  tools->addAction(Action9);
  tools->addAction(mengraphic);
  Checks_ = new TCheckCommands(*this, tools);
  QMenu* help = ActionMainMenuBar1->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("Help1"));
  help->addAction(Action3);
  help->addAction(Action4);
  EditActions_ =
      new TEditActions(*this, EditCopy1, EditCut1, EditPaste1, SearchFind1, SearchReplace1);
  // Menus update the edit actions when they open, as the old idle update did.
  connect(edit, &QMenu::aboutToShow, EditActions_, &TEditActions::Update);
  connect(search, &QMenu::aboutToShow, EditActions_, &TEditActions::Update);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  PopupMenu1->addAction(EditCopy1);
  PopupMenu1->addAction(EditCut1);
  PopupMenu1->addAction(EditPaste1);
  connect(PopupMenu1, &QMenu::aboutToShow, EditActions_, &TEditActions::Update);
  Edit1->SetPopupMenu(PopupMenu1);
}

void TForm1::CreateTopArea() {
  // The rows above the editor are laid out by position: the menu bar, the tool
  // bar with the three window buttons, and the row with the line box, the
  // syntax list and the preview button; the check boxes share the menu row.
  TopArea_ = new QWidget(this);
  TopArea_->setObjectName(QStringLiteral("TopArea"));
  TopArea_->setFixedHeight(kTopAreaHeight);
  TopArea_->setAutoFillBackground(true);
  TopArea_->setPalette(DefaultPalette());
  setMenuWidget(TopArea_);

  ActionMainMenuBar1 = new QMenuBar(TopArea_);
  ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
  ActionMainMenuBar1->setNativeMenuBar(false);

  ActionToolBar1 = new QToolBar(TopArea_);
  ActionToolBar1->setObjectName(QStringLiteral("ActionToolBar1"));
  ActionToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  ActionToolBar1->setIconSize(QSize(16, 16));
  ActionToolBar1->setMovable(false);
  for (QAction* a : {Action6, Action5, Action8}) ActionToolBar1->addAction(a);
  // The tool bar shows the captions with their accelerator marks.
  for (QAction* a : {Action6, Action5, Action8}) {
    if (auto* b = qobject_cast<QToolButton*>(ActionToolBar1->widgetForAction(a))) {
      b->setText(a->text());
    }
  }

  ActionToolBar2 = new QWidget(TopArea_);
  ActionToolBar2->setObjectName(QStringLiteral("ActionToolBar2"));
  ActionToolBar2->setAutoFillBackground(true);

  Check1 = new QCheckBox(QStringLiteral("Automatic Preview"), TopArea_);
  Check1->setObjectName(QStringLiteral("Check1"));
  Check1->setChecked(true);
  CheckBox1 = new QCheckBox(QStringLiteral("Working offline"), TopArea_);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox1->setChecked(true);
  CheckBox2 = new QCheckBox(QStringLiteral("Word Wrap"), TopArea_);
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));

  lineedit = new QLineEdit(QStringLiteral("0"), TopArea_);
  lineedit->setObjectName(QStringLiteral("lineedit"));
  gotoline1 = new QPushButton(QStringLiteral("Goto "), TopArea_);
  gotoline1->setObjectName(QStringLiteral("gotoline1"));
  synlist = new QComboBox(TopArea_);
  synlist->setObjectName(QStringLiteral("synlist"));
  synlist->setEditable(true);
  synlist->setInsertPolicy(QComboBox::NoInsert);
  synlist->setCompleter(nullptr);
  for (const char* name : kSyntaxNames) synlist->addItem(QString::fromLatin1(name));
  synlist->setEditText(QStringLiteral("HTML"));
  synlist->setToolTip(QStringLiteral("Choose what syntax you will use!"));
  dxButton2 = new TdxButton(QStringLiteral("Update preview"), TopArea_);
  dxButton2->setObjectName(QStringLiteral("dxButton2"));

  // The check boxes sit on the menu bar's row, in front of it.
  for (QWidget* w : {static_cast<QWidget*>(Check1), static_cast<QWidget*>(CheckBox1),
                     static_cast<QWidget*>(CheckBox2)}) {
    w->setAutoFillBackground(false);
    w->raise();
  }
  for (QWidget* w : {static_cast<QWidget*>(lineedit), static_cast<QWidget*>(gotoline1),
                     static_cast<QWidget*>(synlist), static_cast<QWidget*>(dxButton2)}) {
    w->raise();
  }
  LayoutTopArea();
}

void TForm1::LayoutTopArea() {
  const int w = TopArea_->width() > 0 ? TopArea_->width() : kClientWidth;
  ActionMainMenuBar1->setGeometry(0, 0, w, 25);
  ActionToolBar1->setGeometry(0, 25, w, 24);
  ActionToolBar2->setGeometry(0, 49, w, 24);
  // The check boxes start where the menus end when the menus need more room
  // than their designed 176 pixels.
  int menusEnd = 0;
  for (QAction* a : ActionMainMenuBar1->actions()) {
    menusEnd = std::max(menusEnd, ActionMainMenuBar1->actionGeometry(a).right() + 1);
  }
  const int shift = std::max(0, menusEnd + 4 - 176);
  Check1->setGeometry(176 + shift, 5, 113, 17);
  CheckBox1->setGeometry(288 + shift, 5, 97, 17);
  CheckBox2->setGeometry(384 + shift, 5, 113, 17);
  lineedit->setGeometry(6, 52, 49, 21);
  gotoline1->setGeometry(56, 52, 41, 21);
  synlist->setGeometry(104, 52, 113, 21);
  dxButton2->setGeometry(224, 52, 97, 21);
}

void TForm1::CreateStatusBar() {
  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setFixedHeight(19);
  bar->setSizeGripEnabled(true);
  bar->setAutoFillBackground(true);
  bar->setPalette(DefaultPalette());
  StatusPanel0_ = new QLabel(QStringLiteral("new.htm"), bar);
  StatusPanel0_->setObjectName(QStringLiteral("StatusPanel0"));
  StatusPanel0_->setFixedWidth(500);
  StatusPanel1_ = new QLabel(QStringLiteral("Line 0 of 0"), bar);
  StatusPanel1_->setObjectName(QStringLiteral("StatusPanel1"));
  StatusPanel1_->setFixedWidth(100);
  StatusPanel2_ = new QLabel(QString::fromLatin1(encoding::Name(Edit1->Encoding())), bar);
  StatusPanel2_->setObjectName(QStringLiteral("StatusPanel2"));
  // As wide as its text where there is room, narrower where there is not:
  // the window may still be made as narrow as before.
  StatusPanel2_->setMinimumWidth(1);
  StatusPanel2_->setMaximumWidth(100);
  bar->addWidget(StatusPanel0_);
  bar->addWidget(StatusPanel1_);
  bar->addWidget(StatusPanel2_);
  setStatusBar(bar);
}
