#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "code_page.h"
#include "disk_watch.h"
#include "document_files.h"
#include "edit_actions.h"
#include "editor_control.h"
#include "error_guard.h"
#include "flat_button.h"
#include "form_registry.h"
#include "highlight_refresh.h"
#include "highlighter_factory.h"
#include "image_list.h"
#include "list_hosts.h"
#include "main_keys.h"
#include "paths.h"
#include "preview.h"
#include "projects_dialog.h"
#include "recent_menu.h"
#include "recovery.h"
#include "startup.h"
#include "tools.h"

namespace {

constexpr int kClientWidth = 792;
constexpr int kClientHeight = 304;
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

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Vexa Web Editor 3.0 Pro"));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0, 0, 128));
  setPalette(pal);
  setAutoFillBackground(true);

  Edit1 = new TEditorControl(this);
  setCentralWidget(Edit1);

  lblsaved = new QLabel(QStringLiteral("1"), this);
  lblsaved->setObjectName(QStringLiteral("lblsaved"));
  lblsaved->hide();
  prodir1 = new QLabel(this);
  prodir1->setObjectName(QStringLiteral("prodir1"));
  prodir1->hide();
  graphicdir = new QLineEdit(this);
  graphicdir->setObjectName(QStringLiteral("graphicdir"));
  graphicdir->setReadOnly(true);
  graphicdir->hide();
  vwthcpath1 = new QLineEdit(this);
  vwthcpath1->setObjectName(QStringLiteral("vwthcpath1"));
  vwthcpath1->hide();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);

  CreateActions();
  CreateTopArea();
  CreateMenus();
  CreateStatusBar();

  for (const char* line : documents::kTemplate) Edit1->AppendLine(QByteArray(line));
  Edit1->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  Edit1->SetCaretPosition(0);

  ConnectHandlers();
  Recovery_ = new TRecovery(*this, this);
  DiskWatch_ = new TDiskWatch(*this, this);

  resize(kClientWidth, kClientHeight);
  move(212, 0);
  SetMainShell(this);
}

TForm1::~TForm1() {
  if (HasMainShell() && &MainShell() == this) SetMainShell(nullptr);
  // The edit actions look at the editor whenever the focus moves, which it
  // does while the window's controls are destroyed: they go first.
  delete EditActions_;
  EditActions_ = nullptr;
}

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
  QMenu* search = ActionMainMenuBar1->addMenu(QStringLiteral("&Search"));
  search->setObjectName(QStringLiteral("Search1"));
  search->addAction(SearchFind1);
  search->addAction(SearchReplace1);
  QMenu* tools = ActionMainMenuBar1->addMenu(QStringLiteral("&Tools"));
  tools->setObjectName(QStringLiteral("Tools1"));
  tools->addAction(Action9);
  tools->addAction(mengraphic);
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

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  LayoutTopArea();
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

void TForm1::ConnectHandlers() {
  connect(Edit1, &TEditorControl::Changed, this, Guard([this] { Edit1Change(); }));
  connect(Edit1, &TEditorControl::SelectionMoved, this, Guard([this] {
            Edit1SelectionChange();
            if (EditActions_) EditActions_->Update();
          }));
  connect(Edit1, &TEditorControl::EncodingChanged, this, [this] {
    StatusPanel2_->setText(QString::fromLatin1(encoding::Name(Edit1->Encoding())));
  });
  connect(Edit1, &TEditorControl::InputRefused, this, &TForm1::ShowStatusNote);
  connect(synlist, &QComboBox::activated, this, Guard([this] { synlistChange(); }));
  connect(synlist->lineEdit(), &QLineEdit::textEdited, this, Guard([this] {
            keys::RunKeepingListFocus(synlist, Edit1, [this] { synlistChange(); });
          }));
  keys::ReturnToEditorOnLeaving(synlist, Edit1);
  keys::KeepAltOutOfText(Edit1);
  keys::YieldToMenus(ActionMainMenuBar1, ActionToolBar1);
  connect(gotoline1, &QPushButton::clicked, this, Guard([this] { gotoline1Click(); }));
  connect(CheckBox1, &QCheckBox::clicked, this, Guard([this] { CheckBox1Click(); }));
  connect(CheckBox2, &QCheckBox::clicked, this, Guard([this] { CheckBox2Click(); }));
  connect(dxButton2, &TdxButton::clicked, this, Guard([this] { dxButton2Click(); }));
  connect(Timer1, &QTimer::timeout, this, Guard([this] { Timer1Timer(); }));

  connect(Action1, &QAction::triggered, this, Guard([this] { Action1Execute(); }));
  connect(Action2, &QAction::triggered, this, Guard([this] { Action2Execute(); }));
  connect(FileOpen1, &QAction::triggered, this, Guard([this] { FileOpen1Execute(); }));
  connect(FileSaveAs1, &QAction::triggered, this, Guard([this] { FileSaveAs1Execute(); }));
  connect(Action7, &QAction::triggered, this, Guard([this] { Action7Execute(); }));
  connect(FileExit1, &QAction::triggered, this, Guard([this] { close(); }));
  connect(Action3, &QAction::triggered, this, Guard([this] { Action3Execute(); }));
  connect(Action4, &QAction::triggered, this, Guard([this] { Action4Execute(); }));
  connect(Action5, &QAction::triggered, this, Guard([this] { Action5Execute(); }));
  connect(Action6, &QAction::triggered, this, Guard([this] { Action6Execute(); }));
  connect(Action8, &QAction::triggered, this, Guard([this] { Action8Execute(); }));
  connect(Action9, &QAction::triggered, this, Guard([this] { Action9Execute(); }));
  connect(mengraphic, &QAction::triggered, this, Guard([this] { mengraphicExecute(); }));

  EditActions_->Update();
}

QString TForm1::StatusPanelText(int panel) const {
  const QLabel* panels[] = {StatusPanel0_, StatusPanel1_, StatusPanel2_};
  return panel >= 0 && panel < 3 ? panels[panel]->text() : QString();
}

void TForm1::SetStatusFileName(const QString& name) { StatusPanel0_->setText(name); }

QString TForm1::ModifiedFlag() const { return lblsaved->text(); }

void TForm1::SetModifiedFlag(const QString& flag) {
  lblsaved->setText(flag);
  if (Recovery_ != nullptr) Recovery_->FlagChanged();
}

// The name changes only right after the file was read or written (or the
// document became untitled): the moment the watch on it starts over.
void TForm1::SetCurFileName(const QString& name) {
  curfilename = name;
  if (DiskWatch_ != nullptr) DiskWatch_->Follow(name);
}

QString TForm1::ProjectDir() const { return prodir1->text(); }
void TForm1::SetProjectDir(const QString& folder) { prodir1->setText(folder); }
void TForm1::SetMainCaption(const QString& caption) { setWindowTitle(caption); }
// The note covers the two panels for a while; their texts stay as they are.
void TForm1::ShowStatusNote(const QString& note) { statusBar()->showMessage(note, 10000); }
void TForm1::SetSyntaxText(const QString& syntax) { synlist->setEditText(syntax); }
void TForm1::StopPreviewTimer() { Timer1->stop(); }

QString TForm1::ManagerFolder() const {
  if (!ProjectDir().isEmpty()) return ProjectDir();
  if (curfilename != QLatin1String("new.htm")) return paths::FolderPart(curfilename);
  return paths::ProgramDir();
}

void TForm1::UpdateManagerFolder() {
  if (auto* manager = forms::As<TManagerOptions>(QStringLiteral("frmmanager"))) {
    manager->SetFileListFolder(ManagerFolder());
  }
}

void TForm1::Exit() { close(); }

void TForm1::FocusDocument() {
  raise();
  activateWindow();
  Edit1->FocusEditor();
}

QString TForm1::SyntaxName() const { return synlist->currentText(); }
void TForm1::RestartPreviewTimer() { Timer1->start(); }
void TForm1::ShowCaretLineNumber() { lineedit->setText(QString::number(Edit1->CaretLine())); }
bool TForm1::AutomaticPreview() const { return Check1->isChecked(); }
void TForm1::SetAutomaticPreview(bool on) { Check1->setChecked(on); }
bool TForm1::WordWrap() const { return CheckBox2->isChecked(); }

void TForm1::SetWordWrap(bool on) {
  CheckBox2->setChecked(on);
  Edit1->SetWordWrap(on);
}

bool TForm1::WorkingOffline() const { return CheckBox1->isChecked(); }

void TForm1::SetWorkingOffline(bool on) {
  CheckBox1->setChecked(on);
  preview::SetOffline(on);
}

void TForm1::EnableTool(TTool tool) {
  (tool == TTool::GraphicBrowser ? mengraphic : Action9)->setEnabled(true);
}

void TForm1::SetToolFolder(TTool tool, const QString& folder) {
  (tool == TTool::GraphicBrowser ? graphicdir : vwthcpath1)->setText(folder);
}

QString TForm1::ToolFolder(TTool tool) const {
  return (tool == TTool::GraphicBrowser ? graphicdir : vwthcpath1)->text();
}

void TForm1::SetCaretLineDisplay(bool scrollAndFocus) {
  ShowCaretLineNumber();
  StatusPanel1_->setText(QStringLiteral("Line: ") + lineedit->text() + QStringLiteral(" ") +
                         QStringLiteral("of ") + QString::number(Edit1->LineCount()));
  if (scrollAndFocus) {
    Edit1->ScrollCaretIntoView();
    Edit1->FocusEditor();
  }
}

void TForm1::Edit1SelectionChange() { SetCaretLineDisplay(true); }

void TForm1::gotoline1Click() {
  bool ok = false;
  const QString text = lineedit->text();
  int n = text.trimmed().toInt(&ok);
  if (!ok || text.trimmed() != text) {
    throw VexaError(QStringLiteral("'%1' is not a valid integer value").arg(text));
  }
  // A line past the end goes to the last line, one below 0 to the first.
  if (n < 0) n = 0;
  if (n > Edit1->LastLine()) n = Edit1->LastLine();
  Edit1->SetCaretPosition(Edit1->LineStart(n));
  Edit1->ScrollCaretIntoView();
  Edit1->FocusEditor();
}

void TForm1::CheckBox2Click() {
  Edit1->SetWordWrap(CheckBox2->isChecked());
  Timer1->stop();
}

void TForm1::CheckBox1Click() { preview::SetOffline(CheckBox1->isChecked()); }
void TForm1::dxButton2Click() { preview::ManualUpdate(*this); }
void TForm1::Timer1Timer() { preview::AutomaticUpdate(*this); }
void TForm1::ShowPreviewStartPage() { preview::ShowStartPage(*this); }

void TForm1::Edit1Change() { refresh::Edit1Change(*this); }
void TForm1::synlistChange() { refresh::SynlistChange(*this); }
void TForm1::SynlistChange() { synlistChange(); }

bool TForm1::SavePrompt() { return documents::SavePrompt(*this); }
void TForm1::Save() { Action2Execute(); }
void TForm1::OpenDocument(const QString& path) { documents::OpenDocument(*this, path); }
void TForm1::Action1Execute() { documents::New(*this); }
void TForm1::Action2Execute() { documents::Save(*this); }
void TForm1::FileOpen1Execute() { documents::Open(*this); }
void TForm1::FileSaveAs1Execute() { documents::SaveAs(*this); }

void TForm1::Action3Execute() { forms::Show(QStringLiteral("frmhelp1")); }
void TForm1::Action4Execute() { forms::ShowModal(QStringLiteral("Form2")); }
void TForm1::Action5Execute() { forms::Show(QStringLiteral("Form4")); }
void TForm1::Action6Execute() { forms::Show(QStringLiteral("Form5")); }
void TForm1::Action7Execute() {
  if (auto* projects = forms::Get<Tfrmprojects>(QStringLiteral("frmprojects"))) {
    projects->ShowWithClose();
  }
}
void TForm1::Action8Execute() { forms::Show(QStringLiteral("frmmanager")); }
void TForm1::Action9Execute() { tools::StartThumbnailCreator(*this); }
void TForm1::mengraphicExecute() { tools::StartGraphicBrowser(*this); }

void TForm1::FormShow() { startup::FormShow(*this); }

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!Shown_) {
    Shown_ = true;
    // The start-up sequence runs once the window is on screen, from the event loop.
    QTimer::singleShot(0, this, Guard([this] { FormShow(); }));
  }
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!Closing_) {
    Closing_ = true;
    bool goOn = false;
    RunGuarded([this, &goOn] { goOn = startup::FormClose(*this); });
    if (!goOn) {
      // Unsaved work the user wanted to keep (or a failure) keeps the window open.
      Closing_ = false;
      event->ignore();
      return;
    }
  }
  event->accept();
  QApplication::quit();
}
