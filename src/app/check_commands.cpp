#include "check_commands.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>

#include "editor_control.h"
#include "error_guard.h"
#include "main_form.h"
#include "page_check.h"
#include "page_checker.h"
#include "paths.h"
#include "problems_window.h"
#include "site_check_window.h"
#include "tidy_dialog.h"
#include "vexa_error.h"

namespace {

QAction* MakeAction(QWidget* window, const char* name, const QString& caption,
                    const QKeySequence& shortcut, const QString& tip) {
  auto* action = new QAction(caption, window);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  action->setStatusTip(tip);
  action->setShortcutContext(Qt::WindowShortcut);
  window->addAction(action);
  return action;
}

}  // namespace

TCheckCommands::TCheckCommands(TMainForm& form, QMenu* tools)
    : QObject(form.Window()), Form_(form) {
  setObjectName(QStringLiteral("CheckCommands"));
  QWidget* window = form.Window();
  Checker_ = new TPageChecker(form, this);
  QAction* page = MakeAction(window, "CheckPage1", tr("Check &Page"), QKeySequence(Qt::Key_F7),
                             tr("Checks the page with HTML Tidy, or an XML document"));
  QAction* site =
      MakeAction(window, "CheckSite1", tr("Check &Site"), QKeySequence(Qt::SHIFT | Qt::Key_F7),
                 tr("Checks every page, reference and file of the site"));
  QAction* tidy = MakeAction(window, "TidyPage1", tr("&Tidy Page..."),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T),
                             tr("Reformats the page with HTML Tidy"));
  Automatic_ = MakeAction(window, "CheckAuto1", tr("Check &Automatically"), {},
                          tr("Checks the page again a second after the last change"));
  Automatic_->setCheckable(true);
  Actions_ = {page, site, tidy, Automatic_};
  // The editor's own binding of Ctrl+Shift+T (copying a line) would keep the
  // key from the command.
  for (QsciCommand* command : form.Editor()->standardCommands()->commands()) {
    for (QAction* a : Actions_) {
      const int key = a->shortcut()[0].toCombined();
      if (key == 0) continue;
      if (command->key() == key) command->setKey(0);
      if (command->alternateKey() == key) command->setAlternateKey(0);
    }
  }
  tools->addSeparator();
  tools->addActions(Actions_);
  connect(page, &QAction::triggered, this, Guard([this] { CheckPage(); }));
  connect(site, &QAction::triggered, this, Guard([this] { CheckSite(); }));
  connect(tidy, &QAction::triggered, this, Guard([this] { TidyPage(); }));
  connect(Automatic_, &QAction::toggled, this, [this](bool on) { SetAutomatic(on); });
}

TCheckCommands::~TCheckCommands() {
  // The windows show what the checker found: they go first.
  delete Site_;
  delete Problems_;
}

void TCheckCommands::ReadSettings(const IniFile& ini) {
  Settings_ = check::ReadCheckSettings(ini);
  Automatic_->setChecked(Settings_.Automatic);
  SetAutomatic(Settings_.Automatic);
}

void TCheckCommands::WriteSettings(IniFile& ini) const {
  check::WriteCheckSettings(ini, Settings_);
}

void TCheckCommands::SetAutomatic(bool on) {
  Settings_.Automatic = on;
  Checker_->SetAutomatic(on);
  if (Automatic_->isChecked() != on) Automatic_->setChecked(on);
  // The page is checked at once, not only after the next change.
  if (on) Checker_->DelayTimer()->start();
}

TProblemsWindow& TCheckCommands::ProblemsWindow() {
  if (Problems_ == nullptr) {
    Problems_ = new TProblemsWindow(*Checker_, Form_.Window());
    Problems_->addActions(Actions_);
  }
  return *Problems_;
}

TSiteCheckWindow& TCheckCommands::SiteWindow() {
  if (Site_ == nullptr) {
    Site_ = new TSiteCheckWindow(Form_, Form_.Window());
    Site_->addActions(Actions_);
  }
  return *Site_;
}

void TCheckCommands::CheckPage() {
  Checker_->CheckNow();
  ProblemsWindow().ShowAndFocus();
}

QString TCheckCommands::SiteFolder() const {
  if (!Form_.ProjectDir().isEmpty()) return Form_.ProjectDir();
  if (Form_.CurFileName() != QLatin1String("new.htm")) {
    return paths::FolderPart(Form_.CurFileName());
  }
  return {};
}

void TCheckCommands::CheckSite() {
  const QString folder = SiteFolder();
  if (folder.isEmpty()) {
    throw VexaError(
        tr("Check Site checks the open project's site folder, or the folder of the "
           "current page: open a project or save the page first."));
  }
  TSiteCheckWindow& window = SiteWindow();
  window.Start(folder);
  window.show();
  window.raise();
  window.activateWindow();
}

void TCheckCommands::TidyPage() {
  const check::TPageKind kind =
      check::KindForSyntax(Form_.SyntaxName().toStdString(), Form_.CurFileName().toStdString());
  if (kind != check::TPageKind::Html && kind != check::TPageKind::HtmlWithBlocks) {
    throw VexaError(tr("Tidy Page tidies HTML, PHP and ASP pages; the syntax \"%1\" is none of "
                       "them.")
                        .arg(Form_.SyntaxName()));
  }
  TTidyDialog dialog(Form_.Window());
  dialog.SetOptions(Settings_.Tidy);
  if (dialog.exec() != QDialog::Accepted) return;
  Settings_.Tidy = dialog.Options();

  TEditorControl* editor = Form_.Editor();
  const QByteArray text = editor->GetText();
  const std::string_view bytes(text.constData(), static_cast<std::size_t>(text.size()));
  const bool utf8 = editor->Encoding() == TTextEncoding::Utf8;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const check::TTidyPageResult result =
      check::TidyPage(bytes, utf8, kind == check::TPageKind::HtmlWithBlocks,
                      static_cast<std::size_t>(editor->CaretPosition()), Settings_.Tidy);
  QApplication::restoreOverrideCursor();
  if (result.Refused) {
    if (!result.Reason.empty()) throw VexaError(QString::fromStdString(result.Reason));
    Checker_->ShowProblems(result.Problems,
                           tr("HTML Tidy found errors it cannot repair: the page was not "
                              "changed."));
    ProblemsWindow().ShowAndFocus();
    return;
  }
  if (bytes == result.Text) {
    Form_.ShowStatusNote(tr("Tidy Page: nothing to change."));
    return;
  }
  // One undo step takes the whole tidy-up back.
  editor->beginUndoAction();
  editor->SetTextBytes(QByteArray::fromStdString(result.Text));
  editor->endUndoAction();
  editor->SetCaretPosition(static_cast<int>(result.Caret));
  editor->ScrollCaretIntoView();
  editor->FocusEditor();
}
