#include "main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "check_commands.h"
#include "disk_watch.h"
#include "document_files.h"
#include "edit_actions.h"
#include "editing_options.h"
#include "editor_control.h"
#include "error_guard.h"
#include "flat_button.h"
#include "form_registry.h"
#include "highlight_refresh.h"
#include "html_typing.h"
#include "list_hosts.h"
#include "main_keys.h"
#include "paths.h"
#include "preview.h"
#include "projects_dialog.h"
#include "recovery.h"
#include "startup.h"
#include "tools.h"

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
  // The checks follow the editor's reports: they go before the editor does.
  delete Checks_;
  Checks_ = nullptr;
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  LayoutTopArea();
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

void TForm1::ShowSourceAt(int position) {
  if (isMinimized()) showNormal();
  show();
  Edit1->SetCaretPosition(position);
  Edit1->ScrollCaretIntoView();
  FocusDocument();
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

TEditingOptions TForm1::EditingOptions() const { return Typing_->Options(); }
void TForm1::SetEditingOptions(const TEditingOptions& options) { Typing_->SetOptions(options); }

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

void TForm1::Edit1SelectionChange() {
  SetCaretLineDisplay(true);
  preview::FollowCaret(false);
}

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

void TForm1::Edit1Change() {
  refresh::Edit1Change(*this);
  preview::FollowCaret(true);
}
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
